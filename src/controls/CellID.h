#pragma once

#include "controls/TesselixExport.h"

namespace quarrant {

// One cell position of the grid; (-1, -1) when there is none. Indices include the fixed rows
// and columns.
class TESSELIX_EXPORT CCellID {
public:
    int row;
    int col;

    constexpr CCellID(int nRow = -1, int nCol = -1) : row(nRow), col(nCol) {}

    constexpr bool IsValid() const { return row >= 0 && col >= 0; }
    constexpr bool operator==(const CCellID& other) const {
        return row == other.row && col == other.col;
    }
    constexpr bool operator!=(const CCellID& other) const { return !(*this == other); }
};

}  // namespace quarrant
