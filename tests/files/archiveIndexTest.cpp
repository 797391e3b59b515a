#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "archiveBytes.h"
#include "files/archiveIndex.h"
#include "testing.h"

namespace {
bool indexBytes(const std::vector<uint8_t>& bytes, const char* archive) {
    MemorySource source(bytes.data(), bytes.size());
    return indexArchive(source, bytes.size(), archive);
}

struct ArchiveIndex : ::testing::Test {
    void SetUp() override { gArchiveIndex.clear(); }
    void TearDown() override { gArchiveIndex.clear(); }
};

std::vector<TestEntry> threeLongNames() {
    // 250 + 251 + 240 name bytes: the name stream crosses its refill at 624 in the third name.
    return {{0, "script\\" + std::string(243, 'a'), testData(10, 1)},
            {1, "img\\" + std::string(247, 'B'), testData(700, 2)},
            {2, "se\\" + std::string(237, 'c'), testData(1300, 3)}};
}
}  // namespace

TEST_F(ArchiveIndex, LongNamesAcrossTheNameStreamRefill) {
    std::vector<TestEntry> entries = threeLongNames();
    TestArchive a = buildTestArchive(5, entries);
    ASSERT_TRUE(indexBytes(a.bytes, "game.dat"));
    ASSERT_EQ(3u, gArchiveIndex.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        const cPathNode* n = findArchiveEntry(entries[i].name.c_str());
        ASSERT_NE(nullptr, n) << i;
        EXPECT_STREQ("game.dat", n->archive.c_str());
        EXPECT_EQ(5u, n->priority);
        EXPECT_EQ(a.dataOffset[i], n->offset);
        EXPECT_EQ(entries[i].data.size(), n->size);
        EXPECT_EQ(entries[i].key, n->key);
    }
}

TEST_F(ArchiveIndex, NamesAreLowerCasedAndFoundInAnyCase) {
    TestArchive a = buildTestArchive(0, {{0, "Script\\START.Txt", testData(3, 1)},
                                         {0, "img\\\x82\x41.PNG", testData(3, 2)}});
    ASSERT_TRUE(indexBytes(a.bytes, "System.DAT"));
    std::vector<std::string> keys;
    for (const auto& kv : gArchiveIndex) keys.push_back(kv.first.c_str());
    std::sort(keys.begin(), keys.end());
    EXPECT_EQ((std::vector<std::string>{"img\\\x82\x61.png", "script\\start.txt"}), keys);
    EXPECT_NE(nullptr, findArchiveEntry("SCRIPT\\start.TXT"));
    EXPECT_NE(nullptr, findArchiveEntry("script\\start.txt"));
    EXPECT_NE(nullptr, findArchiveEntry("IMG\\\x82\x41.png"));
    EXPECT_EQ(nullptr, findArchiveEntry("script/start.txt"));
    EXPECT_EQ(nullptr, findArchiveEntry(""));
    EXPECT_EQ(nullptr, findArchiveEntry(nullptr));
    EXPECT_STREQ("System.DAT", findArchiveEntry("script\\start.txt")->archive.c_str());
}

TEST_F(ArchiveIndex, PriorityRuleInBothOrdersAndEqualPriorities) {
    struct Case {
        uint32_t first, second;
        const char* winner;
    } cases[] = {
        {1, 2, "b.dat"}, {2, 1, "a.dat"},  // the strictly higher priority wins in either order
        {3, 3, "b.dat"},                   // equal: the one read later
        {0, 0xFFFFFFFFu, "b.dat"}, {0xFFFFFFFFu, 0, "a.dat"},  // unsigned comparison
    };
    for (const Case& c : cases) {
        gArchiveIndex.clear();
        TestArchive a = buildTestArchive(c.first, {{0, "x\\same.txt", testData(4, 1)},
                                                   {0, "x\\onlya.txt", testData(4, 2)}});
        TestArchive b = buildTestArchive(c.second, {{7, "X\\SAME.TXT", testData(9, 3)}});
        ASSERT_TRUE(indexBytes(a.bytes, "a.dat"));
        ASSERT_TRUE(indexBytes(b.bytes, "b.dat"));
        const cPathNode* n = findArchiveEntry("x\\same.txt");
        ASSERT_NE(nullptr, n);
        EXPECT_STREQ(c.winner, n->archive.c_str()) << c.first << " " << c.second;
        EXPECT_EQ(std::string(c.winner) == "a.dat" ? c.first : c.second, n->priority);
        EXPECT_EQ(std::string(c.winner) == "a.dat" ? 4u : 9u, n->size);
        EXPECT_STREQ("a.dat", findArchiveEntry("x\\onlya.txt")->archive.c_str());
        EXPECT_EQ(2u, gArchiveIndex.size());
    }
}

