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
#include <optional>
#include <utility>

#include "controls/GridInteraction.h"
#include "controls/widgets/CellTextDrawing.h"
#include "controls/widgets/GridFonts.h"
#include "controls/widgets/GridPrintLayout.h"
#include "controls/widgets/InPlaceEdit.h"
#include "platform/MessageEvent.h"
#include "platform/QtText.h"

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

GridKey KeyOf(int key) {
    switch (key) {
        case Qt::Key_Up:
            return GridKey::Up;
        case Qt::Key_Down:
            return GridKey::Down;
        case Qt::Key_Left:
            return GridKey::Left;
        case Qt::Key_Right:
            return GridKey::Right;
        case Qt::Key_PageUp:
            return GridKey::PageUp;
        case Qt::Key_PageDown:
            return GridKey::PageDown;
        case Qt::Key_Home:
            return GridKey::Home;
        case Qt::Key_End:
            return GridKey::End;
        case Qt::Key_Tab:
            return GridKey::Tab;
        case Qt::Key_Backtab:
            return GridKey::Backtab;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return GridKey::Enter;
        case Qt::Key_F2:
            return GridKey::F2;
        case Qt::Key_Delete:
            return GridKey::Delete;
        case Qt::Key_Insert:
            return GridKey::Insert;
        case Qt::Key_Escape:
            return GridKey::Escape;
        case Qt::Key_C:
            return GridKey::C;
        case Qt::Key_X:
            return GridKey::X;
        case Qt::Key_V:
            return GridKey::V;
        case Qt::Key_A:
            return GridKey::A;
        default:
            return GridKey::None;
    }
}

// The Qt key the edit box is told started it: Enter, F2 or the navigation key that ended the
// edit before; 0 for any other.
int QtKeyOf(GridKey key) {
    switch (key) {
        case GridKey::Up:
            return Qt::Key_Up;
        case GridKey::Down:
            return Qt::Key_Down;
        case GridKey::Left:
            return Qt::Key_Left;
        case GridKey::Right:
            return Qt::Key_Right;
        case GridKey::PageUp:
            return Qt::Key_PageUp;
        case GridKey::PageDown:
            return Qt::Key_PageDown;
        case GridKey::Tab:
            return Qt::Key_Tab;
        case GridKey::Backtab:
            return Qt::Key_Backtab;
        case GridKey::Enter:
            return Qt::Key_Return;
        case GridKey::F2:
            return Qt::Key_F2;
        default:
            return 0;
    }
}

GridEditStart EditStartOf(int startKey) {
    if (startKey == kEditStartDoubleClick) {
        return GridEditStart{GridEditStart::Way::DoubleClick};
    }
    if (startKey == kEditStartCharacter) {
        return GridEditStart{GridEditStart::Way::Character};
    }
    return GridEditStart{GridEditStart::Way::Key, KeyOf(startKey)};
}

int StartKeyOf(GridEditStart start) {
    switch (start.way) {
        case GridEditStart::Way::DoubleClick:
            return kEditStartDoubleClick;
        case GridEditStart::Way::Character:
            return kEditStartCharacter;
        default:
            return QtKeyOf(start.key);
    }
}

GridPoint PointOf(const QPointF& position) {
    const QPoint point = position.toPoint();
    return GridPoint{point.x(), point.y()};
}

}  // namespace

// What the grid's rules ask of the window.
class CGridCtrl::Host final : public GridHost {
public:
    explicit Host(CGridCtrl& grid) : m_grid(grid) {}

    GridViewport Viewport() const override {
        return GridViewport{m_grid.ScrollX(), m_grid.ScrollY(), m_grid.viewport()->width(),
                            m_grid.viewport()->height()};
    }
    void SetScrollPosition(bool vertical, int position) override {
        (vertical ? m_grid.verticalScrollBar() : m_grid.horizontalScrollBar())->setValue(position);
    }
    void ScrollStep(bool vertical, int direction) override {
        (vertical ? m_grid.verticalScrollBar() : m_grid.horizontalScrollBar())
            ->triggerAction(direction > 0 ? QAbstractSlider::SliderSingleStepAdd
                                          : QAbstractSlider::SliderSingleStepSub);
    }
    std::intptr_t Notify(int code, int row, int col) override {
        return m_grid.SendNotify(code, row, col);
    }
    void RightButtonUp(int row, int col) override {
        m_grid.m_cellRecord = GridCellRecord{&m_grid, row, col};
        m_grid.SendMessageToParent(WM_GRID_RBUTTONUP, 0,
                                   reinterpret_cast<std::intptr_t>(&m_grid.m_cellRecord));
    }
    bool EditEnded(int row, int col) override {
        m_grid.m_cellRecord = GridCellRecord{&m_grid, row, col};
        const QPointer<CGridCtrl> alive(&m_grid);
        m_grid.SendMessageToParent(WM_GRID_ENDEDIT, 0,
                                   reinterpret_cast<std::intptr_t>(&m_grid.m_cellRecord));
        return alive != nullptr;
    }
    void Repaint() override { m_grid.viewport()->update(); }
    void RepaintCell(int row, int col) override { m_grid.RedrawCell(row, col); }
    void SizesChanged() override { m_grid.Refresh(); }
    bool ValidateEdit(int row, int col, const std::string& text) override {
        return m_grid.ValidateEdit(row, col, text);
    }
    void OpenEditor(int row, int col, const GridRect& rect, GridEditStart start) override {
        m_grid.OpenEditor(row, col, ToQRect(rect), StartKeyOf(start));
    }
    void CloseEditor() override { m_grid.EndEditing(); }
    void TakeFocus(bool byMouse) override {
        m_grid.setFocus(byMouse ? Qt::MouseFocusReason : Qt::OtherFocusReason);
    }
    void AutoSizeColumn(int col) override { m_grid.AutoSizeColumn(col); }
    void AutoSizeRow(int row) override { m_grid.AutoSizeRow(row); }
    int DragDistance() const override { return QApplication::styleHints()->startDragDistance(); }
    void StartDrag() override {
        auto* drag = new QDrag(&m_grid);
        auto* data = new QMimeData;
        data->setText(ToQt(m_grid.CopyTextFromGrid()));
        drag->setMimeData(data);
        drag->exec(Qt::CopyAction);
    }
    void Clipboard(GridClipboardCommand command) override {
        switch (command) {
            case GridClipboardCommand::Copy:
                m_grid.OnEditCopy();
                break;
            case GridClipboardCommand::Cut:
                m_grid.OnEditCut();
                break;
            case GridClipboardCommand::Paste:
                m_grid.OnEditPaste();
                break;
        }
    }

private:
    CGridCtrl& m_grid;
};

