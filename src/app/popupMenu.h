// The popup system menu and the boss key.
#pragma once

class cPopupMenu {
public:
    // Shows the menu at the last cursor position and returns when it closes.
    void Show();
};

extern cPopupMenu gPopupMenu;

// The handler of command 24, by the boss-key mode of the settings; true.
bool bossKey();
