#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/GbkText.h"
#include "cad/CadInteraction.h"

using namespace quarrant;

namespace {

CCadEntity Line(int identifier, double x1, double y1, double x2, double y2) {
    CCadEntity e = MakeEntity<CCadLine>(kCadLine);
    auto* line = e.As<CCadLine>();
    line->identifier = identifier;
    line->startX = x1;
    line->startY = y1;
    line->endX = x2;
    line->endY = y2;
    return e;
}

CCadEntity Polyline(int identifier, std::vector<CadPoint> points) {
    CCadEntity e = MakeEntity<CCadPolyline>(kCadPolyline);
    auto* polyline = e.As<CCadPolyline>();
    polyline->identifier = identifier;
    for (const CadPoint& p : points) {
        CCadVertex v;
        v.x = p.x;
        v.y = p.y;
        polyline->vertices.push_back(v);
    }
    polyline->vertexCount = static_cast<int>(points.size());
    return e;
}

// A drawing shown at one pixel per unit with no offsets, so pixels and units coincide.
class CadInteractionTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_drawing.minX = m_drawing.minY = 0.0;
        m_drawing.maxX = m_drawing.maxY = 1000.0;
    }

    void Attach() {
        m_interaction.SetDrawing(&m_drawing);
        m_interaction.View().SetClientSize(800, 600);
        m_interaction.View().SetScale(1.0);
        m_interaction.View().SetOffsets(0, 0);
    }

    void Click(int x, int y) {
        m_interaction.MouseMove(CadPixel{x, y});
        m_interaction.LeftButtonDown(CadPixel{x, y});
        m_interaction.LeftButtonUp(CadPixel{x, y});
    }

    void Drag(int x1, int y1, int x2, int y2) {
        m_interaction.MouseMove(CadPixel{x1, y1});
        m_interaction.LeftButtonDown(CadPixel{x1, y1});
        m_interaction.MouseMove(CadPixel{x2, y2});
        m_interaction.LeftButtonUp(CadPixel{x2, y2});
    }

    std::vector<int> SelectedIdentifiers() const {
        std::vector<int> ids;
        for (const CCadEntity& e : m_interaction.Selection().Entities()) {
            ids.push_back(e.record->identifier);
        }
        return ids;
    }

    CCadDrawing m_drawing;
    CadInteraction m_interaction;
};

TEST_F(CadInteractionTest, ClickSelectsALineAndASecondClickLeavesItSelected) {
    m_drawing.AddEntity(Line(1, 100, 100, 300, 100));
    Attach();
    Click(200, 101);
    EXPECT_EQ(SelectedIdentifiers(), std::vector<int>{1});
    EXPECT_EQ(m_drawing.entities[0].record->selected, 1);
    Click(200, 99);
    EXPECT_EQ(SelectedIdentifiers(), std::vector<int>{1});
}

TEST_F(CadInteractionTest, CtrlClickDeselectsASelectedLine) {
    m_drawing.AddEntity(Line(1, 100, 100, 300, 100));
    Attach();
    Click(200, 100);
    m_interaction.SetToggle(true);
    Click(200, 100);
    m_interaction.SetToggle(false);
    EXPECT_TRUE(SelectedIdentifiers().empty());
    EXPECT_EQ(m_drawing.entities[0].record->selected, 0);
    // Ctrl held as the button goes up works the same way.
    Click(200, 100);
    m_interaction.MouseMove(CadPixel{200, 100});
    m_interaction.LeftButtonDown(CadPixel{200, 100});
    m_interaction.LeftButtonUp(CadPixel{200, 100}, true);
    EXPECT_TRUE(SelectedIdentifiers().empty());
}

TEST_F(CadInteractionTest, ClickFarFromEverythingSelectsNothing) {
    m_drawing.AddEntity(Line(1, 100, 100, 300, 100));
    Attach();
    Click(200, 104);
    EXPECT_TRUE(SelectedIdentifiers().empty());
}

