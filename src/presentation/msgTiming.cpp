#include "presentation/msgTiming.h"

#include <cstring>

#include "graphics/text/leadByte.h"

uint32_t textSpeedMsPerUnit(uint32_t level) {
    switch (level) {
        case 0: return 24;
        case 1: return 16;
        case 2: return 8;
        case 3: return 4;
        case 4: return 0;
        default: return 10;
    }
}

int32_t typingTarget(uint32_t elapsedMs, uint32_t msPerUnit) {
    if (msPerUnit == 0) return -1;
    uint32_t units = elapsedMs / msPerUnit;
    return units > 0x7FFFFFFFu ? 0x7FFFFFFF : static_cast<int32_t>(units);
}

bool typingDueAt(uint32_t start, int32_t units, uint32_t msPerUnit, uint32_t& when) {
    if (msPerUnit == 0 || units < 0) return false;
    // The target is elapsed / ms per unit: it passes the units at (units + 1) x ms per unit.
    const uint64_t after = (static_cast<uint64_t>(units) + 1) * msPerUnit;
    if (after > 0x7FFFFFFFu) return false;
    when = start + static_cast<uint32_t>(after);
    return true;
}

int32_t unitCost(int32_t speedStep) {
    if (speedStep < 0) speedStep = 0;
    if (speedStep > 4) speedStep = 4;
    return 16 >> speedStep;
}

uint32_t autoModeDelayMs(uint32_t autoSpeed) {
    uint64_t cut = static_cast<uint64_t>(autoSpeed) * 700;
    return cut >= 7000 ? 0 : static_cast<uint32_t>(7000 - cut);
}

const char* splitSpeaker(const char* text, char (&name)[kSpeakerNameSize]) {
    std::memset(name, 0, sizeof name);
    if (!text) return "";
    const char* colon = std::strchr(text, ':');
    if (!colon) return text;
    // Copy whole characters only, so a cut never leaves half of a double-byte character.
    size_t length = static_cast<size_t>(colon - text);
    size_t n = 0;
    while (n < length) {
        size_t step = isLeadByte(static_cast<uint8_t>(text[n])) && n + 1 < length ? 2 : 1;
        if (n + step > kSpeakerNameSize - 1) break;
        n += step;
    }
    std::memcpy(name, text, n);
    return colon + 1;
}
