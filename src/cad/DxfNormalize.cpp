#include "cad/DxfNormalize.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

namespace quarrant {
namespace {

// ---------------------------------------------------------------------------------------------
// Extents

bool ExtentsUnmoved(const CCadDrawing& drawing) {
    return drawing.minX == kInitialMinExtent && drawing.minY == kInitialMinExtent &&
           drawing.maxX == kInitialMaxExtent && drawing.maxY == kInitialMaxExtent;
}

// When no entity moved the extents while reading (a drawing of circles, texts or block
// references only), they are taken from the points the transformation moves, with the same
// update rule; without any such point they are all 0.
void MendUnmovedExtents(CCadDrawing& drawing) {
    if (!ExtentsUnmoved(drawing)) {
        return;
    }
    bool anyPoint = false;
    auto point = [&](double x, double y) {
        ExtendExtents(x, drawing.minX, drawing.maxX);
        ExtendExtents(y, drawing.minY, drawing.maxY);
        anyPoint = true;
    };
    for (const CCadEntity& entity : drawing.entities) {
        if (!entity.record) {
            continue;
        }
        switch (entity.type) {
            case kCadArc: {
                const auto* arc = entity.As<CCadArc>();
                point(arc->centerX - arc->radius, arc->centerY - arc->radius);
                point(arc->centerX + arc->radius, arc->centerY + arc->radius);
                break;
            }
            case kCadCircle: {
                const auto* circle = entity.As<CCadCircle>();
                point(circle->centerX - circle->radius, circle->centerY - circle->radius);
                point(circle->centerX + circle->radius, circle->centerY + circle->radius);
                break;
            }
            case kCadEllipse: {
                const auto* ellipse = entity.As<CCadEllipse>();
                point(ellipse->centerX, ellipse->centerY);
                break;
            }
            case kCadText: {
                const auto* text = entity.As<CCadText>();
                point(text->insertX, text->insertY);
                break;
            }
            case kCadMText: {
                const auto* mtext = entity.As<CCadMText>();
                point(mtext->insertX, mtext->insertY);
                break;
            }
            case kCadInsert: {
                const auto* insert = entity.As<CCadInsert>();
                point(insert->insertX, insert->insertY);
                break;
            }
            case kCadDimension: {
                const auto* dimension = entity.As<CCadDimension>();
                for (const CCadDimPoint* p :
                     {&dimension->point10, &dimension->point11, &dimension->point12,
                      &dimension->point13, &dimension->point14, &dimension->point15,
                      &dimension->point16}) {
                    if (p->present != 0) {
                        point(p->x, p->y);
                    }
                }
                break;
            }
            default:
                break;
        }
    }
    if (!anyPoint) {
        drawing.minX = drawing.minY = drawing.maxX = drawing.maxY = 0.0;
    }
}

// ---------------------------------------------------------------------------------------------
// Colours

// Resolves colour numbers through the layer table and the colour table. Consecutive entities
// mostly share a layer, so the last layer found is remembered.
class ColorResolver {
public:
    explicit ColorResolver(const CCadDrawing& drawing)
        : m_layers(drawing.layerTable), m_colors(drawing.ColorTable()) {}

    // BYLAYER (256) takes the layer's colour number (-1 for a layer that is off; a missing
    // layer leaves 256); the number then gives the RGB when the colour table has it. Returns
    // whether it had.
    bool Resolve(CCadRecord& record) {
        if (record.colorNumber == 256) {
            const CCadLayer* layer = FindLayer(record.layer);
            if (layer != nullptr) {
                record.colorNumber = layer->colorNumber < 0 ? -1 : layer->colorNumber;
            }
        }
        const CCadColor* color = m_colors.Lookup(record.colorNumber);
        if (color == nullptr) {
            return false;
        }
        record.color = *color;
        return true;
    }

private:
    const CCadLayer* FindLayer(const std::string& name) {
        if (!m_lastValid || name != m_lastName) {
            m_last = m_layers.Lookup(name);
            m_lastName = name;
            m_lastValid = true;
        }
        return m_last;
    }

