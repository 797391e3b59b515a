#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "../files/keystreamOracle.h"
#include "../files/winTempFolder.h"
#include "base/settings.h"
#include "config/settingsFile.h"
#include "files/saveFile.h"
#include "testing.h"

namespace {
using Bytes = std::vector<unsigned char>;

Bytes blockBytes(const UserSettingsBlock& b) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(&b);
    return Bytes(p, p + sizeof b);
}

UserSettingsBlock defaults() {
    setDefaultSettings();
    return UserSettings;
}

// Plain bytes through the save keystream, as a settings file holds them.
Bytes scrambled(const Bytes& plain) {
    Bytes stream = oracleStream(0xF2C9, plain.size());
    Bytes out(plain.size());
    for (size_t i = 0; i < plain.size(); ++i) out[i] = plain[i] ^ stream[i];
    return out;
}

// A block in which every byte differs from the defaults and from zero, every ranged field
// holding a value inside its range.
UserSettingsBlock everyByteSet() {
    UserSettingsBlock b;
    unsigned char* p = reinterpret_cast<unsigned char*>(&b);
    for (size_t i = 0; i < sizeof b; ++i) p[i] = static_cast<unsigned char>(0x80 + i * 7);
    b.unreadTextSpeed = 0x04;
    b.readTextSpeed = 0x03;
    b.autoSpeed = 0x0A;
    b.font = 2;
    b.textShadow = 0;
    for (int c = 0; c < 4; ++c) {
        b.soundEnabled[c] = c & 1;
        b.soundVolume[c] = 97 + c;
    }
    b.maleVoices = 0;
    b.femaleVoices = 0;
    b.stopVoiceOnPage = 0;
    b.fullScreen = 1;
    b.screenEffects = 0;
    b.speakerColours = 1;
    b.hideIdleCursor = 1;
    b.captionChapter = 1;
    b.captionPlayTime = 1;
    b.skipAll = 1;
    b.endSkipAfterChoice = 0;
    b.bossKeyMode = kBossKeyQuickSaveExit;
    b.rightButtonAction = 23;
    b.middleButtonAction = 12;
    b.wheelUpAction = 16;
    b.wheelDownAction = 21;
    b.spaceAction = 14;
    for (int i = 0; i < 12; ++i) b.functionKeyActions[i] = static_cast<uint8_t>(12 + i);
    for (int i = 0; i < 8; ++i) b.joystickActions[i] = static_cast<uint8_t>(20 + i);
    return b;
}

struct SettingsFile : ::testing::Test {
    TempFolder temp;
    std::string folder = temp / "save\\";
    std::string path = folder + "morvane.cfg";
    void SetUp() override { ASSERT_TRUE(setSaveFolder(folder.c_str())); }
};

TEST_F(SettingsFile, SavedFileIsTheBlockThroughTheSaveKeystream) {
    UserSettings = everyByteSet();
    ASSERT_TRUE(saveSettings());  // also creates the missing save folder
    Bytes disk = TempFolder::readFile(path);
    ASSERT_EQ(disk.size(), 336u);
    EXPECT_EQ(disk, scrambled(blockBytes(everyByteSet())));
    // No temporary file is left behind.
    EXPECT_FALSE(TempFolder::exists(folder + "morvane.cfg.new"));
}

TEST_F(SettingsFile, RoundTripKeepsEveryByte) {
    UserSettings = everyByteSet();
    ASSERT_TRUE(saveSettings());
    std::memset(&UserSettings, 0, sizeof UserSettings);
    EXPECT_TRUE(loadSettings());
    EXPECT_EQ(blockBytes(UserSettings), blockBytes(everyByteSet()));
}

TEST_F(SettingsFile, MissingShortOrEmptyFileGivesTheDefaults) {
    const Bytes full = scrambled(blockBytes(everyByteSet()));
    struct Case {
        const char* what;
        bool write;
        size_t length;
    };
    const Case cases[] = {{"missing", false, 0}, {"empty", true, 0}, {"one byte", true, 1},
                          {"335 bytes", true, 335}};
    TempFolder::makeFolder(folder);
    for (const Case& c : cases) {
        DeleteFileA(path.c_str());
        if (c.write) {
            ASSERT_TRUE(TempFolder::writeFile(path, Bytes(full.begin(), full.begin() + c.length)));
        }
        std::memset(&UserSettings, 0x77, sizeof UserSettings);
        EXPECT_FALSE(loadSettings()) << c.what;
        EXPECT_EQ(blockBytes(UserSettings), blockBytes(defaults())) << c.what;
    }
}

TEST_F(SettingsFile, LongerFileGivesItsFirstBlock) {
    Bytes plain = blockBytes(everyByteSet());
    plain.insert(plain.end(), 20, 0x33);
    TempFolder::makeFolder(folder);
    ASSERT_TRUE(TempFolder::writeFile(path, scrambled(plain)));
    EXPECT_TRUE(loadSettings());
    EXPECT_EQ(blockBytes(UserSettings), blockBytes(everyByteSet()));
}

TEST_F(SettingsFile, OutOfRangeValuesAreClampedOnLoad) {
    UserSettingsBlock stored = everyByteSet();
    stored.unreadTextSpeed = 9;
    stored.autoSpeed = 0xFFFFFFFF;
    stored.soundVolume[kSettingsVoice] = 1000;
    stored.fullScreen = 7;
    stored.bossKeyMode = 3;
    stored.rightButtonAction = 29;
    stored.joystickActions[7] = 0xFF;
    TempFolder::makeFolder(folder);
    ASSERT_TRUE(TempFolder::writeFile(path, scrambled(blockBytes(stored))));
    EXPECT_TRUE(loadSettings());
    UserSettingsBlock expected = everyByteSet();
    expected.unreadTextSpeed = 4;
    expected.autoSpeed = 10;
    expected.soundVolume[kSettingsVoice] = 100;
    expected.fullScreen = 1;
    expected.bossKeyMode = 2;
    expected.rightButtonAction = 0;
    expected.joystickActions[7] = 0;
    EXPECT_EQ(blockBytes(UserSettings), blockBytes(expected));
}

TEST_F(SettingsFile, FailedWriteKeepsTheOldFile) {
    UserSettings = everyByteSet();
    ASSERT_TRUE(saveSettings());
    const Bytes before = TempFolder::readFile(path);
    // The temporary file cannot be made while a folder holds its name.
    ASSERT_TRUE(CreateDirectoryA((folder + "morvane.cfg.new").c_str(), nullptr));
    setDefaultSettings();
    EXPECT_FALSE(saveSettings());
    RemoveDirectoryA((folder + "morvane.cfg.new").c_str());
    EXPECT_EQ(TempFolder::readFile(path), before);
    EXPECT_TRUE(loadSettings());
    EXPECT_EQ(blockBytes(UserSettings), blockBytes(everyByteSet()));
}

TEST_F(SettingsFile, SaveReplacesAnOlderFile) {
    UserSettings = everyByteSet();
    ASSERT_TRUE(saveSettings());
    setDefaultSettings();
    UserSettings.fullScreen = 1;
    const Bytes expected = blockBytes(UserSettings);
    ASSERT_TRUE(saveSettings());
    EXPECT_EQ(TempFolder::readFile(path), scrambled(expected));
    std::memset(&UserSettings, 0, sizeof UserSettings);
    EXPECT_TRUE(loadSettings());
    EXPECT_EQ(blockBytes(UserSettings), expected);
}
}  // namespace
