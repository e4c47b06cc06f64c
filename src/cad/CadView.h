#pragma once

// The view transform of the CAD control: scale (screen pixels per drawing unit) and pixel
// offsets, the zooms and the scroll steps. A drawing point (x, y) is shown at the client pixel
// (x * scale - offset X, y * scale - offset Y); drawing coordinates are already Y-down.

#include <string>
#include <string_view>
#include <vector>

#include "cad/CadDrawing.h"
#include "cad/Geometry.h"

namespace quarrant {

// A 2-D affine map in the convention of the painting library: x' = m11 x + m21 y + dx,
// y' = m12 x + m22 y + dy.
struct CadTransform {
    double m11 = 1.0, m12 = 0.0, m21 = 0.0, m22 = 1.0, dx = 0.0, dy = 0.0;

    CadPoint Map(double x, double y) const {
        return CadPoint{m11 * x + m21 * y + dx, m12 * x + m22 * y + dy};
    }
    CadPoint Map(const CadPoint& p) const { return Map(p.x, p.y); }
    // This map followed by outer.
    CadTransform Then(const CadTransform& outer) const;
    // How much the map stretches lengths at most (for radii and pen widths).
    double MaxStretch() const;
    // True when the map turns the drawing over (clockwise becomes anticlockwise).
    bool Mirrors() const { return m11 * m22 - m12 * m21 < 0.0; }
};

// Where the entities of an INSERT's list are drawn: scaled by (X scale, Y scale), turned by
// minus the rotation truncated to whole degrees (anticlockwise on the screen for a positive
// rotation), moved to the insertion point.
CadTransform InsertDrawTransform(const CCadInsert& insert);

// The centre, the major-axis vector and the minor-axis vector of an ELLIPSE in the drawing's
// Y-down frame; a point of the ellipse at parameter t is centre + major cos t + minor sin t.
struct EllipseAxes {
    CadPoint centre;
    CadPoint major;
    CadPoint minor;
};
// topLevelDrawing is the drawing for an ELLIPSE of the entity array or of a dimension block,
// whose axis point went through the drawing's point transformation; nullptr for an ELLIPSE of
// an INSERT's list, whose axis is a plain vector.
EllipseAxes EllipseAxesOf(const CCadEllipse& ellipse, const CCadDrawing* topLevelDrawing);

// The parameter range of an ELLIPSE as drawn: start and a positive sweep (radians); a range
// of no length or a full turn draws the whole ellipse.
void EllipseParameterRange(const CCadEllipse& ellipse, double& start, double& sweep);

// The value a DIMENSION shows (GBK): the text override when it is neither empty nor "<>",
// otherwise the stored measurement, as a number with two decimals, "00" decimals dropped
// (1500.00 shows as 1500). An override that is not a number is shown as it is, with "<>"
// standing for the measured value.
std::string DimensionValueText(const CCadDimension& dimension);
// Its text size: the drawing's $DIMTXT value copied into the record.
double DimensionTextSize(const CCadDimension& dimension);

// The lines an MTEXT shows (UTF-8 in, UTF-8 out): the text is cut at each backslash that
// starts a formatting code, and the code is dropped: \P, \X, \N, \L, \l, \O, \o, \K,
// \k and \~ are one character long, codes with arguments (\A \C \c \F \f \H \h \Q \T
// \W \p \S) run to their ";", any other code is three characters long. \\, \{ and \}
// stand for the character itself and cut nothing.
std::vector<std::string> SplitMTextLines(std::string_view utf8);

// The sweep of an arc from start to end angle (degrees): end - start, plus 360 when
// start > end.
double ArcSweep(double startAngle, double endAngle);

// A new scale is refused when the drawing would exceed this many pixels on either axis.
inline constexpr double kZoomLimitPixels = 1048575.0;  // 0xFFFFF

class CadView {
public:
    enum class Axis { Horizontal, Vertical };
    // What a scroll bar asks for (the line and page steps, a thumb drag, anything else).
    enum class ScrollCode { LineUp, LineDown, PageUp, PageDown, ThumbTrack, Other };

    // The drawing's extents as stored with it; the drawing spans (0, 0) to
    // (maxX - minX, maxY - minY). Extents that were never set (or are not finite) count as a
    // drawing of no size.
    void SetExtents(double minX, double minY, double maxX, double maxY);
    void ClearExtents() { m_width = m_height = 0.0; }

    void SetClientSize(int width, int height);

    double Scale() const { return m_scale; }
    // The scale of the first zoom-to-fit or window zoom (or first SetScale); 0 until then.
    double FirstScale() const { return m_firstScale; }
    int OffsetX() const { return m_offsetX; }
    int OffsetY() const { return m_offsetY; }
    void SetOffsets(int offsetX, int offsetY);
    // Moves the view by whole pixels (the drawing follows the mouse when dx, dy is the mouse
    // delta taken as previous - current).
    void Pan(int dx, int dy);

    // True when s is a usable scale that keeps the drawing within the zoom limit.
    bool PassesZoomLimit(double s) const;

    // Each zoom returns false, changing nothing, when the new scale is refused.
    bool SetScale(double s);
    bool ZoomToFit();
    // A rectangle in client pixels (left <= right, top <= bottom) fills the window; its
    // top-left corner becomes the window's top-left corner.
    bool ZoomWindow(int left, int top, int right, int bottom);
    bool ZoomIn(double factor);   // scale * (1 + factor), offsets kept
    bool ZoomOut(double factor);  // scale * (1 - factor), offsets kept
    bool ZoomInCentre();          // x 1.1 about the window centre
    bool ZoomOutCentre();         // x 0.9 about the window centre
    // Wheel: -120 halves the scale, +120 multiplies it by 1.5, keeping the drawing point
    // under (mouseX, mouseY) fixed; other deltas change nothing.
    bool ZoomAtCursor(int delta, int mouseX, int mouseY);
    // Real-time zoom by a vertical mouse move from previousY to y: moving up zooms in,
    // moving down zooms out, by the moved fraction of the client height, about the window
    // centre.
    bool RealTimeZoom(int previousY, int y);

    // One scroll step on an axis; the offset is clamped to [0, extent * scale]. thumbPosition
    // is used by ThumbTrack only. Returns whether the offset changed.
    bool Scroll(Axis axis, ScrollCode code, int thumbPosition = 0);
    // The largest offset the scroll bars reach: extent * scale, in whole pixels.
    int ScrollMaximum(Axis axis) const;

    CadPoint ScreenToDrawing(double px, double py) const;
    CadPoint DrawingToScreen(double x, double y) const;

private:
    bool AcceptScaleAndOffsets(double s, double offsetX, double offsetY);
    void SetScaleUnchecked(double s);

    double m_width = 0.0;
    double m_height = 0.0;
    int m_clientWidth = 0;
    int m_clientHeight = 0;
    double m_scale = 1.0;
    double m_firstScale = 0.0;
    int m_offsetX = 0;
    int m_offsetY = 0;
};

}  // namespace quarrant
