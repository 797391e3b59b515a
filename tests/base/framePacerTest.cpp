// The frame pacer over a test clock: which frames are due, how long a loop waits (until the
// earliest due change, at once for input), moving pictures at most once per frame interval.
#include "base/framePacer.h"

#include <vector>

#include "base/clock.h"
#include "base/input.h"
#include "base/moduleState.h"
#include "testing.h"

namespace {
uint32_t gNow = 0;
// Input that arrives by itself at a clock time (0: none).
uint32_t gInputAt = 0;
uint8_t gInputCommand = kCmdNone;
std::vector<uint32_t> gWaits;  // the waits asked for
int gPolls = 0;
std::vector<bool> gSleeps;  // the sleep argument of each poll

// Waits as the program's message queue does: until the time passes or input arrives.
void testWait(uint32_t ms) {
    gWaits.push_back(ms);
    const uint32_t until = gNow + ms;
    if (gInputAt && static_cast<int32_t>(gInputAt - gNow) >= 0 &&
        static_cast<int32_t>(until - gInputAt) >= 0) {
        gNow = gInputAt;
        return;
    }
    gNow = until;
}

bool testPoll(uint8_t, bool sleep) {
    ++gPolls;
    gSleeps.push_back(sleep);
    if (gInputAt && static_cast<int32_t>(gNow - gInputAt) >= 0) {
        setCommand(gInputCommand);
        gInputAt = 0;
    }
    return true;
}
const InputBackend kBackend = {testPoll, nullptr, nullptr, nullptr, nullptr};

class FramePacerTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetEngineState();
        gNow = 1000;
        gInputAt = 0;
        gInputCommand = kCmdNone;
        gWaits.clear();
        gSleeps.clear();
        gPolls = 0;
        setClockSource([] { return gNow; });
        setInputBackend(&kBackend);
        setInputWait(testWait);
        setFrameIntervalMs(0);
    }
    void TearDown() override {
        setInputWait(nullptr);
        setInputBackend(nullptr);
        setClockSource(nullptr);
        setFrameIntervalMs(0);
        resetEngineState();
    }
    // One pass that describes a frame of one key word and presents it when due; true when it did.
    bool pass(uint64_t word) {
        pacer.BeginFrame();
        pacer.Key(word);
        if (!pacer.FrameDue()) return false;
        pacer.Presented();
        return true;
    }

    cFramePacer pacer;
};
}  // namespace

TEST_F(FramePacerTest, TheFirstFrameIsDueThenOnlyOneThatDiffers) {
    EXPECT_EQ(16u, frameIntervalMs());
    EXPECT_EQ(0u, pacer.WaitMs(gNow));
    EXPECT_TRUE(pass(7));
    EXPECT_FALSE(pass(7));
    gNow += 5000;
    EXPECT_FALSE(pass(7));
    EXPECT_TRUE(pass(8));
    EXPECT_FALSE(pass(8));
    // A key of another length differs too.
    pacer.BeginFrame();
    pacer.Key(8);
    pacer.Key(0);
    EXPECT_TRUE(pacer.FrameDue());
}

TEST_F(FramePacerTest, InvalidateAndChangedNowMakeTheFrameDue) {
    EXPECT_TRUE(pass(1));
    pacer.Invalidate();
    EXPECT_EQ(0u, pacer.WaitMs(gNow));
    EXPECT_TRUE(pass(1));
    pacer.BeginFrame();
    pacer.Key(1);
    pacer.ChangedNow();
    EXPECT_TRUE(pacer.FrameDue());
    EXPECT_EQ(0u, pacer.WaitMs(gNow));
    pacer.Presented();
    EXPECT_FALSE(pass(1));
}

TEST_F(FramePacerTest, TheNextWakeUpIsTheEarliestDueChange) {
    struct Case {
        std::vector<int32_t> dueIn;  // from the pass's time
        uint32_t later;              // time passed before the wait is asked
        uint32_t wait;
    };
    const Case cases[] = {
        {{}, 0, kPacerLongestWaitMs},           // nothing due: the longest wait
        {{300, 128, 700}, 0, 128},
        {{128, 300}, 0, 128},
        {{128}, 28, 100},                       // measured from when the wait begins
        {{128}, 128, 0},                        // due now
        {{128}, 200, 0},                        // overdue
        {{-5, 300}, 0, 0},                      // a time already past
        {{kPacerLongestWaitMs + 1000}, 0, kPacerLongestWaitMs},
    };
    for (const Case& c : cases) {
        cFramePacer p;
        p.BeginFrame(gNow);
        p.Presented();
        p.BeginFrame(gNow);
        for (int32_t d : c.dueIn) p.DueAt(gNow + static_cast<uint32_t>(d));
        ASSERT_FALSE(p.FrameDue());
        EXPECT_EQ(c.wait, p.WaitMs(gNow + c.later)) << c.dueIn.size() << " " << c.later;
    }
}

