#include "reports/widgets/HuizongTreeView.h"

#include "base/FileIO.h"
#include "platform/AppContext.h"
#include "platform/QtText.h"
#include "project/Settings.h"
#include "reports/ReportBuilder.h"
#include "reports/widgets/EditTableView.h"
#include "reports/widgets/TableDoc.h"

namespace quarrant {

namespace {

// The image list: "11.ico" for the root and "21.ico" for the names (each normal and selected),
// "51.ico" twice unused.
QIcon TreeIcon(const std::string& programFolder, const char* file) {
    const std::string path = JoinPath(programFolder, file);
    return QIcon(QString::fromStdString(FsPath(path).string()));
}

}  // namespace

CHuizongTreeView::CHuizongTreeView(AppContext& app, CTableDoc& doc, CEditTableView* tableView,
                                   QWidget* parent)
    : QTreeWidget(parent), m_app(app), m_doc(doc), m_tableView(tableView) {
    setObjectName(QStringLiteral("HuizongTreeView"));
    setHeaderHidden(true);
    setRootIsDecorated(true);  // buttons and lines at the root
    setIconSize(QSize(16, 16));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setMouseTracking(true);  // track selection: items light up under the pointer
    connect(this, &QTreeWidget::itemSelectionChanged, this, &CHuizongTreeView::OnSelectionChanged);
}

void CHuizongTreeView::BuildTree() {
    m_building = true;
    clear();
    const ReportKind kind = m_doc.Kind();
    if (const char* rootText = ReportTreeRootText(kind)) {
        const std::string& folder = m_app.GetSettings().programFolder;
        auto* root = new QTreeWidgetItem(QStringList(ToQt(rootText)));
        root->setIcon(0, TreeIcon(folder, "11.ico"));
        insertTopLevelItem(0, root);
        const QIcon childIcon = TreeIcon(folder, "21.ico");
        for (const std::string& name : ReportTreeNames(kind, m_doc.DataTable())) {
            auto* child = new QTreeWidgetItem(root, QStringList(ToQt(name)));
            child->setIcon(0, childIcon);
            // The name as the rows hold it, whatever the screen makes of its bytes.
            child->setData(0, Qt::UserRole, QByteArray::fromStdString(name));
        }
        root->setExpanded(true);
    }
    m_building = false;
    m_tableView->InitialBuild();
}

void CHuizongTreeView::OnSelectionChanged() {
    if (m_building) {
        return;
    }
    const QList<QTreeWidgetItem*> selected = selectedItems();
    if (selected.isEmpty()) {
        return;
    }
    QTreeWidgetItem* item = selected.front();
    const ReportKind kind = m_doc.Kind();
    const char* rootText = ReportTreeRootText(kind);
    if (rootText == nullptr) {
        return;  // the analysis table: nothing
    }
    QTreeWidgetItem* parentItem = item->parent();
    if (parentItem != nullptr && FromQt(parentItem->text(0)) == rootText) {
        m_tableView->FilteredRebuild(item->data(0, Qt::UserRole).toByteArray().toStdString());
    } else {
        m_tableView->FullRebuild();
    }
}

}  // namespace quarrant
