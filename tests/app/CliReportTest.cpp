#include <gtest/gtest.h>

#include <unistd.h>
#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../reports/ReportTestSupport.h"
#include "CliRunner.h"
#include "base/FileIO.h"

using namespace quarrant;
using namespace quarrant::reporttest;

namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path) {
    return quarrant::testing::ReadCliOutput(path);
}

std::uint32_t Le32(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    }
    return value;
}
std::uint32_t Le16(const std::string& bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8);
}

// One member of a zip file, inflated (a spreadsheet reader's first step); empty when missing.
std::string ZipMember(const std::string& zip, const std::string& name) {
    const std::size_t end = zip.rfind(std::string("PK\x05\x06", 4));
    if (end == std::string::npos) {
        return {};
    }
    std::size_t entry = Le32(zip, end + 16);
    for (std::uint32_t i = 0, count = Le16(zip, end + 10); i < count; ++i) {
        const std::uint32_t method = Le16(zip, entry + 10);
        const std::uint32_t packed = Le32(zip, entry + 20);
        const std::uint32_t size = Le32(zip, entry + 24);
        const std::uint32_t nameLength = Le16(zip, entry + 28);
        const std::uint32_t extra = Le16(zip, entry + 30);
        const std::uint32_t comment = Le16(zip, entry + 32);
        const std::uint32_t local = Le32(zip, entry + 42);
        if (zip.compare(entry + 46, nameLength, name) == 0) {
            const std::size_t data = local + 30 + Le16(zip, local + 26) + Le16(zip, local + 28);
            if (method == 0) {
                return zip.substr(data, size);
            }
            std::string out(size, '\0');
            z_stream stream{};
            inflateInit2(&stream, -15);
            stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zip.data() + data));
            stream.avail_in = packed;
            stream.next_out = reinterpret_cast<Bytef*>(out.data());
            stream.avail_out = size;
            inflate(&stream, Z_FINISH);
            inflateEnd(&stream);
            return out;
        }
        entry += 46 + nameLength + extra + comment;
    }
    return {};
}

class CliReport : public ::testing::Test {
protected:
    void SetUp() override {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_root = fs::temp_directory_path() /
                 ("quarrant-clireport-" + std::to_string(::getpid()) + "-" + info->name());
        fs::remove_all(m_root);
        fs::create_directories(m_root / "home");
        m_project = SavedSampleProject(ModelPath(m_root), "钢结构厂房", ModelPath(m_root / "home"));
        ASSERT_FALSE(m_project.empty());
    }
    void TearDown() override { fs::remove_all(m_root); }

    quarrant::testing::CliRun Report(std::vector<std::string> more) {
        std::vector<std::string> arguments = {"--home", (m_root / "home").string(), "report"};
        arguments.insert(arguments.end(), more.begin(), more.end());
        return quarrant::testing::RunCli(arguments);
    }
    std::string Project() const { return FsPath(m_project).string(); }

    fs::path m_root;
    std::string m_project;
};

}  // namespace

