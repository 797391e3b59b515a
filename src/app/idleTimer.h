// The main window's 2000 ms timer as a state machine: it hides an idle cursor and refreshes the
// caption. The window procedure applies the actions it returns.
#pragma once
#include <cstdint>

struct IdleTimerState {
    int32_t idleTicks = 0;     // ticks since the last mouse message
    bool cursorHidden = false; // the timer has hidden the cursor
    int32_t captionTicks = 0;  // ticks since the last caption refresh
};

enum class CursorAction { Keep, Hide, Show };

struct IdleTickResult {
    CursorAction cursor = CursorAction::Keep;
    bool refreshCaption = false;
};

// One tick. hideIdleCursor is the setting; a disabled window (a modal menu, dialog or box) or
// display mode system (3) keeps the cursor visible. The cursor hides on the third idle tick, the
// caption refreshes on every ninth.
IdleTickResult idleTimerTick(IdleTimerState& state, bool hideIdleCursor, bool windowDisabled,
                             uint8_t msgWindowMode);

// A mouse message: the idle count restarts; true when the hidden cursor must be shown again.
bool idleMouseMessage(IdleTimerState& state);
