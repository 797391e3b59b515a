// The clock and sleep of the native build: milliseconds of the monotonic clock, in 32 bits like the
// program's.
#include <chrono>
#include <thread>

#include "base/clock.h"

uint32_t platformTimeMs() {
    using namespace std::chrono;
    return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void platformSleep(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

uint32_t platformRealSpanMs(uint32_t ms) { return ms; }
