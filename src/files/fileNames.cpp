#include "files/fileNames.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "base/vstring.h"

bool formatPath(char (&out)[kPathMax], const char* format, ...) {
    va_list args;
    va_start(args, format);
    int n = std::vsnprintf(out, kPathMax, format, args);
    va_end(args);
    if (n < 0 || static_cast<size_t>(n) >= kPathMax) {
        out[0] = 0;
        return false;
    }
    return true;
}

bool folderBesideModule(char (&out)[kPathMax], const char* modulePath, const char* folder) {
    const char* slash = modulePath ? std::strrchr(modulePath, '\\') : nullptr;
    if (slash) {
        int dirLen = static_cast<int>(slash - modulePath);
        if (formatPath(out, "%.*s\\%s\\", dirLen, modulePath, folder)) return true;
    }
    formatPath(out, ".\\%s\\", folder);
    return false;
}

void lowerCaseAscii(char* text) {
    for (char* p = text; p && *p; ++p)
        if (*p >= 'A' && *p <= 'Z') *p = static_cast<char>(*p - 'A' + 'a');
}

bool sameFileExtension(const char* a, const char* b) {
    if (!a || !b) return false;
    const char* dotA = std::strrchr(a, '.');
    const char* dotB = std::strrchr(b, '.');
    return vs_compare(dotA ? dotA + 1 : a, dotB ? dotB + 1 : b) == 0;
}
