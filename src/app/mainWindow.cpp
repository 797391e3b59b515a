#include "app/mainWindow.h"

#include <imm.h>

#include "app/caption.h"
#include "app/idleTimer.h"
#include "base/input.h"
#include "app/inputPlatform.h"
#include "base/uiText.h"
#include "base/settings.h"
#include "base/testKnob.h"
#include "config/systemInfo.h"
#include "graphics/graphics.h"
#include "graphics/screen.h"
#include "media/movie.h"
#include "media/soundDevice.h"
#include "presentation/msgDisplay.h"
#include "scenario/scriptState.h"

WindowRect gWindowRect = {0, 0, 0, 0};
DesktopSize gDesktopSize = {0, 0};

namespace {
constexpr UINT_PTR kIdleTimerId = 1;
constexpr UINT kIdleTimerMs = 2000;
constexpr UINT kTrayMessage = WM_USER + 10;

struct MainWindowState {
    bool classRegistered = false;
    ATOM classAtom = 0;
    UINT_PTR timerId = 0;
    IdleTimerState idle;
    // The quit box is up: a second WM_CLOSE does not open another one.
    bool askingQuit = false;
    // The window property's name as set at creation, so the same one is removed even when a later
    // reading of the configuration changed ProductID.
    char propertyName[260] = "";
};
MainWindowState gWindow;

void presentWindowed() {
    if (!gMainWindow) return;
    HDC dc = GetDC(gMainWindow);
    if (!dc) return;
    presentBackBufferToDC(dc);
    ReleaseDC(gMainWindow, dc);
}

// Whole-program tests that must catch a frame shown only once (a flash) set
// MORVANE_TEST_PRESENT_HOLD_MS to N (1 to 1000): every frame then stays up that long before the
// program goes on, so a screenshot of a busy machine still sees it. Read from the environment
// only, never from a game's data.
uint32_t presentHoldMs() {
    static const uint32_t hold = testKnob("MORVANE_TEST_PRESENT_HOLD_MS", 1, 1000);
    return hold;
}

void platformPresent() {
    if (!gMainWindow || isMovieActive()) return;
    if (gIsFullScreen) gGraphics.Present(gBackBuffer);
    else presentWindowed();
    if (const uint32_t hold = presentHoldMs()) Sleep(hold);
}

void setWindowProperty(HWND window) {
    const char* id = getProductID();
    lstrcpynA(gWindow.propertyName, id ? id : "", sizeof gWindow.propertyName);
    // An empty ProductID names no property: the single-instance guard never looks for one then.
    if (gWindow.propertyName[0]) SetPropA(window, gWindow.propertyName, reinterpret_cast<HANDLE>(1));
}

void removeWindowProperty(HWND window) {
    if (gWindow.propertyName[0]) RemovePropA(window, gWindow.propertyName);
}

void applyCursor(CursorAction action) {
    if (action == CursorAction::Hide) ShowCursor(FALSE);
    else if (action == CursorAction::Show) ShowCursor(TRUE);
}

// True when the quit is confirmed (or needs no confirmation).
bool confirmQuit(HWND window) {
    if (gSkipQuitConfirm) return true;
    if (gWindow.askingQuit) return false;
    gWindow.askingQuit = true;
    int answer = MessageBoxA(window, uiText(UiText::QuitConfirm), getTitle(), MB_YESNO);
    gWindow.askingQuit = false;
    return answer == IDYES;
}

LRESULT onPaint(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (isMovieActive()) return DefWindowProcA(window, message, wParam, lParam);
    if (!GetUpdateRect(window, nullptr, FALSE)) return 0;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    if (gIsFullScreen) {
        EndPaint(window, &ps);
        gGraphics.Present(gBackBuffer);
        return 0;
    }
    if (dc) presentBackBufferToDC(dc);
    EndPaint(window, &ps);
    return 0;
}
}  // namespace

bool presentBackBufferToDC(HDC deviceContext) {
    // The canvas pads rows whose byte count is not a multiple of 4, as the platform reads them.
    return gBackBuffer.PresentToDC(deviceContext);
}

ATOM registerMainWindowClass(HINSTANCE instance) {
    WNDCLASSA wc = {};
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_BYTEALIGNCLIENT | CS_BYTEALIGNWINDOW;
    wc.lpfnWndProc = mainWndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, "MAINICON");
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszMenuName = nullptr;
    wc.lpszClassName = kMainWindowClass;
    return RegisterClassA(&wc);
}

