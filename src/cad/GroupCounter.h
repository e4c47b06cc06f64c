#pragma once

// The search for repeated groups: the user selects the entities of one occurrence of a member
// (for example the lines of one plate) and the search finds every other place where the same
// group occurs, shifted but not turned.

#include <cstdint>
#include <string>
#include <variant>

#include "base/HashMap17.h"
#include "cad/CadDrawing.h"
#include "cad/Geometry.h"

namespace quarrant {

// Identifiers of the selected entities during a search (identifier -> nothing). The drawing
// sheet keeps it; the search clears and refills it each time.
using CExclusionMap = HashMap17<std::int32_t, std::monostate>;

// True for the types that take part in the search: LINE, ARC, CIRCLE, LWPOLYLINE, INSERT and
// SOLID.
bool TakesPartInCount(int type);

// The point shifts are measured from: LINE start, ARC and CIRCLE centre, LWPOLYLINE first
// vertex ((0, 0) without vertices), INSERT insertion point, SOLID corner 1. False for the
// other types.
bool ReferencePoint(const CCadEntity& entity, CadPoint* point);

// Similarity of a candidate to a selected entity of the same type, comparing with the
// coordinate precision (lengths, radii, arc angles) and the angle precision (slopes), both
// strictly: |difference| < precision.
bool IsSimilar(const CCadEntity& candidate, const CCadEntity& selected, double coordinatePrecision,
               double anglePrecision);

// Counts the occurrences of the selected group in the drawing and appends to identifierText
// the identifiers of every entity of every occurrence, each "%d;": per complete occurrence
// the matched entities group by group then its anchor candidate; at the end the selected
// entities in group order and the first selected one once more. Returns the number of
// occurrences found + 1 (the selected one), or 0 when nothing usable is selected. The
// precisions are the 32-bit values of the settings, compared in double.
int CountRepeatedGroups(const CCadDrawing& drawing, const CCadEntityList& selection,
                        float coordinatePrecision, float anglePrecision,
                        CExclusionMap& exclusionMap, std::string& identifierText);

}  // namespace quarrant
