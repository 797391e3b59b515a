#include "scenario/expression.h"

#include "base/uiText.h"
#include "base/debugMessage.h"
#include "base/vstring.h"
#include "scenario/variableStore.h"

namespace {

enum class Token { End, Not, And, Open, Close, Times, Plus, Minus, Divide, Less, Greater, Operand };

bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool endsOperand(char c) {
    switch (c) {
    case '\0': case ' ': case '\t': case '(': case ')': case '&': case '+': case '-': case '!':
    case '/': case '*': case '<': case '>':
        return true;
    default:
        return false;
    }
}

// Arithmetic on the two's-complement bit patterns, so that overflow wraps instead of being
// undefined.
int32_t wrap(uint32_t bits) { return static_cast<int32_t>(bits); }

class Evaluator {
public:
    explicit Evaluator(const char* text) : m_p(text) {}

    // A sequence: operands joined by operators, ended by the end of the text or by the closing
    // parenthesis of its group.
    bool Sequence(int32_t& acc) {
        Token op = Token::Plus;
        for (;;) {
            Token t = Next();
            if (t == Token::End) return true;
            bool negate = false;
            if (t == Token::Not) {
                negate = true;
                t = Next();
            }
            int32_t value;
            if (t == Token::Operand) {
                value = getVariable(vstring(m_operand, m_operandLength).c_str());
            } else if (t == Token::Open) {
                if (m_nesting >= kMaxExpressionNesting) return false;
                ++m_openCount;
                ++m_nesting;
                int32_t group = 0;
                bool ok = Sequence(group);
                --m_nesting;
                if (!ok) return false;
                value = group;
            } else {
                return false;
            }
            if (negate) value = value == 0 ? 1 : 0;
            if (!Apply(acc, op, value)) return false;

            t = Next();
            switch (t) {
            case Token::End:
                return true;
            case Token::Close:
                if (m_openCount < 1) return false;
                --m_openCount;
                return true;
            case Token::And: case Token::Plus: case Token::Minus: case Token::Divide:
            case Token::Times: case Token::Less: case Token::Greater:
                op = t;
                break;
            default:
                return false;
            }
        }
    }

private:
    static bool Apply(int32_t& acc, Token op, int32_t value) {
        uint32_t a = static_cast<uint32_t>(acc), b = static_cast<uint32_t>(value);
        switch (op) {
        case Token::And: acc = (acc != 0 && value != 0) ? 1 : 0; return true;
        case Token::Plus: acc = wrap(a + b); return true;
        case Token::Minus: acc = wrap(a - b); return true;
        case Token::Times: acc = wrap(a * b); return true;
        case Token::Divide:
            if (value == 0) return false;
            // The most negative value divided by -1 does not fit; it wraps to itself.
            acc = (value == -1) ? wrap(0u - a) : acc / value;
            return true;
        case Token::Less: acc = acc < value ? 1 : 0; return true;
        case Token::Greater: acc = acc > value ? 1 : 0; return true;
        default: return false;
        }
    }

    Token Next() {
        while (isBlank(*m_p)) ++m_p;
        char c = *m_p;
        switch (c) {
        case '\0': return Token::End;
        case '!': ++m_p; return Token::Not;
        case '&': ++m_p; return Token::And;
        case '(': ++m_p; return Token::Open;
        case ')': ++m_p; return Token::Close;
        case '*': ++m_p; return Token::Times;
        case '+': ++m_p; return Token::Plus;
        case '-': ++m_p; return Token::Minus;
        case '/': ++m_p; return Token::Divide;
        case '<': ++m_p; return Token::Less;
        case '>': ++m_p; return Token::Greater;
        default: break;
        }
        m_operand = m_p;
        while (!endsOperand(*m_p)) ++m_p;
        m_operandLength = static_cast<size_t>(m_p - m_operand);
        return Token::Operand;
    }

    const char* m_p;
    const char* m_operand = nullptr;
    size_t m_operandLength = 0;
    int m_openCount = 0;  // open parentheses not yet closed, over the whole expression
    int m_nesting = 0;    // groups being evaluated right now
};

}  // namespace

bool evaluateExpressionChecked(const char* text, int32_t& value) {
    value = 0;
    if (!text) return true;
    Evaluator evaluator(text);
    return evaluator.Sequence(value);
}

int32_t evaluateExpression(const char* text) {
    int32_t value;
    if (!evaluateExpressionChecked(text, value))
        debugMessage(uiText(UiText::DiagExpressionFailed), text);
    return value;
}
