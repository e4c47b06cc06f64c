#pragma once

// The line-count dialog (dialog 196): one edit box (1013) preset to "2" and an OK button. The
// number typed is the line count of the last measured point.

#include <QDialog>

#include <string>

class QLineEdit;
class QPushButton;

namespace quarrant {

class CSetXianDlg : public QDialog {
    Q_OBJECT

public:
    explicit CSetXianDlg(QWidget* parent = nullptr);

    // The text of the edit box (GBK).
    std::string Text() const;
    QLineEdit* Edit() const { return m_edit; }
    QPushButton* OkButton() const { return m_ok; }

private:
    QLineEdit* m_edit = nullptr;
    QPushButton* m_ok = nullptr;
};

}  // namespace quarrant
