#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/CliRunner.h"
#include "base/MessageSink.h"
#include "project/ProjectManager.h"
#include "project/ProjectTestSupport.h"

using namespace quarrant;
using namespace quarrant::testing;

namespace {

QuantityRowPtr Row(QuantityRow* parent, std::int32_t id, std::string_view name, std::string count,
                   std::string quantity, std::string_view drawing = {}) {
    auto row = std::make_shared<QuantityRow>();
    row->identifier = id;
    row->parent = parent;
    row->itemName = G(name);
    row->count = std::move(count);
    row->unit = "m";
    row->quantity = std::move(quantity);
    row->drawingName = G(drawing);
    return row;
}

}  // namespace

TEST(CliRows, ListsAsTheDataWindowTheDrawingWindowAndTheFilterDo) {
    TempFolder work;
    TempFolder program;
    MessageList messages;
    ProjectManager manager(messages);
    manager.SetProgramFolder(program.Path());
    ASSERT_TRUE(MakeProjectFolder(work.Path(), G("钢屋架工程")).Ok());
    Project* project = manager.CreateProject(work.Path(), G("钢屋架工程"), G("结构工程"));
    ASSERT_NE(project, nullptr);
    manager.AddDrawing(*project, G("屋架施工图"), "mm", "1:1", nullptr);
    QuantityRowMap& rows = project->dataTable.rows;
    QuantityRowPtr truss = Row(nullptr, 1, "钢屋架", "2", "");
    truss->children.SetAt(2, Row(truss.get(), 2, "上弦杆", "1", "1.500"));
    rows.SetAt(1, truss);
    rows.SetAt(3, Row(nullptr, 3, "钢柱", "1", "", "屋架施工图"));
    QuantityRowPtr drawnTruss = Row(nullptr, 4, "钢屋架", "1", "", "屋架施工图");
    drawnTruss->children.SetAt(5, Row(drawnTruss.get(), 5, "腹杆", "3", "0.250"));
    rows.SetAt(4, drawnTruss);
    project->dataTable.nextRowIdentifier = 5;
    ASSERT_TRUE(manager.SaveProject(*project));
    const std::string folder = GbkToUtf8(project->folderPath);
    const std::string home = GbkToUtf8(program.Path());
    const std::string header =
        "序号\t项目名称\t部位或轴线\t数量\t长\t宽\t高\t面积\t体积\t单位\t材料及材料规格\t"
        "单位重量（kg）\t工程量\n";
    auto line = [](const std::string& number, const std::string& name, const std::string& count,
                   const std::string& quantity) {
        return number + "\t" + name + "\t\t" + count + "\t\t\t\t\t\tm\t\t\t" + quantity + "\n";
    };

    // Loaded, rows sharing a bucket come back in reverse: 1, 3, 4.
    CliRun run = RunCli({"--home", home, "rows", folder});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.out, header + line("1", "钢屋架", "2", "3.000") +
                           line("", "上弦杆", "1", "1.500") + line("2", "钢柱", "1", "0.000") +
                           line("3", "钢屋架", "1", "0.250") + line("", "腹杆", "3", "0.250"));
    run = RunCli({"--home", home, "rows", "--drawing", "屋架施工图", folder});
    EXPECT_EQ(run.out, header + line("1", "钢柱", "1", "0.000") +
                           line("2", "钢屋架", "1", "0.250") + line("", "腹杆", "3", "0.250"));
    run = RunCli({"--home", home, "rows", "--name", "钢屋架", folder});
    EXPECT_EQ(run.out, header + line("1", "钢屋架", "2", "3.000") +
                           line("", "上弦杆", "1", "1.500") + line("2", "钢屋架", "1", "0.250") +
                           line("", "腹杆", "3", "0.250"));

    run = RunCli({"--home", home, "rows", "--drawing", "二层", folder});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.err, "工程中没有这个图纸：二层\n");
    EXPECT_EQ(RunCli({"--home", home, "rows"}).exitStatus, 2);
    EXPECT_EQ(RunCli({"--home", home, "rows", work.Path() + "/none"}).exitStatus, 1);
}
