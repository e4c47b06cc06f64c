#include "controls/widgets/GridCtrl.h"

#include <QApplication>
#include <QDrag>
#include <QFontMetrics>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QScrollBar>
#include <QStyleHints>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <functional>

#include "base/GbkText.h"
#include "controls/widgets/GridPrintLayout.h"
#include "controls/widgets/GridWidgetText.h"
#include "controls/widgets/InPlaceEdit.h"
#include "platform/MessageEvent.h"

namespace quarrant {
namespace {

GridColor FromQColor(const QColor& color) {
    return GridRgb(color.red(), color.green(), color.blue());
}

QColor ToQColor(GridColor color) {
    return QColor(GridRed(color), GridGreen(color), GridBlue(color));
}

QRect ToQRect(const GridRect& rect) {
    return QRect(rect.left, rect.top, rect.Width(), rect.Height());
}

bool IsEditNavigationKey(int key) {
    return key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Up ||
           key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right ||
           key == Qt::Key_PageUp || key == Qt::Key_PageDown;
}

// Within this distance of a border, a press in a fixed row or column resizes.
constexpr int kResizeCaptureRange = 3;

}  // namespace

CGridCtrl::CGridCtrl(int rows, int cols, int fixedRows, int fixedCols, QWidget* parent)
    : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_model = std::make_unique<GridModel>(0, 0, 0, 0, MeasureMetrics());
    ApplyFontMetrics();
    ApplySystemColors();
    m_model->SetRowCount(std::max(rows, 0));
    m_model->SetColumnCount(std::max(cols, 0));
    m_model->SetFixedRowCount(std::max(fixedRows, 0));
    m_model->SetFixedColumnCount(std::max(fixedCols, 0));
    UpdateScrollBars();
}

CGridCtrl::~CGridCtrl() {
    if (m_edit != nullptr) {
        m_edit->Detach();
    }
}

bool CGridCtrl::Create(const QRect& rect, QWidget* parent, int id, unsigned style) {
    setParent(parent);
    setGeometry(rect);
    m_id = id;
    setFrameShape((style & kWsBorder) != 0 ? QFrame::StyledPanel : QFrame::NoFrame);
    setFocusPolicy((style & kWsTabStop) != 0 ? Qt::StrongFocus : Qt::ClickFocus);
    setVisible((style & kWsVisible) != 0);
    UpdateScrollBars();
    return true;
}

// ---- model

std::unique_ptr<GridModel> CGridCtrl::NewModel() const {
    return m_model->CloneSettings();
}

std::unique_ptr<GridModel> CGridCtrl::SetModel(std::unique_ptr<GridModel> model) {
    if (model == nullptr) {
        model = NewModel();
    }
    EndEditing();
    std::swap(m_model, model);
    m_mouseMode = MouseMode::Nothing;
    m_selectionStart = CCellID();
    UpdateScrollBars();
    viewport()->update();
    return model;
}

GridMetrics CGridCtrl::MeasureMetrics() const {
    const QFontMetrics metrics(font());
    GridMetrics result;
    result.margin = metrics.horizontalAdvance(QLatin1Char(' '));
    result.columnWidth = metrics.horizontalAdvance(QStringLiteral(" XXXXXXXXXXXX "));
    result.textHeight = metrics.height();
    result.rowHeight = metrics.height() * 3 / 2;
    return result;
}

void CGridCtrl::ApplyFontMetrics() {
    m_model->SetMetrics(MeasureMetrics());
    GridFont description = DescribeFont(font());
    for (bool fixedRow : {false, true}) {
        for (bool fixedCol : {false, true}) {
            m_model->GetDefaultCell(fixedRow, fixedCol)->SetFont(&description);
        }
    }
}

void CGridCtrl::ApplySystemColors() {
    const QPalette& colors = palette();
    m_model->SetSystemColors(
        FromQColor(colors.color(QPalette::WindowText)), FromQColor(colors.color(QPalette::Base)),
        FromQColor(colors.color(QPalette::Button)), FromQColor(colors.color(QPalette::Dark)));
}

void CGridCtrl::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        ApplyFontMetrics();
        m_textCache.reset();
        viewport()->update();
    } else if (event->type() == QEvent::PaletteChange) {
        ApplySystemColors();
        viewport()->update();
    }
    QAbstractScrollArea::changeEvent(event);
}

// ---- sizes

bool CGridCtrl::SetRowCount(int rows) {
    EndEditing();
    const bool ok = m_model->SetRowCount(rows);
    Refresh();
    return ok;
}

bool CGridCtrl::SetColumnCount(int cols) {
    EndEditing();
    const bool ok = m_model->SetColumnCount(cols);
    Refresh();
    return ok;
}

bool CGridCtrl::SetFixedRowCount(int fixedRows) {
    const bool ok = m_model->SetFixedRowCount(fixedRows);
    Refresh();
    return ok;
}

bool CGridCtrl::SetFixedColumnCount(int fixedCols) {
    const bool ok = m_model->SetFixedColumnCount(fixedCols);
    Refresh();
    return ok;
}

int CGridCtrl::InsertRow(std::string_view heading, int position) {
    EndEditing();
    const int row = m_model->InsertRow(heading, position);
    if (row >= 0 && !heading.empty()) {
        // The heading's own text height, measured in the fixed column's font.
        const QFontMetrics metrics(CellFont(row, 0));
        const int lines = 1 + static_cast<int>(std::count(heading.begin(), heading.end(), '\n'));
        m_model->SetRowHeight(row, lines * metrics.height());
    }
    Refresh();
    return row;
}

int CGridCtrl::InsertColumn(std::string_view heading, unsigned format, int position) {
    EndEditing();
    const int col = m_model->InsertColumn(heading, format, position);
    Refresh();
    return col;
}

bool CGridCtrl::DeleteRow(int row) {
    EndEditing();
    const bool ok = m_model->DeleteRow(row);
    Refresh();
    return ok;
}

bool CGridCtrl::DeleteColumn(int col) {
    EndEditing();
    const bool ok = m_model->DeleteColumn(col);
    Refresh();
    return ok;
}

void CGridCtrl::DeleteAllItems() {
    EndEditing();
    m_model->DeleteAllItems();
    m_selectionStart = CCellID();
    Refresh();
}

