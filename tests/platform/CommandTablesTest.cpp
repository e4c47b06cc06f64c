#include "platform/CommandTables.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/ToolBarSwitch.h"
#include "base/GbkText.h"

using namespace quarrant;

namespace {

// Every table: the toolbars and each menu of the three menu bars, with a name for messages.
struct Table {
    std::string name;
    std::vector<CommandEntry> entries;
};

std::vector<Table> AllTables() {
    std::vector<Table> tables;
    for (const ToolBarSpec& bar : MainFrameToolBars()) {
        tables.push_back({"toolbar " + std::to_string(bar.resource), bar.buttons});
    }
    for (const auto* menus :
         {&MainFrameMenu(), &ManagerFrameMenu(), &ReportFrameMenu(), &DataFrameMenu()}) {
        for (const MenuSpec& menu : *menus) {
            tables.push_back({"menu " + GbkToUtf8(menu.title), menu.items});
        }
    }
    return tables;
}

TEST(CommandTablesTest, NoTableNamesACommandTwice) {
    for (const Table& table : AllTables()) {
        std::set<int> seen;
        for (const CommandEntry& entry : table.entries) {
            if (entry.id != 0) {
                EXPECT_TRUE(seen.insert(entry.id).second) << table.name << ": " << entry.id;
            }
        }
    }
}

TEST(CommandTablesTest, EveryCommandHasATextAndEverySeparatorNone) {
    for (const Table& table : AllTables()) {
        for (const CommandEntry& entry : table.entries) {
            EXPECT_EQ(entry.text.empty(), entry.id == 0) << table.name << ": " << entry.id;
            if (entry.id != 0) {
                EXPECT_FALSE(CommandText(entry.id).empty()) << table.name << ": " << entry.id;
            }
        }
    }
}

TEST(CommandTablesTest, EachToolBarIsFoundByItsNumber) {
    for (const ToolBarSpec& bar : MainFrameToolBars()) {
        EXPECT_EQ(FindToolBar(bar.resource), &bar);
    }
    EXPECT_EQ(FindToolBar(0), nullptr);
}

TEST(CommandTablesTest, CommandsCarryTheirChineseTexts) {
    struct Case {
        int id;
        const char* utf8;
    };
    // Toolbar tooltips first, then menu texts, which win where both name a command.
    const Case cases[] = {
        {32778, "打开工程管理器"}, {33006, "帮助主题"},     {32890, "保存选中的工程"},
        {32891, "保存所有工程"},   {32774, "打开封面"},     {32915, "删除一行"},
        {33002, "设置测量路径"},   {32943, "全屏显示图纸"}, {33012, "退出打印预览"},
        {32886, "新建工程"},       {32888, "添加工程子项"}, {33008, "精度设置"},
        {33010, "打印预览"},       {57606, "打印设置"},     {33040, "导出Excel…"},
        {33041, "导出PDF…"},       {32921, "删除一行"},     {32965, "刷新"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GbkToUtf8(CommandText(c.id)), c.utf8) << c.id;
    }
}

TEST(ToolBarSwitchTest, ShowsToolBar148WhileNoWindowIsOpen) {
    ToolBarSwitch toolBars;
    EXPECT_EQ(toolBars.Visible(), kToolBarNoChild);
    EXPECT_EQ(toolBars.OpenWindows(), 0);
}

TEST(ToolBarSwitchTest, ActiveChildShowsItsOwnToolBar) {
    ToolBarSwitch toolBars;
    toolBars.ChildOpened();
    toolBars.ChildActivated(kToolBarManager);
    EXPECT_EQ(toolBars.Visible(), kToolBarManager);
    toolBars.ChildOpened();
    toolBars.ChildActivated(kToolBarDrawing);
    EXPECT_EQ(toolBars.Visible(), kToolBarDrawing);
}

TEST(ToolBarSwitchTest, OnlyTheLastDestroyedWindowBringsBackToolBar148) {
    ToolBarSwitch toolBars;
    toolBars.ChildOpened();
    toolBars.ChildOpened();
    toolBars.ChildActivated(kToolBarDrawing);
    EXPECT_FALSE(toolBars.ChildDestroyed());
    toolBars.ChildActivated(kToolBarManager);
    EXPECT_EQ(toolBars.Visible(), kToolBarManager);
    EXPECT_TRUE(toolBars.ChildDestroyed());
    EXPECT_EQ(toolBars.Visible(), kToolBarNoChild);
}

TEST(ToolBarSwitchTest, DestroyingMoreWindowsThanOpenedNeverGoesBelowZero) {
    ToolBarSwitch toolBars;
    EXPECT_TRUE(toolBars.ChildDestroyed());
    EXPECT_EQ(toolBars.OpenWindows(), 0);
    toolBars.ChildOpened();
    EXPECT_EQ(toolBars.OpenWindows(), 1);
}

}  // namespace
