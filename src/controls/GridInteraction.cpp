#include "controls/GridInteraction.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "controls/GridModel.h"
#include "controls/GridNotify.h"

namespace quarrant {
namespace {

// Within this distance of a border, a press in a fixed row or column resizes.
constexpr int kResizeCaptureRange = 3;

bool IsEditNavigationKey(GridKey key) {
    return key == GridKey::Tab || key == GridKey::Backtab || key == GridKey::Up ||
           key == GridKey::Down || key == GridKey::Left || key == GridKey::Right ||
           key == GridKey::PageUp || key == GridKey::PageDown;
}

GridEditStart ByKey(GridKey key) {
    return GridEditStart{GridEditStart::Way::Key, key};
}

}  // namespace

void GridInteraction::SetModel(GridModel& model) {
    m_model = &model;
    m_mouseMode = MouseMode::Nothing;
    m_selectionStart = CCellID();
}

// ---- geometry

CCellID GridInteraction::CellAt(GridPoint point) const {
    const GridViewport view = m_host.Viewport();
    return m_model->GetCellFromPoint(point.x, point.y, view.scrollX, view.scrollY);
}

CCellRange GridInteraction::VisibleNonFixedCells() const {
    const GridViewport view = m_host.Viewport();
    return m_model->GetVisibleNonFixedCellRange(view.scrollX, view.scrollY, view.width,
                                                view.height);
}

CCellRange GridInteraction::BlockOf(CCellID cell) const {
    const CGridCellBase* object = m_model->GetCell(cell.row, cell.col);
    if (object != nullptr && object->IsMerged() && m_model->IsValid(object->GetMergeRange())) {
        return object->GetMergeRange();
    }
    return CCellRange(cell.row, cell.col, cell.row, cell.col);
}

int GridInteraction::ColumnBorderAt(GridPoint point) const {
    const GridModel& grid = *m_model;
    if (point.y >= grid.GetFixedRowHeight() || point.y < 0) {
        return -1;
    }
    const int scrollX = m_host.Viewport().scrollX;
    for (int dx = -kResizeCaptureRange; dx <= kResizeCaptureRange; ++dx) {
        const int x = point.x + dx;
        const long long absolute =
            x < grid.GetFixedColumnWidth() ? x : static_cast<long long>(x) + scrollX;
        const int col = grid.ColumnAtOffset(absolute);
        if (col < 0) {
            continue;
        }
        // The border is the cell's right edge: the last pixel of the column. Inside a merged
        // heading there is no border to drag.
        const int row = grid.RowAtOffset(point.y);
        const CCellRange block = BlockOf(grid.GetMergeCellID(CCellID(row, col)));
        if (grid.ColumnLeft(col + 1) - 1 == absolute && block.GetMaxCol() <= col) {
            int candidate = col;
            // A hidden column right of the border is opened by dragging it, if allowed.
            if (grid.Switches().hiddenColUnhide) {
                while (candidate + 1 < grid.GetColumnCount() &&
                       grid.GetColumnWidth(candidate + 1) == 0) {
                    ++candidate;
                }
            }
            return candidate;
        }
    }
    return -1;
}

int GridInteraction::RowBorderAt(GridPoint point) const {
    const GridModel& grid = *m_model;
    if (point.x >= grid.GetFixedColumnWidth() || point.x < 0) {
        return -1;
    }
    const int scrollY = m_host.Viewport().scrollY;
    for (int dy = -kResizeCaptureRange; dy <= kResizeCaptureRange; ++dy) {
        const int y = point.y + dy;
        const long long absolute =
            y < grid.GetFixedRowHeight() ? y : static_cast<long long>(y) + scrollY;
        const int row = grid.RowAtOffset(absolute);
        if (row < 0) {
            continue;
        }
        const int col = grid.ColumnAtOffset(point.x);
        const CCellRange block = BlockOf(grid.GetMergeCellID(CCellID(row, col)));
        if (grid.RowTop(row + 1) - 1 == absolute && block.GetMaxRow() <= row) {
            int candidate = row;
            if (grid.Switches().hiddenRowUnhide) {
                while (candidate + 1 < grid.GetRowCount() &&
                       grid.GetRowHeight(candidate + 1) == 0) {
                    ++candidate;
                }
            }
            return candidate;
        }
    }
    return -1;
}

void GridInteraction::EnsureVisible(int row, int col) {
    const GridViewport view = m_host.Viewport();
    int x = 0;
    int y = 0;
    if (!m_model->GetCellOriginNoMerge(row, col, view.scrollX, view.scrollY, x, y)) {
        return;
    }
    const int width = m_model->GetColumnWidth(col);
    const int height = m_model->GetRowHeight(row);
    if (row >= m_model->GetFixedRowCount()) {
        const int top = m_model->GetFixedRowHeight();
        int scroll = view.scrollY;
        if (y < top) {
            scroll -= top - y;
        } else if (y + height > view.height) {
            scroll += std::min(y + height - view.height, y - top);
        }
        m_host.SetScrollPosition(true, scroll);
    }
    if (col >= m_model->GetFixedColumnCount()) {
        const int left = m_model->GetFixedColumnWidth();
        int scroll = m_host.Viewport().scrollX;
        if (x < left) {
            scroll -= left - x;
        } else if (x + width > view.width) {
            scroll += std::min(x + width - view.width, x - left);
        }
        m_host.SetScrollPosition(false, scroll);
    }
}

// ---- selection and focus

void GridInteraction::SelectAllCells() {
    if (!m_model->Switches().selectable) {
        return;
    }
    const CCellRange all = m_model->GetNonFixedRange();
    CCellID focus = m_model->GetFocusCell();
    if (!all.InRange(focus)) {
        focus = all.GetTopLeft();
    }
    ChangeSelection(all, false, focus);
}

void GridInteraction::ChangeSelection(const CCellRange& range, bool keepPrevious, CCellID focus) {
    m_host.Notify(GVN_SELCHANGING, focus.row, focus.col);
    if (m_model->Switches().selectable) {
        CCellRange selection = m_model->ExpandToMergedBlocks(range);
        const GridSwitches& switches = m_model->Switches();
        if (selection.IsValid()) {
            if (switches.singleRowSelection && focus.IsValid()) {
                selection.SetMinRow(focus.row);
                selection.SetMaxRow(focus.row);
            }
            if (switches.singleColSelection && focus.IsValid()) {
                selection.SetMinCol(focus.col);
                selection.SetMaxCol(focus.col);
            }
            if (switches.listMode) {
                selection.SetMinCol(m_model->GetFixedColumnCount());
                selection.SetMaxCol(m_model->GetColumnCount() - 1);
            }
        }
        m_model->SetSelectedRange(selection, keepPrevious);
    }
    m_model->SetFocusCell(focus);
    m_host.Notify(GVN_SELCHANGED, m_model->GetSelectRow(), m_model->GetSelectCol());
    m_host.Repaint();
}

void GridInteraction::SelectCells(CCellID from, CCellID to, bool keepPrevious) {
    if (!from.IsValid()) {
        from = to;
    }
    CCellRange range(std::min(from.row, to.row), std::min(from.col, to.col),
                     std::max(from.row, to.row), std::max(from.col, to.col));
    ChangeSelection(range, keepPrevious, to);
}

void GridInteraction::ClearSelectedTexts() {
    if (!m_model->IsEditable()) {
        return;
    }
    std::vector<CCellID> cells;
    for (auto entry : m_model->SelectedCells()) {
        cells.push_back(entry.value);
    }
    for (const CCellID& cell : cells) {
        CGridCellBase* object = m_model->GetCell(cell.row, cell.col);
        if (object != nullptr && !object->IsReadOnly() &&
            !m_model->IsCellFixed(cell.row, cell.col) && !object->GetText().empty()) {
            object->SetText("");
            m_model->SetModified(true, cell.row, cell.col);
        }
    }
    m_host.Repaint();
}

CCellID GridInteraction::NextCell(CCellID from, GridKey key, bool ctrl) const {
    const GridModel& grid = *m_model;
    const int fixedRows = grid.GetFixedRowCount();
    const int fixedCols = grid.GetFixedColumnCount();
    const int rows = grid.GetRowCount();
    const int cols = grid.GetColumnCount();
    if (rows <= fixedRows || cols <= fixedCols) {
        return CCellID();
    }
    from = grid.GetMergeCellID(from);
    CCellRange block(from.row, from.col, from.row, from.col);
    if (const CGridCellBase* cell = grid.GetCell(from.row, from.col); cell && cell->IsMerged()) {
        block = cell->GetMergeRange();
    }
    auto visibleRow = [&](int row, int step) {
        while (row >= fixedRows && row < rows && grid.GetRowHeight(row) == 0) {
            row += step;
        }
        return row >= fixedRows && row < rows ? row : -1;
    };
    auto visibleCol = [&](int col, int step) {
        while (col >= fixedCols && col < cols && grid.GetColumnWidth(col) == 0) {
            col += step;
        }
        return col >= fixedCols && col < cols ? col : -1;
    };
    int row = from.row;
    int col = from.col;
    const int pageRows = std::max(1, VisibleNonFixedCells().GetRowSpan() - 1);
    switch (key) {
        case GridKey::Down:
            row = visibleRow(block.GetMaxRow() + 1, 1);
            break;
        case GridKey::Up:
            row = visibleRow(block.GetMinRow() - 1, -1);
            break;
        case GridKey::Right:
            col = visibleCol(block.GetMaxCol() + 1, 1);
            break;
        case GridKey::Left:
            col = visibleCol(block.GetMinCol() - 1, -1);
            break;
        case GridKey::Tab:
            col = visibleCol(block.GetMaxCol() + 1, 1);
            if (col < 0) {
                row = visibleRow(block.GetMaxRow() + 1, 1);
                col = visibleCol(fixedCols, 1);
            }
            break;
        case GridKey::Backtab:
            col = visibleCol(block.GetMinCol() - 1, -1);
            if (col < 0) {
                row = visibleRow(block.GetMinRow() - 1, -1);
                col = visibleCol(cols - 1, -1);
            }
            break;
        case GridKey::PageDown:
            row = visibleRow(std::min(rows - 1, from.row + pageRows), -1);
            break;
        case GridKey::PageUp:
            row = visibleRow(std::max(fixedRows, from.row - pageRows), 1);
            break;
        case GridKey::Home:
            col = visibleCol(fixedCols, 1);
            if (ctrl) {
                row = visibleRow(fixedRows, 1);
            }
            break;
        case GridKey::End:
            col = visibleCol(cols - 1, -1);
            if (ctrl) {
                row = visibleRow(rows - 1, -1);
            }
            break;
        default:
            return CCellID();
    }
    if (row < 0 || col < 0) {
        return CCellID();
    }
    return grid.GetMergeCellID(CCellID(row, col));
}

void GridInteraction::MoveFocus(GridKey key, bool shift, bool ctrl) {
    CCellID focus = m_model->GetFocusCell();
    CCellID next;
    if (!focus.IsValid()) {
        const CCellRange visible = VisibleNonFixedCells();
        next = visible.IsValid() ? visible.GetTopLeft() : CCellID();
        if (!next.IsValid()) {
            next = m_model->GetNonFixedRange().GetTopLeft();
        }
    } else {
        next = NextCell(focus, key, ctrl);
    }
    if (!next.IsValid() || !m_model->IsValid(next.row, next.col)) {
        return;
    }
    if (shift && key != GridKey::Tab && key != GridKey::Backtab &&
        !m_model->Switches().singleRowSelection) {
        SelectCells(m_selectionStart.IsValid() ? m_selectionStart : focus, next, false);
    } else {
        m_selectionStart = next;
        SelectCells(next, next, false);
    }
    EnsureVisible(next.row, next.col);
}

// ---- in-place editing

void GridInteraction::EditCell(int row, int col, GridEditStart start) {
    const CCellID cell = m_model->GetMergeCellID(CCellID(row, col));
    if (!m_model->IsCellEditable(cell.row, cell.col) || m_model->IsCellFixed(cell.row, cell.col)) {
        return;
    }
    m_host.CloseEditor();
    EnsureVisible(cell.row, cell.col);
    if (m_host.Notify(GVN_BEGINLABELEDIT, cell.row, cell.col) < 0) {
        return;
    }
    CGridCellBase* object = m_model->GetCell(cell.row, cell.col);
    const GridViewport view = m_host.Viewport();
    GridRect rect;
    if (object == nullptr ||
        !m_model->GetCellRect(cell.row, cell.col, view.scrollX, view.scrollY, rect)) {
        return;
    }
    object->Edit();
    m_host.OpenEditor(cell.row, cell.col, rect, start);
}

void GridInteraction::EditEnded(int row, int col, const std::optional<std::string>& newText,
                                GridKey lastKey, bool takeFocus) {
    if (CGridCellBase* cell = m_model->GetCell(row, col)) {
        if (newText.has_value()) {
            const std::string oldText = cell->GetText();
            cell->SetText(*newText);
            const bool accepted = m_host.ValidateEdit(row, col, *newText) &&
                                  m_host.Notify(GVN_ENDLABELEDIT, row, col) >= 0;
            // The handlers may have changed the grid: look the cell up again.
            if (CGridCellBase* again = m_model->GetCell(row, col)) {
                if (accepted) {
                    m_model->SetModified(true, row, col);
                } else {
                    again->SetText(oldText);
                }
            }
            m_host.RepaintCell(row, col);
        }
        if (CGridCellBase* again = m_model->GetCell(row, col)) {
            again->OnEndEdit();
        }
    }
    if (!m_host.EditEnded(row, col)) {
        return;  // the parent closed the grid: this object is gone too
    }
    if (takeFocus) {
        m_host.TakeFocus(false);
    }
    if (IsEditNavigationKey(lastKey)) {
        if (!m_model->GetFocusCell().IsValid() && m_model->IsValid(row, col)) {
            m_model->SetFocusCell(CCellID(row, col));
        }
        const CCellID before = m_model->GetFocusCell();
        MoveFocus(lastKey, false, false);
        const CCellID after = m_model->GetFocusCell();
        if (after.IsValid() && after != before) {
            EditCell(after.row, after.col, ByKey(lastKey));
        }
    }
    m_host.Repaint();
}

// ---- mouse

void GridInteraction::ButtonDown(GridPoint point, bool left, bool shift, bool ctrl) {
    m_host.CloseEditor();
    m_host.TakeFocus(true);
    if (!left) {
        return;
    }
    const GridSwitches& switches = m_model->Switches();
    m_mouseDownPoint = point;
    if (switches.columnResize) {
        const int col = ColumnBorderAt(point);
        if (col >= 0) {
            m_mouseMode = MouseMode::SizingColumn;
            m_sizingIndex = col;
            m_sizingStartSize = m_model->GetColumnWidth(col);
            return;
        }
    }
    if (switches.rowResize) {
        const int row = RowBorderAt(point);
        if (row >= 0) {
            m_mouseMode = MouseMode::SizingRow;
            m_sizingIndex = row;
            m_sizingStartSize = m_model->GetRowHeight(row);
            return;
        }
    }
    const CCellID cell = CellAt(point);
    if (!cell.IsValid()) {
        return;
    }
    const int fixedRows = m_model->GetFixedRowCount();
    const int fixedCols = m_model->GetFixedColumnCount();
    const int lastRow = m_model->GetRowCount() - 1;
    const int lastCol = m_model->GetColumnCount() - 1;
    m_lastMouseCell = cell;
    if (cell.row < fixedRows && cell.col < fixedCols) {
        if (switches.fixedRowSelection && switches.fixedColumnSelection) {
            m_mouseMode = MouseMode::SelectingAll;
            SelectAllCells();
        }
    } else if (cell.row < fixedRows) {
        if (!switches.fixedRowSelection || lastRow < fixedRows) {
            return;
        }
        m_mouseMode = MouseMode::SelectingCols;
        const int from = shift && m_selectionStart.IsValid() ? m_selectionStart.col : cell.col;
        if (!shift) {
            m_selectionStart = CCellID(fixedRows, cell.col);
        }
        if (ctrl) {
            m_model->RememberSelection();
        }
        // A merged heading selects every column under it.
        const CCellRange heading = BlockOf(cell);
        ChangeSelection(CCellRange(fixedRows, std::min(from, heading.GetMinCol()), lastRow,
                                   std::max(from, heading.GetMaxCol())),
                        ctrl, CCellID(fixedRows, cell.col));
    } else if (cell.col < fixedCols) {
        if (!switches.fixedColumnSelection || lastCol < fixedCols) {
            return;
        }
        m_mouseMode = MouseMode::SelectingRows;
        const int from = shift && m_selectionStart.IsValid() ? m_selectionStart.row : cell.row;
        if (!shift) {
            m_selectionStart = CCellID(cell.row, fixedCols);
        }
        if (ctrl) {
            m_model->RememberSelection();
        }
        const CCellRange heading = BlockOf(cell);
        ChangeSelection(CCellRange(std::min(from, heading.GetMinRow()), fixedCols,
                                   std::max(from, heading.GetMaxRow()), lastCol),
                        ctrl, CCellID(cell.row, fixedCols));
    } else {
        const CGridCellBase* object = m_model->GetCell(cell.row, cell.col);
        if (switches.dragAndDrop && object != nullptr && object->IsSelected() && !shift && !ctrl) {
            m_mouseMode = MouseMode::PrepareDrag;
            return;
        }
        m_mouseMode = MouseMode::SelectingCells;
        if (shift) {
            SelectCells(m_selectionStart, cell, false);
        } else {
            if (ctrl) {
                m_model->RememberSelection();
            }
            m_selectionStart = cell;
            SelectCells(cell, cell, ctrl);
        }
    }
}

GridCursor GridInteraction::Hover(GridPoint point) const {
    const GridSwitches& switches = m_model->Switches();
    if (switches.columnResize && ColumnBorderAt(point) >= 0) {
        return GridCursor::SizeColumn;
    }
    if (switches.rowResize && RowBorderAt(point) >= 0) {
        return GridCursor::SizeRow;
    }
    return GridCursor::Normal;
}

void GridInteraction::LeftDrag(GridPoint point, bool ctrl) {
    switch (m_mouseMode) {
        case MouseMode::SizingColumn: {
            const int width = std::max(0, m_sizingStartSize + point.x - m_mouseDownPoint.x);
            m_model->SetColumnWidth(m_sizingIndex, width);
            m_host.SizesChanged();
            break;
        }
        case MouseMode::SizingRow: {
            const int height = std::max(0, m_sizingStartSize + point.y - m_mouseDownPoint.y);
            m_model->SetRowHeight(m_sizingIndex, height);
            m_host.SizesChanged();
            break;
        }
        case MouseMode::SelectingCells:
        case MouseMode::SelectingRows:
        case MouseMode::SelectingCols: {
            // Outside the window the grid scrolls towards the pointer.
            const GridViewport view = m_host.Viewport();
            if (point.y >= view.height) {
                m_host.ScrollStep(true, 1);
            } else if (point.y < m_model->GetFixedRowHeight()) {
                m_host.ScrollStep(true, -1);
            }
            if (point.x >= view.width) {
                m_host.ScrollStep(false, 1);
            } else if (point.x < m_model->GetFixedColumnWidth()) {
                m_host.ScrollStep(false, -1);
            }
            const GridPoint clamped{
                std::clamp(point.x, m_model->GetFixedColumnWidth(), view.width - 1),
                std::clamp(point.y, m_model->GetFixedRowHeight(), view.height - 1)};
            const CCellID cell = CellAt(clamped);
            if (!cell.IsValid() || cell == m_lastMouseCell) {
                break;
            }
            m_lastMouseCell = cell;
            if (m_mouseMode == MouseMode::SelectingRows) {
                SelectCells(m_selectionStart, CCellID(cell.row, m_model->GetColumnCount() - 1),
                            ctrl);
                m_model->SetFocusCell(CCellID(cell.row, m_model->GetFixedColumnCount()));
            } else if (m_mouseMode == MouseMode::SelectingCols) {
                SelectCells(m_selectionStart, CCellID(m_model->GetRowCount() - 1, cell.col), ctrl);
                m_model->SetFocusCell(CCellID(m_model->GetFixedRowCount(), cell.col));
            } else {
                SelectCells(m_selectionStart, cell, ctrl);
            }
            break;
        }
        case MouseMode::PrepareDrag: {
            const int moved =
                std::abs(point.x - m_mouseDownPoint.x) + std::abs(point.y - m_mouseDownPoint.y);
            if (moved < m_host.DragDistance()) {
                break;
            }
            m_mouseMode = MouseMode::Nothing;
            if (m_host.Notify(GVN_BEGINDRAG, m_lastMouseCell.row, m_lastMouseCell.col) < 0) {
                break;
            }
            m_host.StartDrag();
            break;
        }
        default:
            break;
    }
}

void GridInteraction::LeftButtonUp() {
    if (m_mouseMode == MouseMode::PrepareDrag) {
        // A click on a selected cell without a drag selects that cell alone.
        m_selectionStart = m_lastMouseCell;
        SelectCells(m_lastMouseCell, m_lastMouseCell, false);
    }
    m_mouseMode = MouseMode::Nothing;
}

void GridInteraction::RightButtonUp(GridPoint point) {
    m_host.CloseEditor();
    const CCellID cell = CellAt(point);
    CCellID focus;
    if (cell.IsValid()) {
        focus = CCellID(std::max(cell.row, m_model->GetFixedRowCount()),
                        std::max(cell.col, m_model->GetFixedColumnCount()));
        focus = m_model->GetMergeCellID(focus);
        if (m_model->IsValid(focus.row, focus.col)) {
            if (!m_model->IsCellSelected(focus.row, focus.col)) {
                m_selectionStart = focus;
                SelectCells(focus, focus, false);
            } else {
                m_model->SetFocusCell(focus);
                m_host.Repaint();
            }
        } else {
            focus = CCellID();
        }
    }
    m_host.Notify(NM_RCLICK, focus.row, focus.col);
    m_host.RightButtonUp(cell.row, cell.col);
}

void GridInteraction::DoubleClick(GridPoint point) {
    const GridSwitches& switches = m_model->Switches();
    if (switches.columnResize) {
        const int col = ColumnBorderAt(point);
        if (col >= 0) {
            m_mouseMode = MouseMode::Nothing;
            m_host.AutoSizeColumn(col);
            return;
        }
    }
    if (switches.rowResize) {
        const int row = RowBorderAt(point);
        if (row >= 0) {
            m_mouseMode = MouseMode::Nothing;
            m_host.AutoSizeRow(row);
            return;
        }
    }
    const CCellID cell = CellAt(point);
    if (!cell.IsValid()) {
        return;
    }
    m_mouseMode = MouseMode::Nothing;
    m_host.Notify(NM_DBLCLK, cell.row, cell.col);
    if (!m_model->IsCellFixed(cell.row, cell.col)) {
        EditCell(cell.row, cell.col, GridEditStart{GridEditStart::Way::DoubleClick});
    }
}

int GridInteraction::WheelScrollY(int notches, int linesPerNotch) const {
    const GridModel& grid = *m_model;
    const int fixedHeight = grid.GetFixedRowHeight();
    int top = grid.RowAtOffset(fixedHeight + static_cast<long long>(m_host.Viewport().scrollY));
    if (top < 0) {
        top = grid.GetRowCount();
    }
    const int target =
        std::clamp(top - notches * linesPerNotch, grid.GetFixedRowCount(), grid.GetRowCount());
    return static_cast<int>(grid.RowTop(target) - fixedHeight);
}

// ---- keys

bool GridInteraction::KeyPress(GridKey key, bool shift, bool ctrl) {
    if (ctrl) {
        switch (key) {
            case GridKey::C:
            case GridKey::Insert:
                m_host.Clipboard(GridClipboardCommand::Copy);
                return true;
            case GridKey::X:
                m_host.Clipboard(GridClipboardCommand::Cut);
                return true;
            case GridKey::V:
                m_host.Clipboard(GridClipboardCommand::Paste);
                return true;
            case GridKey::A:
                SelectAllCells();
                return true;
            default:
                break;
        }
    }
    const CCellID focus = m_model->GetFocusCell();
    switch (key) {
        case GridKey::Delete:
            if (shift) {
                m_host.Clipboard(GridClipboardCommand::Cut);
            } else {
                ClearSelectedTexts();
            }
            return true;
        case GridKey::Insert:
            if (shift) {
                m_host.Clipboard(GridClipboardCommand::Paste);
                return true;
            }
            return false;
        case GridKey::F2:
        case GridKey::Enter:
            if (focus.IsValid()) {
                EditCell(focus.row, focus.col, ByKey(key));
            }
            return true;
        case GridKey::Tab:
        case GridKey::Backtab:
            if (m_model->Switches().handleTabKey) {
                MoveFocus(key, false, false);
                return true;
            }
            return false;
        case GridKey::Up:
        case GridKey::Down:
        case GridKey::Left:
        case GridKey::Right:
        case GridKey::PageUp:
        case GridKey::PageDown:
        case GridKey::Home:
        case GridKey::End:
            MoveFocus(key, shift, ctrl);
            return true;
        case GridKey::Escape:
            return true;
        default:
            return false;
    }
}

}  // namespace quarrant
