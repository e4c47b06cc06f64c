#pragma once

// Hit tests of the drawing entities against an axis-parallel pick rectangle, in drawing
// coordinates (Y grows downwards). Every test is a pure function of the entity and the
// rectangle and answers kHitNone, kHitPartly or kHitInside.

#include <string_view>

#include "cad/CadEntities.h"

namespace quarrant {

struct CadPoint {
    double x = 0.0;
    double y = 0.0;
};

// A pick rectangle. The tests order each pair themselves, so a rectangle built as centre
// minus / plus half-sizes may be passed with its sides in either order.
struct CadRect {
    double xmin = 0.0;
    double ymin = 0.0;
    double xmax = 0.0;
    double ymax = 0.0;
};

inline constexpr int kHitNone = 0;    // no contact
inline constexpr int kHitPartly = 1;  // meets a side, or some but not all of it lies inside
inline constexpr int kHitInside = 2;  // entirely inside

// The rectangle with each pair ordered so that min <= max.
CadRect NormalizedRect(const CadRect& rect);

// Bounds are inside: xmin <= x <= xmax and ymin <= y <= ymax (rect must be normalised).
bool PointInRect(const CadPoint& point, const CadRect& rect);

int HitLine(const CadPoint& start, const CadPoint& end, const CadRect& rect);
// Angles in degrees, measured as the drawing measures them: increasing clockwise on the
// screen (Y down); the arc runs from start to end, end taken + 360 when start > end.
int HitArc(const CadPoint& centre, double radius, double startAngle, double endAngle,
           const CadRect& rect);
int HitCircle(const CadPoint& centre, double radius, const CadRect& rect);
int HitPolyline(const CCadPolyline& polyline, const CadRect& rect);
int HitSolid(const CadPoint& corner1, const CadPoint& corner2, const CadPoint& corner3,
             const CadPoint& corner4, const CadRect& rect);
// The text box is (bytes of text x height) / 2 wide (integer division) and one height high,
// standing on the insertion point (where the text is drawn), turned by the rotation in
// degrees, anticlockwise on the screen.
int HitText(const CadPoint& insertion, std::string_view text, int height, double rotation,
            const CadRect& rect);
int HitDimension(const CCadDimension& dimension, const CadRect& rect);
int HitInsert(const CCadInsert& insert, const CadRect& rect);

// The test of the entity's type; ELLIPSE, MTEXT and unknown types are never picked (0).
int HitEntity(const CCadEntity& entity, const CadRect& rect);

// The arc of a bulged polyline segment from vertex a to vertex b, as the drawing shows it:
// centre, radius and the start and end angle in degrees (0..360, the drawing's sense; for a
// positive bulge the arc runs from b to a). valid is false when the segment is straight (no
// has-bulge mark or a zero bulge) or its two vertices coincide.
struct BulgeArc {
    bool valid = false;
    CadPoint centre;
    double radius = 0.0;
    double startAngle = 0.0;
    double endAngle = 0.0;
};
BulgeArc BulgeSegmentArc(const CCadVertex& a, const CCadVertex& b);
// The circle of that arc alone (no angles): false where BulgeSegmentArc is not valid.
bool BulgeSegmentCircle(const CCadVertex& a, const CCadVertex& b, CadPoint& centre, double& radius);

// The angle of the direction from centre to point, in degrees 0..360, the drawing's sense.
double DirectionAngle(const CadPoint& centre, const CadPoint& point);

}  // namespace quarrant
