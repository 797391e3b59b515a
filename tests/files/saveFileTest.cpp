#include <windows.h>

#include <string>
#include <vector>

#include "files/saveFile.h"
#include "keystreamOracle.h"
#include "testing.h"
#include "winTempFolder.h"

namespace {
using Bytes = std::vector<unsigned char>;

// A save folder inside a fresh temporary folder, not created yet.
struct SaveFolderFixture : ::testing::Test {
    TempFolder temp;
    std::string folder = temp / "save\\";
    void SetUp() override { ASSERT_TRUE(setSaveFolder(folder.c_str())); }
};
}  // namespace

TEST(SaveFolder, BesideTheExecutable) {
    char module[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, module, sizeof module);
    ASSERT_GT(n, 0u);
    std::string expected(module);
    expected = expected.substr(0, expected.rfind('\\')) + "\\save\\";
    EXPECT_EQ(expected, getSaveFolder());
    EXPECT_EQ(getSaveFolder(), getSaveFolder());  // computed once
}

TEST(SaveFolder, TooLongFolderIsRefused) {
    std::string before = getSaveFolder();
    std::string tooLong = "C:\\" + std::string(300, 'x') + "\\";
    EXPECT_FALSE(setSaveFolder(tooLong.c_str()));
    EXPECT_EQ(before, getSaveFolder());
}

using SaveFile = SaveFolderFixture;

// The replacing write's flush, recorded through the seam: what the file system held when it was
// called, and the result of the system's own flush made on the handle it was given.
struct FlushRecord {
    std::string folder;
    int calls = 0;
    bool fail = false;
    LONGLONG sizeOfFlushed = -1;
    Bytes slotAtFlush;
    bool newAtFlush = false;
    bool flushed = false;
};
FlushRecord* gFlushRecord = nullptr;

bool recordFlush(intptr_t handle) {
    FlushRecord& r = *gFlushRecord;
    ++r.calls;
    if (r.fail) return false;
    HANDLE file = reinterpret_cast<HANDLE>(handle);
    LARGE_INTEGER size;
    if (GetFileSizeEx(file, &size)) r.sizeOfFlushed = size.QuadPart;
    r.slotAtFlush = TempFolder::readFile(r.folder + "slot");
    r.newAtFlush = TempFolder::exists(r.folder + "slot.new");
    r.flushed = FlushFileBuffers(file) != 0;  // the handle can flush: it is open for writing
    return r.flushed;
}

TEST_F(SaveFile, ReplacingWriteFlushesTheDataBeforeTheRename) {
    const auto writer = [](size_t n, unsigned char value) {
        return [n, value](cSaveFile& f) {
            const Bytes data(n, value);
            return f.Write(data.data(), data.size());
        };
    };
    ASSERT_TRUE(replaceSaveFile("slot", writer(3000, 0x11)));
    const Bytes old = TempFolder::readFile(folder + "slot");
    FlushRecord record;
    record.folder = folder;
    gFlushRecord = &record;
    setFileFlush(recordFlush);
    // Called once, on the temporary file holding all the new data, while the slot is still the
    // old one; the system's flush succeeds on that handle.
    const bool replaced = replaceSaveFile("slot", writer(5000, 0x22));
    EXPECT_TRUE(replaced);
    EXPECT_EQ(1, record.calls);
    EXPECT_EQ(5000, record.sizeOfFlushed);
    EXPECT_TRUE(record.newAtFlush);
    EXPECT_TRUE(old == record.slotAtFlush);
    EXPECT_TRUE(record.flushed);
    const Bytes replacedBytes = TempFolder::readFile(folder + "slot");
    EXPECT_EQ(5000u, replacedBytes.size());
    // A failed flush is a failed save: the slot stays as it was and the temporary file goes.
    record = FlushRecord();
    record.folder = folder;
    record.fail = true;
    EXPECT_FALSE(replaceSaveFile("slot", writer(7000, 0x33)));
    setFileFlush(nullptr);
    gFlushRecord = nullptr;
    EXPECT_EQ(1, record.calls);
    EXPECT_TRUE(replacedBytes == TempFolder::readFile(folder + "slot"));
    EXPECT_FALSE(TempFolder::exists(folder + "slot.new"));
}

TEST_F(SaveFile, ZeroBytesOnDiskAreTheSaveStream) {
    Bytes zeros(1300, 0);
    cSaveFile f;
    ASSERT_TRUE(f.Create("stream.bin"));
    // In pieces across the refill at 624 and 1248.
    ASSERT_TRUE(f.Write(zeros.data(), 600));
    ASSERT_TRUE(f.Write(zeros.data(), 30));
    ASSERT_TRUE(f.Write(zeros.data(), 670));
    f.Close();
    Bytes disk = TempFolder::readFile(folder + "stream.bin");
    EXPECT_EQ(oracleStream(0xF2C9, 1300), disk);
    for (unsigned char z : zeros) ASSERT_EQ(0, z);  // the caller's buffer is untouched
}

