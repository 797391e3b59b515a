// The message window's part of a waiting loop's frame: its key changes exactly when what Draw
// shows changes (a character typed, a new page or speaker, the prompt's frame), and the prompt's
// next frame is due every 128 ms of the clock.
#include <cstring>

#include "base/framePacer.h"
#include "base/settings.h"
#include "fakeGlyphs.h"
#include "presentation/msgBox.h"
#include "presentation/msgDisplay.h"
#include "presentation/msgTiming.h"
#include "testing.h"

namespace {
class MsgBoxPacing : public ::testing::Test {
protected:
    void SetUp() override {
        setDefaultSettings();
        setMsgGlyphs(&glyphs);
        box.CreateFonts();
        ASSERT_TRUE(box.boxImage.Create(4, 800, 200));
        std::memset(box.boxImage.pixels, 0, static_cast<size_t>(box.boxImage.ByteCount()));
        ASSERT_TRUE(box.promptStrip.Create(4, 24, 192));
        MsgWindowMode = 0;
        gMsgTextArea = kWindowTextArea;
    }
    void TearDown() override {
        setMsgGlyphs(nullptr);
        MsgWindowMode = 0;
        gMsgTextArea = kWindowTextArea;
    }
    // Describes the window's frame at a time; true when it differs from the last one presented
    // (which it then becomes).
    bool changed(uint32_t now, bool prompt) {
        pacer.BeginFrame(now);
        box.PaceFrame(pacer, prompt);
        const bool due = pacer.FrameDue();
        pacer.Presented();
        return due;
    }

    cFakeGlyphs glyphs;
    cMsgBox box;
    cFramePacer pacer;
};
}  // namespace

TEST_F(MsgBoxPacing, ThePromptFrameAndItsNextChange) {
    const struct {
        uint32_t now;
        int32_t frame;
        uint32_t next;
    } cases[] = {
        {0, 0, 128},          {127, 0, 128},          {128, 1, 256},          {1023, 7, 1024},
        {1024, 0, 1152},      {100000, 5, 100096},    {0xFFFFFF80u, 7, 0},    {0xFFFFFFFFu, 7, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.frame, msgPromptFrame(c.now)) << c.now;
        EXPECT_EQ(c.next, msgPromptNextFrameAt(c.now)) << c.now;
    }
}

TEST_F(MsgBoxPacing, TheKeyChangesWithThePromptFrameOnly) {
    box.SetText("ab");
    ASSERT_TRUE(box.SetSpeaker("", false));
    EXPECT_FALSE(box.DrawUpTo(-1));
    EXPECT_TRUE(changed(1000, true));
    // Frame 7 of 1000 ms lasts to 1024: the next change is due then, and nothing before.
    pacer.BeginFrame(1000);
    box.PaceFrame(pacer, true);
    EXPECT_EQ(24u, pacer.WaitMs(1000));
    for (uint32_t t = 1001; t < 1024; t += 5) EXPECT_FALSE(changed(t, true)) << t;
    EXPECT_TRUE(changed(1024, true));
    EXPECT_FALSE(changed(1100, true));
    EXPECT_TRUE(changed(1152, true));
    // Without the prompt time does not matter.
    EXPECT_TRUE(changed(1152, false));
    pacer.BeginFrame(1152);
    box.PaceFrame(pacer, false);
    EXPECT_EQ(kPacerLongestWaitMs, pacer.WaitMs(1152));
    EXPECT_FALSE(changed(5000, false));
    // No prompt picture: none is drawn, so its frames do not matter either.
    box.promptStrip.Release();
    EXPECT_FALSE(changed(6000, true));
    EXPECT_FALSE(changed(6200, true));
}

TEST_F(MsgBoxPacing, TypingChangesTheKeyPerCharacterNotPerCall) {
    box.SetText("abc@d");
    ASSERT_TRUE(box.SetSpeaker("", false));
    EXPECT_TRUE(changed(0, false));
    // 4 units a character at speed step 2: the first character at a target of 1.
    EXPECT_TRUE(box.DrawUpTo(0));
    EXPECT_FALSE(changed(0, false));
    EXPECT_TRUE(box.DrawUpTo(1));
    EXPECT_TRUE(changed(0, false));
    for (int32_t target = 2; target <= 4; ++target) {
        EXPECT_TRUE(box.DrawUpTo(target));
        EXPECT_FALSE(changed(0, false)) << target;
    }
    EXPECT_TRUE(box.DrawUpTo(5));
    EXPECT_TRUE(changed(0, false));
    // The pause costs 40 units and draws nothing; then "d".
    EXPECT_TRUE(box.DrawUpTo(9));
    EXPECT_TRUE(changed(0, false));
    EXPECT_TRUE(box.DrawUpTo(12));
    EXPECT_FALSE(changed(0, false));
    EXPECT_TRUE(box.DrawUpTo(13));
    changed(0, false);
    EXPECT_TRUE(box.DrawUpTo(52));
    EXPECT_FALSE(changed(0, false));
    EXPECT_TRUE(box.DrawUpTo(53));
    EXPECT_TRUE(changed(0, false));
    // A new page and a new speaker change what is shown.
    box.Clear();
    EXPECT_TRUE(changed(0, false));
    box.SetText("x");
    ASSERT_TRUE(box.SetSpeaker("", false));
    EXPECT_TRUE(changed(0, false));
}

TEST_F(MsgBoxPacing, TheTypingStepIsDueWhenTheTargetPassesTheUnits) {
    const struct {
        uint32_t start;
        int32_t units;
        uint32_t msPerUnit;
        bool due;
        uint32_t when;
    } cases[] = {
        {1000, 0, 8, true, 1008},  {1000, 11, 8, true, 1096},    {1000, 3, 24, true, 1096},
        {1000, 5, 0, false, 0},    {0xFFFFFFF0u, 3, 8, true, 0x10}, {0, 0x7FFFFFFF, 24, false, 0},
        {0, -1, 8, false, 0},
    };
    for (const auto& c : cases) {
        uint32_t when = 0;
        EXPECT_EQ(c.due, typingDueAt(c.start, c.units, c.msPerUnit, when)) << c.units;
        if (!c.due) continue;
        EXPECT_EQ(c.when, when);
        // The typing target reaches beyond the units exactly then.
        EXPECT_GT(typingTarget(when - c.start, c.msPerUnit), c.units);
        EXPECT_LE(typingTarget(when - c.start - 1, c.msPerUnit), c.units);
    }
}
