#include "app/idleTimer.h"

#include "testing.h"

TEST(IdleTimer, CursorHidesOnTheThirdIdleTickAndShowsOnMouse) {
    IdleTimerState s;
    EXPECT_EQ(idleTimerTick(s, true, false, 0).cursor, CursorAction::Keep);
    EXPECT_EQ(idleTimerTick(s, true, false, 0).cursor, CursorAction::Keep);  // 4 s: still shown
    EXPECT_EQ(idleTimerTick(s, true, false, 0).cursor, CursorAction::Hide);  // third tick
    EXPECT_TRUE(s.cursorHidden);
    EXPECT_EQ(idleTimerTick(s, true, false, 0).cursor, CursorAction::Keep);  // hidden once only
    EXPECT_TRUE(idleMouseMessage(s));
    EXPECT_FALSE(s.cursorHidden);
    EXPECT_EQ(s.idleTicks, 0);
    EXPECT_FALSE(idleMouseMessage(s));  // already visible
    // A mouse message between ticks starts the count again.
    idleTimerTick(s, true, false, 0);
    idleTimerTick(s, true, false, 0);
    idleMouseMessage(s);
    EXPECT_EQ(idleTimerTick(s, true, false, 0).cursor, CursorAction::Keep);
}

TEST(IdleTimer, SettingOffDisabledWindowAndSystemModeKeepTheCursor) {
    IdleTimerState off;
    for (int i = 0; i < 20; ++i) EXPECT_EQ(idleTimerTick(off, false, false, 0).cursor, CursorAction::Keep);

    IdleTimerState disabled;
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(idleTimerTick(disabled, true, true, 0).cursor, CursorAction::Keep);
    EXPECT_EQ(disabled.idleTicks, 0);

    IdleTimerState system;
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(idleTimerTick(system, true, false, 3).cursor, CursorAction::Keep);

    // A cursor hidden before a modal box comes up is shown again by the next tick.
    IdleTimerState s;
    for (int i = 0; i < 3; ++i) idleTimerTick(s, true, false, 0);
    ASSERT_TRUE(s.cursorHidden);
    EXPECT_EQ(idleTimerTick(s, true, true, 0).cursor, CursorAction::Show);
    EXPECT_FALSE(s.cursorHidden);
    // Entering display mode system does the same.
    for (int i = 0; i < 3; ++i) idleTimerTick(s, true, false, 1);
    ASSERT_TRUE(s.cursorHidden);
    EXPECT_EQ(idleTimerTick(s, true, false, 3).cursor, CursorAction::Show);
}

TEST(IdleTimer, CaptionRefreshesOnEveryNinthTick) {
    IdleTimerState s;
    for (int round = 0; round < 3; ++round) {
        for (int i = 1; i <= 8; ++i) EXPECT_FALSE(idleTimerTick(s, false, false, 0).refreshCaption);
        EXPECT_TRUE(idleTimerTick(s, false, false, 0).refreshCaption);
    }
    // Mouse messages and modes do not change the caption rhythm.
    IdleTimerState t;
    for (int i = 1; i <= 8; ++i) {
        idleMouseMessage(t);
        EXPECT_FALSE(idleTimerTick(t, true, i % 2 == 0, 3).refreshCaption);
    }
    EXPECT_TRUE(idleTimerTick(t, true, false, 0).refreshCaption);
}