TEST_F(CadInteractionTest, WindowToTheRightSelectsOnlyEntitiesEntirelyInside) {
    m_drawing.AddEntity(Line(1, 110, 110, 150, 110));  // inside
    m_drawing.AddEntity(Line(2, 150, 150, 400, 150));  // crosses the right side
    m_drawing.AddEntity(Line(3, 500, 500, 600, 500));  // outside
    Attach();
    Drag(100, 100, 200, 200);
    EXPECT_EQ(SelectedIdentifiers(), std::vector<int>{1});
}

TEST_F(CadInteractionTest, CrossingToTheLeftAlsoSelectsEntitiesItTouches) {
    m_drawing.AddEntity(Line(1, 110, 110, 150, 110));
    m_drawing.AddEntity(Line(2, 150, 150, 400, 150));
    m_drawing.AddEntity(Line(3, 500, 500, 600, 500));
    Attach();
    Drag(200, 200, 100, 100);
    EXPECT_EQ(SelectedIdentifiers(), (std::vector<int>{1, 2}));
}

TEST_F(CadInteractionTest, RubberBandIsSolidWhiteToTheRightAndDottedToTheLeft) {
    Attach();
    m_interaction.MouseMove(CadPixel{100, 100});
    m_interaction.LeftButtonDown(CadPixel{100, 100});
    m_interaction.MouseMove(CadPixel{150, 130});
    CadRubberBand band = m_interaction.RubberBand();
    EXPECT_TRUE(band.shown);
    EXPECT_TRUE(band.solidWhite);
    EXPECT_EQ(band.from, (CadPixel{100, 100}));
    EXPECT_EQ(band.to, (CadPixel{150, 130}));
    m_interaction.MouseMove(CadPixel{50, 130});
    EXPECT_FALSE(m_interaction.RubberBand().solidWhite);
    m_interaction.LeftButtonUp(CadPixel{50, 130});
    EXPECT_FALSE(m_interaction.RubberBand().shown);
}

TEST_F(CadInteractionTest, DragOfExactlyThreePixelsIsStillAClick) {
    // A vertical line crossing the press point's neighbourhood but reaching far beyond it:
    // a click (crossing square) picks it, a window of four pixels would not.
    m_drawing.AddEntity(Line(1, 102, 0, 102, 500));
    Attach();
    Drag(100, 100, 103, 103);
    EXPECT_EQ(SelectedIdentifiers(), std::vector<int>{1});
    m_interaction.ClearSelection();
    Drag(100, 100, 104, 100);
    EXPECT_TRUE(SelectedIdentifiers().empty());
}

TEST_F(CadInteractionTest, InsertSelectionFlagsTheEntitiesOfItsList) {
    CCadEntity insert = MakeEntity<CCadInsert>(kCadInsert);
    auto* record = insert.As<CCadInsert>();
    record->identifier = 7;
    record->insertX = 100;
    record->insertY = 100;
    record->entities.push_back(Line(-1, 0, 0, 10, 0));
    CCadEntity text = MakeEntity<CCadText>(kCadText);
    record->entities.push_back(text);
    m_drawing.AddEntity(insert);
    Attach();
    Drag(90, 90, 120, 120);
    EXPECT_EQ(SelectedIdentifiers(), std::vector<int>{7});
    EXPECT_EQ(record->entities[0].record->selected, 1);
    EXPECT_EQ(record->entities[1].record->selected, 0);  // texts are not flagged
    m_interaction.MarkById(7);
    EXPECT_EQ(record->marked, 1);
    EXPECT_EQ(record->entities[0].record->marked, 1);
    m_interaction.ClearMarks();
    EXPECT_EQ(record->marked, 0);
    EXPECT_EQ(record->entities[0].record->marked, 0);
    m_interaction.ClearSelection();
    EXPECT_EQ(record->entities[0].record->selected, 0);
}

