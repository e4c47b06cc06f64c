#include "reports/PageLayout.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "controls/GridCellBase.h"

namespace quarrant {

namespace {

// 19 mm, A4's long and short sides, in inches.
constexpr double kLeftMarginInches = 0.7480314960629921;
constexpr double kA4LongInches = 11.69291338582677;
constexpr double kA4ShortInches = 8.26771653543307;

// The text gap of a cell: 10 on the left and 5 on the right of a wrapped text.
constexpr int kCellTextGap = 15;
// What a data row needs beyond its lines of text.
constexpr int kRowTextPadding = 16;

constexpr int kMinColumnDrag = 25;  // a dragged column border keeps this from its neighbours
constexpr int kMinRowDrag = 24;     // a dragged row border stays more than 23 below the top
constexpr int kRightEdgeGap = 2;

}  // namespace

int TextMeasure::Lines(std::string_view, int textWidth, int width) const {
    return (textWidth + width - 1) / std::max(1, width);
}

PageGeometry ComputePageGeometry(const PrinterMetrics& metrics) {
    PageGeometry page;
    const int printerDpiX = std::max(1, metrics.printerDpiX);
    const int printerDpiY = std::max(1, metrics.printerDpiY);
    page.leftMargin = static_cast<int>(metrics.screenDpiX * kLeftMarginInches + 10);
    page.landscape = metrics.printableHeightMm < metrics.printableWidthMm;
    page.paperWidthPx =
        static_cast<int>(printerDpiX * (page.landscape ? kA4LongInches : kA4ShortInches));
    page.printableHeightPx = metrics.printableHeightPx;
    page.pageWidth = static_cast<int>(static_cast<long long>(metrics.screenDpiX) *
                                      page.paperWidthPx / printerDpiX);
    page.pageHeight = static_cast<int>(static_cast<long long>(metrics.printableHeightPx) *
                                       metrics.screenDpiY / printerDpiY);
    page.contentWidth = page.pageWidth - 2 * page.leftMargin + 30;
    return page;
}

void PageLayout::Build(GridModel& grid, int contentWidth, int bodyHeight,
                       const TextMeasure& measure) {
    m_contentWidth = contentWidth;
    const int columns = grid.GetColumnCount();
    const int fixedRows = std::min(grid.GetFixedRowCount(), grid.GetRowCount());

    // Columns: each grid width times contentWidth / (sum of the grid's widths), truncated; the
    // last column takes what is left.
    m_columnWidths.assign(static_cast<std::size_t>(columns), 0);
    long long gridSum = 0;
    for (int col = 0; col < columns; ++col) {
        gridSum += std::max(0, grid.GetColumnWidth(col));
    }
    int used = 0;
    for (int col = 0; col + 1 < columns; ++col) {
        const long long gridWidth = std::max(0, grid.GetColumnWidth(col));
        const int width = gridSum > 0 ? static_cast<int>(gridWidth * contentWidth / gridSum)
                                      : contentWidth / columns;
        m_columnWidths[static_cast<std::size_t>(col)] = width;
        used += width;
    }
    if (columns > 0) {
        m_columnWidths.back() = contentWidth - used;
    }
    for (int col = 0; col < columns; ++col) {
        grid.SetColumnWidth(col, m_columnWidths[static_cast<std::size_t>(col)]);
    }

    m_headerHeights.clear();
    for (int row = 0; row < fixedRows; ++row) {
        m_headerHeights.push_back(grid.GetRowHeight(row));
    }

    // Data rows as high as their tallest wrapped text needs: lines = ceiling(text width /
    // (column width - 15)), or more where the words do not fill the lines. Report texts repeat
    // a lot (names, units, materials), so each distinct text is measured once, and wrapped
    // once per column.
    std::unordered_map<std::string_view, int> widths;
    std::vector<std::unordered_map<std::string_view, int>> wrapped(
        static_cast<std::size_t>(columns));
    const int textHeight = measure.Height();
    m_dataHeights.clear();
    m_dataHeights.reserve(static_cast<std::size_t>(grid.GetRowCount() - fixedRows));
    for (int row = fixedRows; row < grid.GetRowCount(); ++row) {
        int height = grid.GetRowHeight(row);
        for (int col = 0; col < columns; ++col) {
            const CGridCellBase* cell = grid.GetCell(row, col);
            if (cell == nullptr || cell->GetText().empty()) {
                continue;
            }
            const std::string_view text = cell->GetText();
            auto found = widths.find(text);
            if (found == widths.end()) {
                found = widths.emplace(text, measure.Width(text)).first;
            }
            const int textWidth = found->second;
            const int available =
                std::max(1, m_columnWidths[static_cast<std::size_t>(col)] - kCellTextGap);
            int lines = textWidth > 0 ? 1 : 0;
            if (textWidth > available) {
                auto& columnLines = wrapped[static_cast<std::size_t>(col)];
                auto known = columnLines.find(text);
                if (known == columnLines.end()) {
                    known =
                        columnLines.emplace(text, measure.Lines(text, textWidth, available)).first;
                }
                lines = known->second;
            }
            height = std::max(height, textHeight * lines + kRowTextPadding);
        }
        m_dataHeights.push_back(height);
    }
    m_built = true;
    Recompute(grid, bodyHeight);
}

void PageLayout::Recompute(const GridModel& grid, int bodyHeight) {
    m_bodyHeight = bodyHeight;
    ComputeMergedCells(grid);
    Paginate(bodyHeight);
}

void PageLayout::WriteSizes(GridModel& grid) const {
    for (int col = 0; col < ColumnCount() && col < grid.GetColumnCount(); ++col) {
        grid.SetColumnWidth(col, m_columnWidths[static_cast<std::size_t>(col)]);
    }
    const int headers = HeaderRowCount();
    for (int row = 0; row < headers; ++row) {
        grid.SetRowHeight(row, m_headerHeights[static_cast<std::size_t>(row)]);
    }
    for (int k = 0; k < DataRowCount(); ++k) {
        grid.SetRowHeight(k + headers, m_dataHeights[static_cast<std::size_t>(k)]);
    }
}

int PageLayout::TotalHeaderHeight() const {
    int total = 0;
    for (int height : m_headerHeights) {
        total += height;
    }
    return total;
}

int PageLayout::RowHeight(int gridRow) const {
    const int headers = HeaderRowCount();
    if (gridRow < 0) {
        return 0;
    }
    if (gridRow < headers) {
        return m_headerHeights[static_cast<std::size_t>(gridRow)];
    }
    const int k = gridRow - headers;
    return k < DataRowCount() ? m_dataHeights[static_cast<std::size_t>(k)] : 0;
}

LayoutCell PageLayout::Cell(int gridRow, int col) const {
    auto found = m_mergedCells.find(CellKey(gridRow, col));
    if (found != m_mergedCells.end()) {
        return found->second;
    }
    LayoutCell cell;
    cell.width =
        col >= 0 && col < ColumnCount() ? m_columnWidths[static_cast<std::size_t>(col)] : 0;
    cell.height = RowHeight(gridRow);
    return cell;
}

void PageLayout::ComputeMergedCells(const GridModel& grid) {
    m_mergedCells.clear();
    const int rows = HeaderRowCount() + DataRowCount();
    for (const CCellRange& block : grid.MergedBlocks()) {
        if (!block.IsValid() || block.GetMinRow() >= rows || block.GetMinCol() >= ColumnCount()) {
            continue;
        }
        const int maxRow = std::min(block.GetMaxRow(), rows - 1);
        const int maxCol = std::min(block.GetMaxCol(), ColumnCount() - 1);
        LayoutCell master;
        master.merged = true;
        master.masterRow = block.GetMinRow();
        master.masterCol = block.GetMinCol();
        for (int col = block.GetMinCol(); col <= maxCol; ++col) {
            master.width += m_columnWidths[static_cast<std::size_t>(col)];
        }
        for (int row = block.GetMinRow(); row <= maxRow; ++row) {
            master.height += RowHeight(row);
        }
        for (int row = block.GetMinRow(); row <= maxRow; ++row) {
            for (int col = block.GetMinCol(); col <= maxCol; ++col) {
                if (row == master.masterRow && col == master.masterCol) {
                    m_mergedCells[CellKey(row, col)] = master;
                    continue;
                }
                LayoutCell covered;
                covered.merged = true;
                covered.masterRow = master.masterRow;
                covered.masterCol = master.masterCol;
                covered.width = m_columnWidths[static_cast<std::size_t>(col)];
                covered.height = RowHeight(row);
                covered.draw = false;
                m_mergedCells[CellKey(row, col)] = covered;
            }
        }
    }
}

void PageLayout::Paginate(int bodyHeight) {
    // A row joins the current page while it fits below what the page holds; otherwise it opens
    // a page of its own after the header rows. A row too high for any page still gets one
    // (cut at the table bottom when drawn), and page 1 is never left without rows.
    const int headerHeight = TotalHeaderHeight();
    m_pages.assign(1, PageSpan{});
    int used = headerHeight;
    for (int k = 0; k < DataRowCount(); ++k) {
        const int height = m_dataHeights[static_cast<std::size_t>(k)];
        PageSpan& page = m_pages.back();
        const bool empty = page.last < page.first;
        if (empty || used + height < bodyHeight) {
            if (empty) {
                page.first = k;
            }
            page.last = k;
            used += height;
        } else {
            m_pages.push_back(PageSpan{k, k});
            used = headerHeight + height;
        }
    }
}

PageSpan PageLayout::Page(int page) const {
    if (page < 1 || page > PageCount()) {
        return PageSpan{};
    }
    return m_pages[static_cast<std::size_t>(page - 1)];
}

int PageLayout::DataRowTop(int dataRow, int page) const {
    const PageSpan span = Page(page);
    int top = PageGeometry::kTableTop + TotalHeaderHeight();
    for (int k = span.first; k < dataRow && k <= span.last; ++k) {
        top += m_dataHeights[static_cast<std::size_t>(k)];
    }
    return top;
}

DragTarget PageLayout::HitBorder(double x, double y, int page, double tolerance) const {
    const PageSpan span = Page(page);
    int tableRight = 0;
    for (int width : m_columnWidths) {
        tableRight += width;
    }
    const int tableBottom = DataRowTop(span.last + 1, page);
    auto near = [tolerance](double point, int border) {
        return std::fabs(point - border) <= tolerance;
    };
    const bool onTableRows =
        y >= PageGeometry::kTableTop - tolerance && y <= tableBottom + tolerance;
    const bool onTableColumns = x >= -tolerance && x <= tableRight + tolerance;
    if (onTableRows) {
        int border = 0;
        for (int col = 0; col < ColumnCount(); ++col) {
            border += m_columnWidths[static_cast<std::size_t>(col)];
            if (near(x, border)) {
                return {DragMode::kColumn, col};
            }
        }
    }
    if (!onTableColumns) {
        return {};
    }
    int border = PageGeometry::kTableTop;
    for (int row = 0; row < HeaderRowCount(); ++row) {
        border += m_headerHeights[static_cast<std::size_t>(row)];
        if (near(y, border)) {
            return {DragMode::kHeaderRow, row};
        }
    }
    for (int k = span.first; k <= span.last; ++k) {
        border += m_dataHeights[static_cast<std::size_t>(k)];
        if (near(y, border)) {
            return {DragMode::kDataRow, k};
        }
    }
    return {};
}

double PageLayout::BorderPosition(const DragTarget& target, int page) const {
    switch (target.mode) {
        case DragMode::kColumn: {
            int border = 0;
            for (int col = 0; col <= target.index && col < ColumnCount(); ++col) {
                border += m_columnWidths[static_cast<std::size_t>(col)];
            }
            return border;
        }
        case DragMode::kHeaderRow: {
            int border = PageGeometry::kTableTop;
            for (int row = 0; row <= target.index && row < HeaderRowCount(); ++row) {
                border += m_headerHeights[static_cast<std::size_t>(row)];
            }
            return border;
        }
        case DragMode::kDataRow:
            return DataRowTop(target.index, page) + RowHeight(target.index + HeaderRowCount());
        default:
            return 0;
    }
}

double PageLayout::ClampDragLine(const DragTarget& target, double pos, int page,
                                 int tableBottom) const {
    double low = 0;
    double high = 0;
    switch (target.mode) {
        case DragMode::kColumn: {
            const int col = target.index;
            int left = 0;
            for (int c = 0; c < col; ++c) {
                left += m_columnWidths[static_cast<std::size_t>(c)];
            }
            const int right = left + m_columnWidths[static_cast<std::size_t>(col)];
            low = left + kMinColumnDrag;
            high = col + 1 < ColumnCount()
                       ? right + m_columnWidths[static_cast<std::size_t>(col + 1)] - kMinColumnDrag
                       : m_contentWidth - kRightEdgeGap;
            break;
        }
        case DragMode::kHeaderRow:
        case DragMode::kDataRow: {
            const double bottom = BorderPosition(target, page);
            const int rowHeight = target.mode == DragMode::kHeaderRow
                                      ? RowHeight(target.index)
                                      : RowHeight(target.index + HeaderRowCount());
            low = bottom - rowHeight + kMinRowDrag;
            high = tableBottom;
            break;
        }
        default:
            return pos;
    }
    if (high < low) {
        return BorderPosition(target, page);  // no room to move at all
    }
    return std::clamp(pos, low, high);
}

bool PageLayout::ApplyDrag(const DragTarget& target, int delta) {
    switch (target.mode) {
        case DragMode::kColumn: {
            if (target.index < 0 || target.index >= ColumnCount()) {
                return false;
            }
            m_columnWidths[static_cast<std::size_t>(target.index)] += delta;
            if (target.index + 1 < ColumnCount()) {
                m_columnWidths[static_cast<std::size_t>(target.index + 1)] -= delta;
            }
            return true;
        }
        case DragMode::kHeaderRow:
        case DragMode::kDataRow: {
            std::vector<int>& heights =
                target.mode == DragMode::kHeaderRow ? m_headerHeights : m_dataHeights;
            if (target.index < 0 || target.index >= static_cast<int>(heights.size())) {
                return false;
            }
            int& height = heights[static_cast<std::size_t>(target.index)];
            if (height + delta <= 0) {
                return false;
            }
            height += delta;
            return true;
        }
        default:
            return false;
    }
}

void PreviewState::SetPageCount(int pages) {
    m_pageCount = std::max(1, pages);
    m_page = std::clamp(m_page, 1, m_pageCount);
}

bool PreviewState::ZoomIn() {
    if (!CanZoomIn()) {
        return false;
    }
    ++m_zoom;
    return true;
}

bool PreviewState::ZoomOut() {
    if (!CanZoomOut()) {
        return false;
    }
    --m_zoom;
    return true;
}

bool PreviewState::NextPage() {
    if (!CanNextPage()) {
        return false;
    }
    ++m_page;
    return true;
}

bool PreviewState::PreviousPage() {
    if (!CanPreviousPage()) {
        return false;
    }
    --m_page;
    return true;
}

}  // namespace quarrant
