#pragma once

// The printed pages of a report, without any window: the page geometry from the screen's and
// the printer's resolution, the table laid out to the page width (columns scaled, rows grown
// to fit their wrapped texts, merged blocks, header rows repeated), the pages, the preview's
// page and zoom commands, and the dragging of column and row borders. Lengths are logical
// units, which equal pixels of the screen.

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "controls/GridModel.h"

namespace quarrant {

// What the page geometry is computed from.
struct PrinterMetrics {
    int screenDpiX = 96;
    int screenDpiY = 96;
    int printerDpiX = 600;
    int printerDpiY = 600;
    double printableWidthMm = 210.0;   // the printer's printable area
    double printableHeightMm = 297.0;  //
    int printableHeightPx = 7016;      // printer pixels
};

struct PageGeometry {
    static constexpr int kTableTop = 118;
    static constexpr int kTableBottomGap = 65;  // from the table's bottom to the page's

    int leftMargin = 0;         // 19 mm + 10; logical x = 0 lies this far inside the page
    bool landscape = false;     // A4 across, when the printable area is wider than high
    int paperWidthPx = 0;       // printer pixels
    int printableHeightPx = 0;  // printer pixels
    int pageWidth = 0;
    int pageHeight = 0;
    int contentWidth = 0;  // W: the table's width

    int TableBottom() const { return pageHeight - kTableBottomGap; }
    // The height a page has for header and data rows.
    int BodyHeight() const { return TableBottom() - kTableTop; }
};

PageGeometry ComputePageGeometry(const PrinterMetrics& metrics);

// Text sizes in the body font of the page (texts are GBK).
class TextMeasure {
public:
    virtual ~TextMeasure() = default;
    virtual int Width(std::string_view text) const = 0;
    virtual int Height() const = 0;
    // The lines a text of this width takes wrapped into `width` (which it exceeds): at least
    // ceiling(textWidth / width); more where breaking at words leaves lines short.
    virtual int Lines(std::string_view text, int textWidth, int width) const;
};

// How a cell is drawn on the page: a merged block's master spans the block and the cells it
// covers are not drawn.
struct LayoutCell {
    bool merged = false;
    int masterRow = -1;
    int masterCol = -1;
    int width = 0;
    int height = 0;
    bool draw = true;
};

// The data rows of one page (indexes from 0 = the first row after the header rows); a page
// without data rows has last < first.
struct PageSpan {
    int first = 0;
    int last = -1;
};

// The border a drag moves: 1 a column's right border, 2 a header row's lower border, 3 a data
// row's lower border.
enum class DragMode { kNone = 0, kColumn = 1, kHeaderRow = 2, kDataRow = 3 };
struct DragTarget {
    DragMode mode = DragMode::kNone;
    int index = -1;  // column, header row, or data row index
};

class PageLayout {
public:
    // Columns scaled to fill contentWidth (the widths are written into the grid too), header
    // rows as the grid has them, every data row as high as its tallest wrapped text needs,
    // merged blocks, then the pages.
    void Build(GridModel& grid, int contentWidth, int bodyHeight, const TextMeasure& measure);
    // Merged blocks and pages again from the sizes held (texts are not measured again).
    void Recompute(const GridModel& grid, int bodyHeight);
    // The widths and heights held, written into the grid (data row k into grid row k + the
    // number of header rows).
    void WriteSizes(GridModel& grid) const;

    bool IsBuilt() const { return m_built; }
    // The page size the layout was made for.
    int ContentWidth() const { return m_contentWidth; }
    int BodyHeight() const { return m_bodyHeight; }
    int ColumnCount() const { return static_cast<int>(m_columnWidths.size()); }
    const std::vector<int>& ColumnWidths() const { return m_columnWidths; }
    int HeaderRowCount() const { return static_cast<int>(m_headerHeights.size()); }
    const std::vector<int>& HeaderHeights() const { return m_headerHeights; }
    int TotalHeaderHeight() const;
    int DataRowCount() const { return static_cast<int>(m_dataHeights.size()); }
    const std::vector<int>& DataHeights() const { return m_dataHeights; }
    // The cell of a grid row (header rows first).
    LayoutCell Cell(int gridRow, int col) const;
    int RowHeight(int gridRow) const;

    int PageCount() const { return static_cast<int>(m_pages.size()); }
    // Page p, from 1.
    PageSpan Page(int page) const;

    // The border at a point of the page (x from the table's left, y from the page's top) on
    // page `page`, when it lies within `tolerance` of the point: column borders first, then
    // header rows, then the data rows of that page. Only points on the table count.
    DragTarget HitBorder(double x, double y, int page, double tolerance) const;
    // Where the line of a drag may stand, nearest to pos (x for a column, y for a row): at
    // least 25 right of the column's left border and 25 left of the next column's right
    // border (the last column: up to the table's right edge - 2); a row more than 23 below
    // its top and not below the table bottom.
    double ClampDragLine(const DragTarget& target, double pos, int page, int tableBottom) const;
    // The border's position now: x of a column's right border, y of a row's lower border.
    double BorderPosition(const DragTarget& target, int page) const;
    // Moves the border by delta: a column grows and the next one shrinks; a row grows. False
    // (nothing changed) when a row would not stay higher than 0.
    bool ApplyDrag(const DragTarget& target, int delta);

private:
    void ComputeMergedCells(const GridModel& grid);
    void Paginate(int bodyHeight);
    int DataRowTop(int dataRow, int page) const;
    static std::int64_t CellKey(int row, int col) {
        return (static_cast<std::int64_t>(row) << 20) + col;
    }

    bool m_built = false;
    int m_contentWidth = 0;
    int m_bodyHeight = 0;
    std::vector<int> m_columnWidths;
    std::vector<int> m_headerHeights;
    std::vector<int> m_dataHeights;
    // Only cells of merged blocks; every other cell spans its own column and row.
    std::unordered_map<std::int64_t, LayoutCell> m_mergedCells;
    std::vector<PageSpan> m_pages;
};

// The page and zoom commands of the preview: three zoom steps from the whole page up, the
// page shown, and whether each command is possible now.
class PreviewState {
public:
    static constexpr int kZoomSteps = 3;

    void SetPageCount(int pages);
    int PageCount() const { return m_pageCount; }
    int Page() const { return m_page; }
    int ZoomStep() const { return m_zoom; }

    bool CanZoomIn() const { return m_zoom < kZoomSteps - 1; }
    bool CanZoomOut() const { return m_zoom > 0; }
    bool CanPreviousPage() const { return m_page > 1; }
    bool CanNextPage() const { return m_page < m_pageCount; }

    // Each returns whether anything changed.
    bool ZoomIn();
    bool ZoomOut();
    bool NextPage();
    bool PreviousPage();

private:
    int m_pageCount = 1;
    int m_page = 1;
    int m_zoom = 0;
};

}  // namespace quarrant
