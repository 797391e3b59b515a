// The message display driver's loops over a scripted input backend and a test clock: typing over
// time, the click that completes a message and the one that ends the wait, skip and auto mode, the
// system commands, the timed waits and the display modes.
#include <cstring>
#include <map>
#include <vector>

#include "base/appHooks.h"
#include "base/clock.h"
#include "base/input.h"
#include "base/moduleState.h"
#include "base/uiText.h"
#include "base/settings.h"
#include "fakeGlyphs.h"
#include "presentation/msgBox.h"
#include "presentation/msgDisplay.h"
#include "scenario/variableStore.h"
#include "testing.h"

namespace {
// Each poll moves the clock by 10 ms; commands are latched at given poll numbers (from 1).
struct Player {
    std::map<int, uint8_t> commands;
    int polls = 0;
    int quitAt = 5000;  // a loop that never ends fails instead of hanging
    std::vector<size_t> drawnAtPoll;  // characters drawn when each poll began
};
Player* gPlayer = nullptr;
cFakeGlyphs* gGlyphs = nullptr;
uint32_t gNow = 0;

uint32_t testClock() { return gNow; }

size_t charactersDrawn() {
    size_t n = 0;
    for (const auto& d : gGlyphs->drawn)
        if (d.y >= 70) ++n;  // below the name plate
    return n;
}

bool scriptedPoll(uint8_t, bool) {
    gNow += 10;
    ++gPlayer->polls;
    gPlayer->drawnAtPoll.push_back(charactersDrawn());
    if (gPlayer->polls >= gPlayer->quitAt) return false;
    auto it = gPlayer->commands.find(gPlayer->polls);
    if (it != gPlayer->commands.end()) setCommand(it->second);
    return true;
}

const InputBackend kBackend = {scriptedPoll, nullptr, nullptr, nullptr, nullptr};

class MsgDisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetEngineState();
        UserSettings.textShadow = 0;
        gPlayer = &player;
        gGlyphs = &glyphs;
        gNow = 100000;
        setClockSource(testClock);
        setInputBackend(&kBackend);
        setMsgGlyphs(&glyphs);
        gMsgBox.CreateFonts();
        ASSERT_TRUE(gMsgBox.boxImage.Create(4, 800, 200));
        std::memset(gMsgBox.boxImage.pixels, 0, 800 * 200 * 4);
        gMsgTextArea = kWindowTextArea;
    }
    void TearDown() override {
        gMsgBox.minchoFont.Reset();
        gMsgBox.gothicFont.Reset();
        gMsgBox.nameFont.Reset();
        setMsgGlyphs(nullptr);
        setInputBackend(nullptr);
        setClockSource(nullptr);
        resetEngineState();
    }
    // Polls spent before the wait returned.
    int show(const char* text, bool read = false) {
        EXPECT_TRUE(displayMessage("", text, false, read));
        return player.polls;
    }

    Player player;
    cFakeGlyphs glyphs;
};

const char* kTenCharacters = "abcdefghij";
}  // namespace

TEST_F(MsgDisplayTest, TypesOverTimeThenWaitsForAClick) {
    // Speed 2: 8 ms per unit, 4 units a character: 32 ms each, 320 ms for ten.
    UserSettings.unreadTextSpeed = 2;
    player.commands[60] = kCmdClick;
    EXPECT_EQ(60, show(kTenCharacters));
    // Characters appear over time: after 90 ms a target of 11 units, so the third character (the
    // one that reaches it) is drawn too; after 100 ms exactly 12: still three.
    EXPECT_EQ(0u, player.drawnAtPoll[0]);
    EXPECT_EQ(3u, player.drawnAtPoll[9]);
    EXPECT_EQ(3u, player.drawnAtPoll[10]);
    EXPECT_EQ(4u, player.drawnAtPoll[11]);
    EXPECT_LT(player.drawnAtPoll[20], 10u);
    EXPECT_EQ(10u, player.drawnAtPoll[40]);
    for (size_t i = 1; i < player.drawnAtPoll.size(); ++i)
        EXPECT_GE(player.drawnAtPoll[i], player.drawnAtPoll[i - 1]);
}

TEST_F(MsgDisplayTest, ReadSpeedForTextReadBefore) {
    UserSettings.unreadTextSpeed = 0;
    UserSettings.readTextSpeed = 4;
    player.commands[3] = kCmdClick;
    show(kTenCharacters, true);
    EXPECT_EQ(10u, player.drawnAtPoll[1]);  // all in the first frame
}

