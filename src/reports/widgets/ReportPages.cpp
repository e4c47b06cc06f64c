#include "reports/widgets/ReportPages.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPalette>
#include <QPrinter>
#include <QScreen>
#include <QTextLayout>
#include <QTextOption>

#include <unistd.h>
#include <atomic>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "base/FileIO.h"
#include "controls/GridCellBase.h"
#include "platform/ProgramFont.h"
#include "platform/QtText.h"

namespace quarrant {

namespace {

// The body and title sizes in tenths of a point.
constexpr int kBodyDecipoints = 105;
constexpr int kTitleDecipoints = 220;
// Cell texts are drawn at this height whatever their font says.
constexpr int kCellTextHeight = 14;
// Where the baseline of a title block line lies below its top, in ems ("宋体"'s ascent).
constexpr double kEmAscent = 0.86;

// Texts of the title block (GBK).
const char* const kProgramTitle =
    "\xE1\xB0\xB7\xE5\xBD\xE1\xB9\xB9\xCB\xE3\xC1\xBF";  // 岚峰结构算量
const char* const kDateFromLine =
    "\xB1\xE0\xD6\xC6\xC8\xD5\xC6\xDA\xA3\xBA\xC6\xF0        \xC4\xEA    \xD4\xC2    "
    "\xC8\xD5";  // 编制日期：起        年    月    日
const char* const kDateToLine =
    "          \xC6\xFD        \xC4\xEA    \xD4\xC2    \xC8\xD5";  // 讫        年    月    日
// "第%d页，共%d页"
QString PageNumberText(int page, int pages) {
    return ToQt("\xB5\xDA") + QString::number(page) + ToQt("\xD2\xB3\xA3\xAC\xB9\xB2") +
           QString::number(pages) + ToQt("\xD2\xB3");
}

int PixelsOfDecipoints(int decipoints) {
    return static_cast<int>(std::lround(decipoints * ScreenDpiY() / 720.0));
}

QFont PageFont(int decipoints, bool bold) {
    QFont font = ProgramFont();
    font.setPixelSize(PixelsOfDecipoints(decipoints));
    font.setBold(bold);
    // Metrics without hinting: the printer draws the widths the screen measured.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// A cell's font description, its height forced to 14.
QFont CellFont(const GridFont& description) {
    QFont font = PageFont(kBodyDecipoints, description.weight >= 600);
    if (!description.faceName.empty()) {
        // The cell's face first, the page font's stand-ins after it.
        QStringList families = font.families();
        families.prepend(ToQt(description.faceName));
        families.removeDuplicates();
        font.setFamilies(families);
    }
    font.setPixelSize(kCellTextHeight);
    font.setItalic(description.italic);
    font.setUnderline(description.underline);
    return font;
}

// How wrapped cell texts break: at words, and anywhere inside a word wider than the line.
QTextOption WrapOption(Qt::Alignment alignment) {
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setAlignment(alignment);
    return option;
}

// The lines the text takes drawn wrapped into width, as the page draws it.
int WrappedLineCount(const QString& text, const QFont& font, double width) {
    QTextLayout layout(text, font);
    layout.setTextOption(WrapOption(Qt::AlignLeft));
    layout.beginLayout();
    int lines = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        ++lines;
    }
    layout.endLayout();
    return lines;
}

const std::string& CellText(const GridModel& grid, int row, int col) {
    static const std::string empty;
    const CGridCellBase* cell = grid.GetCell(row, col);
    return cell != nullptr ? cell->GetText() : empty;
}

// One line of the title block. The block's places are measured for a font whose line is as
// high as its size (an em), as "宋体" is: the line's top is its em box's top, whatever font
// stands in for it.
void DrawBlockLine(QPainter& painter, const QFont& font, double top, int width, Qt::Alignment align,
                   const QString& text) {
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    const double em = font.pixelSize();
    const double advance = metrics.horizontalAdvance(text);
    double x = 0;
    if (align & Qt::AlignRight) {
        x = width - advance;
    } else if (align & Qt::AlignHCenter) {
        x = (width - advance) / 2;
    }
    painter.drawText(QPointF(x, top + em * kEmAscent), text);
}

void DrawTitleBlock(QPainter& painter, const PageGeometry& geometry, int page, int pages) {
    const int width = geometry.contentWidth;
    const QFont bold = PageBodyFont(true);
    const int h = geometry.pageHeight;
    painter.setPen(Qt::black);
    DrawBlockLine(painter, bold, 30, width, Qt::AlignLeft, ToQt(kProgramTitle));
    DrawBlockLine(painter, bold, h - 60, width, Qt::AlignRight, ToQt(kDateFromLine));
    DrawBlockLine(painter, bold, h - 40, width, Qt::AlignRight, ToQt(kDateToLine));
    DrawBlockLine(painter, bold, h - 40, width, Qt::AlignLeft, PageNumberText(page, pages));
}

void DrawHeading(QPainter& painter, const PageGeometry& geometry, const ReportPageTexts& texts) {
    const int width = geometry.contentWidth;
    painter.setPen(QPen(QGuiApplication::palette().color(QPalette::Shadow), 1));
    painter.drawLine(QPointF(0, 50), QPointF(width, 50));
    const QFont title = PageTitleFont();
    painter.setPen(Qt::black);
    DrawBlockLine(painter, title, 63, width, Qt::AlignHCenter, texts.reportName);
    DrawBlockLine(painter, PageBodyFont(true), 71 + title.pixelSize(), width, Qt::AlignLeft,
                  texts.projectLine);
}

// One cell: its border and its text. Header cells hold one centred line; data cells wrap.
void DrawCell(QPainter& painter, const GridModel& grid, const LayoutCell& cell, int row, int col,
              double x, double y, double tableBottom, bool header) {
    const double bottom = std::min(y + cell.height, tableBottom);
    if (bottom <= y) {
        return;
    }
    const QRectF rect(x, y, cell.width, bottom - y);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect);
    const std::string& gbk = CellText(grid, row, col);
    if (gbk.empty()) {
        return;
    }
    const QString text = ToQt(gbk);
    const QFont font = CellFont(grid.GetItemFont(row, col));
    painter.setFont(font);
    painter.save();
    painter.setClipRect(rect);
    if (header) {
        painter.drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, text);
        painter.restore();
        return;
    }
    const QFontMetricsF metrics(font);
    const double textWidth = metrics.horizontalAdvance(text);
    const double textHeight = metrics.height();
    const double available = std::max(1, cell.width - 15);
    QRectF textRect = rect.adjusted(10, 0, -5, 0);
    if (textWidth <= available) {
        painter.drawText(textRect, text, WrapOption(Qt::AlignLeft | Qt::AlignVCenter));
    } else {
        const double lines = std::max(std::ceil(textWidth / available),
                                      static_cast<double>(WrappedLineCount(text, font, available)));
        const double offset =
            textHeight * lines < cell.height - 10 ? (cell.height - textHeight * lines) / 2 : 5;
        textRect.setTop(y + offset);
        painter.drawText(textRect, text, WrapOption(Qt::AlignLeft | Qt::AlignTop));
    }
    painter.restore();
}

