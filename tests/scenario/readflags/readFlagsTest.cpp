// Read-text tracking: ranges, merging, the table by script, and the log's text and file.
#include <cstdio>
#include <cstring>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "../../files/keystreamOracle.h"
#include "base/moduleState.h"
#include "files/apiFile.h"
#include "files/keystream.h"
#include "files/saveFile.h"
#include "scenario/readflags/readFlags.h"
#include "testing.h"

namespace {
using namespace mReadFlags;
using Ranges = std::vector<cSeqNode>;

Ranges current() { return Ranges(currentSet().rbegin(), currentSet().rend()); }

// Shows the text blocks ended by these lines, then flushes.
void shown(std::initializer_list<int32_t> lines) {
    for (int32_t n : lines) checkLine(n);
    flushPending();
}

class ReadFlags : public ::testing::Test {
protected:
    void SetUp() override { resetEngineState(); }
    void TearDown() override { resetEngineState(); }
};

TEST_F(ReadFlags, ReadWhenARangeHoldsTheLine) {
    beginScript("a.txt");
    shown({8, 12});
    EXPECT_EQ((Ranges{{8, 12}}), current());
    EXPECT_TRUE(checkLine(10));
    EXPECT_TRUE(checkLine(8));
    EXPECT_TRUE(checkLine(12));
    EXPECT_FALSE(checkLine(13));
    EXPECT_FALSE(checkLine(7));

    beginScript("b.txt");
    shown({11, 20});
    shown({1, 9});
    EXPECT_EQ((Ranges{{1, 9}, {11, 20}}), current());
    EXPECT_FALSE(checkLine(10));
    // The pending range is not consulted before its flush.
    EXPECT_FALSE(checkLine(30));
    EXPECT_FALSE(checkLine(30));
}

TEST_F(ReadFlags, PendingRangeRunsFromTheFirstShownToTheGreatest) {
    beginScript("a.txt");
    shown({5, 9, 7});
    EXPECT_EQ((Ranges{{5, 9}}), current());
    beginScript("b.txt");
    shown({9, 5});  // a jump back: first stays the first shown
    EXPECT_EQ((Ranges{{9, 9}}), current());
}

TEST_F(ReadFlags, MergeJoinsOverlapsAndSharedLinesOnly) {
    struct Case {
        std::vector<Ranges> passes;
        Ranges merged;
    } cases[] = {
        {{{{1, 3}}, {{3, 5}}}, {{1, 5}}},
        {{{{1, 3}}, {{4, 6}}}, {{1, 3}, {4, 6}}},
        {{{{2, 10}}, {{4, 6}}}, {{2, 10}}},
        {{{{20, 30}}, {{1, 2}}, {{2, 25}}}, {{1, 30}}},
    };
    for (const Case& c : cases) {
        resetEngineState();
        beginScript("m.txt");
        for (const Ranges& pass : c.passes)
            for (const cSeqNode& r : pass) shown({r.first, r.last});
        EXPECT_EQ(c.merged, current());
    }
}

TEST_F(ReadFlags, TableByScriptWithoutRegardToCase) {
    beginScript("Start.txt");
    for (int32_t line = 2; line <= 40; ++line) checkLine(line);
    beginScript("other.txt");
    ASSERT_NE(nullptr, tableEntry("start.TXT"));
    EXPECT_EQ((Ranges{{2, 40}}), *tableEntry("start.txt"));
    EXPECT_TRUE(current().empty());
    beginScript("START.TXT");
    EXPECT_EQ((Ranges{{2, 40}}), current());
    EXPECT_TRUE(checkLine(40));
    // An empty set commits nothing; an empty name none either.
    beginScript("");
    EXPECT_EQ(nullptr, tableEntry("other.txt"));
}

TEST_F(ReadFlags, LogTextOfTheTable) {
    beginScript("s.txt");
    shown({5, 20});
    shown({30, 41});
    commit();
    EXPECT_EQ("\\5 20\r\\30 41\rs.txt\r", logText());
}

// A script whose name the log cannot hold as a name line (one beginning with a backslash reads as
// a range line; leading blanks, tabs and a line feed after the carriage return are dropped on
// reading) is left out of the log: written, its ranges would land in another script's entry.
TEST_F(ReadFlags, NamesTheLogCannotHoldAreLeftOut) {
    for (const char* name : {"\\x.txt", " lead.txt", "\tlead.txt", "\nlf.txt", "a\rb.txt"}) {
        resetEngineState();
        beginScript(name);
        shown({3, 5});
        beginScript("lf.txt");
        shown({10, 12});
        commit();
        const std::string text = logText();
        EXPECT_EQ("\\10 12\rlf.txt\r", text) << "name " << name;
        resetEngineState();
        ASSERT_TRUE(readLogText(text.c_str()));
        EXPECT_EQ((Ranges{{10, 12}}), *tableEntry("lf.txt")) << "name " << name;
    }
}

TEST_F(ReadFlags, LogLinesReadBack) {
    ASSERT_TRUE(readLogText("\\1 4\r\n  \\10 12\rA.TXT\r\r\\7 8\rb.txt\r\\9 9\r"));
    EXPECT_EQ((Ranges{{1, 4}, {10, 12}}), *tableEntry("a.txt"));
    EXPECT_EQ((Ranges{{7, 8}}), *tableEntry("b.txt"));
    EXPECT_EQ(nullptr, tableEntry("\\9 9"));  // ranges after the last name are dropped

    // Hostile lines: a name with nothing collected, ranges below line 1, numbers beyond 32 bits,
    // words missing, a later entry of the same name replacing the first.
    resetEngineState();
    ASSERT_TRUE(readLogText("lonely\r\\0 5\r\\-3 9\r\\99999999999 4\r\\6\r\\x y\r\\2 99999999999\r"
                            "c.txt\r\\3 3\rC.txt\r"));
    EXPECT_EQ(nullptr, tableEntry("lonely"));
    EXPECT_EQ((Ranges{{3, 3}}), *tableEntry("c.txt"));
    resetEngineState();
    ASSERT_TRUE(readLogText("\\0 5\r\\-3 9\r\\99999999999 4\r\\6\r\\x y\r\\2 99999999999\rd\r"));
    EXPECT_EQ((Ranges{{6, 0}, {2, 0}}), *tableEntry("d"));

    // A loaded list counts at once, before any merge.
    resetEngineState();
    ASSERT_TRUE(readLogText("\\9 12\r\\3 5\re.txt\r"));
    beginScript("e.txt");
    EXPECT_TRUE(checkLine(4));
    EXPECT_TRUE(checkLine(12));
    EXPECT_FALSE(checkLine(7));
}

TEST_F(ReadFlags, RandomPassesAgreeWithTheLinesShown) {
    // Model: a line is read when some flushed pass ran over it.
    std::mt19937 rng(17);
    for (int round = 0; round < 200; ++round) {
        resetEngineState();
        beginScript("r.txt");
        std::set<int32_t> read;
        for (int pass = 0; pass < 8; ++pass) {
            int32_t first = 1 + static_cast<int32_t>(rng() % 60);
            int32_t last = first + static_cast<int32_t>(rng() % 10);
            for (int32_t n = first; n <= last; ++n) {
                EXPECT_EQ(read.count(n) == 1, checkLine(n)) << "round " << round << " line " << n;
            }
            flushPending();
            for (int32_t n = first; n <= last; ++n) read.insert(n);
        }
        if (round % 2) {
            // Through the log and back.
            commit();
            std::string text = logText();
            resetEngineState();
            ASSERT_TRUE(readLogText(text.c_str()));
            beginScript("r.txt");
        }
        for (int32_t n = 0; n < 80; ++n) EXPECT_EQ(read.count(n) == 1, checkLine(n)) << n;
    }
}

TEST_F(ReadFlags, MutatedLogsNeverCrash) {
    const std::string seed = "\\5 20\r\\30 41\rs.txt\r\\1 2\r\nt.txt\r";
    std::mt19937 rng(5);
    for (int i = 0; i < 3000; ++i) {
        std::string text = seed;
        for (int k = rng() % 6; k >= 0; --k) {
            size_t at = rng() % (text.size() + 1);
            switch (rng() % 3) {
            case 0: text.insert(at, 1, static_cast<char>(rng() % 255 + 1)); break;
            case 1: if (at < text.size()) text.erase(at, 1); break;
            default: if (at < text.size()) text[at] = static_cast<char>(rng() % 255 + 1); break;
            }
        }
        resetEngineState();
        ASSERT_TRUE(readLogText(text.c_str()));
        beginScript("s.txt");
        for (int32_t n = -2; n < 50; ++n) checkLine(n);
        commit();
        logText();
    }
}

// The log file in a save folder of the working folder (one per configuration: both test programs
// of the native build may run at once).
#ifdef MORVANE_EARLIER
#define SAVE_FOLDER "readflags-save-earlier\\"
#else
#define SAVE_FOLDER "readflags-save\\"
#endif

class ReadFlagsLog : public ReadFlags {
protected:
    void SetUp() override {
        ReadFlags::SetUp();
        ASSERT_TRUE(setSaveFolder(SAVE_FOLDER));
        deleteFile(SAVE_FOLDER "complete.log");
    }
    std::vector<uint8_t> fileBytes() {
        cAPI_File file;
        std::vector<uint8_t> bytes;
        if (!file.OpenRead(SAVE_FOLDER "complete.log")) return bytes;
        bytes.resize(file.Size());
        if (!bytes.empty() && !file.Read(bytes.data(), bytes.size())) bytes.clear();
        std::vector<uint8_t> stream = oracleStream(kSaveSeed, bytes.size());
        for (size_t i = 0; i < bytes.size(); ++i) bytes[i] ^= stream[i];
        return bytes;
    }
};

TEST_F(ReadFlagsLog, SavedAndLoaded) {
    EXPECT_FALSE(load());  // no log yet
    ASSERT_TRUE(save());
    EXPECT_EQ(std::vector<uint8_t>{0}, fileBytes());  // an empty table: the single NUL

    beginScript("s.txt");
    shown({5, 20});
    shown({30, 41});
    ASSERT_TRUE(save());
    const std::string expected = "\\5 20\r\\30 41\rs.txt\r";
    std::vector<uint8_t> want(expected.begin(), expected.end());
    want.push_back(0);
    EXPECT_EQ(want, fileBytes());

    resetEngineState();
    ASSERT_TRUE(load());
    EXPECT_EQ((Ranges{{5, 20}, {30, 41}}), *tableEntry("S.TXT"));
}

TEST_F(ReadFlagsLog, AnUnreadableLogIsKept) {
    // A log above the size the program reads is not replaced by this run's ranges.
    {
        cAPI_File file;
        ASSERT_TRUE(file.Create(SAVE_FOLDER "complete.log"));
        std::vector<uint8_t> block(1 << 20, 'x');
        for (int i = 0; i < 65; ++i) ASSERT_TRUE(file.Write(block.data(), block.size()));
    }
    EXPECT_FALSE(load());
    beginScript("s.txt");
    shown({1, 2});
    EXPECT_FALSE(save());
    cAPI_File file;
    ASSERT_TRUE(file.OpenRead(SAVE_FOLDER "complete.log"));
    EXPECT_EQ(65u << 20, file.Size64());
    file.Close();
    deleteFile(SAVE_FOLDER "complete.log");
}

}  // namespace
