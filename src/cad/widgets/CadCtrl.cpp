#include "cad/widgets/CadCtrl.h"

#include <QApplication>
#include <QBitmap>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <utility>

#include "base/CNumbers.h"
#include "cad/widgets/SetXianDlg.h"
#include "platform/ModalDialog.h"
#include "platform/QtText.h"

namespace quarrant {

namespace {

CCadCtrl::PopupHandler& PopupHandlerSlot() {
    static CCadCtrl::PopupHandler handler;
    return handler;
}

// A 64 x 64 cursor with its hot spot in the middle, drawn black on a white outline: draw()
// paints the figure with the given pen width.
QCursor MakeCursor(const std::function<void(QPainter&)>& draw) {
    constexpr int kSize = 64;
    QBitmap figure(kSize, kSize);
    QBitmap mask(kSize, kSize);
    figure.fill(Qt::color0);
    mask.fill(Qt::color0);
    {
        QPainter painter(&mask);
        painter.setPen(QPen(Qt::color1, 3));
        painter.setBrush(Qt::NoBrush);
        draw(painter);
    }
    {
        QPainter painter(&figure);
        painter.setPen(QPen(Qt::color1, 1));
        painter.setBrush(Qt::NoBrush);
        draw(painter);
    }
    return QCursor(figure, mask, 32, 32);
}

QCursor SelectCursor() {
    // A cross hair with the pick box of three pixels around the hot spot.
    return MakeCursor([](QPainter& p) {
        p.drawLine(32, 12, 32, 27);
        p.drawLine(32, 37, 32, 52);
        p.drawLine(12, 32, 27, 32);
        p.drawLine(37, 32, 52, 32);
        p.drawRect(29, 29, 6, 6);
    });
}

QCursor ZoomCursor() {
    // A magnifying glass around the hot spot with a plus in it.
    return MakeCursor([](QPainter& p) {
        p.drawEllipse(QPoint(32, 32), 9, 9);
        p.drawLine(39, 39, 50, 50);
        p.drawLine(28, 32, 36, 32);
        p.drawLine(32, 28, 32, 36);
    });
}

QCursor MoveCursor() {
    // Four arrows.
    return MakeCursor([](QPainter& p) {
        p.drawLine(32, 16, 32, 48);
        p.drawLine(16, 32, 48, 32);
        p.drawLine(32, 16, 28, 20);
        p.drawLine(32, 16, 36, 20);
        p.drawLine(32, 48, 28, 44);
        p.drawLine(32, 48, 36, 44);
        p.drawLine(16, 32, 20, 28);
        p.drawLine(16, 32, 20, 36);
        p.drawLine(48, 32, 44, 28);
        p.drawLine(48, 32, 44, 36);
    });
}

QCursor MeasureCursor() {
    // A thin cross hair with a ruler tick.
    return MakeCursor([](QPainter& p) {
        p.drawLine(32, 8, 32, 56);
        p.drawLine(8, 32, 56, 32);
        p.drawLine(40, 40, 52, 40);
        p.drawLine(40, 38, 40, 42);
        p.drawLine(52, 38, 52, 42);
    });
}

CadPixel PixelOf(const QPointF& position) {
    return CadPixel{static_cast<int>(std::floor(position.x())),
                    static_cast<int>(std::floor(position.y()))};
}

}  // namespace

CCadCtrl::PopupHandler CCadCtrl::SetPopupHandler(PopupHandler handler) {
    PopupHandler previous = std::move(PopupHandlerSlot());
    PopupHandlerSlot() = std::move(handler);
    return previous;
}

CCadCtrl::CCadCtrl(QWidget* parent) : QAbstractScrollArea(parent) {
    setObjectName(QStringLiteral("MFCCadCtrl"));
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAttribute(Qt::WA_NoSystemBackground);
    viewport()->setAutoFillBackground(false);
    m_selectCursor = SelectCursor();
    m_zoomCursor = ZoomCursor();
    m_moveCursor = MoveCursor();
    m_measureCursor = MeasureCursor();
    viewport()->setCursor(m_selectCursor);
    for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()}) {
        bar->setSingleStep(10);
        bar->setRange(0, 0);
    }
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { OnScrollAction(Qt::Horizontal, action); });
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { OnScrollAction(Qt::Vertical, action); });
    m_interaction.View().SetClientSize(viewport()->width(), viewport()->height());
}

CCadCtrl::~CCadCtrl() {
    // The selection's flags live in the drawing, which outlives the control.
    m_interaction.ClearSelection();
}

