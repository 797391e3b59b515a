// The expression evaluator of the scripts: operands (numbers and variable names) and the operators
// ! & + - * / < > and parentheses, applied strictly from left to right without precedence.
#pragma once
#include <cstdint>

// Groups nest at most this deep; a deeper opening parenthesis fails the expression.
constexpr int kMaxExpressionNesting = 64;

// Evaluates the text; value is the accumulator as it stood when evaluation stopped. False when the
// expression failed (a missing operand, an operand where an operator belongs, division by 0, an
// unmatched closing parenthesis, nesting too deep). A null text is the empty expression.
bool evaluateExpressionChecked(const char* text, int32_t& value);

// The value of the expression; a failure gives a diagnostic and the partial value.
int32_t evaluateExpression(const char* text);
