#include <windows.h>

#include <string>
#include <vector>

#include "archiveBytes.h"
#include "files/archiveIndex.h"
#include "files/dataFile.h"
#include "base/debugMessage.h"
#include "testing.h"
#include "winTempFolder.h"

namespace {
using Bytes = std::vector<uint8_t>;

std::vector<std::string> gReports;
void collect(const char* text) { gReports.push_back(text); }

// A data folder of its own for each test, with an empty index.
struct DataFolderFixture : ::testing::Test {
    TempFolder temp;
    std::string data = temp / "data\\";
    void SetUp() override {
        TempFolder::makeFolder(data);
        ASSERT_TRUE(setDataFolder(data.c_str()));
        gArchiveIndex.clear();
        gReports.clear();
        setDebugSink(collect);
    }
    void TearDown() override {
        setDebugSink(nullptr);
        gArchiveIndex.clear();
    }
    void writeArchive(const char* name, const TestArchive& a) {
        ASSERT_TRUE(TempFolder::writeFile(data + name, a.bytes));
    }
    static Bytes readAll(cFile& f, std::vector<size_t> pieces) {
        Bytes out;
        for (size_t n : pieces) {
            Bytes piece(n);
            if (!f.Read(piece.data(), n)) return Bytes();
            out.insert(out.end(), piece.begin(), piece.end());
        }
        return out;
    }
};
using DataFile = DataFolderFixture;
}  // namespace

TEST_F(DataFile, EntriesWithKeys0To2ReadInPieces) {
    std::vector<TestEntry> entries = {{0, "script\\plain.txt", testData(1300, 1)},
                                      {1, "script\\one.txt", testData(1300, 2)},
                                      {2, "Script\\Two.TXT", testData(1300, 3)}};
    TestArchive a = buildTestArchive(0, entries);
    writeArchive("game.dat", a);
    ASSERT_TRUE(readArchiveIndex((data + "game.dat").c_str(), "game.dat"));
    // Key 0 stores the bytes as they are; keys 1 and 2 give two distinct streams.
    EXPECT_EQ(0, std::memcmp(a.bytes.data() + a.dataOffset[0], entries[0].data.data(), 1300));
    EXPECT_NE(0, std::memcmp(a.bytes.data() + a.dataOffset[1], a.bytes.data() + a.dataOffset[2],
                             1300));
    const std::vector<size_t> pieceSets[] = {{1300}, {1, 622, 1, 1, 623, 52}, {624, 624, 52}};
    for (size_t i = 0; i < entries.size(); ++i) {
        for (const auto& pieces : pieceSets) {
            cFile f;
            ASSERT_TRUE(f.Open("script", entries[i].name.c_str() + 7));
            EXPECT_EQ(1300u, f.Size());
            EXPECT_EQ(entries[i].key, f.Key());
            EXPECT_EQ(entries[i].data, readAll(f, pieces)) << i;
            EXPECT_EQ(0u, f.Remaining());
        }
    }
    cFile f;
    ASSERT_TRUE(f.Open("SCRIPT", "TWO.txt"));
    EXPECT_STREQ("SCRIPT\\TWO.txt", f.Path());
    EXPECT_TRUE(gReports.empty());
}

TEST_F(DataFile, ReadsStopAtTheEntrysEnd) {
    TestArchive a = buildTestArchive(0, {{3, "a\\first", testData(10, 1)},
                                         {3, "a\\second", testData(10, 2)}});
    writeArchive("x.dat", a);
    ASSERT_TRUE(readArchiveIndex((data + "x.dat").c_str(), "x.dat"));
    cFile f;
    ASSERT_TRUE(f.Open("a", "first"));
    Bytes buf(11, 0xEE);
    EXPECT_FALSE(f.Read(buf.data(), 11));  // one byte more than the entry holds
    EXPECT_EQ(Bytes(11, 0xEE), buf);       // nothing read, nothing deciphered
    ASSERT_EQ(1u, gReports.size());
    EXPECT_NE(std::string::npos, gReports[0].find("a\\first"));
    EXPECT_TRUE(f.Read(buf.data(), 6));
    EXPECT_FALSE(f.Read(buf.data(), 5));
    EXPECT_TRUE(f.Read(buf.data() + 6, 4));
    EXPECT_EQ(testData(10, 1), Bytes(buf.begin(), buf.begin() + 10));
    EXPECT_FALSE(f.Read(buf.data(), 1));
    EXPECT_FALSE(f.Read(buf.data(), 0));
    EXPECT_FALSE(f.Read(nullptr, 1));
    f.Close();
    EXPECT_EQ(0u, f.Size());
    EXPECT_FALSE(f.Read(buf.data(), 1));
}