bool CCadCtrl::Create(const QRect& rect, QWidget* parent, int identifier) {
    setParent(parent);
    setGeometry(rect);
    setProperty("controlId", identifier);
    show();
    return true;
}

void CCadCtrl::SetFile(CCadFile* file) {
    m_file = file;
    m_interaction.SetDrawing(file != nullptr ? file->drawing.get() : nullptr);
    m_picture.ForgetTexts();
    m_baseValid = false;
    ++m_contentVersion;
    SyncScrollBars();
    viewport()->update();
}

void CCadCtrl::DrawingChanged() {
    SetFile(m_file);
}

// --- View.

void CCadCtrl::ViewChanged() {
    SyncScrollBars();
    viewport()->update();
}

void CCadCtrl::EntitiesChanged() {
    ++m_contentVersion;
    viewport()->update();
}

bool CCadCtrl::SetScale(double scale) {
    const bool changed = m_interaction.View().SetScale(scale);
    if (changed) {
        ViewChanged();
    }
    return changed;
}

void CCadCtrl::ZoomToFit() {
    if (viewport()->width() <= 0 || viewport()->height() <= 0 || !isVisible()) {
        // Fitted when the window gets its size.
        m_fitPending = true;
    }
    m_interaction.View().SetClientSize(viewport()->width(), viewport()->height());
    Apply(m_interaction.ZoomToFit());
}

bool CCadCtrl::ZoomWindow(int left, int top, int right, int bottom) {
    const bool changed = m_interaction.View().ZoomWindow(left, top, right, bottom);
    if (changed) {
        ViewChanged();
    }
    return changed;
}

bool CCadCtrl::ZoomIn(double factor) {
    const bool changed = m_interaction.View().ZoomIn(factor);
    if (changed) {
        ViewChanged();
    }
    return changed;
}

bool CCadCtrl::ZoomOut(double factor) {
    const bool changed = m_interaction.View().ZoomOut(factor);
    if (changed) {
        ViewChanged();
    }
    return changed;
}

void CCadCtrl::ZoomInCentre() {
    Apply(m_interaction.ZoomInCentre());
}

void CCadCtrl::ZoomOutCentre() {
    Apply(m_interaction.ZoomOutCentre());
}

void CCadCtrl::ZoomAtCursor(int delta) {
    Apply(m_interaction.Wheel(delta));
}

// --- Operations of the other windows.

void CCadCtrl::SetMode(int mode) {
    m_interaction.SetMode(mode);
    SetModeCursor(CadCursor::Unchanged);
    viewport()->update();
}

void CCadCtrl::ClearSelection() {
    m_interaction.ClearSelection();
    EntitiesChanged();
}

bool CCadCtrl::SelectById(std::int32_t identifier) {
    const bool found = m_interaction.SelectById(identifier);
    if (found) {
        ++m_contentVersion;
    }
    return found;
}

void CCadCtrl::SelectEachOnce(const std::vector<std::int32_t>& identifiers) {
    m_interaction.SelectEachOnce(identifiers);
    ++m_contentVersion;
}

bool CCadCtrl::MarkById(std::int32_t identifier) {
    const bool found = m_interaction.MarkById(identifier);
    if (found) {
        ++m_contentVersion;
    }
    return found;
}

void CCadCtrl::ClearMarks() {
    m_interaction.ClearMarks();
    ++m_contentVersion;
}

void CCadCtrl::SetCoverageView(const std::vector<std::int32_t>& associated) {
    m_covered = CCadIdentifierSet(associated);
    m_coverageOn = true;
    EntitiesChanged();
}

void CCadCtrl::ClearCoverageView() {
    if (!m_coverageOn) {
        return;
    }
    m_covered = CCadIdentifierSet();
    m_coverageOn = false;
    EntitiesChanged();
}

void CCadCtrl::OnCommand(int command) {
    RunCommand(command);
}

void CCadCtrl::OnEnterKey() {
    Apply(m_interaction.EnterKey());
}

void CCadCtrl::OnEscapeKey() {
    Apply(m_interaction.EscapeKey());
}

void CCadCtrl::SetToggle(bool on) {
    m_interaction.SetToggle(on);
}

void CCadCtrl::RunCommand(int command) {
    if (command == kCmdCustomLines) {
        // The dialog is offered only when there is a point to give the count to; closing it
        // without OK leaves the count as it was.
        if (!m_interaction.CurrentPath().points.empty()) {
            CSetXianDlg dialog(this);
            if (ExecModal(dialog) == QDialog::Accepted) {
                m_interaction.SetLastPointLineCount(AtoiC(dialog.Text()));
            }
        }
    }
    Apply(m_interaction.Command(command));
}

