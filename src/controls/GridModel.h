#pragma once

// The content of one grid, without any window: sizes, cells, row and column sizes, the row-data
// map, focus cell, selection, merged blocks and the geometry of cells. CGridCtrl draws and edits
// a GridModel; a worker thread may fill a model of its own off-screen and hand it to the grid
// in one step (CGridCtrl::SetModel), since widgets may only be touched on the interface thread.
// A model is used by one thread at a time.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/HashMap17.h"
#include "controls/CellID.h"
#include "controls/CellRange.h"
#include "controls/GridCell.h"
#include "controls/GridTypes.h"
#include "controls/TesselixExport.h"

namespace quarrant {

// Default cell metrics, measured by the widget from its font. Without a display: margin 3,
// width 40, height 16 (the text height is two thirds of the row height).
struct GridMetrics {
    int margin = 3;
    int columnWidth = 40;
    int rowHeight = 16;
    int textHeight = 10;
};

// The grid's switches, with their defaults.
struct GridSwitches {
    bool editable = true;
    bool listMode = false;
    bool singleRowSelection = false;
    bool singleColSelection = false;
    bool selectable = true;
    bool fixedRowSelection = true;
    bool fixedColumnSelection = true;
    bool rowResize = true;
    bool columnResize = true;
    bool headerSort = false;
    bool handleTabKey = true;
    bool doubleBuffer = true;
    bool titleTips = true;
    bool hiddenRowUnhide = true;
    bool hiddenColUnhide = true;
    bool sortAscending = true;
    int sortColumn = -1;
    bool trackFocusCell = true;
    bool frameFocusCell = true;
    bool dragAndDrop = false;
    int autoSizeStyle = kAutoSizeBoth;
    int gridLines = kGridLinesBoth;
};

// The seven print margin values, in the order of SetPrintMarginInfo's arguments. Heights and
// the gap count lines of the printed font, the left and right margins its average character
// width.
struct GridPrintMargins {
    int headerHeight = 2;
    int footerHeight = 2;
    int leftMargin = 4;
    int rightMargin = 4;
    int topMargin = 1;
    int bottomMargin = 1;
    int gap = 1;
};

// The key of a cell in the set of selected cells: column x 65536 + row. Rows from 65536 on,
// which that key cannot tell apart from the next column's first rows, get keys of their own
// above 2^48.
inline std::int64_t SelectionKey(int row, int col) {
    if (row < 65536) {
        return static_cast<std::int64_t>(col) * 65536 + row;
    }
    return (std::int64_t{1} << 48) + (static_cast<std::int64_t>(col) << 32) + row;
}

class TESSELIX_EXPORT GridModel {
public:
    using CellFactory = std::function<std::unique_ptr<CGridCellBase>()>;
    using SelectionMap = HashMap17<std::int64_t, CCellID>;
    using RowDataMap = HashMap17<std::int32_t, std::intptr_t>;

    explicit GridModel(int rows = 0, int cols = 0, int fixedRows = 0, int fixedCols = 0,
                       const GridMetrics& metrics = GridMetrics());
    ~GridModel();
    GridModel(const GridModel&) = delete;
    GridModel& operator=(const GridModel&) = delete;

    // An empty model with this one's metrics, default cells, colours, switches and print
    // settings: what a worker fills before handing it to the grid.
    std::unique_ptr<GridModel> CloneSettings() const;

    // ---- metrics and default cells
    const GridMetrics& Metrics() const { return m_metrics; }
    // New metrics; the default cells take the margin. Existing sizes are kept.
    void SetMetrics(const GridMetrics& metrics);
    // The prototype cells: normal, fixed row, fixed column, fixed row and column.
    CGridCell* GetDefaultCell(bool fixedRow, bool fixedCol);
    const CGridCell* GetDefaultCell(bool fixedRow, bool fixedCol) const;
    void SetCellFactory(CellFactory factory) { m_cellFactory = std::move(factory); }

    // ---- colours. Default colours are those of a light desktop until the widget sets them.
    GridColor GetGridBkColor() const { return m_gridBkColor; }
    void SetGridBkColor(GridColor color) { m_gridBkColor = color; }
    GridColor GetGridLineColor() const { return m_gridLineColor; }
    void SetGridLineColor(GridColor color) { m_gridLineColor = color; }
    // The desktop colours changed: the default cells take them, and the background follows
    // when it still had the old button-shadow colour.
    void SetSystemColors(GridColor windowText, GridColor window, GridColor buttonFace,
                         GridColor buttonShadow);

    GridSwitches& Switches() { return m_switches; }
    const GridSwitches& Switches() const { return m_switches; }
    bool IsEditable() const { return m_switches.editable; }
    void SetEditable(bool editable) { m_switches.editable = editable; }

    // ---- sizes
    int GetRowCount() const { return static_cast<int>(m_rows.size()); }
    int GetColumnCount() const { return m_columnCount; }
    int GetFixedRowCount() const { return m_fixedRows; }
    int GetFixedColumnCount() const { return m_fixedCols; }
    bool SetRowCount(int rows);
    bool SetColumnCount(int cols);
    bool SetFixedRowCount(int fixedRows);
    bool SetFixedColumnCount(int fixedCols);

