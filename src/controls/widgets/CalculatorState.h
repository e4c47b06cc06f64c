#pragma once

// The state and keys of the pop-up calculator (CComputeDlg), without the dialog: two operand
// texts, the pending operator and two flags. Each key returns the text the combo box shows
// afterwards.

#include <string>
#include <string_view>

#include "controls/TesselixExport.h"

namespace quarrant {

class TESSELIX_EXPORT CalculatorState {
public:
    enum class Operator { None, Divide, Multiply, Add, Subtract };

    // A digit 0-9.
    std::string PressDigit(int digit);
    std::string PressPoint();
    std::string PressSign();
    std::string PressOperator(Operator op);
    std::string PressEquals();
    std::string PressClear();
    // The keys by their labels: "0"-"9", ".", "+/-", "÷", "×", "+", "－" (or "-"), "C", "＝"
    // (or "="), labels as UTF-8. An unknown label changes nothing and shows the current text.
    std::string PressKey(std::string_view label);

    // Opening with a text: it becomes the first operand.
    void SetFirstOperand(std::string_view text) { m_first.assign(text.data(), text.size()); }

    const std::string& FirstOperand() const { return m_first; }
    const std::string& SecondOperand() const { return m_second; }
    bool EnteringSecond() const { return m_enteringSecond; }
    bool ResultShown() const { return m_resultShown; }
    Operator PendingOperator() const { return m_pending; }
    // The operand digits go to now.
    const std::string& CurrentOperand() const { return m_enteringSecond ? m_second : m_first; }

private:
    std::string& Current() { return m_enteringSecond ? m_second : m_first; }
    // first OP second in single precision, formatted "%f".
    static std::string Apply(Operator op, std::string_view first, std::string_view second);

    std::string m_first;
    std::string m_second;
    bool m_enteringSecond = false;
    bool m_resultShown = false;
    Operator m_pending = Operator::None;
};

}  // namespace quarrant