CGridCtrl::CGridCtrl(int rows, int cols, int fixedRows, int fixedCols, QWidget* parent)
    : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_model = std::make_unique<GridModel>(0, 0, 0, 0, MeasureMetrics());
    m_host = std::make_unique<Host>(*this);
    m_interaction = std::make_unique<GridInteraction>(*m_model, *m_host);
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
    m_interaction->SetModel(*m_model);
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
    m_interaction->ForgetSelectionStart();
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
    const QStringList lines = ToQt(cell->GetText()).split(QLatin1Char('\n'));
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
    m_interaction->SelectAllCells();
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
    m_interaction->EnsureVisible(row, col);
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
        DrawCellText(painter, textRect, cell->GetFormat(), ToQt(value), context.defaultMetrics,
                     context.cache);
        return;
    }
    QFont cellFont = FontFor(description);
    if (printing) {
        cellFont = ScreenPixelFont(cellFont);
    }
    painter.setFont(cellFont);
    context.painterHasDefaultFont = false;
    DrawCellText(painter, textRect, cell->GetFormat(), ToQt(value), QFontMetrics(cellFont),
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
    m_firstChars = firstChars;
    m_interaction->EditCell(row, col, EditStartOf(startKey));
    m_firstChars.clear();
}

void CGridCtrl::OpenEditor(int row, int col, const QRect& rect, int startKey) {
    const CGridCellBase* object = GetCell(row, col);
    m_edit = new CInPlaceEdit(this, viewport(), rect, object->GetFormat(), font(),
                              ToQt(object->GetText()), row, col, startKey,
                              std::exchange(m_firstChars, QString()));
}

void CGridCtrl::EndEditing() {
    if (m_edit != nullptr) {
        m_edit->EndEdit(0);
    }
}

void CGridCtrl::OnEndInPlaceEdit(int row, int col, const QString& text, int lastKey) {
    const bool hadFocus = m_edit != nullptr && m_edit->hasFocus();
    m_edit = nullptr;
    // Compared as shown: a text that does not convert both ways stays as it was unless the
    // user changed it.
    std::optional<std::string> newText;
    if (const CGridCellBase* cell = GetCell(row, col); cell && text != ToQt(cell->GetText())) {
        newText = FromQt(text);
    }
    m_interaction->EditEnded(row, col, newText, KeyOf(lastKey), hadFocus || lastKey != 0);
}

// ---- mouse

void CGridCtrl::mousePressEvent(QMouseEvent* event) {
    m_interaction->ButtonDown(PointOf(event->position()), event->button() == Qt::LeftButton,
                              (event->modifiers() & Qt::ShiftModifier) != 0,
                              (event->modifiers() & Qt::ControlModifier) != 0);
}

void CGridCtrl::mouseMoveEvent(QMouseEvent* event) {
    const GridPoint point = PointOf(event->position());
    if ((event->buttons() & Qt::LeftButton) == 0) {
        switch (m_interaction->Hover(point)) {
            case GridCursor::SizeColumn:
                viewport()->setCursor(Qt::SplitHCursor);
                break;
            case GridCursor::SizeRow:
                viewport()->setCursor(Qt::SplitVCursor);
                break;
            case GridCursor::Normal:
                viewport()->unsetCursor();
                break;
        }
        return;
    }
    m_interaction->LeftDrag(point, (event->modifiers() & Qt::ControlModifier) != 0);
}

void CGridCtrl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_interaction->LeftButtonUp();
    } else if (event->button() == Qt::RightButton) {
        m_interaction->RightButtonUp(PointOf(event->position()));
    }
}

void CGridCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_interaction->DoubleClick(PointOf(event->position()));
    }
}

void CGridCtrl::wheelEvent(QWheelEvent* event) {
    // Lines per notch: the desktop's "WheelScrollLines" setting; one line is one row.
    const int lines = std::max(1, QApplication::wheelScrollLines());
    const int notches = event->angleDelta().y() / 120;
    if (notches != 0) {
        verticalScrollBar()->setValue(m_interaction->WheelScrollY(notches, lines));
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
            QToolTip::showText(help->globalPos(), ToQt(object->GetText()), viewport(), rect);
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
    const bool ctrl = (event->modifiers() & Qt::ControlModifier) != 0;
    const bool shift = (event->modifiers() & Qt::ShiftModifier) != 0;
    if (m_interaction->KeyPress(KeyOf(event->key()), shift, ctrl)) {
        return;
    }
    const QString typed = event->text();
    const CCellID focus = GetFocusCell();
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
