// The button tables: frames drawn per state, pixel-exact hits, press and release across the three
// tables, keyboard navigation, hot rules and the system-button bar's area.
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "base/input.h"
#include "base/moduleState.h"
#include "graphics/screen.h"
#include "presentation/choiceScreens.h"
#include "presentation/spots.h"
#include "spotFixtures.h"
#include "testing.h"

using mSpots_Common::cSpot;
using mSpots_Common::cSpotTable;
using namespace spotTest;

namespace {
constexpr uint32_t kWmLButtonDown = 0x0201;
constexpr uint32_t kWmLButtonUp = 0x0202;

class SpotsTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetEngineState();
        install();
        makeBackBuffer();
        setButtonHandlers(mSpots::PressButtons, mSpots::ReleaseButtons);
    }
    void TearDown() override {
        setButtonHandlers(nullptr, nullptr);
        uninstall();
        gBackBuffer.Release();
        resetEngineState();
    }
    // An opaque button of one colour per frame.
    void image(const char* name, int w, int frameHeight, int frames) {
        images()[name] = strip(w, frameHeight, frames);
    }
    static void at(int32_t x, int32_t y) { gMousePos = {x, y}; }
    // The left button through the input layer, as the window procedure hands it over.
    static void press() { mouseMessageToCommand(kWmLButtonDown, 0, 0); }
    static void release() { mouseMessageToCommand(kWmLButtonUp, 0, 0); }
};
}  // namespace

TEST_F(SpotsTest, FrameDrawnForEachStateAndFrameCount) {
    struct Case {
        int frames;
        int normal, hot, held, disabled, disabledHot;  // frame drawn; -1 nothing
    };
    const Case cases[] = {
        {0, -1, -1, -1, -1, -1},
        {1, 0, 0, 0, 0, 0},
        {3, 0, 1, 2, 0, 1},
        {4, 0, 1, 2, 3, 3},
    };
    for (const Case& c : cases) {
        const int want[5] = {c.normal, c.hot, c.held, c.disabled, c.disabledHot};
        for (int state = 0; state < 5; ++state) {
            makeBackBuffer();
            cSpot spot;
            spot.id = 7;
            images()["b.png"] = strip(30, 10, c.frames < 1 ? 1 : c.frames);
            spot.SetImage("b.png", 50, 60, c.frames);
            spot.disabled = state >= 3;
            gMouseDown = state == 2;
            const bool hot = state == 1 || state == 2 || state == 4;
            spot.Draw(hot ? 7 : -1);
            EXPECT_EQ(want[state], frameAt(55, 65)) << c.frames << " frames, state " << state;
            // Exactly one frame's band: nothing below it.
            EXPECT_EQ(-1, frameAt(55, 60 + 10 + 1)) << c.frames << " frames, state " << state;
        }
    }
}

TEST_F(SpotsTest, OverlayOnlyWhileHot) {
    images()["b.png"] = strip(20, 20, 3);
    images()["o.png"] = plain(5, 5, kOverlayColour);
    cSpotTable table;
    EXPECT_TRUE(table.AddWithOverlay(3, 4, "b.png", 10, 10, "o.png", 300, 300));
    table.Draw(-1);
    EXPECT_EQ(kBackground, backPixel(301, 301));
    table.Draw(4);
    EXPECT_EQ(kOverlayColour, backPixel(301, 301));
    EXPECT_EQ(1, frameAt(15, 15));
    // A missing overlay: the slot is taken and the result false.
    EXPECT_FALSE(table.AddWithOverlay(3, 5, "b.png", 10, 10, "none.png", 0, 0));
    EXPECT_EQ(2u, table.count);
}

