#pragma once

// The CAD control: shows one CCadFile on a black background, zooms and scrolls it, and lets
// the user pick entities and measure paths and areas on it. The view maths and the mouse
// logic are in CadView and CadInteraction; this widget forwards its events to them, paints
// with CadRenderer and keeps the painted drawing as an image while only overlays change or
// the drawing is being dragged.

#include <QAbstractScrollArea>
#include <QCursor>
#include <QImage>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "cad/CadDrawing.h"
#include "cad/CadInteraction.h"
#include "cad/widgets/CadPicturePainter.h"
#include "cad/widgets/CadRenderer.h"

class QAction;
class QMenu;

namespace quarrant {

class CCadCtrl : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit CCadCtrl(QWidget* parent = nullptr);
    ~CCadCtrl() override;

    // Places the control over rect in parent with its control identifier.
    bool Create(const QRect& rect, QWidget* parent, int identifier);

    // The file shown (the control never owns it); none shows a black window. A new file
    // starts without selection and measurements, and so does a new drawing of the same file
    // object (noticed at the next paint).
    void SetFile(CCadFile* file);
    CCadFile* File() const { return m_file; }
    // The drawing's entities were changed in place: boxes and screen texts are rebuilt.
    void DrawingChanged();

    // --- View.
    bool SetScale(double scale);
    double Scale() const { return m_interaction.View().Scale(); }
    double FirstScale() const { return m_interaction.View().FirstScale(); }
    int OffsetX() const { return m_interaction.View().OffsetX(); }
    int OffsetY() const { return m_interaction.View().OffsetY(); }
    // Before the control has a size the fit is done on the first resize.
    void ZoomToFit();
    bool ZoomWindow(int left, int top, int right, int bottom);
    bool ZoomIn(double factor);
    bool ZoomOut(double factor);
    void ZoomInCentre();
    void ZoomOutCentre();
    // The wheel delta at the last mouse position (the drawing view forwards its wheel).
    void ZoomAtCursor(int delta);

    // --- Selection and measurement, for the other windows.
    void SetMode(int mode);
    int Mode() const { return m_interaction.Mode(); }
    void ClearSelection();
    bool SelectById(std::int32_t identifier);
    void SelectEachOnce(const std::vector<std::int32_t>& identifiers);
    bool MarkById(std::int32_t identifier);
    void ClearMarks();
    // The view of what is left to take off: the entities with these identifiers are painted
    // dimmed and every other one in its own colour, whatever the marked flags say (they may
    // be stale after an undo). Turns the view on, or gives it the set of the rows as they are
    // now; it stays on, through a new drawing too, until ClearCoverageView.
    void SetCoverageView(const std::vector<std::int32_t>& associated);
    // Back to the normal picture, marked entities in the marked colours.
    void ClearCoverageView();
    bool CoverageViewOn() const { return m_coverageOn; }
    const CCadSelection& Selection() const { return m_interaction.Selection(); }
    const CMeasurePath& CurrentPath() const { return m_interaction.CurrentPath(); }
    const std::vector<CMeasurePath>& ConfirmedPaths() const {
        return m_interaction.ConfirmedPaths();
    }
    // A popup command (33006 to 33020), for instance 33008 after a row was added.
    void OnCommand(int command);
    // Keys the drawing view passes on: Enter, Esc and the Ctrl toggle.
    void OnEnterKey();
    void OnEscapeKey();
    void SetToggle(bool on);
    // The line-count items of the measuring popup (projects of electrical installations).
    void SetLineCountsEnabled(bool enabled) { m_interaction.SetLineCountsEnabled(enabled); }

    CadInteraction& Interaction() { return m_interaction; }
    const CadInteraction& Interaction() const { return m_interaction; }

    // Paints what the window shows into an image of the client size (screenshots, tests,
    // benchmarks); the image is resized to the client size.
    void RenderClient(QImage& image);

    // Whether a whole paint of many entities is shared by two threads, each painting one half of
    // the window (off by default; it pays where a second core is free).
    void SetParallelPainting(bool on) { m_picture.SetParallel(on); }

    // Whether a snap moves the system cursor onto the snapped pixel (on by default).
    void SetCursorWarping(bool on) { m_cursorWarping = on; }

    // Tests take the place of the user at the popup menu: the handler gets the built menu and
    // returns the chosen action (or nullptr). Returns the previous handler.
    using PopupHandler = std::function<QAction*(QMenu& menu)>;
    static PopupHandler SetPopupHandler(PopupHandler handler);

    // How the last paint was made (for tests and the benchmark).
    enum class PaintKind { None, Full, Reused, Shifted };
    PaintKind LastPaintKind() const { return m_lastPaintKind; }
    bool LastPaintShared() const { return m_picture.LastPaintShared(); }

signals:
    // A point of a measured path or area was added by a click.
    void PointMeasured();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void Apply(const CadFeedback& feedback);
    void SyncScrollBars();
    void OnScrollAction(Qt::Orientation orientation, int action);
    void ShowPopup();
    void RunCommand(int command);
    void ViewChanged();
    void EntitiesChanged();
    bool Panning() const;
    void PaintClient(QPainter& painter, const QSize& size);
    void UpdateBase(const QSize& size);
    // Paints the entities meeting area into image (the client size), black behind them.
    void PaintEntitiesInto(QImage& image, const QRect& area);
    void SetModeCursor(CadCursor cursor);

    CadInteraction m_interaction;
    CadRenderer m_renderer;  // the overlays
    CadPicturePainter m_picture;
    CCadFile* m_file = nullptr;
    CCadIdentifierSet m_covered;  // only read while painting
    bool m_coverageOn = false;
    bool m_fitPending = false;
    bool m_cursorWarping = true;
    int m_wheelRemainder = 0;

    QCursor m_selectCursor;
    QCursor m_zoomCursor;
    QCursor m_moveCursor;
    QCursor m_measureCursor;

    // The painted drawing (background, entities, grips) and what it was painted for.
    QImage m_base;
    QImage m_strip;
    bool m_baseValid = false;
    bool m_baseShifted = false;
    const CCadDrawing* m_baseDrawing = nullptr;
    std::uint64_t m_baseVersion = 0;
    double m_baseScale = 0.0;
    int m_baseOffsetX = 0;
    int m_baseOffsetY = 0;
    std::uint64_t m_contentVersion = 1;
    PaintKind m_lastPaintKind = PaintKind::None;
};

}  // namespace quarrant
