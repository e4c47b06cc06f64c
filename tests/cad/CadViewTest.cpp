#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "base/GbkText.h"
#include "cad/CadView.h"

using namespace quarrant;

namespace {

CadView ViewOf(double width, double height, int clientWidth, int clientHeight) {
    CadView view;
    view.SetExtents(10.0, 20.0, 10.0 + width, 20.0 + height);
    view.SetClientSize(clientWidth, clientHeight);
    return view;
}

TEST(CadViewTest, ZoomToFitTakesTheSmallerAxisScaleAndClearsTheOffsets) {
    CadView view = ViewOf(100.0, 100.0, 802, 402);
    view.SetOffsets(33, 44);
    EXPECT_TRUE(view.ZoomToFit());
    EXPECT_DOUBLE_EQ(view.Scale(), 4.0);
    EXPECT_EQ(view.OffsetX(), 0);
    EXPECT_EQ(view.OffsetY(), 0);
    EXPECT_DOUBLE_EQ(view.FirstScale(), 4.0);
}

TEST(CadViewTest, FirstScaleIsKeptFromTheFirstFit) {
    CadView view = ViewOf(100.0, 100.0, 802, 402);
    view.ZoomToFit();
    view.SetClientSize(202, 202);
    view.ZoomToFit();
    EXPECT_DOUBLE_EQ(view.Scale(), 2.0);
    EXPECT_DOUBLE_EQ(view.FirstScale(), 4.0);
}

TEST(CadViewTest, DrawingWithInitialExtentsFitsWithoutInfiniteOrNanScale) {
    CadView view;
    view.SetExtents(kInitialMinExtent, kInitialMinExtent, kInitialMaxExtent, kInitialMaxExtent);
    view.SetClientSize(800, 600);
    EXPECT_TRUE(view.ZoomToFit());
    EXPECT_TRUE(std::isfinite(view.Scale()));
    EXPECT_GT(view.Scale(), 0.0);
    EXPECT_TRUE(std::isfinite(view.FirstScale()));
    // Zooming on such a drawing stays finite too.
    for (int i = 0; i < 5000; ++i) {
        view.ZoomInCentre();
        view.ZoomAtCursor(120, 799, 599);
    }
    EXPECT_TRUE(std::isfinite(view.Scale()));
    const CadPoint p = view.ScreenToDrawing(400, 300);
    EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
}

TEST(CadViewTest, DrawingOfNoHeightFitsByItsWidth) {
    CadView view = ViewOf(200.0, 0.0, 402, 302);
    view.ZoomToFit();
    EXPECT_DOUBLE_EQ(view.Scale(), 2.0);
}

TEST(CadViewTest, WindowTooSmallToFitKeepsTheScale) {
    CadView view = ViewOf(200.0, 100.0, 2, 1);
    view.ZoomToFit();
    EXPECT_DOUBLE_EQ(view.Scale(), 1.0);
}

TEST(CadViewTest, ZoomLimitRefusesAScaleBeyondTheLimitAndChangesNothing) {
    CadView view = ViewOf(1000.0, 10.0, 800, 600);
    view.SetOffsets(5, 6);
    EXPECT_TRUE(view.SetScale(1048.575));  // exactly 1,048,575 pixels: allowed
    EXPECT_FALSE(view.SetScale(1048.6));
    EXPECT_DOUBLE_EQ(view.Scale(), 1048.575);
    EXPECT_EQ(view.OffsetX(), 5);
    EXPECT_EQ(view.OffsetY(), 6);
    EXPECT_FALSE(view.SetScale(0.0));
    EXPECT_FALSE(view.SetScale(-1.0));
    EXPECT_FALSE(view.SetScale(std::nan("")));
}

TEST(CadViewTest, RepeatedZoomingInStopsSilentlyAtTheLimit) {
    CadView view = ViewOf(1000.0, 500.0, 800, 600);
    view.ZoomToFit();
    int refused = 0;
    for (int i = 0; i < 200; ++i) {
        if (!view.ZoomIn(0.1)) {
            ++refused;
        }
        view.ZoomInCentre();
        view.ZoomAtCursor(120, 10, 10);
        EXPECT_LE(view.Scale() * 1000.0, kZoomLimitPixels);
    }
    EXPECT_GT(refused, 100);
    const double stopped = view.Scale();
    const int offsetX = view.OffsetX();
    EXPECT_FALSE(view.ZoomIn(0.1));
    EXPECT_FALSE(view.ZoomInCentre());
    EXPECT_DOUBLE_EQ(view.Scale(), stopped);
    EXPECT_EQ(view.OffsetX(), offsetX);
}

TEST(CadViewTest, EqualsKeyZoomKeepsTheOffsetsSoTheViewShifts) {
    CadView view = ViewOf(100.0, 100.0, 800, 600);
    view.SetScale(2.0);
    view.SetOffsets(40, 30);
    EXPECT_TRUE(view.ZoomIn(0.1));
    EXPECT_DOUBLE_EQ(view.Scale(), 2.2);
    EXPECT_EQ(view.OffsetX(), 40);
    EXPECT_EQ(view.OffsetY(), 30);
    EXPECT_TRUE(view.ZoomOut(0.1));
    EXPECT_DOUBLE_EQ(view.Scale(), 2.2 * 0.9);
}

TEST(CadViewTest, CentreZoomsKeepTheWindowCentre) {
    CadView view = ViewOf(1000.0, 1000.0, 800, 600);
    view.SetScale(1.0);
    view.SetOffsets(100, 50);
    EXPECT_TRUE(view.ZoomInCentre());
    EXPECT_DOUBLE_EQ(view.Scale(), 1.1);
    EXPECT_EQ(view.OffsetX(), static_cast<int>((100 + 400) * 1.1 - 400));
    EXPECT_EQ(view.OffsetY(), static_cast<int>((50 + 300) * 1.1 - 300));
    EXPECT_TRUE(view.ZoomOutCentre());
    EXPECT_DOUBLE_EQ(view.Scale(), 1.1 * 0.9);
}

TEST(CadViewTest, WheelZoomKeepsThePointUnderTheCursor) {
    CadView view = ViewOf(1000.0, 1000.0, 800, 600);
    view.SetScale(2.0);
    view.SetOffsets(100, 100);
    const CadPoint before = view.ScreenToDrawing(300, 200);
    EXPECT_TRUE(view.ZoomAtCursor(120, 300, 200));
    EXPECT_DOUBLE_EQ(view.Scale(), 3.0);
    const CadPoint after = view.ScreenToDrawing(300, 200);
    EXPECT_NEAR(after.x, before.x, 1.0 / 3.0);
    EXPECT_NEAR(after.y, before.y, 1.0 / 3.0);
    EXPECT_TRUE(view.ZoomAtCursor(-120, 300, 200));
    EXPECT_DOUBLE_EQ(view.Scale(), 1.5);
}

TEST(CadViewTest, WheelDeltasOtherThanOneNotchAreIgnored) {
    CadView view = ViewOf(100.0, 100.0, 800, 600);
    for (int delta : {0, 60, -60, 240, -240, 121}) {
        EXPECT_FALSE(view.ZoomAtCursor(delta, 10, 10)) << delta;
    }
    EXPECT_DOUBLE_EQ(view.Scale(), 1.0);
}

TEST(CadViewTest, WindowZoomPutsTheRectangleCornerAtTheWindowCorner) {
    CadView view = ViewOf(1000.0, 1000.0, 800, 600);  // scale 1, no first scale yet
    const CadPoint corner = view.ScreenToDrawing(100, 50);
    // 200 x 100 pixels = 200 x 100 units; the new scale is min(600 / 100, 800 / 200) = 4.
    EXPECT_TRUE(view.ZoomWindow(100, 50, 300, 150));
    EXPECT_DOUBLE_EQ(view.Scale(), 4.0);
    const CadPoint atOrigin = view.ScreenToDrawing(0, 0);
    EXPECT_NEAR(atOrigin.x, corner.x, 1e-9);
    EXPECT_NEAR(atOrigin.y, corner.y, 1e-9);
    EXPECT_DOUBLE_EQ(view.FirstScale(), 4.0);
}

TEST(CadViewTest, WindowZoomMeasuresTheRectangleInWholeDrawingUnits) {
    CadView view = ViewOf(1000.0, 1000.0, 800, 600);
    view.SetScale(2.0);
    // 205 pixels = 102.5 units, truncated to 102; 101 pixels = 50.5 units, truncated to 50.
    EXPECT_TRUE(view.ZoomWindow(0, 0, 205, 101));
    EXPECT_DOUBLE_EQ(view.Scale(), std::min(600.0 / 50.0, 800.0 / 102.0));
}

TEST(CadViewTest, WindowZoomOfLessThanOneUnitChangesNothing) {
    CadView view = ViewOf(1000.0, 1000.0, 800, 600);
    view.SetScale(100.0);
    view.SetOffsets(7, 8);
    EXPECT_FALSE(view.ZoomWindow(10, 10, 60, 60));
    EXPECT_DOUBLE_EQ(view.Scale(), 100.0);
    EXPECT_EQ(view.OffsetX(), 7);
}

TEST(CadViewTest, WindowZoomBeyondTheLimitChangesNothing) {
    CadView view = ViewOf(100000.0, 1000.0, 800, 600);
    view.SetScale(10.0);
    view.SetOffsets(7, 8);
    // 10 pixels = 1 unit; 600 px per unit would make the drawing 60,000,000 pixels wide.
    EXPECT_FALSE(view.ZoomWindow(0, 0, 10, 10));
    EXPECT_DOUBLE_EQ(view.Scale(), 10.0);
    EXPECT_EQ(view.OffsetX(), 7);
    EXPECT_EQ(view.OffsetY(), 8);
}

TEST(CadViewTest, RealTimeZoomInWhenMovingUpAboutTheCentre) {
    CadView view = ViewOf(1000.0, 1000.0, 800, 600);
    view.SetScale(1.0);
    view.SetOffsets(100, 100);
    const CadPoint centre = view.ScreenToDrawing(400, 300);
    EXPECT_TRUE(view.RealTimeZoom(300, 240));  // up by a tenth of the height
    EXPECT_DOUBLE_EQ(view.Scale(), 1.1);
    const CadPoint after = view.ScreenToDrawing(400, 300);
    EXPECT_NEAR(after.x, centre.x, 1.0);
    EXPECT_NEAR(after.y, centre.y, 1.0);
    EXPECT_TRUE(view.RealTimeZoom(240, 300));  // down by a tenth
    EXPECT_DOUBLE_EQ(view.Scale(), 1.1 * 0.9);
    EXPECT_FALSE(view.RealTimeZoom(0, 600));  // the whole height down: scale 0, refused
}

struct ScrollCase {
    const char* name;
    CadView::ScrollCode code;
    int startOffset;
    int thumb;
    int expected;
};

TEST(CadViewTest, ScrollStepsAreClampedToTheDrawing) {
    const ScrollCase cases[] = {
        {"line down", CadView::ScrollCode::LineDown, 0, 0, 10},
        {"line up at the top", CadView::ScrollCode::LineUp, 5, 0, 0},
        {"line down at the end", CadView::ScrollCode::LineDown, 195, 0, 200},
        {"page down is one window", CadView::ScrollCode::PageDown, 0, 0, 100},
        {"page up", CadView::ScrollCode::PageUp, 150, 0, 50},
        {"thumb", CadView::ScrollCode::ThumbTrack, 0, 120, 120},
        {"thumb beyond the end", CadView::ScrollCode::ThumbTrack, 0, 900, 200},
        {"other codes do nothing", CadView::ScrollCode::Other, 77, 0, 77},
        {"negative offset comes back", CadView::ScrollCode::LineUp, -50, 0, 0},
    };
    for (const ScrollCase& c : cases) {
        CadView view = ViewOf(100.0, 50.0, 100, 100);
        view.SetScale(4.0);  // vertical extent 50 units * 4 = 200 pixels
        view.SetOffsets(0, c.startOffset);
        view.Scroll(CadView::Axis::Vertical, c.code, c.thumb);
        EXPECT_EQ(view.OffsetY(), c.expected) << c.name;
    }
}

TEST(CadViewTest, ScreenAndDrawingPointsRoundTrip) {
    CadView view = ViewOf(100.0, 100.0, 800, 600);
    view.SetScale(2.5);
    view.SetOffsets(-40, 30);
    const CadPoint p = view.DrawingToScreen(12.0, 34.0);
    EXPECT_DOUBLE_EQ(p.x, 12.0 * 2.5 + 40);
    EXPECT_DOUBLE_EQ(p.y, 34.0 * 2.5 - 30);
    const CadPoint back = view.ScreenToDrawing(p.x, p.y);
    EXPECT_DOUBLE_EQ(back.x, 12.0);
    EXPECT_DOUBLE_EQ(back.y, 34.0);
}

TEST(CadViewTest, ArcFromThreeHundredToThirtyDegreesSweepsNinety) {
    EXPECT_DOUBLE_EQ(ArcSweep(300.0, 30.0), 90.0);
    EXPECT_DOUBLE_EQ(ArcSweep(30.0, 300.0), 270.0);
    EXPECT_DOUBLE_EQ(ArcSweep(45.0, 45.0), 0.0);
}

TEST(CadViewTest, InsertTransformTurnsAnticlockwiseOnTheScreenByWholeDegrees) {
    CCadInsert insert;
    insert.insertX = 100.0;
    insert.insertY = 200.0;
    insert.scaleX = 2.0;
    insert.scaleY = 3.0;
    insert.rotation = 90.7;  // drawn as 90
    const CadTransform t = InsertDrawTransform(insert);
    // (1, 0) scaled to (2, 0), turned to point up the screen (-Y), moved.
    const CadPoint p = t.Map(1.0, 0.0);
    EXPECT_NEAR(p.x, 100.0, 1e-9);
    EXPECT_NEAR(p.y, 198.0, 1e-9);
    const CadPoint q = t.Map(0.0, 1.0);
    EXPECT_NEAR(q.x, 103.0, 1e-9);
    EXPECT_NEAR(q.y, 200.0, 1e-9);
    EXPECT_FALSE(t.Mirrors());
    insert.scaleX = -1.0;
    EXPECT_TRUE(InsertDrawTransform(insert).Mirrors());
}

TEST(CadViewTest, TopLevelEllipseAxisIsRecoveredFromTheMovedAxisPoint) {
    CCadDrawing drawing;
    drawing.minX = 50.0;
    drawing.maxY = 300.0;
    CCadEllipse ellipse;
    ellipse.centerX = 10.0;
    ellipse.centerY = 20.0;
    // The file's axis vector (30, 40) went through (x - minX, maxY - y).
    ellipse.axisX = 30.0 - 50.0;
    ellipse.axisY = 300.0 - 40.0;
    ellipse.ratio = 0.5;
    const EllipseAxes axes = EllipseAxesOf(ellipse, &drawing);
    EXPECT_DOUBLE_EQ(axes.major.x, 30.0);
    EXPECT_DOUBLE_EQ(axes.major.y, -40.0);
    // The minor axis is the major turned anticlockwise on the screen, half as long.
    EXPECT_DOUBLE_EQ(axes.minor.x, -20.0);
    EXPECT_DOUBLE_EQ(axes.minor.y, -15.0);
    const EllipseAxes inBlock = EllipseAxesOf(ellipse, nullptr);
    EXPECT_DOUBLE_EQ(inBlock.major.x, ellipse.axisX);
    EXPECT_DOUBLE_EQ(inBlock.major.y, ellipse.axisY);
}

TEST(CadViewTest, EllipseParameterRangesWrapAndFullTurnsAreWhole) {
    struct Case {
        double start, end, expectedSweep;
    };
    const double pi = std::numbers::pi;
    const Case cases[] = {{0.0, 2 * pi, 2 * pi},
                          {0.0, 0.0, 2 * pi},
                          {pi / 2, pi, pi / 2},
                          {3 * pi / 2, pi / 2, pi},
                          {-pi / 2, pi / 2, pi}};
    for (const Case& c : cases) {
        CCadEllipse ellipse;
        ellipse.startParameter = c.start;
        ellipse.endParameter = c.end;
        double start = 0.0, sweep = 0.0;
        EllipseParameterRange(ellipse, start, sweep);
        EXPECT_NEAR(sweep, c.expectedSweep, 1e-12) << c.start << " " << c.end;
        EXPECT_DOUBLE_EQ(start, c.start);
    }
}

TEST(CadViewTest, DimensionShowsItsValueWithTwoDecimalsOrAsAWholeNumber) {
    struct Case {
        const char* name;
        const char* measurement;
        std::string override;
        std::string expected;
    };
    const Case cases[] = {
        {"whole value", "1500", "", "1500"},
        {"value with decimals", "1234.5", "", "1234.50"},
        {"angle bracket override", "1500", "<>", "1500"},
        {"numeric override", "1500", "2000.004", "2000"},
        {"override around the value", "25", "R<>", "R25"},
        {"word override", "1500", Utf8ToGbk(u8"见详图"), Utf8ToGbk(u8"见详图")},
        {"rubbish measurement", "abc", "", "0"},
    };
    for (const Case& c : cases) {
        CCadDimension dimension;
        dimension.measurement = c.measurement;
        dimension.textOverride = c.override;
        EXPECT_EQ(DimensionValueText(dimension), c.expected) << c.name;
    }
}

TEST(CadViewTest, MTextIsCutIntoLinesAtItsCodes) {
    struct Case {
        const char* name;
        const char* text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"plain", "ABC", {"ABC"}},
        {"paragraph", "first\\Psecond", {"first", "second"}},
        {"code with argument", "A\\H2.5x;B", {"A", "B"}},
        {"unknown code drops three characters", "A\\Zxyz", {"A", "z"}},
        {"literal backslash and braces", "a\\\\b\\{c\\}", {"a\\b{c}"}},
        {"chinese", "\xE9\x92\xA2\\P\xE6\xA2\x81", {"\xE9\x92\xA2", "\xE6\xA2\x81"}},
        {"trailing backslash", "end\\", {"end", ""}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SplitMTextLines(c.text), c.lines) << c.name;
    }
}

}  // namespace
