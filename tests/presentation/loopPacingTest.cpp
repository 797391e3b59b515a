// The waiting loops paced, over a test clock that only a wait moves: the wait ends at the next due
// change or at once when input arrives, as the program's message queue wait does. A loop presents
// only frames that differ (the prompt's frames at a message, typed characters, a hot button), polls
// a handful of times instead of every millisecond, and sees a click at the moment it arrives.
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/framePacer.h"
#include "base/input.h"
#include "base/moduleState.h"
#include "base/present.h"
#include "base/settings.h"
#include "fakeGlyphs.h"
#include "graphics/screen.h"
#include "presentation/backlog.h"
#include "presentation/backlogScreen.h"
#include "presentation/choiceScreens.h"
#include "presentation/msgBox.h"
#include "presentation/msgDisplay.h"
#include "presentation/screens/saveSlots.h"
#include "presentation/timedClick.h"
#include "scenario/anime/pictureSlots.h"
#include "scenario/variableStore.h"
#include "spotFixtures.h"
#include "testing.h"

namespace {
constexpr uint32_t kWmLButtonDown = 0x0201;
constexpr uint32_t kWmLButtonUp = 0x0202;
constexpr uint32_t kStart = 100000;

// Something the player does at a clock time.
struct Event {
    uint32_t at;
    std::function<void()> act;
};

struct World {
    std::vector<Event> events;  // in time order
    size_t nextEvent = 0;
    uint32_t now = kStart;
    int polls = 0;
    int pollLimit = 2000;  // a loop that spins without waiting fails instead of hanging
    std::vector<uint32_t> waits;
    std::vector<uint32_t> presents;  // clock times of the presented frames
    std::vector<uint32_t> typed;     // clock times of the characters drawn
};
World* gWorld = nullptr;

// The message queue's wait: until the time passes or the next input arrives.
void testWait(uint32_t ms) {
    gWorld->waits.push_back(ms);
    uint32_t until = gWorld->now + ms;
    if (gWorld->nextEvent < gWorld->events.size()) {
        const uint32_t at = gWorld->events[gWorld->nextEvent].at;
        if (static_cast<int32_t>(until - at) > 0) until = at;
    }
    if (static_cast<int32_t>(until - gWorld->now) > 0) gWorld->now = until;
}

bool testPoll(uint8_t, bool) {
    ++gWorld->polls;
    while (gWorld->nextEvent < gWorld->events.size() &&
           static_cast<int32_t>(gWorld->now - gWorld->events[gWorld->nextEvent].at) >= 0)
        gWorld->events[gWorld->nextEvent++].act();
    return gWorld->polls < gWorld->pollLimit;
}
const InputBackend kBackend = {testPoll, nullptr, nullptr, nullptr, nullptr};

void countPresent() { gWorld->presents.push_back(gWorld->now); }

// Glyphs that note when each one is drawn.
class cTimedGlyphs : public cFakeGlyphs {
public:
    bool Blit(cImage& image, int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b) override {
        if (y >= 70) gWorld->typed.push_back(gWorld->now);  // below the name plate
        return cFakeGlyphs::Blit(image, x, y, r, g, b);
    }
};

class LoopPacing : public ::testing::Test {
protected:
    void SetUp() override {
        resetEngineState();
        gAnimeDirty = 0;  // the scene stands still
        gWorld = &world;
        UserSettings.textShadow = 0;
        setClockSource([] { return gWorld->now; });
        setInputBackend(&kBackend);
        setInputWait(testWait);
        setPresentHooks(countPresent, nullptr);
        setMsgGlyphs(&glyphs);
        setTextGlyphs(&glyphs);
        gMsgBox.CreateFonts();
        ASSERT_TRUE(gMsgBox.boxImage.Create(4, 800, 200));
        std::memset(gMsgBox.boxImage.pixels, 0, 800 * 200 * 4);
        ASSERT_TRUE(gMsgBox.promptStrip.Create(4, 24, 192));
        gMsgTextArea = kWindowTextArea;
        spotTest::install();
        spotTest::images()["sys_select_item.png"] = spotTest::strip(600, 60, 3);
        spotTest::images()["sys_box_config.png"] = spotTest::strip(40, 20, 3);
        setButtonHandlers(mSpots::PressButtons, mSpots::ReleaseButtons);
        mSpots::InitSystemButtons();
        spotTest::makeBackBuffer();
        gMousePos = {10, 10};
    }
    void TearDown() override {
        gMsgBox.minchoFont.Reset();
        gMsgBox.gothicFont.Reset();
        gMsgBox.nameFont.Reset();
        gMsgBox.promptStrip.Release();
        setButtonHandlers(nullptr, nullptr);
        spotTest::uninstall();
        gBackBuffer.Release();
        setTextGlyphs(nullptr);
        setMsgGlyphs(nullptr);
        setPresentHooks(nullptr, nullptr);
        setInputWait(nullptr);
        setInputBackend(nullptr);
        setClockSource(nullptr);
        resetEngineState();
    }
    void at(uint32_t ms, std::function<void()> act) { world.events.push_back({kStart + ms, std::move(act)}); }
    void commandAt(uint32_t ms, uint8_t command) {
        at(ms, [command] { setCommand(command); });
    }
    void clickAt(uint32_t ms, int32_t x, int32_t y) {
        at(ms, [x, y] { gMousePos = {x, y}; });
        at(ms + 50, [] { mouseMessageToCommand(kWmLButtonDown, 0, 0); });
        at(ms + 60, [] { mouseMessageToCommand(kWmLButtonUp, 0, 0); });
    }
    uint32_t elapsed() const { return world.now - kStart; }
    // Presented frames at or after a time.
    size_t presentsFrom(uint32_t ms) const {
        size_t n = 0;
        for (uint32_t t : world.presents)
            if (static_cast<int32_t>(t - (kStart + ms)) >= 0) ++n;
        return n;
    }

