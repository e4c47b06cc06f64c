#pragma once

// The grid's delimited text files and its clipboard text. Texts are model texts (GBK); nothing
// is quoted or escaped, so a cell text holding the separator or a line break does not survive
// a round trip.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Status.h"
#include "controls/CellRange.h"
#include "controls/TesselixExport.h"

namespace quarrant {

class GridModel;

// Every row from row 0 (fixed rows included) as one line: the cell texts of columns 0 on,
// separated by `separator`, each line ended by CR LF (the file is written in text mode).
TESSELIX_EXPORT std::string GridSaveText(const GridModel& grid, char separator);

// A field ends at the separator or at the line end; two separators in a row give an empty
// field; nothing after the last separator gives no field.
TESSELIX_EXPORT std::vector<std::string> SplitGridLine(std::string_view line, char separator);

// Rebuilds the grid from file bytes: deletes all items, creates one column per field of the
// first line (the field as heading, centred), then appends one row per further line: the first
// field as the row's heading in column 0, field k in column k, each cell marked modified.
// Lines end at LF (a CR before it is dropped) and may be of any length; fields beyond the
// last column are dropped. The caller sizes the columns afterwards.
TESSELIX_EXPORT void GridLoadText(GridModel& grid, std::string_view bytes, char separator);

// Writes GridSaveText to the file crash-safe: a failed save leaves the old file as it was.
// Fails with the framework's file error when the file cannot be created, else with "Unable to
// save grid list".
TESSELIX_EXPORT Status SaveGridFile(const GridModel& grid, std::string_view fileName,
                                    char separator);

// The bytes of a grid file for GridLoadText. readStatus fails with "Unable to load grid data"
// when the file opened but could not be read to its end (a folder, an input error); bytes then
// hold the complete lines read before the error.
struct GridFileBytes {
    std::string bytes;
    Status readStatus;
};
// Fails with the framework's file error when the file cannot be opened.
TESSELIX_EXPORT Result<GridFileBytes> ReadGridFile(std::string_view fileName);

// The clipboard text of a range, row by row: the text of each selected cell, "\t" after every
// column of the range but the last, "\n" after every row but the last. Rows of height 0 and
// columns of width 0 are left out.
TESSELIX_EXPORT std::string BuildClipboardText(const GridModel& grid, const CCellRange& range);

// Stores one pasted field into a cell through the grid's edit-validation path; returns whether
// the field was accepted.
using PasteValidator = std::function<bool(int row, int col, const std::string& text)>;

// Pastes clipboard text at (row, col): line k goes to the k-th row of non-zero height from row,
// field m (fields end at a tab or a comma) to the m-th column of non-zero width from col;
// fields beyond the grid are dropped; each field is trimmed of white space, handed to store
// and the cell deselected. Returns the pasted block (to be selected), invalid when nothing
// was pasted. The caller checks editability and read-only targets first.
TESSELIX_EXPORT CCellRange PasteGridText(GridModel& grid, int row, int col, std::string_view text,
                                         const PasteValidator& store);

}  // namespace quarrant
