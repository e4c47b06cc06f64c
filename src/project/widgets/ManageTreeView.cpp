#include "project/widgets/ManageTreeView.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>

#include "base/FileIO.h"
#include "platform/AppContext.h"
#include "platform/DocTemplate.h"
#include "platform/ModalDialog.h"
#include "platform/QtText.h"
#include "platform/ShellDialogs.h"
#include "project/ProjectManager.h"
#include "project/Settings.h"
#include "project/widgets/AddDrawDlg.h"
#include "project/widgets/ManageDataView.h"
#include "project/widgets/NewProjectDlg.h"
#include "project/widgets/OpenProjectDlg.h"

namespace quarrant {

namespace {

QIcon TreeIcon(const std::string& programFolder, int image) {
    std::size_t file = static_cast<std::size_t>(image / 2);
    if (image < 0 || file >= kTreeIconFiles.size()) {
        return QIcon();
    }
    std::string path = JoinPath(programFolder, kTreeIconFiles[file]);
    return QIcon(QString::fromStdString(FsPath(path).string()));
}

// Whether the item is shown: not hidden and every ancestor expanded.
bool IsShown(const QTreeWidgetItem* item) {
    if (item->isHidden()) {
        return false;
    }
    for (const QTreeWidgetItem* parent = item->parent(); parent != nullptr;
         parent = parent->parent()) {
        if (parent->isHidden() || !parent->isExpanded()) {
            return false;
        }
    }
    return true;
}

}  // namespace

CManageTreeView::CManageTreeView(AppContext& app, CManageDataView* dataView, QWidget* parent)
    : QTreeWidget(parent), m_app(app), m_dataView(dataView) {
    setObjectName(QStringLiteral("ManageTreeView"));
    setColumnCount(1);
    header()->hide();
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { OnCurrentItemChanged(current); });
}

void CManageTreeView::InitialUpdate() {
    // Has-buttons, has-lines, lines-at-root, track-select.
    setRootIsDecorated(true);
    setMouseTracking(true);
    setIconSize(QSize(16, 16));
    setExpandsOnDoubleClick(true);
    clear();
    ProjectManager& manager = m_app.Manager();
    QTreeWidgetItem* root = Insert(PlanWorkspaceTree(manager), nullptr);
    root->setExpanded(true);
    // The root starts selected, so that the list shows the projects from the first moment.
    setCurrentItem(root);
}

QTreeWidgetItem* CManageTreeView::Insert(const TreeNodePlan& plan, QTreeWidgetItem* parent) {
    auto* item = parent != nullptr ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    item->setText(0, ToQt(plan.text));
    QIcon icon = TreeIcon(m_app.GetSettings().programFolder, plan.image);
    QIcon selected = TreeIcon(m_app.GetSettings().programFolder, plan.selectedImage);
    if (!selected.isNull()) {
        for (const QSize& size : selected.availableSizes()) {
            icon.addPixmap(selected.pixmap(size), QIcon::Selected);
        }
    }
    item->setIcon(0, icon);
    if (plan.handle != nullptr) {
        *plan.handle = item;
    }
    for (const TreeNodePlan& child : plan.children) {
        Insert(child, item);
    }
    return item;
}

void CManageTreeView::RemoveItem(TreeItemHandle handle) {
    delete ItemOf(handle);
}

void CManageTreeView::OnCurrentItemChanged(QTreeWidgetItem* current) {
    if (current == nullptr) {
        m_node = WorkspaceNode();
        return;
    }
    m_node = m_app.Manager().FindNode(current);
    if (m_dataView != nullptr) {
        m_dataView->ShowNode(current, m_node.kind, ListForNode(m_node, m_app.Manager()));
    }
}

void CManageTreeView::Refill() {
    OnCurrentItemChanged(currentItem());
}

QRect CManageTreeView::ItemTextRect(QTreeWidgetItem* item) const {
    QRect rect = visualItemRect(item);
    if (rect.isEmpty()) {
        return rect;
    }
    // The icon and the label; the rest of the row does not count.
    int width = iconSize().width() + 8 + fontMetrics().horizontalAdvance(item->text(0));
    rect.setWidth(std::min(rect.width(), width));
    return rect;
}

QTreeWidgetItem* CManageTreeView::HitTestAt(const QPoint& point) const {
    std::vector<HitCandidate> candidates;
    auto add = [&](QTreeWidgetItem* item) {
        QRect rect = ItemTextRect(item);
        candidates.push_back({item, IsShown(item) && !rect.isEmpty(), rect.left(), rect.top(),
                              rect.right(), rect.bottom()});
    };
    for (int r = 0; r < topLevelItemCount(); ++r) {
        QTreeWidgetItem* root = topLevelItem(r);
        add(root);
        for (int p = 0; p < root->childCount(); ++p) {
            QTreeWidgetItem* project = root->child(p);
            add(project);
            for (int c = 0; c < project->childCount(); ++c) {
                add(project->child(c));
            }
        }
    }
    return ItemOf(HitTest(candidates, point.x(), point.y()));
}

void CManageTreeView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        event->accept();  // the right button is handled on release, by the hit test alone
        return;
    }
    QTreeWidget::mousePressEvent(event);
}

void CManageTreeView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::RightButton) {
        QTreeWidget::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    QTreeWidgetItem* item = HitTestAt(event->position().toPoint());
    if (item == nullptr) {
        return;
    }
    setCurrentItem(item);  // fills the list
    ShowContextMenu(item, event->globalPosition().toPoint());
}