    const HashMap17<std::string, CCadLayer>& m_layers;
    const CCadColorTable& m_colors;
    bool m_lastValid = false;
    std::string m_lastName;
    const CCadLayer* m_last = nullptr;
};

constexpr CCadColor kDimensionGreen{0, 255, 0};

// ---------------------------------------------------------------------------------------------
// Transformation

// (x, y) -> (x - minX, H - (y - minY)) with H = maxY - minY: Y grows downwards from the top.
struct ScreenFrame {
    double minX = 0.0;
    double minY = 0.0;
    double height = 0.0;

    void Apply(double& x, double& y) const {
        x = x - minX;
        y = height - (y - minY);
    }
};

// Dimension blocks hold absolute coordinates: their Y, negated when BLOCKS was read, is negated
// back, then the points are transformed as top-level points. Arcs keep the angles the BLOCKS
// step gave them; polyline vertices of dimension blocks are left as they are.
void TransformDimensionBlock(CCadBlock& block, const ScreenFrame& frame) {
    for (CCadEntity& entity : block.entities) {
        if (!entity.record) {
            continue;
        }
        switch (entity.type) {
            case kCadLine: {
                auto* line = entity.As<CCadLine>();
                line->startY = -line->startY;
                line->endY = -line->endY;
                frame.Apply(line->startX, line->startY);
                frame.Apply(line->endX, line->endY);
                break;
            }
            case kCadArc: {
                auto* arc = entity.As<CCadArc>();
                arc->centerY = -arc->centerY;
                frame.Apply(arc->centerX, arc->centerY);
                break;
            }
            case kCadCircle: {
                auto* circle = entity.As<CCadCircle>();
                circle->centerY = -circle->centerY;
                frame.Apply(circle->centerX, circle->centerY);
                break;
            }
            case kCadEllipse: {
                auto* ellipse = entity.As<CCadEllipse>();
                ellipse->centerY = -ellipse->centerY;
                ellipse->axisY = -ellipse->axisY;
                frame.Apply(ellipse->centerX, ellipse->centerY);
                frame.Apply(ellipse->axisX, ellipse->axisY);
                break;
            }
            case kCadSolid: {
                auto* solid = entity.As<CCadSolid>();
                solid->y1 = -solid->y1;
                solid->y2 = -solid->y2;
                solid->y3 = -solid->y3;
                solid->y4 = -solid->y4;
                frame.Apply(solid->x1, solid->y1);
                frame.Apply(solid->x2, solid->y2);
                frame.Apply(solid->x3, solid->y3);
                frame.Apply(solid->x4, solid->y4);
                break;
            }
            default:
                break;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Duplicate removal
//
// Each entity of a removable type, in array order, removes every later entity of its type that
// matches it (earlier ones cannot: matching is symmetric, so a match would have removed it).
// Instead of comparing every pair, candidates are grouped by two key coordinates in cells
// several precisions wide: a partner lies in the same cell, or in a neighbour when the value
// is near that side. A small table of occupied cells lets a candidate with nobody near skip
// all further work; the others are compared with the exact strict test. The cells only narrow
// down whom to test, so the survivors are those of the pairwise search.

// Values match when they differ by less than the precision in both directions.
inline bool Near(double a, double b, double precision) {
    return a - b < precision && b - a < precision;
}

enum DuplicateKind {
    kDupLine,
    kDupArc,
    kDupCircle,
    kDupPolyline,
    kDupInsert,
    kDupSolid,
    kDupKinds
};

int DuplicateKindOf(int type) {
    switch (type) {
        case kCadLine:
            return kDupLine;
        case kCadArc:
            return kDupArc;
        case kCadCircle:
            return kDupCircle;
        case kCadPolyline:
            return kDupPolyline;
        case kCadInsert:
            return kDupInsert;
        case kCadSolid:
            return kDupSolid;
        default:
            return -1;
    }
}

// The two key coordinates and a discriminator that matching entities share.
struct DuplicateKey {
    double x = 0.0;
    double y = 0.0;
    std::uint64_t extra = 0;
};

DuplicateKey KeyOf(int kind, const CCadRecord* record) {
    switch (kind) {
        case kDupLine: {
            const auto* line = static_cast<const CCadLine*>(record);
            return {line->startX, line->startY, 0};
        }
        case kDupArc: {
            const auto* arc = static_cast<const CCadArc*>(record);
            return {arc->centerX, arc->centerY, 0};
        }
        case kDupCircle: {
            const auto* circle = static_cast<const CCadCircle*>(record);
            return {circle->centerX, circle->centerY, 0};
        }
        case kDupPolyline: {
            const auto* polyline = static_cast<const CCadPolyline*>(record);
            DuplicateKey key;
            key.extra = static_cast<std::uint32_t>(polyline->vertexCount);
            if (polyline->vertexCount > 0 && !polyline->vertices.empty()) {
                key.x = polyline->vertices[0].x;
                key.y = polyline->vertices[0].y;
            }
            return key;
        }
        case kDupInsert: {
            const auto* insert = static_cast<const CCadInsert*>(record);
            return {insert->insertX, insert->insertY, 0};
        }
        case kDupSolid: {
            const auto* solid = static_cast<const CCadSolid*>(record);
            return {solid->x1, solid->y1, 0};
        }
        default:
            return {};
    }
}

bool Matches(int kind, const CCadRecord* a, const CCadRecord* b, double p) {
    if (a->identifier == b->identifier) {
        return false;  // an entity never matches itself
    }
    switch (kind) {
        case kDupLine: {
            const auto* s = static_cast<const CCadLine*>(a);
            const auto* t = static_cast<const CCadLine*>(b);
            return Near(s->startX, t->startX, p) && Near(s->startY, t->startY, p) &&
                   Near(s->endX, t->endX, p) && Near(s->endY, t->endY, p);
        }
        case kDupArc: {
            const auto* s = static_cast<const CCadArc*>(a);
            const auto* t = static_cast<const CCadArc*>(b);
            return Near(s->startAngle, t->startAngle, p) && Near(s->endAngle, t->endAngle, p) &&
                   Near(s->centerX, t->centerX, p) && Near(s->centerY, t->centerY, p) &&
                   Near(s->radius, t->radius, p);
        }
        case kDupCircle: {
            const auto* s = static_cast<const CCadCircle*>(a);
            const auto* t = static_cast<const CCadCircle*>(b);
            return Near(s->centerX, t->centerX, p) && Near(s->centerY, t->centerY, p) &&
                   Near(s->radius, t->radius, p);
        }
        case kDupPolyline: {
            const auto* s = static_cast<const CCadPolyline*>(a);
            const auto* t = static_cast<const CCadPolyline*>(b);
            if (s->vertexCount != t->vertexCount || s->vertices.size() != t->vertices.size()) {
                return false;
            }
            for (std::size_t k = 0; k < s->vertices.size(); ++k) {
                const CCadVertex& u = s->vertices[k];
                const CCadVertex& v = t->vertices[k];
                if (u.hasBulge != v.hasBulge || !Near(u.x, v.x, p) || !Near(u.y, v.y, p) ||
                    !Near(u.bulge, v.bulge, p)) {
                    return false;
                }
            }
            return true;
        }
        case kDupInsert: {
            const auto* s = static_cast<const CCadInsert*>(a);
            const auto* t = static_cast<const CCadInsert*>(b);
            return Near(s->rotation, t->rotation, p) && Near(s->insertX, t->insertX, p) &&
                   Near(s->insertY, t->insertY, p) && Near(s->scaleX, t->scaleX, p) &&
                   Near(s->scaleY, t->scaleY, p);
        }
        case kDupSolid: {
            const auto* s = static_cast<const CCadSolid*>(a);
            const auto* t = static_cast<const CCadSolid*>(b);
            return Near(s->x1, t->x1, p) && Near(s->y1, t->y1, p) && Near(s->x2, t->x2, p) &&
                   Near(s->y2, t->y2, p) && Near(s->x3, t->x3, p) && Near(s->y3, t->y3, p) &&
                   Near(s->x4, t->x4, p) && Near(s->y4, t->y4, p);
        }
        default:
            return false;
    }
}

// The cell of one key coordinate and which neighbours a partner may lie in.
struct CellAxis {
    std::int64_t cell = 0;
    bool left = false;
    bool right = false;
};

// Cells beyond this index are merged into the last one (values that far out, or a precision
// that small, only make those cells fuller).
constexpr double kCellLimit = 4503599627370496.0;  // 2^52
// Beyond this index the position inside a cell is too coarse to choose a side: both are taken.
constexpr double kExactSideLimit = 4294967296.0;  // 2^32
// Cells are this many precisions wide, so a partner lies in a neighbour cell only when the value
// is within kCellReach of a cell side; wider cells mean fewer cells to look at per candidate
// and more candidates per cell.
constexpr double kCellPrecisions = 8.0;
constexpr double kCellReach = 1.0 / kCellPrecisions;
// Safety margin at the cell sides against rounding in the cell computation.
constexpr double kSideMargin = 1e-3;

CellAxis AxisOf(double value, double inverseCellSize) {
    CellAxis axis;
    double q = value * inverseCellSize;
    if (!(q > -kCellLimit && q < kCellLimit)) {
        axis.cell =
            q < 0 ? -static_cast<std::int64_t>(kCellLimit) : static_cast<std::int64_t>(kCellLimit);
        axis.left = axis.right = true;
        return axis;
    }
    double floorQ = std::floor(q);
    axis.cell = static_cast<std::int64_t>(floorQ);
    if (q > kExactSideLimit || q < -kExactSideLimit) {
        axis.left = axis.right = true;
        return axis;
    }
    double fraction = q - floorQ;
    axis.left = fraction < kCellReach + kSideMargin;
    axis.right = fraction > 1.0 - kCellReach - kSideMargin;
    return axis;
}

inline std::uint64_t MixBits(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z = z ^ (z >> 31);
    return z == 0 ? 1 : z;  // 0 marks an empty slot
}

// A cell is named by cx * A + cy * B + extra * C (wrapping), so that a neighbour's name is the
// cell's name plus a constant. Two cells that happen to share a name only add candidates to
// test.
constexpr std::uint64_t kCellStepX = 0x9E3779B97F4A7C15ull;
constexpr std::uint64_t kCellStepY = 0xC2B2AE3D27D4EB4Full;
constexpr std::uint64_t kCellStepExtra = 0xD6E8FEB86659FD93ull;

constexpr std::uint32_t kNoCandidate = 0xFFFFFFFFu;

constexpr std::uint8_t kLeft = 1;
constexpr std::uint8_t kRight = 2;
constexpr std::uint8_t kDown = 4;
constexpr std::uint8_t kUp = 8;

// Calls visit(hash, own) for the candidate's cell (own) and every neighbour cell a partner
// may lie in.
template <typename Visit>
void ForCells(std::uint64_t name, std::uint8_t sides, Visit&& visit) {
    for (int dx = -1; dx <= 1; ++dx) {
        if ((dx < 0 && !(sides & kLeft)) || (dx > 0 && !(sides & kRight))) {
            continue;
        }
        for (int dy = -1; dy <= 1; ++dy) {
            if ((dy < 0 && !(sides & kDown)) || (dy > 0 && !(sides & kUp))) {
                continue;
            }
            std::uint64_t neighbour = name + static_cast<std::uint64_t>(dx) * kCellStepX +
                                      static_cast<std::uint64_t>(dy) * kCellStepY;
            visit(MixBits(neighbour), dx == 0 && dy == 0);
        }
    }
}

// Which cells hold a candidate, and which more than one: a table of 15-bit fingerprints of the
// cell hashes, with a mark for a second candidate. At 2 bytes a slot it stays in the cache,
// and it lets every candidate without anyone near it skip the cell table altogether. A
// fingerprint shared by two cells only makes a cell look fuller.
class CellOccupancy {
public:
    explicit CellOccupancy(std::size_t entries) {
        std::size_t capacity = 16;
        while (capacity < entries * 2) {
            capacity *= 2;
        }
        m_slots.assign(capacity, 0);
        m_mask = capacity - 1;
    }
    void Add(std::uint64_t hash) {
        const std::uint16_t print = Fingerprint(hash);
        for (std::size_t slot = Home(hash);; slot = (slot + 1) & m_mask) {
            std::uint16_t& entry = m_slots[slot];
            if (entry == 0) {
                entry = print;
                return;
            }
            if ((entry & kPrintBits) == print) {
                entry |= kTwice;
                return;
            }
        }
    }
    void Prefetch(std::uint64_t hash) const { __builtin_prefetch(&m_slots[Home(hash)]); }
    // 0: no candidate, 1: one, 2: more than one.
    int Count(std::uint64_t hash) const {
        const std::uint16_t print = Fingerprint(hash);
        for (std::size_t slot = Home(hash);; slot = (slot + 1) & m_mask) {
            std::uint16_t entry = m_slots[slot];
            if (entry == 0) {
                return 0;
            }
            if ((entry & kPrintBits) == print) {
                return (entry & kTwice) ? 2 : 1;
            }
        }
    }

private:
    static constexpr std::uint16_t kPrintBits = 0x7FFF;
    static constexpr std::uint16_t kTwice = 0x8000;
    std::size_t Home(std::uint64_t hash) const { return static_cast<std::size_t>(hash) & m_mask; }
    static std::uint16_t Fingerprint(std::uint64_t hash) {
        std::uint16_t print = static_cast<std::uint16_t>(hash >> 49);
        return print == 0 ? 1 : print;
    }
    std::vector<std::uint16_t> m_slots;
    std::size_t m_mask = 0;
};

// Open addressing from a cell hash to the first candidate of that cell. Cells whose hashes
// collide share a list, which only adds candidates to test.
class CellTable {
public:
    explicit CellTable(std::size_t entries) {
        std::size_t capacity = 16;
        while (capacity < entries * 2) {
            capacity *= 2;
        }
        m_keys.assign(capacity, 0);
        m_heads.assign(capacity, kNoCandidate);
        m_mask = capacity - 1;
    }

    std::uint32_t& Head(std::uint64_t key) {
        std::size_t slot = static_cast<std::size_t>(key) & m_mask;
        while (m_keys[slot] != 0 && m_keys[slot] != key) {
            slot = (slot + 1) & m_mask;
        }
        m_keys[slot] = key;
        return m_heads[slot];
    }

    std::uint32_t Find(std::uint64_t key) const {
        std::size_t slot = static_cast<std::size_t>(key) & m_mask;
        while (m_keys[slot] != 0) {
            if (m_keys[slot] == key) {
                return m_heads[slot];
            }
            slot = (slot + 1) & m_mask;
        }
        return kNoCandidate;
    }

private:
    std::vector<std::uint64_t> m_keys;
    std::vector<std::uint32_t> m_heads;
    std::size_t m_mask = 0;
};

// The candidates of one kind in array order: entity index, cell name and sides.
struct DuplicateCandidates {
    std::vector<std::uint32_t> indexes;
    std::vector<std::uint64_t> names;
    std::vector<std::uint8_t> sides;
};

// Collects the candidates while the normalisation pass has each record at hand, then marks the
// duplicates kind by kind.
class DuplicateFinder {
public:
    explicit DuplicateFinder(double precision)
        : m_precision(precision),
          m_enabled(precision > 0.0),  // nothing differs by less than zero
          m_inverseCellSize(1.0 / std::max(kCellPrecisions * precision, 1e-280)) {}

    // Sizes the candidate lists exactly: the drawing is at its largest now.
    void Reserve(const std::size_t (&counts)[kDupKinds]) {
        if (!m_enabled) {
            return;
        }
        for (int kind = 0; kind < kDupKinds; ++kind) {
            m_candidates[kind].indexes.reserve(counts[kind]);
            m_candidates[kind].names.reserve(counts[kind]);
            m_candidates[kind].sides.reserve(counts[kind]);
        }
    }

    // Cells are eight precisions wide, or wider for absurdly small precisions (wider cells are
    // always safe, just fuller).
    void Add(int kind, std::uint32_t index, const CCadRecord* record) {
        if (!m_enabled) {
            return;
        }
        DuplicateKey key = KeyOf(kind, record);
        if (!std::isfinite(key.x) || !std::isfinite(key.y)) {
            return;  // a value that is not finite never matches anything
        }
        CellAxis ax = AxisOf(key.x, m_inverseCellSize);
        CellAxis ay = AxisOf(key.y, m_inverseCellSize);
        DuplicateCandidates& list = m_candidates[kind];
        list.indexes.push_back(index);
        list.names.push_back(static_cast<std::uint64_t>(ax.cell) * kCellStepX +
                             static_cast<std::uint64_t>(ay.cell) * kCellStepY +
                             key.extra * kCellStepExtra);
        list.sides.push_back(
            static_cast<std::uint8_t>((ax.left ? kLeft : 0) | (ax.right ? kRight : 0) |
                                      (ay.left ? kDown : 0) | (ay.right ? kUp : 0)));
    }

    // Marks in removed every candidate that an earlier surviving candidate of its kind matches.
    bool MarkDuplicates(const CCadEntityList& entities, std::vector<std::uint8_t>& removed) {
        bool any = false;
        for (int kind = 0; kind < kDupKinds; ++kind) {
            DuplicateCandidates list = std::move(m_candidates[kind]);
            any = MarkKind(entities, kind, list, removed) || any;
        }
        return any;
    }

private:
    bool MarkKind(const CCadEntityList& entities, int kind, const DuplicateCandidates& list,
                  std::vector<std::uint8_t>& removed) const {
        const std::size_t count = list.indexes.size();
        if (count < 2) {
            return false;
        }
        CellOccupancy occupancy(count);
        // The table is addressed at random: its slots are fetched a few candidates ahead.
        constexpr std::size_t kAhead = 8;
        for (std::size_t k = 0; k < count; ++k) {
            if (k + kAhead < count) {
                occupancy.Prefetch(MixBits(list.names[k + kAhead]));
            }
            occupancy.Add(MixBits(list.names[k]));
        }
        // Only candidates with another one in their own or a neighbouring cell can match.
        std::vector<std::uint32_t> near;  // positions in the list, ascending
        for (std::size_t k = 0; k < count; ++k) {
            if (k + kAhead < count) {
                ForCells(list.names[k + kAhead], list.sides[k + kAhead],
                         [&](std::uint64_t hash, bool) { occupancy.Prefetch(hash); });
            }
            bool crowded = false;
            ForCells(list.names[k], list.sides[k], [&](std::uint64_t hash, bool own) {
                crowded = crowded || occupancy.Count(hash) > (own ? 1 : 0);
            });
            if (crowded) {
                near.push_back(static_cast<std::uint32_t>(k));
            }
        }
        if (near.size() < 2) {
            return false;
        }
        CellTable table(near.size());
        std::vector<std::uint32_t> next(near.size(), kNoCandidate);
        for (std::size_t n = near.size(); n-- > 0;) {
            std::uint32_t& head = table.Head(MixBits(list.names[near[n]]));
            next[n] = head;
            head = static_cast<std::uint32_t>(n);
        }
        bool any = false;
        for (std::size_t n = 0; n < near.size(); ++n) {
            std::uint32_t index = list.indexes[near[n]];
            if (removed[index] != 0) {
                continue;
            }
            const CCadRecord* record = entities[index].record.get();
            ForCells(list.names[near[n]], list.sides[near[n]], [&](std::uint64_t hash, bool) {
                for (std::uint32_t q = table.Find(hash); q != kNoCandidate; q = next[q]) {
                    if (q <= n) {
                        continue;
                    }
                    std::uint32_t other = list.indexes[near[q]];
                    if (removed[other] == 0 &&
                        Matches(kind, record, entities[other].record.get(), m_precision)) {
                        removed[other] = 1;
                        any = true;
                    }
                }
            });
        }
        return any;
    }

    double m_precision;
    bool m_enabled;
    double m_inverseCellSize;
    DuplicateCandidates m_candidates[kDupKinds];
};

// Drops the marked entities, keeping the order of the others. A dropped INSERT takes its list
// with it; the block keeps its own records.
void RemoveMarked(CCadDrawing& drawing, const std::vector<std::uint8_t>& removed) {
    CCadEntityList& entities = drawing.entities;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < entities.size(); ++i) {
        if (removed[i] != 0) {
            entities[i] = CCadEntity{};
            continue;
        }
        if (kept != i) {
            entities[kept] = std::move(entities[i]);
        }
        ++kept;
    }
    entities.resize(kept);
    if (!drawing.identifierMap.empty()) {
        drawing.RebuildIdentifierMap();
    }
}

}  // namespace

void Normalize(CCadDrawing& drawing, double coordinatePrecision) {
    MendUnmovedExtents(drawing);

    ColorResolver colors(drawing);
    ScreenFrame frame{drawing.minX, drawing.minY, drawing.maxY - drawing.minY};
    DuplicateFinder duplicates(coordinatePrecision);

    // Candidates per kind, and the blocks that more than one dimension names (rare; each is
    // moved once, with its first dimension).
    std::size_t counts[kDupKinds] = {};
    std::vector<const CCadBlock*> sharedBlocks;
    for (const CCadEntity& entity : drawing.entities) {
        int kind = DuplicateKindOf(entity.type);
        if (kind >= 0) {
            ++counts[kind];
        } else if (entity.type == kCadDimension && entity.record &&
                   entity.As<CCadDimension>()->block) {
            sharedBlocks.push_back(entity.As<CCadDimension>()->block.get());
        }
    }
    duplicates.Reserve(counts);
    std::sort(sharedBlocks.begin(), sharedBlocks.end());
    {
        std::vector<const CCadBlock*> repeated;
        for (std::size_t k = 1; k < sharedBlocks.size(); ++k) {
            if (sharedBlocks[k] == sharedBlocks[k - 1] &&
                (repeated.empty() || repeated.back() != sharedBlocks[k])) {
                repeated.push_back(sharedBlocks[k]);
            }
        }
        sharedBlocks = std::move(repeated);
    }
    std::unordered_set<const CCadBlock*> movedSharedBlocks;

    // Colour resolution and transformation touch one entity at a time (the INSERT colour
    // reaches shared block records, the dimension transformation dimension blocks; neither
    // reads what the other writes), so one pass does both, in array order.
    CCadEntityList& entities = drawing.entities;
    constexpr std::size_t kAhead = 6;  // records are fetched this many entities ahead
    for (std::size_t i = 0; i < entities.size(); ++i) {
        if (i + kAhead < entities.size() && entities[i + kAhead].record) {
            const char* ahead = reinterpret_cast<const char*>(entities[i + kAhead].record.get());
            __builtin_prefetch(ahead);
            __builtin_prefetch(ahead + 64);
            __builtin_prefetch(ahead + 128);
        }
        CCadEntity& entity = entities[i];
        if (!entity.record) {
            continue;
        }
        bool colorFound = colors.Resolve(*entity.record);
        switch (entity.type) {
            case kCadLine: {
                auto* line = entity.As<CCadLine>();
                frame.Apply(line->startX, line->startY);
                frame.Apply(line->endX, line->endY);
                break;
            }
            case kCadArc: {
                auto* arc = entity.As<CCadArc>();
                frame.Apply(arc->centerX, arc->centerY);
                double start = arc->startAngle;
                arc->startAngle = 360.0 - arc->endAngle;
                arc->endAngle = 360.0 - start;
                break;
            }
            case kCadCircle: {
                auto* circle = entity.As<CCadCircle>();
                frame.Apply(circle->centerX, circle->centerY);
                break;
            }
            case kCadEllipse: {
                auto* ellipse = entity.As<CCadEllipse>();
                frame.Apply(ellipse->centerX, ellipse->centerY);
                frame.Apply(ellipse->axisX, ellipse->axisY);
                break;
            }
            case kCadPolyline:
                for (CCadVertex& vertex : entity.As<CCadPolyline>()->vertices) {
                    frame.Apply(vertex.x, vertex.y);
                }
                break;
            case kCadDimension: {
                // Dimensions and their block geometry are always green; the block entities
                // keep their colour numbers.
                auto* dimension = entity.As<CCadDimension>();
                dimension->color = kDimensionGreen;
                for (CCadDimPoint* p :
                     {&dimension->point10, &dimension->point11, &dimension->point12,
                      &dimension->point13, &dimension->point14, &dimension->point15,
                      &dimension->point16}) {
                    if (p->present != 0) {
                        frame.Apply(p->x, p->y);
                    }
                }
                if (dimension->block) {
                    for (CCadEntity& child : dimension->block->entities) {
                        if (child.record) {
                            child.record->color = kDimensionGreen;
                        }
                    }
                    // A block named by several dimensions is moved once.
                    const CCadBlock* block = dimension->block.get();
                    if (!std::binary_search(sharedBlocks.begin(), sharedBlocks.end(), block) ||
                        movedSharedBlocks.insert(block).second) {
                        TransformDimensionBlock(*dimension->block, frame);
                    }
                }
                break;
            }
            case kCadText: {
                auto* text = entity.As<CCadText>();
                frame.Apply(text->insertX, text->insertY);
                frame.Apply(text->secondX, text->secondY);
                break;
            }
            case kCadMText: {
                auto* mtext = entity.As<CCadMText>();
                frame.Apply(mtext->insertX, mtext->insertY);
                break;
            }
            case kCadInsert: {
                // The INSERT's colour reaches the records it shares with its block, so all
                // INSERTs of one block end with the colour of the last of them.
                auto* insert = entity.As<CCadInsert>();
                if (colorFound) {
                    for (CCadEntity& child : insert->entities) {
                        if (child.record) {
                            child.record->color = insert->color;
                        }
                    }
                }
                frame.Apply(insert->insertX, insert->insertY);
                break;
            }
            case kCadSolid: {
                auto* solid = entity.As<CCadSolid>();
                frame.Apply(solid->x1, solid->y1);
                frame.Apply(solid->x2, solid->y2);
                frame.Apply(solid->x3, solid->y3);
                frame.Apply(solid->x4, solid->y4);
                break;
            }
            default:
                break;
        }
        int kind = DuplicateKindOf(entity.type);
        if (kind >= 0) {
            duplicates.Add(kind, static_cast<std::uint32_t>(i), entity.record.get());
        }
    }

    std::vector<std::uint8_t> removed(entities.size(), 0);
    if (duplicates.MarkDuplicates(entities, removed)) {
        RemoveMarked(drawing, removed);
    }
}

}  // namespace quarrant
