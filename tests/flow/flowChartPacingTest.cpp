// The chart screen paced, over a test clock that only its waits move: a frame when the grid point
// under the mouse changes, none between, and a click taken when it comes; a caption follows a
// pointer that leaves the window, which sends no message.
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/commandId.h"
#include "base/framePacer.h"
#include "base/input.h"
#include "base/moduleState.h"
#include "base/present.h"
#include "fakeGlyphs.h"
#include "files/apiFile.h"
#include "files/archiveIndex.h"
#include "flow/flowChart.h"
#include "graphics/screen.h"
#include "graphics/text/glyphSource.h"
#include "screenSizeGuard.h"
#include "testing.h"

namespace {
constexpr uint32_t kStart = 50000;

struct Event {
    uint32_t at;  // ms after the start
    MousePoint mouse;
    uint8_t command;
    bool silent = false;  // no message comes with it (the pointer left the window)
};
struct World {
    std::vector<Event> events;
    size_t next = 0;
    uint32_t now = kStart;
    int polls = 0;
    std::vector<uint32_t> presents;
    std::vector<std::pair<uint32_t, uint32_t>> waits;  // when (ms after the start), how long
};
World* gWorld = nullptr;

// A message ends the wait; a silent event does not.
void testWait(uint32_t ms) {
    gWorld->waits.emplace_back(gWorld->now - kStart, ms);
    uint32_t until = gWorld->now + ms;
    for (size_t i = gWorld->next; i < gWorld->events.size(); ++i) {
        const Event& e = gWorld->events[i];
        if (e.silent) continue;
        if (static_cast<int32_t>(until - (kStart + e.at)) > 0) until = kStart + e.at;
        break;
    }
    gWorld->now = until;
}
bool testPoll(uint8_t, bool) {
    ++gWorld->polls;
    while (gWorld->next < gWorld->events.size() &&
           static_cast<int32_t>(gWorld->now - (kStart + gWorld->events[gWorld->next].at)) >= 0) {
        const Event& e = gWorld->events[gWorld->next++];
        gMousePos = e.mouse;
        if (e.command) setCommand(e.command);
    }
    return gWorld->polls < 500;  // a loop that spins fails instead of hanging
}
bool testPump() { return true; }
void countPresent() { gWorld->presents.push_back(gWorld->now - kStart); }
const InputBackend kBackend = {testPoll, testPump, nullptr, nullptr, nullptr};

class FlowChartPacing : public ::testing::Test {
protected:
    void SetUp() override {
        resetEngineState();
        gWorld = &world;
        setClockSource([] { return gWorld->now; });
        setInputBackend(&kBackend);
        setInputWait(testWait);
        setPresentHooks(countPresent, nullptr);
        setTextGlyphs(&glyphs);
        ASSERT_TRUE(createScreenCanvases());
        gMousePos = {300, 100};
    }
    void TearDown() override {
        setTextGlyphs(nullptr);
        setPresentHooks(nullptr, nullptr);
        setInputWait(nullptr);
        setInputBackend(nullptr);
        setClockSource(nullptr);
        gBackBuffer.Release();
        gNextScreen.Release();
        gPrevScreen.Release();
        resetEngineState();
    }
    ScreenSize size{480, 120};
    World world;
    cFakeGlyphs glyphs;
};
}  // namespace

TEST_F(FlowChartPacing, AFrameWhenTheGridPointUnderTheMouseChangesAndNoneBetween) {
    world.events = {
        {1000, {300, 100}, kCmdLeft},    // another command, cleared: the same frame stands
        {2000, {39, 25}, kCmdNone},      // grid point (2, 2)
        {2100, {36, 30}, kCmdNone},      // still (2, 2)
        {2200, {40, 25}, kCmdNone},      // (3, 2)
        {5000, {40, 25}, kCmdClick},
    };
    EXPECT_EQ(0, showFlowChart());
    EXPECT_EQ(kCmdClick, getCommand());
    EXPECT_EQ(5000u, world.now - kStart);
    // The chart before the loop, its first frame, then the two moves to other grid points.
    EXPECT_EQ((std::vector<uint32_t>{0, 0, 2000, 2200}), world.presents);
    EXPECT_LT(world.polls, 30);
}

TEST_F(FlowChartPacing, TheCaptionFollowsAPointerThatLeavesTheWindowWithinAFrame) {
    // One node with a caption at the grid point (2, 2).
    const char* folder = "flow-pacing-data\\";
    ASSERT_TRUE(createFolder(folder));
    ASSERT_TRUE(createFolder("flow-pacing-data\\flow"));
    {
        cAPI_File file;
        const std::string definition = "a 2 2\r\nchapt Cap\r\n;\r\n";
        ASSERT_TRUE(file.Create("flow-pacing-data\\flow\\flowdata.txt") &&
                    file.Write(definition.data(), definition.size()) && file.Close());
    }
    ASSERT_TRUE(setDataFolder(folder));
    world.events = {
        {1000, {39, 25}, kCmdNone},               // onto the node: its caption shows
        {2100, {-200, -150}, kCmdNone, true},     // out of the window: no message says so
        {5000, {-200, -150}, kCmdClick},
    };
    const int32_t result = showFlowChart();
    setDataFolder(".\\data\\");
    EXPECT_EQ(0, result);
    ASSERT_EQ(4u, world.presents.size());
    EXPECT_EQ(1000u, world.presents[2]);
    // The frame without the caption comes within a frame of the pointer leaving.
    EXPECT_GE(world.presents[3], 2100u);
    EXPECT_LE(world.presents[3], 2100u + frameIntervalMs());
    // While the caption shows, no wait is longer than a frame; without one the loop waits long.
    for (const auto& [at, ms] : world.waits) {
        if (at >= 1000 && at < world.presents[3]) {
            EXPECT_LE(ms, frameIntervalMs()) << at;
        }
        if (at >= world.presents[3] + frameIntervalMs()) {
            EXPECT_EQ(kPacerLongestWaitMs, ms) << at;
        }
    }
}
