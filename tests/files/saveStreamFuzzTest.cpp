// Random and mutated streams fed to the reader: it must neither crash nor read outside its buffer
// (the native build runs this under the address and undefined-behaviour sanitizers).
#include <cstdint>
#include <random>
#include <vector>

#include "files/saveStream.h"
#include "testing.h"

namespace {
using Bytes = std::vector<uint8_t>;

const char* const kNames[] = {"Data_Script", "Data_Sound", "Data_Flags", "Flags", "A", "Ab",
                              "Name",        "X",          "Huge",       ""};

// Reads everything it can, the way the load code does, descending into sections a few levels.
void exercise(cSaveStream& r, std::mt19937& rng, int depth) {
    uint8_t small[16];
    for (const char* name : kNames) {
        for (size_t size : {0, 1, 2, 4, 13, 16}) r.ReadField(name, small, size);
        vstring s;
        if (r.StringField(name, s)) {
            // The text is a real NUL-terminated string of the length it claims.
            EXPECT_EQ(std::char_traits<char>::length(s.c_str()), s.size());
        }
        if (depth < 3) {
            cSaveStream nested;
            if (r.SectionField(name, nested)) {
                EXPECT_EQ(nested.mode, kSaveReading);
                EXPECT_LE(nested.Size(), r.Size());
                exercise(nested, rng, depth + 1);
            }
        }
    }
    for (int i = 0; i < 4; ++i) {
        const uint64_t offset = rng() % (r.Size() + 8);
        const size_t n = rng() % sizeof small;
        const uint32_t got = r.ReadAt(small, n, offset);
        EXPECT_TRUE(got == 0 || (got == n && offset + n <= r.Size()));
    }
}

Bytes validStream(std::mt19937& rng) {
    cSaveStream inner;
    const uint32_t v = rng();
    inner.WriteField("X", &v, 4);
    vstring text("some text");
    inner.StringField("Name", text);
    cSaveStream master;
    master.SectionField("Data_Script", inner);
    const uint8_t flags[13] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
    master.WriteField("Ab", flags, sizeof flags);
    master.StringField("Flags", text);
    master.SectionField("Data_Sound", inner);
    return master.Buffer();
}

void putU32At(Bytes& b, size_t at, uint32_t x) {
    for (int i = 0; i < 4 && at + i < b.size(); ++i) b[at + i] = static_cast<uint8_t>(x >> (8 * i));
}

Bytes mutate(Bytes b, std::mt19937& rng) {
    static const uint32_t kInteresting[] = {0,          1,          4,          0x7F,
                                            0x100000,   0x100001,   0x7FFFFFFF, 0x80000000,
                                            0xFFFFFFFC, 0xFFFFFFFF, 0xFFFFFF00};
    const int edits = 1 + rng() % 4;
    for (int e = 0; e < edits && !b.empty(); ++e) {
        const size_t at = rng() % b.size();
        switch (rng() % 5) {
            case 0: b[at] ^= static_cast<uint8_t>(1u << (rng() % 8)); break;
            case 1: b[at] = static_cast<uint8_t>(rng()); break;
            case 2: putU32At(b, at, kInteresting[rng() % (sizeof kInteresting / 4)]); break;
            case 3: b.resize(at); break;
            default: b.insert(b.begin() + at, static_cast<uint8_t>(rng())); break;
        }
    }
    return b;
}

TEST(SaveStreamFuzz, RandomAndMutatedStreamsAreReadSafely) {
    std::mt19937 rng(20240611u);
    for (int round = 0; round < 3000; ++round) {
        Bytes b;
        if (round % 3 == 0) {
            b.resize(rng() % 96);
            for (uint8_t& x : b) x = static_cast<uint8_t>(rng());
            // Small name lengths, so that random streams also reach the later checks.
            if (b.size() >= 4 && rng() % 2) putU32At(b, 0, rng() % 12);
        } else {
            b = mutate(validStream(rng), rng);
        }
        cSaveStream r(b.empty() ? nullptr : b.data(), b.size());
        EXPECT_EQ(r.mode, kSaveReading);
        exercise(r, rng, 0);
        if (HasFailure()) {
            ADD_FAILURE() << "round " << round;
            return;
        }
    }
}

// An unmutated stream still reads back in full after all this.
TEST(SaveStreamFuzz, ValidStreamReads) {
    std::mt19937 rng(7);
    const Bytes b = validStream(rng);
    cSaveStream r(b.data(), b.size());
    cSaveStream script;
    ASSERT_TRUE(r.SectionField("Data_Script", script));
    vstring name;
    EXPECT_TRUE(script.StringField("Name", name));
    EXPECT_STREQ(name.c_str(), "some text");
    uint8_t flags[13] = {};
    EXPECT_TRUE(r.ReadField("ab", flags, 13));
    EXPECT_EQ(flags[12], 13);
}
}  // namespace
