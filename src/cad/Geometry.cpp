#include "cad/Geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace quarrant {
namespace {

constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;
constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
// Angles within this many degrees of an arc's ends count as on the arc, so that a meeting
// point exactly at an end is not lost to rounding.
constexpr double kAngleTolerance = 1e-9;

// Collects the answers of the parts of a compound entity: all parts inside -> inside, any
// contact -> partly. A compound with no tested part has nothing that could be hit.
class HitCombiner {
public:
    void Add(int answer) {
        ++m_parts;
        if (answer != kHitInside) {
            m_allInside = false;
        }
        if (answer != kHitNone) {
            m_anyContact = true;
        }
    }
    int Result() const {
        if (m_parts == 0) {
            return kHitNone;
        }
        if (m_allInside) {
            return kHitInside;
        }
        return m_anyContact ? kHitPartly : kHitNone;
    }

private:
    int m_parts = 0;
    bool m_allInside = true;
    bool m_anyContact = false;
};

bool RangesOverlap(double a1, double a2, double lo, double hi) {
    return std::min(a1, a2) <= hi && std::max(a1, a2) >= lo;
}

int HitLineNormalized(const CadPoint& start, const CadPoint& end, const CadRect& r) {
    const bool startInside = PointInRect(start, r);
    const bool endInside = PointInRect(end, r);
    if (startInside && endInside) {
        return kHitInside;
    }
    if (startInside || endInside) {
        return kHitPartly;
    }
    const double dx = end.x - start.x;
    const double dy = end.y - start.y;
    // Differences below one drawing unit (truncated to 0) count as axis-parallel; such a
    // segment can only cross the two sides across its direction.
    if (std::trunc(dx) == 0.0) {
        return (start.x >= r.xmin && start.x <= r.xmax &&
                RangesOverlap(start.y, end.y, r.ymin, r.ymax))
                   ? kHitPartly
                   : kHitNone;
    }
    if (std::trunc(dy) == 0.0) {
        return (start.y >= r.ymin && start.y <= r.ymax &&
                RangesOverlap(start.x, end.x, r.xmin, r.xmax))
                   ? kHitPartly
                   : kHitNone;
    }
    const double loX = std::min(start.x, end.x), hiX = std::max(start.x, end.x);
    const double loY = std::min(start.y, end.y), hiY = std::max(start.y, end.y);
    for (double x : {r.xmin, r.xmax}) {
        if (x >= loX && x <= hiX) {
            double y = start.y + (x - start.x) * dy / dx;
            if (y >= r.ymin && y <= r.ymax) {
                return kHitPartly;
            }
        }
    }
    for (double y : {r.ymin, r.ymax}) {
        if (y >= loY && y <= hiY) {
            double x = start.x + (y - start.y) * dx / dy;
            if (x >= r.xmin && x <= r.xmax) {
                return kHitPartly;
            }
        }
    }
    return kHitNone;
}

// True when the full circle meets a side of the rectangle at a point within the side's span
// that accept() takes.
template <typename Accept>
bool CircleMeetsSides(const CadPoint& c, double radius, const CadRect& r, Accept accept) {
    const double rr = radius * radius;
    for (double x : {r.xmin, r.xmax}) {
        const double dx = x - c.x;
        const double disc = rr - dx * dx;
        if (disc >= 0.0) {
            const double root = std::sqrt(disc);
            for (double y : {c.y - root, c.y + root}) {
                if (y >= r.ymin && y <= r.ymax && accept(CadPoint{x, y})) {
                    return true;
                }
            }
        }
    }
    for (double y : {r.ymin, r.ymax}) {
        const double dy = y - c.y;
        const double disc = rr - dy * dy;
        if (disc >= 0.0) {
            const double root = std::sqrt(disc);
            for (double x : {c.x - root, c.x + root}) {
                if (x >= r.xmin && x <= r.xmax && accept(CadPoint{x, y})) {
                    return true;
                }
            }
        }
    }
    return false;
}

int HitCircleNormalized(const CadPoint& c, double radius, const CadRect& r) {
    if (CircleMeetsSides(c, radius, r, [](const CadPoint&) { return true; })) {
        return kHitPartly;
    }
    const double a = std::fabs(radius);
    if (c.x - a >= r.xmin && c.x + a <= r.xmax && c.y - a >= r.ymin && c.y + a <= r.ymax) {
        return kHitInside;
    }
    return kHitNone;
}

CadPoint PointAtAngle(const CadPoint& c, double radius, double degrees) {
    const double radians = degrees * kRadiansPerDegree;
    return CadPoint{c.x + radius * std::cos(radians), c.y + radius * std::sin(radians)};
}

int HitArcNormalized(const CadPoint& c, double radius, double startAngle, double endAngle,
                     const CadRect& r) {
    double end = endAngle;
    if (startAngle > end) {
        end += 360.0;
    }
    const double sweep = end - startAngle;
    auto onArc = [&](const CadPoint& p) {
        if (sweep >= 360.0) {
            return true;
        }
        double offset = std::fmod(DirectionAngle(c, p) - startAngle, 360.0);
        if (offset < 0.0) {
            offset += 360.0;
        }
        return offset <= sweep + kAngleTolerance || 360.0 - offset <= kAngleTolerance;
    };
    if (CircleMeetsSides(c, radius, r, onArc)) {
        return kHitPartly;
    }
    if (PointInRect(PointAtAngle(c, radius, startAngle), r) &&
        PointInRect(PointAtAngle(c, radius, end), r)) {
        return kHitInside;
    }
    return kHitNone;
}

int HitVerticesNormalized(const std::vector<CCadVertex>& vertices, bool closed, const CadRect& r) {
    const std::size_t n = vertices.size();
    if (n == 1) {
        // A single vertex has no segment; it is tested as the point it is.
        return PointInRect(CadPoint{vertices[0].x, vertices[0].y}, r) ? kHitInside : kHitNone;
    }
    HitCombiner combiner;
    auto segment = [&](const CCadVertex& a, const CCadVertex& b) {
        BulgeArc arc = BulgeSegmentArc(a, b);
        if (arc.valid) {
            combiner.Add(HitArcNormalized(arc.centre, arc.radius, arc.startAngle, arc.endAngle, r));
        } else {
            combiner.Add(HitLineNormalized(CadPoint{a.x, a.y}, CadPoint{b.x, b.y}, r));
        }
    };
    for (std::size_t i = 0; i + 1 < n; ++i) {
        segment(vertices[i], vertices[i + 1]);
    }
    if (closed && n >= 2) {
        segment(vertices[n - 1], vertices[0]);
    }
    return combiner.Result();
}

int HitSolidNormalized(const CadPoint& p1, const CadPoint& p2, const CadPoint& p3,
                       const CadPoint& p4, const CadRect& r) {
    // The polygon 1, 2, 4, 3, or the triangle 1, 2, 3 when corners 3 and 4 coincide.
    CadPoint polygon[4];
    int count = 0;
    polygon[count++] = p1;
    polygon[count++] = p2;
    if (p3.x == p4.x && p3.y == p4.y) {
        polygon[count++] = p3;
    } else {
        polygon[count++] = p4;
        polygon[count++] = p3;
    }
    bool allInside = true;
    for (int i = 0; i < count; ++i) {
        allInside = allInside && PointInRect(polygon[i], r);
    }
    if (allInside) {
        return kHitInside;
    }
    for (int i = 0; i < count; ++i) {
        if (HitLineNormalized(polygon[i], polygon[(i + 1) % count], r) != kHitNone) {
            return kHitPartly;
        }
    }
    return kHitNone;
}

// The answer for a dimension-block entity, or -1 for a type that is not tested.
int HitBlockEntity(const CCadEntity& entity, const CadRect& r) {
    switch (entity.type) {
        case kCadLine: {
            const auto* line = entity.As<CCadLine>();
            return HitLineNormalized({line->startX, line->startY}, {line->endX, line->endY}, r);
        }
        case kCadArc: {
            const auto* arc = entity.As<CCadArc>();
            return HitArcNormalized({arc->centerX, arc->centerY}, arc->radius, arc->startAngle,
                                    arc->endAngle, r);
        }
        case kCadCircle: {
            const auto* circle = entity.As<CCadCircle>();
            return HitCircleNormalized({circle->centerX, circle->centerY}, circle->radius, r);
        }
        case kCadPolyline: {
            const auto* polyline = entity.As<CCadPolyline>();
            return HitVerticesNormalized(polyline->vertices, (polyline->flags & 1) != 0, r);
        }
        case kCadSolid: {
            const auto* s = entity.As<CCadSolid>();
            return HitSolidNormalized({s->x1, s->y1}, {s->x2, s->y2}, {s->x3, s->y3},
                                      {s->x4, s->y4}, r);
        }
        default:
            return -1;
    }
}

// Places block points for an INSERT: scaled, turned about the block origin, moved.
class InsertPlacement {
public:
    explicit InsertPlacement(const CCadInsert& insert)
        : m_insert(insert),
          m_cos(std::cos(-insert.rotation * kRadiansPerDegree)),
          m_sin(std::sin(-insert.rotation * kRadiansPerDegree)) {}

