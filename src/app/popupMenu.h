// The popup system menu and the boss key.
#pragma once
#include <windows.h>

// The context menu of the main window offering the system commands; the chosen item comes back
// through the command latch as its CommandId. The menu is made on first use and destroyed at
// shutdown.
class cPopupMenu {
public:
    // CreatePopupMenu and the items; true when the menu exists.
    bool Create();
    // Shows the menu at the last cursor position and returns when it closes.
    void Show();
    void Destroy();

private:
    HMENU m_menu = nullptr;
};

extern cPopupMenu gPopupMenu;

// Destroys the popup menu (shutdown).
void exitPopupMenu();

// The handler of command 24, by the boss-key mode of the settings; true.
bool bossKey();
// The first two modes: each returns when the game is visible again, false at once on quit.
bool hideToTray();
bool disguiseAsNotepad();
