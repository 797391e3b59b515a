// The native build's local time.
#include <ctime>

#include "base/localTime.h"

LocalTime platformLocalTime() {
    std::time_t now = std::time(nullptr);
    std::tm local = {};
    localtime_r(&now, &local);
    // Seconds from 1601 to 1970, then the local clock's seconds since 1970 as if it were UTC.
    const int64_t offset = static_cast<int64_t>(local.tm_gmtoff);
    const uint64_t seconds = 11644473600ull + static_cast<uint64_t>(now + offset);
    return LocalTime{static_cast<uint16_t>(local.tm_year + 1900), static_cast<uint16_t>(local.tm_mon + 1),
                     static_cast<uint16_t>(local.tm_mday), static_cast<uint16_t>(local.tm_hour),
                     static_cast<uint16_t>(local.tm_min), static_cast<uint16_t>(local.tm_sec),
                     seconds * 10000000ull};
}
