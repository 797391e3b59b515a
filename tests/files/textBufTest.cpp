#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "files/textBuf.h"
#include "testing.h"

namespace {
using Lines = std::vector<std::string>;

Lines split(const std::string& text) {
    cTextBuf buf;
    Lines out;
    if (!buf.SetText(text.c_str())) return out;
    vstring line;
    for (size_t i = 0; buf.GetLine(i, line); ++i) out.push_back(line.c_str());
    EXPECT_EQ(out.size(), buf.LineCount());
    return out;
}

Lines tokens(const char* line) {
    cParams p;
    p.Parse(line);
    Lines out;
    for (int i = 0; i < p.Count(); ++i) out.push_back(p.Get(i));
    return out;
}
}  // namespace

TEST(TextBuf, SplittingTable) {
    struct Case {
        std::string text;
        Lines lines;
    } cases[] = {
        {"one\r\ntwo\r\n", {"one", "two"}},
        {"one\ntwo\n", {"one\ntwo\n"}},  // a lone LF never ends a line
        {"\r\n", {""}},
        {" \t \t", {""}},
        {"", {}},
        {"  key=value  \r\nword  ", {"key=value  ", "word"}},
        {"a\r\rb", {"a", "", "b"}},
        {"a\r\n\nb", {"a", "\nb"}},  // only one LF after a CR is consumed
        {"a\rb\r", {"a", "b"}},      // a final CR adds no empty line
        {"\t\tindented\r\n   \r\nlast", {"indented", "", "last"}},
        {"a\r\n   ", {"a"}},  // the end of the text is trimmed before the second line
        {"x \r\ny\t\r\n", {"x ", "y\t"}},
        {"\x82\xa0\x81\x40\r\n\x93\xfa", {"\x82\xa0\x81\x40", "\x93\xfa"}},
    };
    for (const Case& c : cases) EXPECT_EQ(c.lines, split(c.text)) << "text: " << c.text;
}

TEST(TextBuf, SetTextAndGetLineEdges) {
    cTextBuf buf;
    EXPECT_FALSE(buf.SetText(nullptr));
    EXPECT_FALSE(buf.SetText(""));
    EXPECT_EQ(0u, buf.LineCount());
    ASSERT_TRUE(buf.SetText("a\r\n\r\nb"));
    vstring out("keep");
    EXPECT_FALSE(buf.GetLine(3, out));
    EXPECT_STREQ("keep", out.c_str());
    EXPECT_TRUE(buf.GetLine(1, out));
    EXPECT_EQ(0u, out.byteCount());  // an empty line makes out empty
    EXPECT_STREQ("b", buf.Line(2));
    EXPECT_EQ(nullptr, buf.Line(3));
    EXPECT_FALSE(buf.GetLine(SIZE_MAX, out));
    buf.Clear();
    EXPECT_EQ(0u, buf.LineCount());
    EXPECT_FALSE(buf.GetLine(0, out));
}

TEST(Params, TokenTable) {
    struct Case {
        const char* line;
        Lines tokens;
    } cases[] = {
        {"  one  two\t \tthree ", {"one", "two", "three"}},
        {"one", {"one"}},
        {"a  ", {"a", ""}},  // two trailing blanks leave one final empty token
        {"a ", {"a"}},
        {"   ", {""}},
        {"", {}},
        {nullptr, {}},
        {"\"quoted words\" stay", {"\"quoted", "words\"", "stay"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.tokens, tokens(c.line)) << (c.line ? c.line : "(null)");
}

TEST(Params, GetPastEitherEndIsEmpty) {
    cParams p;
    p.Parse("  one  two\t three ");
    EXPECT_STREQ("one", p.Get(0));
    EXPECT_STREQ("three", p.Get(2));
    EXPECT_STREQ("", p.Get(3));
    EXPECT_STREQ("", p.Get(-1));
    EXPECT_STREQ("", p.Get(INT32_MIN));
    p.Parse("   ");
    for (int i = -1; i < 3; ++i) EXPECT_STREQ("", p.Get(i));
    // Tokens belong to the object's own copy.
    std::string line = "x y";
    p.Parse(line.c_str());
    line[0] = 'z';
    EXPECT_STREQ("x", p.Get(0));
}

TEST(Decimal, ConversionTable) {
    struct Case {
        const char* text;
        int32_t value;
    } cases[] = {
        {"42", 42},
        {"  -17x", -17},
        {"+8", 8},
        {"", 0},
        {"abc", 0},
        {"-", 0},
        {"12 34", 12},
        {"2147483647", 2147483647},
        {"2147483648", 2147483647},
        {"-2147483648", INT32_MIN},
        {"-2147483649", INT32_MIN},
        {"99999999999999999999999999999999999999", 2147483647},
        {"-99999999999999999999999999999999999999", INT32_MIN},
        {"007", 7},
        {nullptr, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(c.value, decimalValue(c.text)) << (c.text ? c.text : "");
}

TEST(TextBuf, RandomTextsKeepTheLineAndTokenRules) {
    std::mt19937 rng(7321);
    const char alphabet[] = "ab \t\r\n\x82\xa0=[].;";
    for (int round = 0; round < 2000; ++round) {
        std::string text(rng() % 64, 'x');
        for (char& c : text) c = alphabet[rng() % (sizeof alphabet - 1)];
        cTextBuf buf;
        if (!buf.SetText(text.c_str())) {
            EXPECT_TRUE(text.empty());
            continue;
        }
        size_t total = 0;
        for (size_t i = 0; i < buf.LineCount(); ++i) {
            std::string line = buf.Line(i);
            total += line.size();
            EXPECT_EQ(std::string::npos, line.find('\r'));
            EXPECT_TRUE(line.empty() || (line[0] != ' ' && line[0] != '\t')) << line;
            cParams p;
            p.Parse(line.c_str());
            for (int t = 0; t < p.Count(); ++t) {
                std::string token = p.Get(t);
                EXPECT_EQ(std::string::npos, token.find_first_of(" \t"));
            }
        }
        EXPECT_LE(total, text.size());
    }
}