TEST_F(SpotsTest, HitsUseFrameZerosAlphaAndStopAtTheFrameHeight) {
    // Frame 0 is transparent at (2, 2); the hot frame 1 is opaque there.
    images()["t.png"] = strip(10, 10, 3, [](int x, int y) { return (x == 2 && y == 2) ? 0 : 255; });
    cSpot spot;
    spot.SetImage("t.png", 100, 200, 3);
    at(102, 202);
    EXPECT_FALSE(spot.HitTest());
    at(103, 202);
    EXPECT_TRUE(spot.HitTest());
    // ly = frame height lies in frame 1: no hit; the last row of frame 0 hits.
    at(105, 210);
    EXPECT_FALSE(spot.HitTest());
    at(105, 209);
    EXPECT_TRUE(spot.HitTest());
    at(99, 205);
    EXPECT_FALSE(spot.HitTest());
    at(110, 205);
    EXPECT_FALSE(spot.HitTest());
    at(109, 199);
    EXPECT_FALSE(spot.HitTest());
    // Fewer than one frame: never a hit, and no frame height to divide by.
    spot.frames = 0;
    at(105, 205);
    EXPECT_FALSE(spot.HitTest());
    EXPECT_EQ(0, spot.FrameHeight());
    spot.frames = -3;
    EXPECT_FALSE(spot.HitTest());
    EXPECT_EQ(0, spot.FrameHeight());
    // Images of 1 and 3 bytes per pixel are opaque everywhere.
    cSpot grey;
    grey.frames = 1;
    grey.image.Create(1, 4, 4);
    grey.x = 0;
    grey.y = 0;
    at(3, 3);
    EXPECT_TRUE(grey.HitTest());
}

TEST_F(SpotsTest, OverlappingSpotsTheFirstAddedLiesOnTopAndIsHit) {
    images()["a.png"] = strip(40, 40, 1);
    images()["b.png"] = plain(40, 40, kOverlayColour);
    cSpotTable table;
    table.Add(1, 1, "a.png", 0, 0);
    table.Add(1, 2, "b.png", 20, 20);
    table.Draw(-1);
    EXPECT_EQ(0, frameAt(30, 30));
    EXPECT_EQ(kOverlayColour, backPixel(50, 50));
    at(30, 30);
    EXPECT_EQ(1, table.HitTest());
    table.SetEnabled(1, false);
    EXPECT_EQ(2, table.HitTest());
    at(50, 50);
    EXPECT_EQ(2, table.HitTest());
    at(70, 70);
    EXPECT_EQ(-1, table.HitTest());
}

TEST_F(SpotsTest, TableOperations) {
    image("b.png", 10, 10, 1);
    cSpotTable table;
    for (uint32_t i = 0; i < 50; ++i) EXPECT_TRUE(table.Add(1, i % 5, "b.png", int32_t(i) * 10, 0));
    // A 51st changes nothing.
    EXPECT_FALSE(table.Add(1, 99, "b.png", 0, 0));
    EXPECT_FALSE(table.AddWithOverlay(1, 99, "b.png", 0, 0, "b.png", 0, 0));
    EXPECT_EQ(50u, table.count);
    table.SetEnabled(3, false);
    for (uint32_t i = 0; i < 50; ++i) EXPECT_EQ(i % 5 == 3, table.spots[i].disabled != 0);
    table.Mark(2);
    EXPECT_TRUE(table.spots[47].marked);
    table.DisableAll();
    for (uint32_t i = 0; i < 50; ++i) EXPECT_TRUE(table.spots[i].disabled);
    // Find: the first of that id, slot 0's image for an id no spot has.
    EXPECT_EQ(&table.spots[4].image, &table.Find(4));
    EXPECT_EQ(&table.spots[0].image, &table.Find(77));
    // A missing image still takes a slot, never drawn or hit.
    table.Clear();
    EXPECT_EQ(0u, table.count);
    EXPECT_EQ(-1, table.pressed);
    EXPECT_FALSE(table.Add(1, 8, "missing.png", 0, 0));
    EXPECT_EQ(1u, table.count);
    at(1, 1);
    EXPECT_EQ(-1, table.HitTest());
    table.Draw(8);
    EXPECT_EQ(-1, frameAt(1, 1));
    // Reset keeps the id.
    table.spots[0].Reset();
    EXPECT_EQ(8u, table.spots[0].id);
}

// --- press and release

