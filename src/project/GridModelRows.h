#pragma once

// A listing of quantity rows written into a grid's cell content: the content of a row view's
// grid, an off-screen content a worker fills for it, or the content quarrant-cli prints.

#include <string>
#include <vector>

#include "controls/GridModel.h"
#include "quantity/RowGrid.h"

namespace quarrant {

// Empties the grid and sets it up for a listing: one column per heading of the data table,
// row 0 holding the headings (35 pixels high), one fixed row and one fixed column, the column
// widths of the row views.
void ResetRowGrid(GridModel& grid, const std::vector<std::string>& headings);

class GridModelRows final : public RowGrid {
public:
    explicit GridModelRows(GridModel& grid) : m_grid(grid) {}

    int RowCount() const override { return m_grid.GetRowCount(); }
    void AppendRow() override;
    void SetRowData(int row, QuantityRow* data) override;
    void SetText(int row, int col, std::string_view text) override;
    void TruncateRows(int rows) override;

private:
    GridModel& m_grid;
};

}  // namespace quarrant
