// The buttons' part of a waiting loop's frame: two states with the same key draw the same pixels
// (over cursor positions, the left button, read modes, button modes and table changes), and the
// cursor is looked at every frame while a button is hot or the bar shows.
#include <cstdint>
#include <vector>

#include "base/framePacer.h"
#include "base/input.h"
#include "base/moduleState.h"
#include "presentation/choiceScreens.h"
#include "presentation/spots.h"
#include "spotFixtures.h"
#include "testing.h"

using namespace spotTest;

namespace {
class SpotsPacing : public ::testing::Test {
protected:
    void SetUp() override {
        resetEngineState();
        install();
        images()["sys_select_item.png"] = strip(600, 60, 3);
        images()["sys_box_config.png"] = strip(40, 20, 3);
        images()["icon.png"] = strip(40, 40, 4);
        mSpots::InitSystemButtons();
        gChoiceSpots.Add(3, 1, "sys_select_item.png", 100, 160);
        gChoiceSpots.Add(3, 2, "sys_select_item.png", 100, 230);
        gChoiceSpots.Add(4, 3, "icon.png", 20, 20);
        gChoiceSpots.SetEnabled(3, false);
        gScreenSpots.Add(3, 9, "sys_select_item.png", 100, 300);
    }
    void TearDown() override {
        uninstall();
        gBackBuffer.Release();
        resetEngineState();
    }
    // The pixels UpdateButtons draws over a plain background.
    static std::vector<uint8_t> drawn() {
        makeBackBuffer();
        mSpots::UpdateButtons();
        return std::vector<uint8_t>(gBackBuffer.pixels,
                                    gBackBuffer.pixels + static_cast<size_t>(gBackBuffer.ByteCount()));
    }
};
}  // namespace

TEST_F(SpotsPacing, EqualKeysDrawEqualPixels) {
    const MousePoint points[] = {{400, 190}, {400, 260}, {30, 30}, {560, 580}, {450, 590},
                                 {700, 700}, {5, 5},     {400, 320}, {640, 580}, {99, 160}};
    uint32_t seed = 12345;
    auto next = [&](uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    cFramePacer pacer;
    std::vector<uint8_t> shown;
    int sameKeys = 0, changes = 0;
    for (int step = 0; step < 400; ++step) {
        switch (next(8)) {
            case 0: mSpots::SetButtonMode(static_cast<int>(next(5))); break;
            case 1: gMouseDown = static_cast<uint8_t>(next(2)); break;
            case 2: gReadMode = static_cast<uint8_t>(next(3)); break;
            case 3: gChoiceSpots.SetEnabled(1 + next(3), next(2) != 0); break;
            default: gMousePos = points[next(10)]; break;
        }
        pacer.BeginFrame(static_cast<uint32_t>(step));
        mSpots::PaceButtons(pacer);
        const bool due = pacer.FrameDue();
        const std::vector<uint8_t> now = drawn();
        if (!due) {
            ++sameKeys;
            ASSERT_EQ(shown, now) << "the same key drew other pixels at step " << step;
        } else {
            ++changes;
            shown = now;
            pacer.Presented();
        }
    }
    // Both kinds of step were seen.
    EXPECT_GT(sameKeys, 100);
    EXPECT_GT(changes, 100);
}

TEST_F(SpotsPacing, TheCursorIsLookedAtEveryFrameWhileAButtonIsHotOrTheBarShows) {
    mSpots::SetButtonMode(kButtonsChoice);
    const struct {
        MousePoint at;
        bool everyFrame;
    } cases[] = {
        {{30, 100}, false},   // nothing under the cursor
        {{400, 190}, true},   // an option
        {{25, 25}, false},    // the disabled icon is not hot
        {{450, 590}, true},   // in the bar's corner: the bar shows
        {{560, 580}, true},   // on the bar's button
    };
    for (const auto& c : cases) {
        gMousePos = c.at;
        cFramePacer pacer;
        pacer.BeginFrame(1000);
        mSpots::PaceButtons(pacer);
        pacer.Presented();
        pacer.BeginFrame(1000);
        mSpots::PaceButtons(pacer);
        EXPECT_EQ(c.everyFrame ? frameIntervalMs() : kPacerLongestWaitMs, pacer.WaitMs(1000))
            << c.at.x << "," << c.at.y;
    }
    // In skip mode the bar does not show.
    gReadMode = kReadSkip;
    gMousePos = {450, 590};
    cFramePacer pacer;
    pacer.BeginFrame(1000);
    mSpots::PaceButtons(pacer);
    pacer.Presented();
    EXPECT_EQ(kPacerLongestWaitMs, pacer.WaitMs(1000));
}

TEST_F(SpotsPacing, ATableChangedInPlaceChangesTheKey) {
    mSpots::SetButtonMode(kButtonsChoice);
    gMousePos = {30, 100};
    cFramePacer pacer;
    auto changed = [&] {
        pacer.BeginFrame(0);
        mSpots::PaceButtons(pacer);
        const bool due = pacer.FrameDue();
        pacer.Presented();
        return due;
    };
    EXPECT_TRUE(changed());
    EXPECT_FALSE(changed());
    gChoiceSpots.Clear();
    EXPECT_TRUE(changed());
    gChoiceSpots.Add(3, 1, "sys_select_item.png", 100, 160);
    EXPECT_TRUE(changed());
    EXPECT_FALSE(changed());
    gChoiceSpots.spots[0].SetOverlay("icon.png", 0, 0);
    EXPECT_TRUE(changed());
    gChoiceSpots.Mark(1);
    EXPECT_TRUE(changed());
    gChoiceCount = 2;
    EXPECT_TRUE(changed());
}
