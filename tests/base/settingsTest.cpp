#include <cstdint>
#include <cstring>
#include <vector>

#include "base/settings.h"
#include "testing.h"

namespace {
using Bytes = std::vector<uint8_t>;

Bytes blockBytes(const UserSettingsBlock& b) {
    const uint8_t* p = reinterpret_cast<const uint8_t*>(&b);
    return Bytes(p, p + sizeof b);
}

// The default block, byte by byte.
Bytes defaultBytes() {
    Bytes d(336, 0);
    d[0] = 2;    // unread-text speed
    d[4] = 2;    // read-text speed
    d[8] = 5;    // auto speed
    d[13] = 1;   // shadow
    d[14] = 1;   // SE, voice, ENV, BGM enabled
    d[15] = 1;
    d[16] = 1;
    d[17] = 1;
    d[20] = 50;  // the four volumes
    d[24] = 50;
    d[28] = 50;
    d[32] = 50;
    d[36] = 1;   // male voices
    d[37] = 1;   // female voices
    d[38] = 1;   // stop voice at a page change
    d[40] = 1;   // screen effects
    d[46] = 1;   // end skipping after a choice
    d[308] = 11; // right button: popup menu
    d[309] = 22; // middle button: configuration
    d[310] = 14; // wheel up: backlog
    d[311] = 4;  // wheel down: advance text
    d[312] = 2;  // Space: OK
    d[325] = 2;  // pad button 1: OK
    d[326] = 3;  // pad button 2: cancel
    return d;
}

TEST(Settings, DefaultBlockBytes) {
    std::memset(&UserSettings, 0xA5, sizeof UserSettings);
    setDefaultSettings();
    EXPECT_EQ(blockBytes(UserSettings), defaultBytes());
}

TEST(Settings, ClampBringsRangedFieldsIntoRangeAndKeepsTheRest) {
    struct Case {
        size_t offset;
        uint8_t stored;
        uint8_t loaded;
    };
    // Single bytes at the offsets of ranged fields (u32 fields: their low byte), then reserved and
    // padding bytes, which are kept.
    const Case cases[] = {
        {0, 5, 4},     {0, 4, 4},     {4, 200, 4},   {8, 11, 10},   {8, 10, 10},  {12, 3, 2},
        {12, 2, 2},    {13, 2, 1},    {14, 7, 1},    {17, 255, 1},  {20, 101, 100},
        {32, 100, 100}, {36, 2, 1},   {39, 9, 1},    {46, 0x80, 1}, {47, 3, 2},   {47, 2, 2},
        {308, 29, 0},  {308, 28, 28}, {312, 255, 0}, {313, 30, 0},  {324, 55, 0}, {325, 40, 0},
        {332, 29, 0},  {332, 1, 1},   {18, 0xEE, 0xEE}, {19, 1, 1}, {48, 0xFF, 0xFF},
        {307, 0x42, 0x42}, {333, 0x99, 0x99}, {335, 0xFF, 0xFF},
    };
    for (const Case& c : cases) {
        UserSettingsBlock b;
        std::memset(&b, 0, sizeof b);
        reinterpret_cast<uint8_t*>(&b)[c.offset] = c.stored;
        clampSettings(b);
        Bytes expected(336, 0);
        expected[c.offset] = c.loaded;
        EXPECT_EQ(blockBytes(b), expected) << "offset " << c.offset << " value " << int(c.stored);
    }
}

TEST(Settings, ClampTakesWholeWordsIntoAccount) {
    UserSettingsBlock b;
    std::memset(&b, 0, sizeof b);
    b.unreadTextSpeed = 0x00000100;  // low byte 0, but far out of range
    b.autoSpeed = 0xFFFFFFFF;
    b.soundVolume[kSettingsBGM] = 0x80000032;
    clampSettings(b);
    EXPECT_EQ(b.unreadTextSpeed, 4u);
    EXPECT_EQ(b.autoSpeed, 10u);
    EXPECT_EQ(b.soundVolume[kSettingsBGM], 100u);
}

TEST(Settings, DefaultsAreInRange) {
    setDefaultSettings();
    UserSettingsBlock b = UserSettings;
    clampSettings(b);
    EXPECT_EQ(blockBytes(b), defaultBytes());
}
}  // namespace
