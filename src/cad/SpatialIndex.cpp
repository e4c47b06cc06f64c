#include "cad/SpatialIndex.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <numbers>
#include <numeric>

#include "cad/CadView.h"

namespace quarrant {
namespace {

// Puts entity indices (all below count) in ascending order: a radix sort by 11-bit digits,
// which for the thousands of entities of a view is several times quicker than comparing.
void SortIndices(std::vector<std::uint32_t>& indices, std::size_t count) {
    if (indices.size() < 256) {
        std::sort(indices.begin(), indices.end());
        return;
    }
    constexpr int kBits = 11;
    constexpr std::uint32_t kDigits = 1u << kBits;
    int bits = 1;
    while (bits < 32 && (std::size_t{1} << bits) < count) {
        ++bits;
    }
    thread_local std::vector<std::uint32_t> scratch;
    scratch.resize(indices.size());
    std::vector<std::uint32_t>* from = &indices;
    std::vector<std::uint32_t>* to = &scratch;
    std::uint32_t counts[kDigits];
    for (int shift = 0; shift < bits; shift += kBits) {
        std::fill(std::begin(counts), std::end(counts), 0u);
        for (std::uint32_t v : *from) {
            ++counts[(v >> shift) & (kDigits - 1)];
        }
        std::uint32_t total = 0;
        for (std::uint32_t& c : counts) {
            const std::uint32_t here = c;
            c = total;
            total += here;
        }
        for (std::uint32_t v : *from) {
            (*to)[counts[(v >> shift) & (kDigits - 1)]++] = v;
        }
        std::swap(from, to);
    }
    if (from != &indices) {
        indices.swap(scratch);
    }
}

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;

// Collects points into a box, ignoring points that are not finite.
class BoxBuilder {
public:
    void Add(double x, double y) {
        if (!std::isfinite(x) || !std::isfinite(y)) {
            return;
        }
        if (!m_valid) {
            m_box = CadRect{x, y, x, y};
            m_valid = true;
            return;
        }
        m_box.xmin = std::min(m_box.xmin, x);
        m_box.ymin = std::min(m_box.ymin, y);
        m_box.xmax = std::max(m_box.xmax, x);
        m_box.ymax = std::max(m_box.ymax, y);
    }
    void Add(const CadPoint& p) { Add(p.x, p.y); }
    void Add(const CadRect& r) {
        Add(r.xmin, r.ymin);
        Add(r.xmax, r.ymax);
    }
    // A box mapped by t (its four corners).
    void AddMapped(const CadRect& r, const CadTransform& t) {
        Add(t.Map(r.xmin, r.ymin));
        Add(t.Map(r.xmax, r.ymin));
        Add(t.Map(r.xmin, r.ymax));
        Add(t.Map(r.xmax, r.ymax));
    }
    void AddSquare(double cx, double cy, double half) {
        half = std::fabs(half);
        if (!std::isfinite(half)) {
            return;
        }
        Add(cx - half, cy - half);
        Add(cx + half, cy + half);
    }
    void Grow(double margin) {
        if (m_valid && std::isfinite(margin) && margin > 0.0) {
            m_box.xmin -= margin;
            m_box.ymin -= margin;
            m_box.xmax += margin;
            m_box.ymax += margin;
        }
    }
    bool Valid() const { return m_valid; }
    const CadRect& Box() const { return m_box; }

private:
    CadRect m_box;
    bool m_valid = false;
};

// The box of an arc: its end points and the axis extremes its sweep passes.
void AddArc(BoxBuilder& box, double cx, double cy, double radius, double startAngle,
            double endAngle) {
    radius = std::fabs(radius);
    const double sweep = ArcSweep(startAngle, endAngle);
    if (!std::isfinite(sweep) || !std::isfinite(radius) || sweep >= 360.0 || sweep < 0.0) {
        box.AddSquare(cx, cy, radius);
        return;
    }
    auto point = [&](double degrees) {
        const double a = degrees * kRadiansPerDegree;
        box.Add(cx + radius * std::cos(a), cy + radius * std::sin(a));
    };
    point(startAngle);
    point(startAngle + sweep);
    const double first = std::ceil(startAngle / 90.0) * 90.0;
    for (double axis = first; axis <= startAngle + sweep; axis += 90.0) {
        point(axis);
    }
}

void AddPolyline(BoxBuilder& box, const CCadPolyline& polyline) {
    const auto& vertices = polyline.vertices;
    const std::size_t n = vertices.size();
    auto segment = [&](const CCadVertex& a, const CCadVertex& b) {
        box.Add(a.x, a.y);
        box.Add(b.x, b.y);
        const BulgeArc arc = BulgeSegmentArc(a, b);
        if (arc.valid) {
            AddArc(box, arc.centre.x, arc.centre.y, arc.radius, arc.startAngle, arc.endAngle);
        }
    };
    for (std::size_t i = 0; i + 1 < n; ++i) {
        segment(vertices[i], vertices[i + 1]);
    }
    if (n == 1) {
        box.Add(vertices[0].x, vertices[0].y);
    }
    if ((polyline.flags & 1) != 0 && n >= 2) {
        segment(vertices[n - 1], vertices[0]);
    }
    box.Grow(std::fabs(polyline.constantWidth) / 2.0);
}

// Text boxes are estimated: at most one text height per byte wide (a GBK character of two
// bytes is one em), one and a half heights high, with half a height to spare around. A
// turned text gets the disc its box can sweep, whichever way it is turned.
void AddTextBox(BoxBuilder& box, double x, double y, double size, std::size_t bytes,
                double rotation) {
    size = std::fabs(size);
    const double width = static_cast<double>(bytes) * size;
    const double wholeDegrees = std::fmod(std::trunc(rotation), 360.0);
    if (wholeDegrees == 0.0 && std::fabs(rotation) < 1.0) {
        box.Add(x - size / 2.0, y - 2.0 * size);
        box.Add(x + width + size / 2.0, y + 2.0 * size);
        return;
    }
    const double reach = size + std::hypot(width + size, 2.5 * size);
    box.AddSquare(x, y, reach);
}

void AddBlockEntity(BoxBuilder& box, const CCadEntity& entity, const CCadDrawing* ellipseFrame);

void AddEntityList(BoxBuilder& box, const CCadEntityList& list, const CCadDrawing* ellipseFrame) {
    for (const CCadEntity& entity : list) {
        AddBlockEntity(box, entity, ellipseFrame);
    }
}

void AddEllipse(BoxBuilder& box, const CCadEllipse& ellipse, const CCadDrawing* frame) {
    const EllipseAxes axes = EllipseAxesOf(ellipse, frame);
    const double halfX = std::hypot(axes.major.x, axes.minor.x);
    const double halfY = std::hypot(axes.major.y, axes.minor.y);
    box.Add(axes.centre.x - halfX, axes.centre.y - halfY);
    box.Add(axes.centre.x + halfX, axes.centre.y + halfY);
    // The grip at the axis point.
    box.Add(axes.centre.x + axes.major.x, axes.centre.y + axes.major.y);
}

void AddSolid(BoxBuilder& box, const CCadSolid& s) {
    box.Add(s.x1, s.y1);
    box.Add(s.x2, s.y2);
    box.Add(s.x3, s.y3);
    box.Add(s.x4, s.y4);
}

// The entities that lists of INSERTs and dimension blocks hold.
void AddBlockEntity(BoxBuilder& box, const CCadEntity& entity, const CCadDrawing* ellipseFrame) {
    if (!entity.record) {
        return;
    }
    switch (entity.type) {
        case kCadLine: {
            const auto* line = entity.As<CCadLine>();
            box.Add(line->startX, line->startY);
            box.Add(line->endX, line->endY);
            break;
        }
        case kCadArc: {
            const auto* arc = entity.As<CCadArc>();
            AddArc(box, arc->centerX, arc->centerY, arc->radius, arc->startAngle, arc->endAngle);
            break;
        }
        case kCadCircle: {
            const auto* circle = entity.As<CCadCircle>();
            box.AddSquare(circle->centerX, circle->centerY, circle->radius);
            break;
        }
        case kCadEllipse:
            AddEllipse(box, *entity.As<CCadEllipse>(), ellipseFrame);
            break;
        case kCadPolyline:
            AddPolyline(box, *entity.As<CCadPolyline>());
            break;
        case kCadSolid:
            AddSolid(box, *entity.As<CCadSolid>());
            break;
        default:
            break;
    }
}

std::size_t MTextWidestPiece(const std::string& text, std::size_t& pieces) {
    std::size_t widest = 0;
    std::size_t current = 0;
    pieces = 1;
    for (char c : text) {
        if (c == '\\') {
            ++pieces;
            widest = std::max(widest, current);
            current = 0;
        } else {
            ++current;
        }
    }
    return std::max(widest, current);
}

CadTransform InsertPickTransform(const CCadInsert& insert) {
    const double radians = -insert.rotation * kRadiansPerDegree;
    CadTransform t;
    t.m11 = std::cos(radians) * insert.scaleX;
    t.m12 = std::sin(radians) * insert.scaleX;
    t.m21 = -std::sin(radians) * insert.scaleY;
    t.m22 = std::cos(radians) * insert.scaleY;
    t.dx = insert.insertX;
    t.dy = insert.insertY;
    return t;
}

void AddInsert(BoxBuilder& box, const CCadInsert& insert) {
    // The block's entities placed both as they are drawn (whole degrees) and as the pick test
    // places them (exact rotation, radii scaled by the X scale), so that the box holds both.
    const CadTransform drawn = InsertDrawTransform(insert);
    const CadTransform picked = InsertPickTransform(insert);
    const double radiusScale = std::max(std::fabs(insert.scaleX), std::fabs(insert.scaleY));
    box.Add(insert.insertX, insert.insertY);
    for (const CCadEntity& entity : insert.entities) {
        if (!entity.record) {
            continue;
        }
        if (entity.type == kCadCircle || entity.type == kCadArc) {
            // Round shapes: a square about the placed centre holding the circle at the larger
            // scale holds the drawn ellipse and the tested circle alike.
            double cx = 0.0, cy = 0.0, radius = 0.0;
            if (entity.type == kCadCircle) {
                const auto* circle = entity.As<CCadCircle>();
                cx = circle->centerX;
                cy = circle->centerY;
                radius = circle->radius;
            } else {
                const auto* arc = entity.As<CCadArc>();
                cx = arc->centerX;
                cy = arc->centerY;
                radius = arc->radius;
            }
            for (const CadTransform* t : {&drawn, &picked}) {
                const CadPoint c = t->Map(cx, cy);
                box.AddSquare(c.x, c.y, radius * radiusScale);
            }
            continue;
        }
        BoxBuilder local;
        AddBlockEntity(local, entity, nullptr);
        if (local.Valid()) {
            box.AddMapped(local.Box(), drawn);
            box.AddMapped(local.Box(), picked);
        }
        if (entity.type == kCadPolyline) {
            // The pick test rebuilds the bulged segments as circular arcs between the placed
            // vertices, which a stretched block does not map to the drawn curve.
            CCadPolyline placed = *entity.As<CCadPolyline>();
            for (CCadVertex& vertex : placed.vertices) {
                const CadPoint p = picked.Map(vertex.x, vertex.y);
                vertex.x = p.x;
                vertex.y = p.y;
                if (picked.Mirrors()) {
                    vertex.bulge = -vertex.bulge;
                }
            }
            AddPolyline(box, placed);
        }
    }
}

}  // namespace

bool EntityBounds(const CCadEntity& entity, const CCadDrawing& drawing, CadRect& result) {
    if (!entity.record) {
        return false;
    }
    BoxBuilder box;
    switch (entity.type) {
        case kCadLine:
        case kCadArc:
        case kCadCircle:
        case kCadPolyline:
        case kCadSolid:
            AddBlockEntity(box, entity, &drawing);
            if (entity.type == kCadCircle) {
                // The grips at the quadrant points lie on the box; the centre grip inside.
                const auto* circle = entity.As<CCadCircle>();
                box.Add(circle->centerX, circle->centerY);
            }
            break;
        case kCadEllipse:
            AddEllipse(box, *entity.As<CCadEllipse>(), &drawing);
            break;
        case kCadText: {
            const auto* text = entity.As<CCadText>();
            // Drawn standing on the insertion point; picked by a box of the same height.
            AddTextBox(box, text->insertX, text->insertY - text->height,
                       static_cast<double>(text->height), text->text.size(), text->rotation);
            AddTextBox(box, text->insertX, text->insertY, static_cast<double>(text->height),
                       text->text.size(), text->rotation);
            break;
        }
        case kCadMText: {
            const auto* text = entity.As<CCadMText>();
            std::size_t pieces = 1;
            const std::size_t widest = MTextWidestPiece(text->text, pieces);
            const double size = std::fabs(text->textHeight);
            box.Add(text->insertX - size / 2.0, text->insertY - size);
            box.Add(text->insertX + static_cast<double>(widest) * size + size / 2.0,
                    text->insertY + (static_cast<double>(pieces) + 1.0) * size);
            break;
        }
        case kCadDimension: {
            const auto* dimension = entity.As<CCadDimension>();
            if (dimension->block) {
                AddEntityList(box, dimension->block->entities, &drawing);
                const std::string shown = DimensionValueText(*dimension);
                AddTextBox(box, dimension->point11.x, dimension->point11.y,
                           DimensionTextSize(*dimension), shown.size() + 1, 45.0);
            }
            for (const CCadDimPoint* point :
                 {&dimension->point11, &dimension->point10, &dimension->point12,
                  &dimension->point13, &dimension->point14, &dimension->point15,
                  &dimension->point16}) {
                if (point->present != 0) {
                    box.Add(point->x, point->y);
                }
            }
            break;
        }
        case kCadInsert:
            AddInsert(box, *entity.As<CCadInsert>());
            break;
        default:
            return false;
    }
    if (!box.Valid()) {
        return false;
    }
    result = box.Box();
    return true;
}

void SpatialIndex::Clear() {
    m_boxes.clear();
    m_hasBox.clear();
    m_hasBounds = false;
    m_grids.clear();
    m_builtData = nullptr;
    m_builtSize = 0;
}

bool SpatialIndex::IsBuiltFor(const CCadDrawing& drawing) const {
    return m_builtData == drawing.entities.data() && m_builtSize == drawing.entities.size() &&
           m_boxes.size() == drawing.entities.size();
}

void SpatialIndex::Build(const CCadDrawing& drawing) {
    Clear();
    const std::size_t n = drawing.entities.size();
    m_builtData = drawing.entities.data();
    m_builtSize = n;
    m_boxes.resize(n);
    m_hasBox.assign(n, 0);
    BoxBuilder all;
    for (std::size_t i = 0; i < n; ++i) {
        if (EntityBounds(drawing.entities[i], drawing, m_boxes[i])) {
            m_hasBox[i] = 1;
            all.Add(m_boxes[i]);
        }
    }
    m_hasBounds = all.Valid();
    if (!m_hasBounds) {
        return;
    }
    m_bounds = all.Box();
    // The finest grid: about one cell per entity, square cells over the union of the boxes.
    const double width = std::max(m_bounds.xmax - m_bounds.xmin, 1e-9);
    const double height = std::max(m_bounds.ymax - m_bounds.ymin, 1e-9);
    const double cells = std::clamp(static_cast<double>(n), 1.0, 4194304.0);
    double side = std::sqrt(width * height / cells);
    if (!(side > 0.0) || !std::isfinite(side)) {
        side = std::max(width, height);
    }
    int columns = static_cast<int>(std::clamp(std::ceil(width / side), 1.0, 4096.0));
    int rows = static_cast<int>(std::clamp(std::ceil(height / side), 1.0, 4096.0));
    while (true) {
        Grid grid;
        grid.columns = columns;
        grid.rows = rows;
        grid.cellWidth = width / columns;
        grid.cellHeight = height / rows;
        grid.cellStart.assign(static_cast<std::size_t>(columns) * rows + 1, 0);
        m_grids.push_back(std::move(grid));
        if (columns == 1 && rows == 1) {
            break;
        }
        columns = (columns + 3) / 4;
        rows = (rows + 3) / 4;
    }

    // The grid of each entity: the first in which its box covers at most this many cells.
    constexpr long long kMaxCellsPerEntity = 16;
    std::vector<std::uint8_t> level(n, 0);
    for (std::size_t i = 0; i < n; ++i) {
        if (!m_hasBox[i]) {
            continue;
        }
        for (std::size_t g = 0; g < m_grids.size(); ++g) {
            int c0, r0, c1, r1;
            m_grids[g].Range(m_boxes[i], m_bounds, c0, r0, c1, r1);
            const long long covered = static_cast<long long>(c1 - c0 + 1) * (r1 - r0 + 1);
            if (covered <= kMaxCellsPerEntity || g + 1 == m_grids.size()) {
                level[i] = static_cast<std::uint8_t>(g);
                break;
            }
        }
    }
    // Two passes: count the entries of each cell, then fill them.
    for (std::size_t i = 0; i < n; ++i) {
        if (!m_hasBox[i]) {
            continue;
        }
        Grid& grid = m_grids[level[i]];
        int c0, r0, c1, r1;
        grid.Range(m_boxes[i], m_bounds, c0, r0, c1, r1);
        for (int r = r0; r <= r1; ++r) {
            for (int c = c0; c <= c1; ++c) {
                ++grid.cellStart[static_cast<std::size_t>(r) * grid.columns + c + 1];
            }
        }
    }
    std::vector<std::vector<std::uint32_t>> fill(m_grids.size());
    for (std::size_t g = 0; g < m_grids.size(); ++g) {
        Grid& grid = m_grids[g];
        std::partial_sum(grid.cellStart.begin(), grid.cellStart.end(), grid.cellStart.begin());
        grid.entries.resize(grid.cellStart.back());
        fill[g].assign(grid.cellStart.begin(), grid.cellStart.end() - 1);
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (!m_hasBox[i]) {
            continue;
        }
        Grid& grid = m_grids[level[i]];
        std::vector<std::uint32_t>& next = fill[level[i]];
        int c0, r0, c1, r1;
        grid.Range(m_boxes[i], m_bounds, c0, r0, c1, r1);
        for (int r = r0; r <= r1; ++r) {
            for (int c = c0; c <= c1; ++c) {
                grid.entries[next[static_cast<std::size_t>(r) * grid.columns + c]++] =
                    CellEntry{static_cast<std::uint32_t>(i), static_cast<std::uint16_t>(c0),
                              static_cast<std::uint16_t>(r0)};
            }
        }
    }
}

void SpatialIndex::Grid::Range(const CadRect& box, const CadRect& bounds, int& c0, int& r0, int& c1,
                               int& r1) const {
    auto column = [&](double x) {
        return static_cast<int>(
            std::clamp(std::floor((x - bounds.xmin) / cellWidth), 0.0, columns - 1.0));
    };
    auto row = [&](double y) {
        return static_cast<int>(
            std::clamp(std::floor((y - bounds.ymin) / cellHeight), 0.0, rows - 1.0));
    };
    c0 = column(box.xmin);
    c1 = column(box.xmax);
    r0 = row(box.ymin);
    r1 = row(box.ymax);
}

void SpatialIndex::Query(const CadRect& rect, std::vector<std::uint32_t>& indices) const {
    indices.clear();
    if (!m_hasBounds) {
        return;
    }
    auto meets = [&](std::uint32_t i) {
        const CadRect& box = m_boxes[i];
        return box.xmin <= rect.xmax && box.xmax >= rect.xmin && box.ymin <= rect.ymax &&
               box.ymax >= rect.ymin;
    };
    // A rectangle holding every box: all entities with a box, already in order.
    if (rect.xmin <= m_bounds.xmin && rect.ymin <= m_bounds.ymin && rect.xmax >= m_bounds.xmax &&
        rect.ymax >= m_bounds.ymax) {
        indices.reserve(m_boxes.size());
        for (std::uint32_t i = 0; i < m_boxes.size(); ++i) {
            if (m_hasBox[i]) {
                indices.push_back(i);
            }
        }
        return;
    }
    if (rect.xmin > m_bounds.xmax || rect.xmax < m_bounds.xmin || rect.ymin > m_bounds.ymax ||
        rect.ymax < m_bounds.ymin || !(rect.xmin <= rect.xmax) || !(rect.ymin <= rect.ymax)) {
        return;
    }
    for (const Grid& grid : m_grids) {
        if (grid.entries.empty()) {
            continue;
        }
        int c0, r0, c1, r1;
        grid.Range(rect, m_bounds, c0, r0, c1, r1);
        for (int r = r0; r <= r1; ++r) {
            for (int c = c0; c <= c1; ++c) {
                // A cell between the first and last column and row lies inside rect: whatever
                // is entered in it meets rect.
                const bool inside = c > c0 && c < c1 && r > r0 && r < r1;
                const std::size_t cell = static_cast<std::size_t>(r) * grid.columns + c;
                const CellEntry* entry = grid.entries.data() + grid.cellStart[cell];
                const CellEntry* end = grid.entries.data() + grid.cellStart[cell + 1];
                for (; entry != end; ++entry) {
                    if (std::max<int>(entry->firstColumn, c0) != c ||
                        std::max<int>(entry->firstRow, r0) != r) {
                        continue;  // reported from an earlier cell
                    }
                    if (inside || meets(entry->index)) {
                        indices.push_back(entry->index);
                    }
                }
            }
        }
    }
    SortIndices(indices, m_boxes.size());
}

}  // namespace quarrant