class PressRelease : public SpotsTest {
protected:
    void SetUp() override {
        SpotsTest::SetUp();
        image("opt.png", 100, 40, 3);
        image("bar.png", 40, 20, 3);
        gChoiceSpots.Add(3, 1, "opt.png", 100, 100);  // A
        gChoiceSpots.Add(3, 2, "opt.png", 100, 200);  // B
        gChoiceSpots.Add(3, 1, "opt.png", 100, 300);  // another spot with A's id
        gSystemSpots.Add(3, 22, "bar.png", 548, 572);
        mSpots::SetButtonMode(kButtonsChoice);
        clearCommand();
    }
    void clickAt(int32_t px, int32_t py, int32_t rx, int32_t ry) {
        at(px, py);
        press();
        at(rx, ry);
        release();
    }
};

TEST_F(PressRelease, ReleaseOverTheSpotPressedGivesOkWithItsId) {
    clickAt(150, 120, 150, 120);
    EXPECT_EQ(kCmdOk, getCommand());
    EXPECT_EQ(1, getSelectedIndex());
}

TEST_F(PressRelease, PressOnOneReleaseOnAnotherGivesNothing) {
    clickAt(150, 120, 150, 220);
    EXPECT_EQ(kCmdNone, getCommand());
    EXPECT_EQ(-1, getSelectedIndex());
}

TEST_F(PressRelease, PressLeaveReturnRelease) {
    at(150, 220);
    press();
    EXPECT_EQ(kCmdNone, getCommand());
    at(10, 10);
    mSpots::UpdateButtons();
    at(150, 220);
    release();
    EXPECT_EQ(kCmdOk, getCommand());
    EXPECT_EQ(2, getSelectedIndex());
}

TEST_F(PressRelease, EqualIdsCountAsTheSameButton) {
    clickAt(150, 120, 150, 320);
    EXPECT_EQ(kCmdOk, getCommand());
    EXPECT_EQ(1, getSelectedIndex());
}

TEST_F(PressRelease, ThePressMissingEverySpotIsAClick) {
    at(10, 10);
    press();
    EXPECT_EQ(kCmdClick, getCommand());
    EXPECT_EQ(-1, gChoiceSpots.pressed);
    EXPECT_EQ(-1, gSystemSpots.pressed);
}

TEST_F(PressRelease, TheBarTakesThePressAndLatchesItsCommand) {
    clickAt(560, 580, 560, 580);
    EXPECT_EQ(kCmdConfig, getCommand());
    EXPECT_EQ(-1, getSelectedIndex());
}

TEST_F(PressRelease, ABarPressReleasedOverAnOptionFiresNothing) {
    // An earlier click on option A leaves its press behind.
    clickAt(150, 120, 150, 120);
    clearCommand();
    clickAt(560, 580, 150, 120);
    EXPECT_EQ(kCmdNone, getCommand());
    EXPECT_EQ(-1, gChoiceSpots.pressed);
}

TEST_F(PressRelease, AReleaseAfterClearFiresNothing) {
    at(150, 120);
    press();
    gChoiceSpots.Clear();
    gChoiceSpots.Add(3, 1, "opt.png", 100, 100);
    release();
    EXPECT_EQ(kCmdNone, getCommand());
}

TEST_F(PressRelease, APressOutsideNormalReadModeIsRefusedAndForgetsEarlierPresses) {
    clickAt(150, 120, 150, 120);
    clearCommand();
    gReadMode = kReadAuto;
    at(150, 120);
    EXPECT_FALSE(mSpots::PressButtons());
    EXPECT_EQ(-1, gChoiceSpots.pressed);
    gReadMode = kReadNormal;
    release();
    EXPECT_EQ(kCmdNone, getCommand());
}

