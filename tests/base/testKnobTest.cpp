#include "base/testKnob.h"

#include <cstdlib>
#include <deque>
#include <string>

#include "testing.h"

namespace {
const char* kName = "MORVANE_TEST_KNOB_UNDER_TEST";

// putenv keeps the text it is given (POSIX) and exists in both C libraries; "NAME=" unsets the
// variable in one and empties it in the other.
void setKnob(const char* value) {
    static std::deque<std::string> texts;
    texts.push_back(std::string(kName) + "=" + value);
    putenv(&texts.back()[0]);
}

TEST(TestKnob, NumberInItsRangeElseZero) {
    const struct {
        const char* value;
        uint32_t expected;
    } cases[] = {{"", 0},    {"1", 1},    {"1000", 1000}, {"250", 250},        {"0", 0},
                 {"1001", 0}, {"-5", 0},  {"abc", 0},     {"4294967297", 0}};
    for (const auto& c : cases) {
        setKnob(c.value);
        EXPECT_EQ(c.expected, testKnob(kName, 1, 1000)) << c.value;
    }
    setKnob("1");
    EXPECT_EQ(0u, testKnob(kName, 2, 1000));
    setKnob("");
}
}  // namespace
