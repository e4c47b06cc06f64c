#pragma once

// CEditTableView: the right pane of a report window, one grid over its whole area showing the
// report table. Every build runs on a worker thread behind the progress dialog and fills a
// grid model off-screen, which the grid then shows in one step.

#include <QWidget>

#include <functional>
#include <string>

#include "reports/ReportBuilder.h"

namespace quarrant {

class AppContext;
class CGridCtrl;
class CTableDoc;

class CEditTableView : public QWidget {
    Q_OBJECT

public:
    // The grid's control identifier.
    static constexpr int kGridId = 32819;

    CEditTableView(AppContext& app, CTableDoc& doc, QWidget* parent = nullptr);

    CGridCtrl* Grid() const { return m_grid; }
    const ReportBuilder& Builder() const { return m_builder; }

    // The build when the window opens; the whole table; the rows of one name only.
    void InitialBuild();
    void FullRebuild();
    void FilteredRebuild(const std::string& name);
    // How many builds have run (each replaced the grid's content once).
    int BuildCount() const { return m_builds; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void RunBuild(const std::function<void(GridModel& grid, ProgressSteps& progress)>& build);

    AppContext& m_app;
    CTableDoc& m_doc;
    ReportBuilder m_builder;
    CGridCtrl* m_grid = nullptr;
    int m_builds = 0;
};

}  // namespace quarrant
