#pragma once

// A report's cells as text for the command line, as CSV and as an Excel workbook. Every grid
// row is written, the header row first, columns 0 to the last.

#include <string>
#include <string_view>

#include "base/Status.h"
#include "controls/GridModel.h"

namespace quarrant {

// Each row's cells joined by tabs, one line per row ending in "\n" (GBK).
std::string ReportTabText(const GridModel& grid);

// The rows as CSV for spreadsheets: UTF-8 with a byte-order mark, fields separated by commas
// and quoted when they hold a comma, a quote or a line break, lines ending in CR LF.
std::string ReportCsv(const GridModel& grid);

// The decimals a cell text shows when it is a plain number a spreadsheet may store as one
// ("12" 0, "-3.500" 3); -1 for every other text. Texts with leading zeros ("007") or more
// digits than a number keeps exactly stay texts.
int PlainNumberDecimals(std::string_view text);

// An Excel workbook of one sheet named after the report (GBK name): the header row bold and
// frozen, the grid's column widths, plain numbers stored as numbers showing the decimals of
// their text, every other cell as text. The file (GBK path) is replaced whole or left alone.
Status WriteReportXlsx(const GridModel& grid, std::string_view sheetName, std::string_view path);

}  // namespace quarrant