void DrawTablePart(QPainter& painter, const GridModel& grid, const PageLayout& layout,
                   const PageGeometry& geometry, int page) {
    if (layout.ColumnCount() == 0) {
        return;
    }
    const double tableBottom = geometry.TableBottom();
    const std::vector<int>& widths = layout.ColumnWidths();
    double y = PageGeometry::kTableTop;
    auto drawRow = [&](int gridRow, bool header) {
        double x = 0;
        for (int col = 0; col < layout.ColumnCount(); ++col) {
            const LayoutCell cell = layout.Cell(gridRow, col);
            if (cell.draw) {
                DrawCell(painter, grid, cell, gridRow, col, x, y, tableBottom, header);
            }
            x += widths[static_cast<std::size_t>(col)];
        }
        y += layout.RowHeight(gridRow);
    };
    for (int row = 0; row < layout.HeaderRowCount(); ++row) {
        drawRow(row, true);
    }
    const PageSpan span = layout.Page(page);
    for (int k = span.first; k <= span.last && y < tableBottom; ++k) {
        drawRow(k + layout.HeaderRowCount(), false);
    }
}

// A file of our own in the temporary folder, removed when it goes.
class TempFile {
public:
    explicit TempFile(const char* suffix) {
        static std::atomic<unsigned> serial{0};
        std::error_code ec;
        m_path = std::filesystem::temp_directory_path(ec);
        if (ec) {
            m_path = "/tmp";
        }
        m_path /= "quarrant-report-" + std::to_string(::getpid()) + "-" + std::to_string(serial++) +
                  suffix;
    }
    ~TempFile() {
        std::error_code ec;
        std::filesystem::remove(m_path, ec);
    }
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

}  // namespace

int ScreenDpiX() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? static_cast<int>(std::lround(screen->logicalDotsPerInchX())) : 96;
}

int ScreenDpiY() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? static_cast<int>(std::lround(screen->logicalDotsPerInchY())) : 96;
}