    CadPoint Place(double x, double y) const {
        const double sx = x * m_insert.scaleX;
        const double sy = y * m_insert.scaleY;
        return CadPoint{m_insert.insertX + sx * m_cos - sy * m_sin,
                        m_insert.insertY + sx * m_sin + sy * m_cos};
    }
    // A mirrored placement turns every arc the other way round.
    bool Mirrors() const { return m_insert.scaleX * m_insert.scaleY < 0.0; }
    double ScaleRadius(double radius) const { return std::fabs(radius * m_insert.scaleX); }

private:
    const CCadInsert& m_insert;
    double m_cos;
    double m_sin;
};

}  // namespace

CadRect NormalizedRect(const CadRect& rect) {
    return CadRect{std::min(rect.xmin, rect.xmax), std::min(rect.ymin, rect.ymax),
                   std::max(rect.xmin, rect.xmax), std::max(rect.ymin, rect.ymax)};
}

bool PointInRect(const CadPoint& point, const CadRect& rect) {
    return rect.xmin <= point.x && point.x <= rect.xmax && rect.ymin <= point.y &&
           point.y <= rect.ymax;
}

double DirectionAngle(const CadPoint& centre, const CadPoint& point) {
    double angle = std::atan2(point.y - centre.y, point.x - centre.x) * kDegreesPerRadian;
    if (angle < 0.0) {
        angle += 360.0;
    }
    return angle;
}

