#include "base/clock.h"

namespace {
ClockSource gSource = nullptr;
}

uint32_t currentTimeMs() { return gSource ? gSource() : platformTimeMs(); }

void setClockSource(ClockSource source) { gSource = source; }
