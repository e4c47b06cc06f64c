// Grid list files and clipboard texts of any bytes: a loaded grid with all its headings saves
// and loads again unchanged (an empty heading is no field of the file), and pasting never
// writes outside the grid.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "controls/GridDelimitedText.h"
#include "controls/GridModel.h"

using namespace quarrant;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    for (char separator : {'\t', ','}) {
        GridModel grid;
        GridLoadText(grid, text, separator);
        // The first line names the columns; a grid whose headings are all there is saved and
        // loaded again unchanged.
        bool headed = grid.GetColumnCount() > 0 && grid.GetRowCount() > 0;
        for (int col = 0; headed && col < grid.GetColumnCount(); ++col) {
            headed = !grid.GetItemText(0, col).empty();
        }
        if (!headed) {
            continue;
        }
        const std::string saved = GridSaveText(grid, separator);
        GridModel again;
        GridLoadText(again, saved, separator);
        if (GridSaveText(again, separator) != saved) {
            std::abort();
        }
    }

    GridModel target(4, 4, 1, 1);
    PasteGridText(target, 1, 1, text, [&](int row, int col, const std::string& field) {
        if (row < 1 || row >= target.GetRowCount() || col < 1 || col >= target.GetColumnCount()) {
            std::abort();
        }
        target.SetItemText(row, col, field);
        return true;
    });
    return 0;
}
