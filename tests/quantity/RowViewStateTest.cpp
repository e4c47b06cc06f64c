// The row views' rules without a window: structure quantities, cell edits, the listing and its
// filter, and rows made from an entry with deletion, undo and redo.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/GbkText.h"
#include "controls/GridModel.h"
#include "project/GridModelRows.h"
#include "project/Project.h"
#include "project/TableRowStore.h"
#include "quantity/RowColumns.h"
#include "quantity/RowListing.h"
#include "quantity/RowQuantities.h"
#include "quantity/RowViewState.h"

using namespace quarrant;

namespace {

std::string G(std::string_view utf8) {
    return Utf8ToGbk(utf8);
}

QuantityRowPtr AddTop(QuantityTable& table, std::int32_t id, std::string_view utf8Name,
                      std::string count = "1", std::string unit = "m") {
    auto row = std::make_shared<QuantityRow>();
    row->identifier = id;
    row->itemName = G(utf8Name);
    row->count = std::move(count);
    row->unit = std::move(unit);
    table.rows.SetAt(id, row);
    table.nextRowIdentifier = std::max(table.nextRowIdentifier, id);
    return row;
}

QuantityRowPtr AddChild(QuantityRow& top, std::int32_t id, std::string quantity,
                        std::string unitWeight = {}) {
    auto row = std::make_shared<QuantityRow>();
    row->identifier = id;
    row->parent = &top;
    row->quantity = std::move(quantity);
    row->unitWeight = std::move(unitWeight);
    top.children.SetAt(id, row);
    return row;
}

// The listing as lines of UTF-8 cells joined by "|".
std::vector<std::string> Listed(const QuantityTable& table, const RowSelection& selection = {}) {
    GridModel grid;
    ResetRowGrid(grid, table.headings);
    GridModelRows rows(grid);
    ListRows(table.rows, selection, rows, 0);
    std::vector<std::string> lines;
    for (int row = 1; row < grid.GetRowCount(); ++row) {
        std::string line;
        for (int col : {kColNumber, kColItemName, kColQuantity}) {
            line += (col == 0 ? "" : "|") + GbkToUtf8(grid.GetItemText(row, col));
        }
        lines.push_back(line);
    }
    return lines;
}

struct Workspace {
    Project project;
    QuantityTable& table = project.dataTable;
    TableRowStore store{table};
    Workspace() { table.SetDefaultHeadings(); }
};

// An entry of one structure with two used component lines (of the 19) and entity lists.
QuantityEntry TwoComponentEntry(std::string_view utf8Name) {
    QuantityEntry entry;
    entry.texts[kEntryItemName] = G(utf8Name);
    entry.texts[kEntryCount] = "2";
    entry.texts[kEntryUnit] = "m";
    entry.texts[kEntryQuantity] = "5.000";
    entry.entities = {7, 8};
    for (int i : {0, 3}) {
        EntryComponent& component = entry.components[static_cast<std::size_t>(i)];
        component.used = 1;
        component.texts[kEntryItemName] = G(i == 0 ? "上弦" : "下弦");
        component.texts[kEntryCount] = "1";
        component.texts[kEntryLength] = "2.5";
        component.texts[kEntryUnit] = "m";
        component.texts[kEntryQuantity] = "2.50";
        component.lengthEntities = {10 + i};
    }
    entry.components[1].texts[kEntryItemName] = "unused";
    return entry;
}

}  // namespace

