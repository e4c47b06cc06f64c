#include "reports/ReportExport.h"

#include <xlsxwriter.h>

#include <unistd.h>
#include <algorithm>
#include <array>
#include <atomic>
#include <filesystem>
#include <system_error>

#include "base/CNumbers.h"
#include "base/FileIO.h"
#include "base/GbkText.h"
#include "controls/GridCellBase.h"

namespace quarrant {

namespace {

// "导出Excel文件失败：" (exporting the Excel file failed) + path + reason.
constexpr const char* kXlsxFailedText =
    "\xB5\xBC\xB3\xF6\x45\x78\x63\x65\x6C\xCE\xC4\xBC\xFE\xCA\xA7\xB0\xDC\xA3\xBA";
// "报表的行数超过了Excel工作表的上限" (the report has more rows than an Excel sheet holds).
constexpr const char* kTooManyRowsText =
    "\xB1\xA8\xB1\xED\xB5\xC4\xD0\xD0\xCA\xFD\xB3\xAC\xB9\xFD\xC1\xCB\x45\x78\x63\x65\x6C\xB9\xA4"
    "\xD7\xF7\xB1\xED\xB5\xC4\xC9\xCF\xCF\xDE";

// Excel's limits: rows of a sheet, characters of a cell, characters of a sheet name.
constexpr int kMaxSheetRows = 1048576;
constexpr std::size_t kMaxCellChars = 32767;
constexpr std::size_t kMaxSheetNameChars = 31;
// A double keeps 15 significant decimal digits exactly.
constexpr int kMaxExactDigits = 15;
constexpr int kMaxShownDecimals = 15;

const std::string& CellText(const GridModel& grid, int row, int col) {
    static const std::string empty;
    const CGridCellBase* cell = grid.GetCell(row, col);
    return cell != nullptr ? cell->GetText() : empty;
}

bool NeedsQuotes(std::string_view field) {
    return field.find_first_of(",\"\r\n") != std::string_view::npos;
}

// The first `limit` characters of a UTF-8 text.
std::string_view Utf8Prefix(std::string_view text, std::size_t limit) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            if (chars == limit) {
                return text.substr(0, i);
            }
            ++chars;
        }
    }
    return text;
}

// A sheet name Excel accepts: none of []:*?/\ and at most 31 characters.
std::string SheetNameOf(std::string_view gbkName) {
    std::string name = GbkToUtf8(gbkName);
    for (char& c : name) {
        if (std::string_view("[]:*?/\\").find(c) != std::string_view::npos) {
            c = '_';
        }
    }
    name = std::string(Utf8Prefix(name, kMaxSheetNameChars));
    return name.empty() ? std::string("Sheet1") : name;
}

std::string NumberFormatOf(int decimals) {
    std::string format = "0";
    if (decimals > 0) {
        format += '.';
        format.append(static_cast<std::size_t>(decimals), '0');
    }
    return format;
}

Status XlsxFailure(std::string_view path, const char* reason) {
    return Status::Failure(std::string(kXlsxFailedText) + std::string(path) + " (" + reason + ")");
}