TEST_F(CadInteractionTest, EllipsesAndMTextsAreNeverPicked) {
    CCadEntity ellipse = MakeEntity<CCadEllipse>(kCadEllipse);
    ellipse.As<CCadEllipse>()->centerX = 100;
    ellipse.As<CCadEllipse>()->centerY = 100;
    ellipse.As<CCadEllipse>()->axisX = 10;
    ellipse.As<CCadEllipse>()->ratio = 1;
    ellipse.record->identifier = 1;
    CCadEntity mtext = MakeEntity<CCadMText>(kCadMText);
    mtext.As<CCadMText>()->insertX = 100;
    mtext.As<CCadMText>()->insertY = 100;
    mtext.As<CCadMText>()->text = "ABC";
    mtext.As<CCadMText>()->textHeight = 5;
    mtext.record->identifier = 2;
    m_drawing.AddEntity(ellipse);
    m_drawing.AddEntity(mtext);
    Attach();
    Drag(0, 0, 500, 500);
    EXPECT_TRUE(SelectedIdentifiers().empty());
}

TEST_F(CadInteractionTest, SelectByIdAppendsWithoutDuplicateCheckAndIgnoresUnknownIdentifiers) {
    m_drawing.AddEntity(Line(4, 0, 0, 10, 10));
    Attach();
    EXPECT_TRUE(m_interaction.SelectById(4));
    EXPECT_TRUE(m_interaction.SelectById(4));
    EXPECT_FALSE(m_interaction.SelectById(99));
    EXPECT_FALSE(m_interaction.MarkById(99));
    EXPECT_EQ(SelectedIdentifiers(), (std::vector<int>{4, 4}));
    m_interaction.ClearSelection();
    EXPECT_TRUE(SelectedIdentifiers().empty());
    EXPECT_EQ(m_drawing.entities[0].record->selected, 0);

    // What a count selects: each entity once, however often the count's text names it.
    m_drawing.AddEntity(Line(5, 0, 10, 10, 20));
    Attach();
    m_interaction.SelectById(5);
    m_interaction.SelectEachOnce({4, 5, 4, 99, 4});
    EXPECT_EQ(SelectedIdentifiers(), (std::vector<int>{5, 4}));
}

TEST_F(CadInteractionTest, OperationsWithoutADrawingDoNothing) {
    m_interaction.View().SetClientSize(800, 600);
    EXPECT_FALSE(m_interaction.SelectById(1));
    EXPECT_FALSE(m_interaction.MarkById(1));
    m_interaction.ClearMarks();
    Click(10, 10);
    Drag(0, 0, 100, 100);
    EXPECT_TRUE(m_interaction.Selection().Empty());
}

// --- Measuring.

TEST_F(CadInteractionTest, WithNothingSelectedClickedPointsAreTheRawCursorPositions) {
    m_drawing.AddEntity(Line(1, 100, 100, 300, 100));
    Attach();
    m_interaction.SetMode(kModeMeasurePath);
    Click(101, 101);
    Click(250, 300);
    const auto& points = m_interaction.CurrentPath().points;
    ASSERT_EQ(points.size(), 2u);
    EXPECT_DOUBLE_EQ(points[0].x, 101.0);
    EXPECT_DOUBLE_EQ(points[0].y, 101.0);
    EXPECT_DOUBLE_EQ(points[1].x, 250.0);
    EXPECT_EQ(points[0].lineCount, 2);
}

TEST_F(CadInteractionTest, MeasuredPointIsTheLastMovedPositionNotThePressPosition) {
    Attach();
    m_interaction.SetMode(kModeMeasurePath);
    m_interaction.MouseMove(CadPixel{40, 50});
    m_interaction.LeftButtonDown(CadPixel{45, 55});
    ASSERT_EQ(m_interaction.CurrentPath().points.size(), 1u);
    EXPECT_DOUBLE_EQ(m_interaction.CurrentPath().points[0].x, 40.0);
    EXPECT_DOUBLE_EQ(m_interaction.CurrentPath().points[0].y, 50.0);
}

