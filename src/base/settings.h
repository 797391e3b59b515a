// The player's settings block and its file "morvane.cfg".
//
// The block is stored byte for byte (through the save keystream) as the settings file, so its
// layout below is the file format: little-endian, every multi-byte field u32, every other field one
// byte, truth values 0 or 1, no padding but the fields named so.
#pragma once
#include <cstddef>
#include <cstdint>

// Order of the four sound channels in the enable and volume arrays.
enum SettingsChannel : uint8_t {
    kSettingsSE = 0,
    kSettingsVoice = 1,
    kSettingsEnv = 2,
    kSettingsBGM = 3,
};

// Boss-key modes.
enum BossKeyMode : uint8_t {
    kBossKeyTray = 0,
    kBossKeyNotepad = 1,
    kBossKeyQuickSaveExit = 2,
};

constexpr size_t kSettingsSize = 336;
constexpr size_t kSettingsReservedSize = 260;
constexpr uint8_t kSettingsMaxAction = 28;  // CommandId actions 0 (none) to 28

struct UserSettingsBlock {
    uint32_t unreadTextSpeed;   // 0 slowest to 4 fastest
    uint32_t readTextSpeed;     // 0 to 4
    uint32_t autoSpeed;         // 0 slowest to 10 fastest
    uint8_t font;               // 0 mixed, 1 Mincho, 2 Gothic
    uint8_t textShadow;
    uint8_t soundEnabled[4];    // SE, voice, ENV, BGM (SettingsChannel)
    uint8_t padding18[2];
    uint32_t soundVolume[4];    // SE, voice, ENV, BGM: 0 to 100
    uint8_t maleVoices;
    uint8_t femaleVoices;
    uint8_t stopVoiceOnPage;    // stop the voice at a page change
    uint8_t fullScreen;         // mirrors the screen mode after every switch
    uint8_t screenEffects;
    uint8_t speakerColours;     // speaker text colours
    uint8_t hideIdleCursor;
    uint8_t captionChapter;     // chapter title in the caption
    uint8_t captionPlayTime;    // play time in the caption
    uint8_t skipAll;            // 1 skip all text, 0 read text only
    uint8_t endSkipAfterChoice;
    uint8_t bossKeyMode;        // BossKeyMode
    uint8_t reserved[kSettingsReservedSize];
    uint8_t rightButtonAction;  // CommandId actions bound to the remappable inputs
    uint8_t middleButtonAction;
    uint8_t wheelUpAction;
    uint8_t wheelDownAction;
    uint8_t spaceAction;
    uint8_t functionKeyActions[12];  // F1 to F12
    uint8_t joystickActions[8];      // buttons 1 to 8
    uint8_t padding333[3];
};

static_assert(sizeof(UserSettingsBlock) == kSettingsSize, "settings block size");
static_assert(offsetof(UserSettingsBlock, unreadTextSpeed) == 0, "settings offset");
static_assert(offsetof(UserSettingsBlock, readTextSpeed) == 4, "settings offset");
static_assert(offsetof(UserSettingsBlock, autoSpeed) == 8, "settings offset");
static_assert(offsetof(UserSettingsBlock, font) == 12, "settings offset");
static_assert(offsetof(UserSettingsBlock, textShadow) == 13, "settings offset");
static_assert(offsetof(UserSettingsBlock, soundEnabled) == 14, "settings offset");
static_assert(offsetof(UserSettingsBlock, padding18) == 18, "settings offset");
static_assert(offsetof(UserSettingsBlock, soundVolume) == 20, "settings offset");
static_assert(offsetof(UserSettingsBlock, maleVoices) == 36, "settings offset");
static_assert(offsetof(UserSettingsBlock, femaleVoices) == 37, "settings offset");
static_assert(offsetof(UserSettingsBlock, stopVoiceOnPage) == 38, "settings offset");
static_assert(offsetof(UserSettingsBlock, fullScreen) == 39, "settings offset");
static_assert(offsetof(UserSettingsBlock, screenEffects) == 40, "settings offset");
static_assert(offsetof(UserSettingsBlock, speakerColours) == 41, "settings offset");
static_assert(offsetof(UserSettingsBlock, hideIdleCursor) == 42, "settings offset");
static_assert(offsetof(UserSettingsBlock, captionChapter) == 43, "settings offset");
static_assert(offsetof(UserSettingsBlock, captionPlayTime) == 44, "settings offset");
static_assert(offsetof(UserSettingsBlock, skipAll) == 45, "settings offset");
static_assert(offsetof(UserSettingsBlock, endSkipAfterChoice) == 46, "settings offset");
static_assert(offsetof(UserSettingsBlock, bossKeyMode) == 47, "settings offset");
static_assert(offsetof(UserSettingsBlock, reserved) == 48, "settings offset");
static_assert(offsetof(UserSettingsBlock, rightButtonAction) == 308, "settings offset");
static_assert(offsetof(UserSettingsBlock, middleButtonAction) == 309, "settings offset");
static_assert(offsetof(UserSettingsBlock, wheelUpAction) == 310, "settings offset");
static_assert(offsetof(UserSettingsBlock, wheelDownAction) == 311, "settings offset");
static_assert(offsetof(UserSettingsBlock, spaceAction) == 312, "settings offset");
static_assert(offsetof(UserSettingsBlock, functionKeyActions) == 313, "settings offset");
static_assert(offsetof(UserSettingsBlock, joystickActions) == 325, "settings offset");
static_assert(offsetof(UserSettingsBlock, padding333) == 333, "settings offset");

// The one settings block, read field by field by every module. All bytes are zero until
// loadSettings (or setDefaultSettings) fills it.
extern UserSettingsBlock UserSettings;

// Zeroes all 336 bytes of the block, then writes the defaults.
void setDefaultSettings();
// Brings every field that has a range into it: numbers are clamped to their maximum, truth values
// to 1, and an action byte beyond the last action becomes 0 (none). Reserved and padding bytes are
// kept as they are.
void clampSettings(UserSettingsBlock& block);