void CGridCtrl::DeleteNonFixedRows() {
    EndEditing();
    m_model->DeleteNonFixedRows();
    Refresh();
}

// ---- cells

bool CGridCtrl::SetItemText(int row, int col, std::string_view text) {
    const bool ok = m_model->SetItemText(row, col, text);
    if (ok) {
        RedrawCell(row, col);
    }
    return ok;
}

bool CGridCtrl::SetItemState(int row, int col, unsigned state) {
    const bool ok = m_model->SetItemState(row, col, state);
    if (ok) {
        RedrawCell(row, col);
    }
    return ok;
}

bool CGridCtrl::SetItemData(int row, int col, std::intptr_t data) {
    return m_model->SetItemData(row, col, data);
}

bool CGridCtrl::SetItemImage(int row, int col, int image) {
    const bool ok = m_model->SetItemImage(row, col, image);
    RedrawCell(row, col);
    return ok;
}

bool CGridCtrl::SetItemFormat(int row, int col, unsigned format) {
    const bool ok = m_model->SetItemFormat(row, col, format);
    RedrawCell(row, col);
    return ok;
}

bool CGridCtrl::SetItemFgColour(int row, int col, GridColor color) {
    const bool ok = m_model->SetItemFgColour(row, col, color);
    RedrawCell(row, col);
    return ok;
}

bool CGridCtrl::SetItemBkColour(int row, int col, GridColor color) {
    const bool ok = m_model->SetItemBkColour(row, col, color);
    RedrawCell(row, col);
    return ok;
}

bool CGridCtrl::SetItemFont(int row, int col, const GridFont& font) {
    const bool ok = m_model->SetItemFont(row, col, font);
    RedrawCell(row, col);
    return ok;
}

bool CGridCtrl::SetModified(bool modified, int row, int col) {
    if (row < 0 && col < 0) {
        // The whole grid.
        for (int r = 0; r < GetRowCount(); ++r) {
            for (int c = 0; c < GetColumnCount(); ++c) {
                m_model->SetModified(modified, r, c);
            }
        }
        return true;
    }
    return m_model->SetModified(modified, row, col);
}

void CGridCtrl::SetImageList(std::vector<QPixmap> images) {
    m_images = std::move(images);
    viewport()->update();
}

bool CGridCtrl::SetRowHeight(int row, int height) {
    const bool ok = m_model->SetRowHeight(row, height);
    Refresh();
    return ok;
}

bool CGridCtrl::SetColumnWidth(int col, int width) {
    const bool ok = m_model->SetColumnWidth(col, width);
    Refresh();
    return ok;
}

void CGridCtrl::EnableSelection(bool enable) {
    ResetSelectedRange();
    m_model->Switches().selectable = enable;
}

void CGridCtrl::SetGridLines(int lines) {
    m_model->Switches().gridLines = lines;
    viewport()->update();
}

void CGridCtrl::SetGridLineColor(GridColor color) {
    m_model->SetGridLineColor(color);
    viewport()->update();
}

void CGridCtrl::SetGridBkColor(GridColor color) {
    m_model->SetGridBkColor(color);
    viewport()->update();
}

// ---- auto-sizing

QSize CGridCtrl::TextExtent(int row, int col) const {
    const CGridCellBase* cell = GetCell(row, col);
    if (cell == nullptr) {
        return QSize();
    }
    const QFontMetrics metrics(CellFont(row, col));
    const QStringList lines = ToQString(cell->GetText()).split(QLatin1Char('\n'));
    int width = 0;
    for (const QString& line : lines) {
        width = std::max(width, metrics.horizontalAdvance(line));
    }
    int margin = cell->GetMargin();
    if (margin < 0) {
        margin = m_model->Metrics().margin;
    }
    const int image = cell->GetImage();
    if (image >= 0 && image < static_cast<int>(m_images.size())) {
        width += m_images[static_cast<std::size_t>(image)].width() + margin;
    }
    return QSize(width + 2 * margin + 1,
                 static_cast<int>(lines.size()) * metrics.height() + 2 * margin + 1);
}

bool CGridCtrl::AutoSizeColumn(int col, int autoSizeStyle) {
    if (col < 0 || col >= GetColumnCount()) {
        return false;
    }
    if (autoSizeStyle == kAutoSizeDefault) {
        autoSizeStyle = m_model->Switches().autoSizeStyle;
    }
    int firstRow = (autoSizeStyle & kAutoSizeHeader) != 0 ? 0 : GetFixedRowCount();
    int lastRow = (autoSizeStyle & kAutoSizeData) != 0 ? GetRowCount() - 1 : GetFixedRowCount() - 1;
    int width = 0;
    for (int row = firstRow; row <= lastRow; ++row) {
        const CGridCellBase* cell = GetCell(row, col);
        if (cell == nullptr || cell->IsMergeWithOthers() || cell->IsMerged()) {
            continue;  // a merged text spans several columns
        }
        width = std::max(width, TextExtent(row, col).width());
    }
    if (width > 0) {
        m_model->SetColumnWidth(col, width);
    }
    Refresh();
    return true;
}

void CGridCtrl::AutoSizeColumns(int autoSizeStyle) {
    for (int col = 0; col < GetColumnCount(); ++col) {
        AutoSizeColumn(col, autoSizeStyle);
    }
}

bool CGridCtrl::AutoSizeRow(int row) {
    if (row < 0 || row >= GetRowCount()) {
        return false;
    }
    int height = 0;
    for (int col = 0; col < GetColumnCount(); ++col) {
        const CGridCellBase* cell = GetCell(row, col);
        if (cell == nullptr || cell->IsMergeWithOthers() || cell->IsMerged()) {
            continue;
        }
        height = std::max(height, TextExtent(row, col).height());
    }
    if (height > 0) {
        m_model->SetRowHeight(row, height);
    }
    Refresh();
    return true;
}

void CGridCtrl::AutoSizeRows() {
    for (int row = 0; row < GetRowCount(); ++row) {
        AutoSizeRow(row);
    }
}

void CGridCtrl::AutoSize(int autoSizeStyle) {
    AutoSizeColumns(autoSizeStyle);
    AutoSizeRows();
}

// ---- selection and focus

void CGridCtrl::SetFocusCell(int row, int col) {
    m_model->SetFocusCell(CCellID(row, col));
    viewport()->update();
}

void CGridCtrl::ResetSelectedRange() {
    m_model->ResetSelectedRange();
    viewport()->update();
}

