#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "base/CNumbers.h"
#include "cad/CadDrawing.h"
#include "cad/DxfNormalize.h"
#include "cad/DxfReader.h"
#include "cad/DxfTextBuilder.h"
#include "cad/LoadDxf.h"
#include "cad/PairwiseDuplicates.h"

using namespace quarrant;

namespace {

using quarrant::testing::Dxf;
using quarrant::testing::PairwiseSurvivors;

std::shared_ptr<const CCadColorTable> Colors() {
    auto table = std::make_shared<CCadColorTable>();
    table->SetAt(1, CCadColor{255, 0, 0});
    table->SetAt(5, CCadColor{0, 0, 255});
    table->SetAt(7, CCadColor{250, 250, 250});
    table->SetAt(0, CCadColor{1, 2, 3});
    return table;
}

std::unique_ptr<CCadDrawing> Import(const std::string& text, double precision = 1.0) {
    CCadFile file;
    EXPECT_TRUE(LoadDxf(file, DxfBytes{text}, Colors(), precision));
    return std::move(file.drawing);
}

std::vector<int> Identifiers(const CCadEntityList& entities) {
    std::vector<int> identifiers;
    for (const CCadEntity& entity : entities) {
        identifiers.push_back(entity.record->identifier);
    }
    return identifiers;
}

void ExpectColor(const CCadRecord& record, int red, int green, int blue, const char* what) {
    EXPECT_EQ(record.color.red, red) << what;
    EXPECT_EQ(record.color.green, green) << what;
    EXPECT_EQ(record.color.blue, blue) << what;
}

// ---------------------------------------------------------------------------------------
// Duplicate removal

TEST(DxfNormalizeTest, DuplicateLinesWithinThePrecisionLeaveOne) {
    struct Case {
        const char* name;
        std::string entities;
        double precision;
        std::vector<int> survivors;
    } cases[] = {
        {"identical lines", Dxf().Line(0, 0, 10, 10).Line(0, 0, 10, 10), 1.0, {0}},
        {"within the precision", Dxf().Line(0, 0, 10, 10).Line(0.9, -0.9, 10.5, 9.5), 1.0, {0}},
        {"a reversed line is no duplicate",
         Dxf().Line(0, 0, 10, 10).Line(10, 10, 0, 0),
         1.0,
         {0, 1}},
        {"a difference equal to the precision is no match",
         Dxf().Line(0, 0, 10, 10).Line(0.5, 0, 10, 10),
         0.5,
         {0, 1}},
        {"one coordinate out is no match",
         Dxf().Line(0, 0, 10, 10).Line(0, 0, 10, 11.5),
         1.0,
         {0, 1}},
        {"the first survives and removes later ones",
         Dxf().Line(5, 5, 6, 6).Line(0, 0, 10, 10).Line(5, 5, 6, 6).Line(0.1, 0, 10, 10),
         1.0,
         {0, 1}},
        {"a removed entity removes nothing",
         // B matches A and C, A does not match C: A removes B, C stays.
         Dxf().Line(0, 0, 10, 10).Line(0.8, 0, 10, 10).Line(1.6, 0, 10, 10),
         1.0,
         {0, 2}},
        {"precision zero removes nothing", Dxf().Line(0, 0, 1, 1).Line(0, 0, 1, 1), 0.0, {0, 1}},
        {"circles by centre and radius",
         Dxf().Circle(5, 5, 2).Circle(5.5, 5.5, 2.5).Circle(5, 5, 4),
         1.0,
         {0, 2}},
        {"arcs compare their angles too",
         Dxf().Arc(5, 5, 2, 0, 90).Arc(5, 5, 2, 0.5, 90.5).Arc(5, 5, 2, 0, 180),
         1.0,
         {0, 2}},
        {"different kinds never match", Dxf().Circle(5, 5, 2).Arc(5, 5, 2, 0, 360), 1.0, {0, 1}},
        {"texts are never removed",
         Dxf().Pair(0, "TEXT").Pair(8, "0").Pair(1, "A").Pair(0, "TEXT").Pair(8, "0").Pair(1, "A"),
         1.0,
         {0, 1}},
    };
    for (const Case& c : cases) {
        std::string text = Dxf().Tables().Section("ENTITIES").Text() + c.entities +
                           Dxf().Line(-100, -100, 100, 100, "BLUE").EndSection().Eof().Text();
        auto drawing = Import(text, c.precision);
        ASSERT_NE(drawing, nullptr) << c.name;
        std::vector<int> ids = Identifiers(drawing->entities);
        ASSERT_FALSE(ids.empty()) << c.name;
        ids.pop_back();  // the frame line
        EXPECT_EQ(ids, c.survivors) << c.name;
    }
}

TEST(DxfNormalizeTest, InsertsOfDifferentBlocksAtOnePointLeaveOne) {
    std::string text = Dxf()
                           .Tables()
                           .Section("BLOCKS")
                           .Pair(0, "BLOCK")
                           .Pair(2, "A")
                           .Line(0, 0, 1, 0)
                           .Pair(0, "ENDBLK")
                           .Pair(0, "BLOCK")
                           .Pair(2, "B")
                           .Line(0, 0, 0, 1)
                           .Circle(0, 0, 1)
                           .Pair(0, "ENDBLK")
                           .EndSection()
                           .Section("ENTITIES")
                           .Line(0, 0, 100, 100)
                           .Insert("A", 50, 50)
                           .Insert("B", 50, 50)
                           .Insert("B", 50, 50)
                           .Pair(41, "2")  // another scale stays
                           .EndSection()
                           .Eof();
    auto drawing = Import(text);
    ASSERT_EQ(Identifiers(drawing->entities), (std::vector<int>{3, 4, 6}));
    // The block records survive the removed INSERT.
    EXPECT_EQ((*drawing->blockTable.Lookup("B"))->entities.size(), 2u);
    EXPECT_EQ(drawing->entities[2].As<CCadInsert>()->entities.size(), 2u);
}

TEST(DxfNormalizeTest, PolylinesAndSolidsCompareEveryPoint) {
    auto polyline = [](Dxf& dxf, std::vector<double> xy, double bulge, bool withBulge) {
        dxf.Pair(0, "LWPOLYLINE").Pair(8, "0").Pair(90, FormatInt(xy.size() / 2));
        for (std::size_t k = 0; k + 1 < xy.size(); k += 2) {
            dxf.Pair(10, xy[k]).Pair(20, xy[k + 1]);
            if (withBulge) {
                dxf.Pair(42, bulge);
            }
        }
    };
    Dxf entities;
    polyline(entities, {0, 0, 10, 0, 10, 10}, 0, false);      // 0
    polyline(entities, {0.5, 0, 10, 0.5, 10, 10}, 0, false);  // 1: duplicate of 0
    polyline(entities, {0, 0, 10, 0, 10, 10}, 0, true);       // 2: bulge marks differ
    polyline(entities, {0, 0, 10, 0}, 0, false);              // 3: other count
    polyline(entities, {0, 0, 10, 0, 10, 10}, 0.5, true);     // 4: duplicate of 2
    polyline(entities, {0, 0, 10, 0, 10, 10}, 1.5, true);     // 5: bulge too far from 2
    entities.Pair(0, "SOLID")
        .Pair(8, "0")
        .Pair(10, 0)
        .Pair(20, 0)
        .Pair(11, 1)
        .Pair(21, 0)
        .Pair(12, 0)
        .Pair(22, 1)
        .Pair(13, 1)
        .Pair(23, 1);  // 6
    entities.Pair(0, "SOLID")
        .Pair(8, "0")
        .Pair(10, 0)
        .Pair(20, 0)
        .Pair(11, 1)
        .Pair(21, 0)
        .Pair(12, 0)
        .Pair(22, 1)
        .Pair(13, 1)
        .Pair(23, 1.9);  // 7: duplicate of 6
    entities.Pair(0, "SOLID")
        .Pair(8, "0")
        .Pair(10, 0)
        .Pair(20, 0)
        .Pair(11, 1)
        .Pair(21, 0)
        .Pair(12, 0)
        .Pair(22, 1)
        .Pair(13, 1)
        .Pair(23, 2.1);  // 8
    std::string text = Dxf().Tables().Section("ENTITIES").Text() + entities.Text() +
                       Dxf().EndSection().Eof().Text();
    auto drawing = Import(text);
    EXPECT_EQ(Identifiers(drawing->entities), (std::vector<int>{0, 2, 3, 5, 6, 8}));
}

TEST(DxfNormalizeTest, IndexedRemovalKeepsTheSurvivorsOfThePairwiseSearch) {
    // Dense clusters of near duplicates, with values on and around cell borders, for several
    // precisions: the survivors must be those of the pairwise search, in the same order.
    std::mt19937 random(12345);
    for (double precision : {1.0, 0.5, 0.1, 3.0, 0.001, 1e-9}) {
        CCadDrawing drawing;
        std::uniform_int_distribution<int> cluster(0, 12);
        std::uniform_real_distribution<double> jitter(-1.5 * precision, 1.5 * precision);
        std::uniform_int_distribution<int> exact(0, 3);
        for (int i = 0; i < 1500; ++i) {
            double base = cluster(random) * 4.0 * precision;
            auto value = [&](double offset) {
                // Sometimes exactly on a multiple of the precision, sometimes jittered.
                return exact(random) == 0 ? base + offset : base + offset + jitter(random);
            };
            CCadEntity entity;
            if (i % 3 == 0) {
                entity = MakeEntity<CCadCircle>(kCadCircle);
                auto* circle = entity.As<CCadCircle>();
                circle->centerX = value(0);
                circle->centerY = value(precision);
                circle->radius = value(2 * precision);
            } else {
                entity = MakeEntity<CCadLine>(kCadLine);
                auto* line = entity.As<CCadLine>();
                line->startX = value(0);
                line->startY = value(0.5 * precision);
                line->endX = value(precision);
                line->endY = value(1.5 * precision);
            }
            entity.record->identifier = i;
            drawing.entities.push_back(entity);
        }
        drawing.minX = drawing.minY = -1000;
        drawing.maxX = drawing.maxY = 1000;
        CCadDrawing copy;
        for (const CCadEntity& entity : drawing.entities) {
            copy.entities.push_back(CloneEntity(entity));
        }
        Normalize(copy, 0.0);  // transformed but nothing removed: compare in the same frame
        std::vector<int> expected = PairwiseSurvivors(copy.entities, precision);
        Normalize(drawing, precision);
        EXPECT_EQ(Identifiers(drawing.entities), expected) << precision;
        EXPECT_LT(drawing.entities.size(), 1500u) << precision;
    }
}

TEST(DxfNormalizeTest, ValuesThatAreNotNumbersNeverMatch) {
    std::string text = Dxf()
                           .Tables()
                           .Section("ENTITIES")
                           .Line(0, 0, 10, 10)
                           .Pair(0, "LINE")
                           .Pair(8, "0")
                           .Pair(10, "nan")
                           .Pair(20, "0")
                           .Pair(0, "LINE")
                           .Pair(8, "0")
                           .Pair(10, "nan")
                           .Pair(20, "0")
                           .Pair(0, "CIRCLE")
                           .Pair(8, "0")
                           .Pair(10, "1e999")
                           .Pair(40, "1")
                           .Pair(0, "CIRCLE")
                           .Pair(8, "0")
                           .Pair(10, "1e999")
                           .Pair(40, "1")
                           .Pair(0, "CIRCLE")
                           .Pair(8, "0")
                           .Pair(10, "1")
                           .Pair(40, "nan")
                           .Pair(0, "CIRCLE")
                           .Pair(8, "0")
                           .Pair(10, "1")
                           .Pair(40, "nan")
                           .EndSection()
                           .Eof();
    auto drawing = Import(text);
    EXPECT_EQ(drawing->entities.size(), 7u);
}

// ---------------------------------------------------------------------------------------
// Transformation

TEST(DxfNormalizeTest, CoordinatesMoveIntoTheYDownFrame) {
    std::string text = Dxf()
                           .Tables()
                           .Section("ENTITIES")
                           .Line(10, 20, 110, 70)  // extents 10..110 x 20..70, H = 50
                           .Arc(30, 40, 5, 0, 90)
                           .Circle(50, 60, 2)
                           .Pair(0, "TEXT")
                           .Pair(8, "0")
                           .Pair(10, 20)
                           .Pair(20, 30)
                           .Pair(11, 40)
                           .Pair(21, 50)
                           .Pair(0, "MTEXT")
                           .Pair(8, "0")
                           .Pair(10, 20)
                           .Pair(20, 30)
                           .Pair(0, "ELLIPSE")
                           .Pair(8, "0")
                           .Pair(10, 60)
                           .Pair(20, 40)
                           .Pair(11, 20)
                           .Pair(21, 0)
                           .Pair(0, "LWPOLYLINE")
                           .Pair(8, "0")
                           .Pair(90, "2")
                           .Pair(10, 10)
                           .Pair(20, 20)
                           .Pair(42, 0.5)
                           .Pair(10, 20)
                           .Pair(20, 70)
                           .Pair(0, "SOLID")
                           .Pair(8, "0")
                           .Pair(10, 10)
                           .Pair(20, 70)
                           .Pair(13, 20)
                           .Pair(23, 20)
                           .EndSection()
                           .Eof();
    auto drawing = Import(text);
    const CCadEntityList& e = drawing->entities;
    ASSERT_EQ(e.size(), 8u);
    EXPECT_EQ(drawing->minX, 10.0);  // the stored extents stay as read
    EXPECT_EQ(drawing->maxY, 70.0);
    const auto* line = e[0].As<CCadLine>();
    EXPECT_EQ(line->startX, 0.0);
    EXPECT_EQ(line->startY, 50.0);
    EXPECT_EQ(line->endX, 100.0);
    EXPECT_EQ(line->endY, 0.0);
    const auto* arc = e[1].As<CCadArc>();
    EXPECT_EQ(arc->centerX, 20.0);
    EXPECT_EQ(arc->centerY, 30.0);
    EXPECT_EQ(arc->startAngle, 270.0);  // 0..90 becomes 270..360
    EXPECT_EQ(arc->endAngle, 360.0);
    EXPECT_EQ(arc->radius, 5.0);
    EXPECT_EQ(e[2].As<CCadCircle>()->centerY, 10.0);
    EXPECT_EQ(e[3].As<CCadText>()->insertY, 40.0);
    EXPECT_EQ(e[3].As<CCadText>()->secondX, 30.0);
    EXPECT_EQ(e[3].As<CCadText>()->secondY, 20.0);
    EXPECT_EQ(e[4].As<CCadMText>()->insertX, 10.0);
    EXPECT_EQ(e[4].As<CCadMText>()->insertY, 40.0);
    // The axis point is transformed as a point, like the centre.
    EXPECT_EQ(e[5].As<CCadEllipse>()->axisX, 10.0);
    EXPECT_EQ(e[5].As<CCadEllipse>()->axisY, 70.0);
    const auto* polyline = e[6].As<CCadPolyline>();
    EXPECT_EQ(polyline->vertices[0].y, 50.0);
    EXPECT_EQ(polyline->vertices[1].x, 10.0);
    EXPECT_EQ(polyline->vertices[0].bulge, 0.5);
    EXPECT_EQ(e[7].As<CCadSolid>()->y1, 0.0);
    EXPECT_EQ(e[7].As<CCadSolid>()->y4, 50.0);
    EXPECT_EQ(e[7].As<CCadSolid>()->x2, -10.0);  // corners left at 0 move too
}

TEST(DxfNormalizeTest, InsertMovesItsPointButNotItsBlock) {
    std::string text = Dxf()
                           .Tables()
                           .Section("BLOCKS")
                           .Pair(0, "BLOCK")
                           .Pair(2, "B")
                           .Line(1, 2, 3, 4)
                           .Pair(0, "ENDBLK")
                           .EndSection()
                           .Section("ENTITIES")
                           .Line(0, 0, 100, 100)
                           .Insert("B", 30, 40)
                           .Pair(50, "90")
                           .EndSection()
                           .Eof();
    auto drawing = Import(text);
    const auto* insert = drawing->entities[1].As<CCadInsert>();
    EXPECT_EQ(insert->insertX, 30.0);
    EXPECT_EQ(insert->insertY, 60.0);
    EXPECT_EQ(insert->rotation, 90.0);
    const auto* line = insert->entities[0].As<CCadLine>();
    EXPECT_EQ(line->startY, -2.0);  // screen orientation, relative to the base point
    EXPECT_EQ(line->endX, 3.0);
}

TEST(DxfNormalizeTest, UnmovedExtentsAreTakenFromTheTransformedPoints) {
    struct Case {
        const char* name;
        std::string entities;
        double minX, minY, maxX, maxY;
    } cases[] = {
        {"circles only", Dxf().Circle(10, 20, 5).Circle(40, 30, 1), 5, 15, 41, 31},
        {"arc centre and radius", Dxf().Arc(10, 10, 2, 0, 90), 8, 8, 12, 12},
        {"text, mtext and insert points",
         Dxf()
             .Pair(0, "TEXT")
             .Pair(8, "0")
             .Pair(10, 3)
             .Pair(20, 4)
             .Pair(11, 99)
             .Pair(21, 99)
             .Pair(0, "MTEXT")
             .Pair(8, "0")
             .Pair(10, 7)
             .Pair(20, 1)
             .Pair(0, "ELLIPSE")
             .Pair(8, "0")
             .Pair(10, 5)
             .Pair(20, 9)
             .Pair(11, 50)
             .Pair(21, 50),
         3, 1, 7, 9},
        {"dimension points present only",
         Dxf().Pair(0, "DIMENSION").Pair(8, "0").Pair(13, 2).Pair(23, 3).Pair(14, 8).Pair(24, 6), 2,
         3, 8, 6},
        {"minimum just below zero", Dxf().Circle(0, 0, 0.0004), 0, 0, 0.0004, 0.0004},
        {"nothing to take", Dxf().Pair(0, "DIMENSION").Pair(8, "0"), 0, 0, 0, 0},
        {"no entities", Dxf(), 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        std::string text = Dxf().Tables().Section("ENTITIES").Text() + c.entities +
                           Dxf().EndSection().Eof().Text();
        auto drawing = Import(text);
        ASSERT_NE(drawing, nullptr);
        EXPECT_EQ(drawing->minX, c.minX) << c.name;
        EXPECT_EQ(drawing->minY, c.minY) << c.name;
        EXPECT_EQ(drawing->maxX, c.maxX) << c.name;
        EXPECT_EQ(drawing->maxY, c.maxY) << c.name;
    }
    // The circles now lie inside the drawing.
    auto drawing = Import(
        Dxf().Tables().Section("ENTITIES").Circle(10, 20, 5).Circle(40, 30, 1).EndSection().Eof());
    EXPECT_EQ(drawing->entities[0].As<CCadCircle>()->centerX, 5.0);
    EXPECT_EQ(drawing->entities[0].As<CCadCircle>()->centerY, 11.0);
}

TEST(DxfNormalizeTest, MinimumOfMinusHalfAThousandthIsStoredAsZero) {
    auto drawing = Import(
        Dxf().Tables().Section("ENTITIES").Line(-0.0005, -0.0005, 10, 10).EndSection().Eof());
    EXPECT_EQ(drawing->minX, 0.0);
    EXPECT_EQ(drawing->minY, 0.0);
    EXPECT_EQ(drawing->entities[0].As<CCadLine>()->startX, -0.0005);
}

// ---------------------------------------------------------------------------------------
// Colours and dimensions

TEST(DxfNormalizeTest, ColoursAreResolvedThroughLayersAndTheTable) {
    std::string text = Dxf()
                           .Tables()
                           .Section("ENTITIES")
                           .Line(0, 0, 1, 1, "RED")  // by layer: 1
                           .Line(0, 0, 2, 2, "RED")
                           .Pair(62, "5")  // own colour 5
                           .Line(0, 0, 3, 3)
                           .Pair(62, "0")  // BYBLOCK looked up
                           .Line(0, 0, 4, 4)
                           .Pair(62, "42")  // not in the table
                           .Pair(0, "SOLID")
                           .Pair(8, "OFF")
                           .Pair(10, "9")  // off layer: -1
                           .Pair(0, "SOLID")
                           .Pair(8, "NOWHERE")
                           .Pair(10, "8")  // stays 256
                           .Line(0, 0, 5, 5)
                           .Pair(420, "255")  // true colour value
                           .EndSection()
                           .Eof();
    auto drawing = Import(text, 0.0);
    const CCadEntityList& e = drawing->entities;
    ASSERT_EQ(e.size(), 7u);
    EXPECT_EQ(e[0].record->colorNumber, 1);
    ExpectColor(*e[0].record, 255, 0, 0, "by layer");
    EXPECT_EQ(e[1].record->colorNumber, 5);
    ExpectColor(*e[1].record, 0, 0, 255, "own colour");
    ExpectColor(*e[2].record, 1, 2, 3, "colour 0");
    ExpectColor(*e[3].record, 255, 255, 255, "unknown colour");
    EXPECT_EQ(e[4].record->colorNumber, -1);
    ExpectColor(*e[4].record, 255, 255, 255, "off layer");
    EXPECT_EQ(e[5].record->colorNumber, 256);
    EXPECT_EQ(e[6].record->colorNumber, 255);
}

TEST(DxfNormalizeTest, InsertColourReachesSharedBlockRecordsLastOneWins) {
    std::string text = Dxf()
                           .Tables()
                           .Section("BLOCKS")
                           .Pair(0, "BLOCK")
                           .Pair(2, "B")
                           .Line(0, 0, 1, 0)
                           .Pair(0, "ENDBLK")
                           .Pair(0, "BLOCK")
                           .Pair(2, "C")
                           .Line(0, 0, 2, 0)
                           .Pair(62, "1")
                           .Pair(0, "ENDBLK")
                           .EndSection()
                           .Section("ENTITIES")
                           .Line(0, 0, 100, 100)
                           .Insert("B", 10, 10, "RED")
                           .Insert("B", 20, 20, "BLUE")
                           .Insert("C", 30, 30)
                           .Pair(62, "5")  // group 62 is not read
                           .EndSection()
                           .Eof();
    auto drawing = Import(text);
    const CCadEntityList& e = drawing->entities;
    ASSERT_EQ(e.size(), 4u);
    ExpectColor(*e[1].record, 255, 0, 0, "first insert");
    ExpectColor(*e[1].As<CCadInsert>()->entities[0].record, 0, 0, 255, "shared record");
    ExpectColor(*e[3].As<CCadInsert>()->entities[0].record, 250, 250, 250, "layer 0 colour");
    // Block records keep their own colour numbers.
    EXPECT_EQ(e[3].As<CCadInsert>()->entities[0].record->colorNumber, 1);
}

TEST(DxfNormalizeTest, DimensionsAndTheirBlockGeometryAreGreen) {
    std::string text = Dxf()
                           .Tables()
                           .Section("BLOCKS")
                           .Pair(0, "BLOCK")
                           .Pair(2, "*D1")
                           .Line(0, 10, 100, 10, "RED")
                           .Arc(50, 20, 5, 0, 90, "RED")
                           .Circle(20, 30, 1)
                           .Pair(0, "SOLID")
                           .Pair(8, "0")
                           .Pair(10, "0")
                           .Pair(20, "10")
                           .Pair(11, "3")
                           .Pair(21, "11")
                           .Pair(0, "LWPOLYLINE")
                           .Pair(8, "0")
                           .Pair(90, "1")
                           .Pair(10, "7")
                           .Pair(20, "8")
                           .Pair(0, "ELLIPSE")
                           .Pair(8, "0")
                           .Pair(10, "5")
                           .Pair(20, "6")
                           .Pair(11, "1")
                           .Pair(21, "2")
                           .Pair(0, "ENDBLK")
                           .EndSection()
                           .Section("ENTITIES")
                           .Line(0, 0, 200, 100)  // extents 0..200 x 0..100
                           .Pair(0, "DIMENSION")
                           .Pair(8, "BLUE")
                           .Pair(2, "*D1")
                           .Pair(10, "100")
                           .Pair(20, "10")
                           .Pair(13, "0")
                           .Pair(23, "0")
                           .Pair(0, "DIMENSION")
                           .Pair(8, "RED")
                           .Pair(2, "*D1")  // the same block again
                           .EndSection()
                           .Eof();
    auto drawing = Import(text);
    const CCadEntityList& e = drawing->entities;
    ASSERT_EQ(e.size(), 3u);
    const auto* dimension = e[1].As<CCadDimension>();
    EXPECT_EQ(dimension->colorNumber, 5);  // resolved like any other
    ExpectColor(*dimension, 0, 255, 0, "dimension");
    EXPECT_EQ(dimension->point10.x, 100.0);
    EXPECT_EQ(dimension->point10.y, 90.0);
    EXPECT_EQ(dimension->point13.y, 100.0);
    EXPECT_EQ(dimension->point11.x, 0.0);  // absent points stay
    EXPECT_EQ(dimension->point11.y, 0.0);
    ASSERT_NE(dimension->block, nullptr);
    const CCadEntityList& block = dimension->block->entities;
    ASSERT_EQ(block.size(), 6u);
    for (const CCadEntity& child : block) {
        ExpectColor(*child.record, 0, 255, 0, "dimension block");
    }
    EXPECT_EQ(block[0].record->colorNumber, 256);  // the numbers stay
    // Absolute coordinates: Y negated back, then transformed once although two dimensions
    // name the block.
    const auto* line = block[0].As<CCadLine>();
    EXPECT_EQ(line->startX, 0.0);
    EXPECT_EQ(line->startY, 90.0);
    EXPECT_EQ(line->endX, 100.0);
    const auto* arc = block[1].As<CCadArc>();
    EXPECT_EQ(arc->centerY, 80.0);
    EXPECT_EQ(arc->startAngle, 270.0);  // the angles the BLOCKS step gave
    EXPECT_EQ(arc->endAngle, 360.0);
    EXPECT_EQ(block[2].As<CCadCircle>()->centerY, 70.0);
    EXPECT_EQ(block[3].As<CCadSolid>()->y2, 89.0);
    EXPECT_EQ(block[4].As<CCadPolyline>()->vertices[0].y, -8.0);  // left as the block had it
    EXPECT_EQ(block[5].As<CCadEllipse>()->centerY, 94.0);
    EXPECT_EQ(block[5].As<CCadEllipse>()->axisY, 98.0);
    ExpectColor(*e[2].record, 0, 255, 0, "second dimension");
}

}  // namespace
