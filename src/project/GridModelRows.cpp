#include "project/GridModelRows.h"

#include <cstdint>

#include "quantity/RowColumns.h"

namespace quarrant {

void ResetRowGrid(GridModel& grid, const std::vector<std::string>& headings) {
    grid.DeleteAllItems();
    grid.SetColumnCount(static_cast<int>(headings.size()));
    grid.SetRowCount(1);
    grid.SetRowHeight(0, kHeadingRowHeight);
    grid.SetFixedRowCount(1);
    grid.SetFixedColumnCount(1);
    for (int col = 0; col < static_cast<int>(headings.size()); ++col) {
        grid.SetItemText(0, col, headings[static_cast<std::size_t>(col)]);
        if (col < kRowColumnCount) {
            grid.SetColumnWidth(col, kRowColumnWidths[static_cast<std::size_t>(col)]);
        }
    }
}

void GridModelRows::AppendRow() {
    const int row = m_grid.InsertRow("", -1);
    m_grid.SetRowHeight(row, kDataRowHeight);
}

void GridModelRows::SetRowData(int row, QuantityRow* data) {
    m_grid.SetRowData(row, reinterpret_cast<std::intptr_t>(data));
}

void GridModelRows::SetText(int row, int col, std::string_view text) {
    m_grid.SetItemText(row, col, text);
}

void GridModelRows::TruncateRows(int rows) {
    const int count = m_grid.GetRowCount();
    if (rows >= count) {
        return;
    }
    // Row data stays under its index when rows go; rows no longer shown are forgotten.
    for (int row = rows; row < count; ++row) {
        m_grid.SetRowData(row, 0);
    }
    m_grid.SetRowCount(rows);
}

}  // namespace quarrant
