#pragma once

// Private parts of the grid widget: what one paint keeps at hand, and the page layout of a
// print job.

#include <QFont>
#include <QFontMetrics>
#include <QLine>
#include <QRect>

#include <functional>
#include <vector>

#include "controls/widgets/GridCtrl.h"

namespace quarrant {

// What one paint keeps at hand: the default font with its metrics, the font last set on the
// painter, the grid lines to draw after the cells, and the merged masters already drawn.
struct CGridCtrl::PaintContext {
    bool printing = false;
    QFont defaultFont;
    QFontMetrics defaultMetrics{QFont()};
    const GridFont* defaultDescription = nullptr;
    bool painterHasDefaultFont = false;
    TextLayoutCache* cache = nullptr;
    QColor gridLineColor;
    std::vector<QLine> gridLines;
    std::vector<CCellID> drawnMasters;
    // Maps a cell to its rectangle; empty: the view's own geometry.
    std::function<QRect(int row, int col)> cellRect;
};

// Page layout of a grid print job, kept between OnBeginPrinting and OnEndPrinting.
struct CGridCtrl::PrintLayout {
    QFont boldFont;
    int lineHeight = 0;          // printer pixels of one line of the bold font
    int charWidth = 0;           // its average character width
    QRect headerRect;            // title and application name
    QRect gridRect;              // where the rows go
    QRect footerRect;            // page number and date
    double scale = 1.0;          // grid pixels to printer pixels
    std::vector<int> firstRows;  // first non-fixed row of each page
    int endRow = 0;              // one past the last printed row
    QString title;
    QString dateTime;
};

}  // namespace quarrant