TEST_F(CadInteractionTest, SnapPicksTheFirstCandidateInSelectionOrder) {
    struct Case {
        const char* name;
        std::vector<CCadEntity> entities;
        std::vector<int> selectOrder;
        CadPixel cursor;
        CadPoint expected;
    };
    const Case cases[] = {
        {"the line selected first wins",
         {Line(1, 100, 100, 200, 100), Line(2, 102, 101, 300, 300)},
         {2, 1},
         {101, 101},
         {102, 101}},
        {"start point wins over end point",
         {Line(1, 100, 100, 101, 101)},
         {1},
         {100, 100},
         {100, 100}},
        {"end point wins over midpoint", {Line(1, 96, 100, 102, 100)}, {1}, {101, 100}, {102, 100}},
        {"midpoint snaps when the ends are far",
         {Line(1, 0, 100, 200, 100)},
         {1},
         {101, 102},
         {100, 100}},
        {"polyline vertices in order",
         {Polyline(1, {{0, 0}, {201, 201}, {199, 199}})},
         {1},
         {200, 200},
         {201, 201}},
    };
    for (const Case& c : cases) {
        CCadDrawing drawing;
        drawing.maxX = drawing.maxY = 1000.0;
        drawing.minX = drawing.minY = 0.0;
        for (const CCadEntity& e : c.entities) {
            drawing.AddEntity(e);
        }
        CadInteraction interaction;
        interaction.SetDrawing(&drawing);
        interaction.View().SetClientSize(800, 600);
        interaction.View().SetScale(1.0);
        for (int id : c.selectOrder) {
            interaction.SelectById(id);
        }
        interaction.SetMode(kModeMeasurePath);
        const CadFeedback feedback = interaction.MouseMove(c.cursor);
        ASSERT_TRUE(interaction.SnapValid()) << c.name;
        EXPECT_DOUBLE_EQ(interaction.SnapPoint().x, c.expected.x) << c.name;
        EXPECT_DOUBLE_EQ(interaction.SnapPoint().y, c.expected.y) << c.name;
        EXPECT_EQ(interaction.CursorPoint(),
                  (CadPixel{static_cast<int>(c.expected.x), static_cast<int>(c.expected.y)}))
            << c.name;
        EXPECT_EQ(feedback.moveCursor, !(interaction.CursorPoint() == c.cursor)) << c.name;
        interaction.LeftButtonDown(c.cursor);
        ASSERT_EQ(interaction.CurrentPath().points.size(), 1u);
        EXPECT_DOUBLE_EQ(interaction.CurrentPath().points[0].x, c.expected.x) << c.name;
    }
}

TEST_F(CadInteractionTest, SnapReachIsStrictlyLessThanThreePixels) {
    m_drawing.AddEntity(Line(1, 100, 100, 500, 100));
    Attach();
    m_interaction.SelectById(1);
    m_interaction.SetMode(kModeMeasurePath);
    m_interaction.MouseMove(CadPixel{103, 100});
    EXPECT_FALSE(m_interaction.SnapValid());
    m_interaction.MouseMove(CadPixel{102, 102});
    EXPECT_TRUE(m_interaction.SnapValid());
}

TEST_F(CadInteractionTest, CursorStayingOnItsPixelKeepsAnInvalidSnapInvalid) {
    m_drawing.AddEntity(Line(1, 100, 100, 500, 100));
    Attach();
    m_interaction.SelectById(1);
    m_interaction.SetMode(kModeMeasurePath);
    m_interaction.MouseMove(CadPixel{101, 101});  // snaps to (100, 100)
    m_interaction.MouseMove(CadPixel{100, 100});  // the cursor put on the snapped pixel
    EXPECT_TRUE(m_interaction.SnapValid());
    m_interaction.MouseMove(CadPixel{300, 300});
    m_interaction.MouseMove(CadPixel{300, 300});  // the same pixel again
    EXPECT_FALSE(m_interaction.SnapValid());
    m_interaction.LeftButtonDown(CadPixel{300, 300});
    EXPECT_DOUBLE_EQ(m_interaction.CurrentPath().points.back().x, 300.0);
}

