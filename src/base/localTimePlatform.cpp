// The program's local time: the system clock in local time, no conversion to UTC.
#include <windows.h>

#include "base/localTime.h"

LocalTime platformLocalTime() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    FILETIME stamp = {0, 0};
    SystemTimeToFileTime(&now, &stamp);
    return LocalTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond,
                     static_cast<uint64_t>(stamp.dwHighDateTime) << 32 | stamp.dwLowDateTime};
}
