#pragma once

// CRowView: what the two row views share (the data window's CDataView and the drawing window's
// CDrawDataView): the grid (identifier 1031) listing the rows, in-place editing, the row menu,
// rows made from the page's entries, deletion, undo and redo, the filter display manager and
// the background listing behind the progress dialog. The rules live in RowViewState; a derived
// view adds its row menu and, in a drawing window, the entity marks.

#include <QWidget>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "controls/GridNotify.h"
#include "platform/CommandTables.h"
#include "project/TableRowStore.h"
#include "quantity/RowListing.h"
#include "quantity/RowViewState.h"

namespace quarrant {

class AppContext;
class CGridCtrl;
class CGuolvDlg;
class QuantityTable;
struct FilterChoice;
struct QuantityEntry;

class CRowView : public QWidget {
    Q_OBJECT

public:
    static constexpr int kGridId = 1031;

    ~CRowView() override;

    CGridCtrl* Grid() const { return m_grid; }
    CGuolvDlg* FilterDialog() const { return m_filter; }
    RowViewState& State() { return m_state; }
    QuantityTable& DataTable() const { return m_rows.Table(); }

    // Lists the window's rows; selects and scrolls to the top-level row with the identifier,
    // if it is listed (0 selects nothing).
    void FillRows(std::int32_t selectIdentifier);
    // Lists the window's rows on a worker behind the progress dialog, into a grid content the
    // grid then shows. Used when the window opens and on refresh.
    void FillRowsInBackground();

    // A finished entry of the page becomes rows, listed with the new row selected; the entry is
    // reset. A null entry only lists the rows again.
    void AddEntry(QuantityEntry* entry);
    void Undo();
    void Redo();
    bool CanUndo() const { return m_state.CanUndo(); }
    bool CanRedo() const { return m_state.CanRedo(); }

    // Deletes the row of the grid's selected row (the frame's 删除一行).
    void DeleteSelectedRow();
    // The row menu's commands: 显示所有数据, 过滤, 删除 (the right-clicked row); the drawing
    // window adds its marking commands.
    virtual void OnRowCommand(int id);

    // The cell of the last right click.
    int ClickedRow() const { return m_clickedRow; }
    int ClickedColumn() const { return m_clickedCol; }
    // The row a grid row shows, or nullptr.
    QuantityRow* RowAt(int gridRow) const;

signals:
    // Can-undo or can-redo may have changed: the frame's commands are enabled anew.
    void CommandStatesChanged();

protected:
    // A drawing window names its drawing (it then lists only that drawing's rows).
    CRowView(AppContext& app, QuantityTable& dataTable, std::optional<std::string> drawingName,
             QWidget* parent);

    // The row menu for a right click (WM_GRID_RBUTTONUP) on the stored clicked cell.
    virtual std::vector<CommandEntry> RowMenu() const = 0;
    // Called with the new rows before they are listed (a drawing window marks their entities).
    virtual void OnRowsAdded(const QuantityRow& top);

    bool event(QEvent* event) override;

    AppContext& m_app;

private:
    void OnRightButtonUp(const GridCellRecord& cell);
    void OnEndEdit(const GridCellRecord& cell);
    void OnFilterSelect(const FilterChoice& choice);
    void ShowFilter();
    void DeleteRowAt(int gridRow);
    void SelectListedRow(int gridRow);
    void ListInto(const RowSelection& selection, std::int32_t selectIdentifier);

    TableRowStore m_rows;
    RowViewState m_state;
    CGridCtrl* m_grid = nullptr;
    CGuolvDlg* m_filter = nullptr;
    int m_clickedRow = -1;
    int m_clickedCol = -1;
    // The rows the grid shows, alive while it shows them.
    ListedRows m_listed;
};

}  // namespace quarrant
