#pragma once

#include <cfloat>
#include <memory>
#include <string>

#include "base/HashMap17.h"
#include "cad/CadEntities.h"

namespace quarrant {

struct CCadHeader {
    double limitsMaxX = 0.0, limitsMaxY = 0.0;
    double limitsMinX = 0.0, limitsMinY = 0.0;
    double lineTypeScale = 0.0;           // $CELTSCALE
    int insertionUnits = 0;               // $INSUNITS
    bool insertionUnitsDeclared = false;  // the file gave $INSUNITS (import only, not saved)
};

struct CCadLayer {
    std::string name;
    int colorNumber = 0;  // negative: the layer is off
    std::string lineType;
    double lineWeight = 0.0;
    int frozen = 0;
};

using CCadColorTable = HashMap17<std::int32_t, CCadColor>;

// Initial extents before any entity moved them: minima 1.7e308, maxima 1.7e-308.
inline constexpr double kInitialMinExtent = 1.7e308;
inline constexpr double kInitialMaxExtent = 1.7e-308;

// A drawing: a flat ordered array of entities with identifiers, and the tables that go with
// it. Only the entity array, the extents and the identifier map survive a save.
class CCadDrawing {
public:
    // The colour table comes from COLOR.ini of the program folder, read by whoever constructs
    // the drawing (see ColorTable.h); it is shared, never changed after loading.
    explicit CCadDrawing(std::shared_ptr<const CCadColorTable> colorTable = nullptr)
        : m_colorTable(std::move(colorTable)) {}

    int identifierCounter = 0;
    CCadEntityList entities;
    HashMap17<std::int32_t, CCadEntity> identifierMap;  // top-level entities, identifiers >= 0
    CCadHeader header;
    HashMap17<std::string, std::shared_ptr<CCadBlock>> blockTable;
    std::shared_ptr<CCadBlock> currentBlock;
    HashMap17<std::string, CCadLayer> layerTable;
    double minX = kInitialMinExtent, minY = kInitialMinExtent;
    double maxX = kInitialMaxExtent, maxY = kInitialMaxExtent;
    std::string dimensionTextHeight;  // $DIMTXT value text

    const CCadColorTable& ColorTable() const;
    const std::shared_ptr<const CCadColorTable>& SharedColorTable() const { return m_colorTable; }

    // The top-level entity with this identifier, or nullptr.
    const CCadEntity* FindById(std::int32_t identifier) const {
        return identifierMap.Lookup(identifier);
    }

    // Appends a top-level entity and enters it in the identifier map (identifiers >= 0 only,
    // so records without a real identifier never collide with one).
    void AddEntity(CCadEntity entity);

    // Rebuilds the identifier map from the entity array.
    void RebuildIdentifierMap();

private:
    std::shared_ptr<const CCadColorTable> m_colorTable;
};

// What a CCadCtrl shows: the drawing it owns (may be none) and the current scale in pixels
// per drawing unit.
struct CCadFile {
    std::unique_ptr<CCadDrawing> drawing;
    double scale = 1.0;
};

}  // namespace quarrant