bool BulgeSegmentCircle(const CCadVertex& a, const CCadVertex& b, CadPoint& centre,
                        double& radius) {
    if (a.hasBulge == 0 || a.bulge == 0.0) {
        return false;
    }
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double chord = std::sqrt(dx * dx + dy * dy);
    const double bulge = std::fabs(a.bulge);
    if (!(chord > 0.0) || !std::isfinite(chord) || !std::isfinite(bulge)) {
        return false;
    }
    const double sagitta = chord * bulge / 2.0;
    radius = chord * chord / (8.0 * sagitta) + sagitta / 2.0;
    // The centre lies on the chord's perpendicular bisector, radius - sagitta from the chord
    // (on the far side for arcs longer than a half circle). Y points down, so a negative
    // bulge runs with increasing angles from a to b and has its centre to the left of a->b
    // in coordinate terms; a positive bulge runs the other way.
    const double offset = radius - sagitta;
    const double side = a.bulge < 0.0 ? 1.0 : -1.0;
    const double nx = -dy / chord;
    const double ny = dx / chord;
    centre =
        CadPoint{(a.x + b.x) / 2.0 + side * nx * offset, (a.y + b.y) / 2.0 + side * ny * offset};
    return true;
}

BulgeArc BulgeSegmentArc(const CCadVertex& a, const CCadVertex& b) {
    BulgeArc arc;
    if (!BulgeSegmentCircle(a, b, arc.centre, arc.radius)) {
        return arc;
    }
    const double angleA = DirectionAngle(arc.centre, CadPoint{a.x, a.y});
    const double angleB = DirectionAngle(arc.centre, CadPoint{b.x, b.y});
    if (a.bulge > 0.0) {
        arc.startAngle = angleB;
        arc.endAngle = angleA;
    } else {
        arc.startAngle = angleA;
        arc.endAngle = angleB;
    }
    arc.valid = true;
    return arc;
}

int HitLine(const CadPoint& start, const CadPoint& end, const CadRect& rect) {
    return HitLineNormalized(start, end, NormalizedRect(rect));
}

int HitArc(const CadPoint& centre, double radius, double startAngle, double endAngle,
           const CadRect& rect) {
    return HitArcNormalized(centre, radius, startAngle, endAngle, NormalizedRect(rect));
}

int HitCircle(const CadPoint& centre, double radius, const CadRect& rect) {
    return HitCircleNormalized(centre, radius, NormalizedRect(rect));
}

int HitPolyline(const CCadPolyline& polyline, const CadRect& rect) {
    return HitVerticesNormalized(polyline.vertices, (polyline.flags & 1) != 0,
                                 NormalizedRect(rect));
}

int HitSolid(const CadPoint& corner1, const CadPoint& corner2, const CadPoint& corner3,
             const CadPoint& corner4, const CadRect& rect) {
    return HitSolidNormalized(corner1, corner2, corner3, corner4, NormalizedRect(rect));
}

