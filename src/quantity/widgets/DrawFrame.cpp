#include "quantity/widgets/DrawFrame.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include "cad/widgets/CadCtrl.h"
#include "platform/AppContext.h"
#include "platform/CommandTables.h"
#include "platform/DocTemplate.h"
#include "platform/IconArt.h"
#include "project/DrawingCoverage.h"
#include "quantity/widgets/DrawAddView.h"
#include "quantity/widgets/DrawDataView.h"
#include "quantity/widgets/DrawSheet.h"
#include "quantity/widgets/DrawingView.h"
#include "quantity/widgets/ScaleCheckTool.h"

namespace quarrant {

CDrawFrame::CDrawFrame(AppContext& app, Drawing& drawing, QWidget* parent)
    : QWidget(parent), m_app(app), m_doc(drawing) {
    setObjectName(QStringLiteral("DrawFrame"));
    const int mainWidth = app.MainWindow() != nullptr ? app.MainWindow()->width() : 1280;
    const int mainHeight = app.MainWindow() != nullptr ? app.MainWindow()->height() : 800;
    const int drawingWidth = std::max(mainWidth - kPagePaneWidth, 1);
    const int drawingHeight = std::max(mainHeight - kRowPaneHeight, 1);

    m_outer = new QSplitter(Qt::Horizontal, this);
    m_outer->setObjectName(QStringLiteral("OuterSplitter"));
    m_inner = new QSplitter(Qt::Vertical);
    m_inner->setObjectName(QStringLiteral("InnerSplitter"));
    m_drawingView = new CDrawingView(app);
    m_dataView = new CDrawDataView(app, m_doc.DataTable(), drawing.drawingName);
    m_addView = new CDrawAddView(app, m_dataView);
    m_inner->addWidget(m_drawingView);
    m_inner->addWidget(m_dataView);
    m_outer->addWidget(m_inner);
    m_outer->addWidget(m_addView);

    m_drawingView->resize(drawingWidth, drawingHeight);
    m_dataView->resize(kRowPaneWidth, kRowPaneHeight);
    m_addView->resize(kPagePaneWidth, mainHeight);
    m_outer->setSizes({drawingWidth, kPagePaneWidth});
    m_inner->setSizes({drawingHeight, kRowPaneHeight});
    // The page and the rows keep their sizes when the window is resized; the drawing grows.
    m_outer->setStretchFactor(0, 1);
    m_outer->setStretchFactor(1, 0);
    m_inner->setStretchFactor(0, 1);
    m_inner->setStretchFactor(1, 0);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_outer);

    CDrawingView* view = m_drawingView;
    auto control = [view]() { return view->Control(); };
    m_dataView->SetControlSource(control);
    m_addView->DrawSheet()->BindDrawing(control, &drawing, &app.GetSettings(), m_addView);
    m_addView->InitialUpdate();
    m_scaleCheck = new CScaleCheckTool(app, drawing, this);
    connect(m_dataView, &CRowView::CommandStatesChanged, this,
            [this] { m_app.UpdateCommandStates(); });
    connect(m_dataView, &CDrawDataView::RowsChanged, this, &CDrawFrame::UpdateCoverage);
}

CDrawFrame::~CDrawFrame() {
    // Once the window is gone the status bar tells the coverage of the drawing window that is
    // active then, or nothing when no drawing window is.
    QWidget* mainWindow = m_app.MainWindow();
    if (mainWindow == nullptr) {
        return;
    }
    AppContext& app = m_app;
    QTimer::singleShot(0, mainWindow, [&app, mainWindow] {
        auto* area = mainWindow->findChild<QMdiArea*>();
        QMdiSubWindow* active = area != nullptr ? area->activeSubWindow() : nullptr;
        if (auto* draw =
                active != nullptr ? qobject_cast<CDrawFrame*>(active->widget()) : nullptr) {
            draw->UpdateCoverage();
        } else {
            app.SetStatusText(0, {});
        }
    });
}

CCadCtrl* CDrawFrame::Control() const {
    return m_drawingView->Control();
}

void CDrawFrame::OpenDrawing() {
    m_drawingView->AttachFile(&m_doc.GetDrawing().CadFile());
    m_dataView->FillRowsInBackground();
    UpdateCoverage();
}

void CDrawFrame::RefreshRows() {
    m_dataView->FillRowsInBackground();
    UpdateCoverage();
}

