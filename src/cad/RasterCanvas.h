#pragma once

// Blends the strokes of the drawing straight into 32-bit premultiplied ARGB pixels (the
// memory layout of a painting library's premultiplied image): one-pixel lines and paths in a
// half-transparent colour, and glyph coverage masks. This is the hot path of the CAD
// control's paint, kept free of any toolkit.
//
// Which pixels a line lights depends only on the line: the pixel holding each end point, and
// between them one pixel per column (or row, for a steep line) on the line through the end
// points. The clip only leaves pixels out, so a picture painted in pieces (two threads, the
// strips uncovered by a pan) is the same as one painted whole.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quarrant {

// An ARGB colour (0xAARRGGBB) with its colour channels multiplied by its alpha.
std::uint32_t PremultiplyArgb(std::uint32_t argb);

// Where a glyph run has ink: for each row, runs of pixels with their coverage (1..255).
class CoverageMask {
public:
    struct Run {
        std::int32_t x = 0;        // first pixel of the run, from the mask's left edge
        std::int32_t length = 0;   // pixels
        std::uint32_t offset = 0;  // index of the run's first coverage byte
    };

    // Takes the alpha channel of 32-bit pixels (alpha in the top byte) as coverage. The
    // anchor is the point of the mask that is placed on the target point when blending.
    static CoverageMask FromAlpha(const std::uint32_t* pixels, int width, int height,
                                  std::ptrdiff_t stridePixels, int anchorX, int anchorY);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int AnchorX() const { return m_anchorX; }
    int AnchorY() const { return m_anchorY; }
    // Memory the mask holds, for a cache's budget.
    std::size_t Bytes() const;
    // The pixels with ink.
    std::size_t InkPixels() const { return m_coverage.size(); }

    // Runs of row y: [RowBegin(y), RowEnd(y)) into Runs().
    std::size_t RowBegin(int y) const { return m_rowStart[static_cast<std::size_t>(y)]; }
    std::size_t RowEnd(int y) const { return m_rowStart[static_cast<std::size_t>(y) + 1]; }
    const std::vector<Run>& Runs() const { return m_runs; }
    const std::uint8_t* Coverage() const { return m_coverage.data(); }

private:
    int m_width = 0;
    int m_height = 0;
    int m_anchorX = 0;
    int m_anchorY = 0;
    std::vector<std::uint32_t> m_rowStart{0};
    std::vector<Run> m_runs;
    std::vector<std::uint8_t> m_coverage;
};

class RasterCanvas {
public:
    struct Point {
        double x = 0.0;
        double y = 0.0;
    };

    // pixels: the top-left pixel; stridePixels: pixels from one row to the next. The clip
    // starts as the whole target.
    RasterCanvas(std::uint32_t* pixels, int width, int height, std::ptrdiff_t stridePixels);

    // Pixels outside [left, right) x [top, bottom) (within the target) are left alone.
    void SetClip(int left, int top, int right, int bottom);

    // Lights the pixels of the line from a to b (pixel coordinates: pixel (i, j) covers
    // [i, i + 1) x [j, j + 1)) with a premultiplied colour. Lines with an infinite or NaN end
    // are not drawn.
    void Line(Point a, Point b, std::uint32_t premultiplied);
    // A path through the points: every pixel of a joint is lit once, and a path that comes
    // back to the pixel it started from does not light that pixel twice.
    void Path(const Point* points, std::size_t count, std::uint32_t premultiplied);
    // Blends a premultiplied colour through the mask, its anchor on pixel (x, y).
    void Mask(const CoverageMask& mask, int x, int y, std::uint32_t premultiplied);

private:
    // A colour scaled by each coverage, for the last few colours masks were blended in.
    struct CoverageColors {
        std::uint32_t color = 0;
        bool valid = false;
        std::uint32_t scaled[256] = {};
    };
    const CoverageColors& ColorsFor(std::uint32_t premultiplied);

    std::uint32_t* m_pixels;
    int m_width;
    int m_height;
    std::ptrdiff_t m_stride;
    int m_clipLeft = 0;
    int m_clipTop = 0;
    int m_clipRight = 0;
    int m_clipBottom = 0;
    std::vector<CoverageColors> m_coverageColors;
    std::size_t m_nextCoverageColors = 0;
};

}  // namespace quarrant
