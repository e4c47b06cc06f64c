#include "controls/widgets/JianPanComboBox.h"

#include <QLineEdit>
#include <QMouseEvent>

#include "controls/widgets/ComboPopupText.h"
#include "controls/widgets/JianPanDlg.h"
#include "platform/QtText.h"

namespace quarrant {

CJianPanComboBox::CJianPanComboBox(QWidget* parent)
    : QComboBox(parent), m_dialog(new CJianPanDlg(this)) {
    setEditable(true);
    m_dialog->SetTarget(this);
    m_dialog->hide();
    lineEdit()->setContextMenuPolicy(Qt::NoContextMenu);
    lineEdit()->installEventFilter(this);
}

void CJianPanComboBox::OpenPopup() {
    m_dialog->SetAnchorRect(QRect(mapToGlobal(QPoint(0, 0)), size()));
    m_dialog->PlaceAgainstAnchor();
    m_dialog->show();
    m_dialog->raise();
    const QString text = currentText();
    if (!text.isEmpty()) {
        const QString typed = TextAfterFirstEquals(text);
        m_dialog->SetText(FromQt(typed));
        setEditText(typed);
    }
}

void CJianPanComboBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        OpenPopup();
    }
    QComboBox::mousePressEvent(event);
}

bool CJianPanComboBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lineEdit() && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        OpenPopup();
    }
    return QComboBox::eventFilter(watched, event);
}

}  // namespace quarrant
