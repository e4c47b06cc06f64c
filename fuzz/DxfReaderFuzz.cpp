// Any bytes as a DXF file: the reader and the normalisation must neither crash nor leak, the
// result is 0 or -1, the records are whole, and the indexed duplicate removal keeps exactly
// the survivors of the pairwise search. A successful import also survives the drawing-file
// round trip that adding a drawing puts it through.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "cad/CadDrawing.h"
#include "cad/DrawingFile.h"
#include "cad/DxfNormalize.h"
#include "cad/DxfReader.h"

namespace {

using namespace quarrant;

constexpr double kPrecision = 1.0;

bool Near(double a, double b) {
    return a - b < kPrecision && b - a < kPrecision;
}

bool Matches(const CCadEntity& a, const CCadEntity& b) {
    if (a.type != b.type || a.record->identifier == b.record->identifier) {
        return false;
    }
    switch (a.type) {
        case kCadLine: {
            auto* s = a.As<CCadLine>();
            auto* t = b.As<CCadLine>();
            return Near(s->startX, t->startX) && Near(s->startY, t->startY) &&
                   Near(s->endX, t->endX) && Near(s->endY, t->endY);
        }
        case kCadArc: {
            auto* s = a.As<CCadArc>();
            auto* t = b.As<CCadArc>();
            return Near(s->startAngle, t->startAngle) && Near(s->endAngle, t->endAngle) &&
                   Near(s->centerX, t->centerX) && Near(s->centerY, t->centerY) &&
                   Near(s->radius, t->radius);
        }
        case kCadCircle: {
            auto* s = a.As<CCadCircle>();
            auto* t = b.As<CCadCircle>();
            return Near(s->centerX, t->centerX) && Near(s->centerY, t->centerY) &&
                   Near(s->radius, t->radius);
        }
        case kCadPolyline: {
            auto* s = a.As<CCadPolyline>();
            auto* t = b.As<CCadPolyline>();
            if (s->vertexCount != t->vertexCount) {
                return false;
            }
            for (int k = 0; k < s->vertexCount; ++k) {
                const CCadVertex& u = s->vertices[static_cast<std::size_t>(k)];
                const CCadVertex& v = t->vertices[static_cast<std::size_t>(k)];
                if (u.hasBulge != v.hasBulge || !Near(u.x, v.x) || !Near(u.y, v.y) ||
                    !Near(u.bulge, v.bulge)) {
                    return false;
                }
            }
            return true;
        }
        case kCadInsert: {
            auto* s = a.As<CCadInsert>();
            auto* t = b.As<CCadInsert>();
            return Near(s->rotation, t->rotation) && Near(s->insertX, t->insertX) &&
                   Near(s->insertY, t->insertY) && Near(s->scaleX, t->scaleX) &&
                   Near(s->scaleY, t->scaleY);
        }
        case kCadSolid: {
            auto* s = a.As<CCadSolid>();
            auto* t = b.As<CCadSolid>();
            return Near(s->x1, t->x1) && Near(s->y1, t->y1) && Near(s->x2, t->x2) &&
                   Near(s->y2, t->y2) && Near(s->x3, t->x3) && Near(s->y3, t->y3) &&
                   Near(s->x4, t->x4) && Near(s->y4, t->y4);
        }
        default:
            return false;
    }
}

// Identifiers of the survivors of the pairwise search, in array order.
std::vector<int> PairwiseSurvivors(const CCadEntityList& entities) {
    std::vector<bool> removed(entities.size(), false);
    for (std::size_t i = 0; i < entities.size(); ++i) {
        if (removed[i]) {
            continue;
        }
        for (std::size_t j = 0; j < entities.size(); ++j) {
            if (j != i && !removed[j] && Matches(entities[i], entities[j])) {
                removed[j] = true;
            }
        }
    }
    std::vector<int> identifiers;
    for (std::size_t i = 0; i < entities.size(); ++i) {
        if (!removed[i]) {
            identifiers.push_back(entities[i].record->identifier);
        }
    }
    return identifiers;
}

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
    int result = ReadDxf(drawing, DxfBytes{bytes}, [](const std::string& message) {
        if (message.empty()) {
            std::abort();
        }
    });
    if (result != 0 && result != -1) {
        std::abort();
    }
    if (result != 0) {
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
        if (survivors != PairwiseSurvivors(reference.entities)) {
            std::abort();
        }
    }

    CCadDrawing stored;
    if (!ReadDrawingFile(stored, WriteDrawingFile(drawing))) {
        std::abort();
    }
    if (stored.entities.size() != drawing.entities.size()) {
        std::abort();
    }
    return 0;
}
