// The program's clock (the multimedia timer) and sleep.
#include "base/clock.h"

#include <windows.h>
#include <mmsystem.h>

#include "base/testKnob.h"

namespace {
// Whole-program tests that watch a timed state (text typing out) set MORVANE_TEST_CLOCK_SLOWDOWN
// to N (2 to 1000) so that the clock and sleeps run N times slower and a busy machine cannot
// finish first. Read from the environment only, never from a game's data.
uint32_t clockSlowdown() {
    static const uint32_t slowdown = [] {
        const uint32_t n = testKnob("MORVANE_TEST_CLOCK_SLOWDOWN", 2, 1000);
        return n ? n : 1u;
    }();
    return slowdown;
}
}  // namespace

uint32_t platformTimeMs() {
    static const uint32_t origin = timeGetTime();
    const uint32_t now = timeGetTime();
    const uint32_t slowdown = clockSlowdown();
    return slowdown == 1 ? now : origin + (now - origin) / slowdown;
}

uint32_t platformRealSpanMs(uint32_t ms) {
    const uint64_t real = static_cast<uint64_t>(ms) * clockSlowdown();
    return static_cast<uint32_t>(real < 0xFFFFFFFEu ? real : 0xFFFFFFFEu);
}

void platformSleep(uint32_t ms) { Sleep(platformRealSpanMs(ms)); }
