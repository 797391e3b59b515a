// Expressions: an input is the text of one expression. A few variables of each table are named;
// the same text evaluated twice gives the same value and result.
#include <string>

#include "scenario/expression.h"
#include "scenario/variableStore.h"
#include "fuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool named = false;
    if (!named) {
        resetVariableStore();
        setVariableName(VariableKind::Local, 0, "a");
        setVariableName(VariableKind::Local, 7, "L007");
        setVariableName(VariableKind::Global, 0, "g");
        setVariableName(VariableKind::Global, 999, "G999");
        setVariableName(VariableKind::Seen, 3, "F003");
        variableValues(VariableKind::Local)[0] = -2147483647 - 1;
        variableValues(VariableKind::Local)[7] = -1;
        variableValues(VariableKind::Global)[0] = 2147483647;
        variableValues(VariableKind::Global)[999] = 0;
        variableValues(VariableKind::Seen)[3] = 1;
        named = true;
    }
    const std::string text(reinterpret_cast<const char*>(data), size);
    int32_t first = 0, second = 0;
    const bool ok = evaluateExpressionChecked(text.c_str(), first);
    FUZZ_CHECK(evaluateExpressionChecked(text.c_str(), second) == ok);
    FUZZ_CHECK(first == second);
    FUZZ_CHECK(evaluateExpression(text.c_str()) == first);
    return 0;
}
