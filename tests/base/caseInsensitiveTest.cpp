// Names equal without regard to case in the configuration's code page: letters fold only in
// single-byte characters.
#include "base/caseInsensitive.h"
#include "testing.h"

namespace {
#ifdef MORVANE_EARLIER
const bool kShiftJis = true;
#else
const bool kShiftJis = false;
#endif
}  // namespace

TEST(CaseInsensitive, FoldsOnlyTheLettersOfSingleByteCharacters) {
    struct Case {
        const char* a;
        const char* b;
        bool equal;
    } cases[] = {
        {"Theme.ogg", "THEME.OGG", true},
        {"abc", "abd", false},
        {"abc", "ab", false},
        {"", "", true},
        {"[", "{", false},  // neighbours of the letter ranges stay apart
        {"@", "`", false},
        {"\xE0", "\xC0", false},  // Latin-1 letters are bytes like any other
        // Shift-JIS 雨/泳 and ア/ヂ: the second bytes are J/j and A/a. Their first bytes begin a
        // double-byte character in GBK too.
        {"\x89\x4A", "\x89\x6A", false},
        {"\x83\x41", "\x83\x61", false},
        {"\x83\x41.ogg", "\x83\x41.OGG", true},    // letters after the character still fold
        {"a\x89\x4A" "b", "A\x89\x4A" "B", true},
        // GBK 癆/癮; in Shift-JIS 0xB0 is a half-width katakana, so a letter follows it.
        {"\xB0\x41", "\xB0\x61", kShiftJis},
        // 0xFD begins a character in GBK only.
        {"\xFD\x62", "\xFD\x42", kShiftJis},
        // A lead byte at the end stands alone.
        {"ab\x89", "AB\x89", true},
        {"\x89", "\x89\x4A", false},
        {"\x89\x4A", "\x89", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.equal, equalsIgnoringCase(c.a, c.b)) << c.a << " / " << c.b;
        EXPECT_EQ(c.equal, equalsIgnoringCase(c.b, c.a)) << c.b << " / " << c.a;
    }
}

TEST(CaseInsensitive, ReadsNothingPastTheEnd) {
    // A lead byte before the NUL: the bytes after the NUL differ and must not be looked at.
    const char a[] = "x\x89\0A";
    const char b[] = "X\x89\0B";
    EXPECT_TRUE(equalsIgnoringCase(a, b));
    EXPECT_TRUE(equalsIgnoringCase(nullptr, ""));
    EXPECT_FALSE(equalsIgnoringCase(nullptr, "a"));
}
