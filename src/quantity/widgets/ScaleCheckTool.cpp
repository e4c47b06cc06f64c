#include "quantity/widgets/ScaleCheckTool.h"

#include <QInputDialog>
#include <QLineEdit>

#include "base/CNumbers.h"
#include "cad/CadInteraction.h"
#include "cad/ScaleCheck.h"
#include "cad/widgets/CadCtrl.h"
#include "controls/widgets/ShowMessage.h"
#include "platform/AppContext.h"
#include "platform/ModalDialog.h"
#include "platform/QtText.h"
#include "platform/QuestionBox.h"
#include "project/Drawing.h"
#include "project/Project.h"

namespace quarrant {

namespace {

// 校核比例
constexpr const char* kTitle = "\xD0\xA3\xBA\xCB\xB1\xC8\xC0\xFD";
// 校核比例：请在图上点取两点
constexpr const char* kPrompt =
    "\xD0\xA3\xBA\xCB\xB1\xC8\xC0\xFD\xA3\xBA\xC7\xEB\xD4\xDA\xCD\xBC\xC9\xCF\xB5\xE3\xC8\xA1\xC1"
    "\xBD\xB5\xE3";
// 两点间的实际长度（米）：
constexpr const char* kLengthLabel =
    "\xC1\xBD\xB5\xE3\xBC\xE4\xB5\xC4\xCA\xB5\xBC\xCA\xB3\xA4\xB6\xC8\xA3\xA8\xC3\xD7\xA3\xA9\xA3"
    "\xBA";

}  // namespace

CScaleCheckTool::CScaleCheckTool(AppContext& app, Drawing& drawing, QWidget* dialogParent)
    : QObject(dialogParent), m_app(app), m_drawing(drawing), m_dialogParent(dialogParent) {}

void CScaleCheckTool::Start(CCadCtrl* control) {
    if (control == nullptr) {
        return;
    }
    QObject::disconnect(m_connection);
    m_control = control;
    m_control->OnCommand(kCmdClearMeasurements);
    m_control->SetMode(kModeMeasurePath);
    m_control->viewport()->update();
    m_app.SetStatusText(0, kPrompt);
    m_connection =
        connect(m_control, &CCadCtrl::PointMeasured, this, &CScaleCheckTool::OnPointMeasured);
}

void CScaleCheckTool::OnPointMeasured() {
    if (m_control == nullptr || m_control->Interaction().CurrentPath().points.size() < 2) {
        return;
    }
    QObject::disconnect(m_connection);
    // The question is asked once the click that made the second point is over.
    QMetaObject::invokeMethod(this, &CScaleCheckTool::Check, Qt::QueuedConnection);
}

void CScaleCheckTool::Check() {
    if (m_control == nullptr) {
        return;
    }
    const auto& points = m_control->Interaction().CurrentPath().points;
    if (points.size() < 2) {
        Finish();
        return;
    }
    const CadPoint first{points[0].x, points[0].y};
    const CadPoint second{points[1].x, points[1].y};
    m_app.SetStatusText(0, {});

    QInputDialog dialog(m_dialogParent);
    dialog.setObjectName(QStringLiteral("ScaleCheckLengthDialog"));
    dialog.setWindowTitle(ToQt(kTitle));
    dialog.setLabelText(ToQt(kLengthLabel));
    dialog.setInputMode(QInputDialog::TextInput);
    if (ExecModal(dialog) != QDialog::Accepted) {
        Finish();
        return;
    }
    // The length is read as a "C" number, whatever the user's locale.
    const double realMetres = AtofC(TrimC(FromQt(dialog.textValue())));
    const PointScaleCheck check =
        CheckScaleByPoints(first, second, realMetres, m_drawing.unit, m_drawing.scale);
    if (!check.disagrees) {
        ShowMessage(check.message);
    } else if (AskYesNo(m_dialogParent, check.message)) {
        m_drawing.scale = check.agreeingScale;
        if (m_drawing.parent != nullptr) {
            m_drawing.parent->modified = 1;
        }
        emit ScaleChanged();
    }
    Finish();
}

void CScaleCheckTool::Finish() {
    if (m_control != nullptr) {
        m_control->OnCommand(kCmdClearMeasurements);
        m_control->SetMode(kModeSelect);
        m_control->viewport()->update();
    }
    m_control = nullptr;
}

}  // namespace quarrant
