#pragma once

// CComputeComboBox: a combo box with a pop-up calculator, opened with the right mouse button.

#include <QComboBox>

#include "controls/TesselixExport.h"

namespace quarrant {

class CComputeDlg;

class TESSELIX_EXPORT CComputeComboBox : public QComboBox {
    Q_OBJECT

public:
    // Creates the calculator, hidden.
    explicit CComputeComboBox(QWidget* parent = nullptr);

    CComputeDlg* GetDlg() const { return m_dialog; }
    // What a right button press does before the press goes on as usual: place and show the
    // calculator, and open it with the text after the first "=" of the box, if any.
    void OpenPopup();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CComputeDlg* m_dialog;
};

}  // namespace quarrant