    World world;
    cTimedGlyphs glyphs;
};
}  // namespace

TEST_F(LoopPacing, AtAMessageAFrameForEachPromptFrameAndAClickEndsTheWaitAtOnce) {
    UserSettings.unreadTextSpeed = 4;  // all at once
    commandAt(3037, kCmdClick);
    EXPECT_TRUE(displayMessage("", "abc", false, false));
    // The click ended the wait when it came.
    EXPECT_EQ(3037u, elapsed());
    EXPECT_EQ(kCmdClick, getCommand());
    // The prompt's frame changes at every multiple of 128 ms of the clock: a frame then, and
    // nothing between.
    ASSERT_GE(world.presents.size(), 2u);
    std::vector<uint32_t> waiting;
    for (uint32_t t : world.presents)
        if (t > kStart) waiting.push_back(t);
    ASSERT_FALSE(waiting.empty());
    for (size_t i = 0; i < waiting.size(); ++i) EXPECT_EQ(0u, waiting[i] % 128) << waiting[i];
    EXPECT_EQ(static_cast<size_t>((kStart + 3037) / 128 - kStart / 128), waiting.size());
    // A poll per frame, not one per millisecond.
    EXPECT_LT(world.polls, 40);
    for (uint32_t w : world.waits) EXPECT_LE(w, 128u);
}

TEST_F(LoopPacing, TypingPresentsEachCharacterWhenItIsDueAndWaitsBetween) {
    UserSettings.unreadTextSpeed = 0;  // 24 ms a unit, 96 ms a character
    commandAt(3000, kCmdClick);
    EXPECT_TRUE(displayMessage("", "abcdefghij", false, false));
    // Character k is drawn as the typing target passes 4k units: at 24 + 96k ms.
    ASSERT_EQ(10u, world.typed.size());
    for (uint32_t k = 0; k < 10; ++k) EXPECT_EQ(kStart + 24 + 96 * k, world.typed[k]) << k;
    // Each is presented then.
    for (uint32_t k = 0; k < 10; ++k) {
        bool shown = false;
        for (uint32_t t : world.presents) shown = shown || t == world.typed[k];
        EXPECT_TRUE(shown) << k;
    }
    EXPECT_LT(world.polls, 60);
}

