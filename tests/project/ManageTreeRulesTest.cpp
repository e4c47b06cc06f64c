#include "project/ManageTreeRules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "project/ProjectTestSupport.h"

using namespace quarrant;
using quarrant::testing::G;
using quarrant::testing::MakeRow;

namespace {

class ManageTreeRulesTest : public ::testing::Test {
protected:
    Project& AddProject(const std::string& utf8Name) {
        auto project = std::make_unique<Project>();
        project->projectName = G(utf8Name);
        project->folderPath = "/work/" + project->projectName;
        project->dataTable.fileName = project->TakeFileName();
        Project& ref = *project;
        manager.projects.push_back(std::move(project));
        return ref;
    }

    Drawing& AddDrawing(Project& project, const std::string& utf8Name) {
        auto drawing = std::make_unique<Drawing>(&project);
        drawing->drawingName = G(utf8Name);
        drawing->fileName = project.TakeFileName();
        Drawing& ref = *drawing;
        project.drawings.push_back(std::move(drawing));
        return ref;
    }

    // Hands out a distinct handle per node, as the tree widget does.
    void AssignHandles(const TreeNodePlan& plan) {
        *plan.handle = &handles[next++];
        for (const TreeNodePlan& child : plan.children) {
            AssignHandles(child);
        }
    }

    std::vector<std::string> Texts(const TreeNodePlan& plan) {
        std::vector<std::string> texts;
        for (const TreeNodePlan& child : plan.children) {
            texts.push_back(quarrant::GbkToUtf8(child.text));
        }
        return texts;
    }

    quarrant::MessageList messages;
    ProjectManager manager{messages};
    int handles[64] = {};
    int next = 0;
};

TEST_F(ManageTreeRulesTest, RootHoldsOneNodePerProjectWithNameAndTypeInBrackets) {
    AddProject("办公楼");
    AddProject("厂房");
    TreeNodePlan root = PlanWorkspaceTree(manager);
    EXPECT_EQ(quarrant::GbkToUtf8(root.text), "工程管理器");
    EXPECT_EQ(root.image, 0);
    EXPECT_EQ(root.selectedImage, 1);
    EXPECT_EQ(root.handle, &manager.rootItem);
    EXPECT_EQ(Texts(root), (std::vector<std::string>{"办公楼【结构工程】", "厂房【结构工程】"}));
    EXPECT_EQ(root.children[0].image, kTreeImageProject);
    EXPECT_EQ(root.children[0].selectedImage, kTreeImageProject + 1);
}

TEST_F(ManageTreeRulesTest, ProjectNodeListsThreeReportTablesTheDataTableThenDrawings) {
    Project& project = AddProject("厂房");
    AddDrawing(project, "一层平面");
    AddDrawing(project, "屋架");
    TreeNodePlan node = PlanProjectNode(project);
    EXPECT_EQ(Texts(node),
              (std::vector<std::string>{"工程量汇总表", "结构材料统计表", "工程量计算明细表",
                                        "无图纸数据添加窗口", "一层平面", "屋架"}));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(node.children[i].image, kTreeImageTable) << i;
        EXPECT_EQ(node.children[i].selectedImage, kTreeImageTable + 1) << i;
    }
    EXPECT_EQ(node.children[4].image, kTreeImageDrawing);
    EXPECT_EQ(node.children[5].selectedImage, kTreeImageDrawing + 1);
    // The analysis table has no node.
    for (const TreeNodePlan& child : node.children) {
        EXPECT_NE(child.handle, &project.analysisTable.treeItem);
    }
}

TEST_F(ManageTreeRulesTest, EveryNodeIsFoundAgainByItsHandleWithItsKind) {
    Project& project = AddProject("厂房");
    Drawing& drawing = AddDrawing(project, "屋架");
    AssignHandles(PlanWorkspaceTree(manager));

    struct Case {
        const char* name;
        TreeItemHandle handle;
        NodeClass nodeClass;
        const char* kind;
    };
    const Case cases[] = {
        {"root", manager.rootItem, NodeClass::kRoot, "工程管理器"},
        {"project", project.projectItem, NodeClass::kProject, "工程名称"},
        {"summary", project.summaryTable.treeItem, NodeClass::kReportTable, "工程量汇总表"},
        {"material", project.materialTable.treeItem, NodeClass::kReportTable, "结构材料统计表"},
        {"detail", project.detailTable.treeItem, NodeClass::kReportTable, "工程量计算明细表"},
        {"data", project.dataTable.treeItem, NodeClass::kDataTable, "无图纸数据添加窗口"},
        {"drawing", drawing.treeItem, NodeClass::kDrawing, "图"},
    };
    for (const Case& c : cases) {
        WorkspaceNode node = manager.FindNode(c.handle);
        EXPECT_EQ(ClassifyNode(node), c.nodeClass) << c.name;
        EXPECT_EQ(quarrant::GbkToUtf8(node.kind), c.kind) << c.name;
    }
    EXPECT_EQ(ClassifyNode(manager.FindNode(nullptr)), NodeClass::kNone);
}

