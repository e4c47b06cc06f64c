#pragma once

// The material tree (dialog 1002): drops down under the component dialog's material field and
// offers the material catalogue grouped by material kind under the root "钢结构数据". Choosing
// an item hands its material name to the dialog; the tree hides when it loses the focus.

#include <QWidget>

#include <functional>
#include <string>

#include "base/Catalogue.h"

class QTreeWidget;

namespace quarrant {

class CTreeDlg : public QWidget {
public:
    // Receives the chosen material name (GBK): a group's text, group and leaf joined by a
    // blank, or empty for the root.
    using ChooseHandler = std::function<void(const std::string& materialName)>;

    CTreeDlg(QWidget* parent, ChooseHandler chosen);

    // Rebuilds the tree from the catalogue: one item per group, its leaves sorted.
    void Fill(const Catalogue& materials);

    // Shows the tree directly under the field, as wide as the field.
    void DropDownUnder(const QWidget* field, int height);

    QTreeWidget* Tree() const { return m_tree; }

private:
    void SelectionChanged();

    QTreeWidget* m_tree = nullptr;  // 1016
    ChooseHandler m_chosen;
};

}  // namespace quarrant