TEST_F(CadInteractionTest, SnapIgnoresArcsAndCircles) {
    CCadEntity circle = MakeEntity<CCadCircle>(kCadCircle);
    circle.As<CCadCircle>()->centerX = 100;
    circle.As<CCadCircle>()->centerY = 100;
    circle.As<CCadCircle>()->radius = 10;
    circle.record->identifier = 1;
    m_drawing.AddEntity(circle);
    Attach();
    m_interaction.SelectById(1);
    m_interaction.SetMode(kModeMeasurePath);
    m_interaction.MouseMove(CadPixel{101, 100});
    EXPECT_FALSE(m_interaction.SnapValid());
}

TEST_F(CadInteractionTest, ConfirmWithOnePointConfirmsNothingAndTheNextClickStartsANewPath) {
    Attach();
    m_interaction.SetMode(kModeMeasurePath);
    Click(10, 10);
    m_interaction.PopupMenu();
    m_interaction.Command(kCmdConfirm);
    EXPECT_TRUE(m_interaction.ConfirmedPaths().empty());
    EXPECT_EQ(m_interaction.Mode(), kModeMeasurePath);
    EXPECT_FALSE(m_interaction.RubberLineOn());
    Click(20, 20);
    ASSERT_EQ(m_interaction.CurrentPath().points.size(), 1u);
    EXPECT_DOUBLE_EQ(m_interaction.CurrentPath().points[0].x, 20.0);
}

TEST_F(CadInteractionTest, ConfirmMovesAPathOfTwoPointsToTheConfirmedPaths) {
    Attach();
    m_interaction.SetMode(kModeMeasurePath);
    Click(10, 10);
    Click(20, 10);
    m_interaction.Command(kCmdConfirm);
    ASSERT_EQ(m_interaction.ConfirmedPaths().size(), 1u);
    EXPECT_EQ(m_interaction.ConfirmedPaths()[0].points.size(), 2u);
    EXPECT_TRUE(m_interaction.CurrentPath().points.empty());
    EXPECT_EQ(m_interaction.PreviousMode(), -1);
}

TEST_F(CadInteractionTest, ExitConfirmsThePathAndGoesBackToSelecting) {
    Attach();
    m_interaction.SetMode(kModeMeasurePath);
    Click(10, 10);
    Click(20, 10);
    Click(20, 30);
    m_interaction.Command(kCmdExit);
    EXPECT_EQ(m_interaction.Mode(), kModeSelect);
    EXPECT_FALSE(m_interaction.Measuring());
    ASSERT_EQ(m_interaction.ConfirmedPaths().size(), 1u);
    EXPECT_EQ(m_interaction.ConfirmedPaths()[0].points.size(), 3u);
}

TEST_F(CadInteractionTest, EnterConfirmsAndEscapeDiscardsEveryMeasurement) {
    Attach();
    m_interaction.SetMode(kModeMeasurePath);
    Click(10, 10);
    Click(20, 10);
    m_interaction.EnterKey();
    EXPECT_EQ(m_interaction.ConfirmedPaths().size(), 1u);
    EXPECT_EQ(m_interaction.PointCounter(), 0);
    Click(30, 30);
    m_interaction.EscapeKey();
    EXPECT_TRUE(m_interaction.ConfirmedPaths().empty());
    EXPECT_TRUE(m_interaction.CurrentPath().points.empty());
    EXPECT_EQ(m_interaction.Mode(), kModeSelect);
    EXPECT_EQ(m_interaction.PreviousMode(), kModeMeasurePath);
}

