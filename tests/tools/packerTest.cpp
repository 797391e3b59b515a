#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "../files/archiveBytes.h"
#include "../files/keystreamOracle.h"
#include "hostFiles.h"
#include "packer.h"
#include "scratch.h"
#include "testing.h"

namespace {
using scratch::Bytes;
using scratch::readFile;
using scratch::tree;
using scratch::writeFile;
using Scratch = scratch::Folder;
const auto exists = scratch::exists;

uint32_t le32(const Bytes& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
           uint32_t(b[at + 3]) << 24;
}

int run(std::vector<std::string> args, std::string& out, std::string& err) {
    args.insert(args.begin(), "packer");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    out.clear();
    err.clear();
    return packer::runPacker(int(argv.size()), argv.data(), out, err);
}

struct Sample {
    Scratch s;
    std::string folder = s / "in";
    Sample() {
        writeFile(folder + "/script/start.txt", Bytes{'h', 'i', '\r', '\n'});
        writeFile(folder + "/img/A.png", testData(1500, 1));
        writeFile(folder + "/top.txt", Bytes{'t'});
        writeFile(folder + "/a/b/c.txt", testData(700, 2));
        writeFile(folder + "/empty.bin", Bytes());
    }
};
}  // namespace

TEST(Packer, ArchiveBytesFollowTheLayout) {
    Sample in;
    std::string archive = in.s / "game.dat";
    std::string error;
    std::vector<std::string> names;
    ASSERT_TRUE(packer::packFolder(in.folder, archive, {3, 7}, error, &names))
        << error;
    const std::vector<std::string> expected = {"a\\b\\c.txt", "empty.bin", "img\\A.png",
                                               "script\\start.txt", "top.txt"};
    EXPECT_EQ(expected, names);

    // Read back by hand with the oracle stream, not with the engine's reader.
    Bytes b = readFile(archive);
    ASSERT_GE(b.size(), 20u);
    EXPECT_EQ(0, std::memcmp(b.data(), "MORVPACK", 8));
    EXPECT_EQ(203u, le32(b, 8));
    EXPECT_EQ(3u, le32(b, 12));
    ASSERT_EQ(5u, le32(b, 16));
    size_t nameBytes = 0;
    for (const std::string& n : expected) nameBytes += n.size();
    Bytes nameStream = oracleStream(0x58E7, nameBytes);
    size_t at = 20, nameAt = 0;
    size_t dataAt = 20 + 10 * expected.size() + nameBytes;
    std::map<std::string, Bytes> original = tree(in.folder);
    for (const std::string& n : expected) {
        EXPECT_EQ(7, b[at]);
        ASSERT_EQ(n.size(), b[at + 1]);
        std::string name;
        for (size_t i = 0; i < n.size(); ++i) name += char(b[at + 2 + i] ^ nameStream[nameAt++]);
        EXPECT_EQ(n, name);
        at += 2 + n.size();
        uint32_t offset = le32(b, at), size = le32(b, at + 4);
        at += 8;
        EXPECT_EQ(dataAt, offset);
        std::string path = n;
        for (char& c : path)
            if (c == '\\') c = '/';
        const Bytes& plain = original[path];
        ASSERT_EQ(plain.size(), size);
        Bytes stream = oracleStream(0x58E7 + 7, size);
        for (size_t i = 0; i < size; ++i) ASSERT_EQ(plain[i], b[offset + i] ^ stream[i]) << n;
        dataAt += size;
    }
    EXPECT_EQ(dataAt, b.size());
    EXPECT_FALSE(exists(in.s / "game.dat.partial"));
}

TEST(Packer, KeyZeroStoresPlainAndRoundTripsWithEveryKey) {
    for (uint8_t key : {uint8_t(0), uint8_t(1), uint8_t(255)}) {
        Sample in;
        std::string archive = in.s / "k.dat";
        std::string error;
        ASSERT_TRUE(packer::packFolder(in.folder, archive, {0, key}, error));
        ArchiveHeader header;
        std::vector<packer::ListedEntry> entries;
        ASSERT_TRUE(packer::listArchive(archive, header, entries, error)) << error;
        ASSERT_EQ(5u, entries.size());
        Bytes b = readFile(archive);
        const packer::ListedEntry& png = entries[2];
        EXPECT_EQ("img\\A.png", png.name);
        EXPECT_EQ(key, png.key);
        Bytes stored(b.begin() + png.offset, b.begin() + png.offset + png.size);
        EXPECT_EQ(key == 0, stored == testData(1500, 1));

        ASSERT_TRUE(packer::extractArchive(archive, (in.s / "out"), error))
            << error;
        EXPECT_EQ(tree(in.folder), tree(in.s / "out"));
    }
}

TEST(Packer, ReadsArchivesItDidNotWrite) {
    Scratch s;
    TestArchive a = buildTestArchive(9, {{0, "x\\one", testData(10, 1)},
                                         {2, "x\\y\\two", testData(630, 2)}});
    writeFile(s / "t.dat", a.bytes);
    std::string error;
    ASSERT_TRUE(packer::extractArchive((s / "t.dat"), (s / "out"), error));
    EXPECT_EQ(testData(10, 1), readFile(s / "out/x/one"));
    EXPECT_EQ(testData(630, 2), readFile(s / "out/x/y/two"));
}