TEST(StructureQuantity, SumsTheChildrenOrWeighsThemWhenTheUnitIsKg) {
    struct Case {
        const char* name;
        const char* unit;
        const char* count;
        std::vector<std::pair<std::string, std::string>> children;  // 工程量, 单位重量
        const char* expected;
    };
    const Case cases[] = {
        {"square metres summed", "m^2", "2", {{"1.5", ""}, {"2.5", ""}}, "8.000"},
        {"kg weighs each child", "kg", "2", {{"1.5", "10"}, {"2.5", "20"}}, "130.000"},
        {"the sum is single precision",
         "m",
         "100000",
         {{"0.1", ""}, {"0.1", ""}, {"0.1", ""}},
         "30000.001"},
        {"a unit that only starts with kg is not weighed", "kg ", "1", {{"2", "10"}}, "2.000"},
    };
    for (const Case& c : cases) {
        QuantityRow top;
        top.unit = c.unit;
        top.count = c.count;
        std::int32_t id = 1;
        for (const auto& [quantity, weight] : c.children) {
            AddChild(top, ++id, quantity, weight);
        }
        RecomputeStructureQuantity(top);
        EXPECT_EQ(top.quantity, c.expected) << c.name;
    }
}

TEST(CellEdit, LengthOfACubicComponentRecomputesItAndItsStructure) {
    Workspace ws;
    QuantityRowPtr top = AddTop(ws.table, 1, "钢屋架", "1", "m^3");
    QuantityRowPtr child = AddChild(*top, 2, "0.400");
    child->unit = "m^3";
    child->count = "2";
    child->length = "1";
    child->width = "0.5";
    child->height = "0.4";
    RowViewState state(ws.store, std::nullopt);

    RowViewState::CellEdit edit = state.EditCell(*child, kColLength, "3");
    EXPECT_TRUE(edit.accepted);
    EXPECT_EQ(child->length, "3");
    EXPECT_EQ(child->quantity, "1.200");
    EXPECT_EQ(edit.structure, top.get());
    EXPECT_EQ(top->quantity, "1.200");
    EXPECT_EQ(ws.project.modified, 1);

    // A formula that does not evaluate keeps the quantity, without a message.
    edit = state.EditCell(*child, kColWidth, "0.5*");
    EXPECT_TRUE(edit.accepted);
    EXPECT_EQ(child->width, "0.5*");
    EXPECT_EQ(child->quantity, "1.200");

    // The count of a top-level row changes only its structure quantity; a child's count picks
    // the formula by the filled fields (without 宽 and 面积: 数量*(体积)).
    edit = state.EditCell(*top, kColCount, "3");
    EXPECT_EQ(top->quantity, "3.600");
    EXPECT_EQ(child->quantity, "1.200");
    child->width.clear();
    child->volume = "0.25";
    edit = state.EditCell(*child, kColCount, "4");
    EXPECT_EQ(child->quantity, "1.000");
    EXPECT_EQ(top->quantity, "3.000");
}

TEST(CellEdit, RefusedEditsKeepTheStoredTextAndTheProjectUnchanged) {
    struct Case {
        const char* name;
        int col;
        const char* text;
    };
    const Case cases[] = {
        {"长 emptied", kColLength, ""},
        {"empty 宽 filled", kColWidth, "2"},
        {"empty 面积 filled", kColArea, "2"},
        {"体积 emptied", kColVolume, ""},
        {"单位 is not editable", kColUnit, "m^2"},
        {"工程量 is not editable", kColQuantity, "9"},
    };
    for (const Case& c : cases) {
        Workspace ws;
        QuantityRowPtr top = AddTop(ws.table, 1, "梁");
        QuantityRowPtr child = AddChild(*top, 2, "3.000");
        child->unit = "m";
        child->count = "1";
        child->length = "3";
        child->volume = "1";
        const std::string before = *RowField(*child, c.col);
        RowViewState state(ws.store, std::nullopt);
        RowViewState::CellEdit edit = state.EditCell(*child, c.col, c.text);
        EXPECT_FALSE(edit.accepted) << c.name;
        EXPECT_EQ(edit.cellText, before) << c.name;
        EXPECT_EQ(*RowField(*child, c.col), before) << c.name;
        EXPECT_EQ(child->quantity, "3.000") << c.name;
        EXPECT_EQ(ws.project.modified, 0) << c.name;
    }
}

