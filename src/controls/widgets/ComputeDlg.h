#pragma once

// CComputeDlg (dialog 25000): the pop-up calculator of CComputeComboBox. Every key writes the
// current operand into the combo box at once.

#include <QDialog>
#include <QPointer>
#include <QRect>

#include <map>

#include "controls/TesselixExport.h"
#include "controls/widgets/CalculatorState.h"

class QAbstractButton;
class QComboBox;

namespace quarrant {

class TESSELIX_EXPORT CComputeDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int IDD = 25000;

    explicit CComputeDlg(QWidget* parent = nullptr);

    void SetTarget(QComboBox* target) { m_target = target; }
    // The combo box's rectangle in screen coordinates.
    void SetAnchorRect(const QRect& screenRect) { m_anchor = screenRect; }
    // Moves the dialog against the anchor rectangle.
    void PlaceAgainstAnchor();
    // The text shown when the pop-up opens: the first operand (GBK).
    void SetText(const std::string& gbkText) { m_state.SetFirstOperand(gbkText); }

    CalculatorState& State() { return m_state; }
    // The key with this label ("1", "÷", "+/-", "C", "＝", ...), nullptr if there is none.
    QAbstractButton* Key(const QString& label) const;
    // Presses the key with this label.
    void PressKey(const QString& label);

private:
    CalculatorState m_state;
    QPointer<QComboBox> m_target;
    QRect m_anchor;
    std::map<QString, QAbstractButton*> m_keys;
};

}  // namespace quarrant
