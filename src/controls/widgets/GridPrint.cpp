// Printing of the grid by itself: a header with the window title and the application name, the
// rows scaled to the page with the fixed rows repeated on every page, and a footer with the page
// number and the date and time, framed by the seven print margin values.

#include <QCoreApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include <algorithm>
#include <ctime>

#include "controls/widgets/GridCtrl.h"
#include "controls/widgets/GridFonts.h"
#include "controls/widgets/GridPrintLayout.h"
#include "controls/widgets/InPlaceEdit.h"
#include "platform/ModalDialog.h"

namespace quarrant {

QString CGridCtrl::PrintHeaderTitle() const {
    for (const QWidget* window = parentWidget(); window != nullptr;
         window = window->parentWidget()) {
        if (!window->windowTitle().isEmpty()) {
            return window->windowTitle();
        }
    }
    return QString();
}

QString CGridCtrl::PrintFooterPageText(int page, int pageCount) {
    return QString::asprintf("Page %d of %d", page, pageCount);
}

QString CGridCtrl::PrintDateTimeText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[128];
    const std::size_t length = std::strftime(text, sizeof text, "%c", &local);
    return QString::fromLocal8Bit(text, static_cast<qsizetype>(length));
}

int CGridCtrl::OnBeginPrinting(QPainter& painter, QPrinter&) {
    EndEditing();
    m_print = std::make_unique<PrintLayout>();
    PrintLayout& layout = *m_print;
    QPaintDevice* device = painter.device();
    const int pageWidth = device->width();
    const int pageHeight = device->height();

    layout.boldFont = font();
    layout.boldFont.setBold(true);
    const QFontMetrics metrics(layout.boldFont, device);
    layout.lineHeight = metrics.height();
    layout.charWidth = metrics.averageCharWidth();

    const GridPrintMargins& margins = m_model->PrintMargins();
    const int left = margins.leftMargin * layout.charWidth;
    const int right = pageWidth - margins.rightMargin * layout.charWidth;
    const int top = margins.topMargin * layout.lineHeight;
    const int bottom = pageHeight - margins.bottomMargin * layout.lineHeight;
    const int gap = margins.gap * layout.lineHeight;
    const int width = std::max(1, right - left);
    layout.headerRect = QRect(left, top, width, margins.headerHeight * layout.lineHeight);
    const int footerHeight = margins.footerHeight * layout.lineHeight;
    layout.footerRect = QRect(left, bottom - footerHeight, width, footerHeight);
    const int gridTop = layout.headerRect.bottom() + 1 + gap;
    layout.gridRect =
        QRect(left, gridTop, width, std::max(1, layout.footerRect.top() - gap - gridTop));

    // Grid pixels become printer pixels at the ratio of the resolutions, narrowed when the
    // grid is wider than the page.
    const double resolution =
        static_cast<double>(device->logicalDpiX()) / std::max(1, logicalDpiX());
    const long long gridWidth = m_model->GetVirtualWidth();
    layout.scale = resolution;
    if (gridWidth > 0) {
        layout.scale = std::min(resolution, static_cast<double>(width) / gridWidth);
    }
    if (layout.scale <= 0) {
        layout.scale = 1.0;
    }

    // Pages: as many rows as fit below the repeated fixed rows.
    const int rows = GetRowCount();
    const int fixedRows = GetFixedRowCount();
    const double available = layout.gridRect.height() / layout.scale - m_model->GetFixedRowHeight();
    layout.firstRows.push_back(fixedRows);
    double used = 0;
    for (int row = fixedRows; row < rows; ++row) {
        const int height = GetRowHeight(row);
        if (height <= 0) {
            continue;
        }
        if (used > 0 && used + height > available) {
            layout.firstRows.push_back(row);
            used = 0;
        }
        used += height;
    }
    layout.endRow = rows;
    layout.title = PrintHeaderTitle();
    layout.dateTime = PrintDateTimeText();
    return static_cast<int>(layout.firstRows.size());
}