TEST_F(PressRelease, InactiveTablesTakeNothing) {
    mSpots::SetButtonMode(kButtonsNone);
    clickAt(150, 120, 150, 120);
    EXPECT_EQ(kCmdClick, getCommand());
    clearCommand();
    // The screen table alone (mode 3) over the same place.
    image("slot.png", 50, 50, 1);
    gScreenSpots.Add(1, 1002, "slot.png", 120, 110);
    mSpots::SetButtonMode(kButtonsScreen);
    clickAt(150, 120, 150, 120);
    EXPECT_EQ(kCmdOk, getCommand());
    EXPECT_EQ(1002, getSelectedIndex());
    // Disabled bar spots never take a press.
    clearCommand();
    mSpots::SetButtonMode(kButtonsChoiceOnly);
    clickAt(560, 580, 560, 580);
    EXPECT_EQ(kCmdClick, getCommand());
}

TEST_F(PressRelease, CancelledPressesFireNoRelease) {
    at(150, 120);
    press();
    mSpots::CancelPresses();
    release();
    EXPECT_EQ(kCmdNone, getCommand());
}

// --- button modes, hot rules, the bar

TEST_F(SpotsTest, ButtonModesSetTheTablesAndTheBarsIds) {
    image("bar.png", 10, 10, 1);
    const uint32_t ids[] = {12, 15, 16, 20, 21, 22, 19};
    for (uint32_t id : ids) gSystemSpots.Add(1, id, "bar.png", 0, 0);
    struct Case {
        int mode;
        uint8_t screen, choice, system;
        const char* enabled;  // the ids enabled, in the order above: 1 enabled
    };
    const Case cases[] = {
        {0, 0, 0, 0, "0000000"}, {1, 0, 0, 1, "1111110"}, {2, 0, 1, 1, "1001110"},
        {3, 1, 0, 0, "0000000"}, {4, 0, 1, 0, "0000000"}, {5, 0, 0, 0, "0000000"},
        {-1, 0, 0, 0, "0000000"},
    };
    for (const Case& c : cases) {
        mSpots::SetButtonMode(kButtonsReading);
        mSpots::SetButtonMode(c.mode);
        EXPECT_EQ(c.screen, gScreenSpotsActive) << c.mode;
        EXPECT_EQ(c.choice, gChoiceSpotsActive) << c.mode;
        EXPECT_EQ(c.system, gSystemSpotsActive) << c.mode;
        for (int i = 0; i < 7; ++i)
            EXPECT_EQ(c.enabled[i] == '1', gSystemSpots.spots[i].disabled == 0) << c.mode << " id " << ids[i];
    }
}

TEST_F(SpotsTest, TheBarUnderTheCursorHidesTheChoicesHotState) {
    image("opt.png", 200, 100, 3);
    image("bar.png", 40, 20, 3);
    // An option that reaches under the bar's button.
    gChoiceSpots.Add(3, 1, "opt.png", 500, 520);
    gSystemSpots.Add(3, 22, "bar.png", 548, 572);
    mSpots::SetButtonMode(kButtonsChoice);
    at(560, 580);
    mSpots::UpdateButtons();
    EXPECT_EQ(0, frameAt(510, 530));  // the option: not hot
    EXPECT_EQ(1, frameAt(550, 575));  // the bar's button: hot
    at(510, 530);
    mSpots::UpdateButtons();
    EXPECT_EQ(1, frameAt(510, 530));
}

TEST_F(SpotsTest, AChoiceUnderTheCursorHidesTheScreenTablesHotState) {
    image("big.png", 50, 50, 3);
    image("small.png", 10, 10, 3);
    gScreenSpots.Add(3, 5, "big.png", 0, 0);
    gChoiceSpots.Add(3, 1, "small.png", 0, 0);
    gScreenSpotsActive = 1;
    gChoiceSpotsActive = 1;
    // Over both: the option is hot, the screen's spot below it is not.
    at(5, 5);
    mSpots::UpdateButtons();
    EXPECT_EQ(1, frameAt(5, 5));
    EXPECT_EQ(0, frameAt(30, 30));
    // Over the screen's spot alone.
    at(30, 30);
    mSpots::UpdateButtons();
    EXPECT_EQ(1, frameAt(30, 30));
    EXPECT_EQ(0, frameAt(5, 5));
}

