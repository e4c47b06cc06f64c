#pragma once

// The binary drawing file: four extents, the entity count, then one typed record per entity.

#include <string>
#include <string_view>

#include "cad/CadDrawing.h"

namespace quarrant {

// Decodes a whole drawing file into the (new, empty) drawing: extents, then every record in
// order, appended to the entity array and entered in the identifier map. Returns false when
// the data is damaged (ends early or holds impossible counts); what was read before the damage
// stays in the drawing. Zero bytes give an empty drawing and true.
bool ReadDrawingFile(CCadDrawing& drawing, std::string_view bytes);

// The bytes of the drawing file of this drawing.
std::string WriteDrawingFile(const CCadDrawing& drawing);

}  // namespace quarrant