TEST_F(ManageTreeRulesTest, RootListShowsTheProjectsAsIcons) {
    AddProject("办公楼");
    AddProject("厂房");
    AssignHandles(PlanWorkspaceTree(manager));
    ListContents list = ListForNode(manager.FindNode(manager.rootItem), manager);
    EXPECT_EQ(list.mode, ListMode::kIcon);
    ASSERT_EQ(list.lines.size(), 2u);
    EXPECT_EQ(quarrant::GbkToUtf8(list.lines[1].texts[0]), "厂房");
    EXPECT_EQ(list.lines[0].image, kListImageProject);
}

TEST_F(ManageTreeRulesTest, ProjectListShowsTablesWithImage8AndDrawingsWithImage10) {
    Project& project = AddProject("厂房");
    AddDrawing(project, "屋架");
    AssignHandles(PlanWorkspaceTree(manager));
    ListContents list = ListForNode(manager.FindNode(project.projectItem), manager);
    EXPECT_EQ(list.mode, ListMode::kIcon);
    ASSERT_EQ(list.lines.size(), 5u);
    EXPECT_EQ(quarrant::GbkToUtf8(list.lines[3].texts[0]), "无图纸数据添加窗口");
    EXPECT_EQ(list.lines[3].image, 8);
    EXPECT_EQ(quarrant::GbkToUtf8(list.lines[4].texts[0]), "屋架");
    EXPECT_EQ(list.lines[4].image, 10);
}

TEST_F(ManageTreeRulesTest, DataTableListNumbersTheTopLevelRowsInMapOrder) {
    Project& project = AddProject("厂房");
    // Identifiers 1 and 18 share no bucket: 1 is in bucket 0, 18 in bucket 1; 2 goes to the
    // front of bucket 0.
    project.dataTable.rows.SetAt(1, MakeRow(1));
    project.dataTable.rows.SetAt(18, MakeRow(18));
    project.dataTable.rows.SetAt(2, MakeRow(2, G("屋架")));
    AssignHandles(PlanWorkspaceTree(manager));
    ListContents list = ListForNode(manager.FindNode(project.dataTable.treeItem), manager);
    EXPECT_EQ(list.mode, ListMode::kReport);
    std::vector<std::string> headings;
    std::vector<int> widths;
    for (const ListColumn& column : list.columns) {
        headings.push_back(quarrant::GbkToUtf8(column.heading));
        widths.push_back(column.width);
    }
    EXPECT_EQ(headings, (std::vector<std::string>{"序号", "项目名称", "数量", "单位", "工程量"}));
    EXPECT_EQ(widths, (std::vector<int>{60, 200, 60, 100, 100}));
    ASSERT_EQ(list.lines.size(), 3u);
    EXPECT_EQ(list.lines[0].texts[0], "1");
    EXPECT_EQ(quarrant::GbkToUtf8(list.lines[0].texts[1]), "钢桁架2");
    EXPECT_EQ(list.lines[0].texts[2], "2*2");
    EXPECT_EQ(list.lines[0].texts[3], "kg");
    EXPECT_EQ(list.lines[0].texts[4], "123.450");
    EXPECT_EQ(quarrant::GbkToUtf8(list.lines[1].texts[1]), "钢桁架1");
    EXPECT_EQ(list.lines[2].texts[0], "3");
    EXPECT_EQ(quarrant::GbkToUtf8(list.lines[2].texts[1]), "钢桁架18");
}

TEST_F(ManageTreeRulesTest, DrawingListShowsOnlyTheRowsOfThatDrawing) {
    Project& project = AddProject("厂房");
    Drawing& truss = AddDrawing(project, "屋架");
    AddDrawing(project, "屋架2");
    project.dataTable.rows.SetAt(1, MakeRow(1, G("屋架")));
    project.dataTable.rows.SetAt(2, MakeRow(2, G("屋架2")));
    project.dataTable.rows.SetAt(3, MakeRow(3));
    AssignHandles(PlanWorkspaceTree(manager));
    ListContents list = ListForNode(manager.FindNode(truss.treeItem), manager);
    EXPECT_EQ(list.mode, ListMode::kReport);
    ASSERT_EQ(list.lines.size(), 1u);
    EXPECT_EQ(list.lines[0].texts[0], "1");
    EXPECT_EQ(quarrant::GbkToUtf8(list.lines[0].texts[1]), "钢桁架1");
}

TEST_F(ManageTreeRulesTest, ReportTableNodeLeavesTheListUnchanged) {
    Project& project = AddProject("厂房");
    AssignHandles(PlanWorkspaceTree(manager));
    EXPECT_EQ(ListForNode(manager.FindNode(project.summaryTable.treeItem), manager).mode,
              ListMode::kUnchanged);
}

