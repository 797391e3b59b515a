// The configuration dialog's input page: one drop-down list of actions for each remappable mouse
// button, the wheel, Space, the function keys and the pad buttons, and the list of fixed shortcuts.
#include <windows.h>
#include <mmsystem.h>

#include <cstdio>

#include "base/input.h"
#include "base/moduleState.h"
#include "base/settings.h"
#include "base/uiText.h"
#include "presentation/screens/configControls.h"
#include "presentation/screens/configDialogPages.h"
#include "presentation/screens/configPages.h"

namespace {
struct InputPageState {
    HWND combos[kInputRowCount] = {};
    HWND padGroup = nullptr;
};
InputPageState gInput;
// The gamepad's button count seen last; kept between openings of the dialog.
struct PadCountState {
    int64_t lastCount = -1;
};
PadCountState gPadCount;
const cModuleReset kReset(0, [] {
    gInput = InputPageState();
    gPadCount = PadCountState();
});

// A drop-down list of the list's action names with the current action selected (the first when
// it is not in the list).
HWND createActionCombo(HWND parent, int x, int y, const uint8_t* list, uint8_t current) {
    HWND combo = CreateWindowExA(0, "COMBOBOX", "",
                                 WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST,
                                 x, y, 137, 200, parent, reinterpret_cast<HMENU>(-1),
                                 GetModuleHandleA(nullptr), nullptr);
    if (!combo) return combo;
    applyUIFont(combo);
    int n = actionListLength(list);
    for (int i = 0; i < n; ++i)
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(getActionName(list[i])));
    SendMessageA(combo, CB_SETCURSEL, actionListPosition(list, current), 0);
    return combo;
}

void addRow(int row, HWND group, const char* label, int labelX, int labelY, int listY) {
    createStaticText(group, label, labelX, labelY, 57, 12, 0);
    const uint8_t* fields = reinterpret_cast<const uint8_t*>(&UserSettings) + kFirstActionOffset;
    gInput.combos[row] =
        createActionCombo(group, 72, listY, actionList(inputRowList(row)), fields[row]);
}

void buildMouseGroup(HWND page) {
    HWND g = createGroupBox(page, uiText(UiText::InputGroupMouse), 8, 8, 217, 137, 0);
    bool swapped = GetSystemMetrics(SM_SWAPBUTTON) != 0;
    addRow(0, g, uiText(swapped ? UiText::InputLeft : UiText::InputRight), 8, 32, 28);
    addRow(1, g, uiText(UiText::InputMiddle), 8, 56, 52);
    addRow(2, g, uiText(UiText::InputWheelUp), 8, 80, 76);
    addRow(3, g, uiText(UiText::InputWheelDown), 8, 104, 100);
}

void buildKeyboardGroup(HWND page) {
    HWND g = createGroupBox(page, uiText(UiText::InputGroupKeyboard), 232, 8, 217, 377, 0);
    addRow(4, g, uiText(UiText::InputSpace), 16, 32, 28);
    for (int i = 0; i < 12; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "F%d", i + 1);
        int y = functionKeyRowY(i);
        addRow(kFirstFunctionKeyRow + i, g, name, 48, y + 4, y);
    }
}

void buildShortcutGroup(HWND page) {
    HWND g = createGroupBox(page, uiText(UiText::InputGroupShortcut), 456, 8, 153, 377, 0);
    createStaticText(g, uiText(UiText::InputShortcuts), 8, 16, 137, 345, 0);
}

void buildPadGroup(HWND page) {
    HWND g = createGroupBox(page, uiText(UiText::InputGroupPad), 8, 152, 217, 233, 0);
    gInput.padGroup = g;
    for (int i = 0; i < 8; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, uiText(UiText::InputPadButton), i + 1);
        int y = padRowY(i);
        addRow(kFirstPadRow + i, g, name, 16, y + 4, y);
    }
}

void enableRow(int row, bool on) {
    if (gInput.combos[row]) EnableWindow(gInput.combos[row], on);
}

int64_t padButtonCount() {
    JOYCAPSA caps = {};
    if (joyGetDevCapsA(JOYSTICKID1, &caps, sizeof caps) != JOYERR_NOERROR) return 0;
    return caps.wNumButtons;
}
}  // namespace

bool buildInputPage(HWND page) {
    gInput = InputPageState();
    buildMouseGroup(page);
    buildKeyboardGroup(page);
    buildShortcutGroup(page);
    buildPadGroup(page);
    enablePadCombos(true);
    int keys = enabledFunctionKeys(GetKeyboardType(2));
    for (int i = 0; i < 12; ++i) enableRow(kFirstFunctionKeyRow + i, i < keys);
    return true;
}

void inputPageToSettings() {
    int positions[kInputRowCount];
    for (int row = 0; row < kInputRowCount; ++row) {
        LRESULT selected =
            gInput.combos[row] ? SendMessageA(gInput.combos[row], CB_GETCURSEL, 0, 0) : CB_ERR;
        positions[row] = selected == CB_ERR ? -1 : static_cast<int>(selected);
    }
    inputPositionsToSettings(positions, UserSettings);
}

void enablePadCombos(bool force) {
    int64_t count = padButtonCount();
    if (!force && count == gPadCount.lastCount) return;
    gPadCount.lastCount = count;
    int n = enabledPadButtons(count);
    if (gInput.padGroup) EnableWindow(gInput.padGroup, n >= 1);
    for (int i = 0; i < 8; ++i) enableRow(kFirstPadRow + i, i < n);
    padInfoText(n >= 1 ? count : 0);
}

void forgetInputPage() { gInput = InputPageState(); }
