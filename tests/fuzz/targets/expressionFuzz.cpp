// Expressions: an input is the text of one expression, over a few named variables of each table.
// The result and value must be those of the evaluation rules, worked out here independently:
// tokens read left to right, no precedence, 32-bit wrapping arithmetic, groups nesting at most
// 64 deep.
#include <cstring>
#include <string>

#include "scenario/expression.h"
#include "scenario/variableStore.h"
#include "fuzzInput.h"

namespace {
struct Variable {
    VariableKind kind;
    int index;
    const char* name;
    int32_t value;
};
// "same" is both a local and a global name: the lower index (the global one) is found.
const Variable kVariables[] = {
    {VariableKind::Local, 0, "a", -2147483647 - 1}, {VariableKind::Local, 7, "L007", -1},
    {VariableKind::Local, 9, "same", 5},            {VariableKind::Global, 0, "g", 2147483647},
    {VariableKind::Global, 3, "same", 6},           {VariableKind::Global, 999, "G999", 0},
    {VariableKind::Seen, 3, "F003", 1},
};

int32_t valueOf(const std::string& operand) {
    if (operand[0] >= '0' && operand[0] <= '9') {
        int64_t v = 0;
        for (size_t i = 0; i < operand.size() && operand[i] >= '0' && operand[i] <= '9'; ++i) {
            v = v * 10 + (operand[i] - '0');
            if (v > 2147483647) v = 2147483647;
        }
        return static_cast<int32_t>(v);
    }
    const Variable* best = nullptr;
    for (const Variable& v : kVariables)
        if (operand == v.name && (!best || v.index < best->index ||
                                  (v.index == best->index && v.kind < best->kind)))
            best = &v;
    return best ? best->value : 0;
}

class Reference {
public:
    explicit Reference(const std::string& text) : m_text(text) {}

    bool Sequence(int32_t& acc, int nesting) {
        char op = '+';
        for (;;) {
            std::string token = Next();
            if (token.empty()) return true;
            bool negate = false;
            if (token == "!") {
                negate = true;
                token = Next();
            }
            int32_t value;
            if (token == "(") {
                if (nesting >= 64) return false;
                ++m_open;
                int32_t group = 0;
                if (!Sequence(group, nesting + 1)) return false;
                value = group;
            } else if (!token.empty() && !IsOperator(token[0])) {
                value = valueOf(token);
            } else {
                return false;
            }
            if (negate) value = value == 0;
            const uint32_t a = static_cast<uint32_t>(acc), b = static_cast<uint32_t>(value);
            switch (op) {
                case '&': acc = acc != 0 && value != 0; break;
                case '+': acc = static_cast<int32_t>(a + b); break;
                case '-': acc = static_cast<int32_t>(a - b); break;
                case '*': acc = static_cast<int32_t>(a * b); break;
                case '<': acc = acc < value; break;
                case '>': acc = acc > value; break;
                case '/':
                    if (value == 0) return false;
                    acc = value == -1 ? static_cast<int32_t>(0u - a) : acc / value;
                    break;
            }
            token = Next();
            if (token.empty()) return true;
            if (token == ")") {
                if (m_open < 1) return false;
                --m_open;
                return true;
            }
            if (std::strchr("&+-*/<>", token[0])) {
                op = token[0];
                continue;
            }
            return false;
        }
    }

private:
    static bool IsOperator(char c) { return std::strchr("!&()*+-/<>", c) != nullptr; }

    // The next token: "" at the end, an operator character, or an operand run.
    std::string Next() {
        while (m_at < m_text.size() && (m_text[m_at] == ' ' || m_text[m_at] == '\t')) ++m_at;
        if (m_at >= m_text.size()) return "";
        if (IsOperator(m_text[m_at])) return std::string(1, m_text[m_at++]);
        const size_t start = m_at;
        while (m_at < m_text.size() && !IsOperator(m_text[m_at]) && m_text[m_at] != ' ' &&
               m_text[m_at] != '\t')
            ++m_at;
        return m_text.substr(start, m_at - start);
    }

    std::string m_text;
    size_t m_at = 0;
    int m_open = 0;
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool named = false;
    if (!named) {
        resetVariableStore();
        for (const Variable& v : kVariables) {
            setVariableName(v.kind, v.index, v.name);
            variableValues(v.kind)[v.index] = v.value;
        }
        named = true;
    }
    // The text ends at its first NUL, as every script line does.
    const std::string text(reinterpret_cast<const char*>(data), strnlen(reinterpret_cast<const char*>(data), size));
    int32_t value = 0;
    const bool ok = evaluateExpressionChecked(text.c_str(), value);
    int32_t expected = 0;
    Reference reference(text);
    FUZZ_CHECK(reference.Sequence(expected, 0) == ok);
    FUZZ_CHECK(value == expected);
    FUZZ_CHECK(evaluateExpression(text.c_str()) == value);
    return 0;
}
