#include "quantity/widgets/DrawingView.h"

#include <QKeyEvent>
#include <QResizeEvent>
#include <QWheelEvent>

#include "cad/widgets/CadCtrl.h"
#include "platform/AppContext.h"
#include "platform/CommandTables.h"
#include "project/Settings.h"

namespace quarrant {

namespace {

// 电气设备安装工程: the project type whose drawings are measured by counted lines.
constexpr const char* kElectricalProjectType =
    "\xB5\xE7\xC6\xF8\xC9\xE8\xB1\xB8\xB0\xB2\xD7\xB0\xB9\xA4\xB3\xCC";

}  // namespace

CDrawingView::CDrawingView(AppContext& app, QWidget* parent) : QWidget(parent), m_app(app) {
    setObjectName(QStringLiteral("DrawingView"));
    setFocusPolicy(Qt::StrongFocus);
}

void CDrawingView::CreateControl() {
    m_control = new CCadCtrl;
    m_control->Create(rect(), this, kControlId);
    m_control->setFrameShape(QFrame::StyledPanel);
    m_control->SetLineCountsEnabled(m_app.GetSettings().currentProjectType ==
                                    kElectricalProjectType);
    m_control->installEventFilter(this);
    m_control->show();
    if (m_file != nullptr) {
        m_control->SetFile(m_file);
        Fit();
    }
    emit ControlCreated();
}

void CDrawingView::AttachFile(CCadFile* file) {
    m_file = file;
    if (m_control != nullptr) {
        m_control->SetFile(file);
        Fit();
        m_control->viewport()->update();
    }
}

void CDrawingView::Fit() {
    m_control->ZoomToFit();
    m_fitted = true;
    m_fitScale = m_control->Scale();
    m_fitOffsetX = m_control->OffsetX();
    m_fitOffsetY = m_control->OffsetY();
}

bool CDrawingView::StillFitted() const {
    return m_fitted && m_control->Scale() == m_fitScale && m_control->OffsetX() == m_fitOffsetX &&
           m_control->OffsetY() == m_fitOffsetY;
}

void CDrawingView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (m_control == nullptr) {
        CreateControl();
        return;
    }
    m_control->setGeometry(0, 0, width(), height());
    m_control->viewport()->update();
}

bool CDrawingView::eventFilter(QObject* watched, QEvent* event) {
    // Seen before the control takes its new size: a drawing still shown whole is fitted to the
    // new size once the control has it.
    if (watched == m_control && event->type() == QEvent::Resize && m_file != nullptr &&
        StillFitted()) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_control != nullptr && m_file != nullptr) {
                    Fit();
                }
            },
            Qt::QueuedConnection);
    }
    return QWidget::eventFilter(watched, event);
}

bool CDrawingView::HandlesCommand(int id) {
    switch (id) {
        case kCmdDrawSelect:
        case kCmdDrawClearSelection:
        case kCmdDrawMove:
        case kCmdDrawWindowZoom:
        case kCmdDrawRealTimeZoom:
        case kCmdDrawZoomIn:
        case kCmdDrawZoomOut:
        case kCmdDrawProperties:
        case kCmdDrawFit:
        case kCmdDrawMeasurePath:
        case kCmdDrawMeasureArea:
            return true;
        default:
            return false;
    }
}

void CDrawingView::OnCommand(int id) {
    if (m_control == nullptr) {
        return;
    }
    switch (id) {
        case kCmdDrawSelect:
            m_control->SetMode(0);
            break;
        case kCmdDrawClearSelection:
            m_control->ClearSelection();
            m_control->viewport()->update();
            break;
        case kCmdDrawMove:
            m_control->SetMode(3);
            break;
        case kCmdDrawWindowZoom:
            m_control->SetMode(2);
            break;
        case kCmdDrawRealTimeZoom:
            m_control->SetMode(1);
            break;
        case kCmdDrawZoomIn:
            m_control->ZoomInCentre();
            break;
        case kCmdDrawZoomOut:
            m_control->ZoomOutCentre();
            break;
        case kCmdDrawFit:
            Fit();
            break;
        case kCmdDrawMeasurePath:
            m_control->SetMode(4);
            break;
        case kCmdDrawMeasureArea:
            m_control->SetMode(5);
            break;
        default:  // 图形属性 does nothing
            break;
    }
}

void CDrawingView::keyPressEvent(QKeyEvent* event) {
    if (m_control == nullptr) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            m_control->OnEnterKey();
            break;
        case Qt::Key_Escape:
            m_control->OnEscapeKey();
            break;
        case Qt::Key_Control:
            m_control->SetToggle(true);
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
}

void CDrawingView::keyReleaseEvent(QKeyEvent* event) {
    if (m_control != nullptr && event->key() == Qt::Key_Control) {
        m_control->SetToggle(false);
        event->accept();
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void CDrawingView::wheelEvent(QWheelEvent* event) {
    if (m_control == nullptr) {
        QWidget::wheelEvent(event);
        return;
    }
    m_control->ZoomAtCursor(event->angleDelta().y());
    event->accept();
}

}  // namespace quarrant