TEST(Listing, NewestRowsFirstAndIdentifierSixteenAfterTheLowerOnes) {
    Workspace ws;
    QuantityRowPtr first = AddTop(ws.table, 1, "甲");
    AddChild(*first, 4, "1.5");
    AddTop(ws.table, 2, "乙");
    AddTop(ws.table, 3, "丙");
    AddTop(ws.table, 16, "丁");
    EXPECT_EQ(Listed(ws.table), (std::vector<std::string>{"1|丙|0.000", "2|乙|0.000", "3|甲|1.500",
                                                          "||1.5", "4|丁|0.000"}));
}

TEST(Listing, WindowsAndTheFilterTakeTheirRowsNumberedFromOne) {
    Workspace ws;
    QuantityRowPtr a = AddTop(ws.table, 1, "钢屋架");
    AddChild(*a, 5, "2");
    QuantityRowPtr b = AddTop(ws.table, 2, "钢柱");
    b->drawingName = G("一层");
    QuantityRowPtr c = AddTop(ws.table, 3, "钢屋架");
    c->drawingName = G("一层");
    AddChild(*c, 6, "4");

    RowSelection drawing;
    drawing.drawingName = G("一层");
    EXPECT_EQ(Listed(ws.table, drawing),
              (std::vector<std::string>{"1|钢屋架|4.000", "||4", "2|钢柱|0.000"}));

    std::optional<RowSelection> filtered =
        FilterChoiceSelection({}, kItemNameCategory, G("钢屋架"));
    ASSERT_TRUE(filtered.has_value());
    EXPECT_EQ(Listed(ws.table, *filtered),
              (std::vector<std::string>{"1|钢屋架|4.000", "||4", "2|钢屋架|2.000", "||2"}));
    // The root and the category list everything again.
    for (const char* kind : {"", kFilterRootText}) {
        EXPECT_EQ(Listed(ws.table, *FilterChoiceSelection({}, kind, {})).size(), 5u);
    }
    EXPECT_EQ(ItemNamesOf(ws.table.rows, drawing),
              (std::vector<std::string>{G("钢屋架"), G("钢柱")}));
}

TEST(Listing, ShorterListingDropsSurplusRowsAndForgetsTheirRows) {
    Workspace ws;
    QuantityRowPtr top = AddTop(ws.table, 1, "甲");
    AddChild(*top, 2, "1");
    AddTop(ws.table, 3, "乙");
    GridModel grid;
    ResetRowGrid(grid, ws.table.headings);
    GridModelRows rows(grid);
    EXPECT_EQ(ListRows(ws.table.rows, {}, rows, 1), 2);
    EXPECT_EQ(grid.GetRowCount(), 4);
    EXPECT_EQ(grid.GetRowHeight(0), kHeadingRowHeight);
    EXPECT_EQ(grid.GetRowHeight(3), kDataRowHeight);
    ws.table.rows.RemoveKey(1);
    EXPECT_EQ(ListRows(ws.table.rows, {}, rows, 1), -1);
    EXPECT_EQ(grid.GetRowCount(), 2);
    EXPECT_EQ(grid.GetRowData(2), 0);
    EXPECT_EQ(grid.GetRowData(3), 0);
}

