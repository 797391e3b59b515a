// The message window's display mode: which screens the scenario shows and how. Set only through
// setMsgWindowMode; read by the message window, the system commands, the cursor timer, the screen
// composition and the choice screens.
#pragma once
#include <cstdint>

enum MsgWindowModeValue : uint8_t {
    kModeAdv = 0,     // messages in the window layout
    kModeNovel = 1,   // messages over the whole screen
    kModeNovel2 = 2,  // novel layout, messages not shown
    kModeSystem = 3,  // the game's own screens: no messages, no system commands
    kModeDemo = 4,    // no messages
    kModeLast = 4,
};

extern uint8_t MsgWindowMode;

// One of the two novel modes.
inline bool isNovelMode(uint8_t mode) { return mode == kModeNovel || mode == kModeNovel2; }
