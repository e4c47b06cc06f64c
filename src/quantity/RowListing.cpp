#include "quantity/RowListing.h"

#include "base/CNumbers.h"
#include "quantity/RowColumns.h"
#include "quantity/RowQuantities.h"

namespace quarrant {

namespace {

void WriteRow(RowGrid& grid, int gridRow, QuantityRow& row, std::string_view number) {
    if (gridRow >= grid.RowCount()) {
        grid.AppendRow();
    }
    grid.SetRowData(gridRow, &row);
    grid.SetText(gridRow, kColNumber, number);
    for (int col = kColItemName; col < kRowColumnCount; ++col) {
        grid.SetText(gridRow, col, *RowField(row, col));
    }
    row.gridRow = gridRow;
}

}  // namespace

std::optional<RowSelection> FilterChoiceSelection(const RowSelection& windowRows,
                                                  const std::string& kind,
                                                  const std::string& value) {
    if (kind.empty() || kind == kFilterRootText) {
        return windowRows;
    }
    if (kind == kItemNameCategory) {
        RowSelection selection = windowRows;
        selection.itemName = value;
        return selection;
    }
    return std::nullopt;
}

int ListRows(const QuantityRowMap& rows, const RowSelection& selection, RowGrid& grid,
             std::int32_t selectIdentifier, ListedRows* listed, ProgressSteps* progress) {
    if (listed != nullptr) {
        listed->clear();
    }
    int gridRow = 0;
    int number = 0;
    int selectedRow = -1;
    std::string numberText;
    for (auto entry : rows) {
        QuantityRow* top = entry.value.get();
        if (top == nullptr || !selection.Takes(*top)) {
            continue;
        }
        RecomputeStructureQuantity(*top);
        numberText = FormatInt(++number);
        WriteRow(grid, ++gridRow, *top, numberText);
        if (selectIdentifier != 0 && top->identifier == selectIdentifier) {
            selectedRow = gridRow;
        }
        if (listed != nullptr) {
            listed->push_back(entry.value);
        }
        for (auto childEntry : top->children) {
            if (childEntry.value == nullptr) {
                continue;
            }
            WriteRow(grid, ++gridRow, *childEntry.value, {});
            if (listed != nullptr) {
                listed->push_back(childEntry.value);
            }
        }
        if (progress != nullptr) {
            progress->Advance();
        }
    }
    grid.TruncateRows(gridRow + 1);
    return selectedRow;
}

int TopLevelRowCount(const QuantityRowMap& rows) {
    int count = 0;
    for (auto entry : rows) {
        if (entry.value != nullptr && entry.value->parent == nullptr) {
            ++count;
        }
    }
    return count;
}

std::vector<std::string> ItemNamesOf(const QuantityRowMap& rows, const RowSelection& selection) {
    std::vector<std::string> names;
    for (auto entry : rows) {
        if (entry.value != nullptr && selection.Takes(*entry.value)) {
            names.push_back(entry.value->itemName);
        }
    }
    return names;
}

}  // namespace quarrant
