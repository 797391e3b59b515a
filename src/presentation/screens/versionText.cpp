#include "presentation/screens/versionText.h"

#include <cstdio>
#include <cstring>

#include "base/uiText.h"

const char* const kSystemName = "Morvane Novel System";

const char* systemVersionText() { return uiText(UiText::SystemVersionValue); }
const char* buildCompileDate() { return uiText(UiText::BuildDateValue); }

namespace {
void copyText(const char* text, char* out, size_t size) {
    if (!out || size == 0) return;
    std::snprintf(out, size, "%s", text ? text : "");
}

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The next blank-separated word of text (at most size - 1 bytes kept); false when none is left.
bool nextWord(const char*& text, char* word, size_t size) {
    while (*text == ' ' || (*text >= '\t' && *text <= '\r')) ++text;
    if (!*text) return false;
    size_t n = 0;
    while (*text && *text != ' ' && !(*text >= '\t' && *text <= '\r')) {
        if (n + 1 < size) word[n++] = *text;
        ++text;
    }
    word[n] = 0;
    return true;
}

// A decimal number as the C library's "%d" reads it (leading blanks, a sign, digits), held to
// the 32-bit range; false when no digit follows.
bool readNumber(const char*& p, int32_t& value) {
    const char* q = p;
    while (*q == ' ' || (*q >= '\t' && *q <= '\r')) ++q;
    bool negative = false;
    if (*q == '+' || *q == '-') negative = *q++ == '-';
    if (*q < '0' || *q > '9') return false;
    int64_t v = 0;
    for (; *q >= '0' && *q <= '9'; ++q)
        if (v <= INT32_MAX) v = v * 10 + (*q - '0');
    if (negative) v = -v;
    if (v > INT32_MAX) v = INT32_MAX;
    if (v < INT32_MIN) v = INT32_MIN;
    value = static_cast<int32_t>(v);
    p = q;
    return true;
}
}  // namespace

void formatBuildDate(const char* compileDate, char* out, size_t size) {
    static const char* const kMonths[] = {"***", "jan", "feb", "mar", "apr", "may", "jun",
                                          "jul", "aug", "sep", "oct", "nov", "dec"};
    char month[kVersionTextSize], day[kVersionTextSize], year[kVersionTextSize];
    const char* p = compileDate ? compileDate : "";
    if (!nextWord(p, month, sizeof month) || !nextWord(p, day, sizeof day) ||
        !nextWord(p, year, sizeof year)) {
        copyText("?", out, size);
        return;
    }
    int index = -1;
    for (int m = 0; m < 13 && index < 0; ++m) {
        bool same = true;
        for (int i = 0; i < 3 && same; ++i) same = lowerAscii(month[i]) == kMonths[m][i];
        if (same) index = m;  // a shorter word stops at its NUL, which no letter equals
    }
    if (index < 1) {
        copyText("?", out, size);
        return;
    }
    if (out && size) std::snprintf(out, size, "%s/%02d/%s", year, index, day);
}

void formatMemorySize(uint64_t totalBytes, char* out, size_t size) {
    if (!out || size == 0) return;
    uint64_t megabytes = totalBytes / 1048576;
    if (megabytes < 1024)
        std::snprintf(out, size, "%llu MB", static_cast<unsigned long long>(megabytes));
    else
        std::snprintf(out, size, "%llu GB", static_cast<unsigned long long>(megabytes / 1024));
}

void formatVideoMemory(uint64_t bytes, char* out, size_t size) {
    if (!out || size == 0) return;
    uint64_t megabytes = bytes / 1048576 + (bytes % 1048576 >= 524288 ? 1 : 0);
    std::snprintf(out, size, "%llu MB", static_cast<unsigned long long>(megabytes));
}

bool directXVersionText(const char* value, char* out, size_t size) {
    copyText("", out, size);
    if (!value) return false;
    int32_t numbers[4] = {0, 0, 0, 0};
    const char* p = value;
    for (int i = 0; i < 4; ++i) {
        if (!readNumber(p, numbers[i])) break;
        if (i < 3) {
            if (*p != '.') break;
            ++p;
        }
    }
    if (numbers[0] != 4) return false;
    if (out && size)
        std::snprintf(out, size, "DirectX %d.%d (%s)", static_cast<int>(numbers[1]),
                      static_cast<int>(numbers[2]), value);
    return true;
}

