#include "app/clock.h"

#include <windows.h>
#include <mmsystem.h>

namespace {
ClockSource gSource = nullptr;
}

uint32_t currentTimeMs() { return gSource ? gSource() : timeGetTime(); }

void setClockSource(ClockSource source) { gSource = source; }
