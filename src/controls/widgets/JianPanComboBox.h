#pragma once

// CJianPanComboBox: a combo box with a pop-up on-screen keyboard, opened with the right mouse
// button. Dropping down its list does nothing extra.

#include <QComboBox>

#include "controls/TesselixExport.h"

namespace quarrant {

class CJianPanDlg;

class TESSELIX_EXPORT CJianPanComboBox : public QComboBox {
    Q_OBJECT

public:
    // Creates the keyboard, hidden.
    explicit CJianPanComboBox(QWidget* parent = nullptr);

    CJianPanDlg* GetDlg() const { return m_dialog; }
    // What a right button press does before the press goes on as usual: place and show the
    // keyboard, and open it with the text after the first "=" of the box, if any.
    void OpenPopup();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CJianPanDlg* m_dialog;
};

}  // namespace quarrant