void osVersionText(const OsVersionFacts& v, char* out, size_t size) {
    const char* sp = v.servicePack ? v.servicePack : "";
    const char* name = "";
    const char* edition = "";
    if (v.major == 3) {
        name = "NT 3.51";
    } else if (v.major == 4 && v.minor == 0) {
        if (v.platform == 2) {
            name = "NT 4.0";
        } else {
            name = "95";
            if (std::strcmp(sp, "a") == 0) edition = "SP1";
            else if (std::strcmp(sp, "B") == 0) edition = "OSR2";
            else if (std::strcmp(sp, "C") == 0) edition = "OSR2.5";
        }
    } else if (v.major == 4 && v.minor == 10) {
        name = "98";
        if (std::strcmp(sp, "A") == 0) edition = "SE";
    } else if (v.major == 4 && v.minor == 90) {
        name = "ME";
    } else if (v.major == 5 && v.minor == 0) {
        name = "2000";
    } else if (v.major == 5 && v.minor == 1) {
        name = "XP";
    }
    if (out && size)
        std::snprintf(out, size, "Microsoft Windows %s %s (%u.%u.%u)", name, edition,
                      static_cast<unsigned>(v.major), static_cast<unsigned>(v.minor),
                      static_cast<unsigned>(v.build));
}

void missingFeaturesText(const MissingFeatures& missing, char* out, size_t size) {
    if (!out || size == 0) return;
    vstring text;
    if (missing.noMmx) text += uiText(UiText::VerNoMmx);
    if (missing.noDirectDraw) text += uiText(UiText::VerNoDirectDraw);
    if (missing.noSound) text += uiText(UiText::VerNoDirectSound);
    if (missing.noMovie) text += uiText(UiText::VerNoDirectShow);
    copyText(text.c_str(), out, size);
}

void padInfoText(int64_t buttonCount, char* out, size_t size) {
    if (!out || size == 0) return;
    if (buttonCount < 1) {
        out[0] = 0;
        return;
    }
    int count = buttonCount > INT32_MAX ? INT32_MAX : static_cast<int>(buttonCount);
    std::snprintf(out, size, uiText(UiText::VerPadInfo), count);
}

vstring buildVersionReport(const VersionFacts& f) {
    static const char kHyphens[] =
        "----------------------------------------------------------------";
    static_assert(sizeof kHyphens == 65, "64 hyphens");
    char build[kVersionTextSize];
    formatBuildDate(buildCompileDate(), build, sizeof build);
    char vram[kVersionTextSize];
    formatVideoMemory(f.videoMemory, vram, sizeof vram);
    auto text = [](const char* t) { return t ? t : ""; };

    vstring r;
    r += uiText(UiText::ReportHeading);
    r += "\r\n";
    r += kHyphens;
    r += "\r\n\r\n[System version]";
    r += uiText(UiText::ReportName);
    r += kSystemName;
    r += uiText(UiText::ReportVersion);
    r += systemVersionText();
    r += uiText(UiText::ReportBuild);
    r += build;
    r += "\r\n\r\n[Product info]";
    r += uiText(UiText::ReportTitle);
    r += text(f.title);
    r += uiText(UiText::ReportVendor);
    r += text(f.vendor);
    r += uiText(UiText::ReportVersion);
    r += text(f.version);
    r += uiText(UiText::ReportRelease);
    r += text(f.date);
    r += "\r\n\r\n[System info]";
    r += uiText(UiText::ReportOs);
    r += text(f.osText);
    r += uiText(UiText::ReportDirectX);
    r += text(f.directXText);
    r += uiText(UiText::ReportCpu);
    r += text(f.cpuName);
    r += uiText(UiText::ReportRam);
    r += text(f.memoryText);
    r += uiText(UiText::ReportVram);
    r += vram;
    r += "\r\n\r\n";
    r += kHyphens;
    r += "\r\n";
    return r;
}