    // Position -1 appends; otherwise the new row goes before `position`, which must be a
    // non-fixed existing row. Returns the new row's index or -1.
    int InsertRow(std::string_view heading, int position = -1);
    // The column counterpart; the heading goes into row 0 (a row is created when there is
    // none) and the format into the column's cells.
    int InsertColumn(std::string_view heading,
                     unsigned format = kDtCenter | kDtVCenter | kDtSingleLine, int position = -1);
    bool DeleteRow(int row);
    bool DeleteColumn(int col);
    // Removes every row, column and cell, the selection, the focus cell and the row data.
    void DeleteAllItems();
    void DeleteNonFixedRows();

    bool IsValid(int row, int col) const {
        return row >= 0 && row < GetRowCount() && col >= 0 && col < m_columnCount;
    }
    bool IsValid(const CCellID& cell) const { return IsValid(cell.row, cell.col); }
    bool IsValid(const CCellRange& range) const;
    bool IsCellFixed(int row, int col) const { return row < m_fixedRows || col < m_fixedCols; }

    // ---- cells
    CGridCellBase* GetCell(int row, int col) const;
    bool SetItemText(int row, int col, std::string_view text);
    std::string GetItemText(int row, int col) const;
    // Replaces the state flags; setting or clearing 0x02 enters or removes the cell in the
    // set of selected cells.
    bool SetItemState(int row, int col, unsigned state);
    unsigned GetItemState(int row, int col) const;
    bool SetItemData(int row, int col, std::intptr_t data);
    std::intptr_t GetItemData(int row, int col) const;
    bool SetItemImage(int row, int col, int image);
    int GetItemImage(int row, int col) const;
    bool SetItemFormat(int row, int col, unsigned format);
    unsigned GetItemFormat(int row, int col) const;
    bool SetItemFgColour(int row, int col, GridColor color);
    GridColor GetItemFgColour(int row, int col) const;
    bool SetItemBkColour(int row, int col, GridColor color);
    GridColor GetItemBkColour(int row, int col) const;
    bool SetItemFont(int row, int col, const GridFont& font);
    // The cell's font; for a position without a cell, the matching default cell's.
    const GridFont& GetItemFont(int row, int col) const;
    bool SetModified(bool modified, int row, int col);
    bool GetModified(int row, int col) const;
    // Whether an in-place edit may start on the cell: an editable grid and a writable cell.
    bool IsCellEditable(int row, int col) const;

    // ---- row heights and column widths (pixels)
    bool SetRowHeight(int row, int height);
    int GetRowHeight(int row) const;
    bool SetColumnWidth(int col, int width);
    int GetColumnWidth(int col) const;
    // Distance from the top of row 0 to the top of row (row may be the row count).
    long long RowTop(int row) const;
    long long ColumnLeft(int col) const;
    long long GetVirtualHeight() const { return RowTop(GetRowCount()); }
    long long GetVirtualWidth() const { return ColumnLeft(m_columnCount); }
    int GetFixedRowHeight() const { return static_cast<int>(RowTop(m_fixedRows)); }
    int GetFixedColumnWidth() const { return static_cast<int>(ColumnLeft(m_fixedCols)); }
    // The row whose span holds the offset y from the top of row 0; -1 beyond the last row.
    // Rows of height 0 never hold a point.
    int RowAtOffset(long long y) const;
    int ColumnAtOffset(long long x) const;

    // ---- row data: one caller word per row index. InsertRow and DeleteRow do not move the
    // entries; only DeleteAllItems clears them.
    bool SetRowData(int row, std::intptr_t data);
    std::intptr_t GetRowData(int row) const;
    const RowDataMap& RowData() const { return m_rowData; }

    // ---- focus cell and selection
    CCellID GetFocusCell() const { return m_focusCell; }
    // Moves the focused flag with the focus cell; an invalid cell clears it.
    void SetFocusCell(CCellID cell);
    int GetSelectRow() const { return m_focusCell.row; }
    int GetSelectCol() const { return m_focusCell.col; }
    const SelectionMap& SelectedCells() const { return m_selectedCells; }
    int GetSelectedCount() const { return static_cast<int>(m_selectedCells.size()); }
    bool IsCellSelected(int row, int col) const;
    // Deselects every cell.
    void ResetSelectedRange();
    // Selects the cells of range; with keepPrevious the cells remembered by
    // RememberSelection stay selected too (adding to a selection with Ctrl).
    void SetSelectedRange(const CCellRange& range, bool keepPrevious = false);
    void RememberSelection();
    // The smallest range holding every selected cell; invalid when none is selected.
    CCellRange GetSelectedCellRange() const;
    // The last range selected with SetSelectedRange.
    CCellRange GetSelectedRange() const { return m_selectedRange; }
    void SelectAllCells();
    // The whole grid's non-fixed cells.
    CCellRange GetNonFixedRange() const;
    // The range grown until no merged block sticks out of it.
    CCellRange ExpandToMergedBlocks(const CCellRange& range) const;

