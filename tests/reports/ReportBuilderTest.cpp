#include "reports/ReportBuilder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "ReportTestSupport.h"
#include "project/Project.h"

using namespace quarrant;
using namespace quarrant::reporttest;

namespace {

// A built report: its grid and the progress counters after the build.
struct Built {
    GridModel grid;
    std::atomic<int> total{0};
    std::atomic<int> done{0};
};

enum class Build { kInitial, kFull, kFiltered };

void RunBuild(Built& built, Project& project, ReportKind kind, Build how,
              const std::string& name = {}) {
    ReportBuilder builder(project.dataTable, kind);
    ProgressSteps progress(built.total, built.done);
    built.total = builder.ProgressTotal();
    builder.InitialBuild(built.grid, progress);
    if (how == Build::kFull) {
        builder.FullRebuild(built.grid, progress);
    } else if (how == Build::kFiltered) {
        builder.FilteredRebuild(built.grid, name, progress);
    }
}

// Every row of the grid as UTF-8 cells joined by "|".
std::vector<std::string> Rows(const GridModel& grid) {
    std::vector<std::string> rows;
    for (int row = 0; row < grid.GetRowCount(); ++row) {
        std::string line;
        for (int col = 0; col < grid.GetColumnCount(); ++col) {
            line += (col > 0 ? "|" : "") + GbkToUtf8(grid.GetItemText(row, col));
        }
        rows.push_back(line);
    }
    return rows;
}

}  // namespace

TEST(ReportBuilderTest, SummaryGroupSumsItsRowsOrDisappears) {
    struct Case {
        const char* name;
        std::vector<const char*> quantities;
        const char* expected;  // nullptr: the group is left out
    };
    const Case cases[] = {
        {"the summary cuts at =", {"2*3=6", "4"}, "10.000"},
        {"notes are removed", {"2<梁>*3"}, "6.000"},
        {"an unbalanced note drops the group", {"2<梁*3", "4"}, nullptr},
        {"a stray > drops the group", {"2>3"}, nullptr},
        {"a formula error drops the group", {"4", "2**3"}, nullptr},
        {"a negative quantity subtracts", {"6", "-3"}, "3.000"},
        {"an empty quantity adds nothing", {"6", ""}, "6.000"},
        {"a group of nothing is left out", {""}, nullptr},
    };
    for (const Case& c : cases) {
        Project project;
        for (const char* quantity : c.quantities) {
            AddRow(project.dataTable, "钢柱", quantity);
        }
        Built built;
        RunBuild(built, project, ReportKind::kSummary, Build::kInitial);
        std::vector<std::string> expected = {"序号|项目名称|单位|工程量"};
        if (c.expected != nullptr) {
            expected.push_back(std::string("1|钢柱|t|") + c.expected);
        }
        EXPECT_EQ(Rows(built.grid), expected) << c.name;
    }
}

TEST(ReportBuilderTest, FailingGroupLeavesNoGapInTheNumbers) {
    Project project;
    for (const char* name : {"甲", "乙", "丙", "丁"}) {
        AddRow(project.dataTable, name, "1");
    }
    AddRow(project.dataTable, "乙", "2<x");
    Built built;
    RunBuild(built, project, ReportKind::kSummary, Build::kInitial);
    std::vector<std::string> rows = Rows(built.grid);
    ASSERT_EQ(rows.size(), 4u);
    for (std::size_t i = 1; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].substr(0, 2), std::to_string(i) + "|");
        EXPECT_EQ(rows[i].find("乙"), std::string::npos);
    }
}

TEST(ReportBuilderTest, SummaryRowsFollowTheTreeOrder) {
    Project project;
    for (const char* name : {"钢梁", "钢柱", "檩条", "支撑", "Beam", "钢梯"}) {
        AddRow(project.dataTable, name, "1");
    }
    Built built;
    RunBuild(built, project, ReportKind::kSummary, Build::kInitial);
    std::vector<std::string> names = ReportTreeNames(ReportKind::kSummary, project.dataTable);
    ASSERT_EQ(static_cast<int>(names.size()), built.grid.GetRowCount() - 1);
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(built.grid.GetItemText(static_cast<int>(i) + 1, 1), names[i]);
    }
}

TEST(ReportBuilderTest, MaterialTableSumsComponentRowsUncut) {
    Project project;
    QuantityRow& truss = AddRow(project.dataTable, "钢屋架", "1");
    AddComponent(project.dataTable, truss, "角钢∠50×5", "1.5");
    QuantityRow& beam = AddRow(project.dataTable, "钢梁", "1");
    AddComponent(project.dataTable, beam, "角钢∠50×5", "2.5");
    AddComponent(project.dataTable, beam, "钢板-10", "2*3=6");
    Built built;
    RunBuild(built, project, ReportKind::kMaterial, Build::kInitial);
    EXPECT_EQ(Rows(built.grid), (std::vector<std::string>{"序号|材料名称及规格|单位|工程量",
                                                          "1|角钢∠50×5|kg|4.000"}));
}

