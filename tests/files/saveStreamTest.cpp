#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "files/saveStream.h"
#include "testing.h"

namespace {
using Bytes = std::vector<uint8_t>;

void putU32(Bytes& b, uint32_t x) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(x >> (8 * i)));
}

// One record written by hand: u32 name length, name, u32 size, data.
void putRecord(Bytes& b, const std::string& name, const Bytes& data) {
    putU32(b, static_cast<uint32_t>(name.size()));
    b.insert(b.end(), name.begin(), name.end());
    putU32(b, static_cast<uint32_t>(data.size()));
    b.insert(b.end(), data.begin(), data.end());
}

cSaveStream readerOf(const Bytes& b) { return cSaveStream(b.data(), b.size()); }

TEST(SaveStream, WriteFieldLaysOutOneRecord) {
    cSaveStream s;
    EXPECT_EQ(s.mode, kSaveWriting);
    const uint8_t data[] = {1, 2, 3};
    EXPECT_TRUE(s.WriteField("Ab", data, 3));
    const Bytes expected = {0x02, 0, 0, 0, 'A', 'b', 0x03, 0, 0, 0, 1, 2, 3};
    EXPECT_EQ(s.Buffer(), expected);
    // A record written is not in the writer's own directory.
    EXPECT_EQ(s.FindField("Ab"), nullptr);

    const uint32_t value = 0x11223344;
    EXPECT_TRUE(s.WriteField("V", &value, 4));
    const Bytes second = {0x01, 0, 0, 0, 'V', 0x04, 0, 0, 0, 0x44, 0x33, 0x22, 0x11};
    EXPECT_EQ(Bytes(s.Buffer().begin() + 13, s.Buffer().end()), second);
}

TEST(SaveStream, StringsAreStoredWithTheirNul) {
    cSaveStream s;
    vstring empty, text("xy");
    EXPECT_TRUE(s.StringField("E", empty));
    EXPECT_TRUE(s.StringField("T", text));
    Bytes expected;
    putRecord(expected, "E", {0});
    putRecord(expected, "T", {'x', 'y', 0});
    EXPECT_EQ(s.Buffer(), expected);

    cSaveStream r = readerOf(s.Buffer());
    vstring a("junk"), b;
    EXPECT_TRUE(r.StringField("E", a));
    EXPECT_STREQ(a.c_str(), "");
    EXPECT_TRUE(r.StringField("t", b));
    EXPECT_STREQ(b.c_str(), "xy");
    // Absent: empty and false.
    vstring c("junk");
    EXPECT_FALSE(r.StringField("Missing", c));
    EXPECT_TRUE(c.empty());
}

TEST(SaveStream, StoredStringTextEndsAtItsFirstNulOrItsData) {
    Bytes b;
    putRecord(b, "NoNul", {'a', 'b', 'c'});
    putRecord(b, "TwoNuls", {'a', 0, 'b', 0});
    putRecord(b, "Zero", {});
    cSaveStream r = readerOf(b);
    vstring s;
    EXPECT_TRUE(r.StringField("NoNul", s));
    EXPECT_STREQ(s.c_str(), "abc");
    EXPECT_TRUE(r.StringField("TwoNuls", s));
    EXPECT_STREQ(s.c_str(), "a");
    s = "junk";
    EXPECT_TRUE(r.StringField("Zero", s));
    EXPECT_TRUE(s.empty());
}

TEST(SaveStream, OverlongStoredStringReadsEmpty) {
    Bytes b;
    putRecord(b, "Big", Bytes(0x100001, 'q'));
    cSaveStream r = readerOf(b);
    vstring s("junk");
    EXPECT_TRUE(r.StringField("Big", s));
    EXPECT_TRUE(s.empty());
}

TEST(SaveStream, FieldsComeBackThroughTheByteRangeConstructor) {
    cSaveStream w;
    const uint32_t n = 0xDEADBEEF;
    const uint8_t flag = 1;
    const int32_t table[3] = {-1, 7, 1 << 30};
    vstring name("chapter1.txt");
    w.WriteField("Number", &n, sizeof n);
    w.WriteField("Flag", &flag, sizeof flag);
    w.WriteField("Table", table, sizeof table);
    w.StringField("Name", name);

    cSaveStream r = readerOf(w.Buffer());
    EXPECT_EQ(r.mode, kSaveReading);
    EXPECT_EQ(r.FieldCount(), 4u);
    uint32_t n2 = 0;
    uint8_t flag2 = 0;
    int32_t table2[3] = {};
    vstring name2;
    EXPECT_TRUE(r.ReadField("Number", &n2, sizeof n2));
    EXPECT_TRUE(r.ReadField("Flag", &flag2, sizeof flag2));
    EXPECT_TRUE(r.ReadField("Table", table2, sizeof table2));
    EXPECT_TRUE(r.StringField("Name", name2));
    EXPECT_EQ(n2, n);
    EXPECT_EQ(flag2, flag);
    EXPECT_EQ(0, std::memcmp(table, table2, sizeof table));
    EXPECT_STREQ(name2.c_str(), "chapter1.txt");
}

