#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/CliRunner.h"
#include "base/GbkText.h"
#include "cad/CadDrawing.h"
#include "cad/DrawingFile.h"

using namespace quarrant;

namespace {

namespace fs = std::filesystem;

using RunResult = quarrant::testing::CliRun;

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteText(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

// A program folder with Set.ini and COLOR.ini, and a drawing file, in a fresh temporary folder.
class CliCountPick : public ::testing::Test {
protected:
    void SetUp() override {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_root = fs::temp_directory_path() /
                 ("quarrant-countpick-" + std::to_string(::getpid()) + "-" + info->name());
        fs::remove_all(m_root);
        fs::create_directories(m_root / "home");
        WriteText(m_root / "home" / "Set.ini", "1\r\n0.01\r\n");
        WriteText(m_root / "home" / "COLOR.ini", "1.255.0.0\r\n7.255.255.255\r\n");
        m_drawingPath = (m_root / "YZN1").string();
        WriteText(m_drawingPath, WriteDrawingFile(SampleDrawing()));
    }
    void TearDown() override { fs::remove_all(m_root); }

    static void AddLine(CCadDrawing& drawing, int id, double x1, double y1, double x2, double y2) {
        CCadEntity entity = MakeEntity<CCadLine>(kCadLine);
        auto* line = entity.As<CCadLine>();
        line->identifier = id;
        line->layer = "0";
        line->startX = x1;
        line->startY = y1;
        line->endX = x2;
        line->endY = y2;
        drawing.AddEntity(entity);
    }

    // Four equal parallel lines (1-4), a line 0.5 longer (5), a circle (6), an arc (7).
    static CCadDrawing SampleDrawing() {
        CCadDrawing drawing;
        drawing.minX = 0;
        drawing.minY = 0;
        drawing.maxX = 10000;
        drawing.maxY = 10000;
        AddLine(drawing, 1, 0, 0, 100, 0);
        AddLine(drawing, 2, 0, 50, 100, 50);
        AddLine(drawing, 3, 0, 100, 100, 100);
        AddLine(drawing, 4, 0, 150, 100, 150);
        AddLine(drawing, 5, 0, 200, 100.5, 200);
        CCadEntity circle = MakeEntity<CCadCircle>(kCadCircle);
        circle.record->identifier = 6;
        circle.As<CCadCircle>()->radius = 1000;
        drawing.AddEntity(circle);
        CCadEntity arc = MakeEntity<CCadArc>(kCadArc);
        arc.record->identifier = 7;
        arc.As<CCadArc>()->radius = 1000;
        arc.As<CCadArc>()->startAngle = 350;
        arc.As<CCadArc>()->endAngle = 10;
        drawing.AddEntity(arc);
        return drawing;
    }

    std::string Home() const { return (m_root / "home").string(); }

    // Runs the built quarrant-cli (no shell in between), with --home first unless the
    // arguments already name it.
    RunResult Run(std::vector<std::string> arguments, bool homeFirst = true) const {
        if (homeFirst) {
            arguments.insert(arguments.begin(), {"--home", Home()});
        }
        return quarrant::testing::RunCli(std::move(arguments));
    }

    fs::path m_root;
    std::string m_drawingPath;
};

struct OutputCase {
    const char* name;
    std::vector<std::string> arguments;  // "DRAWING" stands for the drawing file
    const char* out;
};

std::vector<std::string> WithDrawing(std::vector<std::string> arguments, const std::string& path) {
    for (std::string& argument : arguments) {
        if (argument == "DRAWING") {
            argument = path;
        }
    }
    return arguments;
}

TEST_F(CliCountPick, CountPrintsTheCountAndEveryIdentifierInOrder) {
    const OutputCase cases[] = {
        {"Set.ini precisions", {"count", "DRAWING", "1"}, "5&5;5;4;4;3;3;2;2;1;1;\n"},
        {"coordinate precision override",
         {"count", "--coord-precision", "0.1", "DRAWING", "1"},
         "4&4;4;3;3;2;2;1;1;\n"},
        {"options after the identifiers",
         {"count", "DRAWING", "1", "--coord-precision", "0.1"},
         "4&4;4;3;3;2;2;1;1;\n"},
        {"angle precision override of 0 matches no slope",
         {"count", "--angle-precision", "0", "DRAWING", "1"},
         "1&1;1;\n"},
        {"unknown identifiers are ignored",
         {"count", "DRAWING", "77", "1", "-5"},
         "5&5;5;4;4;3;3;2;2;1;1;\n"},
        // Line 5 lies 50 below line 4, as line 4 below line 3: two more occurrences.
        {"two selected lines", {"count", "DRAWING", "1", "2"}, "3&4;5;4;3;4;3;1;2;1;\n"},
        {"an identifier given twice makes two groups",
         {"count", "--coord-precision", "0.1", "DRAWING", "5", "5"},
         "1&5;5;5;\n"},
        {"no identifiers", {"count", "DRAWING"}, "0&\n"},
        {"nothing countable", {"count", "DRAWING", "99"}, "0&\n"},
    };
    for (const OutputCase& c : cases) {
        RunResult run = Run(WithDrawing(c.arguments, m_drawingPath));
        EXPECT_EQ(run.exitStatus, 0) << c.name << ": " << run.err;
        EXPECT_EQ(run.out, c.out) << c.name;
    }
}

TEST_F(CliCountPick, CountTakesHomeAfterTheSubcommand) {
    RunResult run = Run({"count", "--home", Home(), m_drawingPath, "1"}, false);
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.out, "5&5;5;4;4;3;3;2;2;1;1;\n");
}

TEST_F(CliCountPick, ASetIniOfOneLineLeavesTheAnglePrecisionAtZero) {
    WriteText(m_root / "home" / "Set.ini", "1\r\n");
    RunResult run = Run({"count", m_drawingPath, "1"});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out, "1&1;1;\n");
}