// --- Events.

void CCadCtrl::Apply(const CadFeedback& feedback) {
    if (feedback.entitiesChanged) {
        ++m_contentVersion;
    }
    if (feedback.viewChanged) {
        SyncScrollBars();
    }
    if (feedback.moveCursor && m_cursorWarping) {
        QCursor::setPos(
            viewport()->mapToGlobal(QPoint(feedback.cursorTarget.x, feedback.cursorTarget.y)));
    }
    SetModeCursor(feedback.cursor);
    if (feedback.repaint || feedback.viewChanged || feedback.entitiesChanged) {
        viewport()->update();
    }
}

void CCadCtrl::SetModeCursor(CadCursor cursor) {
    switch (cursor) {
        case CadCursor::Unchanged: {
            const int mode = m_interaction.Mode();
            if (mode == kModeSelect) {
                viewport()->setCursor(m_selectCursor);
            } else if (mode == kModeRealTimeZoom || mode == kModeWindowZoom) {
                viewport()->setCursor(m_zoomCursor);
            } else if (mode == kModeMove) {
                viewport()->setCursor(m_moveCursor);
            } else {
                viewport()->setCursor(m_measureCursor);
            }
            break;
        }
        case CadCursor::Select:
            viewport()->setCursor(m_selectCursor);
            break;
        case CadCursor::Zoom:
            viewport()->setCursor(m_zoomCursor);
            break;
        case CadCursor::Move:
            viewport()->setCursor(m_moveCursor);
            break;
        case CadCursor::Measure:
            viewport()->setCursor(m_measureCursor);
            break;
        case CadCursor::Hidden:
            viewport()->setCursor(Qt::BlankCursor);
            break;
    }
}

void CCadCtrl::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    m_interaction.View().SetClientSize(viewport()->width(), viewport()->height());
    if (m_fitPending && viewport()->width() > 0 && viewport()->height() > 0) {
        m_fitPending = false;
        m_interaction.ZoomToFit();
    }
    SyncScrollBars();
    viewport()->update();
}

void CCadCtrl::mousePressEvent(QMouseEvent* event) {
    const CadPixel p = PixelOf(event->position());
    setFocus(Qt::MouseFocusReason);
    switch (event->button()) {
        case Qt::LeftButton: {
            const int pointsBefore = m_interaction.PointCounter();
            Apply(m_interaction.LeftButtonDown(p));
            if (m_interaction.PointCounter() != pointsBefore) {
                emit PointMeasured();
            }
            break;
        }
        case Qt::MiddleButton:
            Apply(m_interaction.MiddleButtonDown(p));
            break;
        case Qt::RightButton:
            ShowPopup();
            break;
        default:
            break;
    }
    event->accept();
}

void CCadCtrl::mouseMoveEvent(QMouseEvent* event) {
    Apply(m_interaction.MouseMove(PixelOf(event->position())));
    event->accept();
}

void CCadCtrl::mouseReleaseEvent(QMouseEvent* event) {
    const CadPixel p = PixelOf(event->position());
    if (event->button() == Qt::LeftButton) {
        Apply(m_interaction.LeftButtonUp(p, (event->modifiers() & Qt::ControlModifier) != 0));
    } else if (event->button() == Qt::MiddleButton) {
        Apply(m_interaction.MiddleButtonUp(p));
    }
    event->accept();
}

void CCadCtrl::wheelEvent(QWheelEvent* event) {
    // Whole notches of 120; finer wheels add up until one is complete.
    m_wheelRemainder += event->angleDelta().y();
    while (m_wheelRemainder >= 120 || m_wheelRemainder <= -120) {
        const int notch = m_wheelRemainder > 0 ? 120 : -120;
        m_wheelRemainder -= notch;
        Apply(m_interaction.Wheel(notch));
    }
    event->accept();
}

void CCadCtrl::keyPressEvent(QKeyEvent* event) {
    const bool keypad = (event->modifiers() & Qt::KeypadModifier) != 0;
    switch (event->key()) {
        case Qt::Key_Equal:
            Apply(m_interaction.ZoomKey(13));
            break;
        case Qt::Key_Plus:
            Apply(m_interaction.ZoomKey(keypad ? 78 : 13));
            break;
        case Qt::Key_Minus:
            Apply(m_interaction.ZoomKey(keypad ? 74 : 12));
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            OnEnterKey();
            break;
        case Qt::Key_Escape:
            OnEscapeKey();
            break;
        case Qt::Key_Control:
            SetToggle(true);
            break;
        default:
            QAbstractScrollArea::keyPressEvent(event);
            return;
    }
    event->accept();
}

