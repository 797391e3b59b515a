#include "base/input.h"

#include <cstring>
#include <initializer_list>
#include <string>

#include "base/settings.h"
#include "testing.h"

namespace {
UserSettingsBlock defaults() {
    setDefaultSettings();
    return UserSettings;
}

uint8_t remapped(uint8_t mode, uint8_t command, const UserSettingsBlock& s) {
    remapCommand(mode, command, s);
    return command;
}

// A latch and read mode as fresh as at start.
void resetLatch() {
    clearCommand();
    gReadMode = kReadNormal;
    gQuitReceived = 0;
    setInputBackend(nullptr);
    setButtonHandlers(nullptr, nullptr);
}
}  // namespace

TEST(RemapCommand, DefaultBindingsPerInputMode) {
    const UserSettingsBlock s = defaults();
    struct Case {
        uint8_t mode, raw, expected;
    };
    const Case cases[] = {
        // Reading and menu: through the settings' action bytes.
        {0, 30, 11}, {0, 31, 22}, {0, 32, 14}, {0, 33, 4}, {0, 34, 2},
        {1, 30, 11}, {1, 32, 14}, {1, 34, 2},
        // Screens: the mouse, wheel and Space codes are fixed whatever the settings.
        {2, 30, 3}, {2, 31, 3}, {2, 32, 9}, {2, 33, 10}, {2, 34, 2},
        // Function keys unbound, pad buttons 1 and 2 bound, the others unbound; Alt never a command.
        {0, 36, 0}, {0, 47, 0}, {2, 36, 0}, {0, 48, 2}, {0, 49, 3}, {0, 50, 0}, {0, 55, 0},
        {2, 48, 2}, {0, 35, 0}, {2, 35, 0},
        // Actions pass unchanged, none stays none; unknown codes become none.
        {0, 0, 0}, {0, 1, 1}, {0, 28, 28}, {2, 3, 3}, {0, 29, 0}, {0, 56, 0}, {0, 255, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(remapped(c.mode, c.raw, s), c.expected)
            << "mode " << int(c.mode) << " raw " << int(c.raw);
}

TEST(RemapCommand, ReadsEveryActionByteAndRejectsOutOfRangeOnesUnsigned) {
    UserSettingsBlock s = defaults();
    s.rightButtonAction = 25;
    s.middleButtonAction = 19;
    s.wheelUpAction = 9;
    s.wheelDownAction = 10;
    s.spaceAction = 12;
    for (int i = 0; i < 12; ++i) s.functionKeyActions[i] = static_cast<uint8_t>(13 + i);
    for (int i = 0; i < 8; ++i) s.joystickActions[i] = static_cast<uint8_t>(1 + i);
    EXPECT_EQ(remapped(0, 30, s), 25);
    EXPECT_EQ(remapped(0, 31, s), 19);
    EXPECT_EQ(remapped(0, 32, s), 9);
    EXPECT_EQ(remapped(0, 33, s), 10);
    EXPECT_EQ(remapped(0, 34, s), 12);
    for (uint8_t i = 0; i < 12; ++i) EXPECT_EQ(remapped(0, uint8_t(36 + i), s), 13 + i) << "F" << i + 1;
    for (uint8_t i = 0; i < 8; ++i) {
        EXPECT_EQ(remapped(0, uint8_t(48 + i), s), 1 + i) << "pad " << i + 1;
        EXPECT_EQ(remapped(2, uint8_t(48 + i), s), 1 + i) << "pad " << i + 1;  // the pad is not fixed
    }
    EXPECT_EQ(remapped(2, 30, s), 3);  // still fixed in screens

    // Damaged bytes: 29, 127, 128 (negative as a signed byte) and 255 all give no command.
    for (uint8_t bad : std::initializer_list<uint8_t>{29, 127, 128, 200, 255}) {
        s.rightButtonAction = bad;
        s.functionKeyActions[0] = bad;
        s.joystickActions[7] = bad;
        EXPECT_EQ(remapped(0, 30, s), 0) << int(bad);
        EXPECT_EQ(remapped(0, 36, s), 0) << int(bad);
        EXPECT_EQ(remapped(0, 55, s), 0) << int(bad);
    }
    // Raw codes bound to raw codes do not chain.
    s.spaceAction = 30;
    EXPECT_EQ(remapped(0, 34, s), 0);
}

TEST(ReadMode, TransitionTable) {
    struct Case {
        uint8_t inputMode, readMode, command;
        uint8_t readModeAfter, commandAfter;
        bool returned;
    };
    const Case cases[] = {
        // Entering the modes; the command stays latched for its consumer.
        {0, 0, 12, 3, 12, true}, {0, 0, 15, 1, 15, true}, {0, 0, 16, 2, 16, true},
        // Any other command ends a read mode and is consumed by it.
        {0, 1, 1, 0, 0, false}, {0, 2, 2, 0, 0, false}, {0, 3, 1, 0, 0, false},
        {0, 3, 14, 0, 0, false},
        // No command keeps the mode; a normal read mode keeps the command.
        {0, 1, 0, 1, 0, false}, {0, 3, 0, 3, 0, false}, {0, 0, 2, 0, 2, false},
        // The mode commands switch between modes directly.
        {0, 1, 16, 2, 16, true}, {0, 2, 12, 3, 12, true}, {0, 3, 15, 1, 15, true},
        // An input mode other than reading ends the read mode first; the command then stays.
        {1, 1, 0, 0, 0, false}, {2, 3, 0, 0, 0, false}, {1, 2, 2, 0, 2, false},
        {2, 1, 3, 0, 3, false}, {1, 0, 15, 1, 15, true},
    };
    for (const Case& c : cases) {
        uint8_t rm = c.readMode, cmd = c.command;
        bool r = readModeStep(c.inputMode, rm, cmd);
        EXPECT_EQ(rm, c.readModeAfter) << int(c.inputMode) << "/" << int(c.readMode) << "/"
                                       << int(c.command);
        EXPECT_EQ(cmd, c.commandAfter) << int(c.inputMode) << "/" << int(c.readMode) << "/"
                                       << int(c.command);
        EXPECT_EQ(r, c.returned);
    }
}

TEST(ReadMode, TabHidesTheWindowAndTheNextClickIsConsumedByShowingIt) {
    resetLatch();
    setDefaultSettings();
    setCommand(12);  // Tab in reading mode
    ASSERT_TRUE(pollInput(0, false));
    EXPECT_EQ(gReadMode, kReadHidden);
    EXPECT_EQ(getCommand(), 12);
    clearCommand();  // the consumer acted on it
    ASSERT_TRUE(pollInput(0, false));
    EXPECT_EQ(gReadMode, kReadHidden);
    setCommand(1);
    ASSERT_TRUE(pollInput(0, false));
    EXPECT_TRUE(isReadModeNormal());
    EXPECT_EQ(getCommand(), 0);
    // The right button in reading mode reaches the consumer as the popup menu.
    setCommand(30);
    ASSERT_TRUE(pollInput(0, false));
    EXPECT_EQ(getCommand(), 11);
    resetLatch();
}

namespace {
bool gCtrlHeld = false;
bool ctrlHeld() { return gCtrlHeld; }
}  // namespace

TEST(ReadMode, SkipQueriesAndCtrl) {
    resetLatch();
    EXPECT_FALSE(isSkipping());
    setSkipMode();
    EXPECT_TRUE(isSkipping());
    EXPECT_FALSE(isReadModeNormal());
    setForcedSkip(false);
    EXPECT_FALSE(isSkipping());
    EXPECT_TRUE(isReadModeNormal());
    gReadMode = kReadAuto;
    EXPECT_TRUE(isAutoMode());
    EXPECT_FALSE(isSkipping());

    // Ctrl held (and the application active: the backend reports both) skips and resets the mode.
    static const InputBackend backend = {nullptr, nullptr, nullptr, ctrlHeld, nullptr};
    setInputBackend(&backend);
    gCtrlHeld = true;
    EXPECT_TRUE(isSkipping());
    EXPECT_EQ(gReadMode, kReadNormal);
    gCtrlHeld = false;
    EXPECT_FALSE(isSkipping());
    resetLatch();
}

TEST(MouseMessages, LatchCodesAndButtonHandlers) {
    resetLatch();
    struct Case {
        uint32_t message;
        uint64_t wParam;
        uint8_t expected;
    };
    const Case cases[] = {
        {0x0201, 0, 1},                  // left press without buttons: click
        {0x0205, 0, 30},                 // right release
        {0x0208, 0, 31},                 // middle release
        {0x020A, uint64_t(120) << 16, 32},           // wheel forward
        {0x020A, uint64_t(0xFF88) << 16, 33},        // wheel back (-120)
        {0x020A, 0, 33},                             // a zero delta counts as back
        {0x0111, 22, 22},                            // menu item
        {0x0111, (uint64_t(1) << 16) | 26, 26},      // accelerator
    };
    for (const Case& c : cases) {
        clearCommand();
        EXPECT_TRUE(mouseMessageToCommand(c.message, c.wParam, 0)) << std::hex << c.message;
        EXPECT_EQ(getCommand(), c.expected) << std::hex << c.message;
    }
    // A control notification is taken but latches nothing; other messages are not taken.
    setCommand(7);
    EXPECT_TRUE(mouseMessageToCommand(0x0111, (uint64_t(0x300) << 16) | 5, 0));
    EXPECT_EQ(getCommand(), 7);
    EXPECT_FALSE(mouseMessageToCommand(0x0200, 0, 0));  // mouse move
    EXPECT_FALSE(mouseMessageToCommand(0x0204, 0, 0));  // right press
    EXPECT_FALSE(mouseMessageToCommand(0x0100, 0, 0));  // key down
    EXPECT_EQ(getCommand(), 7);

    // With the button tables: a press a button takes latches no click; a release latches the
    // released button's command and index.
    static bool pressTaken = true;
    setButtonHandlers([] { return pressTaken; },
                      [](uint8_t& cmd, int32_t& index) {
                          cmd = 2;
                          index = 4;
                          return true;
                      });
    clearCommand();
    EXPECT_TRUE(mouseMessageToCommand(0x0201, 0, 0));
    EXPECT_EQ(getCommand(), 0);
    pressTaken = false;
    EXPECT_TRUE(mouseMessageToCommand(0x0201, 0, 0));
    EXPECT_EQ(getCommand(), 1);
    EXPECT_TRUE(mouseMessageToCommand(0x0202, 0, 0));
    EXPECT_EQ(getCommand(), 2);
    EXPECT_EQ(getSelectedIndex(), 4);
    clearCommand();
    EXPECT_EQ(getSelectedIndex(), -1);
    resetLatch();
}

namespace {
int gPolls = 0;
bool gQuitOnPoll = false;
bool fakePoll(uint8_t, bool) {
    ++gPolls;
    if (gQuitOnPoll) return false;
    setCommand(33);  // a wheel-down arrives during the dispatch
    return true;
}
bool fakePump() { return !gQuitOnPoll; }
}  // namespace

TEST(Pumps, BackendStepsRemapAndQuitForEver) {
    resetLatch();
    setDefaultSettings();
    static const InputBackend backend = {fakePoll, fakePump, fakePump, nullptr, nullptr};
    setInputBackend(&backend);
    gPolls = 0;
    gQuitOnPoll = false;
    EXPECT_TRUE(pollInput(2, true));
    EXPECT_EQ(getCommand(), 10);  // wheel down pages in screens
    EXPECT_TRUE(pollInput(0, false));
    EXPECT_EQ(getCommand(), 4);  // and advances the text in reading
    EXPECT_TRUE(pumpMessages());
    EXPECT_TRUE(pumpMessageBlocking());

    gQuitOnPoll = true;
    EXPECT_FALSE(pollInput(0, false));
    EXPECT_EQ(gQuitReceived, 1);
    gQuitOnPoll = false;
    int polls = gPolls;
    // Once the quit was seen, no pump reaches the platform again.
    EXPECT_FALSE(pollInput(0, false));
    EXPECT_FALSE(pumpMessages());
    EXPECT_FALSE(pumpMessageBlocking());
    EXPECT_EQ(gPolls, polls);
    resetLatch();

    // Without a backend the pumps only report the quit state.
    EXPECT_TRUE(pumpMessages());
    EXPECT_TRUE(pumpMessageBlocking());
    EXPECT_EQ(pollJoystick(), 0);
    gQuitReceived = 1;
    EXPECT_FALSE(pumpMessageBlocking());
    resetLatch();
}

TEST(ActionNames, EveryActionHasItsTextAndOutsideIsEmpty) {
#ifdef MORVANE_EARLIER
    EXPECT_STREQ(getActionName(0), "\x81\x69\x82\xC8\x82\xB5\x81\x6A");  // （なし）
    EXPECT_STREQ(getActionName(5), "\x81\xA9");                          // ←
#else
    EXPECT_STREQ(getActionName(0), "\x20\xA3\xA8\xCE\xDE\xA3\xA9\x20");  // " （无） "
    EXPECT_STREQ(getActionName(5), "\xA1\xFB");                          // ←
#endif
    for (int id = 0; id <= 28; ++id) EXPECT_GT(std::strlen(getActionName(id)), 0u) << id;
    EXPECT_STREQ(getActionName(-1), "");
    EXPECT_STREQ(getActionName(29), "");
    EXPECT_STREQ(getActionName(-128), "");
    EXPECT_STREQ(getActionName(127), "");
}