TEST(SaveStream, FixedFieldOfAnotherSizeIsNotRead) {
    Bytes b;
    putRecord(b, "Value", {1, 2});
    cSaveStream r = readerOf(b);
    uint32_t v = 0xAAAAAAAA;
    EXPECT_FALSE(r.ReadField("Value", &v, 4));
    EXPECT_EQ(v, 0xAAAAAAAAu);
    uint8_t one = 0x55;
    EXPECT_FALSE(r.ReadField("Value", &one, 1));
    EXPECT_EQ(one, 0x55);
    uint16_t two = 0;
    EXPECT_TRUE(r.ReadField("Value", &two, 2));
    EXPECT_EQ(two, 0x0201);
}

TEST(SaveStream, NamesMatchInAnyLetterCaseAndTheFirstOfTwoIsFound) {
    Bytes b;
    putRecord(b, "Data_Script", {1});
    putRecord(b, "DATA_SCRIPT", {2});
    putRecord(b, "data_script", {3});
    putRecord(b, "Other", {4});
    cSaveStream r = readerOf(b);
    EXPECT_EQ(r.FieldCount(), 2u);
    for (const char* name : {"Data_Script", "data_script", "DATA_SCRIPT", "dAtA_sCrIpT"}) {
        uint8_t v = 0;
        EXPECT_TRUE(r.ReadField(name, &v, 1)) << name;
        EXPECT_EQ(v, 1) << name;
    }
    uint8_t v = 0;
    EXPECT_TRUE(r.ReadField("OTHER", &v, 1));
    EXPECT_EQ(v, 4);
    ASSERT_NE(r.FindField("other"), nullptr);
    EXPECT_EQ(*r.FindField("other"), b.size() - 5);
}

TEST(SaveStream, NameIsItsTextUpToTheFirstNul) {
    Bytes b;
    putRecord(b, std::string("Ab\0cd", 5), {9});
    cSaveStream r = readerOf(b);
    uint8_t v = 0;
    EXPECT_TRUE(r.ReadField("Ab", &v, 1));
    EXPECT_EQ(v, 9);
}

TEST(SaveStream, EmptyNameStopsTheIndex) {
    Bytes b;
    putRecord(b, "First", {1});
    putRecord(b, "", {2});
    putRecord(b, "Third", {3});
    cSaveStream r = readerOf(b);
    uint8_t v = 0;
    EXPECT_TRUE(r.ReadField("First", &v, 1));
    EXPECT_FALSE(r.ReadField("Third", &v, 1));
    EXPECT_FALSE(r.ReadField("", &v, 1));
    EXPECT_EQ(r.FieldCount(), 1u);
}

TEST(SaveStream, SectionsNest) {
    cSaveStream inner;
    const uint32_t x = 42;
    inner.WriteField("X", &x, 4);
    cSaveStream deepest;
    vstring word("deep");
    deepest.StringField("W", word);
    inner.SectionField("Deep", deepest);

    cSaveStream master;
    cSaveStream other;
    const uint8_t y = 7;
    other.WriteField("Y", &y, 1);
    EXPECT_TRUE(master.SectionField("Data_Script", inner));
    EXPECT_TRUE(master.SectionField("Data_Sound", other));

    // The outer record's data is the nested buffer, byte for byte.
    Bytes expected;
    putRecord(expected, "Data_Script", inner.Buffer());
    putRecord(expected, "Data_Sound", other.Buffer());
    EXPECT_EQ(master.Buffer(), expected);

    cSaveStream loaded = readerOf(master.Buffer());
    cSaveStream a, b, c;
    EXPECT_TRUE(loaded.SectionField("data_script", a));
    EXPECT_EQ(a.mode, kSaveReading);
    uint32_t x2 = 0;
    EXPECT_TRUE(a.ReadField("X", &x2, 4));
    EXPECT_EQ(x2, 42u);
    EXPECT_TRUE(a.SectionField("Deep", c));
    vstring word2;
    EXPECT_TRUE(c.StringField("W", word2));
    EXPECT_STREQ(word2.c_str(), "deep");
    EXPECT_TRUE(loaded.SectionField("Data_Sound", b));
    uint8_t y2 = 0;
    EXPECT_TRUE(b.ReadField("Y", &y2, 1));
    EXPECT_EQ(y2, 7);
    // Records of a section are not records of the master.
    EXPECT_FALSE(loaded.ReadField("X", &x2, 4));
}

