#include "controls/GridCellBase.h"

namespace quarrant {

CGridCellBase::~CGridCellBase() = default;

void CGridCellBase::CopyFrom(const CGridCellBase& other) {
    SetText(other.GetText());
    SetImage(other.GetImage());
    SetData(other.GetData());
    SetState(other.GetState());
    SetFormat(other.GetFormat());
    SetTextClr(other.GetTextClr());
    SetBackClr(other.GetBackClr());
    SetFont(other.GetFont());
    SetMargin(other.GetMargin());
}

void CGridCellBase::Reset() {
    SetText("");
    SetImage(-1);
    SetData(0);
    SetState(0);
    SetFormat(kDefaultCellFormat);
    SetTextClr(kClrDefault);
    SetBackClr(kClrDefault);
    SetFont(nullptr);
    SetMargin(-1);
    SetMergeRange(CCellRange());
    SetMergeCellID(CCellID());
    m_editing = false;
}

}  // namespace quarrant