TEST(ManageContextMenuTest, MenusAreBuiltPerNodeKind) {
    struct Case {
        NodeClass nodeClass;
        std::vector<int> ids;
        std::vector<std::string> texts;
    };
    const Case cases[] = {
        {NodeClass::kRoot, {1018, 1019}, {"添加工程", "新建工程"}},
        {NodeClass::kProject, {1020, 1021, 1030}, {"添加图纸", "保存工程", "删除"}},
        {NodeClass::kDrawing, {1030}, {"删除"}},
        {NodeClass::kDataTable, {}, {}},
        {NodeClass::kReportTable, {}, {}},
        {NodeClass::kNone, {}, {}},
    };
    for (const Case& c : cases) {
        std::vector<int> ids;
        std::vector<std::string> texts;
        for (const MenuCommand& item : ContextMenuFor(c.nodeClass)) {
            ids.push_back(item.id);
            texts.push_back(quarrant::GbkToUtf8(item.text));
        }
        EXPECT_EQ(ids, c.ids) << static_cast<int>(c.nodeClass);
        EXPECT_EQ(texts, c.texts) << static_cast<int>(c.nodeClass);
    }
}

TEST(ManageContextMenuTest, ContextAndMenuIdentifiersMapToTheirCommands) {
    struct Case {
        int id;
        bool context;
        const char* command;
    };
    const Case cases[] = {
        {1018, true, "添加工程"},   {1019, true, "新建工程"},   {1020, true, "添加数据"},
        {1021, true, "保存工程"},   {1030, true, "删除"},       {1022, true, ""},
        {32961, true, ""},          {32962, true, ""},          {32886, false, "新建工程"},
        {32887, false, "添加工程"}, {32888, false, "添加数据"}, {32889, false, "删除"},
        {32890, false, "保存工程"}, {32892, false, ""},
    };
    for (const Case& c : cases) {
        std::string command = c.context ? CommandOfContextItem(c.id) : CommandOfMenuItem(c.id);
        EXPECT_EQ(quarrant::GbkToUtf8(command), c.command) << c.id;
    }
}

TEST(ManageDispatchTest, OnlyThePairsOfTheTableDoSomething) {
    const NodeClass classes[] = {NodeClass::kRoot,      NodeClass::kProject,
                                 NodeClass::kDataTable, NodeClass::kReportTable,
                                 NodeClass::kDrawing,   NodeClass::kNone};
    const char* commands[] = {kCommandAddProject, kCommandNewProject, kCommandAddData,
                              kCommandSaveProject, kCommandDelete};
    int active = 0;
    for (NodeClass nodeClass : classes) {
        for (const char* command : commands) {
            if (DispatchCommand(nodeClass, command) != ManageOperation::kNone) {
                ++active;
            }
        }
    }
    EXPECT_EQ(active, 6);
    EXPECT_EQ(DispatchCommand(NodeClass::kRoot, kCommandAddProject),
              ManageOperation::kAddExistingProject);
    EXPECT_EQ(DispatchCommand(NodeClass::kRoot, kCommandNewProject), ManageOperation::kNewProject);
    EXPECT_EQ(DispatchCommand(NodeClass::kProject, kCommandAddData), ManageOperation::kAddDrawing);
    EXPECT_EQ(DispatchCommand(NodeClass::kProject, kCommandDelete),
              ManageOperation::kRemoveProject);
    EXPECT_EQ(DispatchCommand(NodeClass::kProject, kCommandSaveProject),
              ManageOperation::kSaveProject);
    EXPECT_EQ(DispatchCommand(NodeClass::kDrawing, kCommandDelete),
              ManageOperation::kRemoveDrawing);
    // Deleting the root or a table does nothing.
    EXPECT_EQ(DispatchCommand(NodeClass::kRoot, kCommandDelete), ManageOperation::kNone);
    EXPECT_EQ(DispatchCommand(NodeClass::kDataTable, kCommandDelete), ManageOperation::kNone);
}

TEST(ManageDispatchTest, DoubleClickOpensDataDrawingAndReportWindowsOnly) {
    EXPECT_EQ(WindowTypeFor(NodeClass::kDataTable), "DATA");
    EXPECT_EQ(WindowTypeFor(NodeClass::kDrawing), "DRAWING");
    EXPECT_EQ(WindowTypeFor(NodeClass::kReportTable), "TABLE");
    EXPECT_EQ(WindowTypeFor(NodeClass::kRoot), "");
    EXPECT_EQ(WindowTypeFor(NodeClass::kProject), "");
}

TEST(ManageHitTestTest, TakesTheFirstVisibleItemWhoseRectangleHoldsThePointEdgesIncluded) {
    int a = 0, b = 0, c = 0;
    std::vector<HitCandidate> candidates = {
        {&a, true, 0, 0, 100, 15},
        {&b, false, 10, 16, 100, 31},  // collapsed away
        {&c, true, 10, 16, 100, 31},
    };
    EXPECT_EQ(HitTest(candidates, 0, 0), &a);
    EXPECT_EQ(HitTest(candidates, 100, 15), &a);
    EXPECT_EQ(HitTest(candidates, 50, 20), &c);
    EXPECT_EQ(HitTest(candidates, 10, 31), &c);
    EXPECT_EQ(HitTest(candidates, 101, 20), nullptr);
    EXPECT_EQ(HitTest(candidates, 5, 40), nullptr);
}

}  // namespace
