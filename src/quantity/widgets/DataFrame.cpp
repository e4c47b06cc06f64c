#include "quantity/widgets/DataFrame.h"

#include <QMdiSubWindow>
#include <QPixmap>
#include <QSplitter>
#include <QVBoxLayout>

#include <algorithm>

#include "platform/AppContext.h"
#include "platform/CommandTables.h"
#include "platform/DocTemplate.h"
#include "platform/IconArt.h"
#include "quantity/widgets/DataAddView.h"
#include "quantity/widgets/DataView.h"

namespace quarrant {

CDataFrame::CDataFrame(AppContext& app, QuantityTable& dataTable, QWidget* parent)
    : QWidget(parent), m_app(app), m_doc(dataTable) {
    setObjectName(QStringLiteral("DataFrame"));
    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_view = new CDataView(app, dataTable);
    m_addView = new CDataAddView(app, m_view);
    m_splitter->addWidget(m_view);
    m_splitter->addWidget(m_addView);
    // The row view takes the main window's width less the page pane, 200 high; the page pane
    // keeps its 347 pixels when the window is resized.
    const int mainWidth = app.MainWindow() != nullptr ? app.MainWindow()->width() : 1280;
    m_view->resize(std::max(mainWidth - kPagePaneWidth, 1), 200);
    m_addView->resize(kPagePaneWidth,
                      app.MainWindow() != nullptr ? app.MainWindow()->height() : 800);
    m_splitter->setSizes({std::max(mainWidth - kPagePaneWidth, 1), kPagePaneWidth});
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 0);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_splitter);
    m_addView->InitialUpdate();
    connect(m_view, &CRowView::CommandStatesChanged, this, [this] { m_app.UpdateCommandStates(); });
}

bool CDataFrame::HasCommandHandler(int id) const {
    switch (id) {
        case kCmdDataUndo:
            return m_view->CanUndo();
        case kCmdDataRedo:
            return m_view->CanRedo();
        case kCmdDataRefresh:
        case kCmdDataDeleteRow:
        case kCmdDataAddRow:
        case kCmdDataModify:
        case kCmdDataSave:
            return true;
        default:
            return false;
    }
}

void CDataFrame::OnCommand(int id) {
    switch (id) {
        case kCmdDataUndo:
            m_view->Undo();
            break;
        case kCmdDataRedo:
            m_view->Redo();
            break;
        case kCmdDataRefresh:
            m_view->FillRowsInBackground();
            break;
        case kCmdDataDeleteRow:
            m_view->DeleteSelectedRow();
            break;
        default:  // 添加一行, 修改 and 保存 do nothing
            break;
    }
}

QMdiSubWindow* CreateDataFrame(AppContext& app, QuantityTable& dataTable) {
    auto* frame = new QMdiSubWindow;
    frame->setWidget(new CDataFrame(app, dataTable));
    frame->setWindowIcon(QIcon(QPixmap::fromImage(PaintIconArt(IconArt::kTable, 16))));
    SetChildResources(frame, kToolBarData, kMenuData);
    return frame;
}

namespace {

CDataFrame* DataFrameOf(QMdiSubWindow* frame) {
    return frame != nullptr ? qobject_cast<CDataFrame*>(frame->widget()) : nullptr;
}

}  // namespace

void RegisterDataWindows(CDocTemplate& docTemplate, AppContext& app) {
    docTemplate.SetFactory([&app](void* node) -> QMdiSubWindow* {
        if (node == nullptr) {
            return nullptr;
        }
        return CreateDataFrame(app, *static_cast<QuantityTable*>(node));
    });
    docTemplate.SetOpenHook([](QMdiSubWindow* frame) {
        if (CDataFrame* data = DataFrameOf(frame)) {
            data->View()->FillRowsInBackground();
        }
    });
    docTemplate.SetRaiseHook([](QMdiSubWindow* frame) {
        if (CDataFrame* data = DataFrameOf(frame)) {
            data->View()->FillRowsInBackground();
        }
    });
}

}  // namespace quarrant
