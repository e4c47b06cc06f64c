#include "cad/CadView.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "base/CNumbers.h"

namespace quarrant {
namespace {

// Offsets are whole pixels held in an int. The zoom limit keeps them near a million pixels;
// this bound only stops zooms about a point far outside a drawing of no size from
// overflowing them.
constexpr double kMaxOffset = 1073741824.0;  // 2^30
// Scales beyond these are refused whatever the extents (a drawing of no size has no zoom
// limit of its own).
constexpr double kMinScale = 1e-12;
constexpr double kMaxScale = 1e12;
constexpr int kLineStep = 10;

double UsableExtent(double low, double high) {
    const double extent = high - low;
    return std::isfinite(extent) && extent > 0.0 ? extent : 0.0;
}

}  // namespace

void CadView::SetExtents(double minX, double minY, double maxX, double maxY) {
    m_width = UsableExtent(minX, maxX);
    m_height = UsableExtent(minY, maxY);
}

void CadView::SetClientSize(int width, int height) {
    m_clientWidth = std::max(0, width);
    m_clientHeight = std::max(0, height);
}

void CadView::SetOffsets(int offsetX, int offsetY) {
    m_offsetX = offsetX;
    m_offsetY = offsetY;
}

void CadView::Pan(int dx, int dy) {
    const double x = static_cast<double>(m_offsetX) + dx;
    const double y = static_cast<double>(m_offsetY) + dy;
    if (std::fabs(x) <= kMaxOffset && std::fabs(y) <= kMaxOffset) {
        m_offsetX = static_cast<int>(x);
        m_offsetY = static_cast<int>(y);
    }
}

bool CadView::PassesZoomLimit(double s) const {
    if (!std::isfinite(s) || s < kMinScale || s > kMaxScale) {
        return false;
    }
    return !(s * m_width > kZoomLimitPixels) && !(s * m_height > kZoomLimitPixels);
}

void CadView::SetScaleUnchecked(double s) {
    m_scale = s;
    if (m_firstScale == 0.0) {
        m_firstScale = s;
    }
}

bool CadView::AcceptScaleAndOffsets(double s, double offsetX, double offsetY) {
    if (!PassesZoomLimit(s) || !std::isfinite(offsetX) || !std::isfinite(offsetY) ||
        std::fabs(offsetX) > kMaxOffset || std::fabs(offsetY) > kMaxOffset) {
        return false;
    }
    m_offsetX = static_cast<int>(offsetX);
    m_offsetY = static_cast<int>(offsetY);
    m_scale = s;
    return true;
}

bool CadView::SetScale(double s) {
    if (!PassesZoomLimit(s)) {
        return false;
    }
    SetScaleUnchecked(s);
    return true;
}

bool CadView::ZoomToFit() {
    // The smaller of the two axis scales; an axis of no size does not constrain. A drawing of
    // no size at all (or a window too small) keeps its scale and only goes back to the origin.
    double s = 0.0;
    const double usableWidth = m_clientWidth - 2.0;
    const double usableHeight = m_clientHeight - 2.0;
    if (m_width > 0.0 && usableWidth > 0.0) {
        s = usableWidth / m_width;
    }
    if (m_height > 0.0 && usableHeight > 0.0) {
        const double sy = usableHeight / m_height;
        s = s > 0.0 ? std::min(s, sy) : sy;
    }
    m_offsetX = 0;
    m_offsetY = 0;
    if (s > 0.0 && std::isfinite(s) && s >= kMinScale && s <= kMaxScale) {
        SetScaleUnchecked(s);
    } else if (m_firstScale == 0.0) {
        m_firstScale = m_scale;
    }
    return true;
}

bool CadView::ZoomWindow(int left, int top, int right, int bottom) {
    // Each side of the rectangle in whole drawing units (truncated), as the window zoom
    // always measured it; a side below one unit does not constrain the new scale.
    const double widthUnits = std::trunc((static_cast<double>(right) - left) / m_scale);
    const double heightUnits = std::trunc((static_cast<double>(bottom) - top) / m_scale);
    const double byHeight = m_clientHeight / heightUnits;
    const double byWidth = m_clientWidth / widthUnits;
    double h = 0.0;
    if (heightUnits > 0.0 && widthUnits > 0.0) {
        h = std::min(byHeight, byWidth);
    } else if (heightUnits > 0.0) {
        h = byHeight;
    } else if (widthUnits > 0.0) {
        h = byWidth;
    } else {
        return false;
    }
    const double offsetX = std::trunc(h * (left + static_cast<double>(m_offsetX)) / m_scale);
    const double offsetY = std::trunc(h * (top + static_cast<double>(m_offsetY)) / m_scale);
    if (!AcceptScaleAndOffsets(h, offsetX, offsetY)) {
        return false;
    }
    if (m_firstScale == 0.0) {
        m_firstScale = h;
    }
    return true;
}

bool CadView::ZoomIn(double factor) {
    return SetScale(m_scale * (1.0 + factor));
}

bool CadView::ZoomOut(double factor) {
    return SetScale(m_scale * (1.0 - factor));
}

namespace {

double ZoomedOffset(int offset, int mouse, double factor) {
    return (static_cast<double>(offset) + mouse) * factor - mouse;
}

}  // namespace

bool CadView::ZoomInCentre() {
    const int w = m_clientWidth / 2;
    const int hh = m_clientHeight / 2;
    return AcceptScaleAndOffsets(m_scale * 1.1, ZoomedOffset(m_offsetX, w, 1.1),
                                 ZoomedOffset(m_offsetY, hh, 1.1));
}

bool CadView::ZoomOutCentre() {
    const int w = m_clientWidth / 2;
    const int hh = m_clientHeight / 2;
    return AcceptScaleAndOffsets(m_scale * 0.9, ZoomedOffset(m_offsetX, w, 0.9),
                                 ZoomedOffset(m_offsetY, hh, 0.9));
}

bool CadView::ZoomAtCursor(int delta, int mouseX, int mouseY) {
    double factor = 0.0;
    if (delta == -120) {
        factor = 0.5;
    } else if (delta == 120) {
        factor = 1.5;
    } else {
        return false;
    }
    return AcceptScaleAndOffsets(m_scale * factor, ZoomedOffset(m_offsetX, mouseX, factor),
                                 ZoomedOffset(m_offsetY, mouseY, factor));
}

bool CadView::RealTimeZoom(int previousY, int y) {
    if (m_clientHeight <= 0 || y == previousY) {
        return false;
    }
    const double moved = std::fabs(static_cast<double>(y) - previousY) / m_clientHeight;
    const double s = y > previousY ? m_scale * (1.0 - moved) : m_scale * (1.0 + moved);
    // The drawing point at the window centre stays where it is.
    const double halfWidth = m_clientWidth / 2;
    const double halfHeight = m_clientHeight / 2;
    const double centreX = (m_offsetX + halfWidth) / m_scale;
    const double centreY = (m_offsetY + halfHeight) / m_scale;
    return AcceptScaleAndOffsets(s, s * centreX - halfWidth, s * centreY - halfHeight);
}

int CadView::ScrollMaximum(Axis axis) const {
    const double extent = axis == Axis::Horizontal ? m_width : m_height;
    const double maximum = std::floor(extent * m_scale);
    if (!(maximum > 0.0)) {
        return 0;
    }
    return static_cast<int>(std::min(maximum, kMaxOffset));
}

bool CadView::Scroll(Axis axis, ScrollCode code, int thumbPosition) {
    int& offset = axis == Axis::Horizontal ? m_offsetX : m_offsetY;
    // A page is one client width or height.
    const int page = axis == Axis::Horizontal ? m_clientWidth : m_clientHeight;
    double target = offset;
    switch (code) {
        case ScrollCode::LineUp:
            target -= kLineStep;
            break;
        case ScrollCode::LineDown:
            target += kLineStep;
            break;
        case ScrollCode::PageUp:
            target -= page;
            break;
        case ScrollCode::PageDown:
            target += page;
            break;
        case ScrollCode::ThumbTrack:
            target = thumbPosition;
            break;
        case ScrollCode::Other:
            return false;
    }
    target = std::clamp(target, 0.0, static_cast<double>(ScrollMaximum(axis)));
    const int newOffset = static_cast<int>(target);
    if (newOffset == offset) {
        return false;
    }
    offset = newOffset;
    return true;
}

CadPoint CadView::ScreenToDrawing(double px, double py) const {
    return CadPoint{(px + m_offsetX) / m_scale, (py + m_offsetY) / m_scale};
}

CadPoint CadView::DrawingToScreen(double x, double y) const {
    return CadPoint{x * m_scale - m_offsetX, y * m_scale - m_offsetY};
}

}  // namespace quarrant