    // ---- merged cells
    bool MergeCells(int minRow, int minCol, int maxRow, int maxCol);
    bool UnMergeCells(int minRow, int minCol, int maxRow, int maxCol);
    bool MergeSelectedCells();
    bool UnMergeSelectedCells();
    // For a cell covered by another cell's block: writes the master's position and returns
    // true; otherwise returns false and leaves the outputs alone.
    bool GetMergeCell(int& masterRow, int& masterCol, int row, int col) const;
    // The master of a covered cell, else the cell itself.
    CCellID GetMergeCellID(CCellID cell) const;
    // Width (height) of the cell's block, or of the cell alone; -1 for an index out of range.
    int GetMergeCellWidth(CCellID cell) const;
    int GetMergeCellHeight(CCellID cell) const;
    const std::vector<CCellRange>& MergedBlocks() const { return m_mergedBlocks; }

    // ---- geometry in a view scrolled by (scrollX, scrollY) pixels: fixed rows and columns
    // stay in place, the others move.
    bool GetCellOriginNoMerge(int row, int col, int scrollX, int scrollY, int& x, int& y) const;
    // A master's rectangle spans its block; every other cell has its own rectangle.
    bool GetCellRect(int row, int col, int scrollX, int scrollY, GridRect& rect) const;
    // The cell under a point of the view, merged cells resolved to their master; (-1, -1)
    // outside the cells.
    CCellID GetCellFromPoint(int x, int y, int scrollX, int scrollY) const;
    // The same without merge resolution.
    CCellID GetCellFromPointNoMerge(int x, int y, int scrollX, int scrollY) const;
    // The non-fixed cells at least partly visible in a view of width x height pixels.
    CCellRange GetVisibleNonFixedCellRange(int scrollX, int scrollY, int width, int height) const;

    // ---- print settings
    void SetPrintMarginInfo(int headerHeight, int footerHeight, int leftMargin, int rightMargin,
                            int topMargin, int bottomMargin, int gap);
    void GetPrintMarginInfo(int& headerHeight, int& footerHeight, int& leftMargin, int& rightMargin,
                            int& topMargin, int& bottomMargin, int& gap) const;
    const GridPrintMargins& PrintMargins() const { return m_printMargins; }
    bool GetShadedPrintOut() const { return m_shadedPrintOut; }
    void SetShadedPrintOut(bool shaded) { m_shadedPrintOut = shaded; }

private:
    using Row = std::vector<std::unique_ptr<CGridCellBase>>;

    std::unique_ptr<CGridCellBase> NewCell(int row, int col);
    // Sizes changed from this row (column) on: the prefix sums after it are stale.
    void InvalidateRowTops(int fromRow);
    void InvalidateColumnLefts(int fromCol);
    void UpdateFixedStates(int firstRow, int lastRow, int firstCol, int lastCol);
    void UpdateRowTops() const;
    void UpdateColumnLefts() const;
    void WriteBlock(const CCellRange& block);
    void ClearBlock(const CCellRange& block);
    void RemoveBlocksIntersecting(const CCellRange& range);
    // Keeps merged blocks true to rows (columns) that are about to be inserted or deleted at
    // `first`: a block the change cuts through is unmerged; blocks after it are cleared and
    // returned moved by delta, to be written back once the cells have moved.
    std::vector<CCellRange> DetachBlocksForRows(int first, int delta);
    std::vector<CCellRange> DetachBlocksForColumns(int first, int delta);
    void ReattachBlocks(const std::vector<CCellRange>& blocks);
    void DropBlocksBeyond(int rows, int cols);
    void DropSelectionBeyond(int rows, int cols);

    GridMetrics m_metrics;
    int m_columnCount = 0;
    int m_fixedRows = 0;
    int m_fixedCols = 0;
    std::vector<int> m_rowHeights;
    std::vector<int> m_columnWidths;
    std::vector<Row> m_rows;
    RowDataMap m_rowData;
    CCellID m_focusCell;
    SelectionMap m_selectedCells;
    SelectionMap m_previousSelection;
    CCellRange m_selectedRange;
    GridColor m_gridBkColor = GridRgb(160, 160, 160);
    GridColor m_gridLineColor = GridRgb(192, 192, 192);
    GridColor m_buttonShadowColor = GridRgb(160, 160, 160);
    GridSwitches m_switches;
    CGridCell m_defaultCells[4];
    GridPrintMargins m_printMargins;
    bool m_shadedPrintOut = true;
    CellFactory m_cellFactory;
    std::vector<CCellRange> m_mergedBlocks;

    // Prefix sums of the sizes, rebuilt on demand after a change, so that finding the rows
    // of a viewport takes a binary search whatever the row count.
    mutable std::vector<long long> m_rowTops{0};
    mutable std::vector<long long> m_columnLefts{0};
    // How many leading entries of the prefix sums are up to date.
    mutable std::size_t m_rowTopsValid = 1;
    mutable std::size_t m_columnLeftsValid = 1;
};

}  // namespace quarrant
