#pragma once

// The drawing of a report's printed pages, shared by the preview and the printer: the title
// block, the table part of one page and the footer, in logical units (pixels of the screen)
// with x = 0 one left margin inside the page. Printing sends every page to a QPrinter, a real
// printer or a PDF file.

#include <QFont>
#include <QString>

#include <string>
#include <string_view>

#include "controls/GridModel.h"
#include "reports/PageLayout.h"

class QPainter;
class QPrinter;

namespace quarrant {

// The screen's resolution, which logical units follow (96 without a screen).
int ScreenDpiX();
int ScreenDpiY();

// "宋体" at 10.5 points (the body) and 22 points (the title), sized in logical units.
QFont PageBodyFont(bool bold);
QFont PageTitleFont();

// Text sizes in the body font.
class PageTextMeasure final : public TextMeasure {
public:
    PageTextMeasure();
    int Width(std::string_view text) const override;
    int Height() const override { return m_height; }
    int Lines(std::string_view text, int textWidth, int width) const override;

private:
    QFont m_font;
    int m_height = 0;
};

// The resolutions and printable area a page geometry is computed from.
PrinterMetrics MetricsOfPrinter(const QPrinter& printer);

// What every page shows besides the table.
struct ReportPageTexts {
    QString reportName;   // the report's display name
    QString projectLine;  // "工程名称（type）：name"
};

// Draws page `page` (from 1). The painter's coordinates are logical units with x = 0 one left
// margin inside the page.
void DrawReportPage(QPainter& painter, const GridModel& grid, const PageLayout& layout,
                    const PageGeometry& geometry, const ReportPageTexts& texts, int page);

// Lays the table out for the page (unless layout already fits it) on first use.
void EnsurePageLayout(PageLayout& layout, GridModel& grid, const PageGeometry& geometry);

// Prints every page on printer, laid out by layout (built again when it was made for another
// page size). Returns the number of pages, 0 when the printer could not be started.
int PrintReportPages(QPrinter& printer, GridModel& grid, PageLayout& layout,
                     const ReportPageTexts& texts);

// The same pages as a PDF file (GBK path), written through QPrinter without any dialog and
// replacing the file whole; the page size and margins are those of pageSetup. False, with
// message set, on failure.
bool WriteReportPdf(const QPrinter& pageSetup, GridModel& grid, PageLayout& layout,
                    const ReportPageTexts& texts, std::string_view path, std::string* message);

}  // namespace quarrant
