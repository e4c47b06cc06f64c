#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "base/GbkText.h"
#include "cad/Geometry.h"

using namespace quarrant;

namespace {

const CadRect kBox{0.0, 0.0, 10.0, 20.0};

CCadVertex Vertex(double x, double y, double bulge = 0.0) {
    CCadVertex v;
    v.x = x;
    v.y = y;
    if (bulge != 0.0) {
        v.hasBulge = 1;
        v.bulge = bulge;
    }
    return v;
}

CCadPolyline Polyline(std::vector<CCadVertex> vertices, int flags = 0) {
    CCadPolyline polyline;
    polyline.vertices = std::move(vertices);
    polyline.vertexCount = static_cast<int>(polyline.vertices.size());
    polyline.flags = flags;
    return polyline;
}

CCadEntity Line(double x1, double y1, double x2, double y2) {
    CCadEntity entity = MakeEntity<CCadLine>(kCadLine);
    auto* line = entity.As<CCadLine>();
    line->startX = x1;
    line->startY = y1;
    line->endX = x2;
    line->endY = y2;
    return entity;
}

CCadEntity Circle(double x, double y, double radius) {
    CCadEntity entity = MakeEntity<CCadCircle>(kCadCircle);
    auto* circle = entity.As<CCadCircle>();
    circle->centerX = x;
    circle->centerY = y;
    circle->radius = radius;
    return entity;
}

CCadEntity Arc(double x, double y, double radius, double start, double end) {
    CCadEntity entity = MakeEntity<CCadArc>(kCadArc);
    auto* arc = entity.As<CCadArc>();
    arc->centerX = x;
    arc->centerY = y;
    arc->radius = radius;
    arc->startAngle = start;
    arc->endAngle = end;
    return entity;
}

struct LineCase {
    const char* name;
    CadPoint start, end;
    CadRect rect;
    int expected;
};

TEST(HitLine, AnswersByEndsThenByCrossings) {
    const LineCase cases[] = {
        {"both ends inside", {1, 1}, {9, 19}, kBox, kHitInside},
        {"one end on the border, the other inside", {10, 5}, {5, 5}, kBox, kHitInside},
        {"both ends on corners", {0, 0}, {10, 20}, kBox, kHitInside},
        {"start inside, end outside", {5, 5}, {50, 5}, kBox, kHitPartly},
        {"end inside, start outside", {-50, 5}, {5, 5}, kBox, kHitPartly},
        {"passes through, both ends outside", {-5, -5}, {15, 25}, kBox, kHitPartly},
        {"touches a corner only", {-5, 5}, {5, -5}, kBox, kHitPartly},
        {"misses the corner", {-5, 4}, {4, -5}, kBox, kHitNone},
        {"entirely outside", {20, 0}, {30, 20}, kBox, kHitNone},
        {"vertical through", {5, -10}, {5, 30}, kBox, kHitPartly},
        {"vertical beside", {11, -10}, {11, 30}, kBox, kHitNone},
        {"vertical on the side line", {10, -10}, {10, 30}, kBox, kHitPartly},
        {"vertical above, not reaching", {5, -10}, {5, -1}, kBox, kHitNone},
        {"horizontal through", {-10, 5}, {30, 5}, kBox, kHitPartly},
        {"horizontal below", {-10, 25}, {30, 25}, kBox, kHitNone},
        // X differences below one unit are taken as vertical: only the start X is tested.
        {"nearly vertical, start X outside", {10.2, -5}, {9.8, 25}, kBox, kHitNone},
        {"nearly vertical, start X inside", {9.8, -5}, {10.2, 25}, kBox, kHitPartly},
        {"nearly horizontal, start Y outside", {-5, 20.3}, {15, 19.7}, kBox, kHitNone},
        {"rectangle given max before min", {-5, -5}, {15, 25}, {10, 20, 0, 0}, kHitPartly},
        {"rectangle given max before min, inside", {1, 1}, {2, 2}, {10, 20, 0, 0}, kHitInside},
    };
    for (const LineCase& c : cases) {
        EXPECT_EQ(HitLine(c.start, c.end, c.rect), c.expected) << c.name;
    }
}

TEST(HitLine, ANearlyVerticalLineThatReallyCrossesIsMissedAsVertical) {
    // Geometrically this segment enters x <= 10 at y = 10; as a vertical its X is 10.2.
    EXPECT_EQ(HitLine({10.2, -5}, {9.8, 25}, kBox), kHitNone);
    // One unit of X difference is no longer vertical: the crossing is found.
    EXPECT_EQ(HitLine({10.5, -5}, {9.5, 25}, kBox), kHitPartly);
}

TEST(PointInRect, BoundsAreInside) {
    EXPECT_TRUE(PointInRect({0, 0}, kBox));
    EXPECT_TRUE(PointInRect({10, 20}, kBox));
    EXPECT_TRUE(PointInRect({5, 20}, kBox));
    EXPECT_FALSE(PointInRect({10.000001, 5}, kBox));
    EXPECT_FALSE(PointInRect({5, -1e-9}, kBox));
    EXPECT_FALSE(PointInRect({std::nan(""), 5}, kBox));
}

struct CircleCase {
    const char* name;
    CadPoint centre;
    double radius;
    int expected;
};

TEST(HitCircle, SmallCircleInsideIsInsideAndRectangleInsideLargeCircleIsNoContact) {
    const CadRect square{0, 0, 10, 10};
    const CircleCase cases[] = {
        {"small circle inside", {5, 5}, 2, kHitInside},
        {"rectangle inside a large circle", {5, 5}, 100, kHitNone},
        {"circle across a side", {0, 5}, 2, kHitPartly},
        {"circle round a corner", {11, 11}, 2, kHitPartly},
        {"circle touching a side from inside", {5, 5}, 5, kHitPartly},
        {"circle outside", {30, 30}, 2, kHitNone},
        {"circle near a corner, missing it", {12, 12}, 2, kHitNone},
        {"negative radius read as its size", {5, 5}, -2, kHitInside},
    };
    for (const CircleCase& c : cases) {
        EXPECT_EQ(HitCircle(c.centre, c.radius, square), c.expected) << c.name;
    }
}

struct ArcCase {
    const char* name;
    CadPoint centre;
    double radius, start, end;
    CadRect rect;
    int expected;
};

TEST(HitArc, CountsOnlyMeetingPointsOnTheArc) {
    const ArcCase cases[] = {
        {"arc inside", {5, 5}, 2, 0, 90, {0, 0, 10, 10}, kHitInside},
        {"arc crossing a side", {0, 5}, 2, 270, 90, {0, 0, 10, 10}, kHitPartly},
        {"crossing part of the circle is not on the arc",
         {-0.5, 5},
         2,
         90,
         270,
         {0, 0, 10, 10},
         kHitNone},
        {"meeting point at the arc's end counts", {0, 5}, 2, 90, 270, {0, 0, 10, 10}, kHitPartly},
        // Y grows downwards: 270..360 lies above the centre (negative Y) on the right.
        {"arc 270 to 360 passes above and right", {0, 0}, 10, 270, 360, {5, -9, 9, -5}, kHitPartly},
        {"arc 270 to 360 lies inside", {0, 0}, 10, 270, 360, {-1, -11, 11, 1}, kHitInside},
        {"arc 270 to 360 is not below", {0, 0}, 10, 270, 360, {5, 5, 9, 9}, kHitNone},
        {"arc wrapping through 0 meets a side near angle 0",
         {0, 0},
         10,
         350,
         10,
         {9, -0.5, 11, 0.5},
         kHitPartly},
        {"wrapping arc does not reach angle 180",
         {0, 0},
         10,
         350,
         10,
         {-11, -0.5, -9, 0.5},
         kHitNone},
        {"rectangle inside the arc's circle", {5, 5}, 100, 0, 90, {0, 0, 10, 10}, kHitNone},
        {"arc of 0 to 360 is a full circle", {0, 5}, 2, 0, 360, {0, 0, 10, 10}, kHitPartly},
    };
    for (const ArcCase& c : cases) {
        EXPECT_EQ(HitArc(c.centre, c.radius, c.start, c.end, c.rect), c.expected) << c.name;
    }
}

TEST(HitArc, AnArcLeavingAndReenteringTheRectangleIsPartly) {
    // Both ends inside, but the arc bulges out through the top side.
    EXPECT_EQ(HitArc({5, 5}, 6, 230, 310, {0, 0, 10, 10}), kHitPartly);
    // The rest of the same circle would be inside but is not part of the arc.
    EXPECT_EQ(HitArc({5, 5}, 4, 230, 310, {0, 0, 10, 10}), kHitInside);
}

struct PolylineCase {
    const char* name;
    CCadPolyline polyline;
    CadRect rect;
    int expected;
};

TEST(HitPolyline, TestsEverySegmentIncludingTheClosingOne) {
    const CadRect square{0, 0, 10, 10};
    const PolylineCase cases[] = {
        {"open, inside", Polyline({Vertex(1, 1), Vertex(9, 1), Vertex(9, 9)}), square, kHitInside},
        {"open, one segment leaves", Polyline({Vertex(1, 1), Vertex(9, 1), Vertex(20, 9)}), square,
         kHitPartly},
        {"open, outside", Polyline({Vertex(20, 1), Vertex(30, 1)}), square, kHitNone},
        // Only the closing segment (from (20, 9) back to (-5, 9)) crosses the square.
        {"open: no closing segment",
         Polyline({Vertex(-5, 9), Vertex(-5, 30), Vertex(20, 30), Vertex(20, 9)}), square,
         kHitNone},
        {"closed: the closing segment crosses",
         Polyline({Vertex(-5, 9), Vertex(-5, 30), Vertex(20, 30), Vertex(20, 9)}, 1), square,
         kHitPartly},
        {"closed means bit 1 of the flags",
         Polyline({Vertex(-5, 9), Vertex(-5, 30), Vertex(20, 30), Vertex(20, 9)}, 129), square,
         kHitPartly},
        {"flags without bit 1 are open",
         Polyline({Vertex(-5, 9), Vertex(-5, 30), Vertex(20, 30), Vertex(20, 9)}, 128), square,
         kHitNone},
        {"single vertex inside", Polyline({Vertex(5, 5)}), square, kHitInside},
        {"single vertex outside", Polyline({Vertex(50, 5)}), square, kHitNone},
        {"closed single vertex has no closing segment", Polyline({Vertex(50, 5)}, 1), square,
         kHitNone},
        {"no vertices", Polyline({}), square, kHitNone},
    };
    for (const PolylineCase& c : cases) {
        EXPECT_EQ(HitPolyline(c.polyline, c.rect), c.expected) << c.name;
    }
}

TEST(HitPolyline, ABulgedSegmentIsTestedAlongItsArc) {
    // From (0, 0) to (10, 0) as a half circle about (5, 0): a negative bulge passes through
    // (5, -5) (above, Y down), a positive one through (5, 5).
    const CadRect above{4, -6, 6, -4};
    const CadRect below{4, 4, 6, 6};
    const CCadPolyline negative = Polyline({Vertex(0, 0, -1.0), Vertex(10, 0)});
    const CCadPolyline positive = Polyline({Vertex(0, 0, 1.0), Vertex(10, 0)});
    EXPECT_EQ(HitPolyline(negative, above), kHitPartly);
    EXPECT_EQ(HitPolyline(negative, below), kHitNone);
    EXPECT_EQ(HitPolyline(positive, below), kHitPartly);
    EXPECT_EQ(HitPolyline(positive, above), kHitNone);
    // The same vertices without the bulge are a straight segment on y = 0.
    EXPECT_EQ(HitPolyline(Polyline({Vertex(0, 0), Vertex(10, 0)}), above), kHitNone);
    // The whole arc inside a large rectangle.
    EXPECT_EQ(HitPolyline(negative, {-1, -6, 11, 1}), kHitInside);
    // Its arc sticks out of a rectangle that holds both vertices.
    EXPECT_EQ(HitPolyline(negative, {-1, -2, 11, 1}), kHitPartly);
}

TEST(BulgeSegmentArc, GivesTheCentreRadiusAndAnglesAsDrawn) {
    // Quarter circle from (1, 0) to (0, 1) about the origin: bulge tan(22.5 deg), negative
    // runs with increasing angles.
    const double b = std::tan(std::atan(1.0) / 2.0);
    BulgeArc arc = BulgeSegmentArc(Vertex(1, 0, -b), Vertex(0, 1));
    ASSERT_TRUE(arc.valid);
    EXPECT_NEAR(arc.centre.x, 0.0, 1e-12);
    EXPECT_NEAR(arc.centre.y, 0.0, 1e-12);
    EXPECT_NEAR(arc.radius, 1.0, 1e-12);
    EXPECT_NEAR(arc.startAngle, 0.0, 1e-9);
    EXPECT_NEAR(arc.endAngle, 90.0, 1e-9);
    // A positive bulge swaps the ends and puts the centre on the other side.
    arc = BulgeSegmentArc(Vertex(1, 0, b), Vertex(0, 1));
    ASSERT_TRUE(arc.valid);
    EXPECT_NEAR(arc.centre.x, 1.0, 1e-12);
    EXPECT_NEAR(arc.centre.y, 1.0, 1e-12);
    EXPECT_NEAR(arc.startAngle, 180.0, 1e-9);
    EXPECT_NEAR(arc.endAngle, 270.0, 1e-9);
    // A bulge of 2 is more than a half circle: the centre moves to the far side.
    arc = BulgeSegmentArc(Vertex(0, 0, -2.0), Vertex(10, 0));
    ASSERT_TRUE(arc.valid);
    EXPECT_NEAR(arc.radius, 6.25, 1e-12);
    EXPECT_NEAR(arc.centre.x, 5.0, 1e-12);
    EXPECT_NEAR(arc.centre.y, -3.75, 1e-12);
    // Straight and degenerate segments.
    EXPECT_FALSE(BulgeSegmentArc(Vertex(0, 0), Vertex(10, 0)).valid);
    CCadVertex markedZero = Vertex(0, 0);
    markedZero.hasBulge = 1;
    EXPECT_FALSE(BulgeSegmentArc(markedZero, Vertex(10, 0)).valid);
    EXPECT_FALSE(BulgeSegmentArc(Vertex(3, 3, 0.5), Vertex(3, 3)).valid);
}

TEST(HitSolid, CrossingSolidIsPartlyAndSoNotPickedByAWindow) {
    const CadRect square{0, 0, 10, 10};
    // Corners 1, 2, 4, 3 make the outline.
    EXPECT_EQ(HitSolid({1, 1}, {9, 1}, {1, 9}, {9, 9}, square), kHitInside);
    EXPECT_EQ(HitSolid({5, 5}, {15, 5}, {5, 15}, {15, 15}, square), kHitPartly);
    // Around the square: the outline 1, 2, 4, 3 misses it (the diagonal 2 -> 3 is no edge).
    EXPECT_EQ(HitSolid({-5, -5}, {15, -5}, {-5, 15}, {15, 15}, square), kHitNone);
    EXPECT_EQ(HitSolid({20, 20}, {30, 20}, {20, 30}, {30, 30}, square), kHitNone);
    // Triangle 1, 2, 3 when corners 3 and 4 coincide: its edge 3 -> 1 crosses the square.
    EXPECT_EQ(HitSolid({-5, 5}, {-5, -5}, {15, 5}, {15, 5}, square), kHitPartly);
}

TEST(HitText, TheBoxCoversTheDrawnTextAboveTheInsertionPoint) {
    // "AB", height 10: 2 bytes x 10 / 2 = 10 wide, one height from y 0 up to y -10.
    EXPECT_EQ(HitText({0, 0}, "AB", 10, 0, {-1, -11, 11, 1}), kHitInside);
    EXPECT_EQ(HitText({0, 0}, "AB", 10, 0, {-1, -5, 11, -4}), kHitPartly);
    // Below the insertion point there is no text.
    EXPECT_EQ(HitText({0, 0}, "AB", 10, 0, {-1, 2, 11, 12}), kHitNone);
    // Width by integer division: "ABC" with height 5 is 15 / 2 = 7 wide.
    EXPECT_EQ(HitText({0, 0}, "ABC", 5, 0, {-1, -6, 7, 1}), kHitInside);
    EXPECT_EQ(HitText({0, 0}, "ABC", 5, 0, {-1, -6, 6.9, 1}), kHitPartly);
    // The width counts bytes: one GBK character is two.
    const std::string steel = Utf8ToGbk(u8"钢");
    EXPECT_EQ(HitText({0, 0}, steel, 10, 0, {-1, -11, 10, 1}), kHitInside);
    EXPECT_EQ(HitText({0, 0}, steel, 10, 0, {-1, -11, 9, 1}), kHitPartly);
    // Turned 90 degrees the text reads upwards: the box spans x -10..0 and y -10..0.
    EXPECT_EQ(HitText({0, 0}, "AB", 10, 90, {-11, -11, 1, 1}), kHitInside);
    EXPECT_EQ(HitText({0, 0}, "AB", 10, 90, {0.5, -11, 12, 1}), kHitNone);
}

std::shared_ptr<CCadBlock> Block(std::vector<CCadEntity> entities) {
    auto block = std::make_shared<CCadBlock>();
    block->name = "B";
    block->entities = std::move(entities);
    return block;
}

TEST(HitDimension, CombinesTheAnswersOfItsBlockEntities) {
    const CadRect square{0, 0, 10, 10};
    CCadDimension dimension;
    dimension.block = Block({Line(1, 1, 9, 1), Circle(5, 5, 2)});
    EXPECT_EQ(HitDimension(dimension, square), kHitInside);
    dimension.block = Block({Line(1, 1, 9, 1), Line(1, 1, 20, 1)});
    EXPECT_EQ(HitDimension(dimension, square), kHitPartly);
    dimension.block = Block({Line(20, 1, 30, 1), Arc(50, 50, 1, 0, 90)});
    EXPECT_EQ(HitDimension(dimension, square), kHitNone);
    // A window around the arc alone is not enough: every tested entity must be inside.
    dimension.block = Block({Line(1, 1, 9, 1), Arc(50, 50, 1, 0, 90)});
    EXPECT_EQ(HitDimension(dimension, square), kHitPartly);
}

TEST(HitDimension, ADimensionWithNothingToTestIsNeverHit) {
    CCadDimension dimension;
    EXPECT_EQ(HitDimension(dimension, {0, 0, 10, 10}), kHitNone);
    dimension.block = Block({});
    EXPECT_EQ(HitDimension(dimension, {0, 0, 10, 10}), kHitNone);
    dimension.block = Block({MakeEntity<CCadEllipse>(kCadEllipse)});
    EXPECT_EQ(HitDimension(dimension, {-1e9, -1e9, 1e9, 1e9}), kHitNone);
}

TEST(HitInsert, ABlockWithOneLineInsideAndOneOutsideIsPartly) {
    CCadInsert insert;
    insert.insertX = 100;
    insert.insertY = 100;
    insert.entities = {Line(0, 0, 5, 0), Line(0, 0, 50, 0)};
    EXPECT_EQ(HitInsert(insert, {99, 99, 110, 101}), kHitPartly);
    EXPECT_EQ(HitInsert(insert, {99, 99, 151, 101}), kHitInside);
    EXPECT_EQ(HitInsert(insert, {0, 0, 10, 10}), kHitNone);
}

TEST(HitInsert, PlacesTheBlockByScaleRotationAndInsertionPoint) {
    CCadInsert insert;
    insert.insertX = 100;
    insert.insertY = 100;
    insert.scaleX = 2;
    insert.scaleY = 2;
    insert.entities = {Line(0, 0, 5, 0)};
    // Scaled to (100, 100)-(110, 100).
    EXPECT_EQ(HitInsert(insert, {99, 99, 111, 101}), kHitInside);
    EXPECT_EQ(HitInsert(insert, {99, 99, 108, 101}), kHitPartly);
    // Turned 90 degrees (anticlockwise on the screen): the line goes up to (100, 90).
    insert.rotation = 90;
    EXPECT_EQ(HitInsert(insert, {99, 89, 101, 101}), kHitInside);
    EXPECT_EQ(HitInsert(insert, {99, 101, 101, 111}), kHitNone);
    // Circle radii scale by the X scale, mirrored or not.
    CCadInsert mirrored;
    mirrored.scaleX = -3;
    mirrored.entities = {Circle(0, 0, 1)};
    EXPECT_EQ(HitInsert(mirrored, {-3.5, -3.5, 3.5, 3.5}), kHitInside);
    EXPECT_EQ(HitInsert(mirrored, {-2, -2, 2, 2}), kHitNone);
}

TEST(HitInsert, BlockArcsAreNotTestedAndAnEmptyInsertIsNeverHit) {
    CCadInsert insert;
    insert.entities = {Line(1, 1, 2, 2), Arc(50, 50, 1, 0, 90)};
    // The arc lies outside, but only the line counts.
    EXPECT_EQ(HitInsert(insert, {0, 0, 10, 10}), kHitInside);
    insert.entities = {Arc(5, 5, 1, 0, 90)};
    EXPECT_EQ(HitInsert(insert, {0, 0, 10, 10}), kHitNone);
    insert.entities.clear();
    EXPECT_EQ(HitInsert(insert, {0, 0, 10, 10}), kHitNone);
}

TEST(HitEntity, EllipsesAndMTextsAreNeverPicked) {
    const CadRect everything{-1e9, -1e9, 1e9, 1e9};
    EXPECT_EQ(HitEntity(MakeEntity<CCadEllipse>(kCadEllipse), everything), kHitNone);
    EXPECT_EQ(HitEntity(MakeEntity<CCadMText>(kCadMText), everything), kHitNone);
    EXPECT_EQ(HitEntity(CCadEntity{kCadLine, nullptr}, everything), kHitNone);
    EXPECT_EQ(HitEntity(Line(0, 0, 1, 1), everything), kHitInside);
    EXPECT_EQ(HitEntity(Circle(0, 0, 1), everything), kHitInside);
}

}  // namespace
