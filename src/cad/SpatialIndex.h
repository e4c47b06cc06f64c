#pragma once

// A uniform grid over the bounding boxes of a drawing's top-level entities. Painting asks it
// for the entities that can show in the view, picking for the entities a pick rectangle can
// touch; both get them in drawing order.

#include <cstdint>
#include <vector>

#include "cad/CadDrawing.h"
#include "cad/Geometry.h"

namespace quarrant {

// A box that holds everything the entity draws and everything its hit test can touch, in
// drawing units (texts are estimated generously: one text height per byte). Returns false
// for an entity that draws nothing and cannot be hit anywhere (no record, unknown type, no
// finite coordinates).
bool EntityBounds(const CCadEntity& entity, const CCadDrawing& drawing, CadRect& box);

class SpatialIndex {
public:
    // Indexes the drawing's entity array as it is now.
    void Build(const CCadDrawing& drawing);
    void Clear();
    // True when the index was built from this drawing's entity array and the array has not
    // been replaced or resized since.
    bool IsBuiltFor(const CCadDrawing& drawing) const;

    std::size_t EntityCount() const { return m_boxes.size(); }
    // The union of all boxes (meaningless when no entity has one).
    const CadRect& Bounds() const { return m_bounds; }
    bool HasBounds() const { return m_hasBounds; }

    // Indices into the entity array, ascending, of the entities whose box meets rect
    // (bounds included). rect must be normalised (min <= max). Queries may run on several
    // threads at once.
    void Query(const CadRect& rect, std::vector<std::uint32_t>& indices) const;

private:
    std::vector<CadRect> m_boxes;
    std::vector<unsigned char> m_hasBox;
    CadRect m_bounds;
    bool m_hasBounds = false;
    // An entity entered in a cell, with the first cell of those its box covers: a query
    // reports the entity from the first of its cells that the query covers, and only there.
    struct CellEntry {
        std::uint32_t index = 0;
        std::uint16_t firstColumn = 0;
        std::uint16_t firstRow = 0;
    };
    // A uniform grid over the bounds: for cell c the entries entries[cellStart[c] ..
    // cellStart[c+1]).
    struct Grid {
        int columns = 1;
        int rows = 1;
        double cellWidth = 1.0;
        double cellHeight = 1.0;
        std::vector<std::uint32_t> cellStart;
        std::vector<CellEntry> entries;
        // The cells a box covers, clamped to the grid.
        void Range(const CadRect& box, const CadRect& bounds, int& c0, int& r0, int& c1,
                   int& r1) const;
    };
    // Grids of cells four times wider and higher from one to the next, the first with about
    // one cell per entity, the last a single cell. Each entity is entered in the finest grid
    // in which its box covers few cells, so that small and large entities alike are entered
    // a few times and a query looks at few cells of each grid.
    std::vector<Grid> m_grids;
    const CCadEntity* m_builtData = nullptr;
    std::size_t m_builtSize = 0;
};

}  // namespace quarrant
