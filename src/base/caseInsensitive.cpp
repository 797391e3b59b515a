#include "base/caseInsensitive.h"

#include <cstdint>

#include "base/configuration.h"

namespace {
uint8_t upper(uint8_t c) { return c >= 'a' && c <= 'z' ? static_cast<uint8_t>(c - 'a' + 'A') : c; }
}  // namespace

bool equalsIgnoringCase(const char* a, const char* b) {
    const uint8_t* p = reinterpret_cast<const uint8_t*>(a ? a : "");
    const uint8_t* q = reinterpret_cast<const uint8_t*>(b ? b : "");
    for (;;) {
        const uint8_t x = *p++, y = *q++;
        // Lead bytes lie above 0x7F and never fold: past this test x == y for them.
        if (upper(x) != upper(y)) return false;
        if (x == 0) return true;
        if (configurationLeadByte(x)) {
            if (*p != *q) return false;
            if (*p == 0) return true;
            ++p;
            ++q;
        }
    }
}