TEST_F(CliReport, PrintsEachTableFullAndFiltered) {
    struct Case {
        std::vector<std::string> arguments;
        std::vector<std::string> firstLines;
        std::size_t lineCount;
    };
    const Case cases[] = {
        {{"summary"},
         {"序号\t项目名称\t单位\t工程量",
          "1\t屋面支撑及系杆（含水平支撑、垂直支撑与刚性系杆）\tt\t0.842", "2\t钢梁GL-1\tt\t55.000",
          "3\t钢屋架GWJ-1\tt\t3.064", "4\t钢梁GL-2\tt\t47.500", "5\t檩条\tt\t2.064",
          "6\t钢梁GL-3\tt\t50.000", "7\t钢梁GL-4\tt\t52.500"},
         8},
        {{"detail"},
         {"序号\t项目名称\t材料\t部位或轴线\t数量\t长\t宽\t高\t面积\t体积\t单位\t工程量",
          "1\t钢屋架GWJ-1\t\tA-B轴\t2\t\t\t\t\t\tt\t2*1.532=3.064",
          "\t钢屋架GWJ-1\tQ235 角钢∠75×6\t\t\t6.25\t\t\t\t\tkg\t2*6.905*0.1"},
         1 + 43 + 43},
        {{"material"},
         {"序号\t材料名称及规格\t单位\t工程量", "1\tQ235 C型钢C160×60×20×2.5\tkg\t2059.200",
          "2\tQ345 H型钢HN400×200\tkg\t54120.000", "3\tQ235 角钢∠75×6\tkg\t1.381",
          "4\tQ235 钢板-8\tkg\t1.500"},
         5},
        {{"--name", "钢梁GL-1", "summary"},
         {"序号\t项目名称\t单位\t工程量", "1\t钢梁GL-1\tt\t55.000"},
         2},
        {{"detail", "--name", "檩条"},
         {"序号\t项目名称\t材料\t部位或轴线\t数量\t长\t宽\t高\t面积\t体积\t单位\t工程量",
          "1\t檩条\t\tA-B轴\t2\t\t\t\t\t\tt\t24*0.086<C160×60×20×2.5>",
          "\t檩条\tQ235 C型钢C160×60×20×2.5\t\t\t6.25\t\t\t\t\tkg\t24*6*14.3"},
         3},
        {{"material", "--name", "Q235 钢板-8"},
         {"序号\t材料名称及规格\t单位\t工程量", "1\tQ235 钢板-8\tkg\t1.500"},
         2},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments = c.arguments;
        arguments.insert(arguments.begin(), Project());
        quarrant::testing::CliRun run = Report(arguments);
        const std::string label = c.arguments.front() + " " + c.arguments.back();
        EXPECT_EQ(run.exitStatus, 0) << label << run.err;
        std::vector<std::string> lines;
        std::istringstream text(run.out);
        for (std::string line; std::getline(text, line);) {
            lines.push_back(line);
        }
        EXPECT_EQ(lines.size(), c.lineCount) << label;
        lines.resize(std::min(lines.size(), c.firstLines.size()));
        EXPECT_EQ(lines, c.firstLines) << label;
    }
}

TEST_F(CliReport, WritesCsvForSpreadsheetsAndPrintsNothing) {
    const fs::path csv = m_root / "汇总.csv";
    quarrant::testing::CliRun run = Report({"--csv", csv.string(), Project(), "summary"});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.out, "");
    const std::string text = ReadText(csv);
    EXPECT_EQ(text.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_NE(text.find("序号,项目名称,单位,工程量\r\n1,"
                        "屋面支撑及系杆（含水平支撑、垂直支撑与刚性系杆）,t,0.842\r\n"),
              std::string::npos);
}

TEST_F(CliReport, WritesAnExcelWorkbookWithNumbersAsNumbers) {
    const fs::path xlsx = m_root / "材料.xlsx";
    quarrant::testing::CliRun run = Report({Project(), "material", "--xlsx", xlsx.string()});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.out, "");
    const std::string zip = ReadText(xlsx);
    EXPECT_NE(ZipMember(zip, "xl/workbook.xml").find("<sheet name=\"结构材料统计表\""),
              std::string::npos);
    const std::string sheet = ZipMember(zip, "xl/worksheets/sheet1.xml");
    const std::string styles = ZipMember(zip, "xl/styles.xml");
    for (const char* part : {
             "<pane ySplit=\"1\" topLeftCell=\"A2\" activePane=\"bottomLeft\" state=\"frozen\"/>",
             "<c r=\"A1\" s=\"1\" t=\"inlineStr\"><is><t>序号</t></is></c>",
             "<c r=\"A3\" s=\"2\"><v>2</v></c>",
             "<c r=\"B3\" t=\"inlineStr\"><is><t>Q345 H型钢HN400×200</t></is></c>",
             "<c r=\"D3\" s=\"3\"><v>54120</v></c>",
         }) {
        EXPECT_NE(sheet.find(part), std::string::npos) << part;
    }
    EXPECT_NE(styles.find("<xf numFmtId=\"0\" fontId=\"1\""), std::string::npos) << "bold header";
    EXPECT_NE(styles.find("<font><b/>"), std::string::npos);
    EXPECT_NE(styles.find("<numFmt numFmtId=\"165\" formatCode=\"0.000\"/>"), std::string::npos);
}

TEST_F(CliReport, RefusesBadCommandLinesAndMissingProjects) {
    EXPECT_EQ(Report({Project(), "analysis"}).exitStatus, 2);
    EXPECT_EQ(Report({Project()}).exitStatus, 2);
    EXPECT_EQ(Report({Project(), "summary", "--bogus", "1"}).exitStatus, 2);
    quarrant::testing::CliRun missing = Report({(m_root / "nowhere").string(), "summary"});
    EXPECT_EQ(missing.exitStatus, 1);
    EXPECT_NE(missing.err.find("nowhere"), std::string::npos) << missing.err;
}
