// The choice screen's loop over scripted input and a test clock: clicks, OK from the keyboard
// over an option, the bar or nothing, arrow keys, system commands run in place, the ways a choice
// ends without an option, skip mode across a choice, display mode system; and beginChoice over a
// data folder with map files.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "../files/winTempFolder.h"
#include "../graphics/png/pngBuilder.h"
#include "base/appHooks.h"
#include "base/clock.h"
#include "base/displayMode.h"
#include "base/input.h"
#include "base/moduleState.h"
#include "base/settings.h"
#include "fakeGlyphs.h"
#include "files/archiveIndex.h"
#include "presentation/choiceScreens.h"
#include "scenario/scriptState.h"
#include "spotFixtures.h"
#include "testing.h"

using namespace spotTest;

namespace {
constexpr uint32_t kWmLButtonDown = 0x0201;
constexpr uint32_t kWmLButtonUp = 0x0202;

// What happens at a poll (counted from 1).
struct Step {
    bool move = false;
    int32_t x = 0, y = 0;
    bool press = false, release = false;
    uint8_t command = kCmdNone;
};
struct Player {
    std::map<int, std::vector<Step>> steps;
    int polls = 0;
    int quitAt = 3000;  // a loop that never ends fails instead of hanging
    std::function<void(int poll)> onPoll;
};
Player* gPlayer = nullptr;
uint32_t gNow = 0;

bool scriptedPoll(uint8_t, bool) {
    gNow += 10;
    ++gPlayer->polls;
    if (gPlayer->polls >= gPlayer->quitAt) return false;
    auto it = gPlayer->steps.find(gPlayer->polls);
    if (it != gPlayer->steps.end()) {
        for (const Step& s : it->second) {
            if (s.move) gMousePos = {s.x, s.y};
            if (s.press) mouseMessageToCommand(kWmLButtonDown, 0, 0);
            if (s.release) mouseMessageToCommand(kWmLButtonUp, 0, 0);
            if (s.command) setCommand(s.command);
        }
    }
    if (gPlayer->onPoll) gPlayer->onPoll(gPlayer->polls);
    return true;
}
const InputBackend kBackend = {scriptedPoll, nullptr, nullptr, nullptr, nullptr};

bool gQuitAnswer = false;
int gQuitAsked = 0;
const AppHooks kHooks = {
    [] {
        ++gQuitAsked;
        return gQuitAnswer;
    },
    nullptr, nullptr, nullptr, nullptr, nullptr,
};

// Centre of text row n.
constexpr int32_t rowX = 400;
int32_t rowY(int n) { return 190 + 70 * n; }

class ChoiceScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetEngineState();
        install();
        images()["sys_select_item.png"] = strip(600, 60, 3);
        images()["sys_box_config.png"] = strip(40, 20, 3);
        images()["icon.png"] = strip(40, 40, 4);
        setButtonHandlers(mSpots::PressButtons, mSpots::ReleaseButtons);
        mSpots::InitSystemButtons();
        setTextGlyphs(&glyphs);
        gPlayer = &player;
        gNow = 5000;
        setClockSource([] { return gNow; });
        setInputBackend(&kBackend);
        setAppHooks(&kHooks);
        gQuitAnswer = false;
        gQuitAsked = 0;
        makeBackBuffer();
        setDefaultSettings();
    }
    void TearDown() override {
        setAppHooks(nullptr);
        setInputBackend(nullptr);
        setClockSource(nullptr);
        setTextGlyphs(nullptr);
        setButtonHandlers(nullptr, nullptr);
        uninstall();
        gBackBuffer.Release();
        resetEngineState();
    }
    void at(int poll, Step s) { player.steps[poll].push_back(s); }
    void moveAt(int poll, int32_t x, int32_t y) {
        Step s;
        s.move = true;
        s.x = x;
        s.y = y;
        at(poll, s);
    }
    // Move, then press and release on the next two polls (as the harness does: move, wait, click).
    void clickAt(int poll, int32_t x, int32_t y) {
        moveAt(poll, x, y);
        Step p;
        p.press = true;
        at(poll + 1, p);
        Step r;
        r.release = true;
        at(poll + 2, r);
    }
    void commandAt(int poll, uint8_t command) {
        Step s;
        s.command = command;
        at(poll, s);
    }
    // A text choice of these option lines, numbered as the interpreter numbers them.
    static int32_t textChoice(const std::vector<std::string>& lines) {
        EXPECT_TRUE(beginChoice(""));
        int32_t n = 0;
        for (const std::string& line : lines)
            if (!line.empty() && line[0] != ';') addChoiceOption(++n, line.c_str());
        return runChoice();
    }
    void expectCleanedUp() {
        EXPECT_EQ(0u, gChoiceSpots.count);
        EXPECT_EQ(0u, gChoiceCount);
        EXPECT_EQ(kCmdNone, getCommand());
        EXPECT_EQ(-1, getSelectedIndex());
    }

    Player player;
    cFakeGlyphs glyphs;
    const std::vector<std::string> kThree = {"First", "Second 0", "Third"};
};
}  // namespace

