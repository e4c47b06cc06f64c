#pragma once

// What an imported drawing goes through after reading: colours resolved to RGB, coordinates
// moved into the Y-down frame whose origin is the lower-left extent, duplicates dropped.

#include "cad/CadDrawing.h"

namespace quarrant {

// Colour resolution, coordinate transformation and duplicate removal, in that order, over the
// top-level entity array. coordinatePrecision is the coordinate precision of Set.ini (a float
// widened to double): two values match when they differ by less than it, strictly. Extents
// that no entity moved are first taken from the points the transformation moves.
void Normalize(CCadDrawing& drawing, double coordinatePrecision);

// The extents update rule of the import: each coordinate may lower the minimum and raise the
// maximum; a new minimum strictly between -0.001 and 0 is stored as 0.
inline void ExtendExtents(double value, double& minimum, double& maximum) {
    if (value < minimum) {
        minimum = (value > -0.001 && value < 0.0) ? 0.0 : value;
    }
    if (value > maximum) {
        maximum = value;
    }
}

}  // namespace quarrant
