#pragma once

// CHuizongTreeView: the left pane of a report window, the names by which the report can be
// narrowed under one root ("项目名称" or "材料名称"). Selecting a name rebuilds the table for that
// name; selecting the root rebuilds the whole table.

#include <QTreeWidget>

namespace quarrant {

class AppContext;
class CEditTableView;
class CTableDoc;

class CHuizongTreeView : public QTreeWidget {
    Q_OBJECT

public:
    CHuizongTreeView(AppContext& app, CTableDoc& doc, CEditTableView* tableView,
                     QWidget* parent = nullptr);

    // Once, after the window opened: the root and one child per distinct name in the name
    // set's order, then the table's initial build.
    void BuildTree();

    // The root item, or nullptr (the analysis table has none).
    QTreeWidgetItem* Root() const { return topLevelItemCount() > 0 ? topLevelItem(0) : nullptr; }

private:
    void OnSelectionChanged();

    AppContext& m_app;
    CTableDoc& m_doc;
    CEditTableView* m_tableView;
    bool m_building = false;
};

}  // namespace quarrant
