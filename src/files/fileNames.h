// Names and paths of data and save files: joining into the fixed 260-byte path buffers (never
// overflowing them), the folders beside the executable, letter case and extensions.
#pragma once
#include <cstddef>

constexpr size_t kPathMax = 260;

// printf-style join into a path buffer. A result that would not fit leaves out empty and returns
// false, so a too-long name is never opened truncated.
bool formatPath(char (&out)[kPathMax], const char* format, ...) __attribute__((format(printf, 2, 3)));

// The folder "<executable's folder>\<folder>\" from the executable's full path: the text from the
// path's last backslash on is replaced. Falls back to ".\<folder>\" when the path is null, has no
// backslash or the result would not fit; returns false when it fell back.
bool folderBesideModule(char (&out)[kPathMax], const char* modulePath, const char* folder);

// Lower-cases "A" to "Z" in place (bytes of double-byte characters included).
void lowerCaseAscii(char* text);

// Whether the extensions (the text after the last ".", or the whole name when it has none) of two
// names are equal without regard to ASCII letter case; false when either name is null.
bool sameFileExtension(const char* a, const char* b);
