#include <gtest/gtest.h>

#include <cctype>
#include <ostream>

#include "controls/GridModel.h"

namespace quarrant {
namespace {

TEST(GridModelTest, NewGridHasTheDefaultsOfAGridWithoutDisplay) {
    GridModel grid;
    EXPECT_EQ(grid.GetRowCount(), 0);
    EXPECT_EQ(grid.GetColumnCount(), 0);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(-1, -1));
    EXPECT_TRUE(grid.IsEditable());
    EXPECT_EQ(grid.Switches().gridLines, kGridLinesBoth);
    EXPECT_EQ(grid.Switches().autoSizeStyle, kAutoSizeBoth);
    EXPECT_EQ(grid.Switches().sortColumn, -1);
    EXPECT_EQ(grid.GetGridLineColor(), GridRgb(192, 192, 192));
    EXPECT_EQ(grid.GetDefaultCell(false, false)->GetMargin(), 3);
    EXPECT_EQ(grid.GetDefaultCell(false, false)->GetFormat(), kDefaultCellFormat);
    EXPECT_TRUE(grid.GetShadedPrintOut());

    grid.SetRowCount(2);
    grid.SetColumnCount(2);
    EXPECT_EQ(grid.GetRowHeight(1), 16);
    EXPECT_EQ(grid.GetColumnWidth(1), 40);
}

TEST(GridModelTest, PrintMarginsDefaultAndNegativeValuesLeaveThemUnchanged) {
    GridModel grid;
    int v[7];
    grid.GetPrintMarginInfo(v[0], v[1], v[2], v[3], v[4], v[5], v[6]);
    EXPECT_EQ(std::vector<int>(v, v + 7), (std::vector<int>{2, 2, 4, 4, 1, 1, 1}));
    grid.SetPrintMarginInfo(5, -1, 7, -3, 0, -1, 9);
    grid.GetPrintMarginInfo(v[0], v[1], v[2], v[3], v[4], v[5], v[6]);
    EXPECT_EQ(std::vector<int>(v, v + 7), (std::vector<int>{5, 2, 7, 4, 0, 1, 9}));
}

TEST(GridModelTest, InsertRowAppendsWithTheDefaultHeightForAnEmptyHeading) {
    GridModel grid(3, 2);
    EXPECT_EQ(grid.InsertRow("", -1), 3);
    EXPECT_EQ(grid.GetRowCount(), 4);
    EXPECT_EQ(grid.GetRowHeight(3), grid.Metrics().rowHeight);
}

TEST(GridModelTest, InsertRowWithAHeadingTakesTheHeadingsTextHeight) {
    GridMetrics metrics;
    metrics.textHeight = 13;
    metrics.rowHeight = 20;
    GridModel grid(1, 3, 0, 0, metrics);
    const int row = grid.InsertRow("head", -1);
    EXPECT_EQ(grid.GetItemText(row, 0), "head");
    EXPECT_EQ(grid.GetRowHeight(row), 13);
}

struct InsertCase {
    const char* name;
    int rows;
    int fixedRows;
    int position;
    int expected;
};

void PrintTo(const InsertCase& c, std::ostream* os) {
    *os << c.name;
}

class InsertRowPositionTest : public ::testing::TestWithParam<InsertCase> {};

TEST_P(InsertRowPositionTest, ReturnsTheNewIndexOrMinusOne) {
    const InsertCase& c = GetParam();
    GridModel grid(c.rows, 2, c.fixedRows, 0);
    EXPECT_EQ(grid.InsertRow("x", c.position), c.expected) << c.name;
    EXPECT_EQ(grid.GetRowCount(), c.expected >= 0 ? c.rows + 1 : c.rows) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Positions, InsertRowPositionTest,
    ::testing::Values(InsertCase{"append", 3, 0, -1, 3},
                      InsertCase{"before the first non-fixed row", 3, 1, 1, 1},
                      InsertCase{"before a fixed row", 3, 1, 0, -1},
                      InsertCase{"before row 0 of a grid with one fixed row", 1, 1, 0, -1},
                      InsertCase{"at the row count (not an existing row)", 3, 0, 3, -1},
                      InsertCase{"below -1", 3, 0, -2, -1},
                      InsertCase{"in the middle", 5, 1, 3, 3}),
    [](const ::testing::TestParamInfo<InsertCase>& info) {
        std::string name = info.param.name;
        for (char& ch : name) {
            if (!std::isalnum(static_cast<unsigned char>(ch))) {
                ch = '_';
            }
        }
        return name;
    });

TEST(GridModelTest, InsertRowMovesTheCellsBelowDownAndClearsSelectionAndFocus) {
    GridModel grid(3, 2, 1, 0);
    grid.SetItemText(1, 1, "one");
    grid.SetItemText(2, 1, "two");
    grid.SetFocusCell(CCellID(2, 1));
    grid.SetSelectedRange(CCellRange(1, 0, 2, 1));
    EXPECT_EQ(grid.InsertRow("new", 2), 2);
    EXPECT_EQ(grid.GetItemText(1, 1), "one");
    EXPECT_EQ(grid.GetItemText(2, 0), "new");
    EXPECT_EQ(grid.GetItemText(2, 1), "");
    EXPECT_EQ(grid.GetItemText(3, 1), "two");
    EXPECT_EQ(grid.GetFocusCell(), CCellID());
    EXPECT_EQ(grid.GetSelectedCount(), 0);
    EXPECT_FALSE(grid.IsCellSelected(3, 1));
}

TEST(GridModelTest, InsertRowCreatesAColumnWhenThereIsNone) {
    GridModel grid;
    EXPECT_EQ(grid.InsertRow("a"), 0);
    EXPECT_EQ(grid.GetColumnCount(), 1);
    EXPECT_EQ(grid.GetItemText(0, 0), "a");
}

TEST(GridModelTest, RowDataStaysWithTheIndexWhenRowsAreDeletedOrInserted) {
    GridModel grid(8, 2, 1, 0);
    grid.SetRowData(4, 44);
    grid.SetRowData(5, 55);
    EXPECT_TRUE(grid.DeleteRow(2));
    EXPECT_EQ(grid.GetRowData(5), 55);
    EXPECT_EQ(grid.GetRowData(4), 44);
    grid.InsertRow("", 1);
    EXPECT_EQ(grid.GetRowData(5), 55);
    EXPECT_EQ(grid.GetRowData(6), 0);
    grid.DeleteAllItems();
    EXPECT_EQ(grid.GetRowData(4), 0);
    EXPECT_EQ(grid.GetRowData(5), 0);
}

TEST(GridModelTest, RowDataMayBeStoredBeforeTheRowIsAppended) {
    GridModel grid(1, 2);
    EXPECT_TRUE(grid.SetRowData(1, 7));
    grid.InsertRow("", -1);
    EXPECT_EQ(grid.GetRowData(1), 7);
    EXPECT_FALSE(grid.SetRowData(-1, 7));
}

TEST(GridModelTest, RowDataIsAMapOfSeventeenBucketsKeyedByIndex) {
    GridModel grid;
    grid.SetRowData(1, 1);
    grid.SetRowData(16, 16);
    grid.SetRowData(2, 2);
    std::vector<int> order;
    for (auto entry : grid.RowData()) {
        order.push_back(entry.key);
    }
    // Rows 1 and 2 share bucket 0 (newest first); row 16 is in bucket 1.
    EXPECT_EQ(order, (std::vector<int>{2, 1, 16}));
}

TEST(GridModelTest, DeleteRowMovesTheFocusCellWithItsRow) {
    GridModel grid(6, 3, 1, 1);
    grid.SetFocusCell(CCellID(4, 2));
    EXPECT_TRUE(grid.DeleteRow(2));
    EXPECT_EQ(grid.GetFocusCell(), CCellID(3, 2));
    EXPECT_TRUE(grid.GetCell(3, 2)->IsFocused());
    EXPECT_TRUE(grid.DeleteRow(3));
    EXPECT_EQ(grid.GetSelectRow(), -1);
    EXPECT_EQ(grid.GetSelectCol(), -1);
    EXPECT_TRUE(grid.DeleteRow(4) == false);
}

TEST(GridModelTest, DeletingAFixedRowLowersTheFixedRowCount) {
    GridModel grid(4, 2, 2, 0);
    EXPECT_TRUE(grid.DeleteRow(0));
    EXPECT_EQ(grid.GetFixedRowCount(), 1);
    EXPECT_EQ(grid.GetRowCount(), 3);
}

TEST(GridModelTest, DeleteRowClearsTheSelection) {
    GridModel grid(4, 2);
    grid.SetSelectedRange(CCellRange(0, 0, 3, 1));
    grid.DeleteRow(3);
    EXPECT_EQ(grid.GetSelectedCount(), 0);
    EXPECT_FALSE(grid.IsCellSelected(0, 0));
}

TEST(GridModelTest, DeleteAllItemsRemovesEverything) {
    GridModel grid(4, 3, 1, 1);
    grid.SetFocusCell(CCellID(2, 2));
    grid.SetSelectedRange(CCellRange(1, 1, 2, 2));
    grid.MergeCells(1, 1, 2, 2);
    grid.DeleteAllItems();
    EXPECT_EQ(grid.GetRowCount(), 0);
    EXPECT_EQ(grid.GetColumnCount(), 0);
    EXPECT_EQ(grid.GetFixedRowCount(), 0);
    EXPECT_EQ(grid.GetSelectRow(), -1);
    EXPECT_EQ(grid.GetSelectedCount(), 0);
    EXPECT_TRUE(grid.MergedBlocks().empty());
}

struct OutOfRangeCase {
    const char* name;
    int row;
    int col;
};

void PrintTo(const OutOfRangeCase& c, std::ostream* os) {
    *os << c.name;
}

class OutOfRangeTest : public ::testing::TestWithParam<OutOfRangeCase> {};

TEST_P(OutOfRangeTest, SettersFailAndGettersGiveEmptyValues) {
    const OutOfRangeCase& c = GetParam();
    GridModel grid(3, 3);
    EXPECT_FALSE(grid.SetItemText(c.row, c.col, "x"));
    EXPECT_EQ(grid.GetItemText(c.row, c.col), "");
    EXPECT_FALSE(grid.SetItemState(c.row, c.col, kCellSelected));
    EXPECT_EQ(grid.GetItemState(c.row, c.col), 0u);
    EXPECT_EQ(grid.GetSelectedCount(), 0);
    EXPECT_FALSE(grid.SetItemData(c.row, c.col, 1));
    EXPECT_EQ(grid.GetItemData(c.row, c.col), 0);
    EXPECT_EQ(grid.GetCell(c.row, c.col), nullptr);
    EXPECT_EQ(grid.GetMergeCellWidth(CCellID(c.row, c.col)), -1);
    EXPECT_EQ(grid.GetMergeCellHeight(CCellID(c.row, c.col)), -1);
}

INSTANTIATE_TEST_SUITE_P(Indices, OutOfRangeTest,
                         ::testing::Values(OutOfRangeCase{"RowBeyond", 3, 0},
                                           OutOfRangeCase{"ColumnBeyond", 0, 3},
                                           OutOfRangeCase{"NegativeRow", -1, 0},
                                           OutOfRangeCase{"NegativeColumn", 0, -1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GridModelTest, SizesOutOfRangeAreMinusOneAndSettersRefuse) {
    GridModel grid(2, 2);
    EXPECT_EQ(grid.GetRowHeight(2), -1);
    EXPECT_EQ(grid.GetColumnWidth(-1), -1);
    EXPECT_FALSE(grid.SetRowHeight(5, 10));
    EXPECT_FALSE(grid.SetColumnWidth(2, 10));
    EXPECT_FALSE(grid.SetRowHeight(0, -1));
    EXPECT_FALSE(grid.DeleteRow(2));
    EXPECT_FALSE(grid.SetRowCount(-1));
}

TEST(GridModelTest, SetItemStateKeepsTheSelectedSetInStep) {
    GridModel grid(3, 3);
    grid.SetItemState(1, 2, kCellSelected | kCellReadOnly);
    EXPECT_EQ(grid.GetSelectedCount(), 1);
    EXPECT_TRUE(grid.SelectedCells().Contains(2 * 65536 + 1));
    grid.SetItemState(1, 2, kCellReadOnly);
    EXPECT_EQ(grid.GetSelectedCount(), 0);
    EXPECT_EQ(grid.GetItemState(1, 2), kCellReadOnly);
}

TEST(GridModelTest, SelectionKeysOfRowsBeyond65535DoNotCollide) {
    EXPECT_EQ(SelectionKey(3, 2), 2 * 65536 + 3);
    EXPECT_NE(SelectionKey(65536, 0), SelectionKey(0, 1));
    GridModel grid(70000, 2);
    grid.SetItemState(65536, 0, kCellSelected);
    grid.SetItemState(0, 1, kCellSelected);
    EXPECT_EQ(grid.GetSelectedCount(), 2);
    grid.SetItemState(0, 1, 0);
    EXPECT_TRUE(grid.IsCellSelected(65536, 0));
    EXPECT_EQ(grid.GetSelectedCount(), 1);
}

TEST(GridModelTest, SelectedCellRangeBoundsTheSelectedCells) {
    GridModel grid(5, 5, 1, 1);
    grid.SetItemState(2, 3, kCellSelected);
    grid.SetItemState(4, 1, kCellSelected);
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(2, 1, 4, 3));
    grid.ResetSelectedRange();
    EXPECT_FALSE(grid.GetSelectedCellRange().IsValid());
}

TEST(GridModelTest, SelectingWithKeepPreviousAddsToTheRememberedCells) {
    GridModel grid(5, 5);
    grid.SetSelectedRange(CCellRange(0, 0, 0, 1));
    grid.RememberSelection();
    grid.SetSelectedRange(CCellRange(3, 3, 3, 3), true);
    EXPECT_EQ(grid.GetSelectedCount(), 3);
    grid.SetSelectedRange(CCellRange(4, 4, 4, 4));
    EXPECT_EQ(grid.GetSelectedCount(), 1);
}

TEST(GridModelTest, FixedCellsCarryTheFixedFlag) {
    GridModel grid(3, 3, 1, 1);
    EXPECT_TRUE(grid.GetCell(0, 2)->IsFixed());
    EXPECT_TRUE(grid.GetCell(2, 0)->IsFixed());
    EXPECT_FALSE(grid.GetCell(1, 1)->IsFixed());
    grid.SetFixedRowCount(2);
    EXPECT_TRUE(grid.GetCell(1, 1)->IsFixed());
    grid.SetFixedRowCount(0);
    EXPECT_FALSE(grid.GetCell(0, 2)->IsFixed());
    EXPECT_TRUE(grid.GetCell(0, 0)->IsFixed());
}

TEST(GridModelTest, ItemFontFallsBackToTheMatchingDefaultCell) {
    GridModel grid(3, 3, 1, 1);
    GridFont bold{"Sans", 12, 700};
    grid.GetDefaultCell(true, false)->SetFont(&bold);
    EXPECT_EQ(grid.GetItemFont(0, 2), bold);
    EXPECT_EQ(grid.GetItemFont(2, 2), GridFont());
    GridFont italic{"Serif", 10, 400, true};
    grid.SetItemFont(2, 2, italic);
    EXPECT_EQ(grid.GetItemFont(2, 2), italic);
    // A position without a cell object: the default cell of a fixed row.
    EXPECT_EQ(grid.GetItemFont(0, 7), bold);
}

TEST(GridModelTest, SystemColourChangeReachesDefaultCellsAndAnUnchangedBackground) {
    GridModel grid;
    grid.SetSystemColors(GridRgb(1, 1, 1), GridRgb(2, 2, 2), GridRgb(3, 3, 3), GridRgb(4, 4, 4));
    EXPECT_EQ(grid.GetDefaultCell(false, false)->GetBackClr(), GridRgb(2, 2, 2));
    EXPECT_EQ(grid.GetDefaultCell(true, true)->GetBackClr(), GridRgb(3, 3, 3));
    EXPECT_EQ(grid.GetDefaultCell(true, false)->GetTextClr(), GridRgb(1, 1, 1));
    EXPECT_EQ(grid.GetGridBkColor(), GridRgb(4, 4, 4));
    grid.SetGridBkColor(GridRgb(9, 9, 9));
    grid.SetSystemColors(GridRgb(1, 1, 1), GridRgb(2, 2, 2), GridRgb(3, 3, 3), GridRgb(5, 5, 5));
    EXPECT_EQ(grid.GetGridBkColor(), GridRgb(9, 9, 9));
}

// ---- merged cells

TEST(GridModelTest, MergedCellResolvesToItsMaster) {
    GridModel grid(5, 5, 1, 1);
    ASSERT_TRUE(grid.MergeCells(1, 1, 2, 3));
    int row = 99;
    int col = 99;
    EXPECT_TRUE(grid.GetMergeCell(row, col, 2, 3));
    EXPECT_EQ(row, 1);
    EXPECT_EQ(col, 1);
    row = 99;
    col = 99;
    EXPECT_FALSE(grid.GetMergeCell(row, col, 1, 1));
    EXPECT_EQ(row, 99);
    EXPECT_EQ(col, 99);
    EXPECT_FALSE(grid.GetMergeCell(row, col, 3, 3));
    EXPECT_EQ(grid.GetMergeCellID(CCellID(2, 2)), CCellID(1, 1));
    EXPECT_EQ(grid.GetMergeCellID(CCellID(4, 4)), CCellID(4, 4));
    EXPECT_TRUE(grid.GetCell(1, 1)->IsMerged());
    EXPECT_EQ(grid.GetCell(1, 1)->GetMergeRange(), CCellRange(1, 1, 2, 3));
    EXPECT_TRUE(grid.GetCell(2, 1)->IsMergeWithOthers());
    EXPECT_FALSE(grid.GetCell(1, 1)->IsMergeWithOthers());
}

TEST(GridModelTest, UnmergingOneCellOfABlockFreesTheWholeBlock) {
    GridModel grid(5, 5, 1, 1);
    grid.MergeCells(1, 1, 2, 3);
    ASSERT_TRUE(grid.UnMergeCells(1, 1, 1, 1));
    for (int row = 1; row <= 2; ++row) {
        for (int col = 1; col <= 3; ++col) {
            const CGridCellBase* cell = grid.GetCell(row, col);
            EXPECT_FALSE(cell->IsMergeWithOthers()) << row << "," << col;
            EXPECT_EQ(cell->GetMergeCellID(), CCellID()) << row << "," << col;
            EXPECT_EQ(cell->GetMergeRange(), CCellRange()) << row << "," << col;
        }
    }
    EXPECT_TRUE(grid.MergedBlocks().empty());
}

TEST(GridModelTest, UnmergingACoveredCellFreesItsMastersBlock) {
    GridModel grid(5, 5);
    grid.MergeCells(1, 1, 2, 3);
    grid.UnMergeCells(2, 3, 2, 3);
    EXPECT_FALSE(grid.GetCell(1, 1)->IsMerged());
    EXPECT_FALSE(grid.GetCell(1, 2)->IsMergeWithOthers());
}

TEST(GridModelTest, MergedBlockGeometrySpansItsRange) {
    GridModel grid(5, 5, 1, 1);
    grid.SetColumnWidth(1, 10);
    grid.SetColumnWidth(2, 20);
    grid.SetColumnWidth(3, 30);
    grid.SetRowHeight(1, 7);
    grid.SetRowHeight(2, 9);
    grid.MergeCells(1, 1, 2, 3);
    EXPECT_EQ(grid.GetMergeCellWidth(CCellID(1, 1)), 60);
    EXPECT_EQ(grid.GetMergeCellWidth(CCellID(2, 2)), 60);
    EXPECT_EQ(grid.GetMergeCellHeight(CCellID(2, 3)), 16);
    EXPECT_EQ(grid.GetMergeCellWidth(CCellID(4, 2)), 20);
    GridRect rect;
    ASSERT_TRUE(grid.GetCellRect(1, 1, 0, 0, rect));
    EXPECT_EQ(rect, (GridRect{40, 16, 40 + 60 - 1, 16 + 16 - 1}));
    // A covered cell keeps its own rectangle; the origin ignores merging.
    ASSERT_TRUE(grid.GetCellRect(2, 2, 0, 0, rect));
    EXPECT_EQ(rect, (GridRect{50, 23, 69, 31}));
    int x = 0;
    int y = 0;
    ASSERT_TRUE(grid.GetCellOriginNoMerge(2, 3, 0, 0, x, y));
    EXPECT_EQ(x, 70);
    EXPECT_EQ(y, 23);
}

TEST(GridModelTest, APointAnywhereInAMergedBlockHitsTheMaster) {
    GridModel grid(5, 5, 1, 1);
    grid.MergeCells(1, 1, 2, 3);
    // Default sizes: columns 40 wide, rows 16 high; block spans x 40..159, y 16..47.
    EXPECT_EQ(grid.GetCellFromPoint(150, 45, 0, 0), CCellID(1, 1));
    EXPECT_EQ(grid.GetCellFromPoint(41, 17, 0, 0), CCellID(1, 1));
    EXPECT_EQ(grid.GetCellFromPointNoMerge(150, 45, 0, 0), CCellID(2, 3));
    EXPECT_EQ(grid.GetCellFromPoint(170, 45, 0, 0), CCellID(2, 4));
    EXPECT_EQ(grid.GetCellFromPoint(500, 45, 0, 0), CCellID());
}

TEST(GridModelTest, ScrollingMovesOnlyTheNonFixedCells) {
    GridModel grid(100, 5, 1, 1);
    // Scrolled down by 10 rows: the fixed row stays, row 11 is now just below it.
    EXPECT_EQ(grid.GetCellFromPoint(50, 5, 0, 160), CCellID(0, 1));
    EXPECT_EQ(grid.GetCellFromPoint(50, 17, 0, 160), CCellID(11, 1));
    EXPECT_EQ(grid.GetCellFromPoint(5, 17, 0, 160), CCellID(11, 0));
    int x = 0;
    int y = 0;
    grid.GetCellOriginNoMerge(11, 1, 0, 160, x, y);
    EXPECT_EQ(y, 16);
    EXPECT_EQ(grid.GetVisibleNonFixedCellRange(0, 160, 200, 100), CCellRange(11, 1, 16, 4));
}

TEST(GridModelTest, HiddenRowsNeverHoldAPoint) {
    GridModel grid(4, 1);
    grid.SetRowHeight(1, 0);
    EXPECT_EQ(grid.GetCellFromPoint(5, 16, 0, 0), CCellID(2, 0));
    EXPECT_EQ(grid.RowAtOffset(15), 0);
    EXPECT_EQ(grid.RowAtOffset(64), -1);
}

TEST(GridModelTest, MergingOverAnExistingBlockReplacesIt) {
    GridModel grid(6, 6);
    grid.MergeCells(1, 1, 2, 2);
    grid.MergeCells(2, 2, 3, 3);
    EXPECT_FALSE(grid.GetCell(1, 1)->IsMerged());
    EXPECT_FALSE(grid.GetCell(1, 2)->IsMergeWithOthers());
    EXPECT_TRUE(grid.GetCell(2, 2)->IsMerged());
    EXPECT_EQ(grid.GetMergeCellID(CCellID(3, 3)), CCellID(2, 2));
    EXPECT_EQ(grid.MergedBlocks().size(), 1u);
}

TEST(GridModelTest, MergeSelectedCellsNeedsMoreThanOneCell) {
    GridModel grid(6, 6);
    grid.SetSelectedRange(CCellRange(2, 2, 2, 2));
    EXPECT_FALSE(grid.MergeSelectedCells());
    grid.SetSelectedRange(CCellRange(2, 2, 2, 4));
    EXPECT_TRUE(grid.MergeSelectedCells());
    EXPECT_EQ(grid.GetMergeCellID(CCellID(2, 4)), CCellID(2, 2));
    EXPECT_TRUE(grid.UnMergeSelectedCells());
    EXPECT_EQ(grid.GetMergeCellID(CCellID(2, 4)), CCellID(2, 4));
}

TEST(GridModelTest, MergedBlocksMoveWithInsertedAndDeletedRows) {
    GridModel grid(8, 4, 1, 0);
    grid.MergeCells(4, 1, 5, 2);
    grid.InsertRow("", 2);
    EXPECT_EQ(grid.GetMergeCellID(CCellID(6, 2)), CCellID(5, 1));
    EXPECT_FALSE(grid.GetCell(4, 1)->IsMerged());
    EXPECT_TRUE(grid.GetCell(5, 1)->IsMerged());
    grid.DeleteRow(1);
    EXPECT_EQ(grid.GetMergeCellID(CCellID(5, 2)), CCellID(4, 1));
    EXPECT_EQ(grid.GetCell(4, 1)->GetMergeRange(), CCellRange(4, 1, 5, 2));
}

TEST(GridModelTest, ARowChangeThroughAMergedBlockUnmergesIt) {
    GridModel grid(8, 4);
    grid.MergeCells(2, 1, 4, 2);
    grid.InsertRow("", 3);
    EXPECT_FALSE(grid.GetCell(2, 1)->IsMerged());
    EXPECT_FALSE(grid.GetCell(5, 2)->IsMergeWithOthers());
    grid.MergeCells(2, 1, 4, 2);
    grid.DeleteRow(2);
    EXPECT_FALSE(grid.GetCell(2, 2)->IsMergeWithOthers());
    EXPECT_TRUE(grid.MergedBlocks().empty());
}

TEST(GridModelTest, ShrinkingTheGridDropsBlocksThatNoLongerFit) {
    GridModel grid(8, 4);
    grid.MergeCells(5, 1, 7, 2);
    grid.SetRowCount(6);
    EXPECT_FALSE(grid.GetCell(5, 1)->IsMerged());
    EXPECT_TRUE(grid.MergedBlocks().empty());
}

TEST(GridModelTest, MergeCellsRefusesRangesOutsideTheGrid) {
    GridModel grid(3, 3);
    EXPECT_FALSE(grid.MergeCells(1, 1, 3, 1));
    EXPECT_FALSE(grid.MergeCells(2, 2, 1, 1));
    EXPECT_FALSE(grid.UnMergeCells(-1, 0, 1, 1));
}

TEST(GridModelTest, CloneSettingsKeepsSwitchesButNoContent) {
    GridModel grid(3, 3, 1, 1);
    grid.SetEditable(false);
    grid.SetGridLineColor(GridRgb(1, 2, 3));
    grid.SetRowData(1, 5);
    auto clone = grid.CloneSettings();
    EXPECT_FALSE(clone->IsEditable());
    EXPECT_EQ(clone->GetGridLineColor(), GridRgb(1, 2, 3));
    EXPECT_EQ(clone->GetRowCount(), 0);
    EXPECT_EQ(clone->GetRowData(1), 0);
}

TEST(GridModelTest, PrefixSumsFollowSizeChanges) {
    GridModel grid(5, 5);
    EXPECT_EQ(grid.RowTop(5), 80);
    grid.SetRowHeight(2, 100);
    EXPECT_EQ(grid.RowTop(3), 132);
    EXPECT_EQ(grid.GetVirtualHeight(), 164);
    grid.InsertRow("", 1);
    EXPECT_EQ(grid.GetVirtualHeight(), 180);
    grid.DeleteRow(0);
    EXPECT_EQ(grid.RowAtOffset(16), 1);
    grid.SetColumnWidth(4, 0);
    EXPECT_EQ(grid.GetVirtualWidth(), 160);
}

}  // namespace
}  // namespace quarrant
