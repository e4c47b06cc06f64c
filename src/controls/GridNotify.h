#pragma once

// What the grid tells its parent: the WM_NOTIFY codes with their record, and the cell record
// that goes with WM_GRID_ENDEDIT and WM_GRID_RBUTTONUP.

#include <cstdint>

namespace quarrant {

class CGridCtrl;

// Notification codes (WM_NOTIFY).
inline constexpr int NM_DBLCLK = -3;
inline constexpr int NM_RCLICK = -5;
inline constexpr int GVN_SELCHANGING = -100;
inline constexpr int GVN_SELCHANGED = -101;
inline constexpr int GVN_BEGINLABELEDIT = -105;
inline constexpr int GVN_ENDLABELEDIT = -106;
inline constexpr int GVN_BEGINDRAG = -109;

// The standard notification header: the sending control, its identifier and the code.
struct NMHDR {
    void* hwndFrom = nullptr;
    std::uintptr_t idFrom = 0;
    int code = 0;
};

// A grid notification: the header followed by row and column. Sent as WM_NOTIFY with
// wParam = the grid's identifier and lParam = this record. A handler answers through the
// message's result: a negative answer to GVN_BEGINLABELEDIT or GVN_ENDLABELEDIT refuses.
struct NM_GRIDVIEW {
    NMHDR hdr;
    int iRow = -1;
    int iColumn = -1;
};

// The cell record sent with WM_GRID_ENDEDIT and WM_GRID_RBUTTONUP (lParam points at it).
struct GridCellRecord {
    CGridCtrl* grid = nullptr;
    int row = -1;
    int col = -1;
};

}  // namespace quarrant
