#pragma once

// The formula language of quantities: numbers, + - * /, unary minus, round, square and curly
// brackets, the functions of the table in FormulaEvaluator.cpp, and notes in "<...>".
// This file and its .cpp depend on the C++ standard library only: the plug-in Ferrolet
// compiles its own copy of the evaluator from the same source.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quarrant {

// Removes notes ("<...>") and evaluates a formula. Returns 0 on success (value delivered),
// -1 when the notes are unbalanced, -2 for a formula error; on -1 and -2 the output is left
// unchanged.
int EvaluateFormula(const std::string& text, std::string& valueText);  // "%.3f" text
int EvaluateFormula(const std::string& text, float& value);            // the page's form

// Codes of FormulaEvaluator::Evaluate.
inline constexpr int kEvaluateOk = 0;
inline constexpr int kEvaluateMalformed = -1;        // empty formula, operands missing or left over
inline constexpr int kEvaluateDivisionByZero = 1;    // a / 0
inline constexpr int kEvaluateAcosDomain = 2;        // acos outside [-1, 1]
inline constexpr int kEvaluateAsinDomain = 3;        // asin outside [-1, 1]
inline constexpr int kEvaluateCotOfZeroTangent = 4;  // cot where tan is exactly 0
inline constexpr int kEvaluateModByZero = 5;         // mod(a, 0)
inline constexpr int kEvaluateLnDomain = 6;          // ln of a value <= 0
inline constexpr int kEvaluateLogDomain = 7;         // log of a value <= 0
inline constexpr int kEvaluateSqrtDomain = 8;        // sqrt of a negative value
inline constexpr int kEvaluateNotFinite = 9;         // the result is infinite or not a number

// One evaluation of one formula text. Call Load, CheckSyntax, ToPostfix, Evaluate and Result in
// this order on a fresh object; stop after a false CheckSyntax. The object is large (fixed
// arrays, no allocation per token) and belongs on the heap.
class FormulaEvaluator {
public:
    // Buffer size including the end marker "#" and the terminating zero.
    static constexpr std::size_t kExpressionSize = 10000;
    static constexpr std::size_t kTokenCapacity = 10000;
    // The longest formula text that fits the buffer.
    static constexpr std::size_t kMaxFormulaLength = kExpressionSize - 2;

    // Token kinds.
    static constexpr std::int32_t kNumber = 0;
    static constexpr std::int32_t kOperator = 1;  // + - * / ~ ( and the end marker #
    static constexpr std::int32_t kFunction = 2;

    struct Token {
        std::int32_t kind;
        double value;           // kNumber
        char symbol;            // kOperator
        std::int32_t function;  // kFunction: 1 "abs" ... 19 "tanh"
    };

    FormulaEvaluator();
    virtual ~FormulaEvaluator();
    FormulaEvaluator(const FormulaEvaluator&) = delete;
    FormulaEvaluator& operator=(const FormulaEvaluator&) = delete;

    // Copies the text into the expression buffer. A text longer than kMaxFormulaLength is not
    // copied and makes CheckSyntax fail.
    void Load(std::string_view text);
    // Validates the text; on success appends the end marker and turns [ ] { } into ( ).
    bool CheckSyntax();
    // Converts the checked text into postfix order.
    void ToPostfix();
    // Runs the postfix tokens: kEvaluateOk with the value in Result(), or one of the codes above.
    int Evaluate();
    double Result() const { return m_result; }

private:
    char m_expression[kExpressionSize];
    double m_variableX = 0.0;  // the value of the operand letter x
    double m_result = 0.0;
    Token m_postfix[kTokenCapacity];

    // Working storage of the operations, kept in the object so that no call stack (worker
    // threads included) has to hold it.
    std::size_t m_length = 0;
    bool m_tooLong = false;
    Token m_operators[kTokenCapacity];
    double m_values[kTokenCapacity];
    char m_brackets[kExpressionSize];
};

}  // namespace quarrant