TEST(ReportBuilderTest, DetailNumbersTopLevelRowsOnly) {
    Project project;
    AddRow(project.dataTable, "钢梁", "4");
    QuantityRow& truss = AddRow(project.dataTable, "钢屋架", "3");
    AddComponent(project.dataTable, truss, "角钢", "1");
    AddComponent(project.dataTable, truss, "钢板", "2");
    AddRow(project.dataTable, "钢柱", "5");
    Built built;
    RunBuild(built, project, ReportKind::kDetail, Build::kInitial);
    const GridModel& grid = built.grid;
    ASSERT_EQ(grid.GetColumnCount(), 12);
    // The row map's order: newest first within a bucket (identifiers 1, 2 and 5 share one).
    std::vector<std::string> rows;
    for (int row = 1; row < grid.GetRowCount(); ++row) {
        rows.push_back(grid.GetItemText(row, 0) + "|" + GbkToUtf8(grid.GetItemText(row, 1)) + "|" +
                       GbkToUtf8(grid.GetItemText(row, 2)));
    }
    EXPECT_EQ(rows, (std::vector<std::string>{"1|钢柱|", "2|钢屋架|", "|钢屋架|钢板",
                                              "|钢屋架|角钢", "3|钢梁|"}));
    EXPECT_EQ(truss.gridRow, 2);
    EXPECT_EQ(grid.GetRowHeight(0), 35);
    EXPECT_EQ(grid.GetRowHeight(3), 25);
    EXPECT_FALSE(grid.IsEditable());
}

TEST(ReportBuilderTest, FilteredBuildsKeepOnlyTheNameAndNumberFromOne) {
    struct Case {
        const char* name;
        ReportKind kind;
        const char* filter;
        std::vector<std::string> rows;
    };
    const Case cases[] = {
        {"summary", ReportKind::kSummary, "钢梁", {"序号|项目名称|单位|工程量", "1|钢梁|t|7.000"}},
        {"material",
         ReportKind::kMaterial,
         "钢板",
         {"序号|材料名称及规格|单位|工程量", "1|钢板|kg|3.000"}},
    };
    for (const Case& c : cases) {
        Project project;
        AddRow(project.dataTable, "钢柱", "1");
        QuantityRow& beam = AddRow(project.dataTable, "钢梁", "3");
        AddComponent(project.dataTable, beam, "钢板", "3");
        AddComponent(project.dataTable, beam, "角钢", "5");
        AddRow(project.dataTable, "钢梁", "4");
        Built built;
        RunBuild(built, project, c.kind, Build::kFiltered, G(c.filter));
        EXPECT_EQ(Rows(built.grid), c.rows) << c.name;
        RunBuild(built, project, c.kind, Build::kFull);
        EXPECT_GT(built.grid.GetRowCount(), 2) << c.name << ": the full table is back";
    }
}

TEST(ReportBuilderTest, EmptyProjectGivesTheHeaderRowAndFinishesTheProgress) {
    for (ReportKind kind : {ReportKind::kSummary, ReportKind::kDetail, ReportKind::kMaterial,
                            ReportKind::kAnalysis}) {
        Project project;
        Built built;
        RunBuild(built, project, kind, Build::kInitial);
        const int expectedRows = kind == ReportKind::kAnalysis ? 0 : 1;
        EXPECT_EQ(built.grid.GetRowCount(), expectedRows);
        EXPECT_EQ(built.done.load(), built.total.load());
        EXPECT_EQ(built.total.load(), 2);
    }
}

TEST(ReportBuilderTest, ProgressStaysBelowTheTotalUntilTheLastStep) {
    std::atomic<int> total{3};
    std::atomic<int> done{0};
    ProgressSteps progress(total, done);
    for (int i = 0; i < 10; ++i) {
        progress.Advance();
    }
    EXPECT_EQ(done.load(), 2);
    progress.Finish();
    EXPECT_EQ(done.load(), 3);
}

TEST(ReportBuilderTest, TreeNamesLeaveOutEmptyNames) {
    Project project;
    QuantityRow& row = AddRow(project.dataTable, "", "1");
    AddComponent(project.dataTable, row, "", "1");
    AddRow(project.dataTable, "", "2");
    EXPECT_TRUE(ReportTreeNames(ReportKind::kSummary, project.dataTable).empty());
    EXPECT_TRUE(ReportTreeNames(ReportKind::kMaterial, project.dataTable).empty());
    AddRow(project.dataTable, "钢梁", "1");
    AddRow(project.dataTable, "钢梁", "1");
    EXPECT_EQ(ReportTreeNames(ReportKind::kDetail, project.dataTable),
              std::vector<std::string>{G("钢梁")});
}

TEST(ReportBuilderTest, GroupLongerThanOneFormulaIsStillSummed) {
    std::vector<std::string> texts(3000, "1.234<q>");
    std::vector<std::string_view> views(texts.begin(), texts.end());
    std::string value;
    ASSERT_TRUE(EvaluateGroupQuantity(views, value));
    EXPECT_EQ(value, "3702.000");
    texts[2500] = "1.234*";
    views.assign(texts.begin(), texts.end());
    EXPECT_FALSE(EvaluateGroupQuantity(views, value));
}
