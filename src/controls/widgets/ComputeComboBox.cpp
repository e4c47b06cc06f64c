#include "controls/widgets/ComputeComboBox.h"

#include <QLineEdit>
#include <QMouseEvent>

#include "controls/widgets/ComboPopupText.h"
#include "controls/widgets/ComputeDlg.h"
#include "platform/QtText.h"

namespace quarrant {

CComputeComboBox::CComputeComboBox(QWidget* parent)
    : QComboBox(parent), m_dialog(new CComputeDlg(this)) {
    setEditable(true);
    m_dialog->SetTarget(this);
    m_dialog->hide();
    // The right button belongs to the calculator, also over the edit part.
    lineEdit()->setContextMenuPolicy(Qt::NoContextMenu);
    lineEdit()->installEventFilter(this);
}

void CComputeComboBox::OpenPopup() {
    m_dialog->SetAnchorRect(QRect(mapToGlobal(QPoint(0, 0)), size()));
    m_dialog->PlaceAgainstAnchor();
    m_dialog->show();
    m_dialog->raise();
    const QString text = currentText();
    if (!text.isEmpty()) {
        const QString operand = TextAfterFirstEquals(text);
        m_dialog->SetText(FromQt(operand));
        setEditText(operand);
    }
}

void CComputeComboBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        OpenPopup();
    }
    QComboBox::mousePressEvent(event);
}

bool CComputeComboBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lineEdit() && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        OpenPopup();
    }
    return QComboBox::eventFilter(watched, event);
}

}  // namespace quarrant
