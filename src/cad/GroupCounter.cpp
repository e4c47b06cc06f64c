#include "cad/GroupCounter.h"

#include <cmath>
#include <cstddef>
#include <unordered_map>
#include <vector>

#include "base/CNumbers.h"
#include "cad/LengthConversion.h"

namespace quarrant {
namespace {

// An edge as the similarity compares it. An edge with equal X at both ends is vertical and has
// slope 0; edges are compared only with edges of the same verticality.
struct Edge {
    bool vertical = false;
    double slope = 0.0;
    double length = 0.0;
};

Edge MakeEdge(double x1, double y1, double x2, double y2) {
    Edge edge;
    edge.vertical = x1 == x2;
    edge.slope = edge.vertical ? 0.0 : (y2 - y1) / (x2 - x1);
    edge.length = StraightDistance(x1, y1, x2, y2);
    return edge;
}

bool SimilarEdges(const Edge& a, const Edge& b, double coordinatePrecision, double anglePrecision) {
    return a.vertical == b.vertical && std::fabs(a.slope - b.slope) < anglePrecision &&
           std::fabs(a.length - b.length) < coordinatePrecision;
}

bool SimilarPolylines(const CCadPolyline& e, const CCadPolyline& s, double coordinatePrecision,
                      double anglePrecision) {
    if (e.vertexCount != s.vertexCount || e.vertices.size() != s.vertices.size() ||
        e.flags != s.flags) {
        return false;
    }
    // Every segment from the first to the last vertex; the closing segment is not compared.
    for (std::size_t j = 0; j + 1 < e.vertices.size(); ++j) {
        const CCadVertex& e0 = e.vertices[j];
        const CCadVertex& e1 = e.vertices[j + 1];
        const CCadVertex& s0 = s.vertices[j];
        const CCadVertex& s1 = s.vertices[j + 1];
        if (e0.hasBulge != s0.hasBulge || e1.hasBulge != s1.hasBulge || e0.bulge != s0.bulge ||
            e1.bulge != s1.bulge) {
            return false;
        }
        if (!SimilarEdges(MakeEdge(e0.x, e0.y, e1.x, e1.y), MakeEdge(s0.x, s0.y, s1.x, s1.y),
                          coordinatePrecision, anglePrecision)) {
            return false;
        }
    }
    return true;
}

bool SimilarSolids(const CCadSolid& e, const CCadSolid& s, double coordinatePrecision,
                   double anglePrecision) {
    return SimilarEdges(MakeEdge(e.x1, e.y1, e.x2, e.y2), MakeEdge(s.x1, s.y1, s.x2, s.y2),
                        coordinatePrecision, anglePrecision) &&
           SimilarEdges(MakeEdge(e.x2, e.y2, e.x3, e.y3), MakeEdge(s.x2, s.y2, s.x3, s.y3),
                        coordinatePrecision, anglePrecision) &&
           SimilarEdges(MakeEdge(e.x3, e.y3, e.x4, e.y4), MakeEdge(s.x3, s.y3, s.x4, s.y4),
                        coordinatePrecision, anglePrecision);
}

// One member of a similar set: its reference point and identifier.
struct Member {
    CadPoint reference;
    std::int32_t identifier = 0;
};

// The shift test of a candidate t for a group entity g: |(g - t) - d| < precision in X and Y.
inline bool MatchesShift(const CadPoint& g, const CadPoint& t, double dx, double dy,
                         double precision) {
    return std::fabs((g.x - t.x) - dx) < precision && std::fabs((g.y - t.y) - dy) < precision;
}

// A selected entity and its similar set, in the similar-set map's iteration order. The shift
// search asks for the first member (in that order) that passes the shift test; a grid of
// square cells of the coordinate precision's size narrows the members worth testing to the
// few cells around the wanted point, and every candidate is still tested with the very
// expression above, so the answer is the one a full scan gives.
class Group {
public:
    Group(CadPoint reference, std::vector<Member> members)
        : m_reference(reference), m_members(std::move(members)) {}

    const CadPoint& Reference() const { return m_reference; }
    const std::vector<Member>& Members() const { return m_members; }

