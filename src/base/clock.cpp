#include "base/clock.h"

namespace {
ClockSource gSource = nullptr;
SleepHook gSleep = nullptr;
}

uint32_t currentTimeMs() { return gSource ? gSource() : platformTimeMs(); }

void setClockSource(ClockSource source) { gSource = source; }

void sleepFor(uint32_t ms) {
    if (gSleep) gSleep(ms);
    else platformSleep(ms);
}

void setSleepHook(SleepHook hook) { gSleep = hook; }
