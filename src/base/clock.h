// The millisecond clock of every timed loop, with a seam for tests.
#pragma once
#include <cstdint>

// The platform's millisecond clock, or the test clock when one is installed.
uint32_t currentTimeMs();
// The platform's millisecond clock (timeGetTime in the program, the monotonic clock natively).
uint32_t platformTimeMs();

// Milliseconds from start to now, also across a wrap of the 32-bit counter.
inline uint32_t elapsedMs(uint32_t start, uint32_t now) { return now - start; }

// Test seam: replaces the clock (nullptr restores the platform's).
using ClockSource = uint32_t (*)();
void setClockSource(ClockSource source);

// Sleeps for ms milliseconds (Sleep in the program), or calls the hook a test installed.
void sleepFor(uint32_t ms);
void platformSleep(uint32_t ms);
// A span of ms milliseconds of the platform's clock in real milliseconds (longer while a test has
// slowed the clock), for waits the program makes outside platformSleep.
uint32_t platformRealSpanMs(uint32_t ms);
// Test seam: replaces the sleep (nullptr restores the platform's).
using SleepHook = void (*)(uint32_t ms);
void setSleepHook(SleepHook hook);
