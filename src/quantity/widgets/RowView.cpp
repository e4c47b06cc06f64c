#include "quantity/widgets/RowView.h"

#include <QCursor>
#include <QMenu>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdint>
#include <memory>

#include "base/FileIO.h"
#include "controls/widgets/GridCtrl.h"
#include "controls/widgets/ShowMessage.h"
#include "platform/AppContext.h"
#include "platform/MessageEvent.h"
#include "platform/QtText.h"
#include "platform/ShellDialogs.h"
#include "project/GridModelRows.h"
#include "project/QuantityTable.h"
#include "project/Settings.h"
#include "quantity/RowColumns.h"
#include "quantity/widgets/GuolvDlg.h"

namespace quarrant {

namespace {

// The filter tree's image list: each icon file of the program folder twice (normal, selected).
std::vector<QIcon> FilterImages(const std::string& programFolder) {
    std::vector<QIcon> images;
    for (const char* file : {"11.ico", "21.ico", "51.ico"}) {
        QIcon icon(QString::fromStdString(FsPath(JoinPath(programFolder, file)).string()));
        images.push_back(icon);
        images.push_back(icon);
    }
    return images;
}

}  // namespace

CRowView::CRowView(AppContext& app, QuantityTable& dataTable,
                   std::optional<std::string> drawingName, QWidget* parent)
    : QWidget(parent), m_app(app), m_rows(dataTable), m_state(m_rows, std::move(drawingName)) {
    m_grid = new CGridCtrl(0, 0, 0, 0, this);
    m_grid->Create(rect(), this, kGridId);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_grid);
    m_filter = new CGuolvDlg(this);
    m_filter->SetImages(FilterImages(app.GetSettings().programFolder));
}

CRowView::~CRowView() = default;

QuantityRow* CRowView::RowAt(int gridRow) const {
    if (gridRow < 1 || gridRow >= m_grid->GetRowCount()) {
        return nullptr;
    }
    return reinterpret_cast<QuantityRow*>(m_grid->GetRowData(gridRow));
}

void CRowView::ListInto(const RowSelection& selection, std::int32_t selectIdentifier) {
    m_grid->EndEditing();
    GridModelRows rows(m_grid->Model());
    ListedRows listed;
    const int selected =
        ListRows(DataTable().rows, selection, rows, selectIdentifier, &listed, nullptr);
    m_listed = std::move(listed);
    m_grid->Refresh();
    if (selected > 0) {
        SelectListedRow(selected);
    }
}

void CRowView::FillRows(std::int32_t selectIdentifier) {
    ListInto(m_state.WindowRows(), selectIdentifier);
}

void CRowView::SelectListedRow(int gridRow) {
    GridModel& model = m_grid->Model();
    // The row right under the heading. (The sum of the heights of all rows before it, heading
    // included, would scroll it out of view above.)
    const long long top = model.RowTop(gridRow) - model.GetFixedRowHeight();
    m_grid->SetScrollPos32(1, static_cast<int>(std::min<long long>(top, INT32_MAX)));
    m_grid->ResetSelectedRange();
    for (int col = kColItemName; col <= kColVolume; ++col) {
        m_grid->SetItemState(gridRow, col, m_grid->GetItemState(gridRow, col) | kCellSelected);
    }
    // The selected row is the one the frame's 删除一行 acts on.
    m_grid->SetFocusCell(gridRow, kColItemName);
}

void CRowView::FillRowsInBackground() {
    m_grid->EndEditing();
    const std::vector<std::string>& headings = DataTable().headings;
    // The grid shows its headings alone while the worker lists into a content of its own.
    ResetRowGrid(m_grid->Model(), headings);
    m_listed.clear();
    m_grid->Refresh();
    std::unique_ptr<GridModel> model = m_grid->NewModel();
    ListedRows listed;
    const QuantityRowMap& table = DataTable().rows;
    const RowSelection selection = m_state.WindowRows();
    Settings& settings = m_app.GetSettings();
    m_app.RunWorker(TopLevelRowCount(table), [&] {
        ProgressSteps progress(settings.progressTotal, settings.progressDone);
        ResetRowGrid(*model, headings);
        GridModelRows rows(*model);
        ListRows(table, selection, rows, 0, &listed, &progress);
        progress.Finish();
    });
    m_grid->SetModel(std::move(model));
    m_listed = std::move(listed);
}

void CRowView::OnRowsAdded(const QuantityRow&) {}