TEST(Packer, RefusesWhatTheEngineCouldNotRead) {
    struct Case {
        std::string file;  // relative to the folder
        const char* why;
    } cases[] = {
        {std::string(200, 'd') + "/" + std::string(60, 'f'), "255"},
        {"script/a:b.txt", "\":\""},
        {"x/back\\slash", "backslash"},
    };
    // Windows holds no ":" in a name and reads "\\" as a separator: those names exist elsewhere.
    const bool windowsNames = std::strchr(packer::kPathSeparators, '\\') != nullptr;
    for (const Case& c : cases) {
        if (windowsNames && c.file.find_first_of(":\\") != std::string::npos) continue;
        Scratch s;
        writeFile(s / "in/ok.txt", Bytes{1});
        writeFile(s / ("in/" + c.file), Bytes{2});
        std::string error;
        EXPECT_FALSE(packer::packFolder((s / "in"), (s / "o.dat"), {}, error));
        EXPECT_NE(std::string::npos, error.find(c.why)) << error;
        EXPECT_FALSE(exists(s / "o.dat"));
    }
    Scratch s;
    std::string error;
    if (!windowsNames) {  // and one name in two letter cases is one file there
        writeFile(s / "in/x/Same.txt", Bytes{1});
        writeFile(s / "in/x/same.TXT", Bytes{2});
        EXPECT_FALSE(packer::packFolder((s / "in"), (s / "o.dat"), {}, error));
        EXPECT_NE(std::string::npos, error.find("letter case")) << error;
    }
    EXPECT_FALSE(packer::packFolder((s / "missing"), (s / "o.dat"), {}, error));
    EXPECT_NE(std::string::npos, error.find("not a folder")) << error;
}

TEST(Packer, AnArchiveInsideTheFolderIsNotPackedIntoItself) {
    Sample in;
    std::string archive = in.folder + "/data.dat";
    std::string error;
    std::vector<std::string> names;
    ASSERT_TRUE(packer::packFolder(in.folder, archive, {}, error, &names));
    ASSERT_TRUE(packer::packFolder(in.folder, archive, {}, error, &names));
    EXPECT_EQ(5u, names.size());
}

TEST(Packer, ExtractRefusesNamesThatLeaveTheFolder) {
    for (const char* bad : {"..\\evil", "a\\..\\..\\evil", "\\abs", "a\\\\b", "C:evil", "a/b",
                            ".", "a\\"}) {
        Scratch s;
        TestArchive a = buildTestArchive(0, {{0, "fine", testData(3, 1)}, {0, bad, testData(3, 2)}});
        writeFile(s / "bad.dat", a.bytes);
        scratch::makeFolders(s / "deep/out");
        std::string error;
        EXPECT_FALSE(packer::extractArchive((s / "bad.dat"), (s / "deep/out"),
                                            error))
            << bad;
        EXPECT_NE(std::string::npos, error.find("leave the folder")) << error;
        EXPECT_FALSE(exists(s / "deep/evil"));
        EXPECT_FALSE(exists(s / "evil"));
    }
}

TEST(Packer, DamagedArchivesAreReportedAndTheWholeEntriesExtracted) {
    Scratch s;
    TestArchive a = buildTestArchive(0, {{1, "one", testData(5, 1)}, {1, "two", testData(5, 2)}});
    Bytes cut(a.bytes.begin(), a.bytes.end() - 1);  // the second entry's data is one byte short
    writeFile(s / "cut.dat", cut);
    std::string error;
    EXPECT_FALSE(packer::extractArchive((s / "cut.dat"), (s / "out"), error));
    EXPECT_NE(std::string::npos, error.find("outside")) << error;
    EXPECT_EQ(testData(5, 1), readFile(s / "out/one"));
    EXPECT_FALSE(exists(s / "out/two"));

    Bytes dir(a.bytes.begin(), a.bytes.begin() + a.recordEnd[0] + 3);
    writeFile(s / "dir.dat", dir);
    ArchiveHeader header;
    std::vector<packer::ListedEntry> entries;
    EXPECT_FALSE(packer::listArchive((s / "dir.dat"), header, entries, error));
    EXPECT_NE(std::string::npos, error.find("damaged")) << error;

    writeFile(s / "old.dat", buildTestArchive(0, {}, 202).bytes);
    EXPECT_FALSE(packer::listArchive((s / "old.dat"), header, entries, error));
    EXPECT_NE(std::string::npos, error.find("version 202")) << error;
    writeFile(s / "junk.dat", Bytes(40, 'j'));
    EXPECT_FALSE(packer::extractArchive((s / "junk.dat"), (s / "o2"), error));
    EXPECT_NE(std::string::npos, error.find("not a data archive")) << error;
    EXPECT_FALSE(exists(s / "o2"));
}

