// Calls from the lower layers up into the application layer: the main window, its caption, its
// screen mode and the display's facts, the popup menu and the boss key. The application registers
// them at start-up; until then, and in tests that register none, each does nothing and reports
// false.
#pragma once
#include <cstdint>

struct AppHooks {
    bool (*quit)();                 // closes the main window; true when it is gone
    void (*refreshCaption)();       // rebuilds the caption
    void (*popupMenu)();            // the popup system menu at the cursor
    bool (*bossKeyCommand)();       // command 24
    bool (*switchScreen)(bool on);  // true when the mode changed
    bool (*toggleScreen)();
    bool (*directDrawAvailable)() = nullptr;  // full screen can be entered
    uint64_t (*videoMemory)() = nullptr;      // bytes of video memory; 0 unknown
};
// The hooks object must outlive its use; null removes them.
void setAppHooks(const AppHooks* hooks);

// True when the program is quitting (the window closed; a declined close is false).
bool appRequestQuit();
void appUpdateCaption();
void appShowPopupMenu();
bool appBossKey();
bool appSetFullScreen(bool on);
bool appToggleFullScreen();
bool appDirectDrawAvailable();
uint64_t appVideoMemory();
