// The configuration dialog's frame: a modal window over the main window with a tab control of
// three pages and the OK and Cancel buttons, run in the blocking message pump.
#include "presentation/screens/configDialog.h"

#include <windows.h>
#include <commctrl.h>

#include "base/appHooks.h"
#include "base/input.h"
#include "base/mainWindowHandle.h"
#include "base/moduleState.h"
#include "base/settings.h"
#include "base/uiText.h"
#include "config/settingsFile.h"
#include "media/sound.h"
#include "presentation/screens/configControls.h"
#include "presentation/screens/configDialogPages.h"

namespace {
constexpr const char* kClassName = "NovelConfigDLG";
constexpr int kClientWidth = 629;
constexpr int kClientHeight = 453;
constexpr DWORD kDialogStyle = WS_CAPTION | WS_CLIPCHILDREN;
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTimerMs = 1000;
constexpr int kPageCount = 3;

enum DialogResult : uint8_t { kRunning = 0, kResultOk = 1, kResultCancel = 2 };

struct ConfigDialogState {
    HWND dialog = nullptr;
    HWND tabs = nullptr;
    HWND pages[kPageCount] = {};
    uint8_t result = kRunning;
    UINT_PTR timer = 0;
};
ConfigDialogState gDialog;
const cModuleReset kReset(0, [] { gDialog = ConfigDialogState(); });

void showConfigPage(int index) {
    for (int i = 0; i < kPageCount; ++i)
        if (gDialog.pages[i]) ShowWindow(gDialog.pages[i], i == index ? SW_SHOW : SW_HIDE);
}

HWND createConfigTabs(HWND dialog) {
    HWND tabs = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0,
                                0, 625, 417, dialog, reinterpret_cast<HMENU>(-1),
                                GetModuleHandleA(nullptr), nullptr);
    if (!tabs) return tabs;
    static const UiText kTabs[kPageCount] = {UiText::DlgTabBasic, UiText::DlgTabInput,
                                             UiText::DlgTabVersion};
    for (int i = 0; i < kPageCount; ++i) {
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(uiText(kTabs[i]));
        SendMessageA(tabs, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
    return tabs;
}

void createConfigDialog(HWND dialog) {
    InitCommonControls();
    createPushButton(dialog, IDOK, uiText(UiText::DlgOk), 392, 424, 113, 25, BS_DEFPUSHBUTTON);
    createPushButton(dialog, IDCANCEL, uiText(UiText::DlgCancel), 512, 424, 113, 25, 0);
    gDialog.tabs = createConfigTabs(dialog);
    if (!gDialog.tabs) return;
    applyUIFont(gDialog.tabs);
    RECT r = {0, 0, 617, 417};
    SendMessageA(gDialog.tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    for (HWND& page : gDialog.pages)
        page = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, r.left, r.top,
                               r.right - r.left, r.bottom - r.top, gDialog.tabs,
                               reinterpret_cast<HMENU>(-1), GetModuleHandleA(nullptr), nullptr);
    if (gDialog.pages[0]) buildBasicPage(gDialog.pages[0]);
    if (gDialog.pages[1]) buildInputPage(gDialog.pages[1]);
    if (gDialog.pages[2]) buildVersionPage(gDialog.pages[2]);
    showConfigPage(0);
}

void storeConfigPages() {
    basicPageToSettings();
    inputPageToSettings();
}

void cancel(HWND dialog) {
    gDialog.result = kResultCancel;
    PostMessageA(dialog, WM_CLOSE, 0, 0);
}

void killDialogTimer() {
    if (gDialog.timer && gDialog.dialog) KillTimer(gDialog.dialog, gDialog.timer);
    gDialog.timer = 0;
}

LRESULT CALLBACK configDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        gDialog.dialog = window;
        createConfigDialog(window);
        gDialog.timer = SetTimer(window, kTimerId, kTimerMs, nullptr) ? kTimerId : 0;
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            gDialog.result = kResultOk;
            storeConfigPages();
            saveSettings();
            PostMessageA(window, WM_CLOSE, 0, 0);
            return 0;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            cancel(window);
            return 0;
        }
        break;
    case WM_KEYDOWN:
        if (!(lParam & (1 << 30)) && (wParam == VK_ESCAPE || wParam == VK_ADD)) {
            cancel(window);
            return 0;
        }
        break;
    case WM_TIMER:
        if (wParam == kTimerId) {
            enablePadCombos(false);
            return 0;
        }
        break;
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header && header->hwndFrom == gDialog.tabs && header->code == TCN_SELCHANGE)
            showConfigPage(static_cast<int>(SendMessageA(gDialog.tabs, TCM_GETCURSEL, 0, 0)));
        return 0;
    }
    case WM_CLOSE:
        killDialogTimer();
        if (gDialog.result == kRunning) gDialog.result = kResultCancel;
        if (gMainWindow) EnableWindow(gMainWindow, TRUE);
        break;
    case WM_DESTROY:
        // Destroyed by any means: a dialog that is gone counts as Cancel, and nothing keeps its
        // handles.
        killDialogTimer();
        if (gDialog.result == kRunning) gDialog.result = kResultCancel;
        forgetBasicPage();
        forgetInputPage();
        forgetVersionPage();
        gDialog.dialog = nullptr;
        gDialog.tabs = nullptr;
        for (HWND& page : gDialog.pages) page = nullptr;
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool registerConfigDialogClass() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    if (GetClassInfoA(instance, kClassName, &wc)) return true;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = configDialogProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    wc.lpszClassName = kClassName;
    return RegisterClassA(&wc) != 0;
}