// Writes the workbook to a file of its own; returns the library's error.
lxw_error WriteWorkbook(const GridModel& grid, const std::string& sheetName,
                        const std::string& file) {
    lxw_workbook_options options = {};
    options.constant_memory = LXW_TRUE;  // rows go to disk as they are written
    lxw_workbook* workbook = workbook_new_opt(file.c_str(), &options);
    if (workbook == nullptr) {
        return LXW_ERROR_CREATING_TMPFILE;
    }
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, sheetName.c_str());
    lxw_format* bold = workbook_add_format(workbook);
    format_set_bold(bold);
    std::array<lxw_format*, kMaxShownDecimals + 1> numberFormats{};
    for (int col = 0; col < grid.GetColumnCount(); ++col) {
        worksheet_set_column_pixels(sheet, static_cast<lxw_col_t>(col), static_cast<lxw_col_t>(col),
                                    static_cast<uint32_t>(std::max(0, grid.GetColumnWidth(col))),
                                    nullptr);
    }
    if (grid.GetFixedRowCount() > 0) {
        worksheet_freeze_panes(sheet, static_cast<lxw_row_t>(grid.GetFixedRowCount()), 0);
    }
    std::string utf8;
    for (int row = 0; row < grid.GetRowCount(); ++row) {
        const bool header = row < grid.GetFixedRowCount();
        for (int col = 0; col < grid.GetColumnCount(); ++col) {
            const std::string& text = CellText(grid, row, col);
            if (text.empty()) {
                continue;
            }
            const int decimals = header ? -1 : PlainNumberDecimals(text);
            const auto r = static_cast<lxw_row_t>(row);
            const auto c = static_cast<lxw_col_t>(col);
            if (decimals >= 0) {
                lxw_format*& format = numberFormats[static_cast<std::size_t>(decimals)];
                if (format == nullptr) {
                    format = workbook_add_format(workbook);
                    format_set_num_format(format, NumberFormatOf(decimals).c_str());
                }
                worksheet_write_number(sheet, r, c, AtofC(text), format);
                continue;
            }
            utf8 = GbkToUtf8(text);
            const std::string cellText(Utf8Prefix(utf8, kMaxCellChars));
            worksheet_write_string(sheet, r, c, cellText.c_str(), header ? bold : nullptr);
        }
    }
    return workbook_close(workbook);
}

}  // namespace

std::string ReportTabText(const GridModel& grid) {
    std::string text;
    for (int row = 0; row < grid.GetRowCount(); ++row) {
        for (int col = 0; col < grid.GetColumnCount(); ++col) {
            if (col > 0) {
                text += '\t';
            }
            text += CellText(grid, row, col);
        }
        text += '\n';
    }
    return text;
}

std::string ReportCsv(const GridModel& grid) {
    // Built in GBK and converted once: no GBK byte of a double-byte character is a comma, a
    // quote or a line break, so the quoting is the same in both.
    std::string gbk;
    for (int row = 0; row < grid.GetRowCount(); ++row) {
        for (int col = 0; col < grid.GetColumnCount(); ++col) {
            if (col > 0) {
                gbk += ',';
            }
            const std::string& field = CellText(grid, row, col);
            if (!NeedsQuotes(field)) {
                gbk += field;
                continue;
            }
            gbk += '"';
            for (char c : field) {
                if (c == '"') {
                    gbk += '"';
                }
                gbk += c;
            }
            gbk += '"';
        }
        gbk += "\r\n";
    }
    return "\xEF\xBB\xBF" + GbkToUtf8(gbk);
}

int PlainNumberDecimals(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && text[i] == '-') {
        ++i;
    }
    const std::size_t intStart = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        ++i;
    }
    const std::size_t intDigits = i - intStart;
    if (intDigits == 0 || (intDigits > 1 && text[intStart] == '0')) {
        return -1;  // no digits before the point, or leading zeros that a number would drop
    }
    int decimals = 0;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            ++i;
            ++decimals;
        }
        if (decimals == 0) {
            return -1;
        }
    }
    if (i != text.size() || static_cast<int>(intDigits) + decimals > kMaxExactDigits) {
        return -1;
    }
    return decimals;
}

Status WriteReportXlsx(const GridModel& grid, std::string_view sheetName, std::string_view path) {
    if (grid.GetRowCount() > kMaxSheetRows) {
        return Status::Failure(std::string(kXlsxFailedText) + std::string(path) + " (" +
                               kTooManyRowsText + ")");
    }
    // The library writes a file of its own; it then replaces the target in one step.
    std::error_code ec;
    std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
    if (ec) {
        temp = "/tmp";
    }
    static std::atomic<unsigned> serial{0};
    temp /=
        "quarrant-report-" + std::to_string(::getpid()) + "-" + std::to_string(serial++) + ".xlsx";
    const lxw_error error = WriteWorkbook(grid, SheetNameOf(sheetName), temp.string());
    if (error != LXW_NO_ERROR) {
        std::filesystem::remove(temp, ec);
        return XlsxFailure(path, lxw_strerror(error));
    }
    Result<std::string> bytes = ReadWholeFile(ModelPath(temp));
    std::filesystem::remove(temp, ec);
    if (!bytes) {
        return bytes.GetStatus();
    }
    return WriteFileAtomically(path, bytes.Value());
}

}  // namespace quarrant