namespace quarrant {

CadTransform CadTransform::Then(const CadTransform& outer) const {
    CadTransform t;
    t.m11 = m11 * outer.m11 + m12 * outer.m21;
    t.m12 = m11 * outer.m12 + m12 * outer.m22;
    t.m21 = m21 * outer.m11 + m22 * outer.m21;
    t.m22 = m21 * outer.m12 + m22 * outer.m22;
    t.dx = dx * outer.m11 + dy * outer.m21 + outer.dx;
    t.dy = dx * outer.m12 + dy * outer.m22 + outer.dy;
    return t;
}

double CadTransform::MaxStretch() const {
    // The largest singular value of the linear part.
    const double a = m11 * m11 + m12 * m12;
    const double b = m11 * m21 + m12 * m22;
    const double c = m21 * m21 + m22 * m22;
    const double mean = (a + c) / 2.0;
    const double spread = std::sqrt(std::max(0.0, (a - c) * (a - c) / 4.0 + b * b));
    return std::sqrt(std::max(0.0, mean + spread));
}

CadTransform InsertDrawTransform(const CCadInsert& insert) {
    // Turning by -r in the Y-down frame (clockwise positive) is anticlockwise on the screen.
    const double degrees = std::trunc(insert.rotation);
    const double radians = -degrees * std::numbers::pi / 180.0;
    const double c = degrees == 0.0 ? 1.0 : std::cos(radians);
    const double s = degrees == 0.0 ? 0.0 : std::sin(radians);
    CadTransform t;
    t.m11 = c * insert.scaleX;
    t.m12 = s * insert.scaleX;
    t.m21 = -s * insert.scaleY;
    t.m22 = c * insert.scaleY;
    t.dx = insert.insertX;
    t.dy = insert.insertY;
    return t;
}

EllipseAxes EllipseAxesOf(const CCadEllipse& ellipse, const CCadDrawing* topLevelDrawing) {
    EllipseAxes axes;
    axes.centre = CadPoint{ellipse.centerX, ellipse.centerY};
    if (topLevelDrawing != nullptr) {
        // The axis point was moved like a point, (x - minX, maxY - y): undo that to get the
        // vector back, then turn it to the Y-down frame.
        axes.major =
            CadPoint{ellipse.axisX + topLevelDrawing->minX, ellipse.axisY - topLevelDrawing->maxY};
    } else {
        axes.major = CadPoint{ellipse.axisX, ellipse.axisY};
    }
    if (!std::isfinite(axes.major.x) || !std::isfinite(axes.major.y)) {
        axes.major = CadPoint{};
    }
    // Anticlockwise in the file's Y-up frame is the major axis turned by +90 degrees there,
    // which in the Y-down frame is (major.y, -major.x).
    axes.minor = CadPoint{ellipse.ratio * axes.major.y, -ellipse.ratio * axes.major.x};
    return axes;
}

void EllipseParameterRange(const CCadEllipse& ellipse, double& start, double& sweep) {
    constexpr double kTurn = 2.0 * std::numbers::pi;
    start = std::isfinite(ellipse.startParameter) ? ellipse.startParameter : 0.0;
    double end = std::isfinite(ellipse.endParameter) ? ellipse.endParameter : kTurn;
    sweep = std::fmod(end - start, kTurn);
    if (sweep < 0.0) {
        sweep += kTurn;
    }
    if (sweep <= 1e-12 || kTurn - sweep <= 1e-12) {
        sweep = kTurn;
    }
}

double ArcSweep(double startAngle, double endAngle) {
    if (startAngle > endAngle) {
        endAngle += 360.0;
    }
    return endAngle - startAngle;
}

}  // namespace quarrant