TEST_F(ArchiveIndex, BadHeadersContributeNothing) {
    std::vector<TestEntry> one = {{0, "a\\b", testData(4, 1)}};
    struct Case {
        std::vector<uint8_t> bytes;
        bool ok;
    } cases[] = {
        {buildTestArchive(0, one, 203, "MORVPACX").bytes, false},
        {buildTestArchive(0, one, 203, "morvpack").bytes, false},
        {buildTestArchive(0, one, 202).bytes, false},
        {buildTestArchive(0, one, 204).bytes, false},
        {buildTestArchive(0, {}).bytes, true},  // N = 0 is valid and adds nothing
        {{}, false},
        {std::vector<uint8_t>(19, 0), false},
    };
    for (const Case& c : cases) {
        gArchiveIndex.clear();
        EXPECT_EQ(c.ok, indexBytes(c.bytes, "bad.dat"));
        EXPECT_TRUE(gArchiveIndex.empty());
    }
}

TEST_F(ArchiveIndex, NameLengthZeroInTheMiddleKeepsTheRecordsBefore) {
    TestArchive a = buildTestArchive(0, {{0, "a\\one", testData(4, 1)},
                                         {0, "a\\two", testData(4, 2)},
                                         {0, "a\\six", testData(4, 3)}});
    a.bytes[a.recordStart[1] + 1] = 0;
    EXPECT_FALSE(indexBytes(a.bytes, "z.dat"));
    EXPECT_NE(nullptr, findArchiveEntry("a\\one"));
    EXPECT_EQ(1u, gArchiveIndex.size());
}

TEST_F(ArchiveIndex, RecordsPointingOutsideTheFileAreDropped) {
    TestArchive a = buildTestArchive(0, {{0, "a\\before", testData(8, 1)},
                                         {0, "a\\pastend", testData(8, 2)},
                                         {0, "a\\wraps", testData(8, 3)},
                                         {0, "a\\after", testData(8, 4)}});
    size_t fileSize = a.bytes.size();
    testSet32(a.bytes, a.recordEnd[1] - 8, uint32_t(fileSize - 7));  // one byte too far
    testSet32(a.bytes, a.recordEnd[2] - 8, 0xFFFFFFF8u);  // offset + size wraps in 32 bits
    testSet32(a.bytes, a.recordEnd[2] - 4, 0x10u);
    EXPECT_TRUE(indexBytes(a.bytes, "z.dat"));
    EXPECT_NE(nullptr, findArchiveEntry("a\\before"));
    EXPECT_EQ(nullptr, findArchiveEntry("a\\pastend"));
    EXPECT_EQ(nullptr, findArchiveEntry("a\\wraps"));
    EXPECT_NE(nullptr, findArchiveEntry("a\\after"));
    // The last byte of the file is still inside; a zero-sized entry at the very end too.
    gArchiveIndex.clear();
    testSet32(a.bytes, a.recordEnd[1] - 8, uint32_t(fileSize - 8));
    testSet32(a.bytes, a.recordEnd[2] - 8, uint32_t(fileSize));
    testSet32(a.bytes, a.recordEnd[2] - 4, 0);
    EXPECT_TRUE(indexBytes(a.bytes, "z.dat"));
    EXPECT_EQ(4u, gArchiveIndex.size());
}

