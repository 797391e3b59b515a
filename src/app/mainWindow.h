// The main window, its procedure and the presentation of the back buffer.
#pragma once
#include <windows.h>

extern HWND gMainWindow;

// Registers the class and creates the window at the screen size, centred; false on failure.
bool createMainWindow(HINSTANCE instance);
// Shows and paints the window and sets its caption.
void showMainWindow();
// Display-mode enumeration for full screen; false leaves full screen unavailable.
bool initDirectDraw();
bool setFullScreen(bool on);
void releaseDirectDraw();
// Posts WM_CLOSE to the main window while it exists.
void postCloseMessage();
// Shows gBackBuffer in the window or full screen.
void presentScreen();
