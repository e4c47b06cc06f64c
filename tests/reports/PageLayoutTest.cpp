#include "reports/PageLayout.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace quarrant;

namespace {

// Every byte 10 wide, lines 20 high.
class FixedMeasure final : public TextMeasure {
public:
    int Width(std::string_view text) const override { return static_cast<int>(text.size()) * 10; }
    int Height() const override { return 20; }
};

// A grid of one 35-high header row and `rows` data rows 25 high, with the given widths.
std::unique_ptr<GridModel> MakeGrid(const std::vector<int>& widths, int rows) {
    auto made = std::make_unique<GridModel>(rows + 1, static_cast<int>(widths.size()), 1, 1);
    GridModel& grid = *made;
    for (std::size_t col = 0; col < widths.size(); ++col) {
        grid.SetColumnWidth(static_cast<int>(col), widths[col]);
    }
    grid.SetRowHeight(0, 35);
    for (int row = 1; row <= rows; ++row) {
        grid.SetRowHeight(row, 25);
    }
    return made;
}

// The grids of one test, kept until it ends.
std::vector<std::unique_ptr<GridModel>> g_grids;
GridModel* MakeGridKept(const std::vector<int>& widths, int rows) {
    g_grids.push_back(MakeGrid(widths, rows));
    return g_grids.back().get();
}

}  // namespace

TEST(PageLayoutTest, A4GeometryFollowsThePrintableArea) {
    PrinterMetrics portrait;  // 96 dpi screen, 600 dpi printer, 210 x 297 mm
    portrait.printableHeightPx = 7016;
    const PageGeometry page = ComputePageGeometry(portrait);
    EXPECT_FALSE(page.landscape);
    EXPECT_EQ(page.leftMargin, 81);
    EXPECT_EQ(page.paperWidthPx, 4960);
    EXPECT_EQ(page.pageWidth, 793);
    EXPECT_EQ(page.pageHeight, 1122);
    EXPECT_EQ(page.contentWidth, 793 - 162 + 30);
    EXPECT_EQ(page.TableBottom(), 1122 - 65);

    PrinterMetrics across = portrait;
    across.printableWidthMm = 297;
    across.printableHeightMm = 210;
    across.printableHeightPx = 4960;
    const PageGeometry landscape = ComputePageGeometry(across);
    EXPECT_TRUE(landscape.landscape);
    EXPECT_EQ(landscape.pageWidth, 1122);
    EXPECT_EQ(landscape.pageHeight, 793);
}

TEST(PageLayoutTest, ColumnsAreScaledToTheContentWidthAndWrittenIntoTheGrid) {
    GridModel& grid = *MakeGridKept({100, 300}, 1);
    PageLayout layout;
    layout.Build(grid, 800, 900, FixedMeasure());
    EXPECT_EQ(layout.ColumnWidths(), (std::vector<int>{200, 600}));
    EXPECT_EQ(grid.GetColumnWidth(0), 200);
    EXPECT_EQ(grid.GetColumnWidth(1), 600);

    GridModel& uneven = *MakeGridKept({50, 110, 120, 120}, 0);
    layout.Build(uneven, 661, 900, FixedMeasure());
    int sum = 0;
    for (int width : layout.ColumnWidths()) {
        sum += width;
    }
    EXPECT_EQ(sum, 661) << "the last column takes what truncation left";
}

TEST(PageLayoutTest, RowsGrowToTheirWrappedTexts) {
    GridModel& grid = *MakeGridKept({100, 100}, 3);
    // Column width 100 leaves 85 for text: 30 bytes = 300 wide = 3.53 times that.
    grid.SetItemText(1, 1, std::string(30, 'a'));
    grid.SetItemText(2, 1, "short");
    PageLayout layout;
    layout.Build(grid, 200, 900, FixedMeasure());
    EXPECT_EQ(layout.DataHeights()[0], 4 * 20 + 16);
    EXPECT_EQ(layout.DataHeights()[1], 1 * 20 + 16);
    EXPECT_EQ(layout.DataHeights()[2], 25) << "an empty row keeps the grid's height";
}

TEST(PageLayoutTest, PagesRepeatTheHeaderAndNeverStayEmpty) {
    GridModel& grid = *MakeGridKept({100}, 10);
    PageLayout layout;
    // Body 135: the header (35) and three rows of 25 (110 + 25 = 135 is not below 135).
    layout.Build(grid, 100, 135, FixedMeasure());
    ASSERT_EQ(layout.PageCount(), 4);
    EXPECT_EQ(layout.Page(1).first, 0);
    EXPECT_EQ(layout.Page(1).last, 2);
    EXPECT_EQ(layout.Page(2).first, 3);
    EXPECT_EQ(layout.Page(4).last, 9);

    GridModel& tall = *MakeGridKept({100}, 2);
    tall.SetRowHeight(1, 500);
    layout.Build(tall, 100, 135, FixedMeasure());
    ASSERT_EQ(layout.PageCount(), 2) << "a row higher than a page gets a page of its own";
    EXPECT_EQ(layout.Page(1).first, 0);
    EXPECT_EQ(layout.Page(1).last, 0);

    GridModel& empty = *MakeGridKept({}, 0);
    layout.Build(empty, 100, 135, FixedMeasure());
    EXPECT_EQ(layout.PageCount(), 1);
}

