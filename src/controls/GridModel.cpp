#include "controls/GridModel.h"

#include <algorithm>
#include <utility>

#include "base/Assert.h"

namespace quarrant {
namespace {

int DefaultIndex(bool fixedRow, bool fixedCol) {
    return (fixedRow ? 1 : 0) + (fixedCol ? 2 : 0);
}

// Lines of a heading: its row is as high as its text.
int LineCount(std::string_view text) {
    return 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

}  // namespace

GridModel::GridModel(int rows, int cols, int fixedRows, int fixedCols, const GridMetrics& metrics)
    : m_metrics(metrics) {
    const GridColor windowText = GridRgb(0, 0, 0);
    const GridColor window = GridRgb(255, 255, 255);
    const GridColor buttonFace = GridRgb(240, 240, 240);
    for (int i = 0; i < 4; ++i) {
        CGridCell& cell = m_defaultCells[i];
        cell.SetGrid(this);
        cell.SetFormat(kDefaultCellFormat);
        cell.SetMargin(m_metrics.margin);
        cell.SetTextClr(windowText);
        cell.SetBackClr(i == 0 ? window : buttonFace);
        GridFont font;
        cell.SetFont(&font);
    }
    SetRowCount(std::max(rows, 0));
    SetColumnCount(std::max(cols, 0));
    SetFixedRowCount(std::max(fixedRows, 0));
    SetFixedColumnCount(std::max(fixedCols, 0));
}

GridModel::~GridModel() = default;

std::unique_ptr<GridModel> GridModel::CloneSettings() const {
    auto clone = std::make_unique<GridModel>(0, 0, 0, 0, m_metrics);
    for (int i = 0; i < 4; ++i) {
        clone->m_defaultCells[i].CopyFrom(m_defaultCells[i]);
    }
    clone->m_gridBkColor = m_gridBkColor;
    clone->m_gridLineColor = m_gridLineColor;
    clone->m_buttonShadowColor = m_buttonShadowColor;
    clone->m_switches = m_switches;
    clone->m_printMargins = m_printMargins;
    clone->m_shadedPrintOut = m_shadedPrintOut;
    clone->m_cellFactory = m_cellFactory;
    return clone;
}

void GridModel::SetMetrics(const GridMetrics& metrics) {
    m_metrics = metrics;
    for (CGridCell& cell : m_defaultCells) {
        cell.SetMargin(metrics.margin);
    }
}

CGridCell* GridModel::GetDefaultCell(bool fixedRow, bool fixedCol) {
    return &m_defaultCells[DefaultIndex(fixedRow, fixedCol)];
}

const CGridCell* GridModel::GetDefaultCell(bool fixedRow, bool fixedCol) const {
    return &m_defaultCells[DefaultIndex(fixedRow, fixedCol)];
}

void GridModel::SetSystemColors(GridColor windowText, GridColor window, GridColor buttonFace,
                                GridColor buttonShadow) {
    for (int i = 0; i < 4; ++i) {
        m_defaultCells[i].SetTextClr(windowText);
        m_defaultCells[i].SetBackClr(i == 0 ? window : buttonFace);
    }
    if (m_gridBkColor == m_buttonShadowColor) {
        m_gridBkColor = buttonShadow;
    }
    m_buttonShadowColor = buttonShadow;
}

// ---- sizes

std::unique_ptr<CGridCellBase> GridModel::NewCell(int row, int col) {
    std::unique_ptr<CGridCellBase> cell =
        m_cellFactory ? m_cellFactory() : std::make_unique<CGridCell>();
    cell->SetGrid(this);
    cell->SetCoords(row, col);
    if (IsCellFixed(row, col)) {
        cell->SetState(cell->GetState() | kCellFixed);
    }
    return cell;
}

bool GridModel::SetRowCount(int rows) {
    if (rows < 0) {
        return false;
    }
    const int oldRows = GetRowCount();
    if (rows == oldRows) {
        return true;
    }
    if (rows < oldRows) {
        DropBlocksBeyond(rows, m_columnCount);
        DropSelectionBeyond(rows, m_columnCount);
        if (m_focusCell.row >= rows) {
            m_focusCell = CCellID();
        }
        m_rows.resize(static_cast<std::size_t>(rows));
        m_rowHeights.resize(static_cast<std::size_t>(rows));
        m_fixedRows = std::min(m_fixedRows, rows);
        InvalidateRowTops(rows);
        return true;
    }
    m_rows.reserve(static_cast<std::size_t>(rows));
    m_rowHeights.resize(static_cast<std::size_t>(rows), m_metrics.rowHeight);
    for (int row = oldRows; row < rows; ++row) {
        Row cells;
        cells.reserve(static_cast<std::size_t>(m_columnCount));
        for (int col = 0; col < m_columnCount; ++col) {
            cells.push_back(NewCell(row, col));
        }
        m_rows.push_back(std::move(cells));
    }
    InvalidateRowTops(oldRows);
    return true;
}

bool GridModel::SetColumnCount(int cols) {
    if (cols < 0) {
        return false;
    }
    const int oldCols = m_columnCount;
    if (cols == oldCols) {
        return true;
    }
    if (cols < oldCols) {
        DropBlocksBeyond(GetRowCount(), cols);
        DropSelectionBeyond(GetRowCount(), cols);
        if (m_focusCell.col >= cols) {
            m_focusCell = CCellID();
        }
        for (Row& cells : m_rows) {
            cells.resize(static_cast<std::size_t>(cols));
        }
        m_columnWidths.resize(static_cast<std::size_t>(cols));
        m_columnCount = cols;
        m_fixedCols = std::min(m_fixedCols, cols);
        InvalidateColumnLefts(cols);
        return true;
    }
    m_columnWidths.resize(static_cast<std::size_t>(cols), m_metrics.columnWidth);
    m_columnCount = cols;
    for (int row = 0; row < GetRowCount(); ++row) {
        Row& cells = m_rows[static_cast<std::size_t>(row)];
        cells.reserve(static_cast<std::size_t>(cols));
        for (int col = oldCols; col < cols; ++col) {
            cells.push_back(NewCell(row, col));
        }
    }
    InvalidateColumnLefts(oldCols);
    return true;
}

void GridModel::UpdateFixedStates(int firstRow, int lastRow, int firstCol, int lastCol) {
    for (int row = std::max(firstRow, 0); row <= lastRow && row < GetRowCount(); ++row) {
        for (int col = std::max(firstCol, 0); col <= lastCol && col < m_columnCount; ++col) {
            CGridCellBase* cell = GetCell(row, col);
            QUARRANT_ASSERT(cell != nullptr);
            unsigned state = cell->GetState() & ~kCellFixed;
            cell->SetState(IsCellFixed(row, col) ? state | kCellFixed : state);
        }
    }
}

bool GridModel::SetFixedRowCount(int fixedRows) {
    if (fixedRows < 0) {
        return false;
    }
    if (fixedRows > GetRowCount()) {
        SetRowCount(fixedRows);
    }
    const int oldFixed = m_fixedRows;
    m_fixedRows = fixedRows;
    QUARRANT_ASSERT(m_fixedRows <= GetRowCount());
    UpdateFixedStates(std::min(oldFixed, fixedRows), std::max(oldFixed, fixedRows) - 1, 0,
                      m_columnCount - 1);
    return true;
}

bool GridModel::SetFixedColumnCount(int fixedCols) {
    if (fixedCols < 0) {
        return false;
    }
    if (fixedCols > m_columnCount) {
        SetColumnCount(fixedCols);
    }
    const int oldFixed = m_fixedCols;
    m_fixedCols = fixedCols;
    QUARRANT_ASSERT(m_fixedCols <= m_columnCount);
    UpdateFixedStates(0, GetRowCount() - 1, std::min(oldFixed, fixedCols),
                      std::max(oldFixed, fixedCols) - 1);
    return true;
}

int GridModel::InsertRow(std::string_view heading, int position) {
    const int rows = GetRowCount();
    if (position != -1 && (position < m_fixedRows || position >= rows)) {
        return -1;
    }
    ResetSelectedRange();
    SetFocusCell(CCellID());
    if (m_columnCount < 1) {
        SetColumnCount(1);
    }
    const int index = position == -1 ? rows : position;
    std::vector<CCellRange> moved;
    if (index < rows) {
        moved = DetachBlocksForRows(index, +1);
    }
    Row cells;
    cells.reserve(static_cast<std::size_t>(m_columnCount));
    for (int col = 0; col < m_columnCount; ++col) {
        cells.push_back(NewCell(index, col));
    }
    const int height =
        heading.empty() ? m_metrics.rowHeight : LineCount(heading) * m_metrics.textHeight;
    m_rows.insert(m_rows.begin() + index, std::move(cells));
    m_rowHeights.insert(m_rowHeights.begin() + index, height);
    InvalidateRowTops(index);
    ReattachBlocks(moved);
    m_rows[static_cast<std::size_t>(index)][0]->SetText(heading);
    return index;
}

int GridModel::InsertColumn(std::string_view heading, unsigned format, int position) {
    const int cols = m_columnCount;
    if (position != -1 && (position < m_fixedCols || position >= cols)) {
        return -1;
    }
    ResetSelectedRange();
    SetFocusCell(CCellID());
    if (GetRowCount() < 1) {
        SetRowCount(1);
    }
    const int index = position == -1 ? cols : position;
    std::vector<CCellRange> moved;
    if (index < cols) {
        moved = DetachBlocksForColumns(index, +1);
    }
    for (int row = 0; row < GetRowCount(); ++row) {
        Row& cells = m_rows[static_cast<std::size_t>(row)];
        cells.insert(cells.begin() + index, NewCell(row, index));
        cells[static_cast<std::size_t>(index)]->SetFormat(format);
    }
    m_columnWidths.insert(m_columnWidths.begin() + index, m_metrics.columnWidth);
    ++m_columnCount;
    InvalidateColumnLefts(index);
    ReattachBlocks(moved);
    m_rows[0][static_cast<std::size_t>(index)]->SetText(heading);
    return index;
}

bool GridModel::DeleteRow(int row) {
    if (row < 0 || row >= GetRowCount()) {
        return false;
    }
    ResetSelectedRange();
    std::vector<CCellRange> moved = DetachBlocksForRows(row, -1);
    if (m_focusCell.row == row) {
        m_focusCell = CCellID();
    } else if (m_focusCell.row > row) {
        --m_focusCell.row;
    }
    m_rows.erase(m_rows.begin() + row);
    m_rowHeights.erase(m_rowHeights.begin() + row);
    if (row < m_fixedRows) {
        --m_fixedRows;
    }
    InvalidateRowTops(row);
    ReattachBlocks(moved);
    return true;
}

bool GridModel::DeleteColumn(int col) {
    if (col < 0 || col >= m_columnCount) {
        return false;
    }
    ResetSelectedRange();
    std::vector<CCellRange> moved = DetachBlocksForColumns(col, -1);
    if (m_focusCell.col == col) {
        m_focusCell = CCellID();
    } else if (m_focusCell.col > col) {
        --m_focusCell.col;
    }
    for (Row& cells : m_rows) {
        cells.erase(cells.begin() + col);
    }
    m_columnWidths.erase(m_columnWidths.begin() + col);
    --m_columnCount;
    if (col < m_fixedCols) {
        --m_fixedCols;
    }
    InvalidateColumnLefts(col);
    ReattachBlocks(moved);
    return true;
}

void GridModel::DeleteAllItems() {
    m_selectedCells.RemoveAll();
    m_previousSelection.RemoveAll();
    m_selectedRange = CCellRange();
    m_focusCell = CCellID();
    m_mergedBlocks.clear();
    m_rows.clear();
    m_rowHeights.clear();
    m_columnWidths.clear();
    m_columnCount = 0;
    m_fixedRows = 0;
    m_fixedCols = 0;
    m_rowData.RemoveAll();
    InvalidateRowTops(0);
    InvalidateColumnLefts(0);
}

void GridModel::DeleteNonFixedRows() {
    ResetSelectedRange();
    SetFocusCell(CCellID());
    SetRowCount(m_fixedRows);
}

bool GridModel::IsValid(const CCellRange& range) const {
    return range.IsValid() && range.GetMaxRow() < GetRowCount() &&
           range.GetMaxCol() < m_columnCount;
}

// ---- cells

CGridCellBase* GridModel::GetCell(int row, int col) const {
    if (!IsValid(row, col)) {
        return nullptr;
    }
    const Row& cells = m_rows[static_cast<std::size_t>(row)];
    // Every row holds a cell per column.
    QUARRANT_ASSERT(cells.size() == static_cast<std::size_t>(m_columnCount));
    return cells[static_cast<std::size_t>(col)].get();
}

bool GridModel::SetItemText(int row, int col, std::string_view text) {
    CGridCellBase* cell = GetCell(row, col);
    if (cell == nullptr) {
        return false;
    }
    cell->SetText(text);
    return true;
}

std::string GridModel::GetItemText(int row, int col) const {
    const CGridCellBase* cell = GetCell(row, col);
    return cell != nullptr ? cell->GetText() : std::string();
}

bool GridModel::SetItemState(int row, int col, unsigned state) {
    CGridCellBase* cell = GetCell(row, col);
    if (cell == nullptr) {
        return false;
    }
    cell->SetState(state);
    if ((state & kCellSelected) != 0) {
        m_selectedCells[SelectionKey(row, col)] = CCellID(row, col);
    } else {
        m_selectedCells.RemoveKey(SelectionKey(row, col));
    }
    return true;
}

unsigned GridModel::GetItemState(int row, int col) const {
    const CGridCellBase* cell = GetCell(row, col);
    return cell != nullptr ? cell->GetState() : 0;
}

bool GridModel::SetItemData(int row, int col, std::intptr_t data) {
    CGridCellBase* cell = GetCell(row, col);
    if (cell == nullptr) {
        return false;
    }
    cell->SetData(data);
    return true;
}

std::intptr_t GridModel::GetItemData(int row, int col) const {
    const CGridCellBase* cell = GetCell(row, col);
    return cell != nullptr ? cell->GetData() : 0;
}

bool GridModel::SetItemImage(int row, int col, int image) {
    CGridCellBase* cell = GetCell(row, col);
    if (cell == nullptr) {
        return false;
    }
    cell->SetImage(image);
    return true;
}

int GridModel::GetItemImage(int row, int col) const {
    const CGridCellBase* cell = GetCell(row, col);
    return cell != nullptr ? cell->GetImage() : -1;
}

bool GridModel::SetItemFormat(int row, int col, unsigned format) {
    CGridCellBase* cell = GetCell(row, col);
    if (cell == nullptr) {
        return false;
    }
    cell->SetFormat(format);
    return true;
}

unsigned GridModel::GetItemFormat(int row, int col) const {
    const CGridCellBase* cell = GetCell(row, col);
    return cell != nullptr ? cell->GetFormat() : kDefaultCellFormat;
}

bool GridModel::SetItemFgColour(int row, int col, GridColor color) {
    CGridCellBase* cell = GetCell(row, col);
    if (cell == nullptr) {
        return false;
    }
    cell->SetTextClr(color);
    return true;
}

GridColor GridModel::GetItemFgColour(int row, int col) const {
    const CGridCellBase* cell = GetCell(row, col);
    return cell != nullptr ? cell->GetTextClr() : kClrDefault;
}

bool GridModel::SetItemBkColour(int row, int col, GridColor color) {
    CGridCellBase* cell = GetCell(row, col);
    if (cell == nullptr) {
        return false;
    }
    cell->SetBackClr(color);
    return true;
}

GridColor GridModel::GetItemBkColour(int row, int col) const {
    const CGridCellBase* cell = GetCell(row, col);
    return cell != nullptr ? cell->GetBackClr() : kClrDefault;
}

bool GridModel::SetItemFont(int row, int col, const GridFont& font) {
    CGridCellBase* cell = GetCell(row, col);
    if (cell == nullptr) {
        return false;
    }
    cell->SetFont(&font);
    return true;
}

const GridFont& GridModel::GetItemFont(int row, int col) const {
    const CGridCellBase* cell = GetCell(row, col);
    if (cell != nullptr && cell->GetFont() != nullptr) {
        return *cell->GetFont();
    }
    const bool fixedRow = row >= 0 && row < m_fixedRows;
    const bool fixedCol = col >= 0 && col < m_fixedCols;
    return *GetDefaultCell(fixedRow, fixedCol)->GetFont();
}

bool GridModel::SetModified(bool modified, int row, int col) {
    CGridCellBase* cell = GetCell(row, col);
    if (cell == nullptr) {
        return false;
    }
    const unsigned state = cell->GetState();
    cell->SetState(modified ? state | kCellModified : state & ~kCellModified);
    return true;
}

bool GridModel::GetModified(int row, int col) const {
    const CGridCellBase* cell = GetCell(row, col);
    return cell != nullptr && cell->IsModified();
}

bool GridModel::IsCellEditable(int row, int col) const {
    const CGridCellBase* cell = GetCell(row, col);
    return m_switches.editable && cell != nullptr && !cell->IsReadOnly();
}

// ---- row heights and column widths

bool GridModel::SetRowHeight(int row, int height) {
    if (row < 0 || row >= GetRowCount() || height < 0) {
        return false;
    }
    m_rowHeights[static_cast<std::size_t>(row)] = height;
    InvalidateRowTops(row);
    return true;
}

int GridModel::GetRowHeight(int row) const {
    if (row < 0 || row >= GetRowCount()) {
        return -1;
    }
    return m_rowHeights[static_cast<std::size_t>(row)];
}

bool GridModel::SetColumnWidth(int col, int width) {
    if (col < 0 || col >= m_columnCount || width < 0) {
        return false;
    }
    m_columnWidths[static_cast<std::size_t>(col)] = width;
    InvalidateColumnLefts(col);
    return true;
}

int GridModel::GetColumnWidth(int col) const {
    if (col < 0 || col >= m_columnCount) {
        return -1;
    }
    return m_columnWidths[static_cast<std::size_t>(col)];
}

void GridModel::InvalidateRowTops(int fromRow) {
    // Entry k is the top of row k: it depends on the rows before it.
    m_rowTopsValid = std::min(m_rowTopsValid, static_cast<std::size_t>(std::max(fromRow, 0)) + 1);
}

void GridModel::InvalidateColumnLefts(int fromCol) {
    m_columnLeftsValid =
        std::min(m_columnLeftsValid, static_cast<std::size_t>(std::max(fromCol, 0)) + 1);
}

void GridModel::UpdateRowTops() const {
    QUARRANT_ASSERT(m_rowHeights.size() == m_rows.size());
    const std::size_t needed = m_rowHeights.size() + 1;
    if (m_rowTopsValid >= needed && m_rowTops.size() == needed) {
        return;
    }
    std::size_t from = std::min(m_rowTopsValid, needed);
    m_rowTops.resize(needed);
    m_rowTops[0] = 0;
    for (std::size_t k = std::max<std::size_t>(from, 1); k < needed; ++k) {
        m_rowTops[k] = m_rowTops[k - 1] + m_rowHeights[k - 1];
    }
    m_rowTopsValid = needed;
}

void GridModel::UpdateColumnLefts() const {
    QUARRANT_ASSERT(m_columnWidths.size() == static_cast<std::size_t>(m_columnCount));
    const std::size_t needed = m_columnWidths.size() + 1;
    if (m_columnLeftsValid >= needed && m_columnLefts.size() == needed) {
        return;
    }
    std::size_t from = std::min(m_columnLeftsValid, needed);
    m_columnLefts.resize(needed);
    m_columnLefts[0] = 0;
    for (std::size_t k = std::max<std::size_t>(from, 1); k < needed; ++k) {
        m_columnLefts[k] = m_columnLefts[k - 1] + m_columnWidths[k - 1];
    }
    m_columnLeftsValid = needed;
}

long long GridModel::RowTop(int row) const {
    UpdateRowTops();
    row = std::clamp(row, 0, GetRowCount());
    return m_rowTops[static_cast<std::size_t>(row)];
}

long long GridModel::ColumnLeft(int col) const {
    UpdateColumnLefts();
    col = std::clamp(col, 0, m_columnCount);
    return m_columnLefts[static_cast<std::size_t>(col)];
}

int GridModel::RowAtOffset(long long y) const {
    if (y < 0) {
        return -1;
    }
    UpdateRowTops();
    auto after = std::upper_bound(m_rowTops.begin(), m_rowTops.end(), y);
    const int row = static_cast<int>(after - m_rowTops.begin()) - 1;
    return row < GetRowCount() ? row : -1;
}

int GridModel::ColumnAtOffset(long long x) const {
    if (x < 0) {
        return -1;
    }
    UpdateColumnLefts();
    auto after = std::upper_bound(m_columnLefts.begin(), m_columnLefts.end(), x);
    const int col = static_cast<int>(after - m_columnLefts.begin()) - 1;
    return col < m_columnCount ? col : -1;
}

// ---- row data

bool GridModel::SetRowData(int row, std::intptr_t data) {
    // Keyed by index alone, so a caller may store the word before it appends the row.
    if (row < 0) {
        return false;
    }
    m_rowData[row] = data;
    return true;
}

std::intptr_t GridModel::GetRowData(int row) const {
    const std::intptr_t* data = m_rowData.Lookup(row);
    return data != nullptr ? *data : 0;
}

// ---- focus cell and selection

void GridModel::SetFocusCell(CCellID cell) {
    if (CGridCellBase* old = GetCell(m_focusCell.row, m_focusCell.col)) {
        old->SetState(old->GetState() & ~kCellFocused);
    }
    m_focusCell = IsValid(cell) ? cell : CCellID();
    if (CGridCellBase* now = GetCell(m_focusCell.row, m_focusCell.col)) {
        now->SetState(now->GetState() | kCellFocused);
    }
}

bool GridModel::IsCellSelected(int row, int col) const {
    const CGridCellBase* cell = GetCell(row, col);
    return cell != nullptr && cell->IsSelected();
}

void GridModel::ResetSelectedRange() {
    for (auto entry : m_selectedCells) {
        if (CGridCellBase* cell = GetCell(entry.value.row, entry.value.col)) {
            cell->SetState(cell->GetState() & ~kCellSelected);
        }
    }
    m_selectedCells.RemoveAll();
    m_selectedRange = CCellRange();
}

void GridModel::RememberSelection() {
    m_previousSelection = m_selectedCells;
}

void GridModel::SetSelectedRange(const CCellRange& range, bool keepPrevious) {
    ResetSelectedRange();
    if (keepPrevious) {
        for (auto entry : m_previousSelection) {
            QUARRANT_ASSERT(entry.key == SelectionKey(entry.value.row, entry.value.col));
            if (CGridCellBase* cell = GetCell(entry.value.row, entry.value.col)) {
                cell->SetState(cell->GetState() | kCellSelected);
                m_selectedCells[entry.key] = entry.value;
            }
        }
    }
    const CCellRange clipped =
        range.Intersect(CCellRange(0, 0, GetRowCount() - 1, m_columnCount - 1));
    if (clipped.IsValid()) {
        for (int row = clipped.GetMinRow(); row <= clipped.GetMaxRow(); ++row) {
            for (int col = clipped.GetMinCol(); col <= clipped.GetMaxCol(); ++col) {
                CGridCellBase* cell = GetCell(row, col);
                cell->SetState(cell->GetState() | kCellSelected);
                m_selectedCells[SelectionKey(row, col)] = CCellID(row, col);
            }
        }
    }
    m_selectedRange = clipped;
}

CCellRange GridModel::GetSelectedCellRange() const {
    CCellRange result;
    for (auto entry : m_selectedCells) {
        const CCellID& cell = entry.value;
        result = result.Union(CCellRange(cell.row, cell.col, cell.row, cell.col));
    }
    return result;
}

CCellRange GridModel::GetNonFixedRange() const {
    CCellRange range(m_fixedRows, m_fixedCols, GetRowCount() - 1, m_columnCount - 1);
    return range.IsValid() ? range : CCellRange();
}

void GridModel::SelectAllCells() {
    SetSelectedRange(GetNonFixedRange());
}

CCellRange GridModel::ExpandToMergedBlocks(const CCellRange& range) const {
    CCellRange result = range;
    bool grown = result.IsValid();
    while (grown) {
        grown = false;
        for (const CCellRange& block : m_mergedBlocks) {
            if (result.Intersect(block).IsValid() && !result.Contains(block)) {
                result = result.Union(block);
                grown = true;
            }
        }
    }
    return result;
}

void GridModel::DropSelectionBeyond(int rows, int cols) {
    std::vector<std::int64_t> gone;
    for (auto entry : m_selectedCells) {
        if (entry.value.row >= rows || entry.value.col >= cols) {
            gone.push_back(entry.key);
        }
    }
    for (std::int64_t key : gone) {
        m_selectedCells.RemoveKey(key);
    }
    m_previousSelection.RemoveAll();
}

// ---- merged cells

void GridModel::WriteBlock(const CCellRange& block) {
    QUARRANT_ASSERT(IsValid(block));
    const CCellID master = block.GetTopLeft();
    for (int row = block.GetMinRow(); row <= block.GetMaxRow(); ++row) {
        for (int col = block.GetMinCol(); col <= block.GetMaxCol(); ++col) {
            CGridCellBase* cell = GetCell(row, col);
            if (row == master.row && col == master.col) {
                cell->SetMergeRange(block);
                cell->SetMergeCellID(CCellID());
            } else {
                cell->SetMergeRange(CCellRange());
                cell->SetMergeCellID(master);
            }
        }
    }
}

void GridModel::ClearBlock(const CCellRange& block) {
    const CCellRange clipped =
        block.Intersect(CCellRange(0, 0, GetRowCount() - 1, m_columnCount - 1));
    if (!clipped.IsValid()) {
        return;
    }
    for (int row = clipped.GetMinRow(); row <= clipped.GetMaxRow(); ++row) {
        for (int col = clipped.GetMinCol(); col <= clipped.GetMaxCol(); ++col) {
            CGridCellBase* cell = GetCell(row, col);
            cell->SetMergeRange(CCellRange());
            cell->SetMergeCellID(CCellID());
        }
    }
}

void GridModel::RemoveBlocksIntersecting(const CCellRange& range) {
    std::vector<CCellRange> kept;
    for (const CCellRange& block : m_mergedBlocks) {
        if (block.Intersect(range).IsValid()) {
            ClearBlock(block);
        } else {
            kept.push_back(block);
        }
    }
    m_mergedBlocks = std::move(kept);
}

bool GridModel::MergeCells(int minRow, int minCol, int maxRow, int maxCol) {
    const CCellRange range(minRow, minCol, maxRow, maxCol);
    if (!IsValid(range)) {
        return false;
    }
    // Blocks that overlap the new one are taken apart first: a cell belongs to one block.
    UnMergeCells(minRow, minCol, maxRow, maxCol);
    if (range.Count() > 1) {
        WriteBlock(range);
        m_mergedBlocks.push_back(range);
    }
    return true;
}

bool GridModel::UnMergeCells(int minRow, int minCol, int maxRow, int maxCol) {
    const CCellRange range(minRow, minCol, maxRow, maxCol);
    if (!IsValid(range)) {
        return false;
    }
    std::vector<CCellRange> met;
    for (int row = minRow; row <= maxRow; ++row) {
        for (int col = minCol; col <= maxCol; ++col) {
            const CGridCellBase* cell = GetCell(row, col);
            if (cell->IsMergeWithOthers()) {
                const CCellID master = cell->GetMergeCellID();
                if (const CGridCellBase* masterCell = GetCell(master.row, master.col)) {
                    met.push_back(masterCell->GetMergeRange());
                }
            } else if (cell->GetMergeRange().IsValid()) {
                met.push_back(cell->GetMergeRange());
            }
        }
    }
    for (const CCellRange& block : met) {
        ClearBlock(block);
    }
    ClearBlock(range);
    RemoveBlocksIntersecting(range);
    for (const CCellRange& block : met) {
        RemoveBlocksIntersecting(block);
    }
    return true;
}

bool GridModel::MergeSelectedCells() {
    const CCellRange range = GetSelectedCellRange();
    if (!range.IsValid() || (range.GetRowSpan() <= 1 && range.GetColSpan() <= 1)) {
        return false;
    }
    return MergeCells(range.GetMinRow(), range.GetMinCol(), range.GetMaxRow(), range.GetMaxCol());
}

bool GridModel::UnMergeSelectedCells() {
    const CCellRange range = GetSelectedCellRange();
    if (!range.IsValid()) {
        return false;
    }
    return UnMergeCells(range.GetMinRow(), range.GetMinCol(), range.GetMaxRow(), range.GetMaxCol());
}

bool GridModel::GetMergeCell(int& masterRow, int& masterCol, int row, int col) const {
    const CGridCellBase* cell = GetCell(row, col);
    if (cell == nullptr || !cell->IsMergeWithOthers()) {
        return false;
    }
    const CCellID master = cell->GetMergeCellID();
    masterRow = master.row;
    masterCol = master.col;
    return true;
}

CCellID GridModel::GetMergeCellID(CCellID cell) const {
    const CGridCellBase* object = GetCell(cell.row, cell.col);
    if (object != nullptr && object->IsMergeWithOthers() && IsValid(object->GetMergeCellID())) {
        return object->GetMergeCellID();
    }
    return cell;
}

int GridModel::GetMergeCellWidth(CCellID cell) const {
    if (!IsValid(cell)) {
        return -1;
    }
    const CCellID master = GetMergeCellID(cell);
    const CGridCellBase* object = GetCell(master.row, master.col);
    if (object->IsMerged() && IsValid(object->GetMergeRange())) {
        const CCellRange range = object->GetMergeRange();
        return static_cast<int>(ColumnLeft(range.GetMaxCol() + 1) - ColumnLeft(range.GetMinCol()));
    }
    return GetColumnWidth(master.col);
}

int GridModel::GetMergeCellHeight(CCellID cell) const {
    if (!IsValid(cell)) {
        return -1;
    }
    const CCellID master = GetMergeCellID(cell);
    const CGridCellBase* object = GetCell(master.row, master.col);
    if (object->IsMerged() && IsValid(object->GetMergeRange())) {
        const CCellRange range = object->GetMergeRange();
        return static_cast<int>(RowTop(range.GetMaxRow() + 1) - RowTop(range.GetMinRow()));
    }
    return GetRowHeight(master.row);
}

std::vector<CCellRange> GridModel::DetachBlocksForRows(int first, int delta) {
    std::vector<CCellRange> moved;
    std::vector<CCellRange> kept;
    for (const CCellRange& block : m_mergedBlocks) {
        const bool cut = delta > 0 ? block.GetMinRow() < first && first <= block.GetMaxRow()
                                   : block.GetMinRow() <= first && first <= block.GetMaxRow();
        const bool after = delta > 0 ? block.GetMinRow() >= first : block.GetMinRow() > first;
        if (cut || after) {
            ClearBlock(block);
        }
        if (after) {
            moved.emplace_back(block.GetMinRow() + delta, block.GetMinCol(),
                               block.GetMaxRow() + delta, block.GetMaxCol());
        } else if (!cut) {
            kept.push_back(block);
        }
    }
    m_mergedBlocks = std::move(kept);
    return moved;
}

std::vector<CCellRange> GridModel::DetachBlocksForColumns(int first, int delta) {
    std::vector<CCellRange> moved;
    std::vector<CCellRange> kept;
    for (const CCellRange& block : m_mergedBlocks) {
        const bool cut = delta > 0 ? block.GetMinCol() < first && first <= block.GetMaxCol()
                                   : block.GetMinCol() <= first && first <= block.GetMaxCol();
        const bool after = delta > 0 ? block.GetMinCol() >= first : block.GetMinCol() > first;
        if (cut || after) {
            ClearBlock(block);
        }
        if (after) {
            moved.emplace_back(block.GetMinRow(), block.GetMinCol() + delta, block.GetMaxRow(),
                               block.GetMaxCol() + delta);
        } else if (!cut) {
            kept.push_back(block);
        }
    }
    m_mergedBlocks = std::move(kept);
    return moved;
}

void GridModel::ReattachBlocks(const std::vector<CCellRange>& blocks) {
    for (const CCellRange& block : blocks) {
        if (IsValid(block)) {
            WriteBlock(block);
            m_mergedBlocks.push_back(block);
        }
    }
}

void GridModel::DropBlocksBeyond(int rows, int cols) {
    std::vector<CCellRange> kept;
    for (const CCellRange& block : m_mergedBlocks) {
        if (block.GetMaxRow() >= rows || block.GetMaxCol() >= cols) {
            ClearBlock(block);
        } else {
            kept.push_back(block);
        }
    }
    m_mergedBlocks = std::move(kept);
}

// ---- geometry

bool GridModel::GetCellOriginNoMerge(int row, int col, int scrollX, int scrollY, int& x,
                                     int& y) const {
    if (!IsValid(row, col)) {
        return false;
    }
    x = static_cast<int>(ColumnLeft(col) - (col >= m_fixedCols ? scrollX : 0));
    y = static_cast<int>(RowTop(row) - (row >= m_fixedRows ? scrollY : 0));
    return true;
}

bool GridModel::GetCellRect(int row, int col, int scrollX, int scrollY, GridRect& rect) const {
    int x = 0;
    int y = 0;
    if (!GetCellOriginNoMerge(row, col, scrollX, scrollY, x, y)) {
        return false;
    }
    int width = GetColumnWidth(col);
    int height = GetRowHeight(row);
    const CGridCellBase* cell = GetCell(row, col);
    if (cell->IsMerged() && IsValid(cell->GetMergeRange())) {
        width = GetMergeCellWidth(CCellID(row, col));
        height = GetMergeCellHeight(CCellID(row, col));
    }
    rect = GridRect{x, y, x + width - 1, y + height - 1};
    return true;
}

CCellID GridModel::GetCellFromPointNoMerge(int x, int y, int scrollX, int scrollY) const {
    if (x < 0 || y < 0) {
        return CCellID();
    }
    const int fixedWidth = GetFixedColumnWidth();
    const int fixedHeight = GetFixedRowHeight();
    const int col = ColumnAtOffset(x < fixedWidth ? x : static_cast<long long>(x) + scrollX);
    const int row = RowAtOffset(y < fixedHeight ? y : static_cast<long long>(y) + scrollY);
    if (row < 0 || col < 0) {
        return CCellID();
    }
    return CCellID(row, col);
}

CCellID GridModel::GetCellFromPoint(int x, int y, int scrollX, int scrollY) const {
    return GetMergeCellID(GetCellFromPointNoMerge(x, y, scrollX, scrollY));
}

CCellRange GridModel::GetVisibleNonFixedCellRange(int scrollX, int scrollY, int width,
                                                  int height) const {
    const long long top = GetFixedRowHeight() + static_cast<long long>(scrollY);
    const long long left = GetFixedColumnWidth() + static_cast<long long>(scrollX);
    const int firstRow = RowAtOffset(top);
    const int firstCol = ColumnAtOffset(left);
    if (firstRow < m_fixedRows || firstCol < m_fixedCols || width <= 0 || height <= 0) {
        return CCellRange();
    }
    int lastRow = RowAtOffset(static_cast<long long>(scrollY) + height - 1);
    int lastCol = ColumnAtOffset(static_cast<long long>(scrollX) + width - 1);
    if (lastRow < 0) {
        lastRow = GetRowCount() - 1;
    }
    if (lastCol < 0) {
        lastCol = m_columnCount - 1;
    }
    CCellRange range(firstRow, firstCol, lastRow, lastCol);
    return range.IsValid() ? range : CCellRange();
}

// ---- print settings

void GridModel::SetPrintMarginInfo(int headerHeight, int footerHeight, int leftMargin,
                                   int rightMargin, int topMargin, int bottomMargin, int gap) {
    auto keep = [](int& target, int value) {
        if (value >= 0) {
            target = value;
        }
    };
    keep(m_printMargins.headerHeight, headerHeight);
    keep(m_printMargins.footerHeight, footerHeight);
    keep(m_printMargins.leftMargin, leftMargin);
    keep(m_printMargins.rightMargin, rightMargin);
    keep(m_printMargins.topMargin, topMargin);
    keep(m_printMargins.bottomMargin, bottomMargin);
    keep(m_printMargins.gap, gap);
}

void GridModel::GetPrintMarginInfo(int& headerHeight, int& footerHeight, int& leftMargin,
                                   int& rightMargin, int& topMargin, int& bottomMargin,
                                   int& gap) const {
    headerHeight = m_printMargins.headerHeight;
    footerHeight = m_printMargins.footerHeight;
    leftMargin = m_printMargins.leftMargin;
    rightMargin = m_printMargins.rightMargin;
    topMargin = m_printMargins.topMargin;
    bottomMargin = m_printMargins.bottomMargin;
    gap = m_printMargins.gap;
}

}  // namespace quarrant