void CCadCtrl::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Control) {
        SetToggle(false);
        event->accept();
        return;
    }
    QAbstractScrollArea::keyReleaseEvent(event);
}

void CCadCtrl::contextMenuEvent(QContextMenuEvent* event) {
    // The popup opens on the right button press.
    event->accept();
}

void CCadCtrl::scrollContentsBy(int /*dx*/, int /*dy*/) {
    // The offsets are the view's; the scroll bars only follow them.
}

void CCadCtrl::ShowPopup() {
    const std::vector<CadMenuItem> items = m_interaction.PopupMenu();
    QMenu menu(this);
    for (const CadMenuItem& item : items) {
        if (item.IsSeparator()) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(ToQt(item.text));
        action->setData(item.command);
    }
    QAction* chosen = nullptr;
    if (PopupHandlerSlot()) {
        PopupHandler handler = PopupHandlerSlot();
        chosen = handler(menu);
    } else {
        chosen = menu.exec(QCursor::pos());
    }
    if (chosen != nullptr && chosen->data().isValid()) {
        RunCommand(chosen->data().toInt());
    }
}

// --- Scroll bars.

void CCadCtrl::SyncScrollBars() {
    const CadView& view = m_interaction.View();
    QScrollBar* horizontal = horizontalScrollBar();
    QScrollBar* vertical = verticalScrollBar();
    const QSignalBlocker blockHorizontal(horizontal);
    const QSignalBlocker blockVertical(vertical);
    horizontal->setRange(0, view.ScrollMaximum(CadView::Axis::Horizontal));
    vertical->setRange(0, view.ScrollMaximum(CadView::Axis::Vertical));
    horizontal->setPageStep(std::max(1, viewport()->width()));
    vertical->setPageStep(std::max(1, viewport()->height()));
    horizontal->setValue(view.OffsetX());
    vertical->setValue(view.OffsetY());
}

void CCadCtrl::OnScrollAction(Qt::Orientation orientation, int action) {
    QScrollBar* bar = orientation == Qt::Horizontal ? horizontalScrollBar() : verticalScrollBar();
    CadView::ScrollCode code = CadView::ScrollCode::Other;
    switch (action) {
        case QAbstractSlider::SliderSingleStepSub:
            code = CadView::ScrollCode::LineUp;
            break;
        case QAbstractSlider::SliderSingleStepAdd:
            code = CadView::ScrollCode::LineDown;
            break;
        case QAbstractSlider::SliderPageStepSub:
            code = CadView::ScrollCode::PageUp;
            break;
        case QAbstractSlider::SliderPageStepAdd:
            code = CadView::ScrollCode::PageDown;
            break;
        case QAbstractSlider::SliderMove:
            code = CadView::ScrollCode::ThumbTrack;
            break;
        default:
            break;
    }
    CadView& view = m_interaction.View();
    const CadView::Axis axis =
        orientation == Qt::Horizontal ? CadView::Axis::Horizontal : CadView::Axis::Vertical;
    const bool changed = view.Scroll(axis, code, bar->sliderPosition());
    // The thumb shows the offset, whatever the bar computed for itself.
    bar->setSliderPosition(
        std::clamp(axis == CadView::Axis::Horizontal ? view.OffsetX() : view.OffsetY(),
                   bar->minimum(), bar->maximum()));
    if (changed) {
        setFocus(Qt::OtherFocusReason);
        viewport()->update();
    }
}

// --- Painting.

bool CCadCtrl::Panning() const {
    return m_interaction.MiddleDrag() ||
           (m_interaction.Mode() == kModeMove && m_interaction.ButtonDown());
}