TEST(PageLayoutTest, MergedBlocksSpanTheirCellsOnThePage) {
    GridModel& grid = *MakeGridKept({100, 100, 100}, 3);
    grid.MergeCells(1, 1, 2, 2);
    PageLayout layout;
    layout.Build(grid, 300, 900, FixedMeasure());
    const LayoutCell master = layout.Cell(1, 1);
    EXPECT_TRUE(master.draw);
    EXPECT_EQ(master.width, 200);
    EXPECT_EQ(master.height, 50);
    EXPECT_FALSE(layout.Cell(2, 2).draw);
    EXPECT_TRUE(layout.Cell(3, 2).draw);
}

TEST(PageLayoutTest, OnePageDisablesBothPageCommands) {
    PreviewState state;
    state.SetPageCount(1);
    EXPECT_FALSE(state.CanPreviousPage());
    EXPECT_FALSE(state.CanNextPage());
    EXPECT_TRUE(state.CanZoomIn());
    EXPECT_FALSE(state.CanZoomOut());

    state.SetPageCount(3);
    EXPECT_TRUE(state.NextPage());
    EXPECT_TRUE(state.NextPage());
    EXPECT_FALSE(state.CanNextPage());
    EXPECT_TRUE(state.ZoomIn());
    EXPECT_TRUE(state.ZoomIn());
    EXPECT_FALSE(state.CanZoomIn());
    state.SetPageCount(1);
    EXPECT_EQ(state.Page(), 1) << "fewer pages after a drag bring the page back";
}

TEST(PageLayoutTest, BordersAreFoundExactlyWhereTheyLie) {
    GridModel& grid = *MakeGridKept({100, 100, 100}, 3);
    PageLayout layout;
    layout.Build(grid, 300, 900, FixedMeasure());
    struct Case {
        double x, y;
        DragMode mode;
        int index;
    };
    const Case cases[] = {
        {200, 160, DragMode::kColumn, 1},  {150, 153, DragMode::kHeaderRow, 0},
        {150, 178, DragMode::kDataRow, 0}, {150, 228, DragMode::kDataRow, 2},
        {201, 160, DragMode::kNone, -1},   {200, 100, DragMode::kNone, -1},
        {150, 253, DragMode::kNone, -1},
    };
    for (const Case& c : cases) {
        const DragTarget hit = layout.HitBorder(c.x, c.y, 1, 0.0);
        EXPECT_EQ(hit.mode, c.mode) << c.x << "," << c.y;
        EXPECT_EQ(hit.index, c.index) << c.x << "," << c.y;
    }
}

TEST(PageLayoutTest, DraggingAColumnBorderMovesItIntoTheGrid) {
    GridModel& grid = *MakeGridKept({100, 100, 100, 100}, 2);
    PageLayout layout;
    layout.Build(grid, 400, 900, FixedMeasure());
    const DragTarget border{DragMode::kColumn, 2};
    ASSERT_TRUE(layout.ApplyDrag(border, 20));
    layout.WriteSizes(grid);
    EXPECT_EQ(grid.GetColumnWidth(2), 120);
    EXPECT_EQ(grid.GetColumnWidth(3), 80);
    // The line stays 25 inside the two columns it moves between.
    EXPECT_EQ(layout.ClampDragLine(border, 1000, 1, 900), 320 + 80 - 25);
    EXPECT_EQ(layout.ClampDragLine({DragMode::kColumn, 3}, 1000, 1, 900), 400 - 2)
        << "the last column up to the table's right edge - 2";
    EXPECT_EQ(layout.ClampDragLine({DragMode::kColumn, 1}, 0, 1, 900), 125);
    EXPECT_EQ(layout.ClampDragLine({DragMode::kColumn, 1}, 1000, 1, 900), 295);
}

TEST(PageLayoutTest, DraggingARowBorderKeepsTheRowHigherThan23) {
    GridModel& grid = *MakeGridKept({100}, 2);
    PageLayout layout;
    layout.Build(grid, 100, 900, FixedMeasure());
    const DragTarget row{DragMode::kDataRow, 0};
    // The row spans 153 to 178: its border may go down to 177 - 25 + 24 = 177.
    EXPECT_EQ(layout.ClampDragLine(row, 100, 1, 1000), 153 + 24);
    ASSERT_TRUE(layout.ApplyDrag(row, 15));
    EXPECT_FALSE(layout.ApplyDrag(row, -40)) << "a height of 0 is refused";
    layout.WriteSizes(grid);
    layout.Recompute(grid, 900);
    EXPECT_EQ(grid.GetRowHeight(1), 40);
}
