#include "cad/RasterCanvas.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace quarrant {
namespace {

// x * a / 255 on each channel, rounded the way the painting library rounds it, so that
// what is blended here matches what it blends itself.
inline std::uint32_t ByteMul(std::uint32_t x, std::uint32_t a) {
    std::uint32_t t = (x & 0xff00ffu) * a;
    t = (t + ((t >> 8) & 0xff00ffu) + 0x800080u) >> 8;
    t &= 0xff00ffu;
    x = ((x >> 8) & 0xff00ffu) * a;
    x = x + ((x >> 8) & 0xff00ffu) + 0x800080u;
    x &= 0xff00ff00u;
    return x | t;
}

// The pixel a coordinate lies in. A point within 1/512 pixel short of a pixel edge counts as
// on the edge, so that a point meant to lie there is not moved into the pixel before it by
// the last bit of a calculation.
double PixelOf(double v) {
    return std::floor(v + 1.0 / 512.0);
}

}  // namespace

std::uint32_t PremultiplyArgb(std::uint32_t x) {
    // The colour channels times alpha; the alpha stays.
    const std::uint32_t a = x >> 24;
    return (ByteMul(x, a) & 0x00ffffffu) | (a << 24);
}

CoverageMask CoverageMask::FromAlpha(const std::uint32_t* pixels, int width, int height,
                                     std::ptrdiff_t stridePixels, int anchorX, int anchorY) {
    CoverageMask mask;
    mask.m_width = std::max(width, 0);
    mask.m_height = std::max(height, 0);
    mask.m_anchorX = anchorX;
    mask.m_anchorY = anchorY;
    mask.m_rowStart.assign(1, 0);
    mask.m_rowStart.reserve(static_cast<std::size_t>(mask.m_height) + 1);
    for (int y = 0; y < mask.m_height; ++y) {
        const std::uint32_t* row = pixels + static_cast<std::ptrdiff_t>(y) * stridePixels;
        int x = 0;
        while (x < mask.m_width) {
            if ((row[x] >> 24) == 0) {
                ++x;
                continue;
            }
            Run run;
            run.x = x;
            run.offset = static_cast<std::uint32_t>(mask.m_coverage.size());
            while (x < mask.m_width && (row[x] >> 24) != 0) {
                mask.m_coverage.push_back(static_cast<std::uint8_t>(row[x] >> 24));
                ++x;
            }
            run.length = x - run.x;
            mask.m_runs.push_back(run);
        }
        mask.m_rowStart.push_back(static_cast<std::uint32_t>(mask.m_runs.size()));
    }
    mask.m_runs.shrink_to_fit();
    mask.m_coverage.shrink_to_fit();
    return mask;
}

std::size_t CoverageMask::Bytes() const {
    return sizeof(*this) + m_rowStart.size() * sizeof(std::uint32_t) + m_runs.size() * sizeof(Run) +
           m_coverage.size();
}

RasterCanvas::RasterCanvas(std::uint32_t* pixels, int width, int height,
                           std::ptrdiff_t stridePixels)
    : m_pixels(pixels),
      m_width(std::max(width, 0)),
      m_height(std::max(height, 0)),
      m_stride(stridePixels),
      m_clipRight(m_width),
      m_clipBottom(m_height) {}

void RasterCanvas::SetClip(int left, int top, int right, int bottom) {
    m_clipLeft = std::clamp(left, 0, m_width);
    m_clipTop = std::clamp(top, 0, m_height);
    m_clipRight = std::clamp(right, m_clipLeft, m_width);
    m_clipBottom = std::clamp(bottom, m_clipTop, m_height);
}

