#include "app/joystick.h"

#include "base/clock.h"
#include "base/commandId.h"

namespace {
bool centre(uint32_t v) { return v >= kJoyLow && v < kJoyHigh; }
}

uint8_t joystickStep(JoystickState& state, const JoyReading& reading) {
    if (centre(reading.x)) state.xLatched = false;
    if (centre(reading.y)) state.yLatched = false;
    for (int i = 0; i < 8; ++i)
        if (!(reading.buttons & (1u << i))) state.buttonLatched[i] = false;

    if (!state.xLatched) {
        if (reading.x < kJoyLow) {
            state.xLatched = true;
            return kCmdLeft;
        }
        if (reading.x >= kJoyHigh) {
            state.xLatched = true;
            return kCmdRight;
        }
    }
    if (!state.yLatched) {
        if (reading.y < kJoyLow) {
            state.yLatched = true;
            return kCmdUp;
        }
        if (reading.y >= kJoyHigh) {
            state.yLatched = true;
            return kCmdDown;
        }
    }
    for (int i = 0; i < 8; ++i) {
        if ((reading.buttons & (1u << i)) && !state.buttonLatched[i]) {
            state.buttonLatched[i] = true;
            return static_cast<uint8_t>(kRawPad1 + i);
        }
    }
    return 0;
}

uint8_t joystickPoll(JoystickState& state, uint32_t now, JoyReadFn read) {
    if (!read) return 0;
    if (state.readFailed && elapsedMs(state.failedAt, now) < kJoyRetryMs) return 0;
    JoyReading reading = {};
    if (!read(reading)) {
        state.readFailed = true;
        state.failedAt = now;
        return 0;
    }
    state.readFailed = false;
    return joystickStep(state, reading);
}
