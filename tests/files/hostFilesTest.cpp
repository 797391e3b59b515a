// The loaders over the host's files, natively: an archive, a loose data file, a PNG, the
// configuration, the settings file and the global variable files, read from and written to a
// temporary folder through the POSIX side of the file interface; and the one replacing write.
#include <dirent.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "../graphics/png/pngBuilder.h"
#include "archiveBytes.h"
#include "base/moduleState.h"
#include "base/settings.h"
#include "config/registry.h"
#include "config/settingsFile.h"
#include "files/apiFile.h"
#include "files/archiveIndex.h"
#include "files/dataFile.h"
#include "files/keystream.h"
#include "files/saveFile.h"
#include "files/textBuf.h"
#include "graphics/image.h"
#include "scenario/variableStore.h"
#include "scenario/variables.h"
#include "testing.h"

namespace {

std::vector<uint8_t> fileBytes(const std::string& path) {
    std::vector<uint8_t> bytes;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        for (int c; (c = std::fgetc(f)) != EOF;) bytes.push_back(static_cast<uint8_t>(c));
        std::fclose(f);
    }
    return bytes;
}

class HostFiles : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/morvane-host-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(pattern));
        root = pattern;
        data = root + "/data/";
        save = root + "/save/";
        mkdir(data.c_str(), 0777);
        resetEngineState();
        ASSERT_TRUE(setDataFolder(data.c_str()));
        ASSERT_TRUE(setSaveFolder(save.c_str()));
    }
    void TearDown() override {
        resetEngineState();
        std::string command = "rm -rf '" + root + "'";
        ASSERT_EQ(0, std::system(command.c_str()));
    }
    void write(const std::string& path, const std::vector<uint8_t>& bytes) {
        std::string folder = path.substr(0, path.rfind('/'));
        std::string command = "mkdir -p '" + folder + "'";
        ASSERT_EQ(0, std::system(command.c_str()));
        FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_NE(nullptr, f);
        if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    void write(const std::string& path, const std::string& text) {
        write(path, std::vector<uint8_t>(text.begin(), text.end()));
    }
    std::vector<uint8_t> read(const std::string& path) { return fileBytes(path); }
    std::vector<std::string> files(const std::string& folder) {
        std::vector<std::string> names;
        if (DIR* dir = opendir(folder.c_str())) {
            while (dirent* e = readdir(dir))
                if (e->d_name[0] != '.') names.push_back(e->d_name);
            closedir(dir);
        }
        return names;
    }
    // A save-folder file as the program sees it: descrambled by the save keystream.
    std::vector<uint8_t> descrambled(const std::string& name) {
        std::vector<uint8_t> bytes = read(save + name);
        std::vector<uint8_t> stream = oracleStream(kSaveSeed, bytes.size());
        for (size_t i = 0; i < bytes.size(); ++i) bytes[i] ^= stream[i];
        return bytes;
    }

    std::string root, data, save;
};

TEST_F(HostFiles, ArchivesAndLooseFiles) {
    const std::vector<uint8_t> entry = testData(3000, 1);
    write(data + "system.dat", buildTestArchive(1, {{7, "script\\start.txt", entry}}).bytes);
    write(data + "more.dat", buildTestArchive(2, {{0, "img\\a.png", testData(10, 2)}}).bytes);
    write(data + "notes.txt", std::string("not an archive"));
    mkdir((data + "folder.dat").c_str(), 0777);  // a folder named like an archive is skipped
    write(data + "script/loose.txt", std::string("A\r\nB\r\n"));

    ASSERT_TRUE(scanDataArchives());
    EXPECT_EQ(2u, gArchiveIndex.size());

    cFile file;
    ASSERT_TRUE(file.Open("script", "START.TXT"));  // archive names match in any case
    std::vector<uint8_t> got(entry.size());
    ASSERT_TRUE(file.Read(got.data(), got.size()));
    EXPECT_EQ(entry, got);
    EXPECT_FALSE(file.Read(got.data(), 1));  // nothing past the entry's end

    cTextBuf text;
    ASSERT_TRUE(text.Load("script", "loose.txt"));
    vstring line;
    ASSERT_TRUE(text.GetLine(1, line));
    EXPECT_STREQ("B", line.c_str());
    EXPECT_FALSE(text.Load("script", "missing.txt"));
}

TEST_F(HostFiles, PngFromTheDataFolder) {
    const Bytes raw = {0, 10, 20, 30, 40, 50, 60};  // one row of two RGB pixels, filter 0
    PngParts parts;
    parts.header = ihdr(2, 1, 2);
    parts.stream = zlibCompress(raw);
    Bytes png = buildPng(parts);
    write(data + "img/two.png", std::vector<uint8_t>(png.begin(), png.end()));
    write(data + "img/broken.png", std::vector<uint8_t>(png.begin(), png.begin() + 20));  // inside IHDR

    cSprite sprite;
    ASSERT_TRUE(sprite.LoadPng("two.png"));
    ASSERT_EQ(2, sprite.width);
    ASSERT_EQ(1, sprite.height);
    ASSERT_EQ(3, sprite.bytesPerPixel);
    const uint8_t expected[6] = {30, 20, 10, 60, 50, 40};  // stored blue, green, red
    EXPECT_EQ(0, std::memcmp(expected, sprite.pixels, 6));

    cSprite broken;
    EXPECT_FALSE(broken.LoadPng("broken.png"));
    EXPECT_FALSE(broken.LoadPng("absent.png"));
}