TEST(SaveStream, AbsentSectionLeavesAReadingStreamWhoseReadsFail) {
    cSaveStream loaded = readerOf(Bytes{});
    cSaveStream fresh;
    EXPECT_FALSE(loaded.SectionField("Data_Flow", fresh));
    EXPECT_EQ(fresh.mode, kSaveReading);
    EXPECT_EQ(fresh.Size(), 0u);
    uint32_t v = 5;
    EXPECT_FALSE(fresh.ReadField("Anything", &v, 4));
    EXPECT_EQ(v, 5u);
    // A serialiser run over it now reads, and keeps its value.
    vstring s("kept?");
    EXPECT_FALSE(fresh.StringField("S", s));
    EXPECT_EQ(fresh.Size(), 0u);
}

TEST(SaveStream, ReadAtChecksTheWholeRange) {
    cSaveStream s;
    s.Append("abcdef", 6);
    char out[8] = {};
    EXPECT_EQ(s.ReadAt(out, 3, 2), 3u);
    EXPECT_EQ(std::string(out, 3), "cde");
    EXPECT_EQ(s.ReadAt(out, 6, 0), 6u);
    EXPECT_EQ(s.ReadAt(out, 0, 6), 0u);
    std::memset(out, 'z', sizeof out);
    EXPECT_EQ(s.ReadAt(out, 2, 5), 0u);
    EXPECT_EQ(s.ReadAt(out, 1, 6), 0u);
    EXPECT_EQ(s.ReadAt(out, 4, UINT64_MAX - 1), 0u);
    EXPECT_EQ(s.ReadAt(out, 4, 0xFFFFFFFEu), 0u);
    EXPECT_EQ(out[0], 'z');
}

// A three-record stream cut at every length: the records wholly inside the prefix read, the cut
// one is absent, and nothing reads past the prefix (the copies below are exactly sized, so the
// sanitizers see any over-read).
TEST(SaveStream, EveryPrefixOfAStream) {
    Bytes full;
    putRecord(full, "One", {1, 1, 1, 1});
    const size_t end1 = full.size();
    putRecord(full, "Two", {'t', 'w', 'o', 0});
    const size_t end2 = full.size();
    cSaveStream sub;
    const uint16_t z = 0x0303;
    sub.WriteField("Z", &z, 2);
    putRecord(full, "Three", sub.Buffer());
    for (size_t len = 0; len <= full.size(); ++len) {
        Bytes prefix(full.begin(), full.begin() + len);
        cSaveStream r(prefix.empty() ? nullptr : prefix.data(), prefix.size());
        uint32_t one = 0;
        vstring two;
        cSaveStream three;
        const bool hasOne = r.ReadField("One", &one, 4);
        const bool hasTwo = r.StringField("Two", two);
        const bool hasThree = r.SectionField("Three", three);
        EXPECT_EQ(hasOne, len >= end1) << len;
        EXPECT_EQ(hasTwo, len >= end2) << len;
        EXPECT_EQ(hasThree, len == full.size()) << len;
        if (hasOne) {
            EXPECT_EQ(one, 0x01010101u);
        }
        EXPECT_STREQ(two.c_str(), hasTwo ? "two" : "");
        uint16_t z2 = 0;
        EXPECT_EQ(three.ReadField("Z", &z2, 2), hasThree);
    }
}

