#pragma once

// The 13 columns of a row view (the drawing window's and the data window's), the field of a
// quantity row each shows, and the grid's sizes.

#include <array>
#include <string>

#include "quantity/QuantityRow.h"

namespace quarrant {

inline constexpr int kRowColumnCount = 13;

enum RowColumn : int {
    kColNumber = 0,       // 序号: running number of the top-level rows
    kColItemName = 1,     // 项目名称
    kColPartOrAxis = 2,   // 部位或轴线
    kColCount = 3,        // 数量
    kColLength = 4,       // 长
    kColWidth = 5,        // 宽
    kColHeight = 6,       // 高
    kColArea = 7,         // 面积
    kColVolume = 8,       // 体积
    kColUnit = 9,         // 单位
    kColMaterial = 10,    // 材料及材料规格
    kColUnitWeight = 11,  // 单位重量（kg）
    kColQuantity = 12     // 工程量
};

// Column widths in pixels.
inline constexpr std::array<int, kRowColumnCount> kRowColumnWidths = {50, 120, 70, 50,  50, 50, 50,
                                                                      50, 50,  50, 100, 80, 80};
inline constexpr int kHeadingRowHeight = 35;
inline constexpr int kDataRowHeight = 25;

// The field a column shows (columns 1 to 12); nullptr for column 0 and beyond 12.
inline std::string* RowField(QuantityRow& row, int col) {
    switch (col) {
        case kColItemName:
            return &row.itemName;
        case kColPartOrAxis:
            return &row.partOrAxis;
        case kColCount:
            return &row.count;
        case kColLength:
            return &row.length;
        case kColWidth:
            return &row.width;
        case kColHeight:
            return &row.height;
        case kColArea:
            return &row.area;
        case kColVolume:
            return &row.volume;
        case kColUnit:
            return &row.unit;
        case kColMaterial:
            return &row.material;
        case kColUnitWeight:
            return &row.unitWeight;
        case kColQuantity:
            return &row.quantity;
        default:
            return nullptr;
    }
}

inline const std::string* RowField(const QuantityRow& row, int col) {
    return RowField(const_cast<QuantityRow&>(row), col);
}

}  // namespace quarrant
