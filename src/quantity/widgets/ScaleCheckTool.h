#pragma once

// CScaleCheckTool: 校核比例 of a drawing window. The estimator clicks two points on the drawing
// (the control measures them as a fresh path) and types the real length between them in
// metres; the tool shows what the drawing's unit and scale give for the two points and, when
// the two differ by more than 1 %, offers the scale that agrees. On 是 the drawing's scale text
// changes and the project becomes modified; rows already made keep their values.

#include <QMetaObject>
#include <QObject>
#include <QPointer>

#include "cad/widgets/CadCtrl.h"

class QWidget;

namespace quarrant {

class AppContext;
class Drawing;

class CScaleCheckTool : public QObject {
    Q_OBJECT

public:
    CScaleCheckTool(AppContext& app, Drawing& drawing, QWidget* dialogParent);

    // Clears the measurements, puts the control into path measuring and waits for two points.
    void Start(CCadCtrl* control);
    bool Waiting() const { return m_control != nullptr; }

signals:
    // The drawing's scale text was changed.
    void ScaleChanged();

private:
    void OnPointMeasured();
    void Check();
    // Back to selecting, with the check's points removed.
    void Finish();

    AppContext& m_app;
    Drawing& m_drawing;
    QWidget* m_dialogParent = nullptr;
    QPointer<CCadCtrl> m_control;
    QMetaObject::Connection m_connection;
};

}  // namespace quarrant