TEST_F(ChoiceScreenTest, AClickOnTheSecondRowTakesOptionThree) {
    clickAt(2, 10, 10);  // beside the options: a click that does nothing
    clickAt(6, rowX, rowY(1));
    EXPECT_EQ(3, textChoice(kThree));
    EXPECT_EQ(8, player.polls);
    expectCleanedUp();
}

TEST_F(ChoiceScreenTest, OkFromTheKeyboardTakesTheOptionUnderTheCursor) {
    moveAt(3, rowX, rowY(0));
    commandAt(4, kCmdOk);
    EXPECT_EQ(1, textChoice(kThree));
    EXPECT_EQ(4, player.polls);
    expectCleanedUp();
}

TEST_F(ChoiceScreenTest, OkOverTheBarOrOverNothingDoesNothing) {
    for (const Step where : {Step{true, 560, 580}, Step{true, 10, 10}, Step{true, 400, 400}}) {
        player = Player();
        at(3, where);
        commandAt(4, kCmdOk);
        moveAt(8, rowX, rowY(1));
        commandAt(9, kCmdOk);
        EXPECT_EQ(3, textChoice(kThree)) << where.x;
        EXPECT_EQ(9, player.polls) << where.x;
    }
}

TEST_F(ChoiceScreenTest, ArrowKeysFromACursorOffTheOptions) {
    moveAt(2, 10, 10);
    commandAt(3, kCmdDown);  // onto the nearest option, the first row
    commandAt(5, kCmdDown);  // the second row
    commandAt(7, kCmdOk);
    EXPECT_EQ(3, textChoice(kThree));
    ASSERT_EQ(2u, moves().size());
    EXPECT_EQ(rowY(0), moves()[0].y);
    EXPECT_EQ(rowY(1), moves()[1].y);
    // Up from the first row: nothing above it, the cursor stays on it.
    player = Player();
    moves().clear();
    moveAt(2, rowX + 100, rowY(0));
    commandAt(3, kCmdUp);
    commandAt(5, kCmdOk);
    EXPECT_EQ(1, textChoice(kThree));
    ASSERT_EQ(1u, moves().size());
    EXPECT_EQ(rowX, moves()[0].x);
}

TEST_F(ChoiceScreenTest, ASystemCommandRunsInPlaceAndTheButtonModeComesBack) {
    commandAt(3, kCmdBacklog);
    commandAt(5, kCmdCancel);  // the backlog's first frame: leave it
    std::vector<int> modes;
    player.onPoll = [&](int) { modes.push_back(gChoiceSpotsActive * 10 + gSystemSpotsActive); };
    clickAt(6, rowX, rowY(0));
    EXPECT_EQ(1, textChoice(kThree));
    ASSERT_GE(modes.size(), 6u);
    EXPECT_EQ(0, modes[3]);   // in the backlog, neither the options nor the bar
    EXPECT_EQ(11, modes[5]);  // choice table and bar active again after the command
}

TEST_F(ChoiceScreenTest, BackToTheTitleEndsTheChoiceWithZeroAfterCleanUp) {
    commandAt(3, kCmdTitle);
    EXPECT_EQ(0, textChoice(kThree));
    EXPECT_TRUE(scriptAbortFlag);
    EXPECT_EQ(3, player.polls);
    expectCleanedUp();
}

