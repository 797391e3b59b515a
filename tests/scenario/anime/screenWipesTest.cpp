// The rule wipes on the test clock: the frames they present, how they end, their quiet failures.
#include <cstring>
#include <vector>

#include "animeTestSupport.h"
#include "base/input.h"
#include "base/present.h"
#include "base/settings.h"
#include "graphics/transitions.h"
#include "scenario/anime/composition.h"
#include "scenario/anime/pictureSlots.h"
#include "screenSizeGuard.h"
#include "testing.h"

namespace {

// Each poll moves the clock on by step ms; a poll may quit; Ctrl may be held.
struct Player {
    uint32_t step = 100;
    int polls = 0;
    int quitAt = -1;
    bool ctrl = false;
    std::vector<std::vector<uint8_t>> frames;  // gBackBuffer at every present
};
Player* gPlayer = nullptr;

bool poll(uint8_t, bool) {
    TestClock::now() += gPlayer->step;
    ++gPlayer->polls;
    // A wipe that never ends fails the test instead of hanging it.
    return gPlayer->polls != gPlayer->quitAt && gPlayer->polls <= 1000;
}
bool ctrlHeld() { return gPlayer->ctrl; }
void present() {
    gPlayer->frames.emplace_back(gBackBuffer.pixels,
                                 gBackBuffer.pixels + static_cast<size_t>(gBackBuffer.ByteCount()));
}
const InputBackend kBackend = {poll, nullptr, nullptr, ctrlHeld, nullptr};

class ScreenWipes : public ::testing::Test {
protected:
    void SetUp() override {
        resetKeepingScreen();
        gPlayer = &player;
        setInputBackend(&kBackend);
        setPresentHooks(present, nullptr);
        // The rule: 8 x 6 of 255 centred on the 16 x 12 screen, 0 around it.
        files.picture("rule.png", 1, 8, 6, 255);
        files.picture("ramp.png", 1, 16, 12, 128);
        files.picture("room.png", 3, 16, 12, 200, 100, 50);
        // On screen: grey 9 everywhere; the scene to come: the room.
        std::memset(gBackBuffer.pixels, 9, bytes());
        loadAnime(0, "room.png");
    }
    void TearDown() override {
        setPresentHooks(nullptr, nullptr);
        setInputBackend(nullptr);
        resetEngineState();
    }
    static size_t bytes() { return 16 * 12 * 3; }
    std::vector<uint8_t> screen(const cImage& c) const {
        return std::vector<uint8_t>(c.pixels, c.pixels + bytes());
    }
    static Bgr at(const std::vector<uint8_t>& f, int x, int y) {
        const uint8_t* p = &f[(y * 16 + x) * 3];
        return {p[0], p[1], p[2]};
    }
    ScreenSize size{16, 12};
    ScreenCanvases canvases;
    AnimeDataFolder files;
    TestClock clock{50000};
    Player player;
};

const Bgr kOld{9, 9, 9};
const Bgr kNew{200, 100, 50};

TEST_F(ScreenWipes, HardWipeRevealsLowRuleValuesFirst) {
    player.step = 250;
    ASSERT_TRUE(maskWipeHard("rule.png", 1000, composeScreenNow));
    ASSERT_GE(player.frames.size(), 4u);
    // At 500 ms (progress 512): the border (rule 0) is new, the centre (rule 255) still old.
    const std::vector<uint8_t>& mid = player.frames[1];
    EXPECT_EQ(kNew, at(mid, 0, 0));
    EXPECT_EQ(kNew, at(mid, 3, 2));
    EXPECT_EQ(kOld, at(mid, 4, 3));
    EXPECT_EQ(kOld, at(mid, 11, 8));
    EXPECT_EQ(kNew, at(mid, 12, 8));
    // The last frame and the canvases: the new scene.
    EXPECT_EQ(screen(gNextScreen), player.frames.back());
    EXPECT_EQ(screen(gNextScreen), screen(gBackBuffer));
    EXPECT_EQ(kNew, at(screen(gNextScreen), 5, 5));
    EXPECT_EQ(0, gAnimeDirty);  // composed by the wipe
}

TEST_F(ScreenWipes, SoftWipeBlendsFromASnapshotOfTheScreen) {
    player.step = 500;
    ASSERT_TRUE(maskWipeSoft("rule.png", 1000, composeScreenNow));
    ASSERT_GE(player.frames.size(), 2u);
    const std::vector<uint8_t>& mid = player.frames[0];  // progress 512
    EXPECT_EQ(kNew, at(mid, 0, 0));
    EXPECT_EQ(kOld, at(mid, 8, 6));  // weight 255: the old picture exactly
    EXPECT_EQ(screen(gNextScreen), screen(gBackBuffer));
    EXPECT_EQ(screen(gNextScreen), screen(gPrevScreen));

    // A rule of 128 at progress 512 blends half way.
    std::memset(gBackBuffer.pixels, 0, bytes());
    player.frames.clear();
    ASSERT_TRUE(maskWipeSoft("ramp.png", 1000, composeScreenNow));
    EXPECT_EQ((Bgr{100, 50, 25}), at(player.frames[0], 3, 3));
}

TEST_F(ScreenWipes, ZeroMillisecondsOrEffectsOffCopyAndPresentOnceWithoutARule) {
    for (int effects : {1, 0}) {
        UserSettings.screenEffects = static_cast<uint8_t>(effects);
        for (uint32_t ms : {0u, 1000u}) {
            if (effects && ms > 0) continue;
            for (bool soft : {false, true}) {
                player.frames.clear();
                std::memset(gNextScreen.pixels, 33, bytes());
                gAnimeDirty = 1;
                const auto wipe = soft ? maskWipeSoft : maskWipeHard;
                EXPECT_TRUE(wipe("nothing.png", ms, composeScreenNow));
                ASSERT_EQ(1u, player.frames.size());
                // Not recomposed: the scene stays as it was and still dirty.
                EXPECT_EQ(std::vector<uint8_t>(bytes(), 33), player.frames[0]);
                EXPECT_EQ(1, gAnimeDirty);
                EXPECT_EQ(0, player.polls);
            }
        }
    }
}

TEST_F(ScreenWipes, AMissingRuleFailsAndLeavesTheScreen) {
    const std::vector<uint8_t> before = screen(gBackBuffer);
    EXPECT_FALSE(maskWipeHard("nothing.png", 1000, composeScreenNow));
    EXPECT_FALSE(maskWipeSoft("nothing.png", 1000, composeScreenNow));
    EXPECT_EQ(before, screen(gBackBuffer));
    EXPECT_TRUE(player.frames.empty());
    EXPECT_EQ(0, player.polls);
}

TEST_F(ScreenWipes, SkipOrQuitEndsAtOnceWithTheFinalPicture) {
    player.ctrl = true;
    ASSERT_TRUE(maskWipeHard("rule.png", 5000, composeScreenNow));
    EXPECT_EQ(1, player.polls);
    ASSERT_EQ(1u, player.frames.size());
    EXPECT_EQ(screen(gNextScreen), player.frames[0]);

    player.ctrl = false;
    player.polls = 0;
    player.quitAt = 1;
    player.frames.clear();
    std::memset(gBackBuffer.pixels, 9, bytes());
    ASSERT_TRUE(maskWipeSoft("rule.png", 5000, composeScreenNow));
    ASSERT_EQ(1u, player.frames.size());
    EXPECT_EQ(screen(gNextScreen), player.frames[0]);
}

// elapsed x 1024 passes 32 bits after 70 minutes; a 5-hour wipe still ends.
TEST_F(ScreenWipes, AFiveHourWipeEnds) {
    player.step = 10 * 60 * 1000;
    ASSERT_TRUE(maskWipeHard("rule.png", 5 * 60 * 60 * 1000, composeScreenNow));
    EXPECT_EQ(31, player.polls);
    EXPECT_EQ(31u, player.frames.size());
    // Two hours in (progress 409): still the old centre.
    EXPECT_EQ(kOld, at(player.frames[11], 8, 6));
    EXPECT_EQ(kNew, at(player.frames[11], 0, 0));
}

}  // namespace
