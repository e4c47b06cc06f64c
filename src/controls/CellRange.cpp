#include "controls/CellRange.h"

#include <algorithm>

namespace quarrant {

void CCellRange::Set(int minRow, int minCol, int maxRow, int maxCol) {
    m_minRow = minRow;
    m_minCol = minCol;
    m_maxRow = maxRow;
    m_maxCol = maxCol;
}

bool CCellRange::IsValid() const {
    return m_minRow >= 0 && m_minCol >= 0 && m_maxRow >= 0 && m_maxCol >= 0 &&
           m_minRow <= m_maxRow && m_minCol <= m_maxCol;
}

bool CCellRange::InRange(int row, int col) const {
    return IsValid() && row >= m_minRow && row <= m_maxRow && col >= m_minCol && col <= m_maxCol;
}

bool CCellRange::Contains(const CCellRange& other) const {
    return other.IsValid() && InRange(other.m_minRow, other.m_minCol) &&
           InRange(other.m_maxRow, other.m_maxCol);
}

CCellRange CCellRange::Intersect(const CCellRange& other) const {
    CCellRange result(std::max(m_minRow, other.m_minRow), std::max(m_minCol, other.m_minCol),
                      std::min(m_maxRow, other.m_maxRow), std::min(m_maxCol, other.m_maxCol));
    return result.IsValid() ? result : CCellRange();
}

CCellRange CCellRange::Union(const CCellRange& other) const {
    if (!IsValid()) {
        return other.IsValid() ? other : CCellRange();
    }
    if (!other.IsValid()) {
        return *this;
    }
    return CCellRange(std::min(m_minRow, other.m_minRow), std::min(m_minCol, other.m_minCol),
                      std::max(m_maxRow, other.m_maxRow), std::max(m_maxCol, other.m_maxCol));
}

bool CCellRange::operator==(const CCellRange& other) const {
    return m_minRow == other.m_minRow && m_minCol == other.m_minCol && m_maxRow == other.m_maxRow &&
           m_maxCol == other.m_maxCol;
}

}  // namespace quarrant