TEST_F(FramePacerTest, DeadlinesAcrossAWrapOfTheClock) {
    gNow = 0xFFFFFFF0u;
    EXPECT_TRUE(pass(1));
    pacer.BeginFrame();
    pacer.Key(1);
    pacer.DueAt(0x20);          // 48 ms on, after the wrap
    pacer.DueAt(0xFFFFFFF8u);   // 8 ms on, before it
    EXPECT_EQ(8u, pacer.WaitMs(gNow));
    pacer.BeginFrame();
    pacer.Key(1);
    pacer.DueAt(0x20);
    EXPECT_EQ(48u, pacer.WaitMs(gNow));
}

TEST_F(FramePacerTest, InputEndsTheWaitAtOnce) {
    EXPECT_TRUE(pacer.Poll(kInputReading, true));  // the loop's first pass
    EXPECT_TRUE(pass(1));
    pacer.BeginFrame();
    pacer.Key(1);
    pacer.DueIn(128);
    // A click 30 ms into a wait for a change 128 ms away.
    gInputAt = gNow + 30;
    gInputCommand = kCmdClick;
    const uint32_t before = gNow;
    EXPECT_TRUE(pacer.Poll(kInputReading, true));
    EXPECT_EQ((std::vector<uint32_t>{128}), gWaits);
    EXPECT_EQ(before + 30, gNow);
    EXPECT_EQ(kCmdClick, getCommand());
    EXPECT_EQ(2, gPolls);
}

TEST_F(FramePacerTest, PollWaitsOnlyWhenNothingIsDue) {
    // The first pass polls at once; after a frame the loop waits until the due change.
    EXPECT_TRUE(pacer.Poll(kInputReading, true));
    EXPECT_TRUE(gWaits.empty());
    pacer.BeginFrame();
    pacer.Key(3);
    pacer.DueIn(40);
    EXPECT_TRUE(pacer.FrameDue());
    // Described but not presented: no wait.
    EXPECT_TRUE(pacer.Poll(kInputReading, true));
    EXPECT_TRUE(gWaits.empty());
    pacer.Presented();
    const uint32_t before = gNow;
    EXPECT_TRUE(pacer.Poll(kInputReading, true));
    EXPECT_EQ((std::vector<uint32_t>{40}), gWaits);
    EXPECT_EQ(before + 40, gNow);
    EXPECT_EQ(3, gPolls);
    // Quit ends the loop whatever the wait.
    gQuitReceived = 1;
    EXPECT_FALSE(pacer.Poll(kInputReading, true));
}

TEST_F(FramePacerTest, AMovingPictureAtMostOncePerFrameInterval) {
    setFrameIntervalMs(20);
    EXPECT_TRUE(pass(0));
    const uint32_t shown = gNow;
    for (uint32_t t = 1; t < 20; ++t) {
        pacer.BeginFrame(shown + t);
        pacer.Key(0);
        pacer.EveryFrame();
        EXPECT_FALSE(pacer.FrameDue()) << t;
        EXPECT_EQ(20 - t, pacer.WaitMs(shown + t)) << t;
    }
    pacer.BeginFrame(shown + 20);
    pacer.Key(0);
    pacer.EveryFrame();
    EXPECT_TRUE(pacer.FrameDue());
    pacer.Presented();
    EXPECT_EQ(20u, pacer.WaitMs(shown + 20));
    // A key change does not wait for the interval.
    pacer.BeginFrame(shown + 21);
    pacer.Key(1);
    pacer.EveryFrame();
    EXPECT_TRUE(pacer.FrameDue());
}