namespace {

// A slope (at most 1 either way) in 32.32 fixed point, rounded half away from zero.
inline std::int64_t FixedPoint(double slope) {
    const double scaled = slope * 4294967296.0;
    return static_cast<std::int64_t>(scaled + (scaled >= 0.0 ? 0.5 : -0.5));
}

// Blends a premultiplied colour over a pixel; inverse is 255 minus the colour's alpha.
inline void BlendPixel(std::uint32_t* pixel, std::uint32_t color, std::uint32_t inverse) {
    *pixel = color + ByteMul(*pixel, inverse);
}

// Lights the pixels of the line from a to b. The line runs from the pixel holding a to the
// pixel holding b: one pixel per step along the axis on which it runs farther, on the line
// between the two pixels' centres, rounded to the nearest pixel. Each pixel is worked out
// from its step alone, so the clip only leaves pixels out. skipFirst and skipLast leave out
// the pixels of a and of b (joints of a path that the neighbouring line lights).
void WalkLine(RasterCanvas::Point a, RasterCanvas::Point b, std::uint32_t* pixels,
              std::ptrdiff_t stride, int clipLeft, int clipTop, int clipRight, int clipBottom,
              std::uint32_t color, bool skipFirst, bool skipLast) {
    const double ax = PixelOf(a.x);
    const double ay = PixelOf(a.y);
    const double bx = PixelOf(b.x);
    const double by = PixelOf(b.y);
    const bool steep = std::fabs(by - ay) > std::fabs(bx - ax);
    // u is the major axis, v the minor one.
    const double ua = steep ? ay : ax;
    const double va = steep ? ax : ay;
    const double ub = steep ? by : bx;
    const double vb = steep ? bx : by;
    const int uClipLow = steep ? clipTop : clipLeft;
    const int uClipHigh = steep ? clipBottom : clipRight;  // exclusive
    const int vClipLow = steep ? clipLeft : clipTop;
    const int vClipHigh = steep ? clipRight : clipBottom;  // exclusive
    if (uClipLow >= uClipHigh || vClipLow >= vClipHigh) {
        return;
    }
    const double du = ub - ua;
    const double slope = du != 0.0 ? (vb - va) / du : 0.0;
    // Pixel offsets of one step along u and one along v.
    const std::ptrdiff_t uStride = steep ? stride : 1;
    const std::ptrdiff_t vStride = steep ? 1 : stride;
    const std::uint32_t inverse = 255u - (color >> 24);
    if (std::min(ax, bx) >= clipLeft && std::max(ax, bx) < clipRight &&
        std::min(ay, by) >= clipTop && std::max(ay, by) < clipBottom) {
        // Both end pixels, and so every pixel between them, inside the clip (most lines of a
        // view): the same steps without looking at the clip.
        const int uFirst = static_cast<int>(ua);
        const int uLast = static_cast<int>(ub);
        const int step = uLast >= uFirst ? 1 : -1;
        const int first = skipFirst ? uFirst + step : uFirst;
        const int last = skipLast ? uLast - step : uLast;
        if ((last - first) * step < 0) {
            return;
        }
        const std::int64_t slopeFixed = FixedPoint(slope);
        std::int64_t fixedV = (static_cast<std::int64_t>(va) << 32) + (std::int64_t{1} << 31) +
                              static_cast<std::int64_t>(first - uFirst) * slopeFixed;
        const std::int64_t fixedStep = step * slopeFixed;
        std::ptrdiff_t along = static_cast<std::ptrdiff_t>(first) * uStride;
        const std::ptrdiff_t alongStep = step * uStride;
        for (int u = first;; u += step) {
            const auto v = static_cast<int>(fixedV >> 32);
            BlendPixel(pixels + along + v * vStride, color, inverse);
            if (u == last) {
                break;
            }
            fixedV += fixedStep;
            along += alongStep;
        }
        return;
    }
    // Steps that can reach the clip: within it along u, and where the line is within a
    // pixel of it along v.
    double low = std::max(std::min(ua, ub), static_cast<double>(uClipLow));
    double high = std::min(std::max(ua, ub), static_cast<double>(uClipHigh - 1));
    if (slope != 0.0) {
        const double s1 = ua + (vClipLow - 1.0 - va) / slope;
        const double s2 = ua + (vClipHigh + 1.0 - va) / slope;
        low = std::max(low, std::floor(std::min(s1, s2)) - 1.0);
        high = std::min(high, std::ceil(std::max(s1, s2)) + 1.0);
    } else if (va < vClipLow || va >= vClipHigh) {
        return;
    }
    const int step = ub >= ua ? 1 : -1;
    if (skipFirst) {
        if (step > 0) {
            low = std::max(low, ua + 1.0);
        } else {
            high = std::min(high, ua - 1.0);
        }
    }
    if (skipLast) {
        if (step > 0) {
            high = std::min(high, ub - 1.0);
        } else {
            low = std::max(low, ub + 1.0);
        }
    }
    if (!(low <= high)) {
        return;
    }
    const int count = static_cast<int>(high - low) + 1;
    const double first = step > 0 ? low : high;
    const unsigned vSpan = static_cast<unsigned>(vClipHigh - vClipLow);
    // v + 1/2 in 32.32 fixed point: exactly va + 1/2 at ua, and the slope's fixed-point
    // value more at each step, so every pixel follows from its step alone (in whole numbers,
    // without rounding) wherever the clip starts the walk.
    if (!(std::fabs(va) < 1e15 && std::fabs(first - ua) < 1e15)) {
        return;  // ends beyond any drawing shown: a pixel is no longer a whole number there
    }
    const std::int64_t slopeFixed = FixedPoint(slope);
    const __int128 atFirst =
        (static_cast<__int128>(static_cast<std::int64_t>(va)) << 32) + (__int128{1} << 31) +
        static_cast<__int128>(static_cast<std::int64_t>(first - ua)) * slopeFixed;
    // Beyond the narrowing above v stays within a few pixels of the clip; a line too far out
    // for that (ends beyond any drawing) is not drawn rather than wrapped.
    constexpr __int128 kLimit = __int128{1} << 60;
    if (atFirst > kLimit || atFirst < -kLimit) {
        return;
    }
    auto fixedV = static_cast<std::int64_t>(atFirst);
    const std::int64_t fixedStep = step * slopeFixed;
    // Offsets rather than a moving pointer: after the last step it would point past the
    // pixels.
    std::ptrdiff_t along = static_cast<std::ptrdiff_t>(first) * uStride;
    const std::ptrdiff_t alongStep = step * uStride;
    for (int k = 0; k < count; ++k) {
        const auto v = static_cast<int>(fixedV >> 32);
        if (static_cast<unsigned>(v - vClipLow) < vSpan) {
            BlendPixel(pixels + along + v * vStride, color, inverse);
        }
        fixedV += fixedStep;
        along += alongStep;
    }
}

bool FinitePoint(const RasterCanvas::Point& p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

}  // namespace

void RasterCanvas::Line(Point a, Point b, std::uint32_t premultiplied) {
    if (!FinitePoint(a) || !FinitePoint(b)) {
        return;
    }
    WalkLine(a, b, m_pixels, m_stride, m_clipLeft, m_clipTop, m_clipRight, m_clipBottom,
             premultiplied, false, false);
}

void RasterCanvas::Path(const Point* points, std::size_t count, std::uint32_t premultiplied) {
    if (count == 0) {
        return;
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (!FinitePoint(points[i])) {
            return;
        }
    }
    if (count == 1) {
        Line(points[0], points[0], premultiplied);
        return;
    }
    // Each line after the first leaves out its first pixel, the last pixel of the line before;
    // a path ending in the pixel it started from leaves that pixel out at the end.
    auto pixelOf = [](const Point& p) { return std::pair{PixelOf(p.x), PixelOf(p.y)}; };
    const bool closing = count > 2 && pixelOf(points[0]) == pixelOf(points[count - 1]);
    for (std::size_t i = 0; i + 1 < count; ++i) {
        WalkLine(points[i], points[i + 1], m_pixels, m_stride, m_clipLeft, m_clipTop, m_clipRight,
                 m_clipBottom, premultiplied, i > 0, closing && i + 2 == count);
    }
}

const RasterCanvas::CoverageColors& RasterCanvas::ColorsFor(std::uint32_t premultiplied) {
    for (const CoverageColors& colors : m_coverageColors) {
        if (colors.valid && colors.color == premultiplied) {
            return colors;
        }
    }
    constexpr std::size_t kKept = 8;
    if (m_coverageColors.size() < kKept) {
        m_coverageColors.emplace_back();
        m_nextCoverageColors = m_coverageColors.size() - 1;
    }
    CoverageColors& colors = m_coverageColors[m_nextCoverageColors];
    m_nextCoverageColors = (m_nextCoverageColors + 1) % kKept;
    colors.color = premultiplied;
    colors.valid = true;
    for (std::uint32_t c = 0; c < 256; ++c) {
        colors.scaled[c] = c == 255 ? premultiplied : ByteMul(premultiplied, c);
    }
    return colors;
}

void RasterCanvas::Mask(const CoverageMask& mask, int x, int y, std::uint32_t premultiplied) {
    const long long left = static_cast<long long>(x) - mask.AnchorX();
    const long long top = static_cast<long long>(y) - mask.AnchorY();
    const long long rowFrom = std::max<long long>(0, m_clipTop - top);
    const long long rowTo = std::min<long long>(mask.Height(), m_clipBottom - top);
    if (rowFrom >= rowTo || left >= m_clipRight || left + mask.Width() <= m_clipLeft) {
        return;
    }
    const std::uint32_t* scaled = ColorsFor(premultiplied).scaled;
    const std::uint8_t* coverage = mask.Coverage();
    const auto& runs = mask.Runs();
    for (long long row = rowFrom; row < rowTo; ++row) {
        std::uint32_t* line = m_pixels + static_cast<std::ptrdiff_t>(top + row) * m_stride;
        for (std::size_t r = mask.RowBegin(static_cast<int>(row));
             r < mask.RowEnd(static_cast<int>(row)); ++r) {
            const CoverageMask::Run& run = runs[r];
            const long long runLeft = left + run.x;
            const long long from = std::max<long long>(runLeft, m_clipLeft);
            const long long to = std::min<long long>(runLeft + run.length, m_clipRight);
            const std::uint8_t* cover = coverage + run.offset + (from - runLeft);
            for (long long px = from; px < to; ++px) {
                const std::uint32_t source = scaled[*cover++];
                BlendPixel(line + px, source, 255u - (source >> 24));
            }
        }
    }
}

}  // namespace quarrant
