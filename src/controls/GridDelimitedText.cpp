#include "controls/GridDelimitedText.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "base/CNumbers.h"
#include "base/FileIO.h"
#include "controls/GridModel.h"

namespace quarrant {
namespace {

// The text without leading and trailing white space (the C isspace bytes).
std::string_view TrimField(std::string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsCSpace(text[first])) {
        ++first;
    }
    while (last > first && IsCSpace(text[last - 1])) {
        --last;
    }
    return text.substr(first, last - first);
}

// Lines ending at LF, a CR before it dropped; a final line without LF counts, nothing after
// the last LF gives no line.
std::vector<std::string_view> Lines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) {
            end = bytes.size();
        }
        std::string_view line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// Whether a new file could be made at the path: not a folder, in a folder that exists and takes
// new files. A save that fails where it could is a failure of writing.
bool CanCreateFile(std::string_view fileName) {
    const std::filesystem::path target = FsPath(fileName);
    std::error_code error;
    if (std::filesystem::is_directory(target, error)) {
        return false;
    }
    std::filesystem::path folder = target.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    return std::filesystem::is_directory(folder, error) && ::access(folder.c_str(), W_OK) == 0;
}

}  // namespace

Status SaveGridFile(const GridModel& grid, std::string_view fileName, char separator) {
    if (WriteFileAtomically(fileName, GridSaveText(grid, separator))) {
        return Status();
    }
    return Status::Failure(CanCreateFile(fileName) ? "Unable to save grid list"
                                                   : FileOpenErrorMessage(fileName));
}

Result<GridFileBytes> ReadGridFile(std::string_view fileName) {
    FileBytes file = ReadFileBytes(fileName);
    if (!file.opened) {
        return Status::Failure(FileOpenErrorMessage(fileName));
    }
    GridFileBytes grid;
    grid.bytes = std::move(file.bytes);
    if (!file.complete) {
        const std::size_t lastLineEnd = grid.bytes.rfind('\n');
        grid.bytes.resize(lastLineEnd == std::string::npos ? 0 : lastLineEnd + 1);
        grid.readStatus = Status::Failure("Unable to load grid data");
    }
    return grid;
}

std::string GridSaveText(const GridModel& grid, char separator) {
    std::string out;
    for (int row = 0; row < grid.GetRowCount(); ++row) {
        for (int col = 0; col < grid.GetColumnCount(); ++col) {
            if (col > 0) {
                out += separator;
            }
            if (const CGridCellBase* cell = grid.GetCell(row, col)) {
                out += cell->GetText();
            }
        }
        out += "\r\n";
    }
    return out;
}

std::vector<std::string> SplitGridLine(std::string_view line, char separator) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (start < line.size()) {
        std::size_t end = line.find(separator, start);
        if (end == std::string_view::npos) {
            end = line.size();
        }
        fields.emplace_back(line.substr(start, end - start));
        start = end + 1;
    }
    return fields;
}

void GridLoadText(GridModel& grid, std::string_view bytes, char separator) {
    grid.DeleteAllItems();
    const std::vector<std::string_view> lines = Lines(bytes);
    if (lines.empty()) {
        return;
    }
    for (const std::string& heading : SplitGridLine(lines[0], separator)) {
        grid.InsertColumn(heading, kDtCenter | kDtVCenter | kDtSingleLine);
    }
    for (std::size_t k = 1; k < lines.size(); ++k) {
        const std::vector<std::string> fields = SplitGridLine(lines[k], separator);
        const int row = grid.InsertRow(fields.empty() ? std::string() : fields[0]);
        for (std::size_t col = 0; col < fields.size(); ++col) {
            if (static_cast<int>(col) >= grid.GetColumnCount()) {
                break;
            }
            grid.SetItemText(row, static_cast<int>(col), fields[col]);
            grid.SetModified(true, row, static_cast<int>(col));
        }
    }
}

std::string BuildClipboardText(const GridModel& grid, const CCellRange& range) {
    std::string out;
    if (!grid.IsValid(range)) {
        return out;
    }
    for (int row = range.GetMinRow(); row <= range.GetMaxRow(); ++row) {
        if (grid.GetRowHeight(row) <= 0) {
            continue;
        }
        for (int col = range.GetMinCol(); col <= range.GetMaxCol(); ++col) {
            if (grid.GetColumnWidth(col) <= 0) {
                continue;
            }
            const CGridCellBase* cell = grid.GetCell(row, col);
            if (cell != nullptr && cell->IsSelected()) {
                out += cell->GetText();
            }
            if (col != range.GetMaxCol()) {
                out += '\t';
            }
        }
        if (row != range.GetMaxRow()) {
            out += '\n';
        }
    }
    return out;
}

CCellRange PasteGridText(GridModel& grid, int row, int col, std::string_view text,
                         const PasteValidator& store) {
    if (!grid.IsValid(row, col)) {
        return CCellRange();
    }
    CCellRange pasted;
    int targetRow = row;
    for (std::string_view line : Lines(text)) {
        while (targetRow < grid.GetRowCount() && grid.GetRowHeight(targetRow) == 0) {
            ++targetRow;
        }
        if (targetRow >= grid.GetRowCount()) {
            break;
        }
        int targetCol = col;
        std::size_t start = 0;
        while (start < line.size()) {
            std::size_t end = line.find_first_of("\t,", start);
            if (end == std::string_view::npos) {
                end = line.size();
            }
            while (targetCol < grid.GetColumnCount() && grid.GetColumnWidth(targetCol) == 0) {
                ++targetCol;
            }
            if (targetCol >= grid.GetColumnCount()) {
                break;
            }
            const std::string field(TrimField(line.substr(start, end - start)));
            store(targetRow, targetCol, field);
            grid.SetItemState(targetRow, targetCol,
                              grid.GetItemState(targetRow, targetCol) & ~kCellSelected);
            pasted = pasted.Union(CCellRange(targetRow, targetCol, targetRow, targetCol));
            ++targetCol;
            start = end + 1;
        }
        ++targetRow;
    }
    return pasted;
}

}  // namespace quarrant