TEST_F(LoopPacing, AClickWhileTypingCompletesTheMessageAtOnce) {
    UserSettings.unreadTextSpeed = 0;
    commandAt(250, kCmdClick);
    commandAt(2000, kCmdClick);
    EXPECT_TRUE(displayMessage("", "abcdefghij", false, false));
    ASSERT_EQ(10u, world.typed.size());
    EXPECT_EQ(kStart + 216, world.typed[2]);
    for (uint32_t k = 3; k < 10; ++k) EXPECT_EQ(kStart + 250, world.typed[k]) << k;
    EXPECT_EQ(2000u, elapsed());
}

TEST_F(LoopPacing, AutoModeEndsTheWaitAtItsTime) {
    UserSettings.unreadTextSpeed = 4;
    UserSettings.autoSpeed = 5;  // 3500 ms
    gReadMode = kReadAuto;
    EXPECT_TRUE(displayMessage("", "abc", false, false));
    EXPECT_EQ(3501u, elapsed());
    EXPECT_LT(world.polls, 40);
}

TEST_F(LoopPacing, ATimedWaitEndsAtItsTimeWithOneFrame) {
    for (int32_t ms : {1, 100, 499, 500, 1000, 2500}) {
        world = World();
        waitClick(ms);
        EXPECT_EQ(static_cast<uint32_t>(ms) + 1, elapsed()) << ms;
        EXPECT_EQ(1u, world.presents.size()) << ms;
        EXPECT_LE(world.polls, 2 + ms / 500 + 1) << ms;
    }
    // A wait for a click: nothing drawn until it comes, and it ends then.
    world = World();
    commandAt(7000, kCmdOk);
    waitClick(0);
    EXPECT_EQ(7000u, elapsed());
    EXPECT_EQ(1u, world.presents.size());
    EXPECT_LE(world.polls, 20);
}

TEST_F(LoopPacing, AChoiceDrawsOnlyWhenAButtonChanges) {
    at(2000, [] { gMousePos = {400, 190}; });  // onto the first option: it turns hot
    at(2200, [] { gMousePos = {10, 10}; });    // off again
    clickAt(5000, 400, 260);                    // the second option
    ASSERT_TRUE(beginChoice(""));
    addChoiceOption(1, "First");
    addChoiceOption(2, "Second");
    EXPECT_EQ(2, runChoice());
    EXPECT_EQ(5060u, elapsed());
    // The first frame, the option hot and back, then the second option hot until it is taken.
    EXPECT_EQ(1u, presentsFrom(0) - presentsFrom(1));
    EXPECT_EQ(0u, presentsFrom(1) - presentsFrom(2000));
    EXPECT_EQ(1u, presentsFrom(2000) - presentsFrom(2001));
    EXPECT_EQ(0u, presentsFrom(2001) - presentsFrom(2200));
    EXPECT_EQ(1u, presentsFrom(2200) - presentsFrom(2201));
    EXPECT_EQ(0u, presentsFrom(2201) - presentsFrom(5000));
    // Nothing under the cursor: the longest waits; over a button, one frame at most.
    for (size_t i = 1; i < world.waits.size(); ++i) EXPECT_LE(world.waits[i], kPacerLongestWaitMs);
    EXPECT_LT(world.polls, 60);
}

TEST_F(LoopPacing, TheHiddenWindowDrawsOnceAndComesBackWithAKey) {
    UserSettings.unreadTextSpeed = 4;
    commandAt(500, kCmdHideWindow);
    commandAt(4000, kCmdOk);   // brings the window back and does nothing else
    commandAt(6000, kCmdClick);
    EXPECT_TRUE(displayMessage("", "abc", false, false));
    EXPECT_EQ(6000u, elapsed());
    // Hidden from 500 to 4000: one frame without the window.
    EXPECT_EQ(1u, presentsFrom(500) - presentsFrom(501));
    EXPECT_EQ(0u, presentsFrom(501) - presentsFrom(4000));
}

