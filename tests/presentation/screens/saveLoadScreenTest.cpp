// The save/load screen's loop over a player acting once per poll, slot files in a temporary save
// folder and a test clock: the screen acts on a button's index, a click and cancel only; OK from
// the keyboard or the pad (no button) and the arrow keys do nothing here, over OK or over a slot.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <string>
#include <vector>

#include "../../files/winTempFolder.h"
#include "../spotFixtures.h"
#include "base/clock.h"
#include "base/commandId.h"
#include "base/input.h"
#include "base/localTime.h"
#include "base/moduleState.h"
#include "config/systemInfo.h"
#include "fakeGlyphs.h"
#include "files/archiveIndex.h"
#include "files/saveFile.h"
#include "graphics/screen.h"
#include "presentation/screens/saveSlots.h"
#include "scenario/scriptState.h"
#include "testing.h"

using namespace spotTest;

namespace {
// One thing the player does at a poll: the pointer moved, the left button pressed or released,
// or a command latched as a key, the pad or a menu latches it.
struct Action {
    enum Kind { Move, Press, Release, Latch } kind;
    int32_t x = 0, y = 0;
    uint8_t command = kCmdNone;
};
Action moveTo(int32_t x, int32_t y) { return {Action::Move, x, y}; }
Action latch(uint8_t command) { return {Action::Latch, 0, 0, command}; }
std::vector<Action> click(int32_t x, int32_t y) {
    return {moveTo(x, y), {Action::Press}, {Action::Release}};
}

struct Player {
    std::vector<Action> actions;
    size_t next = 0;
    int polls = 0;
};
Player* gPlayer = nullptr;
uint32_t gNow = 0;

bool playerPoll(uint8_t, bool) {
    gNow += 10;
    // A loop that never ends fails instead of hanging.
    if (++gPlayer->polls > 1000) return false;
    if (gPlayer->next >= gPlayer->actions.size()) return true;
    const Action& a = gPlayer->actions[gPlayer->next++];
    switch (a.kind) {
    case Action::Move: gMousePos = {a.x, a.y}; break;
    case Action::Press: pressLeftButton(); break;
    case Action::Release: releaseLeftButton(); break;
    case Action::Latch: setCommand(a.command); break;
    }
    return true;
}
const InputBackend kBackend = {playerPoll, nullptr, nullptr, nullptr, nullptr};

LocalTime fixedTime() { return LocalTime{2026, 12, 10, 14, 5, 33, 0x01DB4A2B3C4D5E6Full}; }

// Centres of a slot and of the OK button.
int32_t slotCentreX(int32_t slot) { return 34 + 126 * (slot % 6) + 52; }
int32_t slotCentreY(int32_t slot) { return 94 + 82 * (slot / 6) + 39; }
constexpr int32_t kOkX = 440, kOkY = 557;

class SaveLoadScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetEngineState();
        install();
        for (const char* mode : {"save", "load"}) {
            images()[std::string("sys_") + mode + "_empty.png"] = strip(104, 78, 1);
            for (const char* button : {"ok", "del", "back"})
                images()[std::string("sys_") + mode + "_" + button + ".png"] = strip(100, 30, 1);
        }
        gArchiveIndex.clear();
        ASSERT_TRUE(setDataFolder(folder.path().c_str()));
        ASSERT_TRUE(setSaveFolder((folder / "save\\").c_str()));
        setButtonHandlers(mSpots::PressButtons, mSpots::ReleaseButtons);
        setTextGlyphs(&glyphs);
        setLocalTimeSource(fixedTime);
        gPlayer = &player;
        gNow = 5000;
        setClockSource([] { return gNow; });
        setInputBackend(&kBackend);
        gScreenWidth = 800;
        gScreenHeight = 600;
        ASSERT_TRUE(createScreenCanvases());
        gMousePos = {-50, -50};
        // Slot 1 holds a save with a memo, which saving again would clear.
        setChapter("Day 1", "Arrival");
        ASSERT_TRUE(saveGameWithMemo(1, "kept"));
        slotOne = TempFolder::readFile(folder / "save\\savedata.001");
        ASSERT_FALSE(slotOne.empty());
        setChapter("Day 2", "Elsewhere");
    }
    void TearDown() override {
        setInputBackend(nullptr);
        setClockSource(nullptr);
        setLocalTimeSource(nullptr);
        setTextGlyphs(nullptr);
        setButtonHandlers(nullptr, nullptr);
        uninstall();
        gBackBuffer.Release();
        gNextScreen.Release();
        gPrevScreen.Release();
        gArchiveIndex.clear();
        resetEngineState();
    }
    // Slot 1 chosen with a click, then the actions, then cancel.
    bool run(bool save, const std::vector<Action>& actions) {
        player = Player();
        moves().clear();
        player.actions = click(slotCentreX(1), slotCentreY(1));
        player.actions.insert(player.actions.end(), actions.begin(), actions.end());
        player.actions.push_back(latch(kCmdCancel));
        return runSaveLoadScreen(save);
    }
    std::vector<unsigned char> slotOneNow() { return TempFolder::readFile(folder / "save\\savedata.001"); }

    TempFolder folder;
    Player player;
    cFakeGlyphs glyphs;
    std::vector<unsigned char> slotOne;
};
}  // namespace

