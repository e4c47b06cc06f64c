#pragma once

// Which entities a row of a drawing window stands for, cell by cell: a structure row by its own
// list, a component row by the list of the quantity in the clicked column (数量, 长, 宽, 高,
// 面积, 体积). The drawing window selects them on request, or says that there are none.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "quantity/QuantityRow.h"

namespace quarrant {

struct RowMarking {
    const std::vector<std::int32_t>* entities = nullptr;  // the list to select
    std::string emptyMessage;                             // GBK, shown when the list is empty
};

// The list of the row for the column (any column for a structure row); nothing for a column of
// a component row that measures nothing.
std::optional<RowMarking> RowMarkingOf(const QuantityRow& row, int column);

// The row menu's marking item for a component row's column (GBK), or empty for a column that
// measures nothing.
std::string ComponentMarkItemText(int column);

}  // namespace quarrant