std::vector<std::int32_t> CDrawFrame::Associated() const {
    return AssociatedIdentifiers(m_doc.DataTable().rows, m_doc.GetDrawing().drawingName);
}

void CDrawFrame::UpdateCoverage() {
    const CCadDrawing* drawing = m_doc.GetDrawing().CadFile().drawing.get();
    if (drawing == nullptr) {
        return;
    }
    std::vector<std::int32_t> associated = Associated();
    m_coverageText = CoverageText(CountCoverage(*drawing, associated));
    m_app.SetStatusText(0, m_coverageText);
    // The dimmed picture follows the rows as they are now.
    CCadCtrl* control = Control();
    if (control != nullptr && control->CoverageViewOn()) {
        control->SetCoverageView(std::move(associated));
        control->viewport()->update();
    }
}

void CDrawFrame::ToggleCoverageView() {
    CCadCtrl* control = Control();
    if (control == nullptr) {
        return;
    }
    if (control->CoverageViewOn()) {
        control->ClearCoverageView();
        control->viewport()->update();
        return;
    }
    // On: the recount fills the view with the rows as they are now.
    control->SetCoverageView({});
    UpdateCoverage();
}

bool CDrawFrame::HasCommandHandler(int id) const {
    if (CDrawingView::HandlesCommand(id)) {
        return true;
    }
    switch (id) {
        case kCmdDrawUndo:
            return m_dataView->CanUndo();
        case kCmdDrawRedo:
            return m_dataView->CanRedo();
        case kCmdDrawRefresh:
        case kCmdDrawDeleteRow:
        case kCmdDrawAddRow:
        case kCmdDrawModify:
        case kCmdDrawSave:
        case kCmdDrawViewProperties:
        case kCmdDrawCoverage:
        case kCmdDrawCheckScale:
            return true;
        default:
            return false;
    }
}

void CDrawFrame::OnCommand(int id) {
    if (CDrawingView::HandlesCommand(id)) {
        m_drawingView->OnCommand(id);
        return;
    }
    switch (id) {
        case kCmdDrawUndo:
            m_dataView->Undo();
            break;
        case kCmdDrawRedo:
            m_dataView->Redo();
            break;
        case kCmdDrawRefresh:
            RefreshRows();
            break;
        case kCmdDrawDeleteRow:
            m_dataView->DeleteSelectedRow();
            break;
        case kCmdDrawCheckScale:
            m_scaleCheck->Start(Control());
            break;
        case kCmdDrawCoverage:
            ToggleCoverageView();
            break;
        default:  // 添加一行, 修改, 保存 and 图形视图属性 do nothing
            break;
    }
}

QMdiSubWindow* CreateDrawFrame(AppContext& app, Drawing& drawing) {
    auto* frame = new QMdiSubWindow;
    frame->setWidget(new CDrawFrame(app, drawing));
    frame->setWindowIcon(QIcon(QPixmap::fromImage(PaintIconArt(IconArt::kDrawing, 16))));
    SetChildResources(frame, kToolBarDrawing, kMenuDrawing);
    // The status bar tells the coverage of the drawing whose window is active.
    QObject::connect(frame, &QMdiSubWindow::windowStateChanged, frame,
                     [frame](Qt::WindowStates, Qt::WindowStates now) {
                         if ((now & Qt::WindowActive) != 0) {
                             if (auto* draw = qobject_cast<CDrawFrame*>(frame->widget())) {
                                 draw->UpdateCoverage();
                             }
                         }
                     });
    return frame;
}

namespace {

CDrawFrame* DrawFrameOf(QMdiSubWindow* frame) {
    return frame != nullptr ? qobject_cast<CDrawFrame*>(frame->widget()) : nullptr;
}

}  // namespace

void RegisterDrawingWindows(CDocTemplate& docTemplate, AppContext& app) {
    docTemplate.SetFactory([&app](void* node) -> QMdiSubWindow* {
        if (node == nullptr) {
            return nullptr;
        }
        return CreateDrawFrame(app, *static_cast<Drawing*>(node));
    });
    docTemplate.SetOpenHook([](QMdiSubWindow* frame) {
        if (CDrawFrame* draw = DrawFrameOf(frame)) {
            draw->OpenDrawing();
        }
    });
    docTemplate.SetRaiseHook([](QMdiSubWindow* frame) {
        if (CDrawFrame* draw = DrawFrameOf(frame)) {
            draw->RefreshRows();
        }
    });
}

}  // namespace quarrant
