#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "config/registry.h"
#include "files/textBuf.h"
#include "testing.h"

namespace {
struct Registry : ::testing::Test {
    void SetUp() override { gConfigRegistry.clear(); }
    void TearDown() override { gConfigRegistry.clear(); }
    static void parse(const std::string& text) {
        cTextBuf buf;
        ASSERT_TRUE(buf.SetText(text.c_str()));
        mSystemParam::parseConfigFile(buf);
    }
    // Where the key "probe" landed: "section/subsection", or "" when it was ignored.
    static std::string whereIsProbe() {
        std::string where;
        for (const auto& s : gConfigRegistry)
            for (const auto& sub : s.second)
                if (sub.second.values.count(vstring("probe")))
                    where += std::string(s.first.c_str()) + "/" + sub.first.c_str();
        return where;
    }
};
}  // namespace

TEST_F(Registry, HeaderTable) {
    struct Case {
        const char* headers;
        const char* where;
    } cases[] = {
        {"[A.B]", "A/B"},
        {"[A]", ""},  // a section without subsection takes no keys
        {"[A.B]\r\n[.C]", "A/C"},
        {"[A.B]\r\n[A.]", ""},
        {"[A.B]\r\n[X]", ""},
        {"[A.B]\r\n[]", "A/B"},   // empty brackets change nothing
        {"[A.B]\r\n[.]", "A/B"},  // nor does a lone point
        {"[A.B]\r\n[C.D", ""},    // no "]": nothing selected until the next valid header
        {"[A.B]\r\n[C.D\r\n[E.F]", "E/F"},
        {"[A.B] trailing text", "A/B"},
        {"[A.B]x]", "A/B"},
        {"[A.B.C]", "A/B.C"},  // cut at the first point
        {"[ A . B ]", " A / B "},  // blanks inside the brackets belong to the names
        {"[.B]", ""},  // no current section yet
        {"", ""},      // a key line before any header
        {"  [A.B]", "A/B"},  // leading blanks are gone before the line is read
        {";[A.B]", ""},
    };
    for (const Case& c : cases) {
        gConfigRegistry.clear();
        parse(std::string(c.headers) + "\r\nprobe=1\r\n");
        EXPECT_EQ(c.where, whereIsProbe()) << c.headers;
    }
}

TEST_F(Registry, KeyLineTable) {
    struct Case {
        const char* line;
        const char* key;
        const char* value;
    } cases[] = {
        {"k=v", "k", "v"},
        {"k = v w", "k", "v"},     // the value is the first word
        {"k=v;note", "k", "v;note"},  // ";" after the start is no comment
        {"k=\t v", "k", "v"},
        {"k=", "k", ""},
        {"=v", "", "v"},
        {"k x=v", "k", "v"},  // the key is cut at its first blank
        {"k==v", "k", "=v"},
        {"k=v\nw", "k", "v\nw"},
    };
    for (const Case& c : cases) {
        gConfigRegistry.clear();
        parse(std::string("[S.T]\r\n") + c.line + "\r\n");
        mSystemParam::cSection s;
        ASSERT_TRUE(mSystemParam::getSection(s, "S", "T")) << c.line;
        ASSERT_EQ(1u, s.values.size()) << c.line;
        EXPECT_STREQ(c.key, s.values.begin()->first.c_str()) << c.line;
        EXPECT_STREQ(c.value, s.GetString(c.key, "absent")) << c.line;
    }
    gConfigRegistry.clear();
    parse("[S.T]\r\nno equals sign\r\n; k=v\r\n");
    mSystemParam::cSection s;
    EXPECT_FALSE(mSystemParam::getSection(s, "S", "T"));
}

TEST_F(Registry, FirstDefinitionWinsAcrossFilesAndHeadersDoNotCarryOver) {
    parse("[System.Setting]\r\nScreenWidth=800\r\nscreenwidth=1024\r\n");
    parse("ScreenHeight=999\r\n[SYSTEM.setting]\r\nSCREENWIDTH=320\r\nScreenHeight=600\r\n");
    mSystemParam::cSection s;
    ASSERT_TRUE(mSystemParam::getSection(s, "system", "SETTING"));
    EXPECT_EQ(800, s.GetInt("screenWidth", 640));
    EXPECT_EQ(600, s.GetInt("ScreenHeight", 480));
    EXPECT_EQ(2u, s.values.size());
}

TEST_F(Registry, GetSectionCopiesAndEmpties) {
    parse("[A.B]\r\nk=v\r\n");
    mSystemParam::cSection s;
    s.values[vstring("old")] = "x";
    EXPECT_FALSE(mSystemParam::getSection(s, "A", "C"));
    EXPECT_TRUE(s.values.empty());
    s.values[vstring("old")] = "x";
    EXPECT_FALSE(mSystemParam::getSection(s, "Z", "B"));
    EXPECT_TRUE(s.values.empty());
    ASSERT_TRUE(mSystemParam::getSection(s, "a", "b"));
    gConfigRegistry.clear();  // an independent copy
    EXPECT_STREQ("v", s.GetString("K", "?"));
}

TEST_F(Registry, IntegerAndBooleanReads) {
    parse("[T.U]\r\n"
          "n=42\r\nneg=-7px\r\nword=abc\r\nempty=\r\nhuge=99999999999999999999\r\n"
          "b1=on\r\nb2=TRUE\r\nb3=Off\r\nb4=false\r\nb5=yes\r\nb6=\r\nb7=1\r\n");
    mSystemParam::cSection s;
    ASSERT_TRUE(mSystemParam::getSection(s, "T", "U"));
    struct IntCase {
        const char* key;
        int32_t def, value;
    } ints[] = {{"n", 5, 42},     {"neg", 5, -7}, {"word", 5, 0}, {"empty", 5, 0},
                {"huge", 5, 2147483647}, {"absent", 5, 5}};
    for (const IntCase& c : ints) EXPECT_EQ(c.value, s.GetInt(c.key, c.def)) << c.key;
    struct BoolCase {
        const char* key;
        bool def, value;
    } bools[] = {{"b1", false, true}, {"b2", false, true}, {"b3", true, false},
                 {"b4", true, false}, {"b5", true, true},  {"b5", false, false},
                 {"b6", true, true},  {"b7", false, false}, {"absent", true, true}};
    for (const BoolCase& c : bools) EXPECT_EQ(c.value, s.GetBool(c.key, c.def)) << c.key;
    const char* def = "default";
    EXPECT_EQ(def, s.GetString("absent", def));  // the default pointer itself
    EXPECT_STREQ("", s.GetString("empty", def));
}

TEST_F(Registry, RandomFilesParseWithoutHarm) {
    std::mt19937 rng(99);
    const char alphabet[] = "aB. \t\r\n[]=;.x";
    for (int round = 0; round < 1500; ++round) {
        std::string text(1 + rng() % 80, 'x');
        for (char& c : text) c = alphabet[rng() % (sizeof alphabet - 1)];
        parse(text);
    }
    for (const auto& s : gConfigRegistry) {
        EXPECT_FALSE(s.first.empty());
        for (const auto& sub : s.second) {
            EXPECT_FALSE(sub.first.empty());
            for (const auto& kv : sub.second.values) {
                EXPECT_EQ(nullptr, std::strpbrk(kv.first.c_str(), " \t="));
                EXPECT_EQ(nullptr, std::strpbrk(kv.second.c_str(), " \t"));
            }
        }
    }
}
