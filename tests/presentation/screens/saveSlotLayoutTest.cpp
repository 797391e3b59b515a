// The layout of slot files: names, the header's texts, and the check of a whole file against
// bytes written here.
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "presentation/screens/saveSlots.h"
#include "testing.h"

namespace {
using Bytes = std::vector<uint8_t>;

void put32(Bytes& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void record(Bytes& out, const std::string& name, const Bytes& data) {
    put32(out, static_cast<uint32_t>(name.size()));
    out.insert(out.end(), name.begin(), name.end());
    put32(out, static_cast<uint32_t>(data.size()));
    out.insert(out.end(), data.begin(), data.end());
}
Bytes section(int fields) {
    Bytes s;
    for (int i = 0; i < fields; ++i) record(s, "F" + std::to_string(i), Bytes(3, uint8_t(i)));
    return s;
}

const char* const kShared[] = {"Data_Script", "Data_Sound", "Data_Anime", "Data_Flags", "Data_Log"};
const char* const kWithFlow[] = {"Data_Script", "Data_Sound", "Data_Anime", "Data_Flags", "Data_Log",
                                 "Data_Flow"};

Bytes slotFile(const std::vector<std::string>& sections) {
    Bytes file(sizeof(SaveSlotHeader), 0);
    for (const std::string& name : sections) record(file, name, section(2));
    return file;
}
// As a configuration that reads the five shared sections only.
bool loadable(const Bytes& file) { return slotFileLoadable(file.data(), file.size(), kShared, 5, 5); }

TEST(SaveSlotLayout, FileNames) {
    char name[16];
    EXPECT_TRUE(saveSlotFileName(0, name));
    EXPECT_STREQ("savedata.000", name);
    EXPECT_TRUE(saveSlotFileName(49, name));
    EXPECT_STREQ("savedata.049", name);
    EXPECT_FALSE(saveSlotFileName(50, name));
    EXPECT_FALSE(saveSlotFileName(-1, name));
}

TEST(SaveSlotLayout, HeaderTexts) {
    char text[256];
    formatSaveDate(LocalTime{2026, 12, 3, 9, 5, 59, 0}, text);
    EXPECT_STREQ("2026/12/03 09:05", text);
    formatChapterText("d", "", text);
    EXPECT_STREQ("d ", text);
    // 255 bytes and a NUL at most, never half a character: 2 + 1 + 126 double-byte characters
    // (254 bytes) leave no room for the 127th.
    std::string name;
    for (int i = 0; i < 127; ++i) name += "\xB0\xA1";
    formatChapterText("ab", name.c_str(), text);
    EXPECT_EQ(255u, std::strlen(text));
    EXPECT_EQ(std::string("ab ") + name.substr(0, 252), text);
    formatChapterText(std::string(300, 'x').c_str(), "y", text);
    EXPECT_EQ(std::string(255, 'x'), text);
}

TEST(SaveSlotLayout, WholeFilesOnly) {
    const std::vector<std::string> full = {"Data_Script", "Data_Sound", "Data_Anime", "Data_Flags",
                                           "Data_Log", "Data_Flow"};
    const Bytes good = slotFile(full);
    EXPECT_TRUE(loadable(good));
    EXPECT_TRUE(loadable(slotFile({"Data_Script", "Data_Sound", "Data_Anime", "Data_Flags",
                                   "Data_Log"})));  // an earlier save
    EXPECT_TRUE(loadable(slotFile({"data_log", "DATA_SCRIPT", "Data_Sound", "Data_Anime",
                                   "Data_Flags"})));  // any order, any case

    struct Case {
        const char* what;
        Bytes file;
    };
    std::vector<Case> bad = {
        {"empty", {}},
        {"one byte", Bytes(1, 0)},
        {"a byte short of the header", Bytes(sizeof(SaveSlotHeader) - 1, 0)},
        {"the header alone", Bytes(sizeof(SaveSlotHeader), 0)},
        {"a section missing", slotFile({"Data_Script", "Data_Sound", "Data_Anime", "Data_Log"})},
    };
    Bytes huge = good;
    // The first section's size field made 0xFFFFFFF0.
    const size_t sizeAt = sizeof(SaveSlotHeader) + 4 + std::strlen("Data_Script");
    for (int i = 0; i < 4; ++i) huge[sizeAt + i] = static_cast<uint8_t>(0xFFFFFFF0u >> (8 * i));
    bad.push_back({"a size of 0xFFFFFFF0", huge});
    Bytes tail = good;
    tail.push_back(0);
    bad.push_back({"a byte after the last record", tail});
    // A section whose own records run past its end: its first record's name length grows.
    Bytes inner = good;
    inner[sizeAt + 4] = 200;
    bad.push_back({"a section's records past its end", inner});
    // Names the stream's reader stops at, which would leave the records after them unread: an
    // empty name before the sections, one inside a section, and a name beyond the limit.
    Bytes emptyName(sizeof(SaveSlotHeader), 0);
    record(emptyName, "", section(1));
    emptyName.insert(emptyName.end(), good.begin() + sizeof(SaveSlotHeader), good.end());
    bad.push_back({"an empty record name", emptyName});
    Bytes emptyInner(sizeof(SaveSlotHeader), 0);
    Bytes script;
    record(script, "", Bytes(1, 1));
    record(script, "F0", Bytes(3, 0));
    record(emptyInner, "Data_Script", script);
    for (const char* name : {"Data_Sound", "Data_Anime", "Data_Flags", "Data_Log"})
        record(emptyInner, name, section(2));
    bad.push_back({"an empty record name in a section", emptyInner});
    Bytes longName = slotFile({"Data_Sound", "Data_Anime", "Data_Flags", "Data_Log"});
    Bytes longScript;
    record(longScript, std::string(0x100001, 'n'), Bytes(1, 1));
    record(longName, "Data_Script", longScript);
    bad.push_back({"a record name beyond the limit", longName});
    for (size_t cut : {size_t(1), size_t(5), size_t(17), good.size() - sizeof(SaveSlotHeader) - 1}) {
        Bytes prefix(good.begin(), good.end() - static_cast<long>(cut));
        bad.push_back({"a prefix", prefix});
    }
    for (const Case& c : bad) EXPECT_FALSE(loadable(c.file)) << c.what;
    EXPECT_FALSE(slotFileLoadable(nullptr, 0, kShared, 5, 5));
    EXPECT_FALSE(slotFileLoadable(good.data(), good.size(), kShared, 5, 6));
}

TEST(SaveSlotLayout, RecordsNothingReadsAreNotLookedInto) {
    // A flow record (or any other) whose contents are no stream: only a configuration that reads
    // it refuses the file; a record that nothing reads need only be a record of the master stream.
    Bytes junk = {0xFF, 0xFF, 0xFF, 0xFF, 'j', 'u', 'n', 'k'};
    Bytes file = slotFile({"Data_Script", "Data_Sound", "Data_Anime", "Data_Flags", "Data_Log"});
    Bytes flow = file, other = file;
    record(flow, "DATA_FLOW", junk);
    record(other, "Data_Extra", junk);
    EXPECT_TRUE(slotFileLoadable(flow.data(), flow.size(), kShared, 5, 5));
    EXPECT_FALSE(slotFileLoadable(flow.data(), flow.size(), kWithFlow, 6, 5));
    EXPECT_TRUE(slotFileLoadable(other.data(), other.size(), kShared, 5, 5));
    EXPECT_TRUE(slotFileLoadable(other.data(), other.size(), kWithFlow, 6, 5));
    // Names are read as the stream's reader keys them, up to a NUL: such a flow record is read.
    Bytes keyed = file;
    record(keyed, std::string("Data_Flow\0x", 11), junk);
    EXPECT_FALSE(slotFileLoadable(keyed.data(), keyed.size(), kWithFlow, 6, 5));
    EXPECT_TRUE(slotFileLoadable(keyed.data(), keyed.size(), kShared, 5, 5));
    // Still a record: one running past the end of the master stream is refused by both.
    Bytes cut = flow;
    cut.pop_back();
    EXPECT_FALSE(slotFileLoadable(cut.data(), cut.size(), kShared, 5, 5));
    EXPECT_FALSE(slotFileLoadable(cut.data(), cut.size(), kWithFlow, 6, 5));
    // A flow record that is a stream, and none at all: both load.
    Bytes sound = slotFile({"Data_Script", "Data_Sound", "Data_Anime", "Data_Flags", "Data_Log",
                            "Data_Flow"});
    EXPECT_TRUE(slotFileLoadable(sound.data(), sound.size(), kShared, 5, 5));
    EXPECT_TRUE(slotFileLoadable(sound.data(), sound.size(), kWithFlow, 6, 5));
    EXPECT_TRUE(slotFileLoadable(file.data(), file.size(), kWithFlow, 6, 5));
}

TEST(SaveSlotLayout, RandomBodiesNeverCrash) {
    const Bytes good = slotFile({"Data_Script", "Data_Sound", "Data_Anime", "Data_Flags", "Data_Log"});
    std::mt19937 rng(23);
    for (int i = 0; i < 20000; ++i) {
        Bytes file = good;
        for (int k = rng() % 8; k >= 0; --k) {
            size_t at = sizeof(SaveSlotHeader) + rng() % (file.size() - sizeof(SaveSlotHeader));
            switch (rng() % 3) {
            case 0: file[at] = static_cast<uint8_t>(rng()); break;
            case 1: file.insert(file.begin() + static_cast<long>(at), static_cast<uint8_t>(rng())); break;
            default: file.erase(file.begin() + static_cast<long>(at)); break;
            }
            if (file.size() <= sizeof(SaveSlotHeader)) break;
        }
        loadable(file);
    }
}

}  // namespace
