#pragma once

#include "controls/CellID.h"
#include "controls/TesselixExport.h"

namespace quarrant {

// A rectangle of cells, both corners included; all -1 when empty.
class TESSELIX_EXPORT CCellRange {
public:
    CCellRange(int minRow = -1, int minCol = -1, int maxRow = -1, int maxCol = -1)
        : m_minRow(minRow), m_minCol(minCol), m_maxRow(maxRow), m_maxCol(maxCol) {}

    void Set(int minRow = -1, int minCol = -1, int maxRow = -1, int maxCol = -1);

    // Valid when every corner index is non-negative and the corners are in order.
    bool IsValid() const;
    bool InRange(int row, int col) const;
    bool InRange(const CCellID& cell) const { return InRange(cell.row, cell.col); }
    // True when every cell of other lies in this range.
    bool Contains(const CCellRange& other) const;
    int Count() const { return IsValid() ? GetRowSpan() * GetColSpan() : 0; }

    CCellID GetTopLeft() const { return CCellID(m_minRow, m_minCol); }
    CCellRange Intersect(const CCellRange& other) const;
    // The smallest range holding both (an invalid range counts as nothing).
    CCellRange Union(const CCellRange& other) const;

    int GetMinRow() const { return m_minRow; }
    int GetMinCol() const { return m_minCol; }
    int GetMaxRow() const { return m_maxRow; }
    int GetMaxCol() const { return m_maxCol; }
    void SetMinRow(int row) { m_minRow = row; }
    void SetMinCol(int col) { m_minCol = col; }
    void SetMaxRow(int row) { m_maxRow = row; }
    void SetMaxCol(int col) { m_maxCol = col; }
    int GetRowSpan() const { return m_maxRow - m_minRow + 1; }
    int GetColSpan() const { return m_maxCol - m_minCol + 1; }

    bool operator==(const CCellRange& other) const;
    bool operator!=(const CCellRange& other) const { return !(*this == other); }

private:
    int m_minRow;
    int m_minCol;
    int m_maxRow;
    int m_maxCol;
};

}  // namespace quarrant