    // Position of the first member whose shift against this group's entity is (dx, dy)
    // within the precision, or -1.
    long FindFirst(double dx, double dy, double precision) {
        if (!(precision > 0.0)) {
            return -1;  // a strict comparison with 0 (or NaN) never holds
        }
        if (m_members.size() <= kLinearScanLimit || !std::isfinite(precision)) {
            return ScanFrom(0, dx, dy, precision);
        }
        if (!m_gridBuilt) {
            BuildGrid(precision);
        }
        const double qx = m_reference.x - dx;
        const double qy = m_reference.y - dy;
        // A margin far above the rounding of the test's two subtractions.
        const double margin =
            precision * 1e-9 +
            1e-12 * (std::fabs(m_reference.x) + std::fabs(m_reference.y) + std::fabs(dx) +
                     std::fabs(dy) + std::fabs(qx) + std::fabs(qy) + precision + 1.0);
        const double reach = precision + margin;
        long cx0 = 0, cx1 = 0, cy0 = 0, cy1 = 0;
        if (!CellIndex(qx - reach, &cx0) || !CellIndex(qx + reach, &cx1) ||
            !CellIndex(qy - reach, &cy0) || !CellIndex(qy + reach, &cy1) || cx1 - cx0 > 4 ||
            cy1 - cy0 > 4) {
            return ScanFrom(0, dx, dy, precision);
        }
        long best = -1;
        auto consider = [&](std::uint32_t position) {
            if (best >= 0 && static_cast<long>(position) >= best) {
                return false;  // later in iteration order than a match already found
            }
            if (MatchesShift(m_reference, m_members[position].reference, dx, dy, precision)) {
                best = static_cast<long>(position);
                return false;
            }
            return true;
        };
        for (long cx = cx0; cx <= cx1; ++cx) {
            for (long cy = cy0; cy <= cy1; ++cy) {
                auto found = m_cells.find(CellKey(cx, cy));
                if (found == m_cells.end()) {
                    continue;
                }
                for (std::uint32_t position : found->second) {  // ascending positions
                    if (!consider(position)) {
                        break;
                    }
                }
            }
        }
        for (std::uint32_t position : m_outliers) {
            if (!consider(position)) {
                break;
            }
        }
        return best;
    }

private:
    static constexpr std::size_t kLinearScanLimit = 16;
    static constexpr double kCellLimit = 2147483647.0;

    long ScanFrom(std::size_t first, double dx, double dy, double precision) const {
        for (std::size_t i = first; i < m_members.size(); ++i) {
            if (MatchesShift(m_reference, m_members[i].reference, dx, dy, precision)) {
                return static_cast<long>(i);
            }
        }
        return -1;
    }

    bool CellIndex(double coordinate, long* cell) const {
        const double index = std::floor(coordinate / m_cellSize);
        if (!(std::fabs(index) < kCellLimit)) {
            return false;
        }
        *cell = static_cast<long>(index);
        return true;
    }

    static std::uint64_t CellKey(long cx, long cy) {
        return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(cx)) << 32) |
               static_cast<std::uint32_t>(cy);
    }

    void BuildGrid(double precision) {
        m_cellSize = precision;
        for (std::size_t i = 0; i < m_members.size(); ++i) {
            long cx = 0, cy = 0;
            const CadPoint& p = m_members[i].reference;
            if (CellIndex(p.x, &cx) && CellIndex(p.y, &cy)) {
                m_cells[CellKey(cx, cy)].push_back(static_cast<std::uint32_t>(i));
            } else {
                // Beyond the grid (or not a number): tested on every query.
                m_outliers.push_back(static_cast<std::uint32_t>(i));
            }
        }
        m_gridBuilt = true;
    }

    CadPoint m_reference;
    std::vector<Member> m_members;
    bool m_gridBuilt = false;
    double m_cellSize = 1.0;
    std::unordered_map<std::uint64_t, std::vector<std::uint32_t>> m_cells;
    std::vector<std::uint32_t> m_outliers;
};

void AppendIdentifier(std::string& text, std::int32_t identifier) {
    text += FormatInt(identifier);
    text += ';';
}

}  // namespace

bool TakesPartInCount(int type) {
    return type == kCadLine || type == kCadArc || type == kCadCircle || type == kCadPolyline ||
           type == kCadInsert || type == kCadSolid;
}

bool ReferencePoint(const CCadEntity& entity, CadPoint* point) {
    if (!entity.record) {
        return false;
    }
    switch (entity.type) {
        case kCadLine: {
            const auto* line = entity.As<CCadLine>();
            *point = {line->startX, line->startY};
            return true;
        }
        case kCadArc: {
            const auto* arc = entity.As<CCadArc>();
            *point = {arc->centerX, arc->centerY};
            return true;
        }
        case kCadCircle: {
            const auto* circle = entity.As<CCadCircle>();
            *point = {circle->centerX, circle->centerY};
            return true;
        }
        case kCadPolyline: {
            const auto* polyline = entity.As<CCadPolyline>();
            *point = polyline->vertices.empty()
                         ? CadPoint{0.0, 0.0}
                         : CadPoint{polyline->vertices[0].x, polyline->vertices[0].y};
            return true;
        }
        case kCadInsert: {
            const auto* insert = entity.As<CCadInsert>();
            *point = {insert->insertX, insert->insertY};
            return true;
        }
        case kCadSolid: {
            const auto* solid = entity.As<CCadSolid>();
            *point = {solid->x1, solid->y1};
            return true;
        }
        default:
            return false;
    }
}