HWND createDialogWindow(HWND owner) {
    if (!registerConfigDialogClass()) return nullptr;
    RECT r = {0, 0, kClientWidth, kClientHeight};
    AdjustWindowRect(&r, kDialogStyle, FALSE);
    int width = r.right - r.left;
    int height = r.bottom - r.top;
    int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    if (x < 0) x = 0;
    if (y < 0) y = 0;
    return CreateWindowExA(0, kClassName, uiText(UiText::DlgCaption), kDialogStyle, x, y, width,
                           height, owner, nullptr, GetModuleHandleA(nullptr), nullptr);
}

// The dialog gone and its timer killed, the owner enabled first so that it can take the focus.
void closeDialog() {
    killDialogTimer();
    if (gMainWindow) EnableWindow(gMainWindow, TRUE);
    if (gDialog.dialog && IsWindow(gDialog.dialog)) DestroyWindow(gDialog.dialog);
    gDialog.dialog = nullptr;
}
}  // namespace

bool runConfigDialog() {
    // The dialog belongs over the main window: without one (gone at WM_DESTROY, the program
    // quitting) there is nothing to configure and nothing opens.
    const HWND owner = gMainWindow;
    if (!owner) return false;
    EnableWindow(owner, FALSE);
    const vstring envName = getEnvName();
    const vstring bgmName = getBgmName();
    const bool loopBgm = getLoopBGM();

    gDialog.result = kRunning;
    HWND dialog = createDialogWindow(owner);
    if (dialog && gDialog.result == kRunning) {
        ShowWindow(dialog, SW_SHOW);
        UpdateWindow(dialog);
        SetFocus(dialog);
    } else {
        gDialog.result = kResultCancel;
    }
    while (gDialog.result == kRunning) {
        if (!pumpMessageBlocking()) {
            closeDialog();
            return false;
        }
    }
    closeDialog();
    // The main window went (its owned dialog with it): the program is quitting.
    if (!gMainWindow) return false;

    setEnvName(envName.c_str());
    setBgmName(bgmName.c_str());
    setLoopBGM(loopBgm);
    applySoundVolumes();

    if (gMainWindow) {
        EnableWindow(gMainWindow, TRUE);
        SetFocus(gMainWindow);
    }
    appUpdateCaption();
    appSetFullScreen(UserSettings.fullScreen != 0);
    return true;
}
