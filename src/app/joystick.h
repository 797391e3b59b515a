// The joystick as a source of commands: each direction and each button reports once per press,
// the horizontal axis before the vertical and both before the buttons, one command per step.
#pragma once
#include <cstdint>

// Axes run from 0 to 65535: below this is low, from kJoyHigh up is high, between is the centre.
constexpr uint32_t kJoyLow = 8192;
constexpr uint32_t kJoyHigh = 57345;
// A failed read (no joystick) can take long on some systems: no new read for this long after it.
constexpr uint32_t kJoyRetryMs = 1500;

struct JoyReading {
    uint32_t x;
    uint32_t y;
    uint32_t buttons;  // bit i: button i + 1 held
};

struct JoystickState {
    bool xLatched = false;
    bool yLatched = false;
    bool buttonLatched[8] = {};
    bool readFailed = false;   // the last read failed
    uint32_t failedAt = 0;     // clock time of that failure
};

// One step over a successful reading: 5 left, 6 right, 7 up, 8 down, 48 to 55 buttons 1 to 8,
// 0 when nothing new.
uint8_t joystickStep(JoystickState& state, const JoyReading& reading);

// Reads the joystick through read (false: no joystick or a failed read) unless a read failed less
// than kJoyRetryMs before now; returns the step's command, 0 after a failure.
using JoyReadFn = bool (*)(JoyReading& out);
uint8_t joystickPoll(JoystickState& state, uint32_t now, JoyReadFn read);
