#pragma once

// The duplicate search of the DXF import done the slow way, pair by pair: the reference the
// indexed removal is checked against by the normalisation tests and the reader's fuzz target.

#include <cstddef>
#include <vector>

#include "cad/CadDrawing.h"

namespace quarrant::testing {

// Whether b duplicates a within the precision, as the import compares them.
inline bool DuplicateWithin(const CCadEntity& a, const CCadEntity& b, double p) {
    auto near = [p](double x, double y) { return x - y < p && y - x < p; };
    if (a.type != b.type || a.record->identifier == b.record->identifier) {
        return false;
    }
    switch (a.type) {
        case kCadLine: {
            auto* s = a.As<CCadLine>();
            auto* t = b.As<CCadLine>();
            return near(s->startX, t->startX) && near(s->startY, t->startY) &&
                   near(s->endX, t->endX) && near(s->endY, t->endY);
        }
        case kCadArc: {
            auto* s = a.As<CCadArc>();
            auto* t = b.As<CCadArc>();
            return near(s->startAngle, t->startAngle) && near(s->endAngle, t->endAngle) &&
                   near(s->centerX, t->centerX) && near(s->centerY, t->centerY) &&
                   near(s->radius, t->radius);
        }
        case kCadCircle: {
            auto* s = a.As<CCadCircle>();
            auto* t = b.As<CCadCircle>();
            return near(s->centerX, t->centerX) && near(s->centerY, t->centerY) &&
                   near(s->radius, t->radius);
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
                if (u.hasBulge != v.hasBulge || !near(u.x, v.x) || !near(u.y, v.y) ||
                    !near(u.bulge, v.bulge)) {
                    return false;
                }
            }
            return true;
        }
        case kCadInsert: {
            auto* s = a.As<CCadInsert>();
            auto* t = b.As<CCadInsert>();
            return near(s->rotation, t->rotation) && near(s->insertX, t->insertX) &&
                   near(s->insertY, t->insertY) && near(s->scaleX, t->scaleX) &&
                   near(s->scaleY, t->scaleY);
        }
        case kCadSolid: {
            auto* s = a.As<CCadSolid>();
            auto* t = b.As<CCadSolid>();
            return near(s->x1, t->x1) && near(s->y1, t->y1) && near(s->x2, t->x2) &&
                   near(s->y2, t->y2) && near(s->x3, t->x3) && near(s->y3, t->y3) &&
                   near(s->x4, t->x4) && near(s->y4, t->y4);
        }
        default:
            return false;
    }
}

// Identifiers of the survivors of the pairwise search, in array order: each entity not yet
// removed removes every later or earlier one that duplicates it.
inline std::vector<int> PairwiseSurvivors(const CCadEntityList& entities, double precision) {
    std::vector<bool> removed(entities.size(), false);
    for (std::size_t i = 0; i < entities.size(); ++i) {
        if (removed[i]) {
            continue;
        }
        for (std::size_t j = 0; j < entities.size(); ++j) {
            if (j != i && !removed[j] && DuplicateWithin(entities[i], entities[j], precision)) {
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

}  // namespace quarrant::testing
