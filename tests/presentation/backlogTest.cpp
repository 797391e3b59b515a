// The backlog ring: 60 entries behind the write position, the pending voice, the mark of the save
// point and the "Data_Log" section.
#include <string>
#include <vector>

#include "base/moduleState.h"
#include "files/saveStream.h"
#include "presentation/backlog.h"
#include "testing.h"

namespace {
using namespace mLogBox;

std::string textAt(int32_t back) {
    vstring name, text, voice;
    EXPECT_TRUE(GetEntry(back, name, text, voice));
    return text.c_str();
}
std::string voiceAt(int32_t back) {
    vstring name, text, voice;
    EXPECT_TRUE(GetEntry(back, name, text, voice));
    return voice.c_str();
}
void messages(int from, int to) {
    for (int i = from; i <= to; ++i) AddEntry("n", ("m" + std::to_string(i)).c_str());
}

class Backlog : public ::testing::Test {
protected:
    void SetUp() override { resetEngineState(); }
    void TearDown() override { resetEngineState(); }
};

TEST_F(Backlog, SixtyOneMessages) {
    messages(1, 61);
    EXPECT_EQ(1, writePosition());
    EXPECT_EQ("m61", textAt(1));  // the newest
    EXPECT_EQ("m3", textAt(59));  // the oldest reachable one; the first was overwritten by the 61st
    EXPECT_EQ("m2", textAt(0));   // 0 steps back is the entry the next message overwrites
    vstring name, text, voice;
    EXPECT_FALSE(GetEntry(60, name, text, voice));
    EXPECT_FALSE(GetEntry(-1, name, text, voice));
    AddEntry(nullptr, "x");  // both must be given
    AddEntry("x", nullptr);
    EXPECT_EQ(1, writePosition());
}

TEST_F(Backlog, AVoiceGoesWithTheNextMessageOnly) {
    SetPendingVoice("voice\\v01.ogg");
    SetPendingVoice(nullptr);  // unchanged
    messages(1, 2);
    EXPECT_EQ("voice\\v01.ogg", voiceAt(2));
    EXPECT_EQ("", voiceAt(1));
    SetPendingVoice("v");
    SetPendingVoice("");
    messages(3, 3);
    EXPECT_EQ("", voiceAt(1));
}

TEST_F(Backlog, SectionBytesAndALoadBehindNewerMessages) {
    messages(1, 10);
    MarkPosition();  // a save point after ten messages
    cSaveStream out;
    Serialize(out);
    cSaveStream parsed(out.Data(), out.Size());
    EXPECT_EQ(1u + 180u, parsed.FieldCount());
    // The records in their order, from the bytes.
    const std::vector<uint8_t>& b = out.Buffer();
    auto u32 = [&b](size_t at) {
        return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
               uint32_t(b[at + 3]) << 24;
    };
    std::vector<std::string> names;
    size_t p = 0;
    while (p < b.size()) {
        uint32_t n = u32(p);
        names.emplace_back(reinterpret_cast<const char*>(&b[p + 4]), n);
        p += 4 + n;
        if (names.size() == 1) {
            EXPECT_EQ(10u, u32(p + 4));
        }
        p += 4 + u32(p);
    }
    ASSERT_EQ(181u, names.size());
    EXPECT_EQ("LastLogPos", names[0]);
    EXPECT_EQ((std::vector<std::string>{"Text0", "Name0", "Voice0", "Text1"}),
              std::vector<std::string>(names.begin() + 1, names.begin() + 5));
    EXPECT_EQ("Voice59", names.back());

    messages(11, 40);  // thirty more since the save
    cSaveStream in(out.Data(), out.Size());
    Serialize(in);
    EXPECT_EQ(10, writePosition());
    EXPECT_EQ("m10", textAt(1));
    messages(11, 11);  // the message after the save point overwrites its old entry
    EXPECT_EQ("m11", textAt(1));
    EXPECT_EQ("m10", textAt(2));
}

TEST_F(Backlog, DamagedSections) {
    messages(1, 5);
    MarkPosition();
    struct Case {
        const char* what;
        std::string mark;  // the LastLogPos data
        int32_t position;
    } cases[] = {
        {"absent", "", 5},
        {"three bytes", std::string("\x07\0\0", 3), 5},
        {"outside the ring", std::string("\x3C\0\0\0", 4), 5},
        {"negative", std::string("\xFF\xFF\xFF\xFF", 4), 5},
        {"inside", std::string("\x3B\0\0\0", 4), 59},
    };
    for (const Case& c : cases) {
        cSaveStream out;
        if (!c.mark.empty()) out.WriteField("LastLogPos", c.mark.data(), c.mark.size());
        cSaveStream in(out.Data(), out.Size());
        MarkPosition();
        Serialize(in);
        EXPECT_EQ(c.position, writePosition()) << c.what;
        EXPECT_EQ("", textAt(1)) << c.what;  // absent strings read as ""
        Clear();
        messages(1, 5);
        MarkPosition();
    }
}

}  // namespace