TEST_F(FramePacerTest, MovingWordsChangeTheFrameNoSoonerThanTheInterval) {
    // A step every 2 ms (a 500 ms cross-fade): frames 16 ms apart, each with the step of its time.
    const uint32_t start = gNow;
    auto describe = [&](uint32_t t) {
        pacer.BeginFrame(start + t);
        pacer.Key(9);
        pacer.Moving(t / 2, start + (t / 2 + 1) * 2);
    };
    describe(0);
    ASSERT_TRUE(pacer.FrameDue());
    pacer.Presented();
    // The next step comes at 2 ms, but the frame is not due before 16.
    describe(0);
    EXPECT_EQ(16u, pacer.WaitMs(start));
    describe(2);
    EXPECT_FALSE(pacer.FrameDue());
    EXPECT_EQ(14u, pacer.WaitMs(start + 2));
    describe(16);
    EXPECT_TRUE(pacer.FrameDue());
    pacer.Presented();
    // A moving word that stands still until later: waited for, not the interval.
    pacer.BeginFrame(start + 17);
    pacer.Key(9);
    pacer.Moving(8, start + 100);
    EXPECT_FALSE(pacer.FrameDue());
    EXPECT_EQ(83u, pacer.WaitMs(start + 17));
    // A stable word's change is due at once even within the interval.
    pacer.BeginFrame(start + 18);
    pacer.Key(10);
    pacer.Moving(8, start + 100);
    EXPECT_TRUE(pacer.FrameDue());
}

TEST_F(FramePacerTest, PollEveryFrameLooksAgainWithinAFrame) {
    EXPECT_TRUE(pass(1));
    pacer.BeginFrame();
    pacer.Key(1);
    pacer.PollEveryFrame();
    EXPECT_FALSE(pacer.FrameDue());
    EXPECT_EQ(16u, pacer.WaitMs(gNow));
}

TEST_F(FramePacerTest, ManyKeyWordsStillTellAChange) {
    auto describe = [&](uint64_t last) {
        pacer.BeginFrame();
        for (uint64_t i = 0; i < cFramePacer::kMaxKeyWords + 10; ++i) pacer.Key(i);
        pacer.Key(last);
    };
    describe(1);
    pacer.Presented();
    describe(1);
    EXPECT_FALSE(pacer.FrameDue());
    describe(2);
    EXPECT_TRUE(pacer.FrameDue());
}

TEST_F(FramePacerTest, TheFrameIntervalFromTheDisplay) {
    setFrameIntervalMs(7);
    EXPECT_EQ(7u, frameIntervalMs());
    setFrameIntervalMs(0);
    EXPECT_EQ(16u, frameIntervalMs());
}

TEST_F(FramePacerTest, WaitForInputWithoutAWaitDoesNothing) {
    setInputWait(nullptr);
    const uint32_t before = gNow;
    EXPECT_FALSE(waitForInput(100));
    EXPECT_EQ(before, gNow);
    setInputWait(testWait);
    EXPECT_FALSE(waitForInput(0));
    EXPECT_TRUE(gWaits.empty());
    EXPECT_TRUE(waitForInput(100));
    EXPECT_EQ(before + 100, gNow);
}

TEST_F(FramePacerTest, TheFirstPollComesAtOnceAfterAFramePresentedBeforeTheLoop) {
    EXPECT_TRUE(pass(1));
    EXPECT_EQ(kPacerLongestWaitMs, pacer.WaitMs(gNow));
    EXPECT_TRUE(pacer.Poll(kInputReading, true));
    EXPECT_TRUE(gWaits.empty());
    EXPECT_TRUE(pacer.Poll(kInputReading, true));
    EXPECT_EQ((std::vector<uint32_t>{kPacerLongestWaitMs}), gWaits);
}

TEST_F(FramePacerTest, AWaitStandsForTheLoopsSleep) {
    // The first pass, then one with a frame due now, then one that waits.
    EXPECT_TRUE(pacer.Poll(kInputReading, true));
    pacer.BeginFrame();
    pacer.Key(1);
    EXPECT_TRUE(pacer.Poll(kInputReading, true));
    pacer.Presented();
    EXPECT_TRUE(pacer.Poll(kInputReading, true));
    EXPECT_TRUE(pacer.Poll(kInputReading, false));
    EXPECT_EQ((std::vector<bool>{true, true, false, false}), gSleeps);
    EXPECT_EQ(2u, gWaits.size());
    // Without a wait installed the sleep stays.
    setInputWait(nullptr);
    EXPECT_TRUE(pacer.Poll(kInputReading, true));
    EXPECT_TRUE(gSleeps.back());
    EXPECT_EQ(2u, gWaits.size());
}