TEST_F(CadInteractionTest, MiddleButtonDuringAMeasurementPansAndReturnsToMeasuring) {
    m_drawing.AddEntity(Line(1, 0, 0, 900, 900));
    Attach();
    m_interaction.SetMode(kModeMeasurePath);
    Click(100, 100);
    ASSERT_TRUE(m_interaction.RubberLineOn());
    m_interaction.MiddleButtonDown(CadPixel{100, 100});
    EXPECT_EQ(m_interaction.Mode(), kModeMove);
    m_interaction.MouseMove(CadPixel{130, 120});
    EXPECT_EQ(m_interaction.View().OffsetX(), -30);
    EXPECT_EQ(m_interaction.View().OffsetY(), -20);
    EXPECT_EQ(m_interaction.RubberAnchor(), (CadPixel{130, 120}));
    m_interaction.MiddleButtonUp(CadPixel{130, 120});
    EXPECT_EQ(m_interaction.Mode(), kModeMeasurePath);
    EXPECT_TRUE(m_interaction.RubberLineOn());
    // The path goes on: the next point is in drawing units under the moved view.
    Click(230, 120);
    ASSERT_EQ(m_interaction.CurrentPath().points.size(), 2u);
    EXPECT_DOUBLE_EQ(m_interaction.CurrentPath().points[1].x, 200.0);
    EXPECT_DOUBLE_EQ(m_interaction.CurrentPath().points[1].y, 100.0);
}

TEST_F(CadInteractionTest, MiddleButtonGoesBackToTheModeItInterrupted) {
    Attach();
    const int modes[] = {kModeSelect, kModeWindowZoom, kModeMeasureArea};
    for (int mode : modes) {
        m_interaction.SetMode(mode);
        if (mode == kModeMeasureArea) {
            Click(10, 10);  // measuring
        }
        m_interaction.MiddleButtonDown(CadPixel{0, 0});
        m_interaction.MiddleButtonUp(CadPixel{0, 0});
        EXPECT_EQ(m_interaction.Mode(), mode);
    }
    // After Esc a pan in select mode stays in select mode.
    m_interaction.SetMode(kModeMeasurePath);
    Click(10, 10);
    m_interaction.EscapeKey();
    m_interaction.MiddleButtonDown(CadPixel{0, 0});
    m_interaction.MiddleButtonUp(CadPixel{0, 0});
    EXPECT_EQ(m_interaction.Mode(), kModeSelect);
}

TEST_F(CadInteractionTest, AreaClicksBuildThePolygonAndTheFirstClickAfterAResetReplacesIt) {
    Attach();
    m_interaction.SetMode(kModeMeasureArea);
    Click(10, 10);
    Click(50, 10);
    Click(50, 50);
    EXPECT_EQ(m_interaction.AreaPolygon().size(), 3u);
    m_interaction.Command(kCmdClearMeasurements);
    // Clearing measurements leaves the polygon drawn until the next area click.
    EXPECT_EQ(m_interaction.AreaPolygon().size(), 3u);
    Click(70, 70);
    EXPECT_EQ(m_interaction.AreaPolygon().size(), 1u);
}

TEST_F(CadInteractionTest, PointsOfAPathDoNotContinueAnAreaAndTheOtherWayRound) {
    Attach();
    m_interaction.SetMode(kModeMeasureArea);
    Click(10, 10);
    Click(50, 10);
    m_interaction.SetMode(kModeMeasurePath);
    Click(60, 60);
    EXPECT_EQ(m_interaction.CurrentPath().points.size(), 1u);
    m_interaction.SetMode(kModeMeasureArea);
    Click(70, 70);
    EXPECT_EQ(m_interaction.AreaPolygon().size(), 1u);
}

TEST_F(CadInteractionTest, ClearAllClearsSelectionAndMeasurements) {
    m_drawing.AddEntity(Line(1, 100, 100, 300, 100));
    Attach();
    m_interaction.SelectById(1);
    m_interaction.SetMode(kModeMeasurePath);
    Click(10, 10);
    Click(20, 20);
    m_interaction.EnterKey();
    Click(30, 30);
    const CadFeedback feedback = m_interaction.Command(kCmdClearAll);
    EXPECT_TRUE(feedback.entitiesChanged);
    EXPECT_TRUE(m_interaction.Selection().Empty());
    EXPECT_TRUE(m_interaction.ConfirmedPaths().empty());
    EXPECT_TRUE(m_interaction.CurrentPath().points.empty());
    EXPECT_EQ(m_drawing.entities[0].record->selected, 0);
}