TEST(AddEntry, MakesAStructureRowWithOneChildPerUsedComponent) {
    Workspace ws;
    ws.table.nextRowIdentifier = 4;
    RowViewState data(ws.store, std::nullopt);
    const QuantityEntry entry = TwoComponentEntry("钢屋架");
    Result<QuantityRowPtr> made = data.AddEntry(entry);
    ASSERT_TRUE(made.Ok());
    const QuantityRowPtr& top = made.Value();
    EXPECT_EQ(top->identifier, 5);
    EXPECT_EQ(top->itemName, G("钢屋架"));
    EXPECT_EQ(top->count, "2");
    EXPECT_TRUE(top->drawingName.empty());
    EXPECT_TRUE(top->list1.empty());
    ASSERT_EQ(top->children.size(), 2u);
    EXPECT_EQ((*top->children.Lookup(6))->itemName, G("上弦"));
    EXPECT_EQ((*top->children.Lookup(7))->length, "2.5");
    EXPECT_TRUE((*top->children.Lookup(7))->list2.empty());
    EXPECT_EQ(ws.table.nextRowIdentifier, 7);
    EXPECT_EQ(ws.project.modified, 1);

    // A drawing window gives its drawing name and the entity lists.
    RowViewState drawing(ws.store, G("一层"));
    const QuantityRowPtr drawn = drawing.AddEntry(entry).Value();
    EXPECT_EQ(drawn->drawingName, G("一层"));
    EXPECT_EQ(drawn->list1, (std::vector<std::int32_t>{7, 8}));
    EXPECT_EQ((*drawn->children.Lookup(10))->list2, (std::vector<std::int32_t>{13}));
    EXPECT_TRUE((*drawn->children.Lookup(10))->drawingName.empty());

    // Identifiers used up (a damaged file may claim the last one): refused, nothing changes.
    ws.table.nextRowIdentifier = INT32_MAX - 2;
    Result<QuantityRowPtr> refused = data.AddEntry(entry);
    EXPECT_FALSE(refused.Ok());
    EXPECT_EQ(GbkToUtf8(refused.Message()), "数据行的编号已用完，不能再添加数据。");
    EXPECT_EQ(ws.table.rows.size(), 2u);
    EXPECT_EQ(data.Records().size(), 1u);
}

TEST(UndoRedo, DeleteUndoRedoAndANewAdditionDiscardsTheUndoneRecord) {
    Workspace ws;
    RowViewState state(ws.store, std::nullopt);
    EXPECT_FALSE(state.CanUndo());
    EXPECT_FALSE(state.Undo().has_value());
    QuantityRowPtr top = state.AddEntry(TwoComponentEntry("钢屋架")).Value();
    const std::int32_t id = top->identifier;
    std::weak_ptr<QuantityRow> watched = top;
    QuantityRow* topRow = top.get();
    top.reset();

    // A top-level row takes its children.
    EXPECT_EQ(state.DeleteRow(*topRow), id);
    EXPECT_TRUE(ws.table.rows.empty());
    EXPECT_FALSE(watched.expired());  // owned by the undo record
    EXPECT_TRUE(state.CanUndo());
    EXPECT_FALSE(state.CanRedo());

    // Undo brings it back under the same identifier and selects it; redo removes it again.
    EXPECT_EQ(state.Undo(), id);
    ASSERT_TRUE(ws.table.rows.Contains(id));
    EXPECT_EQ((*ws.table.rows.Lookup(id))->children.size(), 2u);
    EXPECT_TRUE(state.CanRedo());
    EXPECT_EQ(state.Redo(), id);
    EXPECT_FALSE(ws.table.rows.Contains(id));

    // Undo the deletion and the addition; a new addition discards both undone records, and the
    // rows only they held are freed.
    state.Undo();
    EXPECT_EQ(state.Undo(), id + 2);  // the last row the record names: the second child
    EXPECT_TRUE(ws.table.rows.empty());
    EXPECT_TRUE(state.CanRedo());
    EXPECT_TRUE(state.AddEntry(TwoComponentEntry("钢柱")).Ok());
    EXPECT_TRUE(watched.expired());
    EXPECT_FALSE(state.CanRedo());
    EXPECT_FALSE(state.Redo().has_value());
    EXPECT_EQ(state.Records().size(), 1u);

    // Deleting a child, then the drawing window's undo of a deletion selects nothing.
    RowViewState drawing(ws.store, G("一层"));
    QuantityRowPtr drawn = drawing.AddEntry(TwoComponentEntry("檩条")).Value();
    QuantityRowPtr child = (*drawn->children.begin()).value;
    EXPECT_EQ(drawing.DeleteRow(*child), child->identifier);
    EXPECT_EQ(drawn->children.size(), 1u);
    EXPECT_EQ(drawing.Undo(), 0);
    EXPECT_EQ(drawn->children.size(), 2u);
    // A row no longer in the table is left alone.
    drawing.Undo();
    EXPECT_FALSE(drawing.DeleteRow(*drawn).has_value());
}
