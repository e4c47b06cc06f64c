#include "quantity/widgets/GuolvDlg.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "platform/MessageEvent.h"
#include "platform/QtText.h"
#include "quantity/RowListing.h"

namespace quarrant {

namespace {

// "数据过滤对话框"
constexpr const char* kCaption = "\xCA\xFD\xBE\xDD\xB9\xFD\xC2\xCB\xB6\xD4\xBB\xB0\xBF\xF2";
// 243 x 246 dialog units of the dialog font.
constexpr int kWidth = 364;
constexpr int kHeight = 400;

}  // namespace

CGuolvDlg::CGuolvDlg(QWidget* target)
    : QDialog(target, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      m_target(target) {
    setObjectName(QStringLiteral("GuolvDlg"));
    setWindowTitle(ToQt(kCaption));
    setModal(false);
    resize(kWidth, kHeight);
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("GuolvTree"));
    m_tree->setProperty("controlId", kTreeId);
    m_tree->setHeaderHidden(true);
    m_tree->setRootIsDecorated(true);  // buttons and lines at the root
    m_tree->setIconSize(QSize(16, 16));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tree);

    m_root = new QTreeWidgetItem(QStringList(ToQt(kFilterRootText)));
    m_tree->insertTopLevelItem(0, m_root);
    connect(m_tree, &QTreeWidget::currentItemChanged, this, &CGuolvDlg::OnSelectionChanged);
    hide();
}

QIcon CGuolvDlg::Image(int normal) const {
    if (normal + 1 >= static_cast<int>(m_images.size())) {
        return QIcon();
    }
    QIcon icon = m_images[static_cast<std::size_t>(normal)];
    const QIcon& selected = m_images[static_cast<std::size_t>(normal + 1)];
    for (const QSize& size : selected.availableSizes()) {
        icon.addPixmap(selected.pixmap(size), QIcon::Selected);
    }
    return icon;
}

void CGuolvDlg::SetImages(std::vector<QIcon> images) {
    m_images = std::move(images);
    m_root->setIcon(0, Image(0));
}

void CGuolvDlg::AddItemName(const std::string& gbkName) {
    m_itemNames[gbkName] = true;
}

void CGuolvDlg::FillTree() {
    // Rebuilding the category is no choice of the user's: nothing is sent meanwhile.
    const bool blocked = m_tree->blockSignals(true);
    delete m_category;
    m_category = new QTreeWidgetItem(QStringList(ToQt(kItemNameCategory)));
    m_category->setIcon(0, Image(2));
    m_root->addChild(m_category);
    for (auto entry : m_itemNames) {
        if (entry.key.empty()) {
            continue;
        }
        auto* item = new QTreeWidgetItem(QStringList(ToQt(entry.key)));
        item->setData(0, Qt::UserRole, QByteArray::fromStdString(entry.key));  // the GBK name
        item->setIcon(0, Image(2));
        m_category->addChild(item);
    }
    m_root->setExpanded(true);
    m_category->setExpanded(true);
    m_tree->blockSignals(blocked);
    m_tree->viewport()->update();
}

void CGuolvDlg::OnSelectionChanged() {
    QTreeWidgetItem* item = m_tree->currentItem();
    if (item == nullptr) {
        return;
    }
    if (item == m_root) {
        m_choice = FilterChoice{{}, kFilterRootText};
    } else if (item == m_category) {
        m_choice = FilterChoice{kFilterRootText, {}};
    } else if (item->parent() == m_category) {
        m_choice = FilterChoice{kItemNameCategory,
                                item->data(0, Qt::UserRole).toByteArray().toStdString()};
    } else {
        return;
    }
    if (m_target != nullptr) {
        MessageEvent message(WM_FILTER_SELECT, 0, reinterpret_cast<std::intptr_t>(&m_choice));
        QCoreApplication::sendEvent(m_target, &message);
    }
}

}  // namespace quarrant
