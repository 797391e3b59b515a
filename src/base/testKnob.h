// Knobs of the whole-program tests: a few timings they change through environment variables,
// never through a game's data.
#pragma once
#include <cstdint>

// The number the variable holds when it lies in lo..hi (lo >= 1), else 0.
uint32_t testKnob(const char* name, uint32_t lo, uint32_t hi);