TEST_F(DataFile, LooseFilesOnlyWhenNoEntryExists) {
    TempFolder::makeFolder(data + "script");
    ASSERT_TRUE(TempFolder::writeFile(data + "script\\loose.txt", "loose bytes"));
    ASSERT_TRUE(TempFolder::writeFile(data + "script\\both.txt", "loose version"));
    TestArchive a = buildTestArchive(0, {{1, "script\\both.txt", testData(5, 9)}});
    writeArchive("p.dat", a);
    ASSERT_TRUE(readArchiveIndex((data + "p.dat").c_str(), "p.dat"));

    cFile f;
    ASSERT_TRUE(f.Open("script", "LOOSE.TXT"));
    EXPECT_EQ(11u, f.Size());
    EXPECT_EQ(0, f.Key());
    Bytes buf(11);
    ASSERT_TRUE(f.Read(buf.data(), 11));
    EXPECT_EQ(0, std::memcmp("loose bytes", buf.data(), 11));
    EXPECT_FALSE(f.Read(buf.data(), 1));  // the loose file's end bounds it too

    ASSERT_TRUE(f.Open("script", "both.txt"));
    EXPECT_EQ(5u, f.Size());
    ASSERT_TRUE(f.Read(buf.data(), 5));
    EXPECT_EQ(testData(5, 9), Bytes(buf.begin(), buf.begin() + 5));

    // The entry's archive has gone: no fallback to the loose file of the same name.
    f.Close();
    ASSERT_TRUE(DeleteFileA((data + "p.dat").c_str()));
    EXPECT_FALSE(f.Open("script", "both.txt"));
    EXPECT_FALSE(gReports.empty());
    EXPECT_FALSE(f.Open("script", "absent.txt"));
    EXPECT_FALSE(f.Open("script", ""));
    EXPECT_FALSE(f.Open("script", nullptr));
}

TEST_F(DataFile, AColonBypassesTheArchivesAndTheFolder) {
    std::string outside = temp / "outside.txt";
    ASSERT_TRUE(TempFolder::writeFile(outside, "outside"));
    // An entry of exactly that name exists, and a folder argument is given: both are ignored.
    TestArchive a = buildTestArchive(0, {{0, outside, testData(3, 1)}});
    writeArchive("c.dat", a);
    ASSERT_TRUE(readArchiveIndex((data + "c.dat").c_str(), "c.dat"));
    ASSERT_NE(nullptr, findArchiveEntry(outside.c_str()));
    cFile f;
    ASSERT_TRUE(f.Open("script", outside.c_str()));
    EXPECT_STREQ(outside.c_str(), f.Path());
    EXPECT_EQ(7u, f.Size());
    Bytes buf(7);
    ASSERT_TRUE(f.Read(buf.data(), 7));
    EXPECT_EQ(0, std::memcmp("outside", buf.data(), 7));
}

TEST_F(DataFile, TooLongNamesFailInsteadOfOpeningATruncatedName) {
    // A file whose name is the first 259 bytes of the joined name must not be opened.
    std::string name(300, 'n');
    cFile f;
    EXPECT_FALSE(f.Open("script", name.c_str()));
    EXPECT_FALSE(f.Open(nullptr, name.c_str()));
    EXPECT_FALSE(gReports.empty());
    // The joined name fits but the data folder plus it does not.
    std::string fits(kPathMax - 1 - 7, 'm');
    EXPECT_FALSE(f.Open("script", fits.c_str()));
}