TEST_F(ChoiceScreenTest, QuitEndsTheChoiceWithZeroAfterCleanUp) {
    player.quitAt = 4;
    moveAt(2, rowX, rowY(0));
    EXPECT_EQ(0, textChoice(kThree));
    expectCleanedUp();
    EXPECT_TRUE(gQuitReceived);
}

TEST_F(ChoiceScreenTest, ADeclinedExitKeepsTheChoice) {
    commandAt(3, kCmdExit);
    clickAt(5, rowX, rowY(1));
    EXPECT_EQ(3, textChoice(kThree));
    EXPECT_EQ(1, gQuitAsked);
}

TEST_F(ChoiceScreenTest, AnAcceptedExitEndsTheChoiceWhenTheQuitArrives) {
    gQuitAnswer = true;
    commandAt(3, kCmdExit);
    player.quitAt = 5;
    clickAt(6, rowX, rowY(1));
    EXPECT_EQ(0, textChoice(kThree));
    EXPECT_EQ(1, gQuitAsked);
    EXPECT_EQ(5, player.polls);
    expectCleanedUp();
}

TEST_F(ChoiceScreenTest, SkipModeAcrossAChoice) {
    const struct {
        bool skipping;
        uint8_t stopSwitch;
        uint8_t after;
    } cases[] = {{true, 0, kReadSkip}, {true, 1, kReadNormal}, {false, 0, kReadNormal},
                 {false, 1, kReadNormal}};
    for (const auto& c : cases) {
        player = Player();
        uint8_t during = 99;
        player.onPoll = [&](int poll) {
            if (poll == 2) during = gReadMode;
        };
        gReadMode = c.skipping ? kReadSkip : kReadNormal;
        UserSettings.endSkipAfterChoice = c.stopSwitch;
        moveAt(2, rowX, rowY(0));
        commandAt(3, kCmdOk);
        EXPECT_EQ(1, textChoice(kThree));
        EXPECT_EQ(kReadNormal, during);
        EXPECT_EQ(c.after, gReadMode) << c.skipping << " " << int(c.stopSwitch);
    }
}

TEST_F(ChoiceScreenTest, DisplayModes) {
    // System: the bar takes no clicks and the mode stays.
    MsgWindowMode = kModeSystem;
    clickAt(2, 560, 580);
    clickAt(6, rowX, rowY(0));
    std::vector<uint8_t> latched;
    player.onPoll = [&](int) { latched.push_back(getCommand()); };
    EXPECT_EQ(1, textChoice(kThree));
    EXPECT_EQ(kModeSystem, MsgWindowMode);
    for (uint8_t c : latched) EXPECT_NE(kCmdConfig, c);
    EXPECT_EQ(kCmdClick, latched[2]);
    // Outside system mode the bar's button latches its command, and a novel mode becomes adv.
    player = Player();
    MsgWindowMode = kModeNovel;
    clickAt(2, 560, 580);
    clickAt(6, rowX, rowY(0));
    latched.clear();
    player.onPoll = [&](int) { latched.push_back(getCommand()); };
    EXPECT_EQ(1, textChoice(kThree));
    EXPECT_EQ(kModeAdv, MsgWindowMode);
    EXPECT_EQ(kCmdConfig, latched[3]);
}

TEST_F(ChoiceScreenTest, AChoiceWithoutOptionsWaitsForASystemCommand) {
    commandAt(3, kCmdOk);
    clickAt(4, rowX, rowY(0));
    commandAt(9, kCmdTitle);
    EXPECT_EQ(0, textChoice({}));
    EXPECT_EQ(9, player.polls);
}

// --- beginChoice over a data folder, the map files and button images read from it

