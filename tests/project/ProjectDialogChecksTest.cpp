#include "project/ProjectDialogChecks.h"

#include <gtest/gtest.h>

#include "project/ProjectTestSupport.h"

using namespace quarrant;
using quarrant::testing::G;

namespace {

TEST(ProjectDialogChecksTest, NewProjectNeedsNameAndPathAndType) {
    struct Case {
        const char* name;
        const char* path;
        const char* type;
        bool accepted;
    };
    const Case cases[] = {
        {"A", "/p", "T", true}, {"", "/p", "T", false}, {"A", "", "T", false},
        {"A", "/p", "", false}, {"", "", "", false},
    };
    for (const Case& c : cases) {
        std::string message = CheckNewProject(c.name, c.path, c.type);
        EXPECT_EQ(message.empty(), c.accepted) << c.name << c.path << c.type;
        if (!c.accepted) {
            EXPECT_EQ(GbkToUtf8(message), "工程路径、工程类型和工程名称不能为空！");
        }
    }
}

TEST(ProjectDialogChecksTest, OpenProjectNeedsAFolder) {
    EXPECT_EQ(GbkToUtf8(CheckOpenProject("")), "工程文件夹为空！");
    EXPECT_EQ(CheckOpenProject("/work/a"), "");
}

TEST(ProjectDialogChecksTest, DrawingNameIsTheFileNameUpToTheFirstDot) {
    struct Case {
        const char* path;
        const char* name;
    };
    const Case cases[] = {
        {"/home/user/plan.a.dxf", "plan"}, {"plan.dxf", "plan"},    {"C:\\dwg\\roof.dxf", "roof"},
        {"/dwg/.hidden.dxf", ""},          {"/dwg/noext", "noext"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DrawingNameFromFile(c.path), c.name) << c.path;
    }
    EXPECT_EQ(GbkToUtf8(DrawingNameFromFile(G("/图纸/钢屋架.施工图.dxf"))), "钢屋架");
}

TEST(ProjectDialogChecksTest, ScaleMustBeTwoPositiveNumbersJoinedByAColon) {
    struct Case {
        const char* scale;
        bool valid;
    };
    const Case cases[] = {
        {"1:1", true},     {"1:100", true},   {" 1 : 2.5 ", true}, {"0.5:1", true},
        {"1", false},      {"1:", false},     {":100", false},     {"0:100", false},
        {"1:0", false},    {"-1:100", false}, {"1:-5", false},     {"a:b", false},
        {"1:100x", false}, {"1:1:2", false},  {"1/100", false},    {"1e3:1", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsValidScale(c.scale), c.valid) << c.scale;
    }
}

class AddDrawingCheckTest : public ::testing::Test {
protected:
    AddDrawingCheckTest() {
        auto drawing = std::make_unique<Drawing>(&project);
        drawing->drawingName = G("屋架");
        project.drawings.push_back(std::move(drawing));
    }
    Project project;
    Project other;
};

TEST_F(AddDrawingCheckTest, RefusalsComeInTheirOrder) {
    struct Case {
        const char* label;
        bool fileChosen;
        std::string name;
        std::string unit;
        std::string scale;
        const char* message;
    };
    const Case cases[] = {
        {"no file before anything else", false, "", "", "", "请添加图纸！"},
        {"name exists before empty fields", true, G("屋架"), "", "",
         "图纸名称已存在，请重新输入一个图纸名称！"},
        {"empty name", true, "", "mm", "1:1", "图纸名称、图纸单位、图纸比例尺不能为空！"},
        {"empty unit", true, "plan", "", "1:1", "图纸名称、图纸单位、图纸比例尺不能为空！"},
        {"empty scale", true, "plan", "mm", "", "图纸名称、图纸单位、图纸比例尺不能为空！"},
        {"scale without colon", true, "plan", "mm", "100",
         "图纸比例尺应为两个正数以“:”相连，例如1:100！"},
        {"zero scale", true, "plan", "mm", "1:0", "图纸比例尺应为两个正数以“:”相连，例如1:100！"},
        {"accepted", true, "plan", "mm", "1:100", ""},
        {"typed unit accepted", true, "plan", "inch", "1:1", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GbkToUtf8(CheckAddDrawing(c.fileChosen, project, c.name, c.unit, c.scale)),
                  c.message)
            << c.label;
    }
}

TEST_F(AddDrawingCheckTest, NameCheckIsExactAndWithinTheProjectOnly) {
    EXPECT_EQ(CheckAddDrawing(true, other, G("屋架"), "mm", "1:1"), "");
    EXPECT_EQ(CheckAddDrawing(true, project, G("屋架 "), "mm", "1:1"), "");
    EXPECT_EQ(CheckAddDrawing(true, project, G("屋"), "mm", "1:1"), "");
}

}  // namespace