TEST_F(MsgDisplayTest, ClickCompletesTheMessageThenASecondClickEndsTheWait) {
    UserSettings.unreadTextSpeed = 0;  // 96 ms a character
    player.commands[2] = kCmdClick;
    player.commands[6] = kCmdOk;
    EXPECT_EQ(6, show(kTenCharacters));
    EXPECT_LT(player.drawnAtPoll[1], 10u);
    EXPECT_EQ(10u, player.drawnAtPoll[2]);
}

TEST_F(MsgDisplayTest, OtherCommandsDoNotEndTheWait) {
    UserSettings.unreadTextSpeed = 4;
    player.commands[3] = kCmdLeft;
    player.commands[5] = kCmdCancel;
    player.commands[8] = kCmdAdvance;
    EXPECT_EQ(8, show(kTenCharacters));
}

TEST_F(MsgDisplayTest, SkipModeShowsAllAndDoesNotWait) {
    gReadMode = kReadSkip;
    EXPECT_EQ(1, show(kTenCharacters));
    EXPECT_EQ(10u, charactersDrawn());
    // The skip command itself latched while typing.
    gReadMode = kReadNormal;
    player = Player();
    player.commands[2] = kCmdSkipMode;
    UserSettings.unreadTextSpeed = 0;
    glyphs.drawn.clear();
    EXPECT_EQ(2, show(kTenCharacters));
    EXPECT_EQ(10u, charactersDrawn());
}

TEST_F(MsgDisplayTest, AutoModeWaitsTheDelayOfItsSpeed) {
    UserSettings.unreadTextSpeed = 4;
    gReadMode = kReadAuto;
    UserSettings.autoSpeed = 10;  // no delay: the first frame after any time passed
    int quick = show(kTenCharacters);
    EXPECT_LE(quick, 4);
    player = Player();
    UserSettings.autoSpeed = 9;  // 700 ms
    int slow = show(kTenCharacters);
    EXPECT_GE(slow * 10, 700);
    EXPECT_LE(slow * 10, 760);
}

TEST_F(MsgDisplayTest, AutoModeStartedDuringTheWaitGoesOn) {
    // The command that starts auto mode stays latched; the wait then times the message: 700 ms
    // from the end of typing (poll 1).
    UserSettings.unreadTextSpeed = 4;
    UserSettings.autoSpeed = 9;
    player.commands[5] = kCmdAutoMode;
    int polls = show(kTenCharacters);
    EXPECT_EQ(72, polls);
    EXPECT_EQ(kReadAuto, gReadMode);
}

TEST_F(MsgDisplayTest, QuitEndsEveryLoop) {
    UserSettings.unreadTextSpeed = 0;
    player.quitAt = 3;
    EXPECT_EQ(3, show(kTenCharacters));
    player = Player();
    EXPECT_EQ(0, show(kTenCharacters));  // quit stays seen
}

// The exit command asks the application to close; the answer decides whether the wait ends.
int gQuitRequests = 0;
bool gQuitAccepted = true;
const AppHooks kQuitHooks = {[] { return ++gQuitRequests, gQuitAccepted; }, nullptr, nullptr,
                             nullptr, nullptr, nullptr};

TEST_F(MsgDisplayTest, ExitCommandEndsTheWait) {
    setAppHooks(&kQuitHooks);
    gQuitRequests = 0;
    gQuitAccepted = true;
    UserSettings.unreadTextSpeed = 4;
    player.commands[4] = kCmdExit;
    EXPECT_EQ(4, show(kTenCharacters));
    EXPECT_EQ(1, gQuitRequests);
    setAppHooks(nullptr);
}

TEST_F(MsgDisplayTest, DeclinedExitKeepsTheMessage) {
    setAppHooks(&kQuitHooks);
    gQuitAccepted = false;
    UserSettings.unreadTextSpeed = 4;
    // While typing, and again in the click wait: the player stays each time, and only the click
    // ends the message.
    player.commands[4] = kCmdExit;
    player.commands[60] = kCmdExit;
    player.commands[90] = kCmdClick;
    gQuitRequests = 0;
    EXPECT_EQ(90, show(kTenCharacters));
    EXPECT_EQ(2, gQuitRequests);
    setAppHooks(nullptr);
}

