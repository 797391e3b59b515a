#include "app/joystick.h"

#include "testing.h"

namespace {
constexpr uint32_t kCentre = 32768;
JoyReading at(uint32_t x, uint32_t y, uint32_t buttons = 0) { return {x, y, buttons}; }
}  // namespace

TEST(Joystick, AxisThresholds) {
    struct Case {
        uint32_t x, y;
        uint8_t expected;
    };
    const Case cases[] = {
        {0, kCentre, 5},     {8191, kCentre, 5},  {8192, kCentre, 0},  {57344, kCentre, 0},
        {57345, kCentre, 6}, {65535, kCentre, 6}, {kCentre, 0, 7},     {kCentre, 8191, 7},
        {kCentre, 8192, 0},  {kCentre, 57344, 0}, {kCentre, 57345, 8}, {kCentre, 65535, 8},
        {kCentre, kCentre, 0},
    };
    for (const Case& c : cases) {
        JoystickState s;
        EXPECT_EQ(joystickStep(s, at(c.x, c.y)), c.expected) << c.x << "," << c.y;
    }
}

TEST(Joystick, EachDirectionOncePerPressHorizontalFirst) {
    JoystickState s;
    EXPECT_EQ(joystickStep(s, at(0, kCentre)), 5);  // held left: one 5
    for (int i = 0; i < 5; ++i) EXPECT_EQ(joystickStep(s, at(0, kCentre)), 0);
    EXPECT_EQ(joystickStep(s, at(65535, kCentre)), 0);  // straight to the right: still latched
    EXPECT_EQ(joystickStep(s, at(kCentre, kCentre)), 0);  // back to the centre band
    EXPECT_EQ(joystickStep(s, at(65535, kCentre)), 6);

    // Diagonal: the horizontal axis first, the vertical on the next step, then buttons.
    JoystickState d;
    EXPECT_EQ(joystickStep(d, at(0, 65535, 1)), 5);
    EXPECT_EQ(joystickStep(d, at(0, 65535, 1)), 8);
    EXPECT_EQ(joystickStep(d, at(0, 65535, 1)), 48);
    EXPECT_EQ(joystickStep(d, at(0, 65535, 1)), 0);
}

TEST(Joystick, ButtonsReportOnceInOrderUntilReleased) {
    JoystickState s;
    const uint32_t both = (1u << 0) | (1u << 4);  // buttons 1 and 5 together
    EXPECT_EQ(joystickStep(s, at(kCentre, kCentre, both)), 48);
    EXPECT_EQ(joystickStep(s, at(kCentre, kCentre, both)), 52);
    EXPECT_EQ(joystickStep(s, at(kCentre, kCentre, both)), 0);
    EXPECT_EQ(joystickStep(s, at(kCentre, kCentre, 1u << 4)), 0);  // 1 released, 5 still held
    EXPECT_EQ(joystickStep(s, at(kCentre, kCentre, both)), 48);    // 1 pressed again
    EXPECT_EQ(joystickStep(s, at(kCentre, kCentre, 0x80)), 55);    // button 8
    EXPECT_EQ(joystickStep(s, at(kCentre, kCentre, 0xFF00)), 0);   // buttons beyond 8 ignored
}

namespace {
int gReads = 0;
bool gPresent = false;
JoyReading gReading = {kCentre, kCentre, 0};
bool fakeRead(JoyReading& out) {
    ++gReads;
    if (!gPresent) return false;
    out = gReading;
    return true;
}
}  // namespace

TEST(Joystick, NoNewReadForAWhileAfterAFailure) {
    JoystickState s;
    gReads = 0;
    gPresent = false;
    EXPECT_EQ(joystickPoll(s, 1000, fakeRead), 0);
    EXPECT_EQ(gReads, 1);
    for (uint32_t t = 1000; t < 1000 + kJoyRetryMs; t += 100) EXPECT_EQ(joystickPoll(s, t, fakeRead), 0);
    EXPECT_EQ(gReads, 1);
    gPresent = true;  // plugged in
    gReading = at(0, kCentre);
    EXPECT_EQ(joystickPoll(s, 1000 + kJoyRetryMs, fakeRead), 5);
    EXPECT_EQ(gReads, 2);
    EXPECT_EQ(joystickPoll(s, 1000 + kJoyRetryMs + 1, fakeRead), 0);  // read again, latched
    EXPECT_EQ(gReads, 3);

    // Across a wrap of the clock.
    JoystickState w;
    gPresent = false;
    joystickPoll(w, 0xFFFFFF00u, fakeRead);
    int reads = gReads;
    joystickPoll(w, 0x100u, fakeRead);  // 512 ms later
    EXPECT_EQ(gReads, reads);
    joystickPoll(w, 0xFFFFFF00u + kJoyRetryMs, fakeRead);
    EXPECT_EQ(gReads, reads + 1);
    EXPECT_EQ(joystickPoll(w, 0, nullptr), 0);
}