namespace quarrant {
namespace {

// A whole text that is one number: optional sign, digits with an optional decimal part, an
// optional exponent, white space around.
bool IsNumberText(std::string_view text) {
    text = TrimC(text);
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    std::size_t digits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) {
        return false;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            ++j;
        }
        std::size_t exponentDigits = 0;
        while (j < text.size() && text[j] >= '0' && text[j] <= '9') {
            ++j;
            ++exponentDigits;
        }
        if (exponentDigits == 0) {
            return false;
        }
        i = j;
    }
    return i == text.size();
}

std::string FormatDimensionNumber(double value) {
    std::string text = FormatFixed(value, 2);
    if (text.size() >= 3 && text.compare(text.size() - 3, 3, ".00") == 0) {
        text.resize(text.size() - 3);
    }
    return text;
}

}  // namespace

std::string DimensionValueText(const CCadDimension& dimension) {
    const std::string& override = dimension.textOverride;
    if (override.empty() || override == "<>") {
        return FormatDimensionNumber(AtofC(dimension.measurement));
    }
    if (IsNumberText(override)) {
        return FormatDimensionNumber(AtofC(override));
    }
    // A written override such as "R<>" or a word: shown as written, the measured value in
    // place of "<>".
    std::string shown;
    std::size_t from = 0;
    for (std::size_t at = override.find("<>"); at != std::string::npos;
         at = override.find("<>", from)) {
        shown.append(override, from, at - from);
        shown += FormatDimensionNumber(AtofC(dimension.measurement));
        from = at + 2;
    }
    shown.append(override, from, std::string::npos);
    return shown;
}