void CGridCtrl::SetSelectedRange(int minRow, int minCol, int maxRow, int maxCol) {
    m_model->SetSelectedRange(CCellRange(minRow, minCol, maxRow, maxCol));
    viewport()->update();
}

void CGridCtrl::SelectAllCells() {
    if (!IsSelectable()) {
        return;
    }
    const CCellRange all = m_model->GetNonFixedRange();
    CCellID focus = GetFocusCell();
    if (!all.InRange(focus)) {
        focus = all.GetTopLeft();
    }
    ChangeSelection(all, false, focus);
}

void CGridCtrl::ChangeSelection(const CCellRange& range, bool keepPrevious, CCellID focus) {
    SendNotify(GVN_SELCHANGING, focus.row, focus.col);
    if (IsSelectable()) {
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
                selection.SetMinCol(GetFixedColumnCount());
                selection.SetMaxCol(GetColumnCount() - 1);
            }
        }
        m_model->SetSelectedRange(selection, keepPrevious);
    }
    m_model->SetFocusCell(focus);
    SendNotify(GVN_SELCHANGED, GetSelectRow(), GetSelectCol());
    viewport()->update();
}

void CGridCtrl::SelectCells(CCellID from, CCellID to, bool keepPrevious) {
    if (!from.IsValid()) {
        from = to;
    }
    CCellRange range(std::min(from.row, to.row), std::min(from.col, to.col),
                     std::max(from.row, to.row), std::max(from.col, to.col));
    ChangeSelection(range, keepPrevious, to);
}

CCellID CGridCtrl::TopLeftVisibleNonFixedCell() const {
    const CCellRange visible = GetVisibleNonFixedCellRange();
    return visible.IsValid() ? visible.GetTopLeft() : CCellID();
}