TEST_F(SpotsTest, TheBarIsDrawnStrictlyInsideItsArea) {
    image("bar.png", 40, 20, 3);
    gSystemSpots.Add(3, 22, "bar.png", 548, 572);
    mSpots::SetButtonMode(kButtonsReading);
    struct Case {
        int32_t x, y;
        bool drawn;
    };
    const Case cases[] = {
        {436, 600, false}, {437, 600, true}, {629, 600, true}, {630, 600, false},
        {500, 566, false}, {500, 567, true}, {500, 799, true}, {500, 800, false},
    };
    for (const Case& c : cases) {
        makeBackBuffer();
        at(c.x, c.y);
        mSpots::UpdateButtons();
        EXPECT_EQ(c.drawn ? 0 : -1, frameAt(550, 575)) << c.x << "," << c.y;
    }
    // Not while skipping or in auto mode.
    at(500, 600);
    for (uint8_t mode : {kReadSkip, kReadAuto}) {
        makeBackBuffer();
        gReadMode = mode;
        mSpots::UpdateButtons();
        EXPECT_EQ(-1, frameAt(550, 575));
    }
    gReadMode = kReadNormal;
}

TEST_F(SpotsTest, TheChoiceCanvasIsDrawnOverTheOptionsWhileTextsExist) {
    image("opt.png", 600, 60, 3);
    gChoiceSpots.Add(3, 1, "opt.png", 100, 160);
    gChoiceCanvas.Create(4, 600, 420);
    std::memset(gChoiceCanvas.pixels, 0, static_cast<size_t>(gChoiceCanvas.ByteCount()));
    uint8_t* p = gChoiceCanvas.pixels + (20 * 600 + 10) * 4;
    p[0] = 255;
    p[1] = p[2] = p[3] = 250;
    mSpots::SetButtonMode(kButtonsChoiceOnly);
    at(0, 0);
    mSpots::UpdateButtons();
    EXPECT_EQ(0, frameAt(110, 180));
    gChoiceCount = 1;
    mSpots::UpdateButtons();
    EXPECT_EQ(kOverlayColour, backPixel(110, 180));
    EXPECT_EQ(0, frameAt(111, 180));
}

// --- navigation

class Navigation : public SpotsTest {
protected:
    void SetUp() override {
        SpotsTest::SetUp();
        image("n.png", 20, 20, 1);
        // A 3 x 3 grid: ids 1 2 3 / 4 5 6 / 7 8 9, centres 100 apart from (110, 110).
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 3; ++col)
                table.Add(1, uint32_t(row * 3 + col + 1), "n.png", 100 + 100 * col, 100 + 100 * row);
    }
    // The id of the spot whose centre the cursor is on, 0 when none; and the command after it.
    uint32_t go(uint8_t& command) {
        table.Navigate(command);
        for (uint32_t i = 0; i < table.count; ++i) {
            const auto c = table.spots[i].GetCentre();
            if (c.x == gMousePos.x && c.y == gMousePos.y) return table.spots[i].id;
        }
        return 0;
    }
    uint32_t step(uint8_t command) { return go(command); }
    cSpotTable table;
};

TEST_F(Navigation, FromTheMiddleInEveryDirection) {
    const struct {
        uint8_t command;
        uint32_t to;
    } cases[] = {{kCmdLeft, 4}, {kCmdRight, 6}, {kCmdUp, 2}, {kCmdDown, 8}};
    for (const auto& c : cases) {
        at(110, 210);
        at(205, 205);  // anywhere on spot 5
        uint8_t command = c.command;
        EXPECT_EQ(c.to, go(command)) << int(c.command);
        EXPECT_EQ(c.command, command);
    }
    // Other commands change nothing.
    at(205, 205);
    moves().clear();
    uint8_t ok = kCmdOk;
    table.Navigate(ok);
    EXPECT_TRUE(moves().empty());
}

TEST_F(Navigation, NothingOnThatSideGoesBackToTheCurrentCentre) {
    at(103, 104);  // on spot 1, off its centre
    EXPECT_EQ(1u, step(kCmdLeft));
    at(103, 104);
    EXPECT_EQ(1u, step(kCmdUp));
    at(305, 305);
    EXPECT_EQ(9u, step(kCmdRight));
}

