#pragma once

// Plain values of the grid's cell content: colours, text-drawing flags, cell state flags, the
// font description and the grid's rectangles. Toolkit-free: the widgets turn them into Qt
// values when they draw.

#include <cstdint>
#include <string>

#include "controls/TesselixExport.h"

namespace quarrant {

// A colour as the platform's colour word: 0x00BBGGRR. kClrDefault means "take the grid's or
// the default cell's colour".
using GridColor = std::uint32_t;
inline constexpr GridColor kClrDefault = 0xFF000000u;

constexpr GridColor GridRgb(int red, int green, int blue) {
    return static_cast<GridColor>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
constexpr int GridRed(GridColor color) {
    return static_cast<int>(color & 0xFF);
}
constexpr int GridGreen(GridColor color) {
    return static_cast<int>((color >> 8) & 0xFF);
}
constexpr int GridBlue(GridColor color) {
    return static_cast<int>((color >> 16) & 0xFF);
}

// Cell state flags.
inline constexpr unsigned kCellFocused = 0x01;
inline constexpr unsigned kCellSelected = 0x02;
inline constexpr unsigned kCellDropHighlighted = 0x04;
inline constexpr unsigned kCellReadOnly = 0x08;
inline constexpr unsigned kCellFixed = 0x10;
inline constexpr unsigned kCellModified = 0x80;

// Text-drawing flags of a cell's format (the platform's text-drawing flag values).
inline constexpr unsigned kDtLeft = 0x0000;
inline constexpr unsigned kDtCenter = 0x0001;
inline constexpr unsigned kDtRight = 0x0002;
inline constexpr unsigned kDtVCenter = 0x0004;
inline constexpr unsigned kDtBottom = 0x0008;
inline constexpr unsigned kDtWordBreak = 0x0010;
inline constexpr unsigned kDtSingleLine = 0x0020;
inline constexpr unsigned kDtNoPrefix = 0x0800;
inline constexpr unsigned kDtEndEllipsis = 0x8000;
// A new cell's format: single line, vertically centred, no prefix, end ellipsis.
inline constexpr unsigned kDefaultCellFormat =
    kDtSingleLine | kDtVCenter | kDtNoPrefix | kDtEndEllipsis;

// Which grid lines are drawn.
inline constexpr int kGridLinesNone = 0;
inline constexpr int kGridLinesHorizontal = 1;
inline constexpr int kGridLinesVertical = 2;
inline constexpr int kGridLinesBoth = 3;

// Auto-size styles: which cells are measured when sizing columns and rows.
inline constexpr int kAutoSizeDefault = 0;
inline constexpr int kAutoSizeHeader = 1;
inline constexpr int kAutoSizeData = 2;
inline constexpr int kAutoSizeBoth = 3;

// A font description; faceName is a model text (GBK). height is the character height in
// pixels, 0 for the default size; weight 400 is normal and 700 bold.
struct GridFont {
    std::string faceName;
    int height = 0;
    int weight = 400;
    bool italic = false;
    bool underline = false;

    bool operator==(const GridFont&) const = default;
};

// A rectangle with inclusive right and bottom edges: right = left + width - 1.
struct GridRect {
    int left = 0;
    int top = 0;
    int right = -1;
    int bottom = -1;

    int Width() const { return right - left + 1; }
    int Height() const { return bottom - top + 1; }
    bool Contains(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
    bool operator==(const GridRect&) const = default;
};

}  // namespace quarrant