CCellID CGridCtrl::NextCell(CCellID from, int key, bool ctrl) const {
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
    const int pageRows = std::max(1, GetVisibleNonFixedCellRange().GetRowSpan() - 1);
    switch (key) {
        case Qt::Key_Down:
            row = visibleRow(block.GetMaxRow() + 1, 1);
            break;
        case Qt::Key_Up:
            row = visibleRow(block.GetMinRow() - 1, -1);
            break;
        case Qt::Key_Right:
            col = visibleCol(block.GetMaxCol() + 1, 1);
            break;
        case Qt::Key_Left:
            col = visibleCol(block.GetMinCol() - 1, -1);
            break;
        case Qt::Key_Tab:
            col = visibleCol(block.GetMaxCol() + 1, 1);
            if (col < 0) {
                row = visibleRow(block.GetMaxRow() + 1, 1);
                col = visibleCol(fixedCols, 1);
            }
            break;
        case Qt::Key_Backtab:
            col = visibleCol(block.GetMinCol() - 1, -1);
            if (col < 0) {
                row = visibleRow(block.GetMinRow() - 1, -1);
                col = visibleCol(cols - 1, -1);
            }
            break;
        case Qt::Key_PageDown:
            row = visibleRow(std::min(rows - 1, from.row + pageRows), -1);
            break;
        case Qt::Key_PageUp:
            row = visibleRow(std::max(fixedRows, from.row - pageRows), 1);
            break;
        case Qt::Key_Home:
            col = visibleCol(fixedCols, 1);
            if (ctrl) {
                row = visibleRow(fixedRows, 1);
            }
            break;
        case Qt::Key_End:
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

void CGridCtrl::MoveFocus(int key, bool shift, bool ctrl) {
    CCellID focus = GetFocusCell();
    CCellID next;
    if (!focus.IsValid()) {
        next = TopLeftVisibleNonFixedCell();
        if (!next.IsValid()) {
            next = m_model->GetNonFixedRange().GetTopLeft();
        }
    } else {
        next = NextCell(focus, key, ctrl);
    }
    if (!next.IsValid() || !IsValid(next.row, next.col)) {
        return;
    }
    if (shift && key != Qt::Key_Tab && key != Qt::Key_Backtab &&
        !m_model->Switches().singleRowSelection) {
        SelectCells(m_selectionStart.IsValid() ? m_selectionStart : focus, next, false);
    } else {
        m_selectionStart = next;
        SelectCells(next, next, false);
    }
    EnsureVisible(next.row, next.col);
}

// ---- merged cells

bool CGridCtrl::MergeCells(int minRow, int minCol, int maxRow, int maxCol) {
    const bool ok = m_model->MergeCells(minRow, minCol, maxRow, maxCol);
    viewport()->update();
    return ok;
}

bool CGridCtrl::UnMergeCells(int minRow, int minCol, int maxRow, int maxCol) {
    const bool ok = m_model->UnMergeCells(minRow, minCol, maxRow, maxCol);
    viewport()->update();
    return ok;
}

bool CGridCtrl::MergeSelectedCells() {
    const bool ok = m_model->MergeSelectedCells();
    viewport()->update();
    return ok;
}

bool CGridCtrl::UnMergeSelectedCells() {
    const bool ok = m_model->UnMergeSelectedCells();
    viewport()->update();
    return ok;
}

// ---- geometry

int CGridCtrl::ScrollX() const {
    return horizontalScrollBar()->value();
}
int CGridCtrl::ScrollY() const {
    return verticalScrollBar()->value();
}

bool CGridCtrl::GetCellOriginNoMerge(int row, int col, QPoint& origin) const {
    int x = 0;
    int y = 0;
    if (!m_model->GetCellOriginNoMerge(row, col, ScrollX(), ScrollY(), x, y)) {
        return false;
    }
    origin = QPoint(x, y);
    return true;
}

bool CGridCtrl::GetCellOrigin(int row, int col, QPoint& origin) const {
    const CCellID master = GetMergeCellID(CCellID(row, col));
    return GetCellOriginNoMerge(master.row, master.col, origin);
}

bool CGridCtrl::GetCellRect(int row, int col, QRect& rect) const {
    GridRect cellRect;
    if (!m_model->GetCellRect(row, col, ScrollX(), ScrollY(), cellRect)) {
        return false;
    }
    rect = ToQRect(cellRect);
    return true;
}

CCellID CGridCtrl::GetCellFromPt(const QPoint& point) const {
    return m_model->GetCellFromPoint(point.x(), point.y(), ScrollX(), ScrollY());
}

CCellRange CGridCtrl::GetVisibleNonFixedCellRange() const {
    return m_model->GetVisibleNonFixedCellRange(ScrollX(), ScrollY(), viewport()->width(),
                                                viewport()->height());
}

int CGridCtrl::GetScrollPos32(int bar) const {
    return bar == 0 ? ScrollX() : ScrollY();
}

bool CGridCtrl::SetScrollPos32(int bar, int pos) {
    QScrollBar* scrollBar = bar == 0 ? horizontalScrollBar() : verticalScrollBar();
    scrollBar->setValue(pos);
    viewport()->update();
    return true;
}

void CGridCtrl::EnsureVisible(int row, int col) {
    int x = 0;
    int y = 0;
    if (!m_model->GetCellOriginNoMerge(row, col, ScrollX(), ScrollY(), x, y)) {
        return;
    }
    const int width = GetColumnWidth(col);
    const int height = GetRowHeight(row);
    if (row >= GetFixedRowCount()) {
        const int top = m_model->GetFixedRowHeight();
        const int bottom = viewport()->height();
        int scroll = ScrollY();
        if (y < top) {
            scroll -= top - y;
        } else if (y + height > bottom) {
            scroll += std::min(y + height - bottom, y - top);
        }
        verticalScrollBar()->setValue(scroll);
    }
    if (col >= GetFixedColumnCount()) {
        const int left = m_model->GetFixedColumnWidth();
        const int right = viewport()->width();
        int scroll = ScrollX();
        if (x < left) {
            scroll -= left - x;
        } else if (x + width > right) {
            scroll += std::min(x + width - right, x - left);
        }
        horizontalScrollBar()->setValue(scroll);
    }
}

void CGridCtrl::UpdateScrollBars() {
    const QSize area = viewport()->size();
    const long long height = m_model->GetVirtualHeight();
    const long long width = m_model->GetVirtualWidth();
    const int maxY = static_cast<int>(std::clamp<long long>(height - area.height(), 0, INT32_MAX));
    const int maxX = static_cast<int>(std::clamp<long long>(width - area.width(), 0, INT32_MAX));
    verticalScrollBar()->setRange(0, maxY);
    verticalScrollBar()->setPageStep(std::max(1, area.height() - m_model->GetFixedRowHeight()));
    verticalScrollBar()->setSingleStep(std::max(1, m_model->Metrics().rowHeight));
    horizontalScrollBar()->setRange(0, maxX);
    horizontalScrollBar()->setPageStep(std::max(1, area.width() - m_model->GetFixedColumnWidth()));
    horizontalScrollBar()->setSingleStep(std::max(1, m_model->Metrics().columnWidth / 4));
}

void CGridCtrl::RedrawCell(int row, int col) {
    QRect rect;
    if (GetCellRect(row, col, rect)) {
        viewport()->update(rect.adjusted(-1, -1, 1, 1));
    }
}

void CGridCtrl::Refresh() {
    UpdateScrollBars();
    viewport()->update();
}

void CGridCtrl::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void CGridCtrl::scrollContentsBy(int, int) {
    if (m_edit != nullptr) {
        EndEditing();
    }
    viewport()->update();
}

// ---- drawing

QFont CGridCtrl::FontFor(const GridFont& description) const {
    if (description.faceName.empty() && description.height == 0 && description.weight == 400 &&
        !description.italic && !description.underline) {
        return font();
    }
    return MakeFont(description, font());
}

QFont CGridCtrl::CellFont(int row, int col) const {
    const GridFont& description = m_model->GetItemFont(row, col);
    if (description == *m_model->GetDefaultCell(false, false)->GetFont()) {
        return font();
    }
    return FontFor(description);
}

QColor CGridCtrl::TextColorFor(const CGridCellBase& cell, int row, int col) const {
    if (cell.GetTextClr() != kClrDefault) {
        return ToQColor(cell.GetTextClr());
    }
    const CGridCell* defaults =
        m_model->GetDefaultCell(row < GetFixedRowCount(), col < GetFixedColumnCount());
    return ToQColor(defaults->GetTextClr());
}

QColor CGridCtrl::BackColorFor(const CGridCellBase& cell, int row, int col) const {
    if (cell.GetBackClr() != kClrDefault) {
        return ToQColor(cell.GetBackClr());
    }
    const CGridCell* defaults =
        m_model->GetDefaultCell(row < GetFixedRowCount(), col < GetFixedColumnCount());
    return ToQColor(defaults->GetBackClr());
}

void CGridCtrl::DrawCell(QPainter& painter, int row, int col, const QRect& rect,
                         PaintContext& context) {
    const CGridCellBase* cell = GetCell(row, col);
    if (cell == nullptr || rect.width() <= 0 || rect.height() <= 0) {
        return;
    }
    const bool printing = context.printing;
    const bool fixed = IsCellFixed(row, col);
    const GridSwitches& switches = m_model->Switches();
    QColor back = BackColorFor(*cell, row, col);
    QColor text = TextColorFor(*cell, row, col);
    if (printing) {
        if (fixed && !m_model->GetShadedPrintOut()) {
            back = Qt::white;
        }
    } else if (!fixed && cell->IsSelected()) {
        back = palette().color(QPalette::Highlight);
        text = palette().color(QPalette::HighlightedText);
    } else if (cell->IsDropHighlighted()) {
        back = palette().color(QPalette::Highlight).lighter(150);
    } else if (fixed && switches.trackFocusCell) {
        // The headings of the focus cell's row and column stand out.
        const CCellID focus = GetFocusCell();
        if ((row == focus.row && col < GetFixedColumnCount()) ||
            (col == focus.col && row < GetFixedRowCount())) {
            back = back.darker(112);
        }
    }
    painter.fillRect(rect, back);

    // Borders: grid lines on the right and bottom edge of normal cells (drawn after all the
    // cells, in one go); a raised edge on fixed cells (plain lines when printing).
    const int right = rect.right();
    const int bottom = rect.bottom();
    if (fixed && !printing) {
        painter.setPen(palette().color(QPalette::Light));
        painter.drawLine(rect.left(), rect.top(), right - 1, rect.top());
        painter.drawLine(rect.left(), rect.top(), rect.left(), bottom - 1);
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawLine(right, rect.top(), right, bottom);
        painter.drawLine(rect.left(), bottom, right, bottom);
    } else {
        if (fixed || (switches.gridLines & kGridLinesVertical) != 0) {
            context.gridLines.emplace_back(right, rect.top(), right, bottom);
        }
        if (fixed || (switches.gridLines & kGridLinesHorizontal) != 0) {
            context.gridLines.emplace_back(rect.left(), bottom, right, bottom);
        }
    }
    if (!printing && switches.frameFocusCell && cell->IsFocused() && !fixed && hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::WindowText), 0));
        painter.drawRect(rect.adjusted(0, 0, -2, -2));
    }

    int margin = cell->GetMargin();
    if (margin < 0) {
        margin = m_model->Metrics().margin;
    }
    QRect textRect = rect.adjusted(margin, 0, -margin - 1, -1);
    const int image = cell->GetImage();
    if (image >= 0 && image < static_cast<int>(m_images.size())) {
        const QPixmap& pixmap = m_images[static_cast<std::size_t>(image)];
        const int y = rect.top() + (rect.height() - pixmap.height()) / 2;
        painter.drawPixmap(textRect.left(), y, pixmap);
        textRect.setLeft(textRect.left() + pixmap.width() + margin);
    }
    const std::string& value = cell->GetText();
    if (value.empty() || textRect.width() <= 0) {
        return;
    }
    painter.setPen(text);
    const GridFont& description = m_model->GetItemFont(row, col);
    if (description == *context.defaultDescription) {
        // Most cells: the grid's own font, set once, its layouts cached.
        if (!context.painterHasDefaultFont) {
            painter.setFont(context.defaultFont);
            context.painterHasDefaultFont = true;
        }
        DrawCellText(painter, textRect, cell->GetFormat(), ToQString(value), context.defaultMetrics,
                     context.cache);
        return;
    }
    QFont cellFont = FontFor(description);
    if (printing) {
        cellFont = ScreenPixelFont(cellFont);
    }
    painter.setFont(cellFont);
    context.painterHasDefaultFont = false;
    DrawCellText(painter, textRect, cell->GetFormat(), ToQString(value), QFontMetrics(cellFont),
                 nullptr);
}

