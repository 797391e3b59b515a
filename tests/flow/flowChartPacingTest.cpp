// The chart screen paced, over a test clock that only its waits move: a frame when the grid point
// under the mouse changes, none between, and a click taken when it comes.
#include <vector>

#include "base/clock.h"
#include "base/commandId.h"
#include "base/framePacer.h"
#include "base/input.h"
#include "base/moduleState.h"
#include "base/present.h"
#include "fakeGlyphs.h"
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
};
struct World {
    std::vector<Event> events;
    size_t next = 0;
    uint32_t now = kStart;
    int polls = 0;
    std::vector<uint32_t> presents;
};
World* gWorld = nullptr;

void testWait(uint32_t ms) {
    uint32_t until = gWorld->now + ms;
    if (gWorld->next < gWorld->events.size() &&
        static_cast<int32_t>(until - (kStart + gWorld->events[gWorld->next].at)) > 0)
        until = kStart + gWorld->events[gWorld->next].at;
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
