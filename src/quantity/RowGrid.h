#pragma once

// Where a listing of quantity rows writes: the cells of a grid. The row views hand it their
// grid's content (or an off-screen content a worker fills); quarrant-cli and the tests hand it
// a content of their own.

#include <string_view>

#include "quantity/QuantityRow.h"

namespace quarrant {

class RowGrid {
public:
    virtual ~RowGrid() = default;

    virtual int RowCount() const = 0;
    // Appends an empty row (empty heading) of the data-row height.
    virtual void AppendRow() = 0;
    // The row a grid row shows (its row data word).
    virtual void SetRowData(int row, QuantityRow* data) = 0;
    virtual void SetText(int row, int col, std::string_view text) = 0;
    // Removes the rows from index `rows` on, and forgets the rows they showed.
    virtual void TruncateRows(int rows) = 0;
};

}  // namespace quarrant