bool IsSimilar(const CCadEntity& candidate, const CCadEntity& selected, double coordinatePrecision,
               double anglePrecision) {
    if (candidate.type != selected.type || !candidate.record || !selected.record) {
        return false;
    }
    switch (selected.type) {
        case kCadLine: {
            const auto* e = candidate.As<CCadLine>();
            const auto* s = selected.As<CCadLine>();
            return SimilarEdges(MakeEdge(e->startX, e->startY, e->endX, e->endY),
                                MakeEdge(s->startX, s->startY, s->endX, s->endY),
                                coordinatePrecision, anglePrecision);
        }
        case kCadArc: {
            const auto* e = candidate.As<CCadArc>();
            const auto* s = selected.As<CCadArc>();
            return std::fabs(e->startAngle - s->startAngle) < coordinatePrecision &&
                   std::fabs(e->endAngle - s->endAngle) < coordinatePrecision &&
                   std::fabs(e->radius - s->radius) < coordinatePrecision;
        }
        case kCadCircle:
            return std::fabs(candidate.As<CCadCircle>()->radius -
                             selected.As<CCadCircle>()->radius) < coordinatePrecision;
        case kCadPolyline:
            return SimilarPolylines(*candidate.As<CCadPolyline>(), *selected.As<CCadPolyline>(),
                                    coordinatePrecision, anglePrecision);
        case kCadInsert:
            return candidate.As<CCadInsert>()->blockName == selected.As<CCadInsert>()->blockName;
        case kCadSolid:
            return SimilarSolids(*candidate.As<CCadSolid>(), *selected.As<CCadSolid>(),
                                 coordinatePrecision, anglePrecision);
        default:
            return false;
    }
}

int CountRepeatedGroups(const CCadDrawing& drawing, const CCadEntityList& selection,
                        float coordinatePrecision, float anglePrecision,
                        CExclusionMap& exclusionMap, std::string& identifierText) {
    const double coordinate = coordinatePrecision;
    const double angle = anglePrecision;

    exclusionMap.RemoveAll();
    for (const CCadEntity& entity : selection) {
        if (entity.record && TakesPartInCount(entity.type)) {
            exclusionMap[entity.record->identifier];
        }
    }

    // One group per usable selected entity, in selection order; the first is the anchor.
    std::vector<Group> groups;
    std::vector<const CCadEntity*> groupEntities;
    for (const CCadEntity& selected : selection) {
        if (!selected.record || !TakesPartInCount(selected.type)) {
            continue;
        }
        HashMap17<std::int32_t, const CCadEntity*> similarSet;
        for (const CCadEntity& candidate : drawing.entities) {
            if (candidate.type != selected.type || !candidate.record ||
                !IsSimilar(candidate, selected, coordinate, angle) ||
                exclusionMap.Contains(candidate.record->identifier)) {
                continue;
            }
            similarSet.SetAt(candidate.record->identifier, &candidate);
        }
        std::vector<Member> members;
        members.reserve(similarSet.size());
        for (const auto& entry : similarSet) {
            Member member;
            ReferencePoint(*entry.value, &member.reference);
            member.identifier = entry.key;
            members.push_back(member);
        }
        CadPoint reference;
        ReferencePoint(selected, &reference);
        groups.emplace_back(reference, std::move(members));
        groupEntities.push_back(&selected);
    }
    if (groups.empty()) {
        return 0;
    }

    int occurrences = 0;
    std::vector<std::int32_t> matched(groups.size());
    const CadPoint anchorReference = groups[0].Reference();
    const std::vector<Member>& anchorMembers = groups[0].Members();
    for (const Member& k : anchorMembers) {
        const double dx = anchorReference.x - k.reference.x;
        const double dy = anchorReference.y - k.reference.y;
        bool complete = true;
        for (std::size_t g = 0; g < groups.size(); ++g) {
            long position = groups[g].FindFirst(dx, dy, coordinate);
            if (position < 0) {
                complete = false;
                break;
            }
            matched[g] = groups[g].Members()[static_cast<std::size_t>(position)].identifier;
        }
        if (!complete) {
            continue;
        }
        for (std::int32_t identifier : matched) {
            AppendIdentifier(identifierText, identifier);
        }
        AppendIdentifier(identifierText, k.identifier);
        ++occurrences;
    }

    for (const CCadEntity* entity : groupEntities) {
        AppendIdentifier(identifierText, entity->record->identifier);
    }
    AppendIdentifier(identifierText, groupEntities[0]->record->identifier);
    return occurrences + 1;
}

}  // namespace quarrant