TEST_F(CliCountPick, WithoutSetIniThePrecisionsAreOneAndAHundredth) {
    fs::remove(m_root / "home" / "Set.ini");
    WriteText(m_root / "home" / "Set.ini.bak", "0\r\n0\r\n");
    RunResult run = Run({"count", m_drawingPath, "1"});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out, "5&5;5;4;4;3;3;2;2;1;1;\n");
    // A coordinate precision of 0.4 leaves out the line 0.5 longer.
    WriteText(m_root / "home" / "Set.ini", "0.4\n0.01\n");
    EXPECT_EQ(Run({"count", m_drawingPath, "1"}).out, "4&4;4;3;3;2;2;1;1;\n");
}

TEST_F(CliCountPick, CountWorksWithoutAColourTable) {
    fs::remove(m_root / "home" / "COLOR.ini");
    RunResult run = Run({"count", m_drawingPath, "1"});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out, "5&5;5;4;4;3;3;2;2;1;1;\n");
}

TEST_F(CliCountPick, PickPrintsTheValuesAndIdentifiers) {
    const OutputCase cases[] = {
        {"selected line", {"pick", "DRAWING", "mm", "1:1", "1"}, "0.10+&1;\n"},
        {"circle and arc", {"pick", "DRAWING", "mm", "1:1", "6", "7"}, "6.28+0.35+&6;7;\n"},
        {"scale 2:1", {"pick", "DRAWING", "mm", "2:1", "6"}, "12.57+&6;\n"},
        {"unit the program does not know", {"pick", "DRAWING", "毫米", "1:1", "1"}, "100.00+&1;\n"},
        {"current and confirmed paths, then the selected identifiers",
         {"pick", "--path", "0,0;3000,0;3000,4000", "--path", "0,0; 0,1000;", "--current",
          "0,0;6000,8000", "DRAWING", "mm", "1:1", "1", "6", "99"},
         "10.00+3.00+4.00+1.00+&1;6;\n"},
        {"a one-point current path measures nothing",
         {"pick", "--current", "5,5", "DRAWING", "mm", "1:1", "1"},
         "0.10+&1;\n"},
        {"nothing selected", {"pick", "DRAWING", "mm", "1:1"}, "&\n"},
        {"negative coordinates and exponents",
         {"pick", "--path", "-1e3,0;1000,0", "DRAWING", "m", "1:1000"},
         "2.00+&\n"},
    };
    for (const OutputCase& c : cases) {
        RunResult run = Run(WithDrawing(c.arguments, m_drawingPath));
        EXPECT_EQ(run.exitStatus, 0) << c.name << ": " << run.err;
        EXPECT_EQ(run.out, c.out) << c.name;
    }
}

