#pragma once

// CMyPreviewView: the print preview of a report, shown in place of the report window's panes
// while it is open. It draws one page at a time as the printer will print it, at one of three
// zoom steps, turns pages, and lets the user drag column and row borders; every change is
// written back into the report grid.

#include <QAbstractScrollArea>
#include <QPointF>

#include "reports/PageLayout.h"
#include "reports/widgets/ReportPages.h"

class QPrinter;

namespace quarrant {

class CGridCtrl;

class CMyPreviewView : public QAbstractScrollArea {
    Q_OBJECT

public:
    // The page between the view's edges and around the page, in screen pixels.
    static constexpr int kPageGap = 12;

    CMyPreviewView(CGridCtrl& grid, const QPrinter& printer, ReportPageTexts texts,
                   QWidget* parent = nullptr);

    // The page geometry and the layout, made when the first page is drawn (or now). False
    // when the printer's page leaves no room for a table.
    bool EnsureLayout();

    const PageGeometry& Geometry() const { return m_geometry; }
    const PageLayout& Layout() const { return m_layout; }
    PageLayout& Layout() { return m_layout; }
    const PreviewState& State() const { return m_state; }

    // The preview's commands: those of its bar (58112-58118) and of the report toolbar and
    // menu (32984, 32990-32993, 33012).
    static bool IsPreviewCommand(int id);
    bool IsCommandEnabled(int id) const;
    void OnCommand(int id);

    // The screen pixels of one logical unit at the current zoom step.
    double Scale() const;
    // The page's rectangle in the viewport.
    QRectF PageRect() const;
    // A viewport point in page coordinates (x from the table's left, y from the page's top),
    // and back.
    QPointF ToPage(const QPointF& viewportPoint) const;
    QPointF ToViewport(const QPointF& pagePoint) const;
    // The border the pointer is over, as the last mouse move found it.
    DragTarget HoverTarget() const { return m_hover; }

    // Draws the page shown onto any painter in viewport coordinates (an image in tests).
    void DrawPreview(QPainter& painter, const QRect& area);

signals:
    void CloseRequested();
    void PrintRequested();
    // A page turned, a zoom step changed or the layout changed.
    void StateChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    double FitScale() const;
    void UpdateScrollBars();
    void FinishDrag(const QPointF& pagePoint);
    void UpdateCursor();

    CGridCtrl& m_grid;
    const QPrinter& m_printer;
    ReportPageTexts m_texts;
    PageGeometry m_geometry;
    PageLayout m_layout;
    PreviewState m_state;
    bool m_geometryFixed = false;

    DragTarget m_hover;
    DragTarget m_drag;
    bool m_dragging = false;
    double m_dragLine = 0;  // where the dotted line stands (page units)
};

}  // namespace quarrant
