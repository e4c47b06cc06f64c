#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "cad/LengthConversion.h"

using namespace quarrant;

namespace {

struct ConvertCase {
    const char* name;
    double length;
    const char* unit;
    const char* scale;
    double expected;  // metres, compared as the single-precision result
};

TEST(ConvertLength, ScalesByTheScaleTextThenByTheUnit) {
    const ConvertCase cases[] = {
        {"1:100 in mm", 5000, "mm", "1:100", 0.05},
        {"1:1 in mm", 2500, "mm", "1:1", 2.5},
        {"1:2 in mm", 2500, "mm", "1:2", 1.25},
        {"cm", 250, "cm", "1:1", 2.5},
        {"m", 2.5, "m", "1:1", 2.5},
        {"10m", 2.5, "10m", "1:1", 25},
        {"100m", 2.5, "100m", "1:1", 250},
        {"km", 2.5, "km", "1:1", 2500},
        {"unknown unit leaves the value", 2500, "inch", "1:1", 2500},
        {"units compare exactly", 2500, "MM", "1:1", 2500},
        {"numbers read as atof reads them", 5000, "mm", " 1 : 100 ", 0.05},
        {"split at the first colon", 5000, "mm", "1:100:7", 0.05},
        {"2:1 enlarges", 2500, "mm", "2:1", 5},
        {"no colon leaves the length unscaled", 2500, "mm", "100", 2.5},
        {"empty scale leaves the length unscaled", 2500, "mm", "", 2.5},
        {"b = 0 leaves the length unscaled", 2500, "mm", "1:0", 2.5},
        {"rubbish b is 0 and leaves the length unscaled", 2500, "mm", "1:x", 2.5},
        {"a = 0 gives 0", 2500, "mm", "0:100", 0},
    };
    for (const ConvertCase& c : cases) {
        EXPECT_EQ(ConvertLength(c.length, c.unit, c.scale), static_cast<float>(c.expected))
            << c.name;
    }
}

TEST(ConvertLength, ComputesInDoubleAndRoundsOnceToSinglePrecision) {
    // Float arithmetic step by step would give 0.027573337778...; rounded once it is
    // 0.027573334053...
    EXPECT_EQ(ConvertLength(827.2, "mm", "1:30"), 0.02757333405315876f);
    EXPECT_EQ(ConvertLength(9974.1, "mm", "1:50"), 0.1994819939136505f);
}

TEST(BulgeArcLength, MeasuresAlongTheArcWithTheDegreeConstantAsWritten) {
    CCadPolyline polyline;
    polyline.vertices.resize(2);
    polyline.vertices[0].hasBulge = 1;
    polyline.vertices[1].x = 10;
    // A half circle over a chord of 10: radius 5, sweep 180 degrees.
    polyline.vertices[0].bulge = 1.0;
    EXPECT_DOUBLE_EQ(BulgeArcLength(polyline, 0, 1), 180.0 * 5.0 * 0.017453292222222222);
    EXPECT_NE(BulgeArcLength(polyline, 0, 1), 5.0 * std::numbers::pi);
    // The sign of the bulge does not change the length.
    polyline.vertices[0].bulge = -1.0;
    EXPECT_DOUBLE_EQ(BulgeArcLength(polyline, 0, 1), 180.0 * 5.0 * 0.017453292222222222);
    // A quarter circle (bulge tan 22.5 deg) over the chord of a radius-1 quarter.
    polyline.vertices[1].x = 0;
    polyline.vertices[1].y = 1;
    polyline.vertices[0].x = 1;
    polyline.vertices[0].bulge = std::tan(std::numbers::pi / 8);
    EXPECT_NEAR(BulgeArcLength(polyline, 0, 1), 90.0 * 0.017453292222222222, 1e-12);
}

TEST(BulgeArcLength, ABulgeAboveOneIsMeasuredAlongTheLongerArc) {
    CCadPolyline polyline;
    polyline.vertices.resize(2);
    polyline.vertices[0].hasBulge = 1;
    polyline.vertices[0].bulge = 2.0;
    polyline.vertices[1].x = 10;
    // Radius h h / (8 s) + s / 2 = 6.25 for h = 10, s = 10; sweep 4 atan 2 = 253.74 degrees.
    const double sweep = (4.0 * std::atan(2.0)) * (180.0 / std::numbers::pi);
    EXPECT_DOUBLE_EQ(BulgeArcLength(polyline, 0, 1), sweep * 6.25 * 0.017453292222222222);
    EXPECT_NEAR(BulgeArcLength(polyline, 0, 1), 27.68, 0.01);
}

TEST(BulgeArcLength, CoincidingVerticesAndBadIndexesGiveZero) {
    CCadPolyline polyline;
    polyline.vertices.resize(2);
    polyline.vertices[0].hasBulge = 1;
    polyline.vertices[0].bulge = 0.5;
    EXPECT_EQ(BulgeArcLength(polyline, 0, 1), 0.0);
    polyline.vertices[1].x = 3;
    EXPECT_EQ(BulgeArcLength(polyline, 0, 2), 0.0);
    EXPECT_EQ(BulgeArcLength(polyline, -1, 0), 0.0);
    EXPECT_GT(BulgeArcLength(polyline, 0, 1), 3.0);
}

TEST(PolylineSegmentLength, AnArcOnlyWithTheMarkAndANonZeroBulge) {
    CCadPolyline polyline;
    polyline.vertices.resize(2);
    polyline.vertices[1].x = 10;
    polyline.vertices[0].bulge = 1.0;  // no has-bulge mark: straight
    EXPECT_EQ(PolylineSegmentLength(polyline, 0, 1), 10.0);
    polyline.vertices[0].hasBulge = 1;
    polyline.vertices[0].bulge = 0.0;  // mark but no bulge: straight
    EXPECT_EQ(PolylineSegmentLength(polyline, 0, 1), 10.0);
    polyline.vertices[0].bulge = 1.0;
    EXPECT_DOUBLE_EQ(PolylineSegmentLength(polyline, 0, 1), 180.0 * 5.0 * 0.017453292222222222);
    EXPECT_EQ(PolylineSegmentLength(polyline, 1, 5), 0.0);
}

TEST(StraightDistance, IsTheSquareRootOfTheSquares) {
    EXPECT_EQ(StraightDistance(0, 0, 3, 4), 5.0);
    EXPECT_EQ(StraightDistance(3, 4, 0, 0), 5.0);
    EXPECT_EQ(StraightDistance(1, 1, 1, 1), 0.0);
}

}  // namespace
