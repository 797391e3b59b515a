// The texts of the configuration dialog's version page and of the version report, computed from
// probe values the caller has read (Windows version, DirectX registry value, memory, devices), so
// they run without the platform.
#pragma once
#include <cstddef>
#include <cstdint>

#include "base/vstring.h"

// Size of every text buffer of the version page.
constexpr size_t kVersionTextSize = 260;

// The system's own name, shown on the page and in the report.
extern const char* const kSystemName;
// The system's version ("1.03b" / "1.03") and the compile date the page formats.
const char* systemVersionText();
const char* buildCompileDate();

// A compile date "Mon D YYYY" as "YYYY/MM/D" (the day as written); "?" when the month is not one
// of the twelve abbreviations (compared without regard to case) or the date has fewer than three
// words.
void formatBuildDate(const char* compileDate, char* out, size_t size);
// Physical memory in whole megabytes below 1024, else in whole gigabytes ("%d MB", "%d GB").
void formatMemorySize(uint64_t totalBytes, char* out, size_t size);
// Video memory rounded to whole megabytes: "%u MB".
void formatVideoMemory(uint64_t bytes, char* out, size_t size);
// The DirectX registry value ("4.09.00.0904") as "DirectX 9.0 (4.09.00.0904)"; "" and false
// unless its first number is 4. Numbers that are missing count as 0.
bool directXVersionText(const char* value, char* out, size_t size);

// What GetVersionEx reports.
struct OsVersionFacts {
    uint32_t major = 0;
    uint32_t minor = 0;
    uint32_t build = 0;
    uint32_t platform = 0;    // 2: NT
    const char* servicePack = "";
};
// "Microsoft Windows <name> <edition> (major.minor.build)".
void osVersionText(const OsVersionFacts& facts, char* out, size_t size);

// What the PC cannot do.
struct MissingFeatures {
    bool noMmx = false;
    bool noDirectDraw = false;
    bool noSound = false;
    bool noMovie = false;
};
// One line for each missing feature, in the order MMX, DirectDraw, DirectSound, DirectShow.
void missingFeaturesText(const MissingFeatures& missing, char* out, size_t size);
// The gamepad line: "connected (n buttons)" for a count of 1 or more, else "".
void padInfoText(int64_t buttonCount, char* out, size_t size);

// Everything the report holds.
struct VersionFacts {
    const char* title = "";
    const char* vendor = "";
    const char* version = "";
    const char* date = "";
    const char* osText = "";
    const char* directXText = "";
    const char* cpuName = "";
    const char* memoryText = "";
    uint64_t videoMemory = 0;
};
// The plain-text report for the clipboard (CR LF line ends): system version, product info, system
// info, between lines of hyphens.
vstring buildVersionReport(const VersionFacts& facts);