TEST_F(ArchiveIndex, TruncationAtEveryByteKeepsTheWholeRecordsBefore) {
    TestArchive a = buildTestArchive(0, {{1, "s\\first.txt", testData(5, 1)},
                                         {0, "s\\second.txt", testData(3, 2)},
                                         {2, "s\\third.txt", testData(6, 3)}});
    const char* names[] = {"s\\first.txt", "s\\second.txt", "s\\third.txt"};
    for (size_t cut = 0; cut <= a.bytes.size(); ++cut) {
        gArchiveIndex.clear();
        std::vector<uint8_t> part(a.bytes.begin(), a.bytes.begin() + cut);
        bool ok = indexBytes(part, "cut.dat");
        EXPECT_EQ(cut >= a.recordEnd.back(), ok) << cut;
        for (size_t i = 0; i < 3; ++i) {
            size_t dataEnd = a.dataOffset[i] + (i == 0 ? 5 : i == 1 ? 3 : 6);
            bool expected = cut >= a.recordEnd[i] && cut >= dataEnd;
            EXPECT_EQ(expected, findArchiveEntry(names[i]) != nullptr) << cut << " " << i;
        }
    }
}

TEST_F(ArchiveIndex, RandomAndMutatedArchivesNeverIndexOutsideTheFile) {
    std::mt19937 rng(20240611);
    TestArchive base = buildTestArchive(3, threeLongNames());
    for (int round = 0; round < 3000; ++round) {
        std::vector<uint8_t> bytes;
        if (round % 4 == 0) {
            bytes.resize(rng() % 200);
            for (uint8_t& b : bytes) b = uint8_t(rng());
            if (bytes.size() >= 12 && (round & 8)) {
                std::memcpy(bytes.data(), "MORVPACK", 8);
                testSet32(bytes, 8, 203);
            }
        } else {
            bytes = base.bytes;
            int flips = 1 + int(rng() % 8);
            for (int f = 0; f < flips; ++f) bytes[rng() % bytes.size()] = uint8_t(rng());
            if (round % 3 == 0) bytes.resize(rng() % bytes.size());
        }
        gArchiveIndex.clear();
        indexBytes(bytes, "r.dat");
        for (const auto& kv : gArchiveIndex) {
            ASSERT_LE(uint64_t(kv.second.offset) + kv.second.size, bytes.size());
            ASSERT_FALSE(kv.first.empty());
        }
    }
}

TEST_F(ArchiveIndex, MergeKeepsAStrictlyHigherPriority) {
    cPathNode high, low;
    high.archive = "h.dat";
    high.priority = 9;
    low.archive = "l.dat";
    low.priority = 8;
    mergeArchiveEntry("k", high);
    mergeArchiveEntry("K", low);
    EXPECT_STREQ("h.dat", findArchiveEntry("k")->archive.c_str());
    low.priority = 9;
    mergeArchiveEntry("K", low);
    EXPECT_STREQ("l.dat", findArchiveEntry("k")->archive.c_str());
    mergeArchiveEntry("", high);
    EXPECT_EQ(1u, gArchiveIndex.size());
}

TEST(DataFolder, StartsRelativeAndRefusesWhatDoesNotFit) {
    char saved[kPathMax];
    std::memcpy(saved, gDataFolder, sizeof saved);
    EXPECT_STREQ(".\\data\\", saved);
    EXPECT_TRUE(setDataFolder("C:\\game\\data\\"));
    EXPECT_STREQ("C:\\game\\data\\", gDataFolder);
    std::string tooLong(kPathMax, 'x');
    EXPECT_FALSE(setDataFolder(tooLong.c_str()));
    EXPECT_STREQ("C:\\game\\data\\", gDataFolder);
    std::memcpy(gDataFolder, saved, sizeof saved);
}