TEST_F(Navigation, WithoutACurrentSpotTheSearchStartsAtTheCursor) {
    at(150, 130);  // between 1, 2, 4 and 5, nearer to 1
    EXPECT_EQ(2u, step(kCmdRight));
    at(150, 130);
    EXPECT_EQ(4u, step(kCmdDown));
    // Equal scores from the middle between four spots: the later slot.
    at(160, 160);
    EXPECT_EQ(5u, step(kCmdRight));
    // Nothing to the left of the cursor: the nearest spot.
    at(50, 215);
    EXPECT_EQ(4u, step(kCmdLeft));
    at(400, 100);
    EXPECT_EQ(3u, step(kCmdRight));
}

TEST_F(Navigation, TiesGoToTheLaterSlotAndTheSecondaryScoreDecides) {
    cSpotTable t;
    // Current at centre (110, 110); two to the right with equal scores.
    t.Add(1, 1, "n.png", 100, 100);
    t.Add(1, 2, "n.png", 200, 90);
    t.Add(1, 3, "n.png", 200, 110);
    at(110, 110);
    uint8_t right = kCmdRight;
    t.Navigate(right);
    ASSERT_FALSE(moves().empty());
    EXPECT_EQ(210, moves().back().x);
    EXPECT_EQ(120, moves().back().y);  // slot 2 (id 3): the later one
    // Equal primary scores (50): the lower secondary wins whatever the order. A at (+100, 0):
    // secondary 100; B at (+60, +20): 20 + 30 = 50, secondary 60 + 10 = 70.
    for (int order = 0; order < 2; ++order) {
        cSpotTable u;
        u.Add(1, 1, "n.png", 100, 100);
        if (order == 0) {
            u.Add(1, 2, "n.png", 200, 100);
            u.Add(1, 3, "n.png", 160, 120);
        } else {
            u.Add(1, 3, "n.png", 160, 120);
            u.Add(1, 2, "n.png", 200, 100);
        }
        at(110, 110);
        uint8_t command = kCmdRight;
        u.Navigate(command);
        EXPECT_EQ(170, moves().back().x) << order;
        EXPECT_EQ(130, moves().back().y) << order;
    }
}

TEST_F(Navigation, DisabledSpotsAreNoTargets) {
    table.SetEnabled(6, false);
    at(205, 205);
    EXPECT_EQ(9u, step(kCmdRight));  // 3 and 9 tie: the later slot
    table.SetEnabled(3, false);
    table.SetEnabled(9, false);
    at(205, 205);
    EXPECT_EQ(5u, step(kCmdRight));  // back to the current centre
    // A disabled current spot is still the reference; the nearest enabled ones (2, 4, 8) tie.
    table.SetEnabled(5, false);
    at(205, 205);
    EXPECT_EQ(8u, step(kCmdRight));
}

TEST_F(Navigation, MarkedSpotsTurnUpAndDownIntoPageCommands) {
    table.Mark(2);
    table.Mark(8);
    table.Mark(6);
    at(205, 205);
    moves().clear();
    uint8_t up = kCmdUp;
    table.Navigate(up);
    EXPECT_EQ(kCmdPageUp, up);
    uint8_t down = kCmdDown;
    table.Navigate(down);
    EXPECT_EQ(kCmdPageDown, down);
    uint8_t right = kCmdRight;
    table.Navigate(right);
    EXPECT_EQ(kCmdRight, right);
    EXPECT_TRUE(moves().empty());
    // Without a current spot marked spots are skipped.
    at(160, 50);
    uint8_t d = kCmdDown;
    EXPECT_EQ(1u, go(d));  // 2 is marked
    EXPECT_EQ(kCmdDown, d);
    // The free search after an empty side skips them too.
    at(400, 200);
    EXPECT_EQ(3u, step(kCmdRight));
}