int HitText(const CadPoint& insertion, std::string_view text, int height, double rotation,
            const CadRect& rect) {
    const CadRect r = NormalizedRect(rect);
    const std::int64_t width = static_cast<std::int64_t>(text.size()) * height / 2;
    const double w = static_cast<double>(width);
    const double h = static_cast<double>(height);
    const double c = std::cos(-rotation * kRadiansPerDegree);
    const double s = std::sin(-rotation * kRadiansPerDegree);
    auto corner = [&](double x, double y) {
        return CadPoint{insertion.x + x * c - y * s, insertion.y + x * s + y * c};
    };
    // The text stands on its insertion point: the box reaches one height upwards (-Y).
    const CadPoint corners[4] = {corner(0.0, 0.0), corner(w, 0.0), corner(w, -h), corner(0.0, -h)};
    bool allInside = true;
    for (const CadPoint& p : corners) {
        allInside = allInside && PointInRect(p, r);
    }
    if (allInside) {
        return kHitInside;
    }
    for (int i = 0; i < 4; ++i) {
        if (HitLineNormalized(corners[i], corners[(i + 1) % 4], r) != kHitNone) {
            return kHitPartly;
        }
    }
    return kHitNone;
}

int HitDimension(const CCadDimension& dimension, const CadRect& rect) {
    const CadRect r = NormalizedRect(rect);
    HitCombiner combiner;
    if (dimension.block) {
        for (const CCadEntity& entity : dimension.block->entities) {
            if (!entity.record) {
                continue;
            }
            int answer = HitBlockEntity(entity, r);
            if (answer >= 0) {
                combiner.Add(answer);
            }
        }
    }
    return combiner.Result();
}

int HitInsert(const CCadInsert& insert, const CadRect& rect) {
    const CadRect r = NormalizedRect(rect);
    const InsertPlacement placement(insert);
    HitCombiner combiner;
    std::vector<CCadVertex> placed;
    for (const CCadEntity& entity : insert.entities) {
        if (!entity.record) {
            continue;
        }
        switch (entity.type) {
            case kCadLine: {
                const auto* line = entity.As<CCadLine>();
                combiner.Add(HitLineNormalized(placement.Place(line->startX, line->startY),
                                               placement.Place(line->endX, line->endY), r));
                break;
            }
            case kCadCircle: {
                const auto* circle = entity.As<CCadCircle>();
                combiner.Add(HitCircleNormalized(placement.Place(circle->centerX, circle->centerY),
                                                 placement.ScaleRadius(circle->radius), r));
                break;
            }
            case kCadPolyline: {
                const auto* polyline = entity.As<CCadPolyline>();
                placed = polyline->vertices;
                for (CCadVertex& vertex : placed) {
                    CadPoint p = placement.Place(vertex.x, vertex.y);
                    vertex.x = p.x;
                    vertex.y = p.y;
                    if (placement.Mirrors()) {
                        vertex.bulge = -vertex.bulge;
                    }
                }
                combiner.Add(HitVerticesNormalized(placed, (polyline->flags & 1) != 0, r));
                break;
            }
            case kCadSolid: {
                const auto* s = entity.As<CCadSolid>();
                combiner.Add(HitSolidNormalized(
                    placement.Place(s->x1, s->y1), placement.Place(s->x2, s->y2),
                    placement.Place(s->x3, s->y3), placement.Place(s->x4, s->y4), r));
                break;
            }
            default:
                // Block arcs and ellipses are not tested and do not count.
                break;
        }
    }
    return combiner.Result();
}

int HitEntity(const CCadEntity& entity, const CadRect& rect) {
    if (!entity.record) {
        return kHitNone;
    }
    switch (entity.type) {
        case kCadLine: {
            const auto* line = entity.As<CCadLine>();
            return HitLine({line->startX, line->startY}, {line->endX, line->endY}, rect);
        }
        case kCadArc: {
            const auto* arc = entity.As<CCadArc>();
            return HitArc({arc->centerX, arc->centerY}, arc->radius, arc->startAngle, arc->endAngle,
                          rect);
        }
        case kCadCircle: {
            const auto* circle = entity.As<CCadCircle>();
            return HitCircle({circle->centerX, circle->centerY}, circle->radius, rect);
        }
        case kCadPolyline:
            return HitPolyline(*entity.As<CCadPolyline>(), rect);
        case kCadDimension:
            return HitDimension(*entity.As<CCadDimension>(), rect);
        case kCadText: {
            const auto* text = entity.As<CCadText>();
            return HitText({text->insertX, text->insertY}, text->text, text->height, text->rotation,
                           rect);
        }
        case kCadInsert:
            return HitInsert(*entity.As<CCadInsert>(), rect);
        case kCadSolid: {
            const auto* s = entity.As<CCadSolid>();
            return HitSolid({s->x1, s->y1}, {s->x2, s->y2}, {s->x3, s->y3}, {s->x4, s->y4}, rect);
        }
        default:
            return kHitNone;
    }
}

}  // namespace quarrant