void CRowView::AddEntry(QuantityEntry* entry) {
    if (entry == nullptr) {
        FillRows(0);
        return;
    }
    Result<QuantityRowPtr> made = m_state.AddEntry(*entry);
    if (!made) {
        ShowMessage(made.Message());
        return;
    }
    OnRowsAdded(*made.Value());
    FillRows(made.Value()->identifier);
    entry->Reset();
    emit CommandStatesChanged();
}

void CRowView::Undo() {
    if (std::optional<std::int32_t> select = m_state.Undo()) {
        FillRows(*select);
        emit CommandStatesChanged();
    }
}

void CRowView::Redo() {
    if (std::optional<std::int32_t> select = m_state.Redo()) {
        FillRows(*select);
        emit CommandStatesChanged();
    }
}

void CRowView::DeleteRowAt(int gridRow) {
    QuantityRow* row = RowAt(gridRow);
    if (row == nullptr) {
        return;
    }
    std::optional<std::int32_t> select = m_state.DeleteRow(*row);
    // A row that another window removed meanwhile is only listed away.
    FillRows(select.value_or(0));
    if (select) {
        emit CommandStatesChanged();
    }
}

void CRowView::DeleteSelectedRow() {
    DeleteRowAt(m_grid->GetSelectRow());
}

void CRowView::OnRowCommand(int id) {
    switch (id) {
        case kCmdRowShowAll:
            FillRows(0);
            break;
        case kCmdRowFilter:
            ShowFilter();
            break;
        case kCmdRowDelete:
            // The row that was right-clicked (the grid has also made it the selected one).
            DeleteRowAt(m_clickedRow);
            break;
        default:
            break;
    }
}

void CRowView::ShowFilter() {
    for (const std::string& name : ItemNamesOf(DataTable().rows, m_state.WindowRows())) {
        m_filter->AddItemName(name);
    }
    m_filter->FillTree();
    m_filter->show();
    m_filter->raise();
}

void CRowView::OnRightButtonUp(const GridCellRecord& cell) {
    m_clickedRow = cell.row;
    m_clickedCol = cell.col;
    QMenu menu(this);
    for (const CommandEntry& item : RowMenu()) {
        if (item.id == 0) {
            menu.addSeparator();
        } else {
            menu.addAction(ToQt(item.text))->setData(item.id);
        }
    }
    if (QAction* chosen = PopUpMenu(menu, QCursor::pos())) {
        OnRowCommand(chosen->data().toInt());
    }
}

void CRowView::OnEndEdit(const GridCellRecord& cell) {
    if (cell.row < 1 || cell.col < 1) {
        return;
    }
    QuantityRow* row = RowAt(cell.row);
    if (row == nullptr) {
        return;
    }
    const RowViewState::CellEdit edit =
        m_state.EditCell(*row, cell.col, m_grid->GetItemText(cell.row, cell.col));
    if (m_grid->GetItemText(cell.row, cell.col) != edit.cellText) {
        m_grid->SetItemText(cell.row, cell.col, edit.cellText);
    }
    if (edit.quantityChanged) {
        m_grid->SetItemText(cell.row, kColQuantity, row->quantity);
    }
    if (edit.structure != nullptr && RowAt(edit.structure->gridRow) == edit.structure) {
        m_grid->SetItemText(edit.structure->gridRow, kColQuantity, edit.structure->quantity);
    }
    m_grid->Refresh();
}

void CRowView::OnFilterSelect(const FilterChoice& choice) {
    std::optional<RowSelection> selection =
        FilterChoiceSelection(m_state.WindowRows(), choice.kind, choice.value);
    if (!selection) {
        return;
    }
    if (!selection->itemName) {
        FillRows(1);
    } else {
        ListInto(*selection, 0);
    }
}

bool CRowView::event(QEvent* event) {
    MessageEvent* message = MessageEvent::From(event);
    if (message == nullptr) {
        return QWidget::event(event);
    }
    switch (message->Message()) {
        case WM_GRID_RBUTTONUP:
            OnRightButtonUp(*reinterpret_cast<const GridCellRecord*>(message->LParam()));
            break;
        case WM_GRID_ENDEDIT:
            OnEndEdit(*reinterpret_cast<const GridCellRecord*>(message->LParam()));
            break;
        case WM_FILTER_SELECT:
            OnFilterSelect(*reinterpret_cast<const FilterChoice*>(message->LParam()));
            break;
        default:
            return false;
    }
    message->result = 0;
    return true;
}

}  // namespace quarrant
