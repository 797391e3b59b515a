// Message codes: tokenising, plain text, character classes, the no-line-start table.
#include <string>
#include <vector>

#include "graphics/text/leadByte.h"
#include "presentation/msgCode.h"
#include "testing.h"

namespace {
std::vector<MsgCode> codesOf(const char* text) {
    std::vector<MsgCode> codes;
    appendMsgCodes(codes, text);
    return codes;
}

std::string plainOf(const char* text) {
    vstring out;
    msgPlainText(codesOf(text), out);
    return out.c_str();
}
}  // namespace

TEST(MsgCodes, EveryMarkupCharacter) {
    EXPECT_EQ((std::vector<MsgCode>{0x10001, 0x10002, 0x10003, 0x10004, 0x10005, 0x10006, 0x10007,
                                    0x10008, 0x10009, 0x1000A, 0x1000B}),
              codesOf("@/><|()[]{}"));
}

TEST(MsgCodes, OrdinaryBytesAndDoubleBytePairs) {
    // 0x82 and 0x88 begin double-byte characters in both code pages; the trail byte may be one of
    // the markup characters' values ("@" is 0x40) without being markup.
    EXPECT_EQ((std::vector<MsgCode>{'a', 0x82A0, ' ', 0x8840, 'z'}), codesOf("a\x82\xa0 \x88@z"));
    // A lead byte at the very end stands alone with a trail of 0.
    EXPECT_EQ((std::vector<MsgCode>{'x', 0x8800}), codesOf("x\x88"));
#ifdef MORVANE_EARLIER
    // Half-width katakana are single bytes in Shift-JIS.
    EXPECT_EQ((std::vector<MsgCode>{0xB1, 0xB2}), codesOf("\xb1\xb2"));
#else
    EXPECT_EQ((std::vector<MsgCode>{0xB1B2}), codesOf("\xb1\xb2"));
#endif
}

TEST(MsgCodes, Escapes) {
    EXPECT_EQ((std::vector<MsgCode>{'@', '/', '\\', 'a'}), codesOf("\\@\\/\\\\a"));
    // An escaped lead byte is a single code of its own.
    EXPECT_EQ((std::vector<MsgCode>{0x88, 'A'}), codesOf("\\\x88" "A"));
    // A trailing backslash gives a code 0.
    EXPECT_EQ((std::vector<MsgCode>{'a', 0}), codesOf("a\\"));
    EXPECT_TRUE(codesOf("").empty());
    EXPECT_TRUE(codesOf(nullptr).empty());
}

TEST(MsgCodes, SystemLeadByteTestIsUsed) {
    setLeadByteTest([](uint8_t b) { return b == 'Q'; });
    EXPECT_EQ((std::vector<MsgCode>{'Q' * 256u + 'a', 0x88, 0xA0}), codesOf("Qa\x88\xa0"));
    setLeadByteTest(nullptr);
}

TEST(MsgPlainText, MarkupDisappearsAndReadingsAreDropped) {
    struct Case {
        const char* text;
        const char* plain;
    } cases[] = {
        {"abc", "abc"},
        {"a@b>c<d{e}f[g]h", "abcdefgh"},
        {"one/two", "one\ntwo"},
        // The reading is dropped up to the next markup code; "/" does not end it but still breaks.
        {"|AB(ab)c", "ABc"},
        {"A(a/b)c", "A\nc"},
        {"A(ab@c)d", "Acd"},
        {"\\(x\\)", "(x)"},
        {"a\\", "a"},
        // A bar, two kanji, a reading, one kana, "/" and two more characters.
        {"|\x8a\xbf\x8e\x9a(\x82\xa9\x82\xf1\x82\xb6)\x82\xcc/\x88\xa0\x88\xa1",
         "\x8a\xbf\x8e\x9a\x82\xcc\n\x88\xa0\x88\xa1"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.plain, plainOf(c.text)) << c.text;
}

TEST(MsgCharClass, ShiftJisRanges) {
    struct Case {
        MsgCode code;
        uint8_t cls;
    } cases[] = {
        {0x829F, 1}, {0x82F1, 1}, {0x82F2, 0}, {0x829E, 0}, {0x8340, 1}, {0x8396, 1}, {0x8397, 0},
        {0x8260, 1}, {0x8279, 1}, {0x827A, 0}, {0x8281, 1}, {0x829A, 1}, {0x824F, 1}, {0x8258, 1},
        {0x824E, 0}, {0x8140, 1}, {0x8156, 1}, {0x8157, 0}, {0x8160, 1}, {0x817A, 1}, {0x817B, 0},
        {0x889F, 0}, {'a', 0}, {0x10001, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(c.cls, charClass(c.code)) << std::hex << c.code;
}

TEST(MsgKinsoku, TableFromPairs) {
    MsgCode table[kKinsokuTableSize];
    buildKinsokuTable(table, "\x81\x42\x81\x41\x82\x9f");
    EXPECT_EQ(0x8142u, table[0]);
    EXPECT_EQ(0x8141u, table[1]);
    EXPECT_EQ(0x829Fu, table[2]);
    EXPECT_EQ(0u, table[3]);
    // A string longer than the table keeps the last entry as the end mark.
    std::string many(400, '\x81');
    buildKinsokuTable(table, many.c_str());
    EXPECT_EQ(0x8181u, table[kKinsokuTableSize - 2]);
    EXPECT_EQ(0u, table[kKinsokuTableSize - 1]);
}
