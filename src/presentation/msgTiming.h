// The arithmetic of showing a message: text speeds, the typing target for the elapsed time, the
// auto-mode delay and the split of a text block into speaker name and message.
#pragma once
#include <cstddef>
#include <cstdint>

// Milliseconds per typing unit of a text speed level 0 (slowest) to 4 (all at once: 0); any other
// level gives 10.
uint32_t textSpeedMsPerUnit(uint32_t level);

// Typing units due after elapsed ms: elapsed / ms per unit, or -1 (everything) for 0 ms per unit.
int32_t typingTarget(uint32_t elapsedMs, uint32_t msPerUnit);

// The clock time at which typing that started at start, with units consumed so far, draws again:
// when the target passes the units. False when that is beyond reach (0 ms per unit: all at once;
// or further off than the clock can tell).
bool typingDueAt(uint32_t start, int32_t units, uint32_t msPerUnit, uint32_t& when);

// Typing units a character costs at a speed step 0 to 4: 16 >> step.
int32_t unitCost(int32_t speedStep);

// Auto mode waits max(0, 7000 - 700 x auto speed) ms after a message without voice.
uint32_t autoModeDelayMs(uint32_t autoSpeed);

// Size of the speaker-name buffer.
constexpr size_t kSpeakerNameSize = 4096;

// Splits a text block at its first ":": the name (the bytes before it, cut to fit the buffer on a
// character boundary, NUL-terminated) goes into name, and the message after it is returned. Without
// a ":" the name is "" and the message is the whole text. A null text gives "" for both.
const char* splitSpeaker(const char* text, char (&name)[kSpeakerNameSize]);
