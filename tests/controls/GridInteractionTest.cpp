// The grid's selection, navigation and editing rules without a window: a host stands in for
// the widget, recording what the parent would be told and keeping scroll positions in range.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "controls/GridInteraction.h"
#include "controls/GridModel.h"
#include "controls/GridNotify.h"

using namespace quarrant;

namespace quarrant {
// Cells and ranges in failure messages.
void PrintTo(const CCellID& cell, std::ostream* out) {
    *out << "(" << cell.row << ", " << cell.col << ")";
}
void PrintTo(const CCellRange& range, std::ostream* out) {
    *out << "(" << range.GetMinRow() << ", " << range.GetMinCol() << ")-(" << range.GetMaxRow()
         << ", " << range.GetMaxCol() << ")";
}
}  // namespace quarrant

namespace {

// Cells are 40 x 16 pixels (the metrics without a display); one fixed row and column.
class RecordingHost : public GridHost {
public:
    struct Notification {
        int code;
        int row;
        int col;
        bool operator==(const Notification&) const = default;
    };
    struct Editor {
        int row;
        int col;
        GridEditStart::Way way;
        GridKey key;
    };

    GridModel* model = nullptr;
    GridInteraction* interaction = nullptr;
    GridViewport view{0, 0, 300, 100};
    std::vector<Notification> notifications;
    std::map<int, std::intptr_t> answers;
    std::optional<Editor> editor;
    std::vector<Editor> editorsOpened;
    std::vector<std::pair<int, int>> editsEnded;
    std::vector<std::pair<int, int>> rightButtons;
    std::vector<int> autoSizedColumns;
    std::vector<GridClipboardCommand> clipboard;

    int Count(int code) const {
        return static_cast<int>(
            std::count_if(notifications.begin(), notifications.end(),
                          [code](const Notification& n) { return n.code == code; }));
    }

    GridViewport Viewport() const override { return view; }
    void SetScrollPosition(bool vertical, int position) override {
        const long long size = vertical ? model->GetVirtualHeight() : model->GetVirtualWidth();
        const int limit =
            static_cast<int>(std::max<long long>(0, size - (vertical ? view.height : view.width)));
        (vertical ? view.scrollY : view.scrollX) = std::clamp(position, 0, limit);
    }
    void ScrollStep(bool vertical, int direction) override {
        SetScrollPosition(vertical, (vertical ? view.scrollY : view.scrollX) + direction * 16);
    }
    std::intptr_t Notify(int code, int row, int col) override {
        notifications.push_back({code, row, col});
        auto answer = answers.find(code);
        return answer != answers.end() ? answer->second : 0;
    }
    void RightButtonUp(int row, int col) override { rightButtons.emplace_back(row, col); }
    bool EditEnded(int row, int col) override {
        editsEnded.emplace_back(row, col);
        return true;
    }
    void Repaint() override {}
    void RepaintCell(int, int) override {}
    void SizesChanged() override {}
    bool ValidateEdit(int, int, const std::string& text) override {
        return text.rfind("bad", 0) != 0;
    }
    void OpenEditor(int row, int col, const GridRect&, GridEditStart start) override {
        editor = Editor{row, col, start.way, start.key};
        editorsOpened.push_back(*editor);
    }
    // As the edit box does when it loses the focus: unchanged, no key.
    void CloseEditor() override {
        if (std::optional<Editor> open = std::exchange(editor, std::nullopt)) {
            interaction->EditEnded(open->row, open->col, std::nullopt, GridKey::None, false);
        }
    }
    void TakeFocus(bool) override {}
    void AutoSizeColumn(int col) override { autoSizedColumns.push_back(col); }
    void AutoSizeRow(int) override {}
    int DragDistance() const override { return 10; }
    void StartDrag() override {}
    void Clipboard(GridClipboardCommand command) override { clipboard.push_back(command); }
};

class GridInteractionTest : public ::testing::Test {
protected:
    GridInteractionTest() : m_model(8, 6, 1, 1), m_interaction(m_model, m_host) {
        m_host.model = &m_model;
        m_host.interaction = &m_interaction;
        for (int row = 1; row < 8; ++row) {
            for (int col = 1; col < 6; ++col) {
                m_model.SetItemText(row, col,
                                    "r" + std::to_string(row) + "c" + std::to_string(col));
            }
        }
    }

