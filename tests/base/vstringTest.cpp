#include <cstring>
#include <map>
#include <set>

#include "base/vstring.h"
#include "testing.h"

TEST(Vstring, EmptyValueHoldsNoBytesAndReadsEmpty) {
    vstring a;
    vstring b("");
    vstring c(static_cast<const char*>(nullptr));
    for (const vstring* v : {&a, &b, &c}) {
        EXPECT_EQ(0u, v->byteCount());
        EXPECT_STREQ("", v->c_str());
        EXPECT_TRUE(v->empty());
    }
    std::map<vstring, int> m;
    m[a] = 1;
    m[b] = 2;
    EXPECT_EQ(1u, m.size());
    EXPECT_EQ(2, m[vstring()]);
}

TEST(Vstring, HoldsTextAndOneNulAndCutsAtInnerNul) {
    vstring s("abc");
    EXPECT_EQ(4u, s.byteCount());
    EXPECT_EQ(3u, s.size());
    vstring t("ab\0cd", 5);
    EXPECT_STREQ("ab", t.c_str());
    EXPECT_EQ(3u, t.byteCount());
    vstring u = s;
    u.append("de");
    EXPECT_STREQ("abc", s.c_str());  // copies never share storage
    EXPECT_STREQ("abcde", u.c_str());
}

TEST(StringPool, InterningKeepsTheFirstFormAndIgnoresLetterCase) {
    const vstring* first = internString("pool\\System.DAT");
    EXPECT_EQ(first, internString("POOL\\SYSTEM.DAT"));
    EXPECT_EQ(first, internString("pool\\system.dat"));
    EXPECT_STREQ("pool\\System.DAT", first->c_str());
    EXPECT_NE(first, internString("pool\\system.da"));
}

TEST(StringPool, KeyedContainersMatchWithoutRegardToCase) {
    std::map<vstring, int> index;
    index[vstring("Script\\Start.txt")] = 7;
    EXPECT_EQ(1u, index.count(vstring("SCRIPT\\START.TXT")));
    EXPECT_EQ(7, index.find(vstring("script\\start.txt"))->second);
    // An insert of a key already present leaves the element unchanged.
    EXPECT_FALSE(index.insert({vstring("script\\START.txt"), 9}).second);
    EXPECT_EQ(7, index[vstring("script\\start.TXT")]);
    std::set<vstring> names{"alpha", "ALPHA", "Alpha", "beta"};
    EXPECT_EQ(2u, names.size());
}

TEST(StringPool, OnlyAsciiLettersFold) {
    struct Case {
        const char* a;
        const char* b;
        bool same;
    } cases[] = {
        {"\xE0", "\xC0", false},          // Latin-1 letters are bytes like any other
        {"\x80x", "\x80X", true},         // a high byte then a letter: the letter folds
        {"\x82\x61", "\x82\x41", true},   // double-byte character with a letter trail byte
        {"\x82\xA0", "\x82\x80", false},  // trail bytes above 0x7F never fold
        {"[", "{", false},                // neighbours of the letter ranges stay apart
        {"@", "`", false},
        {"_", "\x7F", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.same, internString(c.a) == internString(c.b)) << c.a << " / " << c.b;
        EXPECT_EQ(c.same, vs_compare(c.a, c.b) == 0);
    }
}

TEST(StringPool, ComparisonIsUnsignedAndShorterFirst) {
    EXPECT_LT(vs_compare("a", "\x80"), 0);  // unsigned bytes: 0x80 is above 'A'
    EXPECT_LT(vs_compare("ab", "abc"), 0);
    EXPECT_GT(vs_compare("abd", "ABC"), 0);
    EXPECT_EQ(0, vs_compare("MiXeD", "mixed"));
}
