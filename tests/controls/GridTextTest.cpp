#include <gtest/gtest.h>

#include <ostream>

#include "controls/GridModel.h"
#include "controls/GridText.h"

namespace quarrant {
namespace {

// Stores every pasted field as the grid's validation path would: text and modified flag.
PasteValidator StoreAll(GridModel& grid) {
    return [&grid](int row, int col, const std::string& text) {
        grid.SetItemText(row, col, text);
        grid.SetModified(true, row, col);
        return true;
    };
}

TEST(GridTextTest, SavingTwoRowsOfThreeColumnsWritesTwoLinesWithTwoSeparatorsEach) {
    GridModel grid(2, 3, 1, 0);
    grid.SetItemText(0, 0, "a");
    grid.SetItemText(0, 1, "b");
    grid.SetItemText(0, 2, "c");
    grid.SetItemText(1, 0, "1");
    grid.SetItemText(1, 2, "3");
    EXPECT_EQ(GridSaveText(grid, ','), "a,b,c\r\n1,,3\r\n");
}

TEST(GridTextTest, LoadingASavedFileGivesHeadedColumnsAndOneDataRow) {
    GridModel grid;
    GridLoadText(grid, "a,b,c\r\n1,,3\r\n", ',');
    ASSERT_EQ(grid.GetColumnCount(), 3);
    ASSERT_EQ(grid.GetRowCount(), 2);
    EXPECT_EQ(grid.GetItemText(0, 0), "a");
    EXPECT_EQ(grid.GetItemText(0, 2), "c");
    EXPECT_EQ(grid.GetItemText(1, 0), "1");
    EXPECT_EQ(grid.GetItemText(1, 1), "");
    EXPECT_EQ(grid.GetItemText(1, 2), "3");
    EXPECT_TRUE(grid.GetModified(1, 0));
    EXPECT_TRUE(grid.GetModified(1, 2));
    EXPECT_EQ(grid.GetItemFormat(0, 1), kDtCenter | kDtVCenter | kDtSingleLine);
}

TEST(GridTextTest, LoadingReplacesWhatTheGridHeld) {
    GridModel grid(5, 5, 1, 1);
    grid.SetRowData(2, 9);
    GridLoadText(grid, "x\ty\n1\t2\n", '\t');
    EXPECT_EQ(grid.GetRowCount(), 2);
    EXPECT_EQ(grid.GetColumnCount(), 2);
    EXPECT_EQ(grid.GetItemText(1, 1), "2");
    EXPECT_EQ(grid.GetRowData(2), 0);
}

TEST(GridTextTest, FieldsBeyondTheHeadedColumnsAreDropped) {
    GridModel grid;
    GridLoadText(grid, "a;b\n1;2;3;4\n", ';');
    EXPECT_EQ(grid.GetColumnCount(), 2);
    EXPECT_EQ(grid.GetItemText(1, 1), "2");
}

TEST(GridTextTest, LongLinesAreReadWhole) {
    GridModel grid;
    const std::string longField(3000, 'x');
    GridLoadText(grid, "h1,h2\n" + longField + ",tail\n", ',');
    EXPECT_EQ(grid.GetRowCount(), 2);
    EXPECT_EQ(grid.GetItemText(1, 0), longField);
    EXPECT_EQ(grid.GetItemText(1, 1), "tail");
}

TEST(GridTextTest, AnEmptyFileLeavesAnEmptyGrid) {
    GridModel grid(3, 3);
    GridLoadText(grid, "", ',');
    EXPECT_EQ(grid.GetRowCount(), 0);
    EXPECT_EQ(grid.GetColumnCount(), 0);
}

struct SplitCase {
    const char* name;
    const char* line;
    std::vector<std::string> fields;
};

void PrintTo(const SplitCase& c, std::ostream* os) {
    *os << c.name;
}

class SplitGridLineTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitGridLineTest, SplitsAtTheSeparator) {
    EXPECT_EQ(SplitGridLine(GetParam().line, ','), GetParam().fields) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SplitGridLineTest,
    ::testing::Values(SplitCase{"ThreeFields", "a,b,c", {"a", "b", "c"}},
                      SplitCase{"TwoSeparatorsInARowGiveAnEmptyField", "a,,b", {"a", "", "b"}},
                      SplitCase{"NothingAfterTheLastSeparatorGivesNoField", "a,b,", {"a", "b"}},
                      SplitCase{"LeadingSeparatorGivesAnEmptyField", ",a", {"", "a"}},
                      SplitCase{"EmptyLineHasNoField", "", {}},
                      SplitCase{"BlanksAreKept", " a , b", {" a ", " b"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GridTextTest, CopyingATwoByTwoSelectionGivesTabsAndALineFeed) {
    GridModel grid(3, 3);
    grid.SetItemText(1, 1, "x");
    grid.SetItemText(1, 2, "y");
    grid.SetItemText(2, 1, "z");
    grid.SetItemText(2, 2, "w");
    grid.SetSelectedRange(CCellRange(1, 1, 2, 2));
    const std::string text = BuildClipboardText(grid, grid.GetSelectedCellRange());
    EXPECT_EQ(text, "x\ty\nz\tw");
    EXPECT_EQ(text.c_str()[text.size()], '\0');
}

TEST(GridTextTest, CopyLeavesOutHiddenRowsAndColumnsAndUnselectedTexts) {
    GridModel grid(4, 4);
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            grid.SetItemText(row, col, std::string(1, static_cast<char>('a' + row * 4 + col)));
        }
    }
    grid.SetSelectedRange(CCellRange(0, 0, 2, 2));
    grid.SetItemState(0, 0, 0);  // deselected: an empty field
    grid.SetRowHeight(1, 0);
    grid.SetColumnWidth(1, 0);
    EXPECT_EQ(BuildClipboardText(grid, CCellRange(0, 0, 2, 2)), "\tc\ni\tk");
}

TEST(GridTextTest, PastingTwoLinesFillsCellsRightAndDown) {
    GridModel grid(4, 4, 1, 1);
    const CCellRange pasted = PasteGridText(grid, 1, 1, "a,b\nc", StoreAll(grid));
    EXPECT_EQ(grid.GetItemText(1, 1), "a");
    EXPECT_EQ(grid.GetItemText(1, 2), "b");
    EXPECT_EQ(grid.GetItemText(2, 1), "c");
    EXPECT_EQ(grid.GetItemText(2, 2), "");
    EXPECT_TRUE(grid.GetModified(1, 2));
    EXPECT_EQ(pasted, CCellRange(1, 1, 2, 2));
}

TEST(GridTextTest, PastedFieldsAreTrimmedAndTabsSeparateLikeCommas) {
    GridModel grid(3, 4);
    PasteGridText(grid, 0, 0, " one \ttwo,three\r\n  four\r\n", StoreAll(grid));
    EXPECT_EQ(grid.GetItemText(0, 0), "one");
    EXPECT_EQ(grid.GetItemText(0, 1), "two");
    EXPECT_EQ(grid.GetItemText(0, 2), "three");
    EXPECT_EQ(grid.GetItemText(1, 0), "four");
    EXPECT_EQ(grid.GetItemText(2, 0), "");
}

TEST(GridTextTest, PasteSkipsHiddenRowsAndColumnsAndDropsWhatFallsOutside) {
    GridModel grid(3, 3);
    grid.SetRowHeight(1, 0);
    grid.SetColumnWidth(1, 0);
    const CCellRange pasted = PasteGridText(grid, 0, 0, "a,b,c\nd,e", StoreAll(grid));
    EXPECT_EQ(grid.GetItemText(0, 0), "a");
    EXPECT_EQ(grid.GetItemText(0, 1), "");
    EXPECT_EQ(grid.GetItemText(0, 2), "b");
    EXPECT_EQ(grid.GetItemText(2, 0), "d");
    EXPECT_EQ(grid.GetItemText(2, 2), "e");
    EXPECT_EQ(pasted, CCellRange(0, 0, 2, 2));
}

TEST(GridTextTest, PastedCellsAreDeselectedAndRejectedFieldsLeaveTheCell) {
    GridModel grid(2, 2);
    grid.SetItemText(0, 1, "keep");
    grid.SetSelectedRange(CCellRange(0, 0, 1, 1));
    auto store = [&grid](int row, int col, const std::string& text) {
        if (col == 1) {
            return false;
        }
        grid.SetItemText(row, col, text);
        return true;
    };
    PasteGridText(grid, 0, 0, "x\ty", store);
    EXPECT_EQ(grid.GetItemText(0, 0), "x");
    EXPECT_EQ(grid.GetItemText(0, 1), "keep");
    EXPECT_FALSE(grid.IsCellSelected(0, 0));
    EXPECT_FALSE(grid.IsCellSelected(0, 1));
    EXPECT_TRUE(grid.IsCellSelected(1, 1));
}

TEST(GridTextTest, PasteOutsideTheGridDoesNothing) {
    GridModel grid(2, 2);
    EXPECT_FALSE(PasteGridText(grid, 5, 0, "a", StoreAll(grid)).IsValid());
}

}  // namespace
}  // namespace quarrant
