// Any bytes as a DXF file: the reader and the normalisation must neither crash nor leak, the
// records are whole, and the indexed duplicate removal keeps exactly the survivors of the
// pairwise search. A successful import also survives the drawing-file round trip that adding a
// drawing puts it through, and the drawing read back writes exactly the bytes it was read
// from: the add-drawing path keeps the file it wrote from the import as the drawing's file.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "cad/CadDrawing.h"
#include "cad/DrawingFile.h"
#include "cad/DxfNormalize.h"
#include "cad/DxfReader.h"
#include "cad/PairwiseDuplicates.h"

namespace {

using namespace quarrant;

constexpr double kPrecision = 1.0;

void CheckRecords(const CCadEntityList& entities) {
    for (const CCadEntity& entity : entities) {
        if (!entity.record) {
            std::abort();
        }
        if (entity.type == kCadPolyline) {
            const auto* polyline = entity.As<CCadPolyline>();
            if (polyline->vertexCount < 0 ||
                static_cast<std::size_t>(polyline->vertexCount) != polyline->vertices.size()) {
                std::abort();
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CCadDrawing drawing;
    if (!ReadDxf(drawing, DxfBytes{bytes})) {
        return 0;
    }
    CheckRecords(drawing.entities);

    // The same drawing normalised without removal, then searched pair by pair.
    CCadDrawing reference;
    for (const CCadEntity& entity : drawing.entities) {
        reference.entities.push_back(CloneEntity(entity));
    }
    reference.layerTable = drawing.layerTable;
    reference.minX = drawing.minX;
    reference.minY = drawing.minY;
    reference.maxX = drawing.maxX;
    reference.maxY = drawing.maxY;
    const bool compare = drawing.entities.size() <= 2000;

    Normalize(drawing, kPrecision);
    CheckRecords(drawing.entities);
    if (compare) {
        Normalize(reference, 0.0);
        std::vector<int> survivors;
        for (const CCadEntity& entity : drawing.entities) {
            survivors.push_back(entity.record->identifier);
        }
        if (survivors != testing::PairwiseSurvivors(reference.entities, kPrecision)) {
            std::abort();
        }
    }

    CCadDrawing stored;
    const std::string written = WriteDrawingFile(drawing);
    if (!ReadDrawingFile(stored, written)) {
        std::abort();
    }
    if (stored.entities.size() != drawing.entities.size() || WriteDrawingFile(stored) != written) {
        std::abort();
    }
    return 0;
}