// An RGBA PNG of a 4-byte image.
std::vector<unsigned char> pngOf(const cSprite& image) {
    Bytes raw;
    for (int i = 0; i < image.width * image.height; ++i) {
        const uint8_t* p = image.pixels + static_cast<size_t>(i) * 4;
        raw.insert(raw.end(), {p[3], p[2], p[1], p[0]});
    }
    PngParts parts;
    parts.header = ihdr(static_cast<uint32_t>(image.width), static_cast<uint32_t>(image.height), 6);
    parts.stream = zlibCompress(filterRows(raw, image.width, image.height, 4, {0}));
    return buildPng(parts);
}

class MapChoiceTest : public ChoiceScreenTest {
protected:
    void SetUp() override {
        ChoiceScreenTest::SetUp();
        setSpotImageLoader(nullptr);  // the real files from here on
        gArchiveIndex.clear();
        ASSERT_TRUE(setDataFolder(folder.path().c_str()));
        TempFolder::makeFolder(folder / "map");
        TempFolder::makeFolder(folder / "img");
    }
    void writeMap(const char* name, const std::string& text) {
        ASSERT_TRUE(TempFolder::writeFile(folder / "map\\" + name, text));
    }
    void writeImage(const char* name, const cSprite& image) {
        ASSERT_TRUE(TempFolder::writeFile(folder / "img\\" + name, pngOf(image)));
    }
    TempFolder folder;
};

TEST_F(MapChoiceTest, AMapChoiceWithHostileLinesEnabledDisabledAndDroppedOptions) {
    writeImage("town.png", strip(60, 60, 4));
    writeMap("town.map",
             "; the town\r\n"
             "ICON:home 4 town.png\r\n"
             "icon:shop 4 town.png\r\n"
             "ICON :lost 4 town.png\r\n"
             "nonsense line\r\n"
             "PLACE:park 100 100\r\n"
             "PLACE:street 300 100\r\n"
             "PLACE:square 99999999999 12ab\r\n"
             "PLACE:park 200 300\r\n");
    ASSERT_TRUE(beginChoice("town.map more words"));
    EXPECT_TRUE(gMapChoice);
    addChoiceOption(1, "home park");
    addChoiceOption(2, "shop street 1 0");  // shown disabled
    addChoiceOption(3, "home street 0");    // dropped
    addChoiceOption(4, "lost park");        // no such icon
    ASSERT_EQ(2u, gChoiceSpots.count);
    EXPECT_EQ(200, gChoiceSpots.spots[0].x);  // the later PLACE line
    // The disabled option ignores a click and is drawn with frame 3.
    clickAt(2, 310, 110);
    std::vector<int> frames;
    player.onPoll = [&](int poll) {
        if (poll == 5) frames.push_back(frameAt(310, 110));
    };
    clickAt(6, 210, 310);
    EXPECT_EQ(1, runChoice());
    ASSERT_EQ(1u, frames.size());
    EXPECT_EQ(3, frames[0]);
    EXPECT_EQ(8, player.polls);
    EXPECT_TRUE(gIconTable.empty());
}

TEST_F(MapChoiceTest, AMissingMapFallsBackToTextOptionsOnAFreshCanvas) {
    EXPECT_FALSE(beginChoice("none.map"));
    EXPECT_FALSE(gMapChoice);
    ASSERT_TRUE(gChoiceCanvas.HasPixels());
    addChoiceOption(1, "home");
    ASSERT_EQ(1u, gChoiceSpots.count);
    EXPECT_EQ(160, gChoiceSpots.spots[0].y);
    EXPECT_EQ(4u, glyphs.drawn.size());  // "home" drawn into the canvas
    EXPECT_EQ(0xFF, gChoiceCanvas.pixels[(static_cast<size_t>(glyphs.drawn[0].y) * 600 + glyphs.drawn[0].x) * 4]);
    EXPECT_FALSE(beginChoice(nullptr));
}

TEST_F(MapChoiceTest, ATextChoiceStartsWithoutTheOptionsOfASelectThatNeverRan) {
    ASSERT_TRUE(beginChoice(""));
    addChoiceOption(1, "stale");
    ASSERT_TRUE(beginChoice("  "));
    EXPECT_EQ(0u, gChoiceSpots.count);
    addChoiceOption(1, "fresh");
    ASSERT_EQ(1u, gChoiceSpots.count);
    EXPECT_EQ(160, gChoiceSpots.spots[0].y);
}
