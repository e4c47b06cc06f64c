#include "reports/widgets/EditTableView.h"

#include <QResizeEvent>

#include <memory>

#include "controls/widgets/GridCtrl.h"
#include "platform/AppContext.h"
#include "project/Settings.h"
#include "reports/widgets/TableDoc.h"

namespace quarrant {

CEditTableView::CEditTableView(AppContext& app, CTableDoc& doc, QWidget* parent)
    : QWidget(parent), m_app(app), m_doc(doc), m_builder(doc.DataTable(), doc.Kind()) {
    setObjectName(QStringLiteral("EditTableView"));
    m_grid = new CGridCtrl(0, 0, 0, 0);
    m_grid->Create(QRect(0, 0, width(), height()), this, kGridId);
    m_grid->setObjectName(QStringLiteral("ReportGrid"));
}

void CEditTableView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_grid->setGeometry(0, 0, event->size().width(), event->size().height());
}

void CEditTableView::RunBuild(
    const std::function<void(GridModel& grid, ProgressSteps& progress)>& build) {
    // The worker fills a model nobody shows; the grid keeps its old content until then.
    std::unique_ptr<GridModel> model = m_grid->NewModel();
    GridModel& target = *model;
    Settings& settings = m_app.GetSettings();
    m_app.RunWorker(m_builder.ProgressTotal(), [&] {
        ProgressSteps progress(settings.progressTotal, settings.progressDone);
        build(target, progress);
    });
    m_grid->SetModel(std::move(model));
    ++m_builds;
}

void CEditTableView::InitialBuild() {
    RunBuild([this](GridModel& grid, ProgressSteps& progress) {
        m_builder.InitialBuild(grid, progress);
    });
}

void CEditTableView::FullRebuild() {
    RunBuild([this](GridModel& grid, ProgressSteps& progress) {
        m_builder.FullRebuild(grid, progress);
    });
}

void CEditTableView::FilteredRebuild(const std::string& name) {
    RunBuild([this, name](GridModel& grid, ProgressSteps& progress) {
        m_builder.FilteredRebuild(grid, name, progress);
    });
}

}  // namespace quarrant
