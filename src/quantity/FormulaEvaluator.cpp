#include "quantity/FormulaEvaluator.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <memory>
#include <new>
#include <system_error>

namespace quarrant {

namespace {

struct FunctionName {
    std::string_view name;
    std::int32_t number;
};

// The functions of the language, with the numbers that the postfix tokens carry. Names are
// matched case-sensitively.
constexpr FunctionName kFunctions[] = {
    {"abs", 1},  {"acos", 2},  {"asin", 3},   {"atan", 4}, {"acot", 5},  {"cos", 6},  {"cosh", 7},
    {"cot", 8},  {"exp", 9},   {"floor", 10}, {"mod", 11}, {"ln", 12},   {"log", 13}, {"pow", 14},
    {"sin", 15}, {"sinh", 16}, {"sqrt", 17},  {"tan", 18}, {"tanh", 19},
};

constexpr std::int32_t kFunctionMod = 11;
constexpr std::int32_t kFunctionPow = 14;

// The longest function name at the start of text: its number (0 when none) and its length.
std::int32_t MatchFunction(std::string_view text, std::size_t& length) {
    std::int32_t number = 0;
    length = 0;
    for (const FunctionName& function : kFunctions) {
        if (function.name.size() > length &&
            text.substr(0, function.name.size()) == function.name) {
            number = function.number;
            length = function.name.size();
        }
    }
    return number;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsOpening(char c) {
    return c == '(' || c == '[' || c == '{';
}
bool IsOperatorChar(char c) {
    return c == '+' || c == '-' || c == '*' || c == '/';
}

char OpeningOf(char closing) {
    switch (closing) {
        case ')':
            return '(';
        case ']':
            return '[';
        default:
            return '{';
    }
}

FormulaEvaluator::Token OperatorToken(char symbol) {
    return FormulaEvaluator::Token{FormulaEvaluator::kOperator, 0.0, symbol, 0};
}

bool IsOperatorToken(const FormulaEvaluator::Token& token, char symbol) {
    return token.kind == FormulaEvaluator::kOperator && token.symbol == symbol;
}

// Removes every "<...>" note. False when a "<" has no later ">", a second "<" comes before
// the closing ">", or a ">" stands outside any note. One pass from left to right; Chinese
// GBK bytes never equal "<" or ">".
bool RemoveNotes(const std::string& text, std::string& formula) {
    formula.clear();
    formula.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        char c = text[i];
        if (c == '>') {
            return false;
        }
        if (c != '<') {
            formula.push_back(c);
            ++i;
            continue;
        }
        std::size_t close = text.find_first_of("<>", i + 1);
        if (close == std::string::npos || text[close] == '<') {
            return false;
        }
        i = close + 1;
    }
    return true;
}

// Note removal and the five evaluation steps; the value is delivered only on 0.
int EvaluateToDouble(const std::string& text, double& value) {
    std::string formula;
    if (!RemoveNotes(text, formula)) {
        return -1;
    }
    if (formula.size() > FormulaEvaluator::kMaxFormulaLength) {
        return -2;
    }
    std::unique_ptr<FormulaEvaluator> evaluator(new (std::nothrow) FormulaEvaluator);
    if (!evaluator) {
        return -2;
    }
    evaluator->Load(formula);
    if (!evaluator->CheckSyntax()) {
        return -2;
    }
    evaluator->ToPostfix();
    if (evaluator->Evaluate() != kEvaluateOk) {
        return -2;
    }
    value = evaluator->Result();
    return 0;
}

}  // namespace

FormulaEvaluator::FormulaEvaluator() {
    m_expression[0] = '\0';
}

FormulaEvaluator::~FormulaEvaluator() = default;

void FormulaEvaluator::Load(std::string_view text) {
    if (text.size() > kMaxFormulaLength) {
        m_tooLong = true;
        m_length = 0;
        m_expression[0] = '\0';
        return;
    }
    m_tooLong = false;
    text.copy(m_expression, text.size());
    m_length = text.size();
    m_expression[m_length] = '\0';
}

bool FormulaEvaluator::CheckSyntax() {
    if (m_tooLong) {
        return false;
    }
    std::size_t depth = 0;
    std::size_t i = 0;
    while (i < m_length) {
        char c = m_expression[i];
        if (IsOpening(c)) {
            m_brackets[depth++] = c;
            ++i;
        } else if (c == ')' || c == ']' || c == '}') {
            if (depth == 0 || m_brackets[depth - 1] != OpeningOf(c)) {
                return false;
            }
            --depth;
            ++i;
        } else if (IsDigit(c) || c == '.' || c == ',' || c == 'x') {
            ++i;
        } else if (IsOperatorChar(c)) {
            // The buffer holds a zero after the text, so the next character always exists.
            if (IsOperatorChar(m_expression[i + 1])) {
                return false;
            }
            ++i;
        } else if (c >= 'a' && c <= 'z') {
            std::size_t nameLength = 0;
            if (MatchFunction(std::string_view(m_expression + i, m_length - i), nameLength) == 0) {
                return false;
            }
            i += nameLength;
            if (i >= m_length || !IsOpening(m_expression[i])) {
                return false;
            }
            m_brackets[depth++] = m_expression[i];
            ++i;
        } else {
            return false;
        }
    }
    if (depth != 0) {
        return false;
    }
    m_expression[m_length] = '#';
    m_expression[m_length + 1] = '\0';
    for (std::size_t k = 0; k < m_length; ++k) {
        char& c = m_expression[k];
        if (c == '[' || c == '{') {
            c = '(';
        } else if (c == ']' || c == '}') {
            c = ')';
        }
    }
    return true;
}

void FormulaEvaluator::ToPostfix() {
    // Every character yields at most one output token and one stack entry, so a checked text
    // never fills either array; the guards keep a broken invariant from writing past them.
    std::size_t out = 0;
    std::size_t top = 0;
    bool overflow = false;
    auto emit = [&](const Token& token) {
        if (out + 1 < kTokenCapacity) {
            m_postfix[out++] = token;
        } else {
            overflow = true;
        }
    };
    auto push = [&](const Token& token) {
        if (top < kTokenCapacity) {
            m_operators[top++] = token;
        } else {
            overflow = true;
        }
    };
    auto pushMultiplyOrDivide = [&](char symbol) {
        while (top > 0 && (IsOperatorToken(m_operators[top - 1], '*') ||
                           IsOperatorToken(m_operators[top - 1], '/') ||
                           m_operators[top - 1].kind == kFunction)) {
            emit(m_operators[--top]);
        }
        push(OperatorToken(symbol));
    };
    auto popToOpening = [&] {
        while (top > 0 && !IsOperatorToken(m_operators[top - 1], '(')) {
            emit(m_operators[--top]);
        }
    };

    std::size_t i = 0;
    while (!overflow && m_expression[i] != '#' && m_expression[i] != '\0') {
        char c = m_expression[i];
        char previous = i > 0 ? m_expression[i - 1] : '\0';
        if (IsDigit(c) || c == '.') {
            // The first "." starts the fraction; every further "." shifts the value and the
            // weight of the next digit one decimal place down (1.2.3 is 0.123).
            double value = 0.0;
            double weight = 0.1;
            bool fraction = false;
            for (; IsDigit(m_expression[i]) || m_expression[i] == '.'; ++i) {
                char d = m_expression[i];
                if (d == '.') {
                    if (fraction) {
                        value *= 0.1;
                        weight *= 0.1;
                    }
                    fraction = true;
                } else if (!fraction) {
                    value = value * 10.0 + (d - '0');
                } else {
                    value += (d - '0') * weight;
                    weight *= 0.1;
                }
            }
            emit(Token{kNumber, value, '\0', 0});
            continue;
        }
        if (c == 'x') {
            emit(Token{kNumber, m_variableX, '\0', 0});
        } else if (c == '(') {
            if (IsDigit(previous)) {
                pushMultiplyOrDivide('*');  // 2(3) is 2*(3)
            }
            push(OperatorToken('('));
        } else if (c == ')') {
            popToOpening();
            if (top > 0) {
                --top;
            }
        } else if (c == ',') {
            popToOpening();
        } else if (c == '-' && (i == 0 || previous == '(')) {
            push(OperatorToken('~'));
        } else if (c == '+' || c == '-') {
            popToOpening();
            push(OperatorToken(c));
        } else if (c == '*' || c == '/') {
            pushMultiplyOrDivide(c);
        } else {
            std::size_t nameLength = 0;
            std::int32_t number = MatchFunction(std::string_view(m_expression + i), nameLength);
            if (number == 0) {
                overflow = true;  // not a checked text
                break;
            }
            if (IsDigit(previous)) {
                pushMultiplyOrDivide('*');  // 3sqrt(4) is 3*sqrt(4)
            }
            push(Token{kFunction, 0.0, '\0', number});
            i += nameLength;
            continue;
        }
        ++i;
    }
    while (top > 0) {
        emit(m_operators[--top]);
    }
    if (overflow) {
        out = 0;  // an unusable conversion evaluates as an empty formula
    }
    m_postfix[out] = OperatorToken('#');
}

int FormulaEvaluator::Evaluate() {
    if (IsOperatorToken(m_postfix[0], '#')) {
        return kEvaluateMalformed;
    }
    std::size_t count = 0;
    for (std::size_t i = 0; i < kTokenCapacity; ++i) {
        const Token& token = m_postfix[i];
        if (token.kind == kNumber) {
            if (count >= kTokenCapacity) {
                return kEvaluateMalformed;
            }
            m_values[count++] = token.value;
            continue;
        }
        if (token.kind == kOperator) {
            if (token.symbol == '#') {
                break;
            }
            if (token.symbol == '~') {
                if (count < 1) {
                    return kEvaluateMalformed;
                }
                m_values[count - 1] = -m_values[count - 1];
                continue;
            }
            if (count < 2) {
                return kEvaluateMalformed;
            }
            double b = m_values[--count];
            double& a = m_values[count - 1];
            switch (token.symbol) {
                case '+':
                    a += b;
                    break;
                case '-':
                    a -= b;
                    break;
                case '*':
                    a *= b;
                    break;
                case '/':
                    if (b == 0.0) {
                        return kEvaluateDivisionByZero;
                    }
                    a /= b;
                    break;
                default:
                    return kEvaluateMalformed;
            }
            continue;
        }
        if (token.function == kFunctionMod || token.function == kFunctionPow) {
            if (count < 2) {
                return kEvaluateMalformed;
            }
            double b = m_values[--count];
            double& a = m_values[count - 1];
            if (token.function == kFunctionMod) {
                if (b == 0.0) {
                    return kEvaluateModByZero;
                }
                a = std::fmod(a, b);
            } else {
                a = std::pow(a, b);
            }
            continue;
        }
        if (count < 1) {
            return kEvaluateMalformed;
        }
        // NaN passes the domain checks; the check of the result below rejects it.
        double& x = m_values[count - 1];
        switch (token.function) {
            case 1:
                x = std::fabs(x);
                break;
            case 2:
                if (x < -1.0 || x > 1.0) {
                    return kEvaluateAcosDomain;
                }
                x = std::acos(x);
                break;
            case 3:
                if (x < -1.0 || x > 1.0) {
                    return kEvaluateAsinDomain;
                }
                x = std::asin(x);
                break;
            case 4:
                x = std::atan(x);
                break;
            case 5:
                x = 1.5707963 - std::atan(x);  // this constant, not the full half of pi
                break;
            case 6:
                x = std::cos(x);
                break;
            case 7:
                x = std::cosh(x);
                break;
            case 8: {
                double tangent = std::tan(x);
                if (tangent == 0.0) {
                    return kEvaluateCotOfZeroTangent;
                }
                x = 1.0 / tangent;
                break;
            }
            case 9:
                x = std::exp(x);
                break;
            case 10:
                x = std::floor(x);
                break;
            case 12:
                if (x <= 0.0) {
                    return kEvaluateLnDomain;
                }
                x = std::log(x);
                break;
            case 13:
                if (x <= 0.0) {
                    return kEvaluateLogDomain;
                }
                x = std::log10(x);
                break;
            case 15:
                x = std::sin(x);
                break;
            case 16:
                x = std::sinh(x);
                break;
            case 17:
                if (x < 0.0) {
                    return kEvaluateSqrtDomain;
                }
                x = std::sqrt(x);
                break;
            case 18:
                x = std::tan(x);
                break;
            case 19:
                x = std::tanh(x);
                break;
            default:
                return kEvaluateMalformed;
        }
    }
    if (count != 1) {
        return kEvaluateMalformed;
    }
    if (!std::isfinite(m_values[0])) {
        return kEvaluateNotFinite;
    }
    m_result = m_values[0];
    return kEvaluateOk;
}

int EvaluateFormula(const std::string& text, std::string& valueText) {
    double value = 0.0;
    int code = EvaluateToDouble(text, value);
    if (code != 0) {
        return code;
    }
    // "%.3f" without the C library's locale: the longest finite double needs 309 digits.
    char buffer[400];
    std::to_chars_result written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 3);
    if (written.ec != std::errc()) {
        return -2;
    }
    valueText.assign(buffer, written.ptr);
    return 0;
}

int EvaluateFormula(const std::string& text, float& value) {
    double result = 0.0;
    int code = EvaluateToDouble(text, result);
    if (code != 0) {
        return code;
    }
    // A value beyond the float range would arrive as infinity.
    if (std::fabs(result) > static_cast<double>(std::numeric_limits<float>::max())) {
        return -2;
    }
    value = static_cast<float>(result);
    return 0;
}

}  // namespace quarrant