void CGridCtrl::DrawGridLines(QPainter& painter, PaintContext& context) {
    if (context.gridLines.empty()) {
        return;
    }
    painter.setPen(QPen(context.printing ? QColor(Qt::black) : context.gridLineColor, 0));
    painter.drawLines(context.gridLines.data(), static_cast<int>(context.gridLines.size()));
    context.gridLines.clear();
}

void CGridCtrl::DrawCells(QPainter& painter, const CCellRange& range, const QRect& clip,
                          PaintContext& context) {
    if (!range.IsValid() || clip.isEmpty()) {
        return;
    }
    painter.save();
    painter.setClipRect(clip);
    context.painterHasDefaultFont = false;
    auto rectOf = [&](int row, int col) {
        if (context.cellRect) {
            return context.cellRect(row, col);
        }
        QRect rect;
        GetCellRect(row, col, rect);
        return rect;
    };
    for (int row = range.GetMinRow(); row <= range.GetMaxRow(); ++row) {
        if (GetRowHeight(row) <= 0) {
            continue;
        }
        for (int col = range.GetMinCol(); col <= range.GetMaxCol(); ++col) {
            if (GetColumnWidth(col) <= 0) {
                continue;
            }
            const CGridCellBase* cell = GetCell(row, col);
            CCellID master(row, col);
            if (cell->IsMergeWithOthers()) {
                master = GetMergeCellID(master);
            }
            if (master != CCellID(row, col) || cell->IsMerged()) {
                // A merged block is drawn once, by its master, over its whole rectangle.
                std::vector<CCellID>& drawn = context.drawnMasters;
                if (std::find(drawn.begin(), drawn.end(), master) != drawn.end()) {
                    continue;
                }
                drawn.push_back(master);
            }
            DrawCell(painter, master.row, master.col, rectOf(master.row, master.col), context);
        }
    }
    DrawGridLines(painter, context);
    painter.restore();
}

void CGridCtrl::DrawGrid(QPainter& painter, const QRect& area) {
    const GridModel& grid = *m_model;
    const int width = viewport()->width();
    const int height = viewport()->height();
    const int fixedWidth = grid.GetFixedColumnWidth();
    const int fixedHeight = grid.GetFixedRowHeight();
    const int fixedRows = grid.GetFixedRowCount();
    const int fixedCols = grid.GetFixedColumnCount();

    // The background shows only beyond the last row and column.
    const long long cellsRight =
        grid.GetColumnCount() > fixedCols ? grid.GetVirtualWidth() - ScrollX() : fixedWidth;
    const long long cellsBottom =
        grid.GetRowCount() > fixedRows ? grid.GetVirtualHeight() - ScrollY() : fixedHeight;
    const int right = static_cast<int>(std::clamp<long long>(cellsRight, 0, width));
    const int bottom = static_cast<int>(std::clamp<long long>(cellsBottom, 0, height));
    const QColor background = ToQColor(grid.GetGridBkColor());
    painter.fillRect(QRect(right, 0, width - right, height).intersected(area), background);
    painter.fillRect(QRect(0, bottom, right, height - bottom).intersected(area), background);

    // Only the rows and columns in view: a binary search each, whatever the grid's size.
    const int firstRow = grid.RowAtOffset(fixedHeight + static_cast<long long>(ScrollY()));
    int lastRow = grid.RowAtOffset(static_cast<long long>(ScrollY()) + height - 1);
    if (lastRow < 0) {
        lastRow = grid.GetRowCount() - 1;
    }
    const int firstCol = grid.ColumnAtOffset(fixedWidth + static_cast<long long>(ScrollX()));
    int lastCol = grid.ColumnAtOffset(static_cast<long long>(ScrollX()) + width - 1);
    if (lastCol < 0) {
        lastCol = grid.GetColumnCount() - 1;
    }
    const bool rowsVisible = firstRow >= fixedRows && firstRow <= lastRow;
    const bool colsVisible = firstCol >= fixedCols && firstCol <= lastCol;

    if (m_textCache == nullptr) {
        m_textCache = std::make_unique<TextLayoutCache>();
    }
    PaintContext context;
    context.defaultFont = font();
    context.defaultMetrics = QFontMetrics(context.defaultFont);
    context.defaultDescription = grid.GetDefaultCell(false, false)->GetFont();
    context.cache = m_textCache.get();
    context.gridLineColor = ToQColor(grid.GetGridLineColor());
    if (rowsVisible && colsVisible) {
        DrawCells(painter, CCellRange(firstRow, firstCol, lastRow, lastCol),
                  QRect(fixedWidth, fixedHeight, width - fixedWidth, height - fixedHeight)
                      .intersected(area),
                  context);
    }
    if (fixedRows > 0 && colsVisible) {
        DrawCells(painter, CCellRange(0, firstCol, fixedRows - 1, lastCol),
                  QRect(fixedWidth, 0, width - fixedWidth, fixedHeight).intersected(area), context);
    }
    if (fixedCols > 0 && rowsVisible) {
        DrawCells(painter, CCellRange(firstRow, 0, lastRow, fixedCols - 1),
                  QRect(0, fixedHeight, fixedWidth, height - fixedHeight).intersected(area),
                  context);
    }
    if (fixedRows > 0 && fixedCols > 0) {
        DrawCells(painter, CCellRange(0, 0, fixedRows - 1, fixedCols - 1),
                  QRect(0, 0, fixedWidth, fixedHeight).intersected(area), context);
    }
}

