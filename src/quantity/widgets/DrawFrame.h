#pragma once

// CDrawFrame: the drawing window (template "DRAWING", menu 132, toolbar 146), an MDI child of
// one drawing. An outer splitter holds, on the left, an inner splitter with the drawing
// (CDrawingView) above the drawing's rows (CDrawDataView, 180 pixels), and on the right the
// page pane (CDrawAddView, 347 pixels). The page picks from the drawing; rows made on the page
// mark the entities they came from. The status bar tells how many of the drawing's entities
// some row of the project was taken from, and 显示未算量图元 dims those to show what is left.

#include <QWidget>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/CommandActions.h"
#include "quantity/widgets/DrawDoc.h"

class QMdiSubWindow;
class QSplitter;

namespace quarrant {

class AppContext;
class CCadCtrl;
class CDocTemplate;
class CDrawAddView;
class CDrawDataView;
class CDrawingView;
class CScaleCheckTool;

class CDrawFrame : public QWidget, public CommandTarget {
    Q_OBJECT

public:
    static constexpr int kPagePaneWidth = 347;
    static constexpr int kRowPaneHeight = 180;
    static constexpr int kRowPaneWidth = 300;

    CDrawFrame(AppContext& app, Drawing& drawing, QWidget* parent = nullptr);
    ~CDrawFrame() override;

    CDrawDoc& Document() { return m_doc; }
    CDrawingView* DrawingView() const { return m_drawingView; }
    CDrawDataView* DataView() const { return m_dataView; }
    CDrawAddView* AddView() const { return m_addView; }
    CScaleCheckTool* ScaleCheck() const { return m_scaleCheck; }
    QSplitter* OuterSplitter() const { return m_outer; }
    QSplitter* InnerSplitter() const { return m_inner; }
    // The drawing view's control, or nullptr before it is made.
    CCadCtrl* Control() const;

    // Shows the drawing fitted to its pane and lists its rows (opening from the project).
    void OpenDrawing();
    // Lists the rows again (the window is brought to the top from the project).
    void RefreshRows();

    // The coverage text shown in the status bar (GBK); updated after every change of rows.
    const std::string& CoverageStatus() const { return m_coverageText; }
    void UpdateCoverage();

    bool HasCommandHandler(int id) const override;
    void OnCommand(int id) override;

private:
    // The entities of the drawing that rows of the project were taken from.
    std::vector<std::int32_t> Associated() const;
    // 显示未算量图元: dims what has been taken off, or shows the normal picture again.
    void ToggleCoverageView();

    AppContext& m_app;
    CDrawDoc m_doc;
    QSplitter* m_outer = nullptr;
    QSplitter* m_inner = nullptr;
    CDrawingView* m_drawingView = nullptr;
    CDrawDataView* m_dataView = nullptr;
    CDrawAddView* m_addView = nullptr;
    CScaleCheckTool* m_scaleCheck = nullptr;
    std::string m_coverageText;
};

// The frame of a new drawing window for the drawing.
QMdiSubWindow* CreateDrawFrame(AppContext& app, Drawing& drawing);

// Makes the "DRAWING" template open drawing windows: a new window shows its drawing fitted and
// lists its rows once it is shown, and an open one lists them again before it is brought to the
// top.
void RegisterDrawingWindows(CDocTemplate& docTemplate, AppContext& app);

}  // namespace quarrant
