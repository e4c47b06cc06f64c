#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cad/CadSelection.h"
#include "cad/PickText.h"

using namespace quarrant;

namespace {

template <typename Record>
Record* Add(CCadDrawing& drawing, int type, int id) {
    CCadEntity entity = MakeEntity<Record>(type);
    entity.record->identifier = id;
    drawing.AddEntity(entity);
    return entity.As<Record>();
}

void AddLine(CCadDrawing& drawing, int id, double x1, double y1, double x2, double y2) {
    auto* line = Add<CCadLine>(drawing, kCadLine, id);
    line->startX = x1;
    line->startY = y1;
    line->endX = x2;
    line->endY = y2;
}

void AddArc(CCadDrawing& drawing, int id, double radius, double start, double end) {
    auto* arc = Add<CCadArc>(drawing, kCadArc, id);
    arc->radius = radius;
    arc->startAngle = start;
    arc->endAngle = end;
}

void AddCircle(CCadDrawing& drawing, int id, double radius) {
    Add<CCadCircle>(drawing, kCadCircle, id)->radius = radius;
}

CCadPolyline* AddPolyline(CCadDrawing& drawing, int id, std::vector<CCadVertex> vertices,
                          int flags) {
    auto* polyline = Add<CCadPolyline>(drawing, kCadPolyline, id);
    polyline->vertices = std::move(vertices);
    polyline->vertexCount = static_cast<int>(polyline->vertices.size());
    polyline->flags = flags;
    return polyline;
}

CCadVertex Vertex(double x, double y, double bulge = 0.0) {
    CCadVertex v;
    v.x = x;
    v.y = y;
    v.hasBulge = bulge != 0.0 ? 1 : 0;
    v.bulge = bulge;
    return v;
}

CMeasurePath Path(std::vector<std::pair<double, double>> points) {
    CMeasurePath path;
    for (auto [x, y] : points) {
        path.points.push_back(CMeasurePoint{x, y, 2});
    }
    return path;
}

// A drawing with one entity of each kind the length text looks at.
CCadDrawing SampleDrawing() {
    CCadDrawing drawing;
    AddLine(drawing, 1, 0, 0, 2500, 0);  // 2500 long
    AddArc(drawing, 2, 1000, 350, 10);   // 20 degrees of radius 1000
    AddCircle(drawing, 3, 1000);         // 6283.1852 round
    AddPolyline(drawing, 4, {Vertex(0, 0), Vertex(3000, 0), Vertex(3000, 4000)}, 1);
    AddPolyline(drawing, 5, {Vertex(0, 0, 1.0), Vertex(1000, 0)}, 0);  // half circle
    AddPolyline(drawing, 6, {}, 1);
    Add<CCadText>(drawing, kCadText, 7)->text = "A";
    Add<CCadDimension>(drawing, kCadDimension, 8);
    Add<CCadInsert>(drawing, kCadInsert, 9);
    Add<CCadSolid>(drawing, kCadSolid, 10);
    Add<CCadEllipse>(drawing, kCadEllipse, 11);
    AddLine(drawing, 12, 0, 0, 1234.5, 0);
    return drawing;
}

struct LengthCase {
    const char* name;
    std::vector<int> selected;
    const char* unit;
    const char* scale;
    std::vector<CMeasurePath> confirmed;
    CMeasurePath current;
    const char* expected;
};

TEST(BuildLengthText, WritesTheValuesAndIdentifiersOfEachPickExample) {
    const LengthCase cases[] = {
        {"line of 2500 in mm at 1:1", {1}, "mm", "1:1", {}, {}, "2.50+&1;"},
        {"line of 2500 in mm at 1:2", {1}, "mm", "1:2", {}, {}, "1.25+&1;"},
        {"arc from 350 to 10 degrees", {2}, "mm", "1:1", {}, {}, "0.35+&2;"},
        {"circle of radius 1000", {3}, "mm", "1:1", {}, {}, "6.28+&3;"},
        {"closed polyline with its closing segment",
         {4},
         "mm",
         "1:1",
         {},
         {},
         "3.00+4.00+5.00+&4;"},
        {"bulged segment along its arc", {5}, "mm", "1:1", {}, {}, "1.57+&5;"},
        {"polyline without vertices gives its identifier only", {6}, "mm", "1:1", {}, {}, "&6;"},
        {"other kinds give nothing", {7, 8, 9, 10, 11}, "mm", "1:1", {}, {}, "&"},
        {"selection order is kept", {3, 1, 7, 2}, "mm", "1:1", {}, {}, "6.28+2.50+0.35+&3;1;2;"},
        {"an entity selected twice is written twice",
         {1, 1},
         "mm",
         "1:1",
         {},
         {},
         "2.50+2.50+&1;1;"},
        {"two decimals rounded", {12}, "m", "1:1000", {}, {}, "1.23+&12;"},
        {"no scale colon leaves the length unscaled", {1}, "mm", "100", {}, {}, "2.50+&1;"},
        {"nothing selected, nothing measured", {}, "mm", "1:1", {}, {}, "&"},
        {"a current path of three points and one selected line",
         {1},
         "mm",
         "1:1",
         {},
         Path({{0, 0}, {3000, 0}, {3000, 4000}}),
         "3.00+4.00+&1;"},
        {"current path first, then confirmed paths in order",
         {},
         "mm",
         "1:1",
         {Path({{0, 0}, {0, 1000}}), Path({{0, 0}, {2000, 0}, {2000, 500}})},
         Path({{0, 0}, {6000, 8000}}),
         "10.00+1.00+2.00+0.50+&"},
        {"a current path of one point gives nothing",
         {1},
         "mm",
         "1:1",
         {},
         Path({{5, 5}}),
         "2.50+&1;"},
        {"a confirmed path of one point gives nothing",
         {1},
         "mm",
         "1:1",
         {Path({{5, 5}})},
         {},
         "2.50+&1;"},
        {"with paths every measurable kind gives its identifier",
         {7, 8, 9, 10, 11, 1, 6, 3},
         "mm",
         "1:1",
         {Path({{0, 0}, {1000, 0}})},
         {},
         "1.00+&8;9;10;1;6;3;"},
        {"paths converted by unit and scale",
         {},
         "cm",
         "1:50",
         {Path({{0, 0}, {300, 400}})},
         {},
         "0.10+&"},
    };
    for (const LengthCase& c : cases) {
        CCadDrawing drawing = SampleDrawing();
        CCadSelection selection;
        for (int id : c.selected) {
            selection.SelectById(drawing, id);
        }
        for (const CMeasurePath& path : c.confirmed) {
            selection.AddConfirmedPath(path);
        }
        selection.CurrentPath() = c.current;
        EXPECT_EQ(BuildLengthText(selection, c.unit, c.scale), c.expected) << c.name;
    }
}

TEST(BuildLengthText, UsesTheConstantsAsWrittenNotFullPi) {
    // Radius 1e6 in m: the circle is 6283185.2 with 6.2831852 (6283185.31 with 2 pi), the half
    // arc 3141592.6 with 0.017453292222222222 (3141592.65 with pi); in single precision they
    // land on different values.
    CCadDrawing drawing;
    AddCircle(drawing, 1, 1e6);
    AddArc(drawing, 2, 1e6, 0, 180);
    CCadSelection selection;
    selection.SelectById(drawing, 1);
    selection.SelectById(drawing, 2);
    EXPECT_EQ(BuildLengthText(selection, "m", "1:1"), "6283185.00+3141592.50+&1;2;");
}

TEST(BuildPickAnswer, CountModesGiveTheCountTextAndTheIdentifiersToSelect) {
    CCadDrawing drawing;
    AddLine(drawing, 1, 0, 0, 100, 0);
    AddLine(drawing, 2, 0, 50, 100, 50);
    AddLine(drawing, 3, 0, 100, 100, 100);
    AddLine(drawing, 4, 0, 150, 100, 150);
    CCadSelection selection;
    selection.SelectById(drawing, 1);
    CExclusionMap exclusion;
    PickSettings settings;
    settings.unitText = "mm";
    settings.scaleText = "1:1";

    PickAnswer count = BuildPickAnswer(0, drawing, selection, settings, exclusion);
    EXPECT_TRUE(count.answered);
    EXPECT_EQ(count.text, "4&4;4;3;3;2;2;1;1;");
    EXPECT_EQ(count.dataMode, 0);
    EXPECT_EQ(count.identifiersToSelect, (std::vector<std::int32_t>{4, 4, 3, 3, 2, 2, 1, 1}));

    PickAnswer modeFour = BuildPickAnswer(4, drawing, selection, settings, exclusion);
    EXPECT_EQ(modeFour.text, "4&4;4;3;3;2;2;1;1;");
    EXPECT_EQ(modeFour.dataMode, 4);

    PickAnswer length = BuildPickAnswer(2, drawing, selection, settings, exclusion);
    EXPECT_TRUE(length.answered);
    EXPECT_EQ(length.text, "0.10+&1;");
    EXPECT_EQ(length.dataMode, 2);
    EXPECT_TRUE(length.identifiersToSelect.empty());

    EXPECT_FALSE(BuildPickAnswer(5, drawing, selection, settings, exclusion).answered);
    EXPECT_FALSE(BuildPickAnswer(-1, drawing, selection, settings, exclusion).answered);
}

TEST(BuildCountText, NothingCountableSelectedGivesZero) {
    CCadDrawing drawing = SampleDrawing();
    CCadSelection selection;
    selection.SelectById(drawing, 7);
    CExclusionMap exclusion;
    EXPECT_EQ(BuildCountText(drawing, selection, 1.0f, 0.01f, exclusion), "0&");
    EXPECT_EQ(BuildCountText(drawing, CCadSelection{}, 1.0f, 0.01f, exclusion), "0&");
}

TEST(CCadSelection, SelectByIdAppendsInOrderWithoutDuplicateCheckAndIgnoresUnknowns) {
    CCadDrawing drawing = SampleDrawing();
    CCadSelection selection;
    EXPECT_TRUE(selection.SelectById(drawing, 3));
    EXPECT_FALSE(selection.SelectById(drawing, 999));
    EXPECT_FALSE(selection.SelectById(drawing, -1));
    EXPECT_TRUE(selection.SelectById(drawing, 1));
    EXPECT_TRUE(selection.SelectById(drawing, 3));
    ASSERT_EQ(selection.Entities().size(), 3u);
    EXPECT_EQ(selection.Entities()[0].record->identifier, 3);
    EXPECT_EQ(selection.Entities()[1].record->identifier, 1);
    EXPECT_EQ(selection.Entities()[2].record->identifier, 3);
    EXPECT_EQ(drawing.FindById(3)->record->selected, 1);
    EXPECT_EQ(drawing.FindById(2)->record->selected, 0);

    selection.Deselect(*drawing.FindById(3));
    ASSERT_EQ(selection.Entities().size(), 1u);
    EXPECT_EQ(drawing.FindById(3)->record->selected, 0);

    selection.ClearSelection();
    EXPECT_TRUE(selection.Empty());
    EXPECT_EQ(drawing.FindById(1)->record->selected, 0);
}

TEST(CCadSelection, SelectingAnInsertFlagsTheShapesOfItsList) {
    CCadDrawing drawing;
    auto* insert = Add<CCadInsert>(drawing, kCadInsert, 1);
    insert->entities = {MakeEntity<CCadLine>(kCadLine), MakeEntity<CCadEllipse>(kCadEllipse),
                        MakeEntity<CCadSolid>(kCadSolid)};
    auto* dimension = Add<CCadDimension>(drawing, kCadDimension, 2);
    dimension->block = std::make_shared<CCadBlock>();
    dimension->block->entities = {MakeEntity<CCadArc>(kCadArc)};
    Add<CCadDimension>(drawing, kCadDimension, 3);  // without block

    CCadSelection selection;
    selection.SelectById(drawing, 1);
    selection.SelectById(drawing, 2);
    selection.SelectById(drawing, 3);
    EXPECT_EQ(insert->entities[0].record->selected, 1);
    EXPECT_EQ(insert->entities[1].record->selected, 0);  // ellipses are not flagged
    EXPECT_EQ(insert->entities[2].record->selected, 1);
    EXPECT_EQ(dimension->block->entities[0].record->selected, 1);
    selection.ClearSelection();
    EXPECT_EQ(insert->selected, 0);
    EXPECT_EQ(insert->entities[0].record->selected, 0);
    EXPECT_EQ(dimension->block->entities[0].record->selected, 0);
}

TEST(CCadSelection, ConfirmingMovesOnlyPathsOfAtLeastTwoPoints) {
    CCadSelection selection;
    selection.CurrentPath() = Path({{1, 1}});
    EXPECT_FALSE(selection.ConfirmCurrentPath());
    EXPECT_TRUE(selection.ConfirmedPaths().empty());
    EXPECT_EQ(selection.CurrentPath().points.size(), 1u);

    selection.CurrentPath() = Path({{1, 1}, {2, 2}});
    selection.CurrentPath().kind = 3;
    EXPECT_TRUE(selection.ConfirmCurrentPath());
    ASSERT_EQ(selection.ConfirmedPaths().size(), 1u);
    EXPECT_EQ(selection.ConfirmedPaths()[0].kind, 3);
    EXPECT_EQ(selection.ConfirmedPaths()[0].points.size(), 2u);
    EXPECT_EQ(selection.CurrentPath().kind, 0);
    EXPECT_TRUE(selection.CurrentPath().points.empty());

    selection.CurrentPath() = Path({{5, 5}});
    selection.ClearMeasurements();
    EXPECT_TRUE(selection.ConfirmedPaths().empty());
    EXPECT_TRUE(selection.CurrentPath().points.empty());
}

}  // namespace