TEST_F(SaveFile, RoundTripAndSameContentGivesSameBytes) {
    Bytes data(2000);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<unsigned char>(i * 31 + 7);
    for (const char* name : {"a.bin", "b.bin"}) {
        cSaveFile f;
        ASSERT_TRUE(f.Create(name));
        ASSERT_TRUE(f.Write(data.data(), data.size()));
    }
    Bytes a = TempFolder::readFile(folder + "a.bin");
    EXPECT_EQ(a, TempFolder::readFile(folder + "b.bin"));
    EXPECT_NE(data, a);

    cSaveFile f;
    ASSERT_TRUE(f.OpenRead("a.bin"));
    EXPECT_EQ(2000u, f.file.Size());
    Bytes back(2000);
    ASSERT_TRUE(f.Read(back.data(), 700));
    ASSERT_TRUE(f.Read(back.data() + 700, 1300));
    EXPECT_EQ(data, back);
}

TEST_F(SaveFile, RewritingAPrefixKeepsTheRestReadable) {
    Bytes data(1500, 0x11);
    {
        cSaveFile f;
        ASSERT_TRUE(f.Create("slot"));
        ASSERT_TRUE(f.Write(data.data(), data.size()));
    }
    Bytes prefix(700, 0x77);
    {
        cSaveFile f;
        ASSERT_TRUE(f.OpenWrite("slot"));
        ASSERT_TRUE(f.Write(prefix.data(), prefix.size()));
    }
    cSaveFile f;
    ASSERT_TRUE(f.OpenRead("slot"));
    ASSERT_EQ(1500u, f.file.Size());
    Bytes back(1500);
    ASSERT_TRUE(f.Read(back.data(), back.size()));
    Bytes expected = data;
    std::fill(expected.begin(), expected.begin() + 700, 0x77);
    EXPECT_EQ(expected, back);
}

TEST_F(SaveFile, ReadingFromALaterPieceFirstGivesWrongBytes) {
    Bytes data(100, 0x42);
    {
        cSaveFile f;
        ASSERT_TRUE(f.Create("x"));
        ASSERT_TRUE(f.Write(data.data(), data.size()));
    }
    cSaveFile f;
    ASSERT_TRUE(f.OpenRead("x"));
    f.file.Seek(50);
    Bytes back(50);
    ASSERT_TRUE(f.Read(back.data(), 50));
    EXPECT_NE(Bytes(50, 0x42), back);
}

TEST_F(SaveFile, ShortReadDeciphersOnlyWhatArrivedAndFails) {
    Bytes data(10);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<unsigned char>(i + 1);
    {
        cSaveFile f;
        ASSERT_TRUE(f.Create("short"));
        ASSERT_TRUE(f.Write(data.data(), data.size()));
    }
    cSaveFile f;
    ASSERT_TRUE(f.OpenRead("short"));
    Bytes back(16, 0xEE);
    EXPECT_FALSE(f.Read(back.data(), back.size()));
    EXPECT_EQ(data, Bytes(back.begin(), back.begin() + 10));
    EXPECT_EQ(Bytes(6, 0xEE), Bytes(back.begin() + 10, back.end()));  // not stream garbage
    EXPECT_FALSE(f.Read(back.data(), 1));  // at the end
}

TEST_F(SaveFile, FolderIsCreatedOnlyByCreate) {
    cSaveFile f;
    unsigned char byte = 1;
    EXPECT_FALSE(f.OpenRead("missing"));
    EXPECT_FALSE(f.OpenWrite("missing"));
    EXPECT_FALSE(f.Read(&byte, 1));
    EXPECT_FALSE(f.Write(&byte, 1));
    EXPECT_FALSE(TempFolder::exists(folder));
    ASSERT_TRUE(f.Create("first"));
    EXPECT_TRUE(TempFolder::exists(folder));
    EXPECT_FALSE(f.Write(&byte, 0));
    EXPECT_TRUE(f.Write(&byte, 1));
    f.Close();
    EXPECT_FALSE(f.Write(&byte, 1));
    EXPECT_FALSE(f.OpenRead("missing"));  // the folder exists now, the file does not
}

TEST_F(SaveFile, NamesThatDoNotFitAPathFail) {
    cSaveFile f;
    std::string tooLong(300, 'n');
    EXPECT_FALSE(f.Create(tooLong.c_str()));
    EXPECT_FALSE(f.Create(""));
    EXPECT_FALSE(f.Create(nullptr));
    EXPECT_FALSE(f.OpenRead(tooLong.c_str()));
    EXPECT_FALSE(f.OpenWrite(tooLong.c_str()));
}
