#pragma once

// CGuolvDlg, the filter display manager (dialog 197, "数据过滤对话框"): a small floating window
// with a tree of the item names of a row view's rows. Choosing an item sends WM_FILTER_SELECT
// with the choice (kind, value) to the row view, which lists the matching rows. Each row view
// owns one, hidden until its "过滤"; closing it hides it.

#include <QDialog>
#include <QIcon>

#include <string>
#include <vector>

#include "base/HashMap17.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace quarrant {

// What WM_FILTER_SELECT points to: the kind and the value of the choice, in this order.
struct FilterChoice {
    std::string kind;
    std::string value;
};

class CGuolvDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kTreeId = 1044;

    // A hidden window owned by the target, which receives the choices.
    explicit CGuolvDlg(QWidget* target);

    // The six images of the tree (normal and selected image of "11.ico", "21.ico", "51.ico");
    // the root item "过滤显示管理器" takes images 0 and 1.
    void SetImages(std::vector<QIcon> images);

    // Collects an item name (the set is only ever added to; empty names are not shown).
    void AddItemName(const std::string& gbkName);
    // Rebuilds the category "项目名称" under the root with every name of the set, in the set's
    // order.
    void FillTree();

    QTreeWidget* Tree() const { return m_tree; }
    QTreeWidgetItem* RootItem() const { return m_root; }
    QTreeWidgetItem* CategoryItem() const { return m_category; }
    const FilterChoice& Choice() const { return m_choice; }

private:
    void OnSelectionChanged();
    QIcon Image(int normal) const;

    QWidget* m_target = nullptr;
    QTreeWidget* m_tree = nullptr;
    HashMap17<std::string, bool> m_itemNames;
    QTreeWidgetItem* m_root = nullptr;
    QTreeWidgetItem* m_category = nullptr;
    FilterChoice m_choice;
    std::vector<QIcon> m_images;
};

}  // namespace quarrant
