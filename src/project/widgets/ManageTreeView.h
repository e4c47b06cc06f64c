#pragma once

// The left pane of the project manager: the tree of the whole workspace. Selecting a node
// fills the list; the right button shows the node's context menu; a double click opens the
// node's window through the document templates; the project commands are dispatched by the
// node kind to the workspace model and the project dialogs.

#include <QTreeWidget>

#include <string>
#include <vector>

#include "project/ManageTreeRules.h"

namespace quarrant {

class CManageDataView;
class AppContext;

class CManageTreeView : public QTreeWidget {
    Q_OBJECT

public:
    CManageTreeView(AppContext& app, CManageDataView* dataView, QWidget* parent = nullptr);

    // Image list, root, every project's nodes, the root expanded.
    void InitialUpdate();

    // The item at a point of the viewport among the first three levels, or nullptr.
    QTreeWidgetItem* HitTestAt(const QPoint& viewportPoint) const;
    // The rectangle the hit test uses for an item (icon and label), in viewport pixels.
    QRect ItemTextRect(QTreeWidgetItem* item) const;

    // The node of the current item and its kind string.
    const std::string& CurrentKind() const { return m_node.kind; }

    // Issues a command ("新建工程", "添加工程", "添加数据", "保存工程", "删除") on the current
    // node, or on the given node.
    void IssueCommand(const std::string& command);
    void IssueCommand(const WorkspaceNode& node, const std::string& command);
    // A context menu identifier (1018-1030).
    void OnContextCommand(int id);
    // "保存所有工程": every child of the root, in tree order.
    void SaveAllProjects();

    // Opens (or brings to the top) the window of a data table, drawing or report table node.
    void OpenNodeWindow(const WorkspaceNode& node);

    QTreeWidgetItem* ItemOf(TreeItemHandle handle) const {
        return static_cast<QTreeWidgetItem*>(handle);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void OnCurrentItemChanged(QTreeWidgetItem* current);
    QTreeWidgetItem* Insert(const TreeNodePlan& plan, QTreeWidgetItem* parent);
    void RemoveItem(TreeItemHandle handle);
    void ShowContextMenu(QTreeWidgetItem* item, const QPoint& globalPosition);
    void AddExistingProject();
    void NewProject();
    void AddDrawing(Project& project);
    void RemoveProject(Project& project);
    void RemoveDrawing(Drawing& drawing);
    void Refill();

    AppContext& m_app;
    CManageDataView* m_dataView = nullptr;
    WorkspaceNode m_node;
};

}  // namespace quarrant
