#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/FileIO.h"
#include "cad/CadDrawing.h"
#include "cad/ColorTable.h"

using namespace quarrant;

namespace {

struct ColorCase {
    const char* name;
    const char* text;
    std::int32_t number;
    int red, green, blue;
};

TEST(ColorTable, EachLineGivesOneColourUnderItsNumber) {
    const ColorCase cases[] = {
        {"four fields", "1.255.0.0", 1, 255, 0, 0},
        {"missing fields stay 255", "5.10", 5, 10, 255, 255},
        {"number alone is white", "9", 9, 255, 255, 255},
        {"CR LF line end", "3.0.255.0\r\n", 3, 0, 255, 0},
        {"fields read as atoi reads them", " 12 .  7x.+8.-1", 12, 7, 8, -1},
        {"empty field is 0", "4..0.", 4, 0, 0, 0},
        {"extra fields ignored", "6.1.2.3.4.5", 6, 1, 2, 3},
        {"rubbish number is 0", "red.1.2.3", 0, 1, 2, 3},
    };
    for (const ColorCase& c : cases) {
        CCadColorTable table = ParseColorTable(c.text);
        ASSERT_EQ(table.size(), 1u) << c.name;
        const CCadColor* color = table.Lookup(c.number);
        ASSERT_NE(color, nullptr) << c.name;
        EXPECT_EQ(color->red, c.red) << c.name;
        EXPECT_EQ(color->green, c.green) << c.name;
        EXPECT_EQ(color->blue, c.blue) << c.name;
    }
}

TEST(ColorTable, BlankLinesAreSkippedAndLineEndsMayMix) {
    CCadColorTable table = ParseColorTable("1.255.0.0\r\n\r\n   \t\n2.255.255.0\n\n7.255.255.255");
    EXPECT_EQ(table.size(), 3u);
    EXPECT_TRUE(table.Contains(1));
    EXPECT_TRUE(table.Contains(2));
    EXPECT_TRUE(table.Contains(7));
    // A blank line does not become colour 0.
    EXPECT_FALSE(table.Contains(0));
}

TEST(ColorTable, ALaterLineOfTheSameNumberReplacesTheEarlier) {
    CCadColorTable table = ParseColorTable("1.255.0.0\n2.0.0.255\n1.10.20\n");
    ASSERT_EQ(table.size(), 2u);
    const CCadColor* color = table.Lookup(1);
    EXPECT_EQ(color->red, 10);
    EXPECT_EQ(color->green, 20);
    EXPECT_EQ(color->blue, 255);  // not kept from the earlier line
}

TEST(ColorTable, EmptyTextGivesAnEmptyTable) {
    EXPECT_TRUE(ParseColorTable("").empty());
    EXPECT_TRUE(ParseColorTable("\r\n\n").empty());
}

TEST(ColorTable, MissingFileGivesNoTableAndTheFileOpenMessage) {
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "quarrant-colortable-missing";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::string programFolder = ModelPath(folder);

    const Result<std::shared_ptr<const CCadColorTable>> table = LoadColorTable(programFolder);
    EXPECT_FALSE(table);
    // "无法打开文件 " and the path.
    EXPECT_EQ(table.Message(),
              "\xCE\xDE\xB7\xA8\xB4\xF2\xBF\xAA\xCE\xC4\xBC\xFE " + programFolder + "/COLOR.ini");
    std::filesystem::remove_all(folder);
}

TEST(ColorTable, LoadsFromTheProgramFolder) {
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "quarrant-colortable-present";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::string programFolder = ModelPath(folder);
    ASSERT_TRUE(
        WriteFileAtomically(JoinPath(programFolder, "COLOR.ini"), "1.255.0.0\r\n250.51.51.51\r\n"));

    auto table = LoadColorTable(programFolder).ValueOr(nullptr);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->size(), 2u);
    EXPECT_EQ(table->Lookup(250)->green, 51);

    CCadDrawing drawing(table);
    ASSERT_NE(drawing.ColorTable().Lookup(1), nullptr);
    EXPECT_EQ(drawing.ColorTable().Lookup(1)->red, 255);
    std::filesystem::remove_all(folder);
}

TEST(ColorTable, ShippedTableHasEveryIndexColourWithCrLfLineEnds) {
    Result<std::string> read = ReadWholeFile(QUARRANT_SOURCE_DIR "/programfolder/COLOR.ini");
    ASSERT_TRUE(read) << read.Message();
    const std::string& data = read.Value();
    std::vector<std::string_view> lines = SplitLines(data);
    ASSERT_EQ(lines.size(), 256u);
    std::size_t crlf = 0;
    for (std::size_t at = data.find('\n'); at != std::string::npos; at = data.find('\n', at + 1)) {
        EXPECT_TRUE(at > 0 && data[at - 1] == '\r') << "line end at byte " << at;
        ++crlf;
    }
    EXPECT_EQ(crlf, 256u);

    CCadColorTable table = ParseColorTable(data);
    ASSERT_EQ(table.size(), 256u);
    for (std::int32_t number = 0; number <= 255; ++number) {
        EXPECT_TRUE(table.Contains(number)) << number;
    }
    const ColorCase known[] = {
        {"red", "", 1, 255, 0, 0},
        {"yellow", "", 2, 255, 255, 0},
        {"green", "", 3, 0, 255, 0},
        {"cyan", "", 4, 0, 255, 255},
        {"blue", "", 5, 0, 0, 255},
        {"magenta", "", 6, 255, 0, 255},
        {"white", "", 7, 255, 255, 255},
        {"dark grey", "", 8, 128, 128, 128},
        {"light grey", "", 9, 192, 192, 192},
        {"red 10", "", 10, 255, 0, 0},
        {"pale red 11", "", 11, 255, 127, 127},
        {"orange 30", "", 30, 255, 127, 0},
        {"green 90", "", 90, 0, 255, 0},
        {"blue 170", "", 170, 0, 0, 255},
        {"grey 250", "", 250, 51, 51, 51},
        {"white 255", "", 255, 255, 255, 255},
    };
    for (const ColorCase& c : known) {
        const CCadColor* color = table.Lookup(c.number);
        ASSERT_NE(color, nullptr) << c.name;
        EXPECT_EQ(color->red, c.red) << c.name;
        EXPECT_EQ(color->green, c.green) << c.name;
        EXPECT_EQ(color->blue, c.blue) << c.name;
    }
}

TEST(ColorTable, ProgramFolderOfTheBuildHoldsTheTable) {
    const auto table = LoadColorTable(QUARRANT_PROGRAM_FOLDER);
    ASSERT_TRUE(table) << table.Message();
    EXPECT_EQ(table.Value()->size(), 256u);
}

}  // namespace