void CCadCtrl::UpdateBase(const QSize& size) {
    const CadView& view = m_interaction.View();
    const CCadDrawing* drawing = m_interaction.Drawing();
    const bool sameContent = m_baseValid && m_base.size() == size && m_baseDrawing == drawing &&
                             m_baseVersion == m_contentVersion && m_baseScale == view.Scale();
    const int dx = view.OffsetX() - m_baseOffsetX;
    const int dy = view.OffsetY() - m_baseOffsetY;
    const bool panning = Panning();
    if (sameContent && dx == 0 && dy == 0 && (!m_baseShifted || panning)) {
        m_lastPaintKind = PaintKind::Reused;
        return;
    }
    const QRect whole(QPoint(0, 0), size);
    if (sameContent && panning && std::abs(dx) < size.width() && std::abs(dy) < size.height()) {
        // While the drawing is dragged: the picture moves by the drag and only the uncovered
        // strips are painted afresh. Lines crossing the former window edge may differ by a
        // pixel from a fresh paint; the paint after the drag is a fresh one.
        QImage next(size, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&next);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(QPoint(-dx, -dy), m_base);
        const QRect kept = whole.intersected(whole.translated(-dx, -dy));
        std::vector<QRect> strips;
        if (kept.top() > 0) {
            strips.emplace_back(0, 0, size.width(), kept.top());
        }
        if (kept.bottom() < whole.bottom()) {
            strips.emplace_back(0, kept.bottom() + 1, size.width(), whole.bottom() - kept.bottom());
        }
        if (kept.left() > 0) {
            strips.emplace_back(0, kept.top(), kept.left(), kept.height());
        }
        if (kept.right() < whole.right()) {
            strips.emplace_back(kept.right() + 1, kept.top(), whole.right() - kept.right(),
                                kept.height());
        }
        if (m_strip.size() != size) {
            m_strip = QImage(size, QImage::Format_ARGB32_Premultiplied);
        }
        for (const QRect& strip : strips) {
            // Painted on a whole-window image so that every line is cut at the window's edges
            // as in a whole paint, then only the strip is taken over.
            PaintEntitiesInto(m_strip, strip);
            painter.drawImage(strip.topLeft(), m_strip, strip);
        }
        painter.end();
        m_base = std::move(next);
        m_baseShifted = true;
        m_lastPaintKind = PaintKind::Shifted;
    } else {
        if (m_base.size() != size || m_base.format() != QImage::Format_ARGB32_Premultiplied) {
            m_base = QImage(size, QImage::Format_ARGB32_Premultiplied);
        }
        PaintEntitiesInto(m_base, whole);
        m_baseShifted = false;
        m_lastPaintKind = PaintKind::Full;
    }
    m_baseValid = true;
    m_baseDrawing = drawing;
    m_baseVersion = m_contentVersion;
    m_baseScale = view.Scale();
    m_baseOffsetX = view.OffsetX();
    m_baseOffsetY = view.OffsetY();
}

void CCadCtrl::PaintEntitiesInto(QImage& image, const QRect& area) {
    m_picture.Paint(image, area, *m_interaction.Drawing(), m_interaction.View(),
                    m_interaction.Index(), m_coverageOn ? &m_covered : nullptr);
}

void CCadCtrl::PaintClient(QPainter& painter, const QSize& size) {
    if (m_file != nullptr && m_file->drawing.get() != m_interaction.Drawing()) {
        // The file got another drawing (an import into the same file object): start afresh
        // rather than show the old one.
        SetFile(m_file);
    }
    CCadDrawing* drawing = m_interaction.Drawing();
    if (m_file == nullptr || drawing == nullptr || size.isEmpty()) {
        painter.fillRect(QRect(QPoint(0, 0), size), Qt::black);
        CadRenderer::PaintRubberBand(painter, m_interaction.RubberBand());
        m_lastPaintKind = PaintKind::None;
        return;
    }
    m_file->scale = m_interaction.View().Scale();
    UpdateBase(size);
    painter.drawImage(QPoint(0, 0), m_base);
    m_renderer.PaintMeasurements(painter, m_interaction);
    CadRenderer::PaintRubberBand(painter, m_interaction.RubberBand());
    if (m_interaction.RubberLineShown()) {
        CadRenderer::PaintRubberLine(painter, m_interaction.RubberAnchor(),
                                     m_interaction.RubberEnd());
    }
}

void CCadCtrl::paintEvent(QPaintEvent* /*event*/) {
    m_interaction.View().SetClientSize(viewport()->width(), viewport()->height());
    QPainter painter(viewport());
    PaintClient(painter, viewport()->size());
}

void CCadCtrl::RenderClient(QImage& image) {
    const QSize size = viewport()->size();
    if (image.size() != size) {
        image = QImage(size, QImage::Format_ARGB32_Premultiplied);
    }
    m_interaction.View().SetClientSize(size.width(), size.height());
    QPainter painter(&image);
    PaintClient(painter, size);
}

}  // namespace quarrant
