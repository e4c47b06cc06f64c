#pragma once

// CJianPanDlg (dialog 25001): the on-screen keyboard of CJianPanComboBox, with Latin letters,
// digits, ASCII punctuation and Chinese full-width punctuation. Every key writes the whole
// typed text into the combo box at once.

#include <QDialog>
#include <QPointer>
#include <QRect>

#include <map>

#include "controls/TesselixExport.h"
#include "controls/widgets/KeyboardState.h"

class QAbstractButton;
class QComboBox;

namespace quarrant {

class TESSELIX_EXPORT CJianPanDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int IDD = 25001;

    explicit CJianPanDlg(QWidget* parent = nullptr);

    void SetTarget(QComboBox* target) { m_target = target; }
    void SetAnchorRect(const QRect& screenRect) { m_anchor = screenRect; }
    void PlaceAgainstAnchor();
    // The text shown when the pop-up opens: the typed text (GBK).
    void SetText(const std::string& gbkText) { m_state.SetText(gbkText); }

    KeyboardState& State() { return m_state; }
    // A character key by what it types with every toggle off ('a', '1', '\'', ...).
    QAbstractButton* CharacterKey(char key) const;
    // The other keys by label: "space", "backspace", "CAPS  LOCK", "SHIFT", "中文标点",
    // "清空所有数据".
    QAbstractButton* Key(const QString& label) const;
    void PressCharacterKey(char key);

    static QString SpaceLabel();
    static QString BackspaceLabel();
    static QString CapsLockLabel();
    static QString ShiftLabel();
    static QString ChinesePunctuationLabel();
    static QString ClearAllLabel();

private:
    void ShowText(const std::string& gbkText);
    // Each character key shows what it types in the current state.
    void Relabel();

    KeyboardState m_state;
    QPointer<QComboBox> m_target;
    QRect m_anchor;
    std::map<char, QAbstractButton*> m_characterKeys;
    std::map<QString, QAbstractButton*> m_keys;
};

}  // namespace quarrant
