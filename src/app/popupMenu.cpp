#include "app/popupMenu.h"

#include <shellapi.h>

#include "app/mainWindow.h"
#include "app/popupMenuItems.h"
#include "base/input.h"
#include "base/moduleOrder.h"
#include "base/moduleState.h"
#include "base/present.h"
#include "base/settings.h"
#include "base/uiText.h"
#include "presentation/screens/saveSlots.h"

cPopupMenu gPopupMenu MODULE_OBJECT(kOrderPopupMenu);

namespace {
const cModuleReset kReset(kOrderPopupMenu, [] { gPopupMenu.Destroy(); });

constexpr UINT kTrayMessage = WM_USER + 10;
constexpr UINT kTrayIconId = 0;

bool isMinimised(HWND window) {
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    return GetWindowPlacement(window, &wp) && wp.showCmd == SW_SHOWMINIMIZED;
}

// The class's small icon, and the caption drawn again so that it shows at once (the caption is
// not repainted by the change itself).
void setSmallClassIcon(HWND window, const char* name) {
    HANDLE icon = LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_ICON,
                             GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                             LR_SHARED);
    SetClassLongPtrA(window, GCLP_HICONSM, reinterpret_cast<LONG_PTR>(icon));
    RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}
}  // namespace

bool cPopupMenu::Create() {
    if (m_menu) return true;
    m_menu = CreatePopupMenu();
    if (!m_menu) return false;
    for (size_t i = 0; i < kPopupMenuItemCount; ++i) {
        PopupMenuItem item = popupMenuItem(i);
        if (item.id) AppendMenuA(m_menu, MF_STRING, item.id, item.text);
        else AppendMenuA(m_menu, MF_SEPARATOR, 0, nullptr);
    }
    return true;
}

void cPopupMenu::Show() {
    HWND window = gMainWindow;
    if (!window || !Create()) return;
    POINT p = {gMousePos.x, gMousePos.y};
    ClientToScreen(window, &p);
    bool full = UserSettings.fullScreen != 0;
    CheckMenuItem(m_menu, kCmdWindowed, MF_BYCOMMAND | (full ? MF_UNCHECKED : MF_CHECKED));
    CheckMenuItem(m_menu, kCmdFullScreen, MF_BYCOMMAND | (full ? MF_CHECKED : MF_UNCHECKED));
    EnableWindow(window, FALSE);
    TrackPopupMenu(m_menu, 0, p.x, p.y, 0, window, nullptr);
    EnableWindow(window, TRUE);
    SetFocus(window);
}

void cPopupMenu::Destroy() {
    if (m_menu) DestroyMenu(m_menu);
    m_menu = nullptr;
}

void exitPopupMenu() { gPopupMenu.Destroy(); }

bool hideToTray() {
    HWND window = gMainWindow;
    if (!window) return true;
    NOTIFYICONDATAA icon = {};
    icon.cbSize = sizeof icon;
    icon.hWnd = window;
    icon.uID = kTrayIconId;
    icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    icon.uCallbackMessage = kTrayMessage;
    icon.hIcon = LoadIconA(GetModuleHandleA(nullptr), "MAINICON");
    lstrcpynA(icon.szTip, uiText(UiText::TrayTip), sizeof icon.szTip);
    // Without its icon the hidden game could only be ended, never brought back: stay visible.
    if (!Shell_NotifyIconA(NIM_ADD, &icon)) return true;
    ShowWindow(window, SW_HIDE);
    bool quit = false;
    while (!IsWindowVisible(window)) {
        if (!pumpMessageBlocking()) {
            quit = true;
            break;
        }
    }
    Shell_NotifyIconA(NIM_DELETE, &icon);
    return !quit;
}

bool disguiseAsNotepad() {
    HWND window = gMainWindow;
    if (!window) return true;
    ShowWindow(window, SW_MINIMIZE);
    SetWindowTextA(window, uiText(UiText::NotepadCaption));
    setSmallClassIcon(window, "NOTEPADICON");
    while (isMinimised(window))
        if (!pumpMessageBlocking()) return false;
    updateCaption();
    setSmallClassIcon(window, "MAINICON");
    return true;
}

bool bossKey() {
    switch (UserSettings.bossKeyMode) {
    case kBossKeyTray:
        hideToTray();
        break;
    case kBossKeyNotepad:
        disguiseAsNotepad();
        break;
    case kBossKeyQuickSaveExit:
        // Its own memo, in the configuration's text set (command 17's is Shift-JIS in both).
        saveGameWithMemo(0, uiText(UiText::BossKeyMemo));
        gSkipQuitConfirm = 1;
        requestQuit();
        break;
    default:
        break;
    }
    return true;
}