void CGridCtrl::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    DrawGrid(painter, event->rect());
}

// ---- messages to the parent

std::intptr_t CGridCtrl::SendMessageToParent(int message, std::uintptr_t wParam,
                                             std::intptr_t lParam) {
    QWidget* target = m_owner != nullptr ? m_owner.data() : parentWidget();
    if (target == nullptr) {
        return 0;
    }
    MessageEvent event(message, wParam, lParam);
    QCoreApplication::sendEvent(target, &event);
    return event.result;
}

std::intptr_t CGridCtrl::SendNotify(int code, int row, int col) {
    NM_GRIDVIEW record;
    record.hdr.hwndFrom = this;
    record.hdr.idFrom = static_cast<std::uintptr_t>(m_id);
    record.hdr.code = code;
    record.iRow = row;
    record.iColumn = col;
    return SendMessageToParent(WM_NOTIFY, static_cast<std::uintptr_t>(m_id),
                               reinterpret_cast<std::intptr_t>(&record));
}

// ---- in-place editing

bool CGridCtrl::ValidateEdit(int, int, const std::string&) {
    return true;
}

QWidget* CGridCtrl::GetEditWnd() const {
    return m_edit.data();
}

bool CGridCtrl::IsEditing() const {
    return m_edit != nullptr;
}

void CGridCtrl::OnEditCell(int row, int col, int startKey, const QString& firstChars) {
    const CCellID cell = GetMergeCellID(CCellID(row, col));
    if (!m_model->IsCellEditable(cell.row, cell.col) || IsCellFixed(cell.row, cell.col)) {
        return;
    }
    EndEditing();
    EnsureVisible(cell.row, cell.col);
    if (SendNotify(GVN_BEGINLABELEDIT, cell.row, cell.col) < 0) {
        return;
    }
    CGridCellBase* object = GetCell(cell.row, cell.col);
    QRect rect;
    if (object == nullptr || !GetCellRect(cell.row, cell.col, rect)) {
        return;
    }
    object->Edit();
    m_edit =
        new CInPlaceEdit(this, viewport(), rect, object->GetFormat(), font(),
                         ToQString(object->GetText()), cell.row, cell.col, startKey, firstChars);
}

void CGridCtrl::EndEditing() {
    if (m_edit != nullptr) {
        m_edit->EndEdit(0);
    }
}

void CGridCtrl::OnEndInPlaceEdit(int row, int col, const QString& text, int lastKey) {
    const bool hadFocus = m_edit != nullptr && m_edit->hasFocus();
    m_edit = nullptr;
    if (CGridCellBase* cell = GetCell(row, col)) {
        const std::string oldText = cell->GetText();
        // Compared as shown: a text that does not convert both ways stays as it was unless
        // the user changed it.
        if (text != ToQString(oldText)) {
            const std::string newText = FromQString(text);
            cell->SetText(newText);
            const bool accepted =
                ValidateEdit(row, col, newText) && SendNotify(GVN_ENDLABELEDIT, row, col) >= 0;
            // The handlers may have changed the grid: look the cell up again.
            if (CGridCellBase* again = GetCell(row, col)) {
                if (accepted) {
                    m_model->SetModified(true, row, col);
                } else {
                    again->SetText(oldText);
                }
            }
            RedrawCell(row, col);
        }
        if (CGridCellBase* again = GetCell(row, col)) {
            again->OnEndEdit();
        }
    }
    m_cellRecord = GridCellRecord{this, row, col};
    const QPointer<CGridCtrl> alive(this);
    SendMessageToParent(WM_GRID_ENDEDIT, 0, reinterpret_cast<std::intptr_t>(&m_cellRecord));
    if (alive == nullptr) {
        return;  // the parent closed the grid
    }
    if (hadFocus || lastKey != 0) {
        setFocus(Qt::OtherFocusReason);
    }
    if (IsEditNavigationKey(lastKey)) {
        if (!GetFocusCell().IsValid() && IsValid(row, col)) {
            m_model->SetFocusCell(CCellID(row, col));
        }
        const CCellID before = GetFocusCell();
        MoveFocus(lastKey, false, false);
        const CCellID after = GetFocusCell();
        if (after.IsValid() && after != before) {
            OnEditCell(after.row, after.col, lastKey);
        }
    }
    viewport()->update();
}

// ---- mouse