// A sprite keeps the picture it holds when asked for the same name in other letter case, but two
// names whose double-byte characters differ only in a second byte that is a letter are two files.
TEST_F(HostFiles, ASpriteHoldingAPictureLoadsTheOneOfAnotherDoubleByteName) {
#ifdef MORVANE_EARLIER
    const std::string upper = "\x83\x41.png", lower = "\x83\x61.png";  // ア, ヂ in Shift-JIS
#else
    const std::string upper = "\xB0\x41.png", lower = "\xB0\x61.png";  // 癆, 癮 in GBK
#endif
    for (int width : {2, 1}) {
        PngParts parts;
        parts.header = ihdr(width, 1, 2);
        parts.stream = zlibCompress(Bytes(1 + 3 * width, 0));
        const Bytes png = buildPng(parts);
        write(data + "img/" + (width == 2 ? upper : lower), std::vector<uint8_t>(png.begin(), png.end()));
    }
    cSprite sprite;
    ASSERT_TRUE(sprite.LoadPng(upper.c_str()));
    EXPECT_EQ(2, sprite.width);
    ASSERT_TRUE(sprite.LoadPng(lower.c_str()));
    EXPECT_EQ(1, sprite.width);
    // The same name in other letter case is not read again (ONE.PNG is two pixels wide).
    write(data + "img/one.png", read(data + "img/" + lower));
    write(data + "img/ONE.PNG", read(data + "img/" + upper));
    ASSERT_TRUE(sprite.LoadPng("one.png"));
    ASSERT_TRUE(sprite.LoadPng("ONE.PNG"));
    EXPECT_EQ(1, sprite.width);
}

TEST_F(HostFiles, ConfigurationFiles) {
    write(data + "config/config.txt", std::string("system.txt\r\nmissing.txt\r\n"));
    write(data + "config/system.txt",
          std::string("[System.Info]\r\nTitle = Quellwood\r\n;Vendor = no\r\n[System.Setting]\r\n"
                      "ScreenWidth = 800\r\n"));
    ASSERT_TRUE(mSystemParam::loadConfig());
    mSystemParam::cSection info;
    ASSERT_TRUE(mSystemParam::getSection(info, "system", "INFO"));
    EXPECT_STREQ("Quellwood", info.GetString("Title", ""));
    EXPECT_STREQ("def", info.GetString("Vendor", "def"));
    mSystemParam::cSection setting;
    ASSERT_TRUE(mSystemParam::getSection(setting, "System", "Setting"));
    EXPECT_EQ(800, setting.GetInt("ScreenWidth", 0));
}

TEST_F(HostFiles, SettingsFileWrittenAndRead) {
    setDefaultSettings();
    UserSettings.autoSpeed = 9;
    UserSettings.reserved[0] = 0xA5;
    ASSERT_TRUE(saveSettings());  // the save folder is created
    EXPECT_EQ(std::vector<std::string>{"morvane.cfg"}, files(save));
    std::vector<uint8_t> stored = descrambled("morvane.cfg");
    ASSERT_EQ(sizeof UserSettings, stored.size());
    EXPECT_EQ(0, std::memcmp(&UserSettings, stored.data(), stored.size()));

    setDefaultSettings();
    ASSERT_TRUE(loadSettings());
    EXPECT_EQ(9u, UserSettings.autoSpeed);
    EXPECT_EQ(0xA5, UserSettings.reserved[0]);

    // A short file keeps the defaults.
    write(save + "morvane.cfg", std::vector<uint8_t>(100, 0));
    EXPECT_FALSE(loadSettings());
    EXPECT_EQ(5u, UserSettings.autoSpeed);
}

TEST_F(HostFiles, ReplacingWriteKeepsTheOldFileOnFailure) {
    const std::vector<uint8_t> first = {1, 2, 3};
    ASSERT_TRUE(replaceSaveFile("slot", [&first](cSaveFile& f) {
        return f.Write(first.data(), first.size());
    }));
    const std::vector<uint8_t> before = read(save + "slot");
    // The writer fails halfway: the old file stays byte for byte and no temporary file is left.
    EXPECT_FALSE(replaceSaveFile("slot", [](cSaveFile& f) {
        const uint8_t half[2] = {9, 9};
        f.Write(half, sizeof half);
        return false;
    }));
    EXPECT_EQ(before, read(save + "slot"));
    EXPECT_EQ(std::vector<std::string>{"slot"}, files(save));
    // A stale temporary file from an interrupted run is simply written over.
    write(save + "slot.new", std::string("stale"));
    const std::vector<uint8_t> second = {4, 5, 6, 7};
    ASSERT_TRUE(replaceSaveFile("slot", [&second](cSaveFile& f) {
        return f.Write(second.data(), second.size());
    }));
    EXPECT_EQ(second, descrambled("slot"));
    EXPECT_EQ(std::vector<std::string>{"slot"}, files(save));
}