TEST_F(DataFile, ErrorReportCarriesPathSizeAndKey) {
    TestArchive a = buildTestArchive(0, {{0xAB, "e\\entry", testData(4, 1)}});
    writeArchive("e.dat", a);
    ASSERT_TRUE(readArchiveIndex((data + "e.dat").c_str(), "e.dat"));
    cFile f;
    ASSERT_TRUE(f.Open("e", "entry"));
    Bytes buf(8);
    EXPECT_FALSE(f.Read(buf.data(), 8));
    ASSERT_EQ(1u, gReports.size());
    const std::string& r = gReports[0];
    EXPECT_NE(std::string::npos, r.find(":e\\entry\n"));
    EXPECT_NE(std::string::npos, r.find(":4\n"));
    EXPECT_NE(std::string::npos, r.find(":00AB\n"));
    EXPECT_FALSE(f.ReportError(nullptr));
    EXPECT_EQ(2u, gReports.size());
}

TEST_F(DataFile, TruncatedArchiveFilesKeepTheRecordsBefore) {
    TestArchive a = buildTestArchive(4, {{1, "t\\one", testData(3, 1)},
                                         {0, "t\\two", testData(3, 2)}});
    for (size_t cut = 0; cut <= a.bytes.size(); ++cut) {
        gArchiveIndex.clear();
        TempFolder::writeFile(data + "t.dat", Bytes(a.bytes.begin(), a.bytes.begin() + cut));
        bool ok = readArchiveIndex((data + "t.dat").c_str(), "t.dat");
        EXPECT_EQ(cut >= a.recordEnd[1], ok) << cut;
        EXPECT_EQ(cut >= a.dataOffset[0] + 3, findArchiveEntry("t\\one") != nullptr) << cut;
        EXPECT_EQ(cut == a.bytes.size(), findArchiveEntry("t\\two") != nullptr) << cut;
    }
    EXPECT_FALSE(readArchiveIndex((data + "missing.dat").c_str(), "missing.dat"));
}

TEST_F(DataFile, ScanReadsEveryArchiveOfTheFolder) {
    writeArchive("system.dat", buildTestArchive(1, {{0, "a\\sys", testData(2, 1)},
                                                    {0, "a\\shared", testData(2, 2)}}));
    writeArchive("extra.DAT", buildTestArchive(2, {{0, "a\\extra", testData(2, 3)},
                                                   {0, "a\\shared", testData(3, 4)}}));
    writeArchive("broken.dat", buildTestArchive(9, {{0, "a\\shared", testData(4, 5)}}, 202));
    writeArchive("notes.txt", buildTestArchive(9, {{0, "a\\txt", testData(4, 6)}}));
    TempFolder::makeFolder(data + "folder.dat");
    cPathNode stale;
    mergeArchiveEntry("stale\\entry", stale);
    ASSERT_TRUE(scanDataArchives());
    EXPECT_EQ(nullptr, findArchiveEntry("stale\\entry"));
    EXPECT_NE(nullptr, findArchiveEntry("a\\sys"));
    EXPECT_NE(nullptr, findArchiveEntry("a\\extra"));
    EXPECT_EQ(nullptr, findArchiveEntry("a\\txt"));
    ASSERT_NE(nullptr, findArchiveEntry("a\\shared"));
    EXPECT_EQ(3u, findArchiveEntry("a\\shared")->size);
    EXPECT_EQ(3u, gArchiveIndex.size());

    cFile f;
    ASSERT_TRUE(f.Open("a", "shared"));
    Bytes buf(3);
    ASSERT_TRUE(f.Read(buf.data(), 3));
    EXPECT_EQ(testData(3, 4), buf);

    ASSERT_TRUE(setDataFolder((temp / "nowhere\\").c_str()));
    EXPECT_FALSE(scanDataArchives());
    EXPECT_TRUE(gArchiveIndex.empty());
}

TEST(DataArchives, InitSetsTheFolderBesideTheExecutable) {
    char module[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(nullptr, module, sizeof module), 0u);
    std::string expected(module);
    expected = expected.substr(0, expected.rfind('\\')) + "\\data\\";
    cPathNode stale;
    mergeArchiveEntry("stale", stale);
    EXPECT_TRUE(initDataArchives());
    EXPECT_STREQ(expected.c_str(), gDataFolder);
    EXPECT_TRUE(gArchiveIndex.empty());  // no system.dat beside the test
}
