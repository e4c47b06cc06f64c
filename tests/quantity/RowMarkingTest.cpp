// Which entities a row of a drawing window selects for the clicked cell, and what the user is
// told when there are none.

#include <gtest/gtest.h>

#include "base/GbkText.h"
#include "quantity/RowColumns.h"
#include "quantity/RowMarking.h"

namespace quarrant {
namespace {

TEST(RowMarkingTest, ComponentCellsSelectTheListOfTheirQuantity) {
    QuantityRow top;
    top.list1 = {1};
    QuantityRow child;
    child.parent = &top;
    child.list1 = {11};
    child.list2 = {12};
    child.list3 = {13};
    child.list4 = {14};
    struct Case {
        int column;
        const std::vector<std::int32_t>* list;
        const char* item;
        const char* empty;
    };
    const Case cases[] = {
        {kColCount, &child.list1, "标记与数量关连的图元", "没有图元与数量相关连！"},
        {kColLength, &child.list2, "标记与长关连的图元", "没有图元与长相关连！"},
        {kColWidth, &child.list3, "标记与宽关连的图元", "没有图元与宽相关连！"},
        {kColHeight, &child.list4, "标记与高关连的图元", "没有图元与高相关连！"},
        {kColArea, &child.list2, "标记与面积关连的图元", "没有图元与面积相关连！"},
        {kColVolume, &child.list2, "标记体积关连的图元", "没有图元与体积相关连！"},
    };
    for (const Case& c : cases) {
        std::optional<RowMarking> marking = RowMarkingOf(child, c.column);
        ASSERT_TRUE(marking) << c.column;
        EXPECT_EQ(marking->entities, c.list) << c.column;
        EXPECT_EQ(GbkToUtf8(marking->emptyMessage), c.empty);
        EXPECT_EQ(GbkToUtf8(ComponentMarkItemText(c.column)), c.item);
    }
    for (int column : {kColItemName, kColPartOrAxis, kColUnit, kColMaterial, kColQuantity}) {
        EXPECT_FALSE(RowMarkingOf(child, column)) << column;
        EXPECT_EQ(ComponentMarkItemText(column), "") << column;
    }
    // A structure selects its own list whatever the column.
    std::optional<RowMarking> structure = RowMarkingOf(top, kColLength);
    ASSERT_TRUE(structure);
    EXPECT_EQ(structure->entities, &top.list1);
    EXPECT_EQ(GbkToUtf8(structure->emptyMessage), "没有图元与这行数据相关连！");
}

}  // namespace
}  // namespace quarrant