TEST_F(SaveLoadScreenTest, OkWithoutAButtonDoesNothingOverAnyButton) {
    // Return, Space or the pad's OK with the pointer over OK, over the selected slot, over
    // another slot: nothing saved or loaded, nothing selected anew, the screen stays until cancel.
    const std::vector<std::pair<int32_t, int32_t>> places = {
        {kOkX, kOkY}, {slotCentreX(1), slotCentreY(1)}, {slotCentreX(2), slotCentreY(2)}};
    for (const bool save : {true, false})
        for (const auto& [x, y] : places) {
            EXPECT_FALSE(run(save, {moveTo(x, y), latch(kCmdOk), moveTo(kOkX, kOkY), latch(kCmdOk)}))
                << save << " " << x;
            EXPECT_TRUE(player.next == player.actions.size()) << save << " " << x;  // left by cancel
            EXPECT_TRUE(slotOne == slotOneNow()) << save << " " << x;
            EXPECT_FALSE(TempFolder::exists(folder / "save\\savedata.002")) << save << " " << x;
            EXPECT_STREQ("Day 2", gChapterDate.c_str()) << save << " " << x;
            EXPECT_EQ(0, scriptAbortFlag) << save << " " << x;
        }
}

TEST_F(SaveLoadScreenTest, ArrowKeysDoNotMoveThePointer) {
    for (const bool save : {true, false}) {
        std::vector<Action> arrows = {moveTo(slotCentreX(1), slotCentreY(1))};
        for (uint8_t arrow : {kCmdLeft, kCmdRight, kCmdUp, kCmdDown}) arrows.push_back(latch(arrow));
        arrows.push_back(moveTo(40, 300));  // beside every button
        for (uint8_t arrow : {kCmdLeft, kCmdRight, kCmdUp, kCmdDown}) arrows.push_back(latch(arrow));
        EXPECT_FALSE(run(save, arrows)) << save;
        EXPECT_TRUE(moves().empty()) << save;
        EXPECT_EQ(40, gMousePos.x) << save;
    }
}

TEST_F(SaveLoadScreenTest, AClickOnOkSavesAndLoads) {
    // The button's index acts: saving again clears the memo; loading brings the save back.
    EXPECT_FALSE(run(true, click(kOkX, kOkY)));
    SaveSlotHeader header;
    ASSERT_TRUE(readSaveHeader(1, header));
    EXPECT_STREQ("", header.memo);
    EXPECT_STREQ("Day 2 Elsewhere", header.chapterText);
    setChapter("Day 3", "Later");
    EXPECT_TRUE(run(false, click(kOkX, kOkY)));
    EXPECT_STREQ("Day 2", gChapterDate.c_str());
    EXPECT_EQ(1, scriptAbortFlag);
}
