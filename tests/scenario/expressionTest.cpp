#include <climits>
#include <string>

#include "scenarioTestSupport.h"
#include "scenario/expression.h"
#include "testing.h"

namespace {

void defineTestVariables() {
    defineVariables({
        {VariableKind::Local, 0, "zero", 0},
        {VariableKind::Local, 1, "a", 7},
        {VariableKind::Local, 2, "b", 5},
        {VariableKind::Local, 3, "minusOne", -1},
        {VariableKind::Local, 4, "min", INT32_MIN},
        {VariableKind::Global, 0, "max", INT32_MAX},
        {VariableKind::Seen, 0, "seen", 1},
    });
}

struct Case {
    const char* text;
    int32_t value;
    bool ok;
};

TEST(Expression, TableOfCases) {
    defineTestVariables();
    const Case cases[] = {
        {"", 0, true},
        {"   \t ", 0, true},
        {"!zero", 1, true},
        {"! zero", 1, true},
        {"!a", 0, true},
        {"!!zero", 0, false},
        {"-5", 0, false},
        {"0 - 5", -5, true},
        {"1 +", 1, true},
        {"!", 0, false},
        {"1 + !", 1, false},
        {"3 > 2 & 1", 1, true},
        {"1 < 2 < 3", 1, true},
        {"3 < 2", 0, true},
        {"2 & 3", 1, true},
        {"2 & zero", 0, true},
        {"1 + 2 * 3", 9, true},
        {"1+2*3", 9, true},
        {"(1 + 2", 3, true},
        {"1 + 2)", 3, false},
        {"(1)) + 5", 1, false},
        {"()", 0, false},
        {"(", 0, true},
        {"1 + (2 + 3) * 2", 12, true},
        {"a + b", 12, true},
        {"a + b a", 12, false},
        {"a / 0", 7, false},
        {"a / zero", 7, false},
        {"1 + (2 / 0)", 1, false},
        {"a - (b + (1 2))", 7, false},
        {"7 / 2", 3, true},
        {"0 - 7 / 2", -3, true},
        {"12abc", 12, true},
        {"12abc + 1", 13, true},
        {"x=5", 0, true},      // one operand: an unknown name
        {"a == 3", 7, false},  // "==" is an operand where an operator belongs
        {"a|b", 0, true},
        {"seen + max", INT32_MIN, true},
        {"max + 1", INT32_MIN, true},
        {"0 - max - 2", INT32_MAX, true},
        {"65536 * 65536", 0, true},
        {"min / minusOne", INT32_MIN, true},
        {"(0 - 2147483647 - 1) / (0 - 1)", INT32_MIN, true},
        {"99999999999999999999999", INT32_MAX, true},
        {"0 - 99999999999999999999999", -INT32_MAX, true},
        {"min < max", 1, true},
        {"min > max", 0, true},
        {"a\t*\tb", 35, true},
    };
    for (const Case& c : cases) {
        int32_t value = 12345;
        bool ok = evaluateExpressionChecked(c.text, value);
        EXPECT_EQ(c.value, value) << '"' << c.text << '"';
        EXPECT_EQ(c.ok, ok) << '"' << c.text << '"';
        EXPECT_EQ(c.value, evaluateExpression(c.text)) << '"' << c.text << '"';
    }
    int32_t value = 1;
    EXPECT_TRUE(evaluateExpressionChecked(nullptr, value));
    EXPECT_EQ(0, value);
    EXPECT_EQ(0, evaluateExpression(nullptr));
}

TEST(Expression, FailureGivesTheDiagnosticWithTheText) {
    defineTestVariables();
    DiagnosticRecorder diagnostics;
    EXPECT_EQ(7, evaluateExpression("a / 0"));
    ASSERT_EQ(1u, diagnostics.messages().size());
    EXPECT_NE(std::string::npos, diagnostics.messages()[0].find("a / 0"));
    diagnostics.messages().clear();
    EXPECT_EQ(12, evaluateExpression("a + b"));
    EXPECT_TRUE(diagnostics.messages().empty());
    // An unknown name is not a failure of the expression, but has its own diagnostic.
    EXPECT_EQ(0, evaluateExpression("nobody"));
    ASSERT_EQ(1u, diagnostics.messages().size());
    EXPECT_NE(std::string::npos, diagnostics.messages()[0].find("nobody"));
}

TEST(Expression, NestingIsBounded) {
    defineTestVariables();
    std::string deep(kMaxExpressionNesting, '(');
    int32_t value = 0;
    EXPECT_TRUE(evaluateExpressionChecked((deep + "1 + 1").c_str(), value));
    EXPECT_EQ(2, value);
    std::string closed = deep + "4" + std::string(kMaxExpressionNesting, ')') + " * 2";
    EXPECT_TRUE(evaluateExpressionChecked(closed.c_str(), value));
    EXPECT_EQ(8, value);
    EXPECT_FALSE(evaluateExpressionChecked((deep + "(1").c_str(), value));
    EXPECT_EQ(0, value);
    EXPECT_FALSE(evaluateExpressionChecked(("3 + " + deep + "(1").c_str(), value));
    EXPECT_EQ(3, value);
    // Far beyond the bound: no deep recursion, just the failure.
    std::string huge(1000000, '(');
    EXPECT_FALSE(evaluateExpressionChecked(huge.c_str(), value));
}

TEST(Expression, LongOperandsAreReadWhole) {
    std::string longName(300, 'n');
    defineVariables({{VariableKind::Global, 9, longName.c_str(), 41}});
    EXPECT_EQ(42, evaluateExpression((longName + " + 1").c_str()));
    // The same name cut at 99 characters is another (unknown) name.
    EXPECT_EQ(1, evaluateExpression((longName.substr(0, 99) + " + 1").c_str()));
    std::string digits(5000, '0');
    digits += "17";
    EXPECT_EQ(18, evaluateExpression((digits + "+1").c_str()));
}

TEST(Expression, RandomTextNeverCrashes) {
    defineTestVariables();
    const char alphabet[] = "!&()*+-/<> \t0123456789abz=|\x82\xa0";
    uint32_t seed = 12345;
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        seed = seed * 1103515245u + 12345u;
        int length = static_cast<int>((seed >> 16) % 40);
        for (int i = 0; i < length; ++i) {
            seed = seed * 1103515245u + 12345u;
            text += alphabet[(seed >> 16) % (sizeof alphabet - 1)];
        }
        int32_t value;
        evaluateExpressionChecked(text.c_str(), value);
    }
}

}  // namespace
