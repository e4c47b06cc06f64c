#include "plugin/widgets/TreeDlg.h"

#include <QByteArray>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <utility>

#include "platform/ProgramFont.h"
#include "platform/QtText.h"
#include "plugin/MaterialGroups.h"
#include "plugin/PageTexts.h"

namespace quarrant {
namespace {

// Each item carries its material name (GBK).
constexpr int kMaterialRole = Qt::UserRole;

QTreeWidgetItem* MakeItem(QTreeWidgetItem* parent, std::string_view text,
                          std::string_view material) {
    auto* item = new QTreeWidgetItem(parent, {ToQt(text)});
    item->setData(0, kMaterialRole,
                  QByteArray(material.data(), static_cast<qsizetype>(material.size())));
    return item;
}

}  // namespace

CTreeDlg::CTreeDlg(QWidget* parent, ChooseHandler chosen)
    : QWidget(parent, Qt::Popup), m_chosen(std::move(chosen)) {
    setObjectName(QStringLiteral("TreeDlg1002"));
    // A pop-up is a window of its own and does not take its parent's font.
    setFont(ProgramFont());
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("Tree1016"));
    m_tree->setHeaderHidden(true);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tree);
    connect(m_tree, &QTreeWidget::itemSelectionChanged, this, &CTreeDlg::SelectionChanged);
    // A double click or Enter takes the item and closes the tree.
    connect(m_tree, &QTreeWidget::itemActivated, this, [this] { hide(); });
}

void CTreeDlg::Fill(const Catalogue& materials) {
    const QSignalBlocker blocker(m_tree);
    m_tree->clear();
    auto* root = new QTreeWidgetItem(m_tree, {ToQt(kMaterialTreeRoot)});
    root->setData(0, kMaterialRole, QByteArray());
    for (const MaterialGroup& group : GroupMaterials(materials)) {
        QTreeWidgetItem* groupItem = MakeItem(root, group.name, group.name);
        for (const std::string& leaf : group.leaves) {
            MakeItem(groupItem, leaf, MaterialName(group.name, leaf));
        }
    }
    root->setExpanded(true);
}

void CTreeDlg::DropDownUnder(const QWidget* field, int height) {
    setGeometry(
        QRect(field->mapToGlobal(QPoint(0, field->height())), QSize(field->width(), height)));
    show();
    m_tree->setFocus();
}

void CTreeDlg::SelectionChanged() {
    const QList<QTreeWidgetItem*> selected = m_tree->selectedItems();
    if (selected.isEmpty()) {
        return;
    }
    const QByteArray material = selected.first()->data(0, kMaterialRole).toByteArray();
    m_chosen(std::string(material.constData(), static_cast<std::size_t>(material.size())));
}

}  // namespace quarrant
