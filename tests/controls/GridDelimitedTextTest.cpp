#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>

#include "base/FileIO.h"
#include "controls/GridDelimitedText.h"
#include "controls/GridModel.h"

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

// A folder of its own under /tmp, removed at the end.
class TempFolder {
public:
    TempFolder() {
        char pattern[] = "/tmp/quarrant-grid-XXXXXX";
        m_path = ::mkdtemp(pattern);
    }
    ~TempFolder() { std::filesystem::remove_all(m_path); }
    std::string Path(const char* name) const { return m_path + "/" + name; }
    int Files() const {
        int count = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(m_path)) {
            ++count;
        }
        return count;
    }

private:
    std::string m_path;
};

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(GridDelimitedTextTest, SavingTwoRowsOfThreeColumnsWritesTwoLinesWithTwoSeparatorsEach) {
    GridModel grid(2, 3, 1, 0);
    grid.SetItemText(0, 0, "a");
    grid.SetItemText(0, 1, "b");
    grid.SetItemText(0, 2, "c");
    grid.SetItemText(1, 0, "1");
    grid.SetItemText(1, 2, "3");
    EXPECT_EQ(GridSaveText(grid, ','), "a,b,c\r\n1,,3\r\n");
}

TEST(GridDelimitedTextTest, LoadingASavedFileGivesHeadedColumnsAndOneDataRow) {
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

TEST(GridDelimitedTextTest, LoadingReplacesWhatTheGridHeld) {
    GridModel grid(5, 5, 1, 1);
    grid.SetRowData(2, 9);
    GridLoadText(grid, "x\ty\n1\t2\n", '\t');
    EXPECT_EQ(grid.GetRowCount(), 2);
    EXPECT_EQ(grid.GetColumnCount(), 2);
    EXPECT_EQ(grid.GetItemText(1, 1), "2");
    EXPECT_EQ(grid.GetRowData(2), 0);
}

TEST(GridDelimitedTextTest, FieldsBeyondTheHeadedColumnsAreDropped) {
    GridModel grid;
    GridLoadText(grid, "a;b\n1;2;3;4\n", ';');
    EXPECT_EQ(grid.GetColumnCount(), 2);
    EXPECT_EQ(grid.GetItemText(1, 1), "2");
}

TEST(GridDelimitedTextTest, LongLinesAreReadWhole) {
    GridModel grid;
    const std::string longField(3000, 'x');
    GridLoadText(grid, "h1,h2\n" + longField + ",tail\n", ',');
    EXPECT_EQ(grid.GetRowCount(), 2);
    EXPECT_EQ(grid.GetItemText(1, 0), longField);
    EXPECT_EQ(grid.GetItemText(1, 1), "tail");
}

TEST(GridDelimitedTextTest, AnEmptyFileLeavesAnEmptyGrid) {
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

TEST(GridDelimitedTextTest, CopyingATwoByTwoSelectionGivesTabsAndALineFeed) {
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

TEST(GridDelimitedTextTest, CopyLeavesOutHiddenRowsAndColumnsAndUnselectedTexts) {
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

TEST(GridDelimitedTextTest, PastingTwoLinesFillsCellsRightAndDown) {
    GridModel grid(4, 4, 1, 1);
    const CCellRange pasted = PasteGridText(grid, 1, 1, "a,b\nc", StoreAll(grid));
    EXPECT_EQ(grid.GetItemText(1, 1), "a");
    EXPECT_EQ(grid.GetItemText(1, 2), "b");
    EXPECT_EQ(grid.GetItemText(2, 1), "c");
    EXPECT_EQ(grid.GetItemText(2, 2), "");
    EXPECT_TRUE(grid.GetModified(1, 2));
    EXPECT_EQ(pasted, CCellRange(1, 1, 2, 2));
}

TEST(GridDelimitedTextTest, PastedFieldsAreTrimmedAndTabsSeparateLikeCommas) {
    GridModel grid(3, 4);
    PasteGridText(grid, 0, 0, " one \ttwo,three\r\n  four\r\n", StoreAll(grid));
    EXPECT_EQ(grid.GetItemText(0, 0), "one");
    EXPECT_EQ(grid.GetItemText(0, 1), "two");
    EXPECT_EQ(grid.GetItemText(0, 2), "three");
    EXPECT_EQ(grid.GetItemText(1, 0), "four");
    EXPECT_EQ(grid.GetItemText(2, 0), "");
}

TEST(GridDelimitedTextTest, PasteSkipsHiddenRowsAndColumnsAndDropsWhatFallsOutside) {
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

TEST(GridDelimitedTextTest, PastedCellsAreDeselectedAndRejectedFieldsLeaveTheCell) {
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

TEST(GridDelimitedTextTest, PasteOutsideTheGridDoesNothing) {
    GridModel grid(2, 2);
    EXPECT_FALSE(PasteGridText(grid, 5, 0, "a", StoreAll(grid)).IsValid());
}

TEST(GridDelimitedTextTest, AFileSavedWholeIsReadBackWhole) {
    TempFolder folder;
    GridModel grid(3, 2, 1, 0);
    grid.SetItemText(0, 0, "a");
    grid.SetItemText(2, 1, "z");
    const Status saved = SaveGridFile(grid, folder.Path("grid.txt"), ',');
    ASSERT_TRUE(saved) << saved.Message();
    const Result<GridFileBytes> read = ReadGridFile(folder.Path("grid.txt"));
    ASSERT_TRUE(read);
    EXPECT_EQ(read.Value().bytes, "a,\r\n,\r\n,z\r\n");
    EXPECT_TRUE(read.Value().readStatus);
    EXPECT_EQ(folder.Files(), 1);
}

TEST(GridDelimitedTextTest, ASaveThatFailsWhileWritingKeepsTheOldFile) {
    TempFolder folder;
    const std::string path = folder.Path("grid.txt");
    std::ofstream(path, std::ios::binary) << "old contents\r\n";
    GridModel grid(40, 3);
    for (int row = 0; row < 40; ++row) {
        grid.SetItemText(row, 1, "a text long enough to pass the limit");
    }
    // Files may grow to 64 bytes only, as on a disk that is full.
    rlimit previous{};
    ::getrlimit(RLIMIT_FSIZE, &previous);
    rlimit small = previous;
    small.rlim_cur = 64;
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &small);
    const Status saved = SaveGridFile(grid, path, ',');
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(saved.Message(), "Unable to save grid list");
    EXPECT_EQ(Bytes(path), "old contents\r\n");
    EXPECT_EQ(folder.Files(), 1);  // no half-written file left beside it
}

TEST(GridDelimitedTextTest, FilesThatCannotBeMadeOrReadAreReportedWithTheirMessages) {
    TempFolder folder;
    GridModel grid(1, 1);
    const std::string missingFolder = folder.Path("no/such/folder/grid.txt");
    EXPECT_EQ(SaveGridFile(grid, missingFolder, ',').Message(),
              FileOpenErrorMessage(missingFolder));
    const std::string aFolder = folder.Path("sub");
    std::filesystem::create_directory(aFolder);
    EXPECT_EQ(SaveGridFile(grid, aFolder, ',').Message(), FileOpenErrorMessage(aFolder));
    const std::string missingFile = folder.Path("missing.txt");
    EXPECT_EQ(ReadGridFile(missingFile).Message(), FileOpenErrorMessage(missingFile));
    // A folder opens but cannot be read.
    const Result<GridFileBytes> read = ReadGridFile(aFolder);
    ASSERT_TRUE(read);
    EXPECT_EQ(read.Value().readStatus.Message(), "Unable to load grid data");
    EXPECT_EQ(read.Value().bytes, "");
}

}  // namespace
}  // namespace quarrant