// Damaged size and name-length fields: every reader says absent, nothing is allocated for a
// stored size, and sums near 2^32 do not wrap past the checks.
TEST(SaveStream, DamagedLengthsMeanAbsent) {
    struct Case {
        const char* what;
        Bytes bytes;
    };
    std::vector<Case> cases;
    {
        Bytes b;
        putRecord(b, "Good", {1});
        putU32(b, 4);
        b.insert(b.end(), {'H', 'u', 'g', 'e'});
        putU32(b, 0xFFFFFFFC);  // p + 4 + S wraps to p in 32 bits
        b.insert(b.end(), {0, 0, 0, 0, 0, 0, 0, 0});
        cases.push_back({"size 0xFFFFFFFC", b});
    }
    {
        Bytes b;
        putRecord(b, "Good", {1});
        putU32(b, 4);
        b.insert(b.end(), {'H', 'u', 'g', 'e'});
        putU32(b, 0xFFFFFFFF);
        cases.push_back({"size 0xFFFFFFFF, no data", b});
    }
    {
        Bytes b;
        putRecord(b, "Good", {1});
        putU32(b, 0x100001);
        b.insert(b.end(), {'H', 'u', 'g', 'e'});
        putU32(b, 1);
        b.push_back(2);
        cases.push_back({"name length 0x100001", b});
    }
    {
        Bytes b;
        putRecord(b, "Good", {1});
        putU32(b, 0x100000);  // allowed length, but the name runs past the end
        b.insert(b.end(), {'H', 'u', 'g', 'e'});
        cases.push_back({"name length 0x100000 past the end", b});
    }
    {
        Bytes b;
        putRecord(b, "Good", {1});
        putU32(b, 0);
        putU32(b, 1);
        b.push_back(2);
        cases.push_back({"name length 0", b});
    }
    {
        Bytes b;
        putRecord(b, "Good", {1});
        putU32(b, 4);
        b.insert(b.end(), {'H', 'u', 'g', 'e'});
        b.insert(b.end(), {1, 0});  // size field cut short
        cases.push_back({"size field cut", b});
    }
    {
        Bytes b;
        putRecord(b, "Good", {1});
        putU32(b, 4);
        b.insert(b.end(), {'H', 'u', 'g', 'e'});
        putU32(b, 5);
        b.insert(b.end(), {1, 2, 3, 4});  // one byte short
        cases.push_back({"data one byte short", b});
    }
    for (const Case& c : cases) {
        cSaveStream r = readerOf(c.bytes);
        uint8_t good = 0;
        EXPECT_TRUE(r.ReadField("Good", &good, 1)) << c.what;
        EXPECT_EQ(good, 1) << c.what;
        uint8_t probe[8] = {0x5A, 0x5A, 0x5A, 0x5A, 0x5A, 0x5A, 0x5A, 0x5A};
        for (size_t size : {0, 1, 4, 5, 8}) {
            EXPECT_FALSE(r.ReadField("Huge", probe, size)) << c.what << " " << size;
        }
        EXPECT_EQ(probe[0], 0x5A) << c.what;
        vstring s("junk");
        EXPECT_FALSE(r.StringField("Huge", s)) << c.what;
        EXPECT_TRUE(s.empty()) << c.what;
        cSaveStream nested;
        EXPECT_FALSE(r.SectionField("Huge", nested)) << c.what;
        EXPECT_EQ(nested.mode, kSaveReading) << c.what;
        EXPECT_EQ(nested.Size(), 0u) << c.what;
    }
}

// The serialiser habit: one routine that writes or reads according to the stream's mode.
struct Sample {
    uint32_t line = 0;
    uint8_t flag = 0;
    vstring name;
};

void serialiseSample(cSaveStream& s, Sample& v) {
    if (s.IsWriting()) {
        s.WriteField("Line", &v.line, sizeof v.line);
        s.WriteField("Flag", &v.flag, sizeof v.flag);
    } else {
        s.ReadField("Line", &v.line, sizeof v.line);
        s.ReadField("Flag", &v.flag, sizeof v.flag);
    }
    s.StringField("Name", v.name);
}

TEST(SaveStream, OneSerialiserWritesAndReads) {
    Sample out;
    out.line = 123;
    out.flag = 1;
    out.name = "scene.txt";
    cSaveStream section;
    serialiseSample(section, out);
    cSaveStream master;
    master.SectionField("Data_Sample", section);

    cSaveStream loaded(master.Data(), master.Size());
    cSaveStream in;
    loaded.SectionField("Data_Sample", in);
    Sample back;
    serialiseSample(in, back);
    EXPECT_EQ(back.line, 123u);
    EXPECT_EQ(back.flag, 1);
    EXPECT_STREQ(back.name.c_str(), "scene.txt");

    // An older save without the section: fields keep their values, strings empty.
    cSaveStream older(nullptr, 0);
    cSaveStream none;
    older.SectionField("Data_Sample", none);
    Sample kept = out;
    serialiseSample(none, kept);
    EXPECT_EQ(kept.line, 123u);
    EXPECT_EQ(kept.flag, 1);
    EXPECT_TRUE(kept.name.empty());
}
}  // namespace
