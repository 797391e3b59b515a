// Text speeds, typing targets, the auto-mode delay and the speaker split.
#include <cstring>
#include <string>

#include "presentation/msgTiming.h"
#include "testing.h"

TEST(MsgTiming, TextSpeedTable) {
    const uint32_t expected[] = {24, 16, 8, 4, 0, 10, 10};
    const uint32_t levels[] = {0, 1, 2, 3, 4, 5, 0xFFFFFFFF};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(expected[i], textSpeedMsPerUnit(levels[i])) << levels[i];
}

TEST(MsgTiming, TypingTargetFollowsElapsedTime) {
    // Per level: ms per unit; a character costs 4 units at the starting speed step.
    EXPECT_EQ(0, typingTarget(23, textSpeedMsPerUnit(0)));
    EXPECT_EQ(4, typingTarget(96, textSpeedMsPerUnit(0)));
    EXPECT_EQ(4, typingTarget(64, textSpeedMsPerUnit(1)));
    EXPECT_EQ(3, typingTarget(63, textSpeedMsPerUnit(1)));
    EXPECT_EQ(125, typingTarget(1000, textSpeedMsPerUnit(2)));
    EXPECT_EQ(250, typingTarget(1000, textSpeedMsPerUnit(3)));
    EXPECT_EQ(-1, typingTarget(0, textSpeedMsPerUnit(4)));
    EXPECT_EQ(100, typingTarget(1000, textSpeedMsPerUnit(9)));
    // The clock's full range stays a positive target.
    EXPECT_EQ(0x7FFFFFFF, typingTarget(0xFFFFFFFF, 1));
}

TEST(MsgTiming, UnitCostBySpeedStep) {
    EXPECT_EQ(16, unitCost(0));
    EXPECT_EQ(8, unitCost(1));
    EXPECT_EQ(4, unitCost(2));
    EXPECT_EQ(2, unitCost(3));
    EXPECT_EQ(1, unitCost(4));
}

TEST(MsgTiming, AutoModeDelayTable) {
    for (uint32_t speed = 0; speed <= 10; ++speed) EXPECT_EQ(7000 - 700 * speed, autoModeDelayMs(speed));
    EXPECT_EQ(0u, autoModeDelayMs(11));
    EXPECT_EQ(0u, autoModeDelayMs(0xFFFFFFFF));
}

TEST(MsgSpeaker, SplitAtFirstColon) {
    char name[kSpeakerNameSize];
    struct Case {
        const char* text;
        const char* name;
        const char* message;
    } cases[] = {
        {"Aki:Hello", "Aki", "Hello"},
        {"Hello", "", "Hello"},
        {":Hello", "", "Hello"},
        {"A:b:c", "A", "b:c"},
        {"A:", "A", ""},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        std::memset(name, 'x', sizeof name);
        const char* message = splitSpeaker(c.text, name);
        EXPECT_STREQ(c.name, name) << c.text;
        EXPECT_STREQ(c.message, message) << c.text;
        EXPECT_EQ(0, name[kSpeakerNameSize - 1]);
    }
    EXPECT_STREQ("", splitSpeaker(nullptr, name));
    EXPECT_STREQ("", name);
}

TEST(MsgSpeaker, LongNameIsCutOnACharacterBoundary) {
    // 4094 single bytes then a double-byte character: only 4095 bytes fit, so the pair is dropped.
    std::string text(4094, 'n');
    text += "\x88\xa0:msg";
    char name[kSpeakerNameSize];
    EXPECT_STREQ("msg", splitSpeaker(text.c_str(), name));
    EXPECT_EQ(4094u, std::strlen(name));
    // One byte less and the pair fits exactly.
    text.erase(0, 1);
    splitSpeaker(text.c_str(), name);
    EXPECT_EQ(4095u, std::strlen(name));
    EXPECT_EQ('\xa0', name[4094]);
    // Far longer names are cut too.
    std::string huge(100000, 'z');
    huge += ":m";
    EXPECT_STREQ("m", splitSpeaker(huge.c_str(), name));
    EXPECT_EQ(4095u, std::strlen(name));
}