TEST_F(CadInteractionTest, LineCountItemsSetTheLastPointAndDoNothingOnAnEmptyPath) {
    Attach();
    m_interaction.SetMode(kModeMeasurePath);
    m_interaction.Command(kCmdFourLines);  // nothing to mark
    EXPECT_FALSE(m_interaction.SetLastPointLineCount(7));
    Click(10, 10);
    Click(20, 10);
    m_interaction.Command(kCmdFiveLines);
    EXPECT_EQ(m_interaction.CurrentPath().points[1].lineCount, 5);
    EXPECT_EQ(m_interaction.CurrentPath().points[0].lineCount, 2);
    EXPECT_TRUE(m_interaction.SetLastPointLineCount(9));
    EXPECT_EQ(m_interaction.CurrentPath().points[1].lineCount, 9);
}

std::vector<int> Commands(const std::vector<CadMenuItem>& items) {
    std::vector<int> commands;
    for (const CadMenuItem& item : items) {
        commands.push_back(item.command);
    }
    return commands;
}

TEST_F(CadInteractionTest, PopupMenuIsBuiltForTheModeEachTime) {
    Attach();
    const std::vector<int> common = {
        kCmdClearAll, kCmdClearMeasurements, 0,        kCmdWindowZoom, kCmdRealTimeZoom,
        kCmdZoomIn,   kCmdZoomOut,           kCmdMove, kCmdMeasure,    0};
    EXPECT_EQ(Commands(m_interaction.PopupMenu()), common);

    m_interaction.SetMode(kModeWindowZoom);
    std::vector<int> expected = {kCmdExit};
    expected.insert(expected.end(), common.begin(), common.end());
    EXPECT_EQ(Commands(m_interaction.PopupMenu()), expected);

    m_interaction.SetMode(kModeMeasurePath);
    expected = {kCmdExit, kCmdConfirm};
    expected.insert(expected.end(), common.begin(), common.end());
    EXPECT_EQ(Commands(m_interaction.PopupMenu()), expected);
    EXPECT_TRUE(m_interaction.Measuring());

    m_interaction.SetLineCountsEnabled(true);
    expected = {kCmdThreeLines, kCmdFourLines, kCmdFiveLines, kCmdCustomLines, 0,
                kCmdExit,       kCmdConfirm};
    expected.insert(expected.end(), common.begin(), common.end());
    EXPECT_EQ(Commands(m_interaction.PopupMenu()), expected);

    // Line-count items only in path measuring.
    m_interaction.SetMode(kModeMeasureArea);
    expected = {kCmdExit};
    expected.insert(expected.end(), common.begin(), common.end());
    EXPECT_EQ(Commands(m_interaction.PopupMenu()), expected);
}

TEST_F(CadInteractionTest, PopupTextsAreTheControlsOwn) {
    struct Case {
        int command;
        const char8_t* text;
    };
    const Case cases[] = {
        {kCmdThreeLines, u8"标记为3条线"},
        {kCmdFourLines, u8"标记为4条线"},
        {kCmdFiveLines, u8"标记为5条线"},
        {kCmdCustomLines, u8"自定义线数量"},
        {kCmdExit, u8"退出"},
        {kCmdConfirm, u8"确定"},
        {kCmdClearAll, u8"撤销所有选择和测量"},
        {kCmdClearMeasurements, u8"只撤销测量"},
        {kCmdWindowZoom, u8"框选放大"},
        {kCmdRealTimeZoom, u8"实时缩放"},
        {kCmdZoomIn, u8"放大"},
        {kCmdZoomOut, u8"缩小"},
        {kCmdMove, u8"移动"},
        {kCmdMeasure, u8"测量"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CadCommandText(c.command), Utf8ToGbk(std::u8string_view(c.text))) << c.command;
    }
}