bool createMainWindow(HINSTANCE instance) {
    if (!gWindow.classRegistered) {
        gWindow.classAtom = registerMainWindowClass(instance);
        gWindow.classRegistered = true;
    }
    if (!gWindow.classAtom) return false;

    gDesktopSize.width = GetSystemMetrics(SM_CXSCREEN);
    gDesktopSize.height = GetSystemMetrics(SM_CYSCREEN);

    RECT r = {0, 0, gScreenWidth, gScreenHeight};
    AdjustWindowRect(&r, kMainWindowStyle, FALSE);
    const int32_t width = r.right - r.left;
    const int32_t height = r.bottom - r.top;
    int32_t x = (gDesktopSize.width - width) / 2;
    int32_t y = (gDesktopSize.height - height) / 2;
    if (x < 0) x = 0;
    if (y < 0) y = 0;
    gWindowRect = {x, y, width, height};

    HWND window = CreateWindowExA(0, kMainWindowClass, "", kMainWindowStyle, x, y, width, height,
                                  nullptr, nullptr, instance, nullptr);
    if (!window) return false;
    gMainWindow = window;
    ImmAssociateContext(window, nullptr);
    gWindow.timerId = SetTimer(window, kIdleTimerId, kIdleTimerMs, idleTimerProc) ? kIdleTimerId : 0;

    installPlatformInput();
    setPresentHooks(platformPresent, presentFullScreenFrame);
    return true;
}

void showMainWindow() {
    if (!gMainWindow) return;
    ShowWindow(gMainWindow, SW_SHOWNORMAL);
    UpdateWindow(gMainWindow);
    updateCaption();
}

void updateCaption() {
    if (!gMainWindow || IsIconic(gMainWindow)) return;
    CaptionParts parts;
    parts.title = getTitle();
    parts.showChapter = UserSettings.captionChapter != 0;
    parts.chapterName = gChapterName.c_str();
    parts.showPlayTime = UserSettings.captionPlayTime != 0;
    parts.msgWindowMode = MsgWindowMode;
    parts.playMinutes = parts.showPlayTime ? getPlayTimeMinutes() : 0;
    SetWindowTextA(gMainWindow, buildCaption(parts).c_str());
}

void CALLBACK idleTimerProc(HWND window, UINT, UINT_PTR, DWORD) {
    IdleTickResult r = idleTimerTick(gWindow.idle, UserSettings.hideIdleCursor != 0,
                                     !IsWindowEnabled(window), MsgWindowMode);
    applyCursor(r.cursor);
    if (r.refreshCaption) updateCaption();
}

LRESULT CALLBACK mainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_MOUSEFIRST && message <= 0x20D && idleMouseMessage(gWindow.idle))
        ShowCursor(TRUE);
    if (mouseMessageToCommand(message, static_cast<uint64_t>(wParam), static_cast<int64_t>(lParam)))
        return 0;

    switch (message) {
    case WM_ACTIVATEAPP:
        gAppActive = wParam != 0;
        return 0;
    case WM_SYSCOMMAND:
        if (wParam == SC_MAXIMIZE) {
            setFullScreen(true);
            return 0;
        }
        break;
    case kTrayMessage:
        if (lParam == WM_LBUTTONUP) ShowWindow(window, SW_SHOW);
        break;
    case WM_ERASEBKGND:
        return 0;
    case WM_CREATE:
        setWindowProperty(window);
        break;
    case WM_DESTROY:
        removeWindowProperty(window);
        if (gWindow.timerId) KillTimer(window, gWindow.timerId);
        gWindow.timerId = 0;
        shutdownMovie();
        resetSoundFocus(window);
        leaveFullScreen(window);
        gMainWindow = 0;
        PostQuitMessage(0);
        return 0;
    case WM_CLOSE:
        if (!confirmQuit(window)) return 0;
        break;
    case WM_PAINT:
        return onPaint(window, message, wParam, lParam);
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool requestQuit() {
    // Sent, not posted: the quit question is answered before this returns, so a declined exit
    // leaves the caller's wait as it was.
    if (gMainWindow) SendMessageA(gMainWindow, WM_CLOSE, 0, 0);
    return gMainWindow == 0;
}

void postCloseMessage() {
    if (gMainWindow) PostMessageA(gMainWindow, WM_CLOSE, 0, 0);
}
