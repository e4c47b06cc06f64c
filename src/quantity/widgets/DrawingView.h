#pragma once

// CDrawingView: the drawing pane of a drawing window. It makes its CAD control (identifier
// 33333) over its whole area when it first gets a size, with the line-count items of the
// measuring popup in projects of electrical installations; it passes the mode and zoom
// commands, the keys and the wheel on to the control.

#include <QWidget>

namespace quarrant {

class AppContext;
class CCadCtrl;
struct CCadFile;

class CDrawingView : public QWidget {
    Q_OBJECT

public:
    static constexpr int kControlId = 33333;

    explicit CDrawingView(AppContext& app, QWidget* parent = nullptr);

    // The control, or nullptr before the first size.
    CCadCtrl* Control() const { return m_control; }

    // The file the control shows, fitted to the view (at once, or when the control is made).
    void AttachFile(CCadFile* file);

    // A command of the view's menu; false for one it does not handle. Mode and zoom commands do
    // nothing until the control exists.
    static bool HandlesCommand(int id);
    void OnCommand(int id);

signals:
    // The control was made (the window wires its marks and the coverage view then).
    void ControlCreated();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControl();
    // Fits the drawing and remembers the view it gave.
    void Fit();
    // Whether the control still shows the view of the last fit.
    bool StillFitted() const;

    AppContext& m_app;
    CCadCtrl* m_control = nullptr;
    CCadFile* m_file = nullptr;
    // The view of the last fit: while the user has not zoomed or moved away from it, a new
    // size of the pane fits the drawing again (the window settles its size after opening).
    bool m_fitted = false;
    double m_fitScale = 0.0;
    int m_fitOffsetX = 0;
    int m_fitOffsetY = 0;
};

}  // namespace quarrant
