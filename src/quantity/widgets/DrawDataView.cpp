#include "quantity/widgets/DrawDataView.h"

#include "cad/CadInteraction.h"
#include "cad/widgets/CadCtrl.h"
#include "controls/widgets/GridCtrl.h"
#include "controls/widgets/ShowMessage.h"
#include "project/DrawingCoverage.h"
#include "project/QuantityTable.h"
#include "quantity/RowMarking.h"
#include "quantity/widgets/DrawSheet.h"

namespace quarrant {

CDrawDataView::CDrawDataView(AppContext& app, QuantityTable& dataTable,
                             const std::string& drawingName, QWidget* parent)
    : CRowView(app, dataTable, drawingName, parent) {
    setObjectName(QStringLiteral("DrawDataView"));
    // Every change of the rows (add, delete, undo, redo) also changes the commands' states.
    connect(this, &CRowView::CommandStatesChanged, this, &CDrawDataView::RowsChanged);
}

std::vector<CommandEntry> CDrawDataView::RowMenu() const {
    std::vector<CommandEntry> menu;
    if (const QuantityRow* row = ClickedRow() >= 1 ? RowAt(ClickedRow()) : nullptr) {
        if (row->parent == nullptr) {
            // 标记关连的图元
            menu.push_back(
                {kCmdRowMarkEntities, "\xB1\xEA\xBC\xC7\xB9\xD8\xC1\xAC\xB5\xC4\xCD\xBC\xD4\xAA"});
        } else if (!Grid()->GetItemText(ClickedRow(), ClickedColumn()).empty()) {
            std::string text = ComponentMarkItemText(ClickedColumn());
            if (!text.empty()) {
                menu.push_back({kCmdRowMarkEntities, text});
            }
        }
    }
    // 刷新数据和图纸关联
    menu.push_back({kCmdRowRefreshMarks,
                    "\xCB\xA2\xD0\xC2\xCA\xFD\xBE\xDD\xBA\xCD\xCD\xBC\xD6\xBD\xB9\xD8\xC1\xAA"});
    menu.push_back({0, {}});
    menu.push_back(
        {kCmdRowShowAll, "\xCF\xD4\xCA\xBE\xCB\xF9\xD3\xD0\xCA\xFD\xBE\xDD"});  // 显示所有数据
    menu.push_back({kCmdRowFilter, "\xB9\xFD\xC2\xCB"});                        // 过滤
    if (ClickedRow() >= 1) {
        menu.push_back({0, {}});
        menu.push_back({kCmdRowDelete, "\xC9\xBE\xB3\xFD"});  // 删除
    }
    return menu;
}

void CDrawDataView::OnRowCommand(int id) {
    switch (id) {
        case kCmdRowMarkEntities:
            MarkAssociatedEntities();
            break;
        case kCmdRowRefreshMarks:
            RefreshMarks();
            break;
        default:
            CRowView::OnRowCommand(id);
            break;
    }
}

void CDrawDataView::MarkAssociatedEntities() {
    CCadCtrl* control = Control();
    if (control == nullptr) {
        return;
    }
    control->ClearSelection();
    const int gridRow = Grid()->GetSelectRow();
    const QuantityRow* row = RowAt(gridRow);
    if (row == nullptr) {
        control->viewport()->update();
        return;
    }
    // The grid selects the right-clicked cell, so its column is the one clicked.
    const int column = ClickedRow() == gridRow ? ClickedColumn() : Grid()->GetSelectCol();
    std::optional<RowMarking> marking = RowMarkingOf(*row, column);
    if (!marking) {
        control->viewport()->update();
        return;
    }
    if (marking->entities->empty()) {
        control->viewport()->update();
        ShowMessage(marking->emptyMessage);
        return;
    }
    control->SelectEachOnce(*marking->entities);
    control->viewport()->update();
}

void CDrawDataView::RefreshMarks() {
    CCadCtrl* control = Control();
    if (control == nullptr) {
        return;
    }
    control->ClearMarks();
    for (std::int32_t identifier :
         AssociatedIdentifiers(DataTable().rows, *State().WindowRows().drawingName)) {
        control->MarkById(identifier);
    }
    control->viewport()->update();
}

void CDrawDataView::OnRowsAdded(const QuantityRow& top) {
    CCadCtrl* control = Control();
    if (control == nullptr) {
        return;
    }
    for (std::int32_t identifier : top.list1) {
        control->MarkById(identifier);
    }
    for (const auto& [identifier, child] : top.children) {
        for (const std::vector<std::int32_t>* list :
             {&child->list1, &child->list2, &child->list3, &child->list4}) {
            for (std::int32_t entity : *list) {
                control->MarkById(entity);
            }
        }
    }
    control->ClearSelection();
    control->OnCommand(kCmdClearAll);
    control->viewport()->update();
}

}  // namespace quarrant
