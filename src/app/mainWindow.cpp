#include "app/mainWindow.h"

HWND gMainWindow = 0;

bool createMainWindow(HINSTANCE) { return false; }
void showMainWindow() {}
bool initDirectDraw() { return false; }
bool setFullScreen(bool) { return false; }
void releaseDirectDraw() {}
void postCloseMessage() {
    if (gMainWindow) PostMessageA(gMainWindow, WM_CLOSE, 0, 0);
}
void presentScreen() {}