    // The middle of a cell, in viewport pixels of the unscrolled grid.
    static GridPoint Centre(int row, int col) { return GridPoint{col * 40 + 20, row * 16 + 8}; }
    void Click(int row, int col, bool shift = false, bool ctrl = false) {
        m_interaction.ButtonDown(Centre(row, col), true, shift, ctrl);
        m_interaction.LeftButtonUp();
    }
    void Key(GridKey key, bool shift = false, bool ctrl = false) {
        m_interaction.KeyPress(key, shift, ctrl);
    }
    void Finish(std::optional<std::string> text, GridKey key = GridKey::Enter) {
        const RecordingHost::Editor open = *std::exchange(m_host.editor, std::nullopt);
        m_interaction.EditEnded(open.row, open.col, text, key, true);
    }

    RecordingHost m_host;
    GridModel m_model;
    GridInteraction m_interaction;
};

TEST_F(GridInteractionTest, KeysSkipHiddenRowsAndColumnsAndTakeMergedBlocksWhole) {
    m_model.SetRowHeight(3, 0);
    m_model.SetColumnWidth(4, 0);
    m_model.MergeCells(5, 2, 6, 3);
    struct Case {
        const char* name;
        CCellID from;
        GridKey key;
        bool ctrl;
        CCellID expected;
    };
    const Case cases[] = {
        {"down over a hidden row", {2, 2}, GridKey::Down, false, {4, 2}},
        {"up over it again", {4, 2}, GridKey::Up, false, {2, 2}},
        {"right over a hidden column", {2, 3}, GridKey::Right, false, {2, 5}},
        {"down into a block lands on its master", {4, 3}, GridKey::Down, false, {5, 2}},
        {"down out of a block leaves below it", {6, 3}, GridKey::Down, false, {7, 2}},
        {"right out of a block leaves beside it", {5, 2}, GridKey::Right, false, {5, 5}},
        {"tab at the row end wraps to the next row", {2, 5}, GridKey::Tab, false, {4, 1}},
        {"backtab at the row start wraps back", {4, 1}, GridKey::Backtab, false, {2, 5}},
        {"home goes to the first column", {4, 5}, GridKey::Home, false, {4, 1}},
        {"ctrl+home goes to the first cell", {4, 5}, GridKey::Home, true, {1, 1}},
        {"ctrl+end goes to the last cell", {2, 2}, GridKey::End, true, {7, 5}},
        {"page down moves by the rows in view less one", {1, 1}, GridKey::PageDown, false, {7, 1}},
        {"nothing below the last row", {7, 1}, GridKey::Down, false, {-1, -1}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(m_interaction.NextCell(c.from, c.key, c.ctrl), c.expected) << c.name;
    }
}

TEST_F(GridInteractionTest, ShiftExtendsTheSelectionFromWhereItStartedAndEveryChangeIsNotified) {
    Click(2, 2);
    Key(GridKey::Down, true);
    Key(GridKey::Right, true);
    EXPECT_EQ(m_model.GetSelectedCellRange(), CCellRange(2, 2, 3, 3));
    EXPECT_EQ(m_model.GetFocusCell(), CCellID(3, 3));
    // Tab moves without extending.
    Key(GridKey::Tab, true);
    EXPECT_EQ(m_model.GetSelectedCellRange(), CCellRange(3, 4, 3, 4));
    EXPECT_EQ(m_host.Count(GVN_SELCHANGING), 4);
    EXPECT_EQ(m_host.notifications.back(), (RecordingHost::Notification{GVN_SELCHANGED, 3, 4}));
}

TEST_F(GridInteractionTest, ClicksOnHeadingsSelectWholeColumnsRowsOrEverything) {
    m_model.MergeCells(0, 3, 0, 4);
    struct Case {
        const char* name;
        CCellID clicked;
        CCellRange expected;
    };
    const Case cases[] = {
        {"column heading", {0, 2}, {1, 2, 7, 2}},
        {"merged heading selects every column under it", {0, 4}, {1, 3, 7, 4}},
        {"row heading", {3, 0}, {3, 1, 3, 5}},
        {"corner", {0, 0}, {1, 1, 7, 5}},
    };
    for (const Case& c : cases) {
        Click(c.clicked.row, c.clicked.col);
        EXPECT_EQ(m_model.GetSelectedCellRange(), c.expected) << c.name;
    }
}

TEST_F(GridInteractionTest, CtrlAddsToTheSelectionAndListModeSelectsWholeRows) {
    Click(2, 2);
    Click(4, 4, false, true);
    EXPECT_EQ(m_model.GetSelectedCount(), 2);
    EXPECT_TRUE(m_model.IsCellSelected(2, 2));
    m_model.Switches().listMode = true;
    Click(5, 3);
    EXPECT_EQ(m_model.GetSelectedCellRange(), CCellRange(5, 1, 5, 5));
    EXPECT_EQ(m_model.GetFocusCell(), CCellID(5, 3));
}

TEST_F(GridInteractionTest, AnEditStartsOnlyWhereTheGridAndTheParentAllowIt) {
    m_model.SetFocusCell(CCellID(2, 2));
    Key(GridKey::F2);
    ASSERT_TRUE(m_host.editor.has_value());
    EXPECT_EQ(m_host.editor->key, GridKey::F2);
    EXPECT_EQ(m_host.Count(GVN_BEGINLABELEDIT), 1);
    Finish(std::nullopt);

    m_host.answers[GVN_BEGINLABELEDIT] = -1;
    Key(GridKey::Enter);
    EXPECT_FALSE(m_host.editor.has_value());
    m_host.answers.clear();

    m_model.SetItemState(2, 2, kCellReadOnly);
    Key(GridKey::F2);
    m_model.SetItemState(2, 2, 0);
    m_model.SetEditable(false);
    m_interaction.DoubleClick(Centre(2, 2));
    EXPECT_FALSE(m_host.editor.has_value());
    EXPECT_EQ(m_host.Count(GVN_BEGINLABELEDIT), 2);
    EXPECT_EQ(m_host.Count(NM_DBLCLK), 1);
}

TEST_F(GridInteractionTest, AnEditedTextStaysOnlyWhenValidatedAndAccepted) {
    struct Case {
        const char* name;
        std::optional<std::string> typed;
        std::intptr_t parentAnswer;
        std::string stays;
        bool modified;
        int parentAsked;
    };
    const Case cases[] = {
        {"accepted", "new", 0, "new", true, 1},
        {"refused by the parent", "new", -1, "r2c2", false, 1},
        {"refused by validation, parent not asked", "bad text", 0, "r2c2", false, 0},
        {"unchanged", std::nullopt, 0, "r2c2", false, 0},
    };
    for (const Case& c : cases) {
        GridModel model(4, 4, 1, 1);
        model.SetItemText(2, 2, "r2c2");
        RecordingHost host;
        GridInteraction interaction(model, host);
        host.model = &model;
        host.interaction = &interaction;
        host.answers[GVN_ENDLABELEDIT] = c.parentAnswer;
        interaction.EditCell(2, 2, GridEditStart{GridEditStart::Way::DoubleClick});
        ASSERT_TRUE(host.editor.has_value()) << c.name;
        EXPECT_TRUE(model.GetCell(2, 2)->IsEditing()) << c.name;
        host.editor.reset();
        interaction.EditEnded(2, 2, c.typed, GridKey::Enter, true);
        EXPECT_EQ(model.GetItemText(2, 2), c.stays) << c.name;
        EXPECT_EQ(model.GetModified(2, 2), c.modified) << c.name;
        EXPECT_EQ(host.Count(GVN_ENDLABELEDIT), c.parentAsked) << c.name;
        EXPECT_FALSE(model.GetCell(2, 2)->IsEditing()) << c.name;
        // The end-of-edit message always comes.
        EXPECT_EQ(host.editsEnded, (std::vector<std::pair<int, int>>{{2, 2}})) << c.name;
    }
}

TEST_F(GridInteractionTest, AnEditEndedByANavigationKeyGoesOnInTheNextCell) {
    m_model.SetFocusCell(CCellID(2, 2));
    m_interaction.EditCell(2, 2, GridEditStart{GridEditStart::Way::Character});
    Finish("5", GridKey::Down);
    EXPECT_EQ(m_model.GetItemText(2, 2), "5");
    EXPECT_EQ(m_model.GetFocusCell(), CCellID(3, 2));
    ASSERT_TRUE(m_host.editor.has_value());
    EXPECT_EQ(m_host.editor->row, 3);
    EXPECT_EQ(m_host.editor->key, GridKey::Down);
    // Enter ends without moving on.
    Finish(std::nullopt, GridKey::Enter);
    EXPECT_FALSE(m_host.editor.has_value());
    EXPECT_EQ(m_model.GetFocusCell(), CCellID(3, 2));
}

TEST_F(GridInteractionTest, APressElsewhereEndsTheEditFirst) {
    m_interaction.EditCell(2, 2, GridEditStart{});
    Click(4, 4);
    EXPECT_FALSE(m_host.editor.has_value());
    ASSERT_EQ(m_host.editsEnded.size(), 1u);
    EXPECT_EQ(m_model.GetFocusCell(), CCellID(4, 4));
}

TEST_F(GridInteractionTest, AHeadingBorderResizesItsColumnAndADoubleClickFitsIt) {
    const GridPoint border{3 * 40 - 1, 8};  // the last pixel of column 2
    EXPECT_EQ(m_interaction.Hover(border), GridCursor::SizeColumn);
    EXPECT_EQ(m_interaction.Hover(Centre(0, 2)), GridCursor::Normal);
    m_interaction.ButtonDown(border, true, false, false);
    m_interaction.LeftDrag(GridPoint{border.x + 25, 8}, false);
    m_interaction.LeftButtonUp();
    EXPECT_EQ(m_model.GetColumnWidth(2), 65);
    m_interaction.DoubleClick(GridPoint{3 * 40 + 25 - 1, 8});
    EXPECT_EQ(m_host.autoSizedColumns, std::vector<int>{2});
}

TEST_F(GridInteractionTest, TheRightButtonFocusesTheCellAndReportsWhereItWas) {
    struct Case {
        const char* name;
        GridPoint point;
        std::pair<int, int> reported;
        CCellID focus;
    };
    const Case cases[] = {
        {"a cell", Centre(3, 4), {3, 4}, {3, 4}},
        {"a heading: the focus goes below it", Centre(0, 3), {0, 3}, {1, 3}},
        {"outside the cells: the focus stays", GridPoint{299, 99}, {-1, -1}, {1, 3}},
    };
    for (const Case& c : cases) {
        m_interaction.RightButtonUp(c.point);
        EXPECT_EQ(m_host.rightButtons.back(), c.reported) << c.name;
        EXPECT_EQ(m_model.GetFocusCell(), c.focus) << c.name;
        EXPECT_EQ(m_host.notifications.back().code, NM_RCLICK) << c.name;
    }
}

TEST_F(GridInteractionTest, TheWheelScrollsByRowsAndTheFocusCellIsScrolledIntoView) {
    m_model.SetRowCount(40);
    EXPECT_EQ(m_interaction.WheelScrollY(-1, 3), 3 * 16);
    m_interaction.EnsureVisible(20, 1);
    // Row 20 ends at 21 * 16 = 336; the viewport is 100 pixels high.
    EXPECT_EQ(m_host.view.scrollY, 336 - 100);
    m_interaction.EnsureVisible(2, 1);
    EXPECT_EQ(m_host.view.scrollY, 16);
}

TEST_F(GridInteractionTest, DeleteClearsSelectedTextsButNotReadOnlyOnesAndClipboardKeysGoOut) {
    m_model.SetSelectedRange(CCellRange(2, 2, 3, 3));
    m_model.SetItemState(3, 3, kCellSelected | kCellReadOnly);
    Key(GridKey::Delete);
    EXPECT_EQ(m_model.GetItemText(2, 2), "");
    EXPECT_TRUE(m_model.GetModified(3, 2));
    EXPECT_EQ(m_model.GetItemText(3, 3), "r3c3");
    Key(GridKey::C, false, true);
    Key(GridKey::Delete, true);
    Key(GridKey::Insert, true);
    EXPECT_EQ(m_host.clipboard, (std::vector<GridClipboardCommand>{GridClipboardCommand::Copy,
                                                                   GridClipboardCommand::Cut,
                                                                   GridClipboardCommand::Paste}));
    EXPECT_FALSE(m_interaction.KeyPress(GridKey::C, false, false));  // a typed "c"
}

}  // namespace
