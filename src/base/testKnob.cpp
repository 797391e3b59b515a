#include "base/testKnob.h"

#include <cstdlib>

uint32_t testKnob(const char* name, uint32_t lo, uint32_t hi) {
    const char* value = std::getenv(name);
    const long long n = value ? std::strtoll(value, nullptr, 10) : 0;
    return n >= lo && n <= hi ? static_cast<uint32_t>(n) : 0u;
}