int CGridCtrl::ColumnBorderAt(const QPoint& point) const {
    const GridModel& grid = *m_model;
    if (point.y() >= grid.GetFixedRowHeight() || point.y() < 0) {
        return -1;
    }
    for (int dx = -kResizeCaptureRange; dx <= kResizeCaptureRange; ++dx) {
        const int x = point.x() + dx;
        const long long absolute =
            x < grid.GetFixedColumnWidth() ? x : static_cast<long long>(x) + ScrollX();
        const int col = grid.ColumnAtOffset(absolute);
        if (col < 0) {
            continue;
        }
        // The border is the cell's right edge: the last pixel of the column. Inside a merged
        // heading there is no border to drag.
        const int row = grid.RowAtOffset(point.y());
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

int CGridCtrl::RowBorderAt(const QPoint& point) const {
    const GridModel& grid = *m_model;
    if (point.x() >= grid.GetFixedColumnWidth() || point.x() < 0) {
        return -1;
    }
    for (int dy = -kResizeCaptureRange; dy <= kResizeCaptureRange; ++dy) {
        const int y = point.y() + dy;
        const long long absolute =
            y < grid.GetFixedRowHeight() ? y : static_cast<long long>(y) + ScrollY();
        const int row = grid.RowAtOffset(absolute);
        if (row < 0) {
            continue;
        }
        const int col = grid.ColumnAtOffset(point.x());
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

void CGridCtrl::mousePressEvent(QMouseEvent* event) {
    EndEditing();
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const QPoint point = event->position().toPoint();
    const bool shift = (event->modifiers() & Qt::ShiftModifier) != 0;
    const bool ctrl = (event->modifiers() & Qt::ControlModifier) != 0;
    const GridSwitches& switches = m_model->Switches();
    m_mouseDownPoint = point;
    if (switches.columnResize) {
        const int col = ColumnBorderAt(point);
        if (col >= 0) {
            m_mouseMode = MouseMode::SizingColumn;
            m_sizingIndex = col;
            m_sizingStartSize = GetColumnWidth(col);
            return;
        }
    }
    if (switches.rowResize) {
        const int row = RowBorderAt(point);
        if (row >= 0) {
            m_mouseMode = MouseMode::SizingRow;
            m_sizingIndex = row;
            m_sizingStartSize = GetRowHeight(row);
            return;
        }
    }
    const CCellID cell = GetCellFromPt(point);
    if (!cell.IsValid()) {
        return;
    }
    const int fixedRows = GetFixedRowCount();
    const int fixedCols = GetFixedColumnCount();
    const int lastRow = GetRowCount() - 1;
    const int lastCol = GetColumnCount() - 1;
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
        if (switches.dragAndDrop && IsCellSelectedForDrag(cell) && !shift && !ctrl) {
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

CCellRange CGridCtrl::BlockOf(CCellID cell) const {
    const CGridCellBase* object = GetCell(cell.row, cell.col);
    if (object != nullptr && object->IsMerged() && m_model->IsValid(object->GetMergeRange())) {
        return object->GetMergeRange();
    }
    return CCellRange(cell.row, cell.col, cell.row, cell.col);
}

bool CGridCtrl::IsCellSelectedForDrag(CCellID cell) const {
    const CGridCellBase* object = GetCell(cell.row, cell.col);
    return object != nullptr && object->IsSelected();
}

void CGridCtrl::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    const GridSwitches& switches = m_model->Switches();
    if ((event->buttons() & Qt::LeftButton) == 0) {
        if (switches.columnResize && ColumnBorderAt(point) >= 0) {
            viewport()->setCursor(Qt::SplitHCursor);
        } else if (switches.rowResize && RowBorderAt(point) >= 0) {
            viewport()->setCursor(Qt::SplitVCursor);
        } else {
            viewport()->unsetCursor();
        }
        return;
    }
    const bool ctrl = (event->modifiers() & Qt::ControlModifier) != 0;
    switch (m_mouseMode) {
        case MouseMode::SizingColumn: {
            const int width = std::max(0, m_sizingStartSize + point.x() - m_mouseDownPoint.x());
            m_model->SetColumnWidth(m_sizingIndex, width);
            Refresh();
            break;
        }
        case MouseMode::SizingRow: {
            const int height = std::max(0, m_sizingStartSize + point.y() - m_mouseDownPoint.y());
            m_model->SetRowHeight(m_sizingIndex, height);
            Refresh();
            break;
        }
        case MouseMode::SelectingCells:
        case MouseMode::SelectingRows:
        case MouseMode::SelectingCols: {
            // Outside the window the grid scrolls towards the pointer.
            const QRect area = viewport()->rect();
            if (point.y() >= area.height()) {
                verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            } else if (point.y() < m_model->GetFixedRowHeight()) {
                verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
            }
            if (point.x() >= area.width()) {
                horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            } else if (point.x() < m_model->GetFixedColumnWidth()) {
                horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
            }
            const QPoint clamped(
                std::clamp(point.x(), m_model->GetFixedColumnWidth(), area.width() - 1),
                std::clamp(point.y(), m_model->GetFixedRowHeight(), area.height() - 1));
            CCellID cell = GetCellFromPt(clamped);
            if (!cell.IsValid() || cell == m_lastMouseCell) {
                break;
            }
            m_lastMouseCell = cell;
            if (m_mouseMode == MouseMode::SelectingRows) {
                SelectCells(m_selectionStart, CCellID(cell.row, GetColumnCount() - 1), ctrl);
                m_model->SetFocusCell(CCellID(cell.row, GetFixedColumnCount()));
            } else if (m_mouseMode == MouseMode::SelectingCols) {
                SelectCells(m_selectionStart, CCellID(GetRowCount() - 1, cell.col), ctrl);
                m_model->SetFocusCell(CCellID(GetFixedRowCount(), cell.col));
            } else {
                SelectCells(m_selectionStart, cell, ctrl);
            }
            break;
        }
        case MouseMode::PrepareDrag: {
            if ((point - m_mouseDownPoint).manhattanLength() <
                QApplication::styleHints()->startDragDistance()) {
                break;
            }
            m_mouseMode = MouseMode::Nothing;
            if (SendNotify(GVN_BEGINDRAG, m_lastMouseCell.row, m_lastMouseCell.col) < 0) {
                break;
            }
            auto* drag = new QDrag(this);
            auto* data = new QMimeData;
            data->setText(ToQString(CopyTextFromGrid()));
            drag->setMimeData(data);
            drag->exec(Qt::CopyAction);
            break;
        }
        default:
            break;
    }
}

void CGridCtrl::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        if (m_mouseMode == MouseMode::PrepareDrag) {
            // A click on a selected cell without a drag selects that cell alone.
            m_selectionStart = m_lastMouseCell;
            SelectCells(m_lastMouseCell, m_lastMouseCell, false);
        }
        m_mouseMode = MouseMode::Nothing;
        return;
    }
    if (event->button() != Qt::RightButton) {
        return;
    }
    EndEditing();
    const CCellID cell = GetCellFromPt(point);
    CCellID focus;
    if (cell.IsValid()) {
        focus = CCellID(std::max(cell.row, GetFixedRowCount()),
                        std::max(cell.col, GetFixedColumnCount()));
        focus = GetMergeCellID(focus);
        if (IsValid(focus.row, focus.col)) {
            if (!m_model->IsCellSelected(focus.row, focus.col)) {
                m_selectionStart = focus;
                SelectCells(focus, focus, false);
            } else {
                m_model->SetFocusCell(focus);
                viewport()->update();
            }
        } else {
            focus = CCellID();
        }
    }
    SendNotify(NM_RCLICK, focus.row, focus.col);
    m_cellRecord = GridCellRecord{this, cell.row, cell.col};
    SendMessageToParent(WM_GRID_RBUTTONUP, 0, reinterpret_cast<std::intptr_t>(&m_cellRecord));
}

void CGridCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const QPoint point = event->position().toPoint();
    const GridSwitches& switches = m_model->Switches();
    if (switches.columnResize) {
        const int col = ColumnBorderAt(point);
        if (col >= 0) {
            m_mouseMode = MouseMode::Nothing;
            AutoSizeColumn(col);
            return;
        }
    }
    if (switches.rowResize) {
        const int row = RowBorderAt(point);
        if (row >= 0) {
            m_mouseMode = MouseMode::Nothing;
            AutoSizeRow(row);
            return;
        }
    }
    const CCellID cell = GetCellFromPt(point);
    if (!cell.IsValid()) {
        return;
    }
    m_mouseMode = MouseMode::Nothing;
    SendNotify(NM_DBLCLK, cell.row, cell.col);
    if (!IsCellFixed(cell.row, cell.col)) {
        OnEditCell(cell.row, cell.col, kEditStartDoubleClick);
    }
}

void CGridCtrl::wheelEvent(QWheelEvent* event) {
    // Lines per notch: the desktop's "WheelScrollLines" setting; one line is one row.
    const int lines = std::max(1, QApplication::wheelScrollLines());
    const int notches = event->angleDelta().y() / 120;
    if (notches != 0) {
        const GridModel& grid = *m_model;
        const int fixedHeight = grid.GetFixedRowHeight();
        int top = grid.RowAtOffset(fixedHeight + static_cast<long long>(ScrollY()));
        if (top < 0) {
            top = grid.GetRowCount();
        }
        const int target =
            std::clamp(top - notches * lines, grid.GetFixedRowCount(), grid.GetRowCount());
        verticalScrollBar()->setValue(static_cast<int>(grid.RowTop(target) - fixedHeight));
    } else if (event->angleDelta().x() != 0) {
        horizontalScrollBar()->setValue(ScrollX() - event->angleDelta().x() / 120 * lines *
                                                        horizontalScrollBar()->singleStep());
    }
    event->accept();
}

// ---- keyboard

bool CGridCtrl::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        if ((keyEvent->key() == Qt::Key_Tab || keyEvent->key() == Qt::Key_Backtab) &&
            m_model->Switches().handleTabKey) {
            keyPressEvent(keyEvent);
            return true;
        }
    }
    if (event->type() == QEvent::ShortcutOverride) {
        // The grid's own shortcuts win over the window's.
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        if (keyEvent->matches(QKeySequence::Copy) || keyEvent->matches(QKeySequence::Cut) ||
            keyEvent->matches(QKeySequence::Paste) || keyEvent->matches(QKeySequence::SelectAll) ||
            keyEvent->key() == Qt::Key_Delete) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

bool CGridCtrl::viewportEvent(QEvent* event) {
    // Title tips: a text cut off by its cell shows whole in a tip.
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const CCellID cell = GetCellFromPt(help->pos());
        QRect rect;
        const CGridCellBase* object = GetCell(cell.row, cell.col);
        if (m_model->Switches().titleTips && object != nullptr && !object->GetText().empty() &&
            GetCellRect(cell.row, cell.col, rect) &&
            TextExtent(cell.row, cell.col).width() > rect.width()) {
            QToolTip::showText(help->globalPos(), ToQString(object->GetText()), viewport(), rect);
        } else {
            QToolTip::hideText();
        }
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

bool CGridCtrl::focusNextPrevChild(bool next) {
    if (m_model->Switches().handleTabKey) {
        return false;
    }
    return QAbstractScrollArea::focusNextPrevChild(next);
}

void CGridCtrl::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool ctrl = (event->modifiers() & Qt::ControlModifier) != 0;
    const bool shift = (event->modifiers() & Qt::ShiftModifier) != 0;
    if (ctrl) {
        switch (key) {
            case Qt::Key_C:
            case Qt::Key_Insert:
                OnEditCopy();
                return;
            case Qt::Key_X:
                OnEditCut();
                return;
            case Qt::Key_V:
                OnEditPaste();
                return;
            case Qt::Key_A:
                OnEditSelectAll();
                return;
            default:
                break;
        }
    }
    const CCellID focus = GetFocusCell();
    switch (key) {
        case Qt::Key_Delete:
            if (shift) {
                OnEditCut();
            } else {
                OnEditClear();
            }
            return;
        case Qt::Key_Insert:
            if (shift) {
                OnEditPaste();
                return;
            }
            break;
        case Qt::Key_F2:
            if (focus.IsValid()) {
                OnEditCell(focus.row, focus.col, Qt::Key_F2);
            }
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (focus.IsValid()) {
                OnEditCell(focus.row, focus.col, Qt::Key_Return);
            }
            return;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            if (m_model->Switches().handleTabKey) {
                MoveFocus(key, false, false);
                return;
            }
            break;
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
            MoveFocus(key, shift, ctrl);
            return;
        case Qt::Key_Escape:
            return;
        default:
            break;
    }
    const QString typed = event->text();
    if (!ctrl && !typed.isEmpty() && typed.at(0).isPrint() && focus.IsValid()) {
        OnEditCell(focus.row, focus.col, kEditStartCharacter, typed);
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void CGridCtrl::inputMethodEvent(QInputMethodEvent* event) {
    // Characters composed by an input method start an edit like typed ones.
    const CCellID focus = GetFocusCell();
    if (!event->commitString().isEmpty() && focus.IsValid()) {
        OnEditCell(focus.row, focus.col, kEditStartCharacter, event->commitString());
    }
    event->accept();
}

}  // namespace quarrant
