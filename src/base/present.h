// Presenting the back buffer. Callers only compute and ask for the frame to be shown; the main
// window installs the platform presenters (tests may install their own).
#pragma once
#include <cstdint>

// Window state that other modules read (set by the main window).
struct WindowState {
    uint8_t appActive = 0;        // the application is active (last WM_ACTIVATEAPP)
    uint8_t isFullScreen = 0;     // full-screen mode is on; UserSettings mirrors it after a switch
    uint8_t skipQuitConfirm = 0;  // WM_CLOSE closes without asking (the boss key's third mode)
};
extern WindowState gWindowState;
extern uint8_t& gAppActive;
extern uint8_t& gIsFullScreen;
extern uint8_t& gSkipQuitConfirm;

// Shows gBackBuffer in the window or full screen; nothing without a window or while a movie plays.
void presentScreen();
// Converts a 24-bit screen canvas's pixels to the display depth and shows them full screen; false
// when the frame was dropped (not in full screen, lost or locked surfaces).
bool presentFullScreen(const uint8_t* pixels);

using PresentFn = void (*)();
using PresentFullScreenFn = bool (*)(const uint8_t* pixels);
// Null restores "nothing to present on".
void setPresentHooks(PresentFn present, PresentFullScreenFn presentFull);