TEST_F(LoopPacing, TheTimedClickDrawsAFramePerFrameIntervalAndItsLastPicture) {
    setVariableName(VariableKind::Local, 0, "hit");
    setVariableName(VariableKind::Local, 1, "gate");
    setVariable("gate", 1);
    std::vector<uint32_t> frames;
    static std::vector<uint32_t>* sFrames = nullptr;
    sFrames = &frames;
    TimedClickCallees& c = timedClickCallees();
    c.playSE = [](const char*) { return true; };
    c.stopSE = [] {};
    c.bltRotated = [](cImage&, const cImage&, int32_t, int32_t, int32_t, int32_t, double, double) {
        sFrames->push_back(gWorld->now - kStart);
        return true;
    };
    EXPECT_TRUE(runTimedChoice("hit", "gate"));
    restoreTimedClickCallees();
    ASSERT_GE(frames.size(), 2u);
    EXPECT_EQ(0u, frames.front());
    EXPECT_EQ(4000u, frames.back());
    for (size_t i = 1; i + 1 < frames.size(); ++i) EXPECT_EQ(frameIntervalMs(), frames[i] - frames[i - 1]);
    EXPECT_EQ(4001u, elapsed());  // the time-out, not a frame later
}

TEST_F(LoopPacing, TheSaveScreenDrawsWhenAButtonChangesAndWaitsBetween) {
    spotTest::images()["sys_load_back.png"] = spotTest::strip(100, 40, 2);
    at(1000, [] { gMousePos = {650, 545}; });  // onto the back button: hot
    at(1200, [] { gMousePos = {10, 10}; });
    commandAt(3000, kCmdCancel);
    EXPECT_FALSE(runSaveLoadScreen(false));
    EXPECT_EQ(3000u, elapsed());
    // The background, the first frame; the button hot and back; nothing else.
    EXPECT_EQ(2u, presentsFrom(0) - presentsFrom(1));
    EXPECT_EQ(0u, presentsFrom(1) - presentsFrom(1000));
    EXPECT_EQ(1u, presentsFrom(1000) - presentsFrom(1001));
    EXPECT_EQ(0u, presentsFrom(1001) - presentsFrom(1200));
    EXPECT_EQ(1u, presentsFrom(1200) - presentsFrom(1201));
    EXPECT_EQ(0u, presentsFrom(1201));
    EXPECT_LT(world.polls, 40);
}

TEST_F(LoopPacing, TheBacklogDrawsWhenItsHandleMovesAndNotWhileItIsHeldStill) {
    spotTest::images()["sys_log_item.png"] = spotTest::strip(780, 75, 3);
    spotTest::images()["sys_log_icon_up.png"] = spotTest::strip(20, 20, 3);
    spotTest::images()["sys_log_icon_down.png"] = spotTest::strip(20, 20, 3);
    for (int i = 0; i < 30; ++i) mLogBox::AddEntry("N", "m");
    ASSERT_TRUE(createScreenCanvases());
    // The button goes down on the bar and is held: the handle follows the cursor, then stays.
    at(1000, [] {
        gMousePos = {790, 300};
        gMouseDown = 1;
        mouseMessageToCommand(kWmLButtonDown, 0, 0);
    });
    at(1500, [] { gMousePos = {790, 100}; });
    at(2000, [] {
        gMouseDown = 0;
        mouseMessageToCommand(kWmLButtonUp, 0, 0);
    });
    commandAt(3000, kCmdCancel);
    mLogBox::RunScreen();
    EXPECT_EQ(3000u, elapsed());
    // The darkened scene and the first frame; the press and the handle's first move; its move
    // along the bar; nothing while it was held still or after it was let go.
    EXPECT_EQ((std::vector<uint32_t>{kStart, kStart, kStart + 1000, kStart + 1000, kStart + 1500}),
              world.presents);
    EXPECT_LT(world.polls, 40);
    gNextScreen.Release();
    gPrevScreen.Release();
}
