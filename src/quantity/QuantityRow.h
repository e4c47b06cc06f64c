#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/HashMap17.h"

namespace quarrant {

struct QuantityRow;
// Rows are shared so that an undo record can keep a deleted row alive.
using QuantityRowPtr = std::shared_ptr<QuantityRow>;
using QuantityRowMap = HashMap17<std::int32_t, QuantityRowPtr>;

// One take-off line: a top-level structure row or a component child row.
struct QuantityRow {
    // Entity identifiers the row was measured from, kept apart by what was measured.
    std::vector<std::int32_t> list1;  // the row's own entities; for a child, those counted for 数量
    std::vector<std::int32_t> list2;  // 长 (and 面积 / 体积)
    std::vector<std::int32_t> list3;  // 宽
    std::vector<std::int32_t> list4;  // 高
    std::string drawingName;          // empty for drawing-less rows and for child rows
    std::int32_t identifier = 0;
    std::int32_t gridRow = 0;  // grid row of the last listing

    std::string itemName;    // 项目名称
    std::string partOrAxis;  // 部位或轴线
    std::string unit;        // 单位
    std::string count;       // 数量
    std::string length;      // 长
    std::string width;       // 宽
    std::string height;      // 高
    std::string area;        // 面积
    std::string volume;      // 体积
    std::string unitWeight;  // 单位重量（kg）
    std::string quantity;    // 工程量
    std::string material;    // 材料及材料规格

    QuantityRow* parent = nullptr;  // none for a top-level row
    QuantityRowMap children;        // empty for child rows
};

}  // namespace quarrant
