#include "platform/CommandTables.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/ToolBarSwitch.h"
#include "base/GbkText.h"

using namespace quarrant;

namespace {

std::vector<int> ButtonIds(int resource) {
    std::vector<int> ids;
    const ToolBarSpec* bar = FindToolBar(resource);
    EXPECT_NE(bar, nullptr) << resource;
    if (bar != nullptr) {
        for (const CommandEntry& button : bar->buttons) {
            ids.push_back(button.id);
        }
    }
    return ids;
}

TEST(CommandTablesTest, FiveToolBarsComeInTheirOrder) {
    std::vector<int> order;
    for (const ToolBarSpec& bar : MainFrameToolBars()) {
        order.push_back(bar.resource);
    }
    EXPECT_EQ(order, (std::vector<int>{148, 128, 144, 146, 161}));
}

TEST(CommandTablesTest, EachToolBarHoldsItsButtonsAndSeparatorsInOrder) {
    struct Case {
        int resource;
        std::vector<int> ids;
    };
    const Case cases[] = {
        {148, {32778, 33006}},
        {128, {32890, 32891, 0, 32774, 32889, 32888, 0, 33006}},
        {144, {32778, 32919, 32923, 32924, 0, 32965, 32921, 0, 33006}},
        {146,
         {32778, 32917, 32918, 32905, 32925, 0, 32906, 32910, 33002, 32930, 32943, 32927, 32908,
          32909, 32907, 0, 32915, 0, 33006}},
        {161, {32984, 0, 32992, 32993, 32991, 32990, 0, 33012, 0, 33040, 33041}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ButtonIds(c.resource), c.ids) << c.resource;
    }
}

TEST(CommandTablesTest, ButtonsCarryTheirChineseTexts) {
    struct Case {
        int resource;
        int id;
        const char* utf8;
    };
    const Case cases[] = {
        {148, 32778, "打开工程管理器"}, {148, 33006, "帮助主题"},
        {128, 32890, "保存选中的工程"}, {128, 32891, "保存所有工程"},
        {128, 32774, "打开封面"},       {128, 32889, "删除树项"},
        {128, 32888, "添加树项"},       {144, 32921, "删除一行数据"},
        {146, 33002, "设置测量路径"},   {146, 32943, "全屏显示图纸"},
        {161, 33012, "退出打印预览"},   {161, 33040, "导出Excel…"},
        {161, 33041, "导出PDF…"},
    };
    for (const Case& c : cases) {
        const ToolBarSpec* bar = FindToolBar(c.resource);
        ASSERT_NE(bar, nullptr);
        bool found = false;
        for (const CommandEntry& button : bar->buttons) {
            if (button.id == c.id) {
                EXPECT_EQ(GbkToUtf8(button.text), c.utf8) << c.id;
                found = true;
            }
        }
        EXPECT_TRUE(found) << c.id;
    }
}

TEST(CommandTablesTest, ManagerMenuHoldsEveryIdentifierOfMenu130) {
    std::set<int> ids;
    for (const MenuSpec& menu : ManagerFrameMenu()) {
        for (const CommandEntry& item : menu.items) {
            ids.insert(item.id);
        }
    }
    for (int id : {32886, 32887, 32888, 32889, 32890, 32891, 32892, 32893, 32896, 32897, 32898,
                   33008, 57650, 57651, 57649, 33006, 57664}) {
        EXPECT_EQ(ids.count(id), 1u) << id;
    }
    EXPECT_EQ(GbkToUtf8(CommandText(32886)), "新建工程");
    EXPECT_EQ(GbkToUtf8(CommandText(32888)), "添加工程子项");
    EXPECT_EQ(GbkToUtf8(CommandText(33008)), "精度设置");
}

TEST(CommandTablesTest, ReportMenuHoldsItsThreeMenusInOrder) {
    std::vector<std::string> titles;
    std::vector<int> ids;
    for (const MenuSpec& menu : ReportFrameMenu()) {
        titles.push_back(GbkToUtf8(menu.title));
        for (const CommandEntry& item : menu.items) {
            ids.push_back(item.id);
        }
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"文件(&F)", "操作", "帮助"}));
    EXPECT_EQ(ids, (std::vector<int>{33010, 32984, 57606, 0, 33040, 33041, 0, 32980, 33012, 32991,
                                     32990, 32992, 32993, 33006, 32971}));
    EXPECT_EQ(GbkToUtf8(CommandText(33010)), "打印预览");
    EXPECT_EQ(GbkToUtf8(CommandText(57606)), "打印设置");
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