// The replacing write's flush through the seam: the size of the file it was given, the slot
// when it was called, and the result of the system's own flush on that descriptor.
struct FlushRecord {
    std::string slot;
    int calls = 0;
    bool fail = false;
    long long sizeOfFlushed = -1;
    std::vector<uint8_t> slotAtFlush;
    bool flushed = false;
};
FlushRecord* gFlushRecord = nullptr;

bool recordFlush(intptr_t fd) {
    FlushRecord& r = *gFlushRecord;
    ++r.calls;
    if (r.fail) return false;
    struct stat s;
    if (fstat(static_cast<int>(fd), &s) == 0) r.sizeOfFlushed = s.st_size;
    r.slotAtFlush = fileBytes(r.slot);
    r.flushed = fsync(static_cast<int>(fd)) == 0;
    return r.flushed;
}

TEST_F(HostFiles, ReplacingWriteFlushesTheDataBeforeTheRename) {
    const auto writer = [](size_t n, uint8_t value) {
        return [n, value](cSaveFile& f) {
            const std::vector<uint8_t> data(n, value);
            return f.Write(data.data(), data.size());
        };
    };
    ASSERT_TRUE(replaceSaveFile("slot", writer(3000, 0x11)));
    const std::vector<uint8_t> old = read(save + "slot");
    FlushRecord record;
    record.slot = save + "slot";
    gFlushRecord = &record;
    setFileFlush(recordFlush);
    EXPECT_TRUE(replaceSaveFile("slot", writer(5000, 0x22)));
    EXPECT_EQ(1, record.calls);
    EXPECT_EQ(5000, record.sizeOfFlushed);
    EXPECT_EQ(old, record.slotAtFlush);
    EXPECT_TRUE(record.flushed);
    const std::vector<uint8_t> replaced = read(save + "slot");
    EXPECT_EQ(5000u, replaced.size());
    // A failed flush is a failed save: the slot stays as it was and the temporary file goes.
    record.calls = 0;
    record.fail = true;
    EXPECT_FALSE(replaceSaveFile("slot", writer(7000, 0x33)));
    setFileFlush(nullptr);
    gFlushRecord = nullptr;
    EXPECT_EQ(1, record.calls);
    EXPECT_EQ(replaced, read(save + "slot"));
    EXPECT_EQ(std::vector<std::string>{"slot"}, files(save));
}

TEST_F(HostFiles, AProgramKilledInTheMiddleOfAWriteKeepsTheOldFile) {
    // A slot-sized file, then a child process that replaces it under a file-size limit: the
    // system kills it in the middle of the temporary file, as a crash or a full disk would.
    std::vector<uint8_t> old(40000);
    for (size_t i = 0; i < old.size(); ++i) old[i] = static_cast<uint8_t>(i * 7);
    ASSERT_TRUE(replaceSaveFile("savedata.000", [&old](cSaveFile& f) {
        return f.Write(old.data(), old.size());
    }));
    const std::vector<uint8_t> before = read(save + "savedata.000");
    const pid_t child = fork();
    ASSERT_NE(-1, child);
    if (child == 0) {
        const rlimit limit = {30000, 30000};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::vector<uint8_t> fresh(60000, 0x33);
        replaceSaveFile("savedata.000", [&fresh](cSaveFile& f) {
            return f.Write(fresh.data(), fresh.size());
        });
        _exit(0);  // only when the limit did not stop it
    }
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(SIGXFSZ, WTERMSIG(status));
    EXPECT_EQ(before, read(save + "savedata.000"));
    EXPECT_EQ(old, descrambled("savedata.000"));
    // The next save writes over the stale temporary file.
    const std::vector<uint8_t> next(50000, 0x44);
    ASSERT_TRUE(replaceSaveFile("savedata.000", [&next](cSaveFile& f) {
        return f.Write(next.data(), next.size());
    }));
    EXPECT_EQ(next, descrambled("savedata.000"));
    EXPECT_EQ(std::vector<std::string>{"savedata.000"}, files(save));
}

TEST_F(HostFiles, GlobalVariableFiles) {
    write(data + "config/config.txt", std::string("flags.txt\r\n"));
    write(data + "config/flags.txt", std::string("[Define.Flag]\r\nG005 = g\r\n"));
    ASSERT_TRUE(mSystemParam::loadConfig());
    ASSERT_TRUE(initFlags("flags.txt"));
    setVariable("g", 0x01020304);
    std::vector<uint8_t> stored = descrambled("flagdata.000");
    ASSERT_EQ(4000u, stored.size());
    EXPECT_EQ((std::vector<uint8_t>{4, 3, 2, 1}),
              std::vector<uint8_t>(stored.begin() + 20, stored.begin() + 24));

    resetVariableStore();
    ASSERT_TRUE(initFlags("flags.txt"));
    EXPECT_EQ(0x01020304, getVariable("g"));
}

}  // namespace