TEST(PackerCommandLine, UsageAndErrors) {
    std::string out, err;
    EXPECT_EQ(0, run({"--help"}, out, err));
    EXPECT_NE(std::string::npos, out.find("Usage:"));
    EXPECT_TRUE(err.empty());
    struct Case {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{}, "no command"},
        {{"frobnicate"}, "unknown command"},
        {{"pack", "only-one"}, "FOLDER and ARCHIVE"},
        {{"pack", "--key", "256", "a", "b"}, "--key takes 0 to 255"},
        {{"pack", "--key", "x", "a", "b"}, "--key takes"},
        {{"pack", "--priority", "-1", "a", "b"}, "--priority takes"},
        {{"pack", "--priority", "4294967296", "a", "b"}, "--priority takes"},
        {{"pack", "a", "b", "--key"}, "needs a value"},
        {{"pack", "--level", "3", "a", "b"}, "unknown option"},
        {{"list"}, "list takes"},
        {{"extract", "a"}, "extract takes"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(2, run(c.args, out, err)) << c.message;
        EXPECT_NE(std::string::npos, err.find(c.message)) << err;
    }
}

TEST(PackerCommandLine, PackListExtract) {
    Sample in;
    std::string out, err;
    std::string archive = (in.s / "c.dat");
    ASSERT_EQ(0, run({"pack", "--priority", "12", "--key", "0x2A", in.folder, archive},
                     out, err))
        << err;
    EXPECT_NE(std::string::npos, out.find("packed 5 entries"));
    ASSERT_EQ(0, run({"list", archive}, out, err)) << err;
    EXPECT_NE(std::string::npos, out.find("priority 12, 5 entries\n"));
    EXPECT_NE(std::string::npos, out.find("key  42  size       1500  offset "));
    EXPECT_NE(std::string::npos, out.find("img\\A.png\n"));
    ASSERT_EQ(0, run({"extract", archive, (in.s / "x")}, out, err)) << err;
    EXPECT_EQ(tree(in.folder), tree(in.s / "x"));
    EXPECT_EQ(1, run({"list", (in.s / "none.dat")}, out, err));
    EXPECT_NE(std::string::npos, err.find("cannot read"));
    EXPECT_EQ(1, run({"pack", (in.s / "none"), archive}, out, err));
    EXPECT_NE(std::string::npos, err.find("not a folder"));
}

TEST(Packer, ProgressCountsEveryEntryAndItsBytes) {
    Sample in;
    std::vector<packer::PackProgress> seen;
    std::string error;
    ASSERT_TRUE(packer::packFolder(in.folder, in.s / "p.dat", packer::PackOptions(), error, nullptr,
                                   [&](const packer::PackProgress& p) { seen.push_back(p); }))
        << error;
    ASSERT_EQ(5u, seen.size());
    for (size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(i + 1, seen[i].files);
        EXPECT_EQ(5u, seen[i].totalFiles);
        EXPECT_EQ(2205u, seen[i].totalBytes);  // 4 + 1500 + 1 + 700 + 0
        if (i) {
            EXPECT_GE(seen[i].bytes, seen[i - 1].bytes);
        }
    }
    EXPECT_EQ(2205u, seen.back().bytes);
}

TEST(PackerCommandLine, ShowsProgressOnLargeFoldersOnly) {
    EXPECT_FALSE(packer::isLargeFolder(199, (uint64_t(32) << 20) - 1));
    EXPECT_TRUE(packer::isLargeFolder(200, 0));
    EXPECT_TRUE(packer::isLargeFolder(1, uint64_t(32) << 20));

    Sample small;
    std::vector<std::string> lines;
    auto sink = [&](const std::string& line) { lines.push_back(line); };
    std::string out, err;
    std::vector<std::string> args = {"packer", "pack", small.folder, small.s / "s.dat"};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    ASSERT_EQ(0, packer::runPacker(int(argv.size()), argv.data(), out, err, sink)) << err;
    EXPECT_TRUE(lines.empty());

    Scratch s;
    const std::string big = s / "big";
    for (int i = 0; i < 250; ++i)
        writeFile(big + "/f" + std::to_string(1000 + i) + ".bin", testData(100, uint8_t(i)));
    args = {"packer", "pack", big, s / "b.dat"};
    argv.clear();
    for (std::string& a : args) argv.push_back(a.data());
    ASSERT_EQ(0, packer::runPacker(int(argv.size()), argv.data(), out, err, sink)) << err;
    // One line for each tenth, the last one for the whole folder; nothing goes to out or err.
    ASSERT_EQ(10u, lines.size());
    EXPECT_EQ("packing: 10% (25 of 250 files, 0.0 of 0.0 MiB)", lines.front());
    EXPECT_EQ("packing: 100% (250 of 250 files, 0.0 of 0.0 MiB)", lines.back());
    EXPECT_NE(std::string::npos, out.find("packed 250 entries"));
    EXPECT_TRUE(err.empty());
}
