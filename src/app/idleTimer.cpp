#include "app/idleTimer.h"

#include "base/displayMode.h"

IdleTickResult idleTimerTick(IdleTimerState& state, bool hideIdleCursor, bool windowDisabled,
                             uint8_t msgWindowMode) {
    IdleTickResult result;
    if (hideIdleCursor && state.idleTicks < 1000000) ++state.idleTicks;
    if (windowDisabled || msgWindowMode == kModeSystem) {
        state.idleTicks = 0;
        if (state.cursorHidden) {
            state.cursorHidden = false;
            result.cursor = CursorAction::Show;
        }
    } else if (state.idleTicks > 2 && !state.cursorHidden) {
        state.cursorHidden = true;
        result.cursor = CursorAction::Hide;
    }
    if (++state.captionTicks > 8) {
        state.captionTicks = 0;
        result.refreshCaption = true;
    }
    return result;
}

bool idleMouseMessage(IdleTimerState& state) {
    state.idleTicks = 0;
    if (!state.cursorHidden) return false;
    state.cursorHidden = false;
    return true;
}
