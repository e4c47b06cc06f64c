#pragma once

// The right pane of the project manager: the contents of the selected node, as large icons
// (the projects of the root, the tables and drawings of a project) or as a report (the rows
// of the data table or of one drawing). It only displays.

#include <QStackedWidget>

#include <string>

#include "project/ManageTreeRules.h"

class QListWidget;
class QTreeWidget;

namespace quarrant {

class CManageDataView : public QStackedWidget {
    Q_OBJECT

public:
    explicit CManageDataView(QWidget* parent = nullptr);

    // Stores the node's item and kind and fills the list by its kind (other kinds leave it).
    void ShowNode(TreeItemHandle item, const std::string& kind, const ListContents& contents);

    QListWidget* IconList() const { return m_icons; }
    QTreeWidget* ReportList() const { return m_report; }
    bool InReportMode() const;
    const std::string& CurrentKind() const { return m_kind; }

private:
    QListWidget* m_icons = nullptr;
    QTreeWidget* m_report = nullptr;
    TreeItemHandle m_item = nullptr;
    std::string m_kind;
};

}  // namespace quarrant