TEST_F(Navigation, NoSpotsNothingHappens) {
    cSpotTable empty;
    at(5, 5);
    uint8_t command = kCmdLeft;
    empty.Navigate(command);
    EXPECT_TRUE(moves().empty());
    EXPECT_EQ(kCmdLeft, command);
    // Only spots that can never be drawn or hit: no target either.
    cSpotTable dead;
    dead.Add(0, 1, "n.png", 100, 100);         // no frames
    dead.Add(1, 2, "missing.png", 200, 100);  // no pixels
    dead.Add(-2, 3, "n.png", 300, 100);        // negative frames
    dead.Add(40, 4, "n.png", 400, 100);        // frame height 0
    at(5, 5);
    dead.Navigate(command);
    EXPECT_TRUE(moves().empty());
}

TEST_F(Navigation, AZeroFrameSpotIsSkippedForTheNextOne) {
    cSpotTable t;
    t.Add(1, 1, "n.png", 100, 100);
    t.Add(0, 2, "n.png", 200, 100);
    t.Add(1, 3, "n.png", 400, 100);
    at(110, 110);
    uint8_t command = kCmdRight;
    t.Navigate(command);
    ASSERT_EQ(1u, moves().size());
    EXPECT_EQ(410, moves()[0].x);
}

TEST_F(Navigation, CoordinatesAtTheLimitsOf32Bits) {
    const int32_t max = std::numeric_limits<int32_t>::max();
    const int32_t min = std::numeric_limits<int32_t>::min();
    images()["edge.png"] = strip(20, 20, 1);
    cSpotTable t;
    t.Add(1, 1, "edge.png", max - 4, max - 4);  // centre (max + 6, max + 6): beyond 32 bits
    t.Add(1, 2, "edge.png", min, min);
    t.Add(1, 3, "edge.png", min, max - 4);
    t.Add(1, 4, "edge.png", max - 4, min);
    at(max - 1, max - 1);  // on spot 1
    EXPECT_TRUE(t.spots[0].HitTest());
    EXPECT_EQ(int64_t(max) + 6, t.spots[0].GetCentre().x);
    EXPECT_EQ(int64_t(min) + 10, t.spots[1].GetCentre().y);
    uint8_t left = kCmdLeft;
    t.Navigate(left);
    ASSERT_FALSE(moves().empty());
    EXPECT_EQ(min + 10, moves().back().x);  // spot 3, straight to the left
    EXPECT_EQ(max, moves().back().y);       // its centre's y does not fit: clamped
    at(min, min);
    uint8_t down = kCmdDown;
    t.Navigate(down);
    EXPECT_EQ(min + 10, moves().back().x);  // spot 3
    EXPECT_EQ(max, moves().back().y);
    at(min, min);
    uint8_t right = kCmdRight;
    t.Navigate(right);
    EXPECT_EQ(max, moves().back().x);  // spot 4
    EXPECT_EQ(min + 10, moves().back().y);
    // Nothing to the right of the cursor: the nearest by squared distance, which for spot 1 here
    // is about 2^65.
    cSpotTable u;
    u.Add(1, 1, "edge.png", min, min);
    u.Add(1, 2, "edge.png", max - 100, max - 8);
    at(max, max);
    uint8_t r = kCmdRight;
    u.Navigate(r);
    EXPECT_EQ(max - 90, moves().back().x);
    EXPECT_EQ(max, moves().back().y);
}

TEST_F(SpotsTest, NavigateButtonsUsesTheActiveTablesButNeverTheBar) {
    image("n.png", 20, 20, 1);
    gSystemSpots.Add(1, 22, "n.png", 500, 100);
    gChoiceSpots.Add(1, 1, "n.png", 100, 100);
    at(300, 110);
    uint8_t command = kCmdRight;
    mSpots::SetButtonMode(kButtonsReading);
    mSpots::NavigateButtons(command);
    EXPECT_TRUE(moves().empty());
    mSpots::SetButtonMode(kButtonsChoice);
    mSpots::NavigateButtons(command);
    ASSERT_EQ(1u, moves().size());
    EXPECT_EQ(110, moves()[0].x);
}
