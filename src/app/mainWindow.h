// The main window: its class, creation and procedure, the idle timer that hides the cursor and
// refreshes the caption, the switch between window and exclusive full screen, and the
// presentation of the back buffer.
#pragma once
#include <windows.h>

#include <cstdint>

#include "base/present.h"

#include "base/mainWindowHandle.h"

// Position and outer size of the window in window mode, computed once at creation.
struct WindowRect {
    int32_t x, y, width, height;
};
extern WindowRect gWindowRect;
// Desktop size measured at creation.
struct DesktopSize {
    int32_t width, height;
};
extern DesktopSize gDesktopSize;

// Window style of window mode (no maximise box, no sizing border).
constexpr DWORD kMainWindowStyle =
    WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr const char* kMainWindowClass = "Morvane_MainWindow";

// Registers "Morvane_MainWindow"; the atom, 0 on failure.
ATOM registerMainWindowClass(HINSTANCE instance);
// Registers the class once, creates the window with a client area of the screen size centred on
// the desktop, detaches the input method and starts the idle timer; false on failure.
bool createMainWindow(HINSTANCE instance);
// Shows and paints the window and sets its caption; nothing without a window.
void showMainWindow();
LRESULT CALLBACK mainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void CALLBACK idleTimerProc(HWND window, UINT message, UINT_PTR id, DWORD time);
// Rebuilds and sets the caption; nothing without a window or while it is minimised.
void updateCaption();
// Closes the main window while it exists (its quit question first, unless skipped): the script's
// quit and the exit command. True when the window is gone.
bool requestQuit();
// The same, for the shutdown sequence.
void postCloseMessage();

// The switch between window and full screen: true when the mode changed. False when already in
// that mode, without window or DirectDraw, while a movie plays, or when full screen could not be
// entered (the window is then back in window mode as it was).
bool setFullScreen(bool on);
bool toggleFullScreen();

// Creates the DirectDraw object and picks the full-screen depth among the display modes at the
// screen size; false leaves full screen unavailable.
bool initDirectDraw();
void releaseDirectDraw();
bool isDirectDrawAvailable();
// Exclusive full screen on the window: cooperative level, display mode, surfaces and clipper.
// On failure everything it changed is undone.
bool enterFullScreen(HWND window);
// Back to the normal cooperative level and display mode; surfaces and clipper released.
void leaveFullScreen(HWND window);
// The full-screen present behind presentFullScreen: converts the 24-bit screen canvas pixels to the
// frame surface's depth and blits it to the primary surface; false when the frame was dropped.
bool presentFullScreenFrame(const uint8_t* pixels);
// Total video memory plus the desktop surface size (version page); 0 without DirectDraw.
uint64_t getVideoMemory();

// Draws gBackBuffer at (0, 0) of a device context.
bool presentBackBufferToDC(HDC deviceContext);
