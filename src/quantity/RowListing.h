#pragma once

// Listing quantity rows into a grid, as both row views (and quarrant-cli rows) list them: the
// top-level rows in the row map's order, each followed by its children in their child map's
// order, column 0 numbering the top-level rows from 1.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/ProgressSteps.h"
#include "quantity/QuantityRow.h"
#include "quantity/RowGrid.h"

namespace quarrant {

// "过滤显示管理器": the root of the filter's tree, and the kind that lists every row again.
inline constexpr const char* kFilterRootText =
    "\xB9\xFD\xC2\xCB\xCF\xD4\xCA\xBE\xB9\xDC\xC0\xED\xC6\xF7";
// "项目名称": the filter's category of item names, and the kind that lists one item name.
inline constexpr const char* kItemNameCategory = "\xCF\xEE\xC4\xBF\xC3\xFB\xB3\xC6";

// Which top-level rows a listing takes.
struct RowSelection {
    // Set in a drawing window: only the rows taken on this drawing.
    std::optional<std::string> drawingName;
    // Set by the filter: only the rows of this 项目名称.
    std::optional<std::string> itemName;

    bool Takes(const QuantityRow& row) const {
        return row.parent == nullptr && (!drawingName || row.drawingName == *drawingName) &&
               (!itemName || row.itemName == *itemName);
    }
};

// The selection of a filter choice (kind, value) within a window's rows: every row for an empty
// kind or the root's, the rows of one item name for the kind "项目名称"; nothing for any other.
std::optional<RowSelection> FilterChoiceSelection(const RowSelection& windowRows,
                                                  const std::string& kind,
                                                  const std::string& value);

// The rows a grid shows, kept alive for as long as it shows them, so that the row data of a
// grid row never outlives its row (another window may delete it and drop its undo history).
using ListedRows = std::vector<QuantityRowPtr>;

// Lists the rows the selection takes into the grid from row 1 on: each row's texts go into
// columns 1 to 12 and its index into its grid row; each top-level row's structure quantity is
// recomputed first; grid rows are appended as needed and those after the last written one
// removed. progress advances once per listed top-level row. Returns the grid row of the listed
// top-level row whose identifier is selectIdentifier (0 selects nothing), or -1.
int ListRows(const QuantityRowMap& rows, const RowSelection& selection, RowGrid& grid,
             std::int32_t selectIdentifier, ListedRows* listed = nullptr,
             ProgressSteps* progress = nullptr);

// The number of top-level rows of the map: the progress total of a background listing.
int TopLevelRowCount(const QuantityRowMap& rows);

// The 项目名称 of every top-level row the selection takes, in the map's order (repeats kept).
std::vector<std::string> ItemNamesOf(const QuantityRowMap& rows, const RowSelection& selection);

}  // namespace quarrant