TEST_F(MsgDisplayTest, SystemCommandsAreConsumedOutsideSystemMode) {
    player.commands[1] = kCmdCancel;  // leaves the backlog at its first poll
    setCommand(kCmdBacklog);
    EXPECT_FALSE(handleSystemCommand(kInputReading));
    EXPECT_EQ(kCmdNone, getCommand());
    setCommand(kCmdPageUp);
    EXPECT_FALSE(handleSystemCommand(kInputReading));
    EXPECT_EQ(kCmdNone, getCommand());
    setAppHooks(&kQuitHooks);
    gQuitAccepted = true;
    setCommand(kCmdExit);
    EXPECT_TRUE(handleSystemCommand(kInputReading));
    setAppHooks(nullptr);
    // Display mode system runs none and consumes none.
    MsgWindowMode = 3;
    setCommand(kCmdBacklog);
    EXPECT_FALSE(handleSystemCommand(kInputReading));
    EXPECT_EQ(kCmdBacklog, getCommand());
    MsgWindowMode = 0;
    clearCommand();
    EXPECT_FALSE(handleSystemCommand(kInputReading));
}

TEST_F(MsgDisplayTest, HiddenWindowComesBackOnAnyCommand) {
    player.commands[4] = kCmdClick;
    setCommand(kCmdHideWindow);
    EXPECT_FALSE(handleSystemCommand(kInputReading));
    EXPECT_EQ(4, player.polls);
    EXPECT_EQ(kCmdNone, getCommand());  // the click that brought it back does nothing else
}

TEST_F(MsgDisplayTest, SceneReplayGuardsTheSaveCommands) {
    resetVariableStore();
    setVariableName(VariableKind::Local, 0, uiText(UiText::VarSceneReplay));
    setVariable(uiText(UiText::VarSceneReplay), 1);
    for (uint8_t command : {kCmdQuickSave, kCmdQuickLoad, kCmdSaveScreen, kCmdLoadScreen}) {
        setCommand(command);
        EXPECT_FALSE(handleSystemCommand(kInputReading));
        EXPECT_EQ(kCmdNone, getCommand());
    }
    resetVariableStore();
}

TEST_F(MsgDisplayTest, ShowMessageLineSplitsNameAndMessage) {
    UserSettings.unreadTextSpeed = 4;
    player.commands[2] = kCmdClick;
    EXPECT_TRUE(showMessageLine("Aki:a:b", false));
    // The name plate ("Aki" centred on 142 at y = 18), then "a:b".
    ASSERT_GE(glyphs.drawn.size(), 6u);
    EXPECT_EQ(124, glyphs.drawn[0].x);
    EXPECT_EQ(18, glyphs.drawn[0].y);
    EXPECT_EQ(static_cast<uint32_t>(':'), glyphs.drawn[4].code);
    EXPECT_EQ(70, glyphs.drawn[4].y);
}

TEST_F(MsgDisplayTest, ModesWithoutTextShowNothing) {
    for (uint8_t mode : {uint8_t(2), uint8_t(3), uint8_t(4)}) {
        MsgWindowMode = mode;
        EXPECT_TRUE(showMessageLine("Aki:hello", false));
        EXPECT_EQ(0, player.polls) << int(mode);
        EXPECT_TRUE(glyphs.drawn.empty());
    }
}

TEST_F(MsgDisplayTest, TimedWaits) {
    // Effects off in adv: no wait at all.
    UserSettings.screenEffects = 0;
    waitClick(1000);
    EXPECT_EQ(0, player.polls);
    UserSettings.screenEffects = 1;
    // A positive time waits it out, clicks or not.
    player.commands[3] = kCmdClick;
    waitClick(1000);
    EXPECT_EQ(101, player.polls);
    EXPECT_EQ(kCmdNone, getCommand());
    // 0 waits for any command.
    player = Player();
    player.commands[7] = kCmdOk;
    waitClick(0);
    EXPECT_EQ(7, player.polls);
    EXPECT_EQ(kCmdNone, getCommand());
    // In display mode system the effects switch does not matter.
    player = Player();
    UserSettings.screenEffects = 0;
    MsgWindowMode = 3;
    waitClick(50);
    EXPECT_EQ(6, player.polls);
}
