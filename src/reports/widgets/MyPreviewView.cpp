#include "reports/widgets/MyPreviewView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

#include "controls/widgets/GridCtrl.h"
#include "platform/CommandTables.h"
#include "reports/widgets/PreviewBar.h"

namespace quarrant {

namespace {

// A border counts as hit within this many screen pixels of the pointer.
constexpr double kHitPixels = 2.0;

}  // namespace

CMyPreviewView::CMyPreviewView(CGridCtrl& grid, const QPrinter& printer, ReportPageTexts texts,
                               QWidget* parent)
    : QAbstractScrollArea(parent), m_grid(grid), m_printer(printer), m_texts(std::move(texts)) {
    setObjectName(QStringLiteral("MyPreviewView"));
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    setFocusPolicy(Qt::StrongFocus);
}

bool CMyPreviewView::EnsureLayout() {
    if (m_geometryFixed) {
        return true;
    }
    const PageGeometry geometry = ComputePageGeometry(MetricsOfPrinter(m_printer));
    if (geometry.pageWidth <= 0 || geometry.contentWidth <= 0 || geometry.BodyHeight() <= 0) {
        return false;
    }
    m_geometry = geometry;
    m_geometryFixed = true;
    EnsurePageLayout(m_layout, m_grid.Model(), m_geometry);
    m_grid.Refresh();
    m_state.SetPageCount(m_layout.PageCount());
    UpdateScrollBars();
    emit StateChanged();
    return true;
}

bool CMyPreviewView::IsPreviewCommand(int id) {
    switch (id) {
        case kCmdPreviewClose:
        case kCmdPreviewNext:
        case kCmdPreviewPrevious:
        case kCmdPreviewPrint:
        case kCmdPreviewZoomIn:
        case kCmdPreviewZoomOut:
        case kCmdPrint:
        case kCmdZoomOutPage:
        case kCmdZoomInPage:
        case kCmdPreviousPage:
        case kCmdNextPage:
        case kCmdClosePreview:
            return true;
        default:
            return false;
    }
}

bool CMyPreviewView::IsCommandEnabled(int id) const {
    switch (id) {
        case kCmdPreviewNext:
        case kCmdNextPage:
            return m_state.CanNextPage();
        case kCmdPreviewPrevious:
        case kCmdPreviousPage:
            return m_state.CanPreviousPage();
        case kCmdPreviewZoomIn:
        case kCmdZoomInPage:
            return m_state.CanZoomIn();
        case kCmdPreviewZoomOut:
        case kCmdZoomOutPage:
            return m_state.CanZoomOut();
        default:
            return IsPreviewCommand(id);
    }
}

void CMyPreviewView::OnCommand(int id) {
    EnsureLayout();
    bool changed = false;
    switch (id) {
        case kCmdPreviewNext:
        case kCmdNextPage:
            changed = m_state.NextPage();
            break;
        case kCmdPreviewPrevious:
        case kCmdPreviousPage:
            changed = m_state.PreviousPage();
            break;
        case kCmdPreviewZoomIn:
        case kCmdZoomInPage:
            changed = m_state.ZoomIn();
            break;
        case kCmdPreviewZoomOut:
        case kCmdZoomOutPage:
            changed = m_state.ZoomOut();
            break;
        case kCmdPreviewPrint:
        case kCmdPrint:
            emit PrintRequested();
            return;
        case kCmdPreviewClose:
        case kCmdClosePreview:
            emit CloseRequested();
            return;
        default:
            return;
    }
    if (changed) {
        m_hover = DragTarget{};
        UpdateScrollBars();
        viewport()->update();
        emit StateChanged();
    }
}

double CMyPreviewView::FitScale() const {
    if (m_geometry.pageWidth <= 0 || m_geometry.pageHeight <= 0) {
        return 1.0;
    }
    const QSize size = viewport()->size();
    const double across = static_cast<double>(size.width() - 2 * kPageGap) / m_geometry.pageWidth;
    const double down = static_cast<double>(size.height() - 2 * kPageGap) / m_geometry.pageHeight;
    return std::max(0.05, std::min(across, down));
}

double CMyPreviewView::Scale() const {
    // The whole page; then at least the page's real size on the screen; then twice that.
    const double fit = FitScale();
    const double middle = std::max(1.0, fit * 1.5);
    switch (m_state.ZoomStep()) {
        case 0:
            return fit;
        case 1:
            return middle;
        default:
            return std::max(2.0, middle * 1.6);
    }
}

QRectF CMyPreviewView::PageRect() const {
    const double scale = Scale();
    const double width = m_geometry.pageWidth * scale;
    const double height = m_geometry.pageHeight * scale;
    const QSize size = viewport()->size();
    const double x =
        std::max<double>(kPageGap, (size.width() - width) / 2) - horizontalScrollBar()->value();
    const double y =
        std::max<double>(kPageGap, (size.height() - height) / 2) - verticalScrollBar()->value();
    return QRectF(x, y, width, height);
}

QPointF CMyPreviewView::ToPage(const QPointF& viewportPoint) const {
    const QRectF page = PageRect();
    const double scale = Scale();
    return QPointF((viewportPoint.x() - page.x()) / scale - m_geometry.leftMargin,
                   (viewportPoint.y() - page.y()) / scale);
}

QPointF CMyPreviewView::ToViewport(const QPointF& pagePoint) const {
    const QRectF page = PageRect();
    const double scale = Scale();
    return QPointF(page.x() + (pagePoint.x() + m_geometry.leftMargin) * scale,
                   page.y() + pagePoint.y() * scale);
}

void CMyPreviewView::UpdateScrollBars() {
    const QSize size = viewport()->size();
    const double scale = Scale();
    const int width = static_cast<int>(std::ceil(m_geometry.pageWidth * scale)) + 2 * kPageGap;
    const int height = static_cast<int>(std::ceil(m_geometry.pageHeight * scale)) + 2 * kPageGap;
    horizontalScrollBar()->setRange(0, std::max(0, width - size.width()));
    horizontalScrollBar()->setPageStep(size.width());
    verticalScrollBar()->setRange(0, std::max(0, height - size.height()));
    verticalScrollBar()->setPageStep(size.height());
    verticalScrollBar()->setSingleStep(20);
    horizontalScrollBar()->setSingleStep(20);
}

void CMyPreviewView::DrawPreview(QPainter& painter, const QRect& area) {
    painter.fillRect(area, palette().color(QPalette::Dark));
    if (!m_geometryFixed) {
        return;
    }
    const QRectF page = PageRect();
    painter.fillRect(page.translated(3, 3), QColor(0, 0, 0, 90));
    painter.fillRect(page, Qt::white);
    const double scale = Scale();
    painter.save();
    painter.setClipRect(page);
    painter.translate(page.topLeft());
    painter.scale(scale, scale);
    painter.translate(m_geometry.leftMargin, 0);
    DrawReportPage(painter, m_grid.Model(), m_layout, m_geometry, m_texts, m_state.Page());
    if (m_dragging) {
        QPen dots(Qt::black, 0);  // one screen pixel at every zoom step
        dots.setStyle(Qt::DotLine);
        painter.setPen(dots);
        const PageSpan span = m_layout.Page(m_state.Page());
        double tableBottom = PageGeometry::kTableTop + m_layout.TotalHeaderHeight();
        for (int k = span.first; k <= span.last; ++k) {
            tableBottom += m_layout.DataHeights()[static_cast<std::size_t>(k)];
        }
        tableBottom = std::min<double>(tableBottom, m_geometry.TableBottom());
        double tableRight = 0;
        for (int width : m_layout.ColumnWidths()) {
            tableRight += width;
        }
        if (m_drag.mode == DragMode::kColumn) {
            painter.drawLine(QPointF(m_dragLine, PageGeometry::kTableTop),
                             QPointF(m_dragLine, tableBottom));
        } else {
            painter.drawLine(QPointF(0, m_dragLine), QPointF(tableRight, m_dragLine));
        }
    }
    painter.restore();
}

void CMyPreviewView::paintEvent(QPaintEvent*) {
    EnsureLayout();
    QPainter painter(viewport());
    DrawPreview(painter, viewport()->rect());
}

void CMyPreviewView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void CMyPreviewView::scrollContentsBy(int, int) {
    viewport()->update();
}

void CMyPreviewView::UpdateCursor() {
    const DragMode mode = m_dragging ? m_drag.mode : m_hover.mode;
    switch (mode) {
        case DragMode::kColumn:
            viewport()->setCursor(Qt::SizeHorCursor);
            break;
        case DragMode::kHeaderRow:
        case DragMode::kDataRow:
            viewport()->setCursor(Qt::SizeVerCursor);
            break;
        default:
            viewport()->setCursor(Qt::ArrowCursor);
            break;
    }
}

void CMyPreviewView::mouseMoveEvent(QMouseEvent* event) {
    if (!m_geometryFixed) {
        return;
    }
    const QPointF point = ToPage(event->position());
    if (m_dragging) {
        const double pos = m_drag.mode == DragMode::kColumn ? point.x() : point.y();
        m_dragLine = m_layout.ClampDragLine(m_drag, pos, m_state.Page(), m_geometry.TableBottom());
        viewport()->update();
        return;
    }
    m_hover = m_layout.HitBorder(point.x(), point.y(), m_state.Page(), kHitPixels / Scale());
    UpdateCursor();
}

void CMyPreviewView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_geometryFixed) {
        return;
    }
    const QPointF point = ToPage(event->position());
    m_hover = m_layout.HitBorder(point.x(), point.y(), m_state.Page(), kHitPixels / Scale());
    if (m_hover.mode == DragMode::kNone) {
        return;
    }
    m_drag = m_hover;
    m_dragging = true;
    m_dragLine = m_layout.BorderPosition(m_drag, m_state.Page());
    UpdateCursor();
}

void CMyPreviewView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_dragging) {
        return;
    }
    FinishDrag(ToPage(event->position()));
}

void CMyPreviewView::FinishDrag(const QPointF& pagePoint) {
    const double pos = m_drag.mode == DragMode::kColumn ? pagePoint.x() : pagePoint.y();
    m_dragLine = m_layout.ClampDragLine(m_drag, pos, m_state.Page(), m_geometry.TableBottom());
    const int delta =
        static_cast<int>(std::lround(m_dragLine - m_layout.BorderPosition(m_drag, m_state.Page())));
    m_dragging = false;
    if (delta != 0 && m_layout.ApplyDrag(m_drag, delta)) {
        m_layout.WriteSizes(m_grid.Model());
        m_layout.Recompute(m_grid.Model(), m_geometry.BodyHeight());
        m_grid.Refresh();
        m_state.SetPageCount(m_layout.PageCount());
        emit StateChanged();
    }
    m_drag = DragTarget{};
    m_hover = DragTarget{};
    UpdateCursor();
    viewport()->update();
}

}  // namespace quarrant