void CManageTreeView::ShowContextMenu(QTreeWidgetItem* item, const QPoint& globalPosition) {
    WorkspaceNode node = m_app.Manager().FindNode(item);
    std::vector<MenuCommand> items = ContextMenuFor(ClassifyNode(node));
    if (items.empty()) {
        return;
    }
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("ManageContextMenu"));
    for (const MenuCommand& command : items) {
        QAction* action = menu.addAction(ToQt(command.text));
        action->setData(command.id);  // the context menu identifier
    }
    QAction* chosen = PopUpMenu(menu, globalPosition);
    if (chosen != nullptr) {
        OnContextCommand(chosen->data().toInt());
    }
}

void CManageTreeView::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeWidget::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton) {
        return;
    }
    QTreeWidgetItem* item = HitTestAt(event->position().toPoint());
    if (item == nullptr) {
        return;
    }
    OpenNodeWindow(m_app.Manager().FindNode(item));
}

void CManageTreeView::OpenNodeWindow(const WorkspaceNode& node) {
    NodeClass nodeClass = ClassifyNode(node);
    std::string type = WindowTypeFor(nodeClass);
    if (type.empty() || node.project == nullptr) {
        return;
    }
    m_app.GetSettings().currentProjectType = node.project->projectType;
    void* key = nullptr;
    std::string title;
    if (nodeClass == NodeClass::kDrawing) {
        key = node.drawing;
        title = node.drawing->fileName;
    } else if (nodeClass == NodeClass::kDataTable) {
        key = node.table;
        title = node.table->fileName;
    } else {
        key = node.table;
        title = node.table->displayName;
    }
    m_app.Templates().OpenOrRaise(type, key, ToQt(title));
}

void CManageTreeView::OnContextCommand(int id) {
    std::string command = CommandOfContextItem(id);
    if (!command.empty()) {
        IssueCommand(command);
    }
}

void CManageTreeView::IssueCommand(const std::string& command) {
    IssueCommand(m_node, command);
}

void CManageTreeView::IssueCommand(const WorkspaceNode& node, const std::string& command) {
    switch (DispatchCommand(ClassifyNode(node), command)) {
        case ManageOperation::kNone:
            break;
        case ManageOperation::kAddExistingProject:
            AddExistingProject();
            break;
        case ManageOperation::kNewProject:
            NewProject();
            break;
        case ManageOperation::kAddDrawing:
            AddDrawing(*node.project);
            break;
        case ManageOperation::kRemoveProject:
            RemoveProject(*node.project);
            break;
        case ManageOperation::kSaveProject:
            m_app.Manager().SaveProject(*node.project);
            break;
        case ManageOperation::kRemoveDrawing:
            RemoveDrawing(*node.drawing);
            break;
    }
}

void CManageTreeView::SaveAllProjects() {
    QTreeWidgetItem* root = ItemOf(m_app.Manager().rootItem);
    if (root == nullptr) {
        return;
    }
    // The children are collected first: saving changes nothing in the tree, but a message box
    // shown meanwhile must not see a half-walked list.
    std::vector<QTreeWidgetItem*> children;
    for (int i = 0; i < root->childCount(); ++i) {
        children.push_back(root->child(i));
    }
    for (QTreeWidgetItem* child : children) {
        IssueCommand(m_app.Manager().FindNode(child), kCommandSaveProject);
    }
}

void CManageTreeView::AddExistingProject() {
    COpenProjectDlg dialog(this);
    if (ExecModal(dialog) != QDialog::Accepted) {
        return;
    }
    ProjectManager& manager = m_app.Manager();
    if (Project* project = manager.AddExistingProject(dialog.Folder())) {
        Insert(PlanProjectNode(*project), ItemOf(manager.rootItem));
        Refill();
    }
}

void CManageTreeView::NewProject() {
    CNewProjectDlg dialog(m_app.GetSettings().projectTypes, this);
    if (ExecModal(dialog) != QDialog::Accepted) {
        return;
    }
    ProjectManager& manager = m_app.Manager();
    if (Project* project = manager.CreateProject(dialog.Path(), dialog.Name(), dialog.Type())) {
        Insert(PlanProjectNode(*project), ItemOf(manager.rootItem));
        Refill();
    }
}

void CManageTreeView::AddDrawing(Project& project) {
    Settings& settings = m_app.GetSettings();
    CAddDrawDlg dialog(project, settings.colorTable, settings.coordinatePrecision, this);
    if (ExecModal(dialog) != QDialog::Accepted) {
        return;  // the dialog destroys what it imported
    }
    Drawing* drawing = m_app.Manager().AddDrawing(project, dialog.DrawingName(), dialog.Unit(),
                                                  dialog.Scale(), dialog.TakeCadFile());
    if (drawing != nullptr) {
        Insert(PlanDrawingNode(*drawing), ItemOf(project.projectItem));
        Refill();
    }
}

void CManageTreeView::RemoveProject(Project& project) {
    // Windows of its nodes go first: they hold references into the project.
    std::vector<const void*> nodes = {&project.summaryTable, &project.analysisTable,
                                      &project.detailTable, &project.materialTable,
                                      &project.dataTable};
    for (const auto& drawing : project.drawings) {
        nodes.push_back(drawing.get());
    }
    m_app.Templates().CloseDocumentsOf(nodes);
    TreeItemHandle item = project.projectItem;
    project.projectItem = nullptr;
    RemoveItem(item);
    m_app.Manager().RemoveProject(project);
    Refill();
}

void CManageTreeView::RemoveDrawing(Drawing& drawing) {
    m_app.Templates().CloseDocumentsOf({&drawing});
    TreeItemHandle item = drawing.treeItem;
    drawing.treeItem = nullptr;
    RemoveItem(item);
    m_app.Manager().RemoveDrawing(drawing);
    Refill();
}

}  // namespace quarrant
