#include "controls/widgets/CalculatorState.h"

#include "base/CNumbers.h"

namespace quarrant {

std::string CalculatorState::Apply(Operator op, std::string_view first, std::string_view second) {
    // Operands are read as the C library reads numbers (rubbish is 0) and computed in single
    // precision; division by zero gives what the number formatting prints for it.
    const float a = static_cast<float>(AtofC(first));
    const float b = static_cast<float>(AtofC(second));
    float result = a;
    switch (op) {
        case Operator::Divide:
            result = a / b;
            break;
        case Operator::Multiply:
            result = a * b;
            break;
        case Operator::Add:
            result = a + b;
            break;
        case Operator::Subtract:
            result = a - b;
            break;
        case Operator::None:
            break;
    }
    return FormatFixed(static_cast<double>(result), 6);
}

std::string CalculatorState::PressDigit(int digit) {
    std::string& operand = Current();
    const char ch = static_cast<char>('0' + digit);
    if (operand == "0" || m_resultShown) {
        operand.assign(1, ch);
    } else {
        operand += ch;
    }
    m_resultShown = false;
    return operand;
}

std::string CalculatorState::PressPoint() {
    std::string& operand = Current();
    if (operand.find('.') != std::string::npos) {
        return operand;
    }
    operand = operand.empty() ? std::string("0.") : operand + '.';
    return operand;
}

std::string CalculatorState::PressSign() {
    std::string& operand = Current();
    if (operand.empty() || operand == "0") {
        return operand;
    }
    if (operand[0] == '-') {
        operand.erase(0, 1);
    } else {
        operand.insert(0, 1, '-');
    }
    return operand;
}

std::string CalculatorState::PressOperator(Operator op) {
    m_enteringSecond = true;
    if (!m_second.empty()) {
        // A chain of operations: the pending one is carried out first, so 8 / 2 * 3 is 12.
        m_first = Apply(m_pending, m_first, m_second);
        m_second.clear();
    }
    m_pending = op;
    return m_first;
}

std::string CalculatorState::PressEquals() {
    if (!m_enteringSecond) {
        return CurrentOperand();
    }
    // Without a second operand the first stands for both: 6 x = is 36, 6 - = is 0.
    m_first = Apply(m_pending, m_first, m_second.empty() ? m_first : m_second);
    m_second.clear();
    m_resultShown = true;
    m_enteringSecond = false;
    return m_first;
}

std::string CalculatorState::PressClear() {
    m_first.clear();
    m_second.clear();
    m_enteringSecond = false;
    m_resultShown = false;
    m_pending = Operator::None;
    return std::string();
}

std::string CalculatorState::PressKey(std::string_view label) {
    if (label.size() == 1 && label[0] >= '0' && label[0] <= '9') {
        return PressDigit(label[0] - '0');
    }
    if (label == ".") {
        return PressPoint();
    }
    if (label == "+/-") {
        return PressSign();
    }
    if (label == "\xC3\xB7") {  // ÷
        return PressOperator(Operator::Divide);
    }
    if (label == "\xC3\x97") {  // ×
        return PressOperator(Operator::Multiply);
    }
    if (label == "+") {
        return PressOperator(Operator::Add);
    }
    if (label == "\xEF\xBC\x8D" || label == "-") {  // －
        return PressOperator(Operator::Subtract);
    }
    if (label == "C") {
        return PressClear();
    }
    if (label == "\xEF\xBC\x9D" || label == "=") {  // ＝
        return PressEquals();
    }
    return CurrentOperand();
}

}  // namespace quarrant
