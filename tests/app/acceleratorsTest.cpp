#include "app/accelerators.h"

#include "testing.h"

TEST(Accelerators, TableSizes) {
    const int sizes[] = {16, 17, 11, 11, 16};
    for (int t = 0; t < kAccelTableCount; ++t) {
        AccelTableData d = acceleratorTable(static_cast<AccelTableId>(t));
        EXPECT_EQ(d.count, sizes[t]) << t;
        for (int i = 0; i < d.count; ++i) EXPECT_TRUE(d.entries[i].flags & kAccelVirtKey);
    }
    EXPECT_EQ(acceleratorTable(kAccelTableCount).count, 0);
}

TEST(Accelerators, OrderOfTablesPerMode) {
    AccelTableId t[3];
    ASSERT_EQ(acceleratorTablesForMode(0, t), 3);
    EXPECT_EQ(t[0], kAccelTableAll);
    EXPECT_EQ(t[1], kAccelTableCommon);
    EXPECT_EQ(t[2], kAccelTableReading);
    ASSERT_EQ(acceleratorTablesForMode(1, t), 3);
    EXPECT_EQ(t[1], kAccelTableCommon);
    EXPECT_EQ(t[2], kAccelTableMenu);
    ASSERT_EQ(acceleratorTablesForMode(2, t), 2);
    EXPECT_EQ(t[1], kAccelTableScreen);
    ASSERT_EQ(acceleratorTablesForMode(3, t), 1);
    EXPECT_EQ(t[0], kAccelTableAll);
}

TEST(Accelerators, CommandsPerInputMode) {
    constexpr uint8_t S = kAccelShift, A = kAccelAlt, C = kAccelControl;
    struct Case {
        uint16_t key;
        uint8_t mods;
        uint8_t reading, menu, screen;
    };
    const Case cases[] = {
        // The table of every mode.
        {kVkApps, 0, 11, 11, 11},
        {kVkReturn, A, 26, 26, 26},
        {kVkSpace, 0, 34, 34, 34},
        {kVkMenu, A, 35, 35, 35},
        {kVkF1, 0, 36, 36, 36},
        {kVkF12, 0, 47, 47, 47},
        // Common keys of reading and menu; Esc, Tab and Backspace cancel in screens instead.
        {kVkEscape, 0, 22, 22, 3},
        {kVkAdd, 0, 22, 22, 0},
        {kVkTab, 0, 12, 12, 3},
        {kVkSubtract, 0, 12, 12, 0},
        {kVkBack, 0, 14, 14, 3},
        {kVkInsert, 0, 17, 17, 0},
        {kVkNumpad0, 0, 17, 17, 0},
        {kVkDelete, 0, 18, 18, 0},
        {kVkHome, 0, 20, 20, 0},
        {kVkNumpad7, 0, 20, 20, 0},
        {kVkEnd, 0, 21, 21, 0},
        {kVkNumpad1, 0, 21, 21, 0},
        {kVkMultiply, 0, 16, 16, 0},
        {kVkDivide, 0, 15, 15, 0},
        {kVkDown, S, 16, 16, 0},
        {kVkRight, S, 15, 15, 0},
        {kVkHome, S, 19, 19, 0},  // back to title, not in screens
        // Reading, menu and screen tables.
        {kVkReturn, 0, 2, 2, 2},
        {kVkDown, 0, 2, 8, 8},
        {kVkNumpad2, 0, 2, 8, 8},
        {kVkUp, 0, 14, 7, 7},
        {kVkNumpad8, 0, 14, 7, 7},
        {kVkPrior, 0, 14, 14, 9},
        {kVkNumpad9, 0, 14, 14, 9},
        {kVkNext, 0, 0, 0, 10},
        {kVkNumpad3, 0, 0, 0, 10},
        {kVkLeft, 0, 5, 5, 5},
        {kVkNumpad4, 0, 5, 5, 5},
        {kVkRight, 0, 6, 6, 6},
        {kVkNumpad6, 0, 6, 6, 6},
        // Modifiers must match exactly.
        {kVkReturn, C, 0, 0, 0},
        {kVkF1, S, 0, 0, 0},
        {kVkLeft, S, 0, 0, 0},
        {kVkUp, S, 0, 0, 0},
        {kVkEscape, A, 0, 0, 0},
        {'A', 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(acceleratorCommand(0, c.key, c.mods), c.reading) << std::hex << c.key;
        EXPECT_EQ(acceleratorCommand(1, c.key, c.mods), c.menu) << std::hex << c.key;
        EXPECT_EQ(acceleratorCommand(2, c.key, c.mods), c.screen) << std::hex << c.key;
    }
    // Another mode only has the table of every mode.
    EXPECT_EQ(acceleratorCommand(7, kVkApps, 0), 11);
    EXPECT_EQ(acceleratorCommand(7, kVkReturn, 0), 0);
}
