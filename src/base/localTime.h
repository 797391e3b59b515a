// The local time of day, for time stamps the player reads (save slots), with a seam for tests.
#pragma once
#include <cstdint>

struct LocalTime {
    uint16_t year, month, day, hour, minute, second;
    uint64_t fileTime;  // the same moment in 100 ns units since 1601 (local, not UTC)
};

// The platform's local time, or the test source when one is installed.
LocalTime currentLocalTime();
// The platform's local time (GetLocalTime in the program, localtime_r natively).
LocalTime platformLocalTime();

using LocalTimeSource = LocalTime (*)();
// Test seam: null restores the platform's.
void setLocalTimeSource(LocalTimeSource source);
