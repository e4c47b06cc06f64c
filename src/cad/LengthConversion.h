#pragma once

// Lengths taken over from a drawing: straight and bulged segment lengths in drawing units, and
// their conversion into metres by the drawing's unit and scale texts.

#include <string_view>

#include "cad/CadEntities.h"

namespace quarrant {

// Degrees to radians as the program has always computed it: pi taken as 3.1415926, / 180.
inline constexpr double kDegreeLength = 0.017453292222222222;
// The circumference factor of a circle, 2 pi with pi taken as 3.1415926.
inline constexpr double kCircleFactor = 6.2831852;

// sqrt(dx * dx + dy * dy).
double StraightDistance(double x1, double y1, double x2, double y2);

// A length in drawing units in metres: the scale text "a:b" (split at the first ":") multiplies
// by a / b, then the unit text by its factor ("mm" 0.001, "cm" 0.01, "m" 1, "10m" 10,
// "100m" 100, "km" 1000; any other unit leaves the value). A scale text without ":" or with
// b = 0 leaves the length unscaled. Computed in double, rounded once to single precision.
float ConvertLength(double length, std::string_view unitText, std::string_view scaleText);

// The arc length of the bulged segment from vertex fromIndex to vertex toIndex, by the bulge
// of the first: chord h, sagitta s = h |bulge| / 2, radius h h / (8 s) + s / 2, sweep
// 4 atan |bulge| in degrees, length sweep * radius * kDegreeLength. Coinciding vertices, and
// indexes outside the vertex array, give 0; a zero bulge gives the chord.
double BulgeArcLength(const CCadPolyline& polyline, int fromIndex, int toIndex);

// True when the segment starting at this vertex is an arc: it has the has-bulge mark and a
// non-zero bulge.
inline bool IsBulgedSegmentStart(const CCadVertex& vertex) {
    return vertex.hasBulge != 0 && vertex.bulge != 0.0;
}

// The length of the segment from vertex fromIndex to toIndex: along its arc when the first
// vertex starts a bulged segment, else the straight distance. 0 for indexes out of range.
double PolylineSegmentLength(const CCadPolyline& polyline, int fromIndex, int toIndex);

}  // namespace quarrant
