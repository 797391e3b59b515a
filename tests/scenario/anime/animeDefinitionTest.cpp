// Animation definitions: sections, every key, mode names, alphas, the program per section and
// "ResetTimer", through one fixture definition.
#include <string>

#include "animeTestSupport.h"
#include "scenario/anime/pictureSlots.h"
#include "testing.h"

namespace {

const char* const kGarden =
    "; a comment: with = signs\r\n"
    "Type=back\r\n"
    "Name=Garden\r\n"
    "Base=garden.png\r\n"
    "PosX=10\r\n"
    "PosY=-20\r\n"
    "Img0=sky.png\r\n"
    "Img4294967296=wrong.png\r\n"
    "Img10=wrong.png\r\n"
    "mode0=screen\r\n"
    "Mode12=Add\r\n"
    "MODE3=Hardlight\r\n"
    "Mode4=Glow\r\n"
    "Alpha1=50%\r\n"
    "Alpha2=300\r\n"
    "Alpha3=-4\r\n"
    "Alpha4=99999999999%\r\n"
    "Alpha6 = 12 extra words\r\n"
    "Alpha=200\r\n"
    "Img9=nine.png\r\n"
    "FaceX=3\r\n"
    "FaceY=4xyz\r\n"
    "Unknown=1\r\n"
    "just some words\r\n"
    "x: 1\r\n"
    "# 1 3\r\n"
    "Face=face1.png\r\n"
    "Name=Time: noon\r\n"
    "ResetTimer\r\n"
    "move.x: 100 0\r\n"
    "#2\r\n"
    "Type=actor\r\n"
    "Type=ghost\r\n"
    "Alpha1=25%\r\n"
    "#\r\n"
    "add.y: 1 2\r\n"
    "# x\r\n"
    "Face=face0.png\r\n"
    "Img5=five.png\r\n"
    "Mode5=multi\r\n"
    "# 4\r\n"
    "resettimer\r\n";

class AnimeDefinition : public ::testing::Test {
protected:
    void SetUp() override {
        resetKeepingScreen();
        files.definition("garden.img", kGarden);
    }
    void TearDown() override { resetEngineState(); }
    AnimeDataFolder files;
    TestClock clock{1000};
    mAnime::cAnimeData& slot = *animeSlot(2);
};

TEST_F(AnimeDefinition, SectionZeroAppliesEveryKey) {
    ASSERT_TRUE(loadAnime(2, "garden.img"));
    EXPECT_EQ(0, slot.section);
    EXPECT_EQ(kAnimeTypeBack, slot.type);
    EXPECT_STREQ("Garden", slot.displayName.c_str());
    EXPECT_STREQ("garden.png", slot.baseName.c_str());
    EXPECT_EQ(10, slot.originX);
    EXPECT_EQ(-20, slot.originY);
    EXPECT_STREQ("face0.png", slot.faceName.c_str());
    EXPECT_EQ(3, slot.faceX);
    EXPECT_EQ(4, slot.faceY);
    EXPECT_STREQ("sky.png", slot.layers[0].name.c_str());  // Img4294967296 is no layer 0
    EXPECT_EQ(6, slot.layers[0].mode);                     // screen, in any case
    EXPECT_EQ(14, slot.layers[3].mode);
    EXPECT_EQ(0, slot.layers[4].mode);  // an unknown mode name hides the layer
    EXPECT_EQ(127, slot.layers[1].alpha);
    EXPECT_EQ(255, slot.layers[2].alpha);
    EXPECT_EQ(0, slot.layers[3].alpha);
    EXPECT_EQ(255, slot.layers[4].alpha);
    EXPECT_EQ(12, slot.layers[6].alpha);
    EXPECT_EQ(200, slot.layers[0].alpha);  // a prefix alone is layer 0
    EXPECT_STREQ("nine.png", slot.layers[9].name.c_str());
    EXPECT_STREQ("five.png", slot.layers[5].name.c_str());  // "# x" is section 0
    EXPECT_EQ(4, slot.layers[5].mode);
    for (int i : {1, 2, 6, 7, 8}) {
        EXPECT_EQ(1, slot.layers[i].mode) << i;  // Mode12 touched nothing
        EXPECT_TRUE(slot.layers[i].name.empty()) << i;
    }
    // The steps of every section: "x: 1" and "add.y: 1 2".
    ASSERT_EQ(2u, slot.commands.size());
    EXPECT_EQ(kAnimeSet, slot.commands[0].opcode);
    EXPECT_EQ(kAnimeAdd, slot.commands[1].opcode);
    EXPECT_EQ(1000u, slot.startTime);
}

TEST_F(AnimeDefinition, KeysAccumulateAndTheProgramIsRebuilt) {
    ASSERT_TRUE(loadAnime(2, "garden.img"));
    clock.now() = 2000;
    applyAnimeSection(2, 1);
    EXPECT_EQ(1, slot.section);
    EXPECT_STREQ("face1.png", slot.faceName.c_str());
    EXPECT_STREQ("Time:", slot.displayName.c_str());  // a key line holding ":"
    EXPECT_EQ(kAnimeTypeBack, slot.type);
    EXPECT_STREQ("five.png", slot.layers[5].name.c_str());  // kept from section 0
    EXPECT_EQ(2000u, slot.startTime);
    ASSERT_EQ(3u, slot.commands.size());
    EXPECT_EQ(kAnimeMove, slot.commands[1].opcode);

    clock.now() = 3000;
    applyAnimeSection(2, 2);
    EXPECT_EQ(kAnimeTypeActor, slot.type);  // an unknown type word after it leaves it
    EXPECT_STREQ("face1.png", slot.faceName.c_str());
    EXPECT_EQ(63, slot.layers[1].alpha);
    EXPECT_EQ(2u, slot.commands.size());
    EXPECT_EQ(2000u, slot.startTime);  // the ResetTimer of section 1 is not active here

    applyAnimeSection(2, 3);  // "# 1 3" applies to 3 as well
    EXPECT_EQ(3u, slot.commands.size());
    EXPECT_EQ(3000u, slot.startTime);

    clock.now() = 4000;
    applyAnimeSection(2, 4);
    EXPECT_EQ(3000u, slot.startTime);  // "resettimer" is no ResetTimer
    EXPECT_EQ(2u, slot.commands.size());
}

TEST_F(AnimeDefinition, ResetTimerIsTheExactLine) {
    const struct {
        const char* line;
        bool resets;
    } cases[] = {
        {"ResetTimer", true},   {"\tResetTimer", true},  // leading blanks are no part of a line
        {"resettimer", false},  {"RESETTIMER", false},   {"Resettimer", false},
        {"resetTimer", false},  {"ResetTimers", false},  {"ResetTimer now", false},
        {"ResetTime", false},
    };
    for (const auto& c : cases) {
        files.definition("reset.img", std::string("x: 1\r\n") + c.line + "\r\n");
        clock.now() = 1000;
        ASSERT_TRUE(loadAnime(2, "reset.img")) << c.line;
        clock.now() = 2000;
        applyAnimeSection(2, 0);
        EXPECT_EQ(c.resets ? 2000u : 1000u, slot.startTime) << c.line;
        EXPECT_EQ(1u, slot.commands.size()) << c.line;  // an ignored line adds no step
    }
}

TEST_F(AnimeDefinition, WithoutTypeLineTheTypeStaysNone) {
    files.definition("plain.img", "Base=a.png\r\nPosX=5\r\n");
    ASSERT_TRUE(loadAnime(2, "plain.img"));
    EXPECT_EQ(kAnimeTypeNone, slot.type);
    EXPECT_STREQ("a.png", slot.baseName.c_str());
    EXPECT_EQ(5, slot.originX);
    EXPECT_EQ(0, slot.x);  // no default placement for type 0
}

}  // namespace
