#include "controls/GridCell.h"

#include "controls/GridModel.h"

namespace quarrant {

CGridCell::CGridCell() = default;
CGridCell::~CGridCell() = default;

void CGridCell::SetFont(const GridFont* font) {
    if (font == nullptr) {
        m_font.reset();
    } else if (m_font != nullptr) {
        *m_font = *font;
    } else {
        m_font = std::make_unique<GridFont>(*font);
    }
}

const GridFont* CGridCell::GetFontObject() const {
    if (m_font != nullptr) {
        return m_font.get();
    }
    if (m_grid != nullptr) {
        return m_grid->GetDefaultCell(false, false)->GetFont();
    }
    return nullptr;
}

void CGridCell::SetMergeCellID(CCellID master) {
    if (master.IsValid()) {
        if (m_merge == nullptr) {
            m_merge = std::make_unique<MergeData>();
        }
        m_merge->mergedInto = true;
        m_merge->master = master;
    } else if (m_merge != nullptr) {
        m_merge->mergedInto = false;
        m_merge->master = CCellID();
        DropMergeDataIfPlain();
    }
}

void CGridCell::SetMergeRange(const CCellRange& range) {
    if (range.IsValid()) {
        if (m_merge == nullptr) {
            m_merge = std::make_unique<MergeData>();
        }
        m_merge->range = range;
    } else if (m_merge != nullptr) {
        m_merge->range = CCellRange();
        DropMergeDataIfPlain();
    }
}

void CGridCell::DropMergeDataIfPlain() {
    if (m_merge != nullptr && !m_merge->mergedInto && !m_merge->range.IsValid()) {
        m_merge.reset();
    }
}

}  // namespace quarrant