TEST_F(CadInteractionTest, ModeCommandsSetTheModeAndMarkThePreviousModeUnknown) {
    Attach();
    const std::pair<int, int> cases[] = {{kCmdWindowZoom, kModeWindowZoom},
                                         {kCmdRealTimeZoom, kModeRealTimeZoom},
                                         {kCmdMove, kModeMove},
                                         {kCmdMeasure, kModeMeasurePath},
                                         {kCmdExit, kModeSelect}};
    for (const auto& [command, mode] : cases) {
        m_interaction.Command(command);
        EXPECT_EQ(m_interaction.Mode(), mode) << command;
        EXPECT_EQ(m_interaction.PreviousMode(), -1) << command;
    }
    m_interaction.SetMode(7);
    EXPECT_EQ(m_interaction.Mode(), kModeSelect);
    m_interaction.SetMode(kModeMove);
    EXPECT_EQ(m_interaction.PreviousMode(), kModeSelect);
}

TEST_F(CadInteractionTest, CentreZoomCommandsEndTheRubberLine) {
    Attach();
    m_interaction.SetMode(kModeMeasurePath);
    Click(10, 10);
    ASSERT_TRUE(m_interaction.RubberLineOn());
    m_interaction.Command(kCmdZoomIn);
    EXPECT_FALSE(m_interaction.RubberLineOn());
    EXPECT_DOUBLE_EQ(m_interaction.View().Scale(), 1.1);
    m_interaction.Command(kCmdZoomOut);
    EXPECT_DOUBLE_EQ(m_interaction.View().Scale(), 1.1 * 0.9);
}

TEST_F(CadInteractionTest, WindowZoomModeZoomsToTheDraggedRectangle) {
    Attach();
    m_interaction.SetMode(kModeWindowZoom);
    Drag(300, 150, 100, 50);
    EXPECT_DOUBLE_EQ(m_interaction.View().Scale(), 4.0);
    EXPECT_EQ(m_interaction.View().OffsetX(), 400);
    EXPECT_EQ(m_interaction.View().OffsetY(), 200);
}

TEST_F(CadInteractionTest, RealTimeZoomFollowsTheMouseWhileTheButtonIsDown) {
    Attach();
    m_interaction.SetMode(kModeRealTimeZoom);
    m_interaction.MouseMove(CadPixel{400, 300});
    m_interaction.LeftButtonDown(CadPixel{400, 300});
    m_interaction.MouseMove(CadPixel{400, 240});
    EXPECT_DOUBLE_EQ(m_interaction.View().Scale(), 1.1);
    m_interaction.LeftButtonUp(CadPixel{400, 240});
    m_interaction.MouseMove(CadPixel{400, 300});
    EXPECT_DOUBLE_EQ(m_interaction.View().Scale(), 1.1);
}

TEST_F(CadInteractionTest, MoveModeDragsTheDrawingWithTheMouse) {
    Attach();
    m_interaction.SetMode(kModeMove);
    m_interaction.MouseMove(CadPixel{100, 100});
    m_interaction.LeftButtonDown(CadPixel{100, 100});
    m_interaction.MouseMove(CadPixel{90, 130});
    EXPECT_EQ(m_interaction.View().OffsetX(), 10);
    EXPECT_EQ(m_interaction.View().OffsetY(), -30);
    m_interaction.LeftButtonUp(CadPixel{90, 130});
    m_interaction.MouseMove(CadPixel{0, 0});
    EXPECT_EQ(m_interaction.View().OffsetX(), 10);
}

TEST_F(CadInteractionTest, ZoomKeysAndWheel) {
    Attach();
    m_interaction.ZoomKey(13);
    EXPECT_DOUBLE_EQ(m_interaction.View().Scale(), 1.1);
    m_interaction.ZoomKey(74);
    EXPECT_DOUBLE_EQ(m_interaction.View().Scale(), 1.1 * 0.9);
    EXPECT_FALSE(m_interaction.ZoomKey(30).repaint);
    m_interaction.View().SetScale(1.0);
    m_interaction.MouseMove(CadPixel{200, 100});
    EXPECT_TRUE(m_interaction.Wheel(120).viewChanged);
    EXPECT_DOUBLE_EQ(m_interaction.View().Scale(), 1.5);
    EXPECT_EQ(m_interaction.View().OffsetX(), 100);
    EXPECT_EQ(m_interaction.View().OffsetY(), 50);
}

}  // namespace