TEST_F(CliCountPick, PickTakesHomeAfterTheSubcommand) {
    RunResult run = Run({"pick", m_drawingPath, "--home", Home(), "mm", "1:1", "1"}, false);
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.out, "0.10+&1;\n");
}

struct UsageCase {
    const char* name;
    std::vector<std::string> arguments;
};

TEST_F(CliCountPick, MalformedCommandLinesAreUsageErrors) {
    const UsageCase cases[] = {
        {"count without a drawing", {"count"}},
        {"identifier that is no integer", {"count", "DRAWING", "1x"}},
        {"identifier beyond int32", {"count", "DRAWING", "2147483648"}},
        {"unknown option", {"count", "--bogus", "1", "DRAWING", "1"}},
        {"option without a value", {"count", "DRAWING", "1", "--coord-precision"}},
        {"precision that is no number", {"count", "--coord-precision", "0,5", "DRAWING", "1"}},
        {"path option on count", {"count", "--path", "0,0;1,1", "DRAWING", "1"}},
        {"pick without the scale", {"pick", "DRAWING", "mm"}},
        {"pick identifier that is no integer", {"pick", "DRAWING", "mm", "1:1", "1.5"}},
        {"path point without a comma", {"pick", "--path", "0,0;5", "DRAWING", "mm", "1:1"}},
        {"path coordinate that is no number",
         {"pick", "--path", "0,0;x,5", "DRAWING", "mm", "1:1"}},
        {"precision option on pick", {"pick", "--coord-precision", "1", "DRAWING", "mm", "1:1"}},
    };
    for (const UsageCase& c : cases) {
        RunResult run = Run(WithDrawing(c.arguments, m_drawingPath));
        EXPECT_EQ(run.exitStatus, 2) << c.name;
        EXPECT_EQ(run.out, "") << c.name;
        EXPECT_NE(run.err.find("usage: quarrant-cli"), std::string::npos) << c.name;
    }
}

TEST_F(CliCountPick, AMissingDrawingFileFailsWithTheFileMessage) {
    const std::string missing = (m_root / "YZN9").string();
    for (const char* command : {"count", "pick"}) {
        std::vector<std::string> arguments = {command, missing};
        if (std::string(command) == "pick") {
            arguments.insert(arguments.end(), {"mm", "1:1"});
        }
        arguments.push_back("1");
        RunResult run = Run(arguments);
        EXPECT_EQ(run.exitStatus, 1) << command;
        EXPECT_EQ(run.out, "") << command;
        EXPECT_EQ(run.err, std::string("无法打开文件 ") + missing + "\n") << command;
    }
}

TEST_F(CliCountPick, ADamagedDrawingFileFailsWithTheDamageMessage) {
    std::string bytes = ReadText(m_drawingPath);
    WriteText(m_drawingPath, bytes.substr(0, bytes.size() / 2));
    for (const char* command : {"count", "pick"}) {
        std::vector<std::string> arguments = {command, m_drawingPath};
        if (std::string(command) == "pick") {
            arguments.insert(arguments.end(), {"mm", "1:1"});
        }
        arguments.push_back("1");
        RunResult run = Run(arguments);
        EXPECT_EQ(run.exitStatus, 1) << command;
        EXPECT_EQ(run.out, "") << command;
        EXPECT_EQ(run.err, std::string("图纸文件已损坏：") + m_drawingPath + "\n") << command;
    }
}

}  // namespace