void CGridCtrl::OnPrint(QPainter& painter, QPrinter& printer, int page) {
    if (m_print == nullptr) {
        OnBeginPrinting(painter, printer);
    }
    const PrintLayout& layout = *m_print;
    const int pageCount = static_cast<int>(layout.firstRows.size());
    if (page < 1 || page > pageCount) {
        return;
    }

    // Header and footer in the bold font, each with its line.
    painter.save();
    painter.setFont(layout.boldFont);
    painter.setPen(QPen(Qt::black, 0));
    const QRect& header = layout.headerRect;
    painter.drawText(header, Qt::AlignHCenter | Qt::AlignVCenter, layout.title);
    painter.drawText(header, Qt::AlignRight | Qt::AlignVCenter,
                     QCoreApplication::applicationName());
    painter.drawLine(header.left(), header.bottom(), header.right(), header.bottom());
    const QRect& footer = layout.footerRect;
    painter.drawLine(footer.left(), footer.top(), footer.right(), footer.top());
    painter.drawText(footer, Qt::AlignLeft | Qt::AlignVCenter,
                     PrintFooterPageText(page, pageCount));
    painter.drawText(footer, Qt::AlignRight | Qt::AlignVCenter, layout.dateTime);
    painter.restore();

    // The rows of this page below the fixed rows, in grid pixels scaled to the page.
    const GridModel& grid = *m_model;
    const int firstRow = layout.firstRows[static_cast<std::size_t>(page - 1)];
    const int endRow =
        page < pageCount ? layout.firstRows[static_cast<std::size_t>(page)] : layout.endRow;
    const int fixedRows = grid.GetFixedRowCount();
    const int fixedHeight = grid.GetFixedRowHeight();
    const long long pageTop = grid.RowTop(firstRow);
    auto rowY = [&](int row) {
        return row < fixedRows ? static_cast<int>(grid.RowTop(row))
                               : static_cast<int>(fixedHeight + grid.RowTop(row) - pageTop);
    };
    const int areaWidth = static_cast<int>(layout.gridRect.width() / layout.scale);
    const int areaHeight = static_cast<int>(layout.gridRect.height() / layout.scale);

    painter.save();
    painter.translate(layout.gridRect.topLeft());
    painter.scale(layout.scale, layout.scale);
    PaintContext context;
    context.printing = true;
    context.defaultFont = ScreenPixelFont(font());
    context.defaultMetrics = QFontMetrics(context.defaultFont);
    context.defaultDescription = grid.GetDefaultCell(false, false)->GetFont();
    context.cellRect = [&grid, &rowY](int row, int col) {
        const CCellID cell(row, col);
        const CGridCellBase* object = grid.GetCell(row, col);
        const bool merged = object != nullptr && object->IsMerged();
        return QRect(static_cast<int>(grid.ColumnLeft(col)), rowY(row),
                     merged ? grid.GetMergeCellWidth(cell) : grid.GetColumnWidth(col),
                     merged ? grid.GetMergeCellHeight(cell) : grid.GetRowHeight(row));
    };
    const int lastCol = grid.GetColumnCount() - 1;
    if (endRow > firstRow && lastCol >= 0) {
        DrawCells(painter, CCellRange(firstRow, 0, endRow - 1, lastCol),
                  QRect(0, fixedHeight, areaWidth, std::max(0, areaHeight - fixedHeight)), context);
    }
    if (fixedRows > 0 && lastCol >= 0) {
        DrawCells(painter, CCellRange(0, 0, fixedRows - 1, lastCol),
                  QRect(0, 0, areaWidth, fixedHeight), context);
    }
    painter.restore();
}

void CGridCtrl::OnEndPrinting() {
    m_print.reset();
}

int CGridCtrl::Print(QPrinter* printer) {
    std::unique_ptr<QPrinter> own;
    if (printer == nullptr) {
        own = std::make_unique<QPrinter>(QPrinter::HighResolution);
        QPrintDialog dialog(own.get(), this);
        if (ExecModal(dialog) != QDialog::Accepted) {
            return 0;
        }
        printer = own.get();
    }
    QPainter painter;
    if (!painter.begin(printer)) {
        return 0;
    }
    const int pages = OnBeginPrinting(painter, *printer);
    for (int page = 1; page <= pages; ++page) {
        if (page > 1) {
            printer->newPage();
        }
        OnPrint(painter, *printer, page);
    }
    OnEndPrinting();
    painter.end();
    return pages;
}

}  // namespace quarrant
