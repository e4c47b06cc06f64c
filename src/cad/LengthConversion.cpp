#include "cad/LengthConversion.h"

#include <cmath>
#include <numbers>

#include "base/CNumbers.h"

namespace quarrant {
namespace {

bool ValidIndex(const CCadPolyline& polyline, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < polyline.vertices.size();
}

double UnitFactor(std::string_view unitText) {
    if (unitText == "mm")
        return 0.001;
    if (unitText == "cm")
        return 0.01;
    if (unitText == "m")
        return 1.0;
    if (unitText == "10m")
        return 10.0;
    if (unitText == "100m")
        return 100.0;
    if (unitText == "km")
        return 1000.0;
    return 1.0;
}

}  // namespace

double StraightDistance(double x1, double y1, double x2, double y2) {
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    return std::sqrt(dx * dx + dy * dy);
}

float ConvertLength(double length, std::string_view unitText, std::string_view scaleText) {
    double value = length;
    const std::size_t colon = scaleText.find(':');
    if (colon != std::string_view::npos) {
        const double a = AtofC(scaleText.substr(0, colon));
        const double b = AtofC(scaleText.substr(colon + 1));
        // Without a usable denominator the length stays unscaled rather than dividing by 0.
        if (b != 0.0) {
            value = value * (a / b);
        }
    }
    value = value * UnitFactor(unitText);
    return static_cast<float>(value);
}

double BulgeArcLength(const CCadPolyline& polyline, int fromIndex, int toIndex) {
    if (!ValidIndex(polyline, fromIndex) || !ValidIndex(polyline, toIndex)) {
        return 0.0;
    }
    const CCadVertex& a = polyline.vertices[static_cast<std::size_t>(fromIndex)];
    const CCadVertex& b = polyline.vertices[static_cast<std::size_t>(toIndex)];
    const double chord = StraightDistance(a.x, a.y, b.x, b.y);
    if (chord == 0.0) {
        return 0.0;
    }
    const double bulge = std::fabs(a.bulge);
    if (bulge == 0.0) {
        return chord;
    }
    const double sagitta = chord * bulge / 2.0;
    const double radius = chord * chord / (8.0 * sagitta) + sagitta / 2.0;
    // The sweep the geometric centre gives, for every bulge (also beyond a half circle).
    const double sweep = (4.0 * std::atan(bulge)) * (180.0 / std::numbers::pi);
    return sweep * radius * kDegreeLength;
}

double PolylineSegmentLength(const CCadPolyline& polyline, int fromIndex, int toIndex) {
    if (!ValidIndex(polyline, fromIndex) || !ValidIndex(polyline, toIndex)) {
        return 0.0;
    }
    const CCadVertex& a = polyline.vertices[static_cast<std::size_t>(fromIndex)];
    if (IsBulgedSegmentStart(a)) {
        return BulgeArcLength(polyline, fromIndex, toIndex);
    }
    const CCadVertex& b = polyline.vertices[static_cast<std::size_t>(toIndex)];
    return StraightDistance(a.x, a.y, b.x, b.y);
}

}  // namespace quarrant