double DimensionTextSize(const CCadDimension& dimension) {
    const double size = AtofC(dimension.textHeight);
    return std::isfinite(size) ? size : 0.0;
}

std::vector<std::string> SplitMTextLines(std::string_view utf8) {
    std::vector<std::string> lines(1);
    // Steps over one UTF-8 character starting at i.
    auto next = [&](std::size_t i) {
        ++i;
        while (i < utf8.size() && (static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80) {
            ++i;
        }
        return i;
    };
    std::size_t i = 0;
    while (i < utf8.size()) {
        const char c = utf8[i];
        if (c != '\\') {
            const std::size_t end = next(i);
            lines.back().append(utf8.substr(i, end - i));
            i = end;
            continue;
        }
        if (i + 1 >= utf8.size()) {
            // A backslash at the very end cuts an empty piece off.
            lines.emplace_back();
            break;
        }
        const char code = utf8[i + 1];
        if (code == '\\' || code == '{' || code == '}') {
            lines.back().push_back(code);
            i += 2;
            continue;
        }
        lines.emplace_back();
        std::size_t end = i + 1;
        switch (code) {
            case 'P':
            case 'X':
            case 'N':
            case 'L':
            case 'l':
            case 'O':
            case 'o':
            case 'K':
            case 'k':
            case '~':
                end = next(end);
                break;
            case 'A':
            case 'C':
            case 'c':
            case 'F':
            case 'f':
            case 'H':
            case 'h':
            case 'Q':
            case 'T':
            case 'W':
            case 'p':
            case 'S': {
                const std::size_t semicolon = utf8.find(';', end);
                if (semicolon != std::string_view::npos) {
                    end = semicolon + 1;
                    break;
                }
                [[fallthrough]];
            }
            default:
                for (int k = 0; k < 3 && end < utf8.size(); ++k) {
                    end = next(end);
                }
                break;
        }
        i = end;
    }
    return lines;
}

}  // namespace quarrant