QFont PageBodyFont(bool bold) {
    return PageFont(kBodyDecipoints, bold);
}

QFont PageTitleFont() {
    return PageFont(kTitleDecipoints, true);
}

PageTextMeasure::PageTextMeasure() : m_font(PageBodyFont(false)) {
    m_height = QFontMetrics(m_font).height();
}

int PageTextMeasure::Width(std::string_view text) const {
    return static_cast<int>(std::ceil(QFontMetricsF(m_font).horizontalAdvance(ToQt(text))));
}

int PageTextMeasure::Lines(std::string_view text, int textWidth, int width) const {
    return std::max(TextMeasure::Lines(text, textWidth, width),
                    WrappedLineCount(ToQt(text), m_font, width));
}

PrinterMetrics MetricsOfPrinter(const QPrinter& printer) {
    PrinterMetrics metrics;
    metrics.screenDpiX = ScreenDpiX();
    metrics.screenDpiY = ScreenDpiY();
    const int resolution = std::max(1, printer.resolution());
    metrics.printerDpiX = resolution;
    metrics.printerDpiY = resolution;
    const QPageLayout layout = printer.pageLayout();
    const QRectF millimetres = layout.paintRect(QPageLayout::Millimeter);
    metrics.printableWidthMm = millimetres.width();
    metrics.printableHeightMm = millimetres.height();
    metrics.printableHeightPx = layout.paintRectPixels(resolution).height();
    return metrics;
}

void DrawReportPage(QPainter& painter, const GridModel& grid, const PageLayout& layout,
                    const PageGeometry& geometry, const ReportPageTexts& texts, int page) {
    painter.save();
    painter.setBackgroundMode(Qt::TransparentMode);
    DrawTitleBlock(painter, geometry, page, layout.PageCount());
    DrawTablePart(painter, grid, layout, geometry, page);
    DrawHeading(painter, geometry, texts);
    painter.restore();
}

void EnsurePageLayout(PageLayout& layout, GridModel& grid, const PageGeometry& geometry) {
    if (layout.IsBuilt() && layout.ContentWidth() == geometry.contentWidth &&
        layout.BodyHeight() == geometry.BodyHeight()) {
        return;
    }
    PageTextMeasure measure;
    layout.Build(grid, geometry.contentWidth, geometry.BodyHeight(), measure);
}

int PrintReportPages(QPrinter& printer, GridModel& grid, PageLayout& layout,
                     const ReportPageTexts& texts) {
    const PageGeometry geometry = ComputePageGeometry(MetricsOfPrinter(printer));
    if (geometry.pageWidth <= 0 || geometry.BodyHeight() <= 0) {
        return 0;
    }
    EnsurePageLayout(layout, grid, geometry);
    QPainter painter;
    if (!painter.begin(&printer)) {
        return 0;
    }
    const int pages = layout.PageCount();
    for (int page = 1; page <= pages; ++page) {
        if (page > 1 && !printer.newPage()) {
            painter.end();
            return 0;
        }
        painter.save();
        painter.scale(static_cast<double>(geometry.paperWidthPx) / geometry.pageWidth,
                      static_cast<double>(geometry.printableHeightPx) / geometry.pageHeight);
        painter.translate(geometry.leftMargin, 0);
        DrawReportPage(painter, grid, layout, geometry, texts, page);
        painter.restore();
    }
    painter.end();
    return pages;
}

bool WriteReportPdf(const QPrinter& pageSetup, GridModel& grid, PageLayout& layout,
                    const ReportPageTexts& texts, std::string_view path, std::string* message) {
    TempFile temp(".pdf");
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setResolution(pageSetup.resolution());
    pdf.setPageLayout(pageSetup.pageLayout());
    pdf.setCreator(QStringLiteral("Quarrant"));
    pdf.setDocName(texts.reportName);
    pdf.setOutputFileName(QString::fromStdString(temp.Path().string()));
    if (PrintReportPages(pdf, grid, layout, texts) == 0) {
        // "无法写入PDF文件：" (the PDF file cannot be written) + path
        *message =
            std::string("\xCE\xDE\xB7\xA8\xD0\xB4\xC8\xEB\x50\x44\x46\xCE\xC4\xBC\xFE\xA3\xBA") +
            std::string(path);
        return false;
    }
    Result<std::string> bytes = ReadWholeFile(ModelPath(temp.Path()));
    if (!bytes) {
        *message = bytes.Message();
        return false;
    }
    Status written = WriteFileAtomically(path, bytes.Value());
    if (!written) {
        *message = written.Message();
        return false;
    }
    return true;
}

}  // namespace quarrant
