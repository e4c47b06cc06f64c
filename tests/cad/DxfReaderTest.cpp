#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "base/CNumbers.h"
#include "base/GbkText.h"
#include "cad/CadDrawing.h"
#include "cad/DrawingFile.h"
#include "cad/DxfReader.h"
#include "cad/DxfTextBuilder.h"
#include "cad/LoadDxf.h"

using namespace quarrant;

extern char** environ;

namespace {

const std::string kOpenError(kDxfOpenErrorMessage);
const std::string kFormatError(kDxfFormatErrorMessage);
const std::string kDecodeFailed(kDxfDecodeFailedMessage);

using quarrant::testing::Dxf;

// A drawing with the usual layers: "0" on, "OFF" off, "ICE" frozen.
Dxf WithLayers() {
    Dxf dxf;
    dxf.Layers({{"0", 7, 0}, {"OFF", -7, 0}, {"ICE", 7, 1}});
    return dxf;
}

struct ReadOutcome {
    int result = 0;
    std::vector<std::string> messages;
    std::unique_ptr<CCadDrawing> drawing = std::make_unique<CCadDrawing>();
};

ReadOutcome Read(const std::string& text) {
    ReadOutcome outcome;
    Status read = ReadDxf(*outcome.drawing, DxfBytes{text});
    outcome.result = read ? 0 : -1;
    if (!read.Message().empty()) {
        outcome.messages.push_back(read.Message());
    }
    return outcome;
}

std::vector<int> Types(const CCadEntityList& entities) {
    std::vector<int> types;
    for (const CCadEntity& entity : entities) {
        types.push_back(entity.type);
    }
    return types;
}

std::vector<int> Identifiers(const CCadEntityList& entities) {
    std::vector<int> identifiers;
    for (const CCadEntity& entity : entities) {
        identifiers.push_back(entity.record->identifier);
    }
    return identifiers;
}

// ---------------------------------------------------------------------------------------
// Section loop and lines.

TEST(DxfReaderTest, SectionLoopAcceptsOrRefusesAsSpecified) {
    struct Case {
        const char* name;
        std::string text;
        int result;
        std::vector<std::string> messages;
        std::size_t entities;
    } cases[] = {
        {"a file starting with a comment is refused",
         Dxf().Pair(999, "dxfrw 0.5.13").Section("ENTITIES").EndSection().Eof(),
         -1,
         {kFormatError},
         0},
        {"an empty file is refused", "", -1, {kFormatError}, 0},
        {"a line other than 0 after a section is refused",
         Dxf().Section("HEADER").EndSection().Raw("  5").Raw("ENTITIES").Eof(),
         -1,
         {kFormatError},
         0},
        {"a blank line after EOF is refused", Dxf().Eof().Raw(""), -1, {kFormatError}, 0},
        {"EOF ends the file",
         WithLayers().Section("ENTITIES").Line(0, 0, 1, 1).EndSection().Eof(),
         0,
         {},
         1},
        {"a file may end without EOF",
         WithLayers().Section("ENTITIES").Line(0, 0, 1, 1).EndSection(),
         0,
         {},
         1},
        {"a file may end after the 0 of EOF",
         WithLayers().Section("ENTITIES").Line(0, 0, 1, 1).EndSection().Raw("  0"),
         0,
         {},
         1},
        {"sections in any order, entities before tables lose their layers",
         Dxf().Section("ENTITIES").Line(0, 0, 1, 1).EndSection().Layers({{"0"}}).Eof(),
         0,
         {},
         0},
        {"values other than SECTION after 0 are passed over",
         WithLayers().Pair(0, "JUNK").Section("ENTITIES").Line(0, 0, 1, 1).EndSection().Eof(),
         0,
         {},
         1},
        {"SECTION without group 2 dispatches nothing",
         WithLayers().Pair(0, "SECTION").Raw("  3").Pair(0, "LINE").Eof(),
         0,
         {},
         0},
        {"after SECTION and another code the next line must be 0",
         WithLayers().Pair(0, "SECTION").Pair(3, "ENTITIES").Pair(0, "LINE").Eof(),
         -1,
         {kFormatError},
         0},
        {"an unknown section is skipped to its ENDSEC",
         WithLayers()
             .Section("OBJECTS")
             .Pair(0, "LINE")
             .Pair(8, "0")
             .EndSection()
             .Section("ENTITIES")
             .Line(0, 0, 1, 1)
             .EndSection()
             .Eof(),
         0,
         {},
         1},
        {"the end of the file inside an unknown section keeps what was read",
         WithLayers()
             .Section("ENTITIES")
             .Line(0, 0, 1, 1)
             .EndSection()
             .Section("OBJECTS")
             .Pair(0, "DICTIONARY")
             .Pair(5, "C"),
         0,
         {},
         1},
        {"CLASSES is skipped to its ENDSEC line",
         WithLayers()
             .Section("CLASSES")
             .Pair(0, "CLASS")
             .Pair(1, "LINE")
             .EndSection()
             .Section("ENTITIES")
             .Line(0, 0, 1, 1)
             .EndSection()
             .Eof(),
         0,
         {},
         1},
        {"the end of the file inside CLASSES is no failure",
         WithLayers()
             .Section("ENTITIES")
             .Line(0, 0, 1, 1)
             .EndSection()
             .Section("CLASSES")
             .Pair(0, "CLASS"),
         0,
         {},
         1},
        {"the end of the file inside HEADER fails",
         Dxf().Section("HEADER").Pair(9, "$ACADVER"),
         -1,
         {},
         0},
        {"the end of the file inside TABLES fails",
         Dxf().Section("TABLES").Pair(0, "TABLE"),
         -1,
         {},
         0},
        {"the end of the file inside a layer entry fails",
         Dxf().Section("TABLES").Pair(0, "TABLE").Pair(0, "LAYER").Pair(2, "0"),
         -1,
         {},
         0},
        {"the end of the file inside BLOCKS fails",
         Dxf().Section("BLOCKS").Pair(0, "BLOCK").Pair(2, "B").Pair(0, "LINE").Pair(0, "ENDBLK"),
         -1,
         {},
         0},
        {"the end of the file inside a block fails",
         Dxf().Section("BLOCKS").Pair(0, "BLOCK").Pair(2, "B").Pair(0, "LINE"),
         -1,
         {},
         0},
        {"the end of the file inside ENTITIES fails",
         WithLayers().Section("ENTITIES").Line(0, 0, 1, 1).Pair(0, "POINT"),
         -1,
         {},
         0},
        {"the end of the file inside an entity fails",
         WithLayers().Section("ENTITIES").Pair(0, "LINE").Pair(8, "0").Raw(" 10"),
         -1,
         {},
         0},
        {"the end of the file right after the section name fails",
         Dxf().Section("ENTITIES"),
         -1,
         {},
         0},
    };
    for (const Case& c : cases) {
        ReadOutcome outcome = Read(c.text);
        EXPECT_EQ(outcome.result, c.result) << c.name;
        EXPECT_EQ(outcome.messages, c.messages) << c.name;
        if (c.result == 0) {
            EXPECT_EQ(outcome.drawing->entities.size(), c.entities) << c.name;
        }
    }
}

TEST(DxfReaderTest, LoadDxfAddsDecodingFailedAndLeavesNoDrawing) {
    CCadFile file;
    file.drawing = std::make_unique<CCadDrawing>();  // a drawing held before is discarded
    std::string text = Dxf().Pair(999, "comment").Eof();
    Status loaded = LoadDxf(file, DxfBytes{text}, nullptr, 1.0);
    EXPECT_FALSE(loaded);
    EXPECT_EQ(ImportFailureMessages(loaded),
              (std::vector<std::string>{kFormatError, kDecodeFailed}));
    EXPECT_EQ(file.drawing, nullptr);

    file.drawing = std::make_unique<CCadDrawing>();
    std::string truncated = WithLayers().Section("ENTITIES").Pair(0, "LINE").Pair(8, "0");
    loaded = LoadDxf(file, DxfBytes{truncated}, nullptr, 1.0);
    EXPECT_FALSE(loaded);
    EXPECT_EQ(ImportFailureMessages(loaded), std::vector<std::string>{kDecodeFailed});
    EXPECT_EQ(file.drawing, nullptr);
}

TEST(DxfReaderTest, MissingFileReportsOpenErrorThenDecodingFailed) {
    CCadFile file;
    Status loaded = LoadDxf(file, "/nonexistent/folder/plan.dxf", nullptr, 1.0);
    EXPECT_FALSE(loaded);
    EXPECT_EQ(ImportFailureMessages(loaded), (std::vector<std::string>{kOpenError, kDecodeFailed}));
    EXPECT_EQ(file.drawing, nullptr);
}

TEST(DxfReaderTest, FileAndMemoryReadsAgreeAcrossChunkBoundaries) {
    // Long enough to span several read chunks, with CR LF line ends.
    Dxf dxf = WithLayers();
    dxf.Section("ENTITIES");
    for (int i = 0; i < 60000; ++i) {
        dxf.Line(i, i * 0.5, i + 0.25, -i, "0");
        dxf.Pair(1000, std::string(static_cast<std::size_t>(i % 97), 'x'));
    }
    // A line longer than the read buffer.
    const std::string longText(std::size_t{5} << 19, 'W');
    dxf.Pair(0, "TEXT").Pair(8, "0").Pair(1, longText);
    dxf.EndSection().Eof();
    std::string text = dxf.Text();
    std::string crlf;
    for (char c : text) {
        if (c == '\n') {
            crlf += '\r';
        }
        crlf += c;
    }
    std::filesystem::path path = std::filesystem::temp_directory_path() /
                                 ("dxf-reader-" + std::to_string(::getpid()) + ".dxf");
    {
        std::ofstream out(path, std::ios::binary);
        out << crlf;
    }
    CCadDrawing fromFile;
    EXPECT_TRUE(ReadDxf(fromFile, path.string()));
    std::filesystem::remove(path);
    CCadDrawing fromMemory;
    EXPECT_TRUE(ReadDxf(fromMemory, DxfBytes{text}));
    ASSERT_EQ(fromFile.entities.size(), 60001u);
    ASSERT_EQ(fromMemory.entities.size(), 60001u);
    EXPECT_EQ(fromFile.entities.back().As<CCadText>()->text, longText);
    for (std::size_t i = 0; i < 60000; i += 997) {
        const auto* a = fromFile.entities[i].As<CCadLine>();
        const auto* b = fromMemory.entities[i].As<CCadLine>();
        EXPECT_EQ(a->startX, b->startX);
        EXPECT_EQ(a->endY, b->endY);
        EXPECT_EQ(a->identifier, b->identifier);
        EXPECT_EQ(a->layer, "0");
    }
    EXPECT_EQ(fromFile.maxX, fromMemory.maxX);
    EXPECT_EQ(fromFile.minY, fromMemory.minY);
}

TEST(DxfReaderTest, LinesEndAtLineFeedAndLoseOneCarriageReturn) {
    // A lone CR is an ordinary byte; two CRs before LF leave one in the line, so "LINE\r" is
    // no entity name.
    std::string text = WithLayers().Text() +
                       "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n  0\r\n"
                       "LINE\r\n  8\r\n0\r\n 10\r\n1.5\r\n 20\r\n2.5\r\n 11\r\n3\r\n 21\r\n4\r\n"
                       "  0\r\nLINE\r\r\n  8\r\n0\r\n"
                       "  0\rLINE\r\n"
                       "  0\r\nENDSEC\r\n  0\r\nEOF\r\n";
    ReadOutcome outcome = Read(text);
    ASSERT_EQ(outcome.result, 0);
    ASSERT_EQ(outcome.drawing->entities.size(), 1u);
    const auto* line = outcome.drawing->entities[0].As<CCadLine>();
    EXPECT_EQ(line->startX, 1.5);
    EXPECT_EQ(line->endY, 4.0);
}

TEST(DxfReaderTest, GroupCodesAreTrimmedButScanLinesAreComparedAsRead) {
    std::string text = WithLayers()
                           .Pair(0, "SECTION")
                           .Raw("2   ")
                           .Raw("  ENTITIES  ")
                           .Raw("anything")  // the line after the section name: not checked
                           .Raw("LINE")
                           .Raw("\t8 ")
                           .Raw("  0  ")
                           .Raw("10")
                           .Raw(" 7.25 ")
                           .Raw("010")  // not the group code 10
                           .Raw("99")
                           .Raw("  0")
                           .Raw("LINE ")  // trailing blank: no entity
                           .Raw("ENDSEC ")
                           .Raw(" LINE")
                           .Raw("ENDSEC")
                           .Eof();
    ReadOutcome outcome = Read(text);
    ASSERT_EQ(outcome.result, 0);
    ASSERT_EQ(outcome.drawing->entities.size(), 1u);
    const auto* line = outcome.drawing->entities[0].As<CCadLine>();
    EXPECT_EQ(line->startX, 7.25);
    EXPECT_EQ(line->layer, "0");
}

TEST(DxfReaderTest, ValuesFollowAtofAndAtoi) {
    std::string text = WithLayers()
                           .Section("ENTITIES")
                           .Pair(0, "TEXT")
                           .Pair(8, "0")
                           .Pair(10, " 12.5abc")
                           .Pair(20, "rubbish")
                           .Pair(40, "3.9")
                           .Pair(72, " 2 ")
                           .Pair(1, "  GL-1  ")
                           .EndSection()
                           .Eof();
    ReadOutcome outcome = Read(text);
    ASSERT_EQ(outcome.drawing->entities.size(), 1u);
    const auto* t = outcome.drawing->entities[0].As<CCadText>();
    EXPECT_EQ(t->insertX, 12.5);
    EXPECT_EQ(t->insertY, 0.0);
    EXPECT_EQ(t->height, 3);
    EXPECT_EQ(t->justificationKind, 0);
    EXPECT_EQ(t->justification, 2);
    EXPECT_EQ(t->text, "GL-1");
}

// ---------------------------------------------------------------------------------------
// HEADER

TEST(DxfReaderTest, HeaderVariablesAreRead) {
    std::string text = Dxf()
                           .Section("HEADER")
                           .Pair(9, "$ACADVER")
                           .Pair(1, "AC1015")
                           .Pair(9, "$LIMMAX")
                           .Pair(10, "420.5")
                           .Pair(20, "297")
                           .Pair(9, "$LIMMIN")
                           .Pair(10, "-1")
                           .Pair(20, "-2")
                           .Pair(9, "$CELTSCALE")
                           .Pair(40, "2.5")
                           .Pair(9, "$INSUNITS")
                           .Pair(70, "4")
                           .Pair(9, "$DIMTXT")
                           .Pair(40, " 2.5000 ")
                           .Pair(9, "$EXTMIN")
                           .Pair(10, "1")
                           .Pair(20, "2")
                           .Pair(30, "3")
                           .EndSection()
                           .Eof();
    ReadOutcome outcome = Read(text);
    ASSERT_EQ(outcome.result, 0);
    const CCadHeader& header = outcome.drawing->header;
    EXPECT_EQ(header.limitsMaxX, 420.5);
    EXPECT_EQ(header.limitsMaxY, 297.0);
    EXPECT_EQ(header.limitsMinX, -1.0);
    EXPECT_EQ(header.limitsMinY, -2.0);
    EXPECT_EQ(header.lineTypeScale, 2.5);
    EXPECT_EQ(header.insertionUnits, 4);
    EXPECT_EQ(outcome.drawing->dimensionTextHeight, "2.5000");  // the text, not a number
}

TEST(DxfReaderTest, WrongCodeAfterHeaderVariableFailsExceptForDimTxtAndAcadVer) {
    struct Case {
        const char* name;
        std::string header;
        int result;
    } cases[] = {
        {"LIMMAX without 10", Dxf().Pair(9, "$LIMMAX").Pair(20, "1").Pair(20, "2"), -1},
        {"LIMMAX without 20", Dxf().Pair(9, "$LIMMAX").Pair(10, "1").Pair(30, "2"), -1},
        {"LIMMIN without 10", Dxf().Pair(9, "$LIMMIN").Pair(11, "1"), -1},
        {"CELTSCALE without 40", Dxf().Pair(9, "$CELTSCALE").Pair(41, "1"), -1},
        {"INSUNITS without 70", Dxf().Pair(9, "$INSUNITS").Pair(40, "1"), -1},
        {"DIMTXT with another code", Dxf().Pair(9, "$DIMTXT").Pair(41, "1"), 0},
        {"ACADVER with another code", Dxf().Pair(9, "$ACADVER").Pair(3, "AC1027"), 0},
    };
    for (const Case& c : cases) {
        std::string text =
            Dxf().Section("HEADER").Text() + c.header + Dxf().EndSection().Eof().Text();
        ReadOutcome outcome = Read(text);
        EXPECT_EQ(outcome.result, c.result) << c.name;
        EXPECT_TRUE(outcome.messages.empty()) << c.name;
        EXPECT_EQ(outcome.drawing->dimensionTextHeight, "") << c.name;
    }
}

TEST(DxfReaderTest, DimTxtFollowedByEndsecConsumesIt) {
    // The pair after $DIMTXT is taken whatever its code, so the header goes on past it.
    std::string text = Dxf()
                           .Section("HEADER")
                           .Pair(9, "$DIMTXT")
                           .EndSection()
                           .Section("TABLES")
                           .EndSection()
                           .Eof();
    ReadOutcome outcome = Read(text);
    EXPECT_EQ(outcome.result, 0);
    EXPECT_EQ(outcome.drawing->dimensionTextHeight, "");
}

// ---------------------------------------------------------------------------------------
// Layers

TEST(DxfReaderTest, LayerRulesDecideWhichEntitiesAreKept) {
    // Each entity kind on a layer that is on, missing, off and frozen, and without layer.
    auto entity = [](Dxf& dxf, const std::string& kind, const char* layer) {
        dxf.Pair(0, kind);
        if (layer != nullptr) {
            dxf.Pair(8, layer);
        }
        if (kind == "INSERT") {
            dxf.Pair(2, "B");
        }
        if (kind == "LWPOLYLINE") {
            dxf.Pair(90, "1").Pair(10, "1").Pair(20, "1");
        }
    };
    struct Case {
        std::string kind;
        int type;
        bool keptOnMissingOrOff;
    } cases[] = {
        {"LINE", kCadLine, false},           {"ARC", kCadArc, false},
        {"CIRCLE", kCadCircle, false},       {"ELLIPSE", kCadEllipse, false},
        {"LWPOLYLINE", kCadPolyline, false}, {"TEXT", kCadText, false},
        {"MTEXT", kCadMText, false},         {"INSERT", kCadInsert, false},
        {"SOLID", kCadSolid, true},          {"DIMENSION", kCadDimension, true},
    };
    for (const Case& c : cases) {
        struct Layer {
            const char* name;
            bool kept;
        } layers[] = {{"0", true},
                      {"MISSING", c.keptOnMissingOrOff},
                      {"OFF", c.keptOnMissingOrOff},
                      {"ICE", false},
                      {nullptr, c.keptOnMissingOrOff}};
        for (const Layer& layer : layers) {
            Dxf dxf = WithLayers();
            dxf.Section("BLOCKS")
                .Pair(0, "BLOCK")
                .Pair(2, "B")
                .Line(0, 0, 1, 1)
                .Pair(0, "ENDBLK")
                .EndSection();
            dxf.Section("ENTITIES");
            entity(dxf, c.kind, layer.name);
            dxf.EndSection().Eof();
            ReadOutcome outcome = Read(dxf);
            ASSERT_EQ(outcome.result, 0);
            std::vector<int> expected;
            if (layer.kept) {
                expected.push_back(c.type);
            }
            EXPECT_EQ(Types(outcome.drawing->entities), expected)
                << c.kind << " on " << (layer.name ? layer.name : "no layer");
        }
    }
}

TEST(DxfReaderTest, WithoutTablesOnlySolidsAndDimensionsAppear) {
    std::string text = Dxf()
                           .Section("ENTITIES")
                           .Line(0, 0, 1, 1)
                           .Circle(0, 0, 1)
                           .Pair(0, "ARC")
                           .Pair(8, "0")
                           .Pair(0, "TEXT")
                           .Pair(8, "0")
                           .Pair(1, "A")
                           .Solid(0, 0)
                           .Pair(0, "DIMENSION")
                           .Pair(8, "0")
                           .EndSection()
                           .Eof();
    ReadOutcome outcome = Read(text);
    ASSERT_EQ(outcome.result, 0);
    EXPECT_EQ(Types(outcome.drawing->entities), (std::vector<int>{kCadSolid, kCadDimension}));
}

TEST(DxfReaderTest, LayerEntriesFillTheTable) {
    std::string text = Dxf()
                           .Section("TABLES")
                           .Pair(0, "TABLE")
                           .Pair(2, "LAYER")
                           .Pair(0, "LAYER")
                           .Pair(2, "PLAIN")  // no 62, no 70
                           .Pair(0, "LAYER")
                           .Pair(2, "FULL")
                           .Pair(62, "-3")
                           .Pair(6, "DASHED")
                           .Pair(370, "0.35")
                           .Pair(70, "65")
                           .Pair(0, "LAYER")
                           .Pair(2, "TWICE")
                           .Pair(62, "1")
                           .Pair(0, "LAYER")
                           .Pair(2, "TWICE")
                           .Pair(62, "5")
                           .Pair(0, "ENDTAB")
                           .Pair(0, "TABLE")
                           .Pair(2, "LTYPE")
                           .Pair(0, "LTYPE")
                           .Pair(2, "DASHED")
                           .Pair(0, "ENDTAB")
                           .EndSection()
                           .Eof();
    ReadOutcome outcome = Read(text);
    ASSERT_EQ(outcome.result, 0);
    const auto& layers = outcome.drawing->layerTable;
    // The table header's group 2 value LAYER starts a harmless entry with an empty name.
    EXPECT_NE(layers.Lookup(""), nullptr);
    ASSERT_NE(layers.Lookup("PLAIN"), nullptr);
    EXPECT_EQ(layers.Lookup("PLAIN")->colorNumber, 0);
    EXPECT_EQ(layers.Lookup("PLAIN")->frozen, 0);
    const CCadLayer* full = layers.Lookup("FULL");
    ASSERT_NE(full, nullptr);
    EXPECT_EQ(full->colorNumber, -3);
    EXPECT_EQ(full->lineType, "DASHED");
    EXPECT_EQ(full->lineWeight, 0.35);
    EXPECT_EQ(full->frozen, 1);
    EXPECT_EQ(layers.Lookup("TWICE")->colorNumber, 5);
    EXPECT_EQ(layers.size(), 4u);
}

// ---------------------------------------------------------------------------------------
// Identifiers

TEST(DxfReaderTest, IdentifiersCountEveryEntityMet) {
    std::string text = WithLayers()
                           .Section("BLOCKS")
                           .Pair(0, "BLOCK")
                           .Pair(2, "B")
                           .Line(0, 0, 1, 1)        // 0
                           .Pair(0, "TEXT")         // not read in blocks: no identifier
                           .Pair(0, "HATCH")        // not read in blocks: no identifier
                           .Circle(0, 0, 1, "OFF")  // 1, dropped
                           .Pair(0, "ENDBLK")
                           .EndSection()
                           .Section("ENTITIES")
                           .Line(0, 0, 1, 1)  // 2
                           .Pair(0, "HATCH")
                           .Pair(8, "0")
                           .Pair(91, "1")
                           .Pair(10, "5")                // 3
                           .Line(0, 0, 2, 2)             // 4
                           .Line(0, 0, 3, 3, "MISSING")  // 5, dropped
                           .Pair(0, "POINT")
                           .Pair(8, "0")  // skipped: no identifier
                           .Pair(0, "INSERT")
                           .Pair(8, "0")
                           .Pair(2, "B")
                           .Pair(66, "1")  // 6
                           .Pair(0, "ATTRIB")
                           .Pair(1, "A1")
                           .Pair(10, "1")
                           .Pair(20, "2")
                           .Pair(0, "SEQEND")
                           .Line(0, 0, 4, 4)  // 7
                           .EndSection()
                           .Eof();
    ReadOutcome outcome = Read(text);
    ASSERT_EQ(outcome.result, 0);
    EXPECT_EQ(Types(outcome.drawing->entities),
              (std::vector<int>{kCadLine, kCadLine, kCadText, kCadInsert, kCadLine}));
    EXPECT_EQ(Identifiers(outcome.drawing->entities), (std::vector<int>{2, 4, -1, 6, 7}));
    EXPECT_EQ(outcome.drawing->identifierCounter, 8);
    const CCadBlock& block = **outcome.drawing->blockTable.Lookup("B");
    EXPECT_EQ(Identifiers(block.entities), std::vector<int>{0});
}

TEST(DxfReaderTest, HatchBetweenTwoLinesMakesTheirIdentifiersDifferByTwo) {
    std::string text = WithLayers()
                           .Section("ENTITIES")
                           .Line(0, 0, 1, 1)
                           .Pair(0, "HATCH")
                           .Pair(8, "0")
                           .Pair(2, "SOLID")
                           .Pair(70, "1")
                           .Line(1, 1, 2, 2)
                           .EndSection()
                           .Eof();
    ReadOutcome outcome = Read(text);
    ASSERT_EQ(outcome.drawing->entities.size(), 2u);
    EXPECT_EQ(outcome.drawing->entities[1].record->identifier -
                  outcome.drawing->entities[0].record->identifier,
              2);
}

// ---------------------------------------------------------------------------------------
// Extents

TEST(DxfReaderTest, ExtentsFollowTopLevelLinesPolylinesAndSolids) {
    struct Case {
        const char* name;
        std::string entities;
        double minX, minY, maxX, maxY;
    } cases[] = {
        {"line end points", Dxf().Line(-2, 3, 5, -7), -2, -7, 5, 3},
        {"minimum just below 0 is stored as 0", Dxf().Line(-0.0005, -0.0009, 4, 4), 0, 0, 4, 4},
        {"minimum at -0.001 is kept", Dxf().Line(-0.001, 1, 4, 4), -0.001, 1, 4, 4},
        {"polyline vertices",
         Dxf()
             .Pair(0, "LWPOLYLINE")
             .Pair(8, "0")
             .Pair(90, "2")
             .Pair(10, "1")
             .Pair(20, "-1")
             .Pair(10, "9")
             .Pair(20, "8"),
         1, -1, 9, 8},
        {"solid on a missing layer counts", Dxf().Solid(10, 20, "MISSING"), 10, 20, 11, 21},
        {"line on a missing layer does not count",
         Dxf().Line(-100, -100, 100, 100, "MISSING").Line(1, 2, 3, 4), 1, 2, 3, 4},
        {"line on an off layer does not count",
         Dxf().Line(-100, -100, 100, 100, "OFF").Line(1, 2, 3, 4), 1, 2, 3, 4},
        {"solid on a frozen layer does not count", Dxf().Solid(-50, -50, "ICE").Line(1, 2, 3, 4), 1,
         2, 3, 4},
        {"circles and texts do not count",
         Dxf()
             .Circle(-50, -50, 10)
             .Pair(0, "TEXT")
             .Pair(8, "0")
             .Pair(10, "-9")
             .Pair(20, "-9")
             .Line(1, 2, 3, 4),
         1, 2, 3, 4},
        {"coordinates before the layer do not count",
         Dxf().Pair(0, "LINE").Pair(10, "-30").Pair(20, "-30").Pair(8, "0").Pair(11, "3").Pair(21,
                                                                                               "4"),
         3, 4, 3, 4},
    };
    for (const Case& c : cases) {
        std::string text =
            WithLayers().Section("ENTITIES").Text() + c.entities + Dxf().EndSection().Eof().Text();
        ReadOutcome outcome = Read(text);
        ASSERT_EQ(outcome.result, 0) << c.name;
        EXPECT_EQ(outcome.drawing->minX, c.minX) << c.name;
        EXPECT_EQ(outcome.drawing->minY, c.minY) << c.name;
        EXPECT_EQ(outcome.drawing->maxX, c.maxX) << c.name;
        EXPECT_EQ(outcome.drawing->maxY, c.maxY) << c.name;
    }
}

TEST(DxfReaderTest, ExtentsStayInitialWithoutLinesAndBlocksDoNotMoveThem) {
    std::string text = WithLayers()
                           .Section("BLOCKS")
                           .Pair(0, "BLOCK")
                           .Pair(2, "B")
                           .Line(-9, -9, 9, 9)
                           .Pair(0, "ENDBLK")
                           .EndSection()
                           .Section("ENTITIES")
                           .Circle(5, 5, 1)
                           .Pair(0, "INSERT")
                           .Pair(8, "0")
                           .Pair(2, "B")
                           .Pair(10, "3")
                           .EndSection()
                           .Eof();
    ReadOutcome outcome = Read(text);
    ASSERT_EQ(outcome.result, 0);
    EXPECT_EQ(outcome.drawing->minX, kInitialMinExtent);
    EXPECT_EQ(outcome.drawing->minY, kInitialMinExtent);
    EXPECT_EQ(outcome.drawing->maxX, kInitialMaxExtent);
    EXPECT_EQ(outcome.drawing->maxY, kInitialMaxExtent);
}

// ---------------------------------------------------------------------------------------
// Entity readers

TEST(DxfReaderTest, EntityFieldsAreRead) {
    std::string text = WithLayers()
                           .Section("ENTITIES")
                           .Pair(0, "LINE")
                           .Pair(8, "0")
                           .Pair(6, "DASHED")
                           .Pair(62, "3")
                           .Pair(420, "16711680")
                           .Pair(370, "25")
                           .Pair(67, "1")
                           .Pair(10, "1")
                           .Pair(20, "2")
                           .Pair(30, "9")
                           .Pair(11, "3")
                           .Pair(21, "4")
                           .Pair(0, "ARC")
                           .Pair(8, "0")
                           .Pair(10, "1")
                           .Pair(20, "2")
                           .Pair(40, "3")
                           .Pair(50, "10")
                           .Pair(51, "80")
                           .Pair(62, "5")
                           .Pair(0, "ELLIPSE")
                           .Pair(8, "0")
                           .Pair(10, "1")
                           .Pair(20, "2")
                           .Pair(11, "4")
                           .Pair(21, "0")
                           .Pair(40, "0.5")
                           .Pair(41, "0.1")
                           .Pair(42, "6.2")
                           .Pair(0, "MTEXT")
                           .Pair(8, "0")
                           .Pair(1, "{\\fSimHei;NOTE}")
                           .Pair(3, "MORE")
                           .Pair(10, "5")
                           .Pair(20, "6")
                           .Pair(40, "2.5")
                           .Pair(41, "30")
                           .Pair(43, "4")
                           .Pair(50, "90")
                           .Pair(72, "5")
                           .Pair(0, "TEXT")
                           .Pair(8, "0")
                           .Pair(1, "PLAIN")
                           .Pair(73, "2")
                           .Pair(72, "1")
                           .Pair(11, "7")
                           .Pair(21, "8")
                           .Pair(0, "TEXT")
                           .Pair(8, "0")
                           .Pair(1, "V")
                           .Pair(72, "1")
                           .Pair(73, "3")
                           .Pair(0, "SOLID")
                           .Pair(8, "OFF")
                           .Pair(93, "7")
                           .Pair(10, "1")
                           .Pair(20, "2")
                           .EndSection()
                           .Eof();
    ReadOutcome outcome = Read(text);
    ASSERT_EQ(outcome.result, 0);
    const CCadEntityList& e = outcome.drawing->entities;
    ASSERT_EQ(Types(e), (std::vector<int>{kCadLine, kCadArc, kCadEllipse, kCadMText, kCadText,
                                          kCadText, kCadSolid}));
    const auto* line = e[0].As<CCadLine>();
    EXPECT_EQ(line->lineType, "DASHED");
    EXPECT_EQ(line->colorNumber, 16711680);  // group 420 came later than 62
    EXPECT_EQ(line->lineWeight, 25.0);
    EXPECT_EQ(line->paperSpace, 1);
    EXPECT_EQ(line->startY, 2.0);
    EXPECT_EQ(line->endX, 3.0);
    const auto* arc = e[1].As<CCadArc>();
    EXPECT_EQ(arc->radius, 3.0);
    EXPECT_EQ(arc->startAngle, 10.0);
    EXPECT_EQ(arc->endAngle, 80.0);
    EXPECT_EQ(arc->colorNumber, 5);
    const auto* ellipse = e[2].As<CCadEllipse>();
    EXPECT_EQ(ellipse->axisX, 4.0);
    EXPECT_EQ(ellipse->ratio, 0.5);
    EXPECT_EQ(ellipse->endParameter, 6.2);
    const auto* mtext = e[3].As<CCadMText>();
    EXPECT_EQ(mtext->text, "NOTE");
    EXPECT_EQ(mtext->textHeight, 2.5);
    EXPECT_EQ(mtext->referenceWidth, 30.0);
    EXPECT_EQ(mtext->referenceHeight, 4.0);
    EXPECT_EQ(mtext->rotation, 90.0);
    EXPECT_EQ(mtext->drawingDirection, 5);
    const auto* plain = e[4].As<CCadText>();
    EXPECT_EQ(plain->text, "PLAIN");
    EXPECT_EQ(plain->justificationKind, 0);  // 72 came last
    EXPECT_EQ(plain->justification, 1);
    EXPECT_EQ(plain->secondX, 7.0);
    EXPECT_EQ(plain->rotation, 0.0);
    EXPECT_EQ(e[5].As<CCadText>()->justificationKind, 1);
    EXPECT_EQ(e[5].As<CCadText>()->justification, 3);
    EXPECT_EQ(e[6].As<CCadSolid>()->group93, 7);
    EXPECT_EQ(e[6].As<CCadSolid>()->layer, "OFF");
}

TEST(DxfReaderTest, PolylineVerticesFollowTheCount) {
    struct Case {
        const char* name;
        std::string groups;
        std::vector<double> xs;
        std::vector<double> ys;
    } cases[] = {
        {"vertices beyond the count are ignored",
         Dxf()
             .Pair(90, "2")
             .Pair(10, "1")
             .Pair(20, "1")
             .Pair(10, "2")
             .Pair(20, "2")
             .Pair(10, "3")
             .Pair(20, "3")
             .Pair(42, "1"),
         {1, 2},
         {1, 2}},
        {"vertices before group 90 are ignored",
         Dxf()
             .Pair(10, "9")
             .Pair(20, "9")
             .Pair(90, "2")
             .Pair(10, "1")
             .Pair(20, "1")
             .Pair(10, "2")
             .Pair(20, "2"),
         {1, 2},
         {1, 2}},
        {"without group 90 there are no vertices", Dxf().Pair(10, "1").Pair(20, "1"), {}, {}},
        {"a negative count gives no vertices", Dxf().Pair(90, "-4").Pair(10, "1"), {}, {}},
        {"fewer vertices than the count keep what was given",
         Dxf().Pair(90, "5").Pair(10, "1").Pair(20, "1"),
         {1},
         {1}},
        {"a huge count never sizes memory", Dxf().Pair(90, "2147483647").Pair(10, "4"), {4}, {0}},
    };
    for (const Case& c : cases) {
        std::string text =
            WithLayers().Section("ENTITIES").Pair(0, "LWPOLYLINE").Pair(8, "0").Text() + c.groups +
            Dxf().EndSection().Eof().Text();
        ReadOutcome outcome = Read(text);
        ASSERT_EQ(outcome.result, 0) << c.name;
        ASSERT_EQ(outcome.drawing->entities.size(), 1u) << c.name;
        const auto* polyline = outcome.drawing->entities[0].As<CCadPolyline>();
        EXPECT_EQ(polyline->vertexCount, static_cast<int>(c.xs.size())) << c.name;
        ASSERT_EQ(polyline->vertices.size(), c.xs.size()) << c.name;
        for (std::size_t k = 0; k < c.xs.size(); ++k) {
            EXPECT_EQ(polyline->vertices[k].x, c.xs[k]) << c.name;
            EXPECT_EQ(polyline->vertices[k].y, c.ys[k]) << c.name;
            EXPECT_EQ(polyline->vertices[k].hasBulge, 0) << c.name;
        }
    }
}

TEST(DxfReaderTest, PolylineWidthsBulgesAndFlagsAreRead) {
    std::string text = WithLayers()
                           .Section("ENTITIES")
                           .Pair(0, "LWPOLYLINE")
                           .Pair(8, "0")
                           .Pair(90, "3")
                           .Pair(70, "1")
                           .Pair(43, "0.5")
                           .Pair(10, "0")
                           .Pair(20, "0")
                           .Pair(40, "1")
                           .Pair(41, "2")
                           .Pair(42, "0")
                           .Pair(10, "5")
                           .Pair(20, "0")
                           .Pair(42, "0.414")
                           .Pair(10, "5")
                           .Pair(20, "5")
                           .EndSection()
                           .Eof();
    ReadOutcome outcome = Read(text);
    ASSERT_EQ(outcome.drawing->entities.size(), 1u);
    const auto* polyline = outcome.drawing->entities[0].As<CCadPolyline>();
    EXPECT_EQ(polyline->flags, 1);
    EXPECT_EQ(polyline->hasConstantWidth, 1);
    EXPECT_EQ(polyline->constantWidth, 0.5);
    ASSERT_EQ(polyline->vertexCount, 3);
    EXPECT_EQ(polyline->vertices[0].startWidth, 1.0);
    EXPECT_EQ(polyline->vertices[0].endWidth, 2.0);
    EXPECT_EQ(polyline->vertices[0].hasBulge, 1);  // a bulge group, even of 0, sets the mark
    EXPECT_EQ(polyline->vertices[1].hasBulge, 1);
    EXPECT_EQ(polyline->vertices[1].bulge, 0.414);
    EXPECT_EQ(polyline->vertices[2].hasBulge, 0);
}

TEST(DxfReaderTest, TextFormattingIsCleanedUp) {
    struct Case {
        const char* name;
        std::string value;
        std::string expected;
    } cases[] = {
        {"font prefix", "{\\fSimSun|b0|i0|c134|p2;" + Utf8ToGbk(u8"钢梁 GL-1") + "}",
         Utf8ToGbk(u8"钢梁 GL-1")},
        {"no semicolon", "{GL-1}", "{GL-1}"},
        {"brace byte inside a character", "\\fA;\x81\x7D}", "\x81\x7D"},
    };
    for (const Case& c : cases) {
        for (const char* kind : {"TEXT", "MTEXT"}) {
            std::string text = WithLayers()
                                   .Section("ENTITIES")
                                   .Pair(0, kind)
                                   .Pair(8, "0")
                                   .Pair(1, c.value)
                                   .EndSection()
                                   .Eof();
            ReadOutcome outcome = Read(text);
            ASSERT_EQ(outcome.drawing->entities.size(), 1u) << c.name;
            const CCadEntity& entity = outcome.drawing->entities[0];
            std::string stored = entity.type == kCadText ? entity.As<CCadText>()->text
                                                         : entity.As<CCadMText>()->text;
            EXPECT_EQ(stored, c.expected) << c.name << " in " << kind;
        }
    }
}

// ---------------------------------------------------------------------------------------
// BLOCKS and INSERT

TEST(DxfReaderTest, BlocksAreTurnedToScreenOrientationAtTheirEndsec) {
    std::string text = WithLayers()
                           .Section("BLOCKS")
                           .Pair(0, "BLOCK")
                           .Pair(8, "0")
                           .Pair(2, "OLD")
                           .Pair(70, "0")
                           .Pair(10, "0")
                           .Line(0, 5, 0, 6)
                           .Pair(0, "ENDBLK")
                           .Pair(0, "BLOCK")
                           .Pair(2, "B")
                           .Line(1, 2, 3, 4)
                           .Pair(0, "ARC")
                           .Pair(8, "0")
                           .Pair(10, "1")
                           .Pair(20, "2")
                           .Pair(40, "1")
                           .Pair(50, "0")
                           .Pair(51, "90")
                           .Circle(1, 2, 3)
                           .Pair(0, "ELLIPSE")
                           .Pair(8, "0")
                           .Pair(10, "1")
                           .Pair(20, "2")
                           .Pair(11, "3")
                           .Pair(21, "4")
                           .Pair(0, "LWPOLYLINE")
                           .Pair(8, "0")
                           .Pair(90, "2")
                           .Pair(10, "1")
                           .Pair(20, "2")
                           .Pair(10, "3")
                           .Pair(20, "-4")
                           .Solid(1, 2)
                           .Pair(0, "TEXT")
                           .Pair(8, "0")
                           .Pair(1, "ignored")
                           .Pair(0, "INSERT")
                           .Pair(8, "0")
                           .Pair(2, "OLD")
                           .Pair(0, "ENDBLK")
                           .Pair(0, "BLOCK")
                           .Pair(2, "OLD")  // replaces the first OLD, which stays as read
                           .Line(0, 7, 0, 8)
                           .Pair(0, "ENDBLK")
                           .EndSection()
                           .Section("ENTITIES")
                           .Pair(0, "INSERT")
                           .Pair(8, "0")
                           .Pair(2, "B")
                           .Pair(10, "10")
                           .Pair(20, "20")
                           .EndSection()
                           .Eof();
    ReadOutcome outcome = Read(text);
    ASSERT_EQ(outcome.result, 0);
    const auto& blocks = outcome.drawing->blockTable;
    ASSERT_EQ(blocks.size(), 2u);
    const CCadBlock& b = **blocks.Lookup("B");
    ASSERT_EQ(Types(b.entities), (std::vector<int>{kCadLine, kCadArc, kCadCircle, kCadEllipse,
                                                   kCadPolyline, kCadSolid}));
    EXPECT_EQ(b.entities[0].As<CCadLine>()->startY, -2.0);
    EXPECT_EQ(b.entities[0].As<CCadLine>()->endY, -4.0);
    EXPECT_EQ(b.entities[0].As<CCadLine>()->startX, 1.0);
    const auto* arc = b.entities[1].As<CCadArc>();
    EXPECT_EQ(arc->centerY, -2.0);
    EXPECT_EQ(arc->startAngle, 270.0);
    EXPECT_EQ(arc->endAngle, 360.0);
    EXPECT_EQ(b.entities[2].As<CCadCircle>()->centerY, -2.0);
    EXPECT_EQ(b.entities[3].As<CCadEllipse>()->centerY, -2.0);
    EXPECT_EQ(b.entities[3].As<CCadEllipse>()->axisY, -4.0);
    EXPECT_EQ(b.entities[4].As<CCadPolyline>()->vertices[1].y, 4.0);
    EXPECT_EQ(b.entities[5].As<CCadSolid>()->y1, -2.0);
    EXPECT_EQ(b.entities[5].As<CCadSolid>()->y4, -3.0);
    EXPECT_EQ((*blocks.Lookup("OLD"))->entities[0].As<CCadLine>()->startY, -7.0);

    // The INSERT shares the block's records.
    ASSERT_EQ(outcome.drawing->entities.size(), 1u);
    const auto* insert = outcome.drawing->entities[0].As<CCadInsert>();
    EXPECT_EQ(insert->blockName, "B");
    EXPECT_EQ(insert->insertX, 10.0);
    EXPECT_EQ(insert->scaleX, 1.0);
    EXPECT_EQ(insert->scaleY, 1.0);
    ASSERT_EQ(insert->entities.size(), 6u);
    EXPECT_EQ(insert->entities[0].record, b.entities[0].record);
}

TEST(DxfReaderTest, BlockEntitiesFollowLayerRulesAndNeedANamedBlock) {
    std::string text = WithLayers()
                           .Section("BLOCKS")
                           .Pair(0, "BLOCK")
                           .Pair(8, "0")
                           .Pair(70, "0")  // no name
                           .Line(0, 0, 1, 1)
                           .Pair(0, "ENDBLK")
                           .Pair(0, "BLOCK")
                           .Pair(2, "B")
                           .Line(0, 0, 1, 1, "MISSING")
                           .Line(0, 0, 2, 2, "OFF")
                           .Solid(0, 0, "OFF")
                           .Solid(0, 0, "ICE")
                           .Line(0, 0, 3, 3)
                           .Pair(0, "ENDBLK")
                           .EndSection()
                           .Eof();
    ReadOutcome outcome = Read(text);
    ASSERT_EQ(outcome.result, 0);
    ASSERT_EQ(outcome.drawing->blockTable.size(), 1u);
    const CCadBlock& b = **outcome.drawing->blockTable.Lookup("B");
    EXPECT_EQ(Types(b.entities), (std::vector<int>{kCadSolid, kCadLine}));
    EXPECT_EQ(Identifiers(b.entities), (std::vector<int>{3, 5}));
}

TEST(DxfReaderTest, InsertKeepsOrDropsByBlockAndLayer) {
    struct Case {
        const char* name;
        std::string insert;
        bool kept;
        std::size_t listed;
    } cases[] = {
        {"block with entities", Dxf().Pair(0, "INSERT").Pair(8, "0").Pair(2, "FULL"), true, 1},
        {"unknown block keeps an empty list",
         Dxf().Pair(0, "INSERT").Pair(8, "0").Pair(2, "NOWHERE"), true, 0},
        {"empty block drops it", Dxf().Pair(0, "INSERT").Pair(8, "0").Pair(2, "EMPTY"), false, 0},
        {"no block name drops it", Dxf().Pair(0, "INSERT").Pair(8, "0").Pair(10, "1"), false, 0},
        {"missing layer drops it", Dxf().Pair(0, "INSERT").Pair(8, "X").Pair(2, "FULL"), false, 0},
        {"off layer drops it", Dxf().Pair(0, "INSERT").Pair(8, "OFF").Pair(2, "FULL"), false, 0},
        {"frozen layer drops it", Dxf().Pair(0, "INSERT").Pair(8, "ICE").Pair(2, "FULL"), false, 0},
        {"colour groups are not read",
         Dxf().Pair(0, "INSERT").Pair(8, "0").Pair(62, "1").Pair(6, "X").Pair(2, "FULL"), true, 1},
    };
    for (const Case& c : cases) {
        std::string text =
            WithLayers()
                .Section("BLOCKS")
                .Pair(0, "BLOCK")
                .Pair(2, "FULL")
                .Line(0, 0, 1, 1)
                .Pair(0, "ENDBLK")
                .Pair(0, "BLOCK")
                .Pair(2, "EMPTY")
                .Pair(0, "ENDBLK")
                .EndSection()
                .Section("ENTITIES")
                .Text() +
            c.insert + Dxf().Pair(41, "2").Pair(42, "3").Pair(50, "45").EndSection().Eof().Text();
        ReadOutcome outcome = Read(text);
        ASSERT_EQ(outcome.result, 0) << c.name;
        ASSERT_EQ(outcome.drawing->entities.size(), c.kept ? 1u : 0u) << c.name;
        if (c.kept) {
            const auto* insert = outcome.drawing->entities[0].As<CCadInsert>();
            EXPECT_EQ(insert->entities.size(), c.listed) << c.name;
            EXPECT_EQ(insert->scaleX, 2.0) << c.name;
            EXPECT_EQ(insert->scaleY, 3.0) << c.name;
            EXPECT_EQ(insert->rotation, 45.0) << c.name;
            EXPECT_EQ(insert->colorNumber, 256) << c.name;
            EXPECT_EQ(insert->lineType, "") << c.name;
        }
    }
}

TEST(DxfReaderTest, VisibleAttributesBecomeTextsBeforeTheirInsert) {
    std::string text = WithLayers()
                           .Section("BLOCKS")
                           .Pair(0, "BLOCK")
                           .Pair(2, "B")
                           .Line(0, 0, 1, 1)
                           .Pair(0, "ENDBLK")
                           .EndSection()
                           .Section("ENTITIES")
                           .Line(0, 0, 9, 9)
                           .Pair(0, "INSERT")
                           .Pair(8, "0")
                           .Pair(66, "     1")
                           .Pair(2, "B")
                           .Pair(0, "ATTRIB")
                           .Pair(8, "0")
                           .Pair(10, "5")
                           .Pair(20, "6")
                           .Pair(40, "3.7")
                           .Pair(50, "30")
                           .Pair(1, "{\\fA;GL-1}")
                           .Pair(70, "0")
                           .Pair(0, "ATTRIB")
                           .Pair(1, "HIDDEN")
                           .Pair(70, "1")
                           .Pair(0, "ATTRIB")
                           .Pair(1, "\\U+4E2D")
                           .Pair(40, "1e2")
                           .Pair(0, "SEQEND")
                           .Pair(8, "0")
                           .Pair(0, "INSERT")
                           .Pair(8, "MISSING")
                           .Pair(2, "B")
                           .Pair(66, "1")
                           .Pair(0, "ATTRIB")
                           .Pair(1, "ORPHAN")
                           .Pair(0, "SEQEND")
                           .Pair(0, "INSERT")
                           .Pair(8, "0")
                           .Pair(2, "B")
                           .Pair(66, "1")
                           .Pair(0, "SEQEND")  // attributes announced, none given
                           .EndSection()
                           .Eof();
    ReadOutcome outcome = Read(text);
    ASSERT_EQ(outcome.result, 0);
    const CCadEntityList& e = outcome.drawing->entities;
    ASSERT_EQ(Types(e),
              (std::vector<int>{kCadLine, kCadText, kCadText, kCadInsert, kCadText, kCadInsert}));
    const auto* first = e[1].As<CCadText>();
    EXPECT_EQ(first->identifier, -1);
    EXPECT_EQ(first->text, "{\\fA;GL-1}");  // attribute texts are not cleaned up
    EXPECT_EQ(first->insertX, 5.0);
    EXPECT_EQ(first->insertY, 6.0);
    EXPECT_EQ(first->height, 3);
    EXPECT_EQ(first->rotation, 30.0);
    EXPECT_EQ(first->layer, "NULL");
    const auto* second = e[2].As<CCadText>();
    EXPECT_EQ(second->text, Utf8ToGbk(u8"中"));
    EXPECT_EQ(second->height, 100);  // truncated from the real value
    // The attribute of a dropped INSERT still appears.
    EXPECT_EQ(e[4].As<CCadText>()->text, "ORPHAN");
    EXPECT_EQ(Identifiers(e), (std::vector<int>{1, -1, -1, 2, -1, 4}));  // the block line took 0
}

TEST(DxfReaderTest, EndOfFileWhileReadingAttributesFails) {
    std::string text = WithLayers()
                           .Section("ENTITIES")
                           .Pair(0, "INSERT")
                           .Pair(8, "0")
                           .Pair(2, "B")
                           .Pair(66, "1")
                           .Pair(0, "ATTRIB")
                           .Pair(1, "A")
                           .Pair(0, "ENDSEC")
                           .Eof();
    EXPECT_EQ(Read(text).result, -1);
}

// ---------------------------------------------------------------------------------------
// DIMENSION

TEST(DxfReaderTest, DimensionLinksItsBlockAndCopiesDimTxt) {
    std::string text = Dxf()
                           .Section("HEADER")
                           .Pair(9, "$DIMTXT")
                           .Pair(40, "3.5")
                           .EndSection()
                           .Layers({{"0"}})
                           .Section("BLOCKS")
                           .Pair(0, "BLOCK")
                           .Pair(2, "*D1")
                           .Line(0, 0, 10, 0)
                           .Pair(0, "ENDBLK")
                           .EndSection()
                           .Section("ENTITIES")
                           .Pair(0, "DIMENSION")
                           .Pair(8, "0")
                           .Pair(2, "*D1")
                           .Pair(10, "10")
                           .Pair(20, "5")
                           .Pair(13, "0")
                           .Pair(23, "0")
                           .Pair(14, "10")
                           .Pair(24, "0")
                           .Pair(70, "32")
                           .Pair(71, "5")
                           .Pair(72, "1")
                           .Pair(41, "1.5")
                           .Pair(42, "10.0000")
                           .Pair(1, "<>mm")
                           .Pair(53, "1")
                           .Pair(51, "2")
                           .Pair(50, "3")
                           .Pair(52, "4")
                           .Pair(0, "DIMENSION")
                           .Pair(8, "0")
                           .Pair(2, "*D9")
                           .EndSection()
                           .Eof();
    ReadOutcome outcome = Read(text);
    ASSERT_EQ(outcome.result, 0);
    ASSERT_EQ(outcome.drawing->entities.size(), 2u);
    const auto* d = outcome.drawing->entities[0].As<CCadDimension>();
    EXPECT_EQ(d->textHeight, "3.5");
    EXPECT_EQ(d->blockName, "*D1");
    ASSERT_NE(d->block, nullptr);
    EXPECT_EQ(d->block, *outcome.drawing->blockTable.Lookup("*D1"));
    EXPECT_EQ(d->point10.present, 1);
    EXPECT_EQ(d->point10.x, 10.0);
    EXPECT_EQ(d->point10.y, 5.0);
    EXPECT_EQ(d->point13.present, 1);
    EXPECT_EQ(d->point14.x, 10.0);
    EXPECT_EQ(d->point11.present, 0);
    EXPECT_EQ(d->point16.present, 0);
    EXPECT_EQ(d->dimensionType, 32);
    EXPECT_EQ(d->attachment, 5);
    EXPECT_EQ(d->lineSpacingStyle, 1);
    EXPECT_EQ(d->lineSpacingFactor, 1.5);
    EXPECT_EQ(d->measurement, "10.0000");
    EXPECT_EQ(d->textOverride, "<>mm");
    EXPECT_EQ(d->textRotation, 1.0);
    EXPECT_EQ(d->horizontalDirection, 2.0);
    EXPECT_EQ(d->rotation, 3.0);
    EXPECT_EQ(d->extensionLineAngle, 4.0);
    EXPECT_EQ(outcome.drawing->entities[1].As<CCadDimension>()->block, nullptr);
}

TEST(DxfReaderTest, DimensionsAndInsertsLinkTheBlocksTheTableHolds) {
    // Blocks named out of order, and a name defined twice: the later definition counts.
    struct Case {
        const char* name;
        std::vector<std::string> blockNames;
        std::vector<std::string> dimensionNames;
    } cases[] = {
        {"in order", {"*D1", "*D2", "*D3"}, {"*D1", "*D2", "*D3"}},
        {"out of order", {"*D1", "*D2", "*D3"}, {"*D3", "*D1", "*D2", "*D2", "*D9"}},
        {"a name defined twice", {"*D1", "*D2", "*D1"}, {"*D1", "*D2", "*D1"}},
    };
    for (const Case& c : cases) {
        Dxf dxf = WithLayers();
        dxf.Section("BLOCKS");
        int length = 1;
        for (const std::string& name : c.blockNames) {
            dxf.Pair(0, "BLOCK").Pair(2, name).Line(0, 0, length++, 0).Pair(0, "ENDBLK");
        }
        dxf.EndSection().Section("ENTITIES");
        for (const std::string& name : c.dimensionNames) {
            dxf.Pair(0, "DIMENSION").Pair(8, "0").Pair(2, name);
            dxf.Pair(0, "INSERT").Pair(8, "0").Pair(2, name);
        }
        dxf.EndSection().Eof();
        ReadOutcome outcome = Read(dxf);
        ASSERT_EQ(outcome.result, 0) << c.name;
        std::size_t k = 0;
        for (const std::string& name : c.dimensionNames) {
            const std::shared_ptr<CCadBlock>* expected = outcome.drawing->blockTable.Lookup(name);
            ASSERT_LT(k + 1, outcome.drawing->entities.size()) << c.name;
            const auto* dimension = outcome.drawing->entities[k++].As<CCadDimension>();
            const auto* insert = outcome.drawing->entities[k++].As<CCadInsert>();
            if (expected == nullptr) {
                EXPECT_EQ(dimension->block, nullptr) << c.name;
                EXPECT_TRUE(insert->entities.empty()) << c.name;
                continue;
            }
            EXPECT_EQ(dimension->block, *expected) << c.name << " " << name;
            ASSERT_EQ(insert->entities.size(), 1u) << c.name;
            EXPECT_EQ(insert->entities[0].record, (*expected)->entities[0].record) << c.name;
        }
    }
}

// ---------------------------------------------------------------------------------------
// Text encodings

TEST(DxfReaderTest, ModernFilesAreConvertedFromUtf8) {
    const std::string layer = "\xE9\x92\xA2\xE6\xA2\x81";  // 钢梁 in UTF-8
    auto drawingFor = [&](const char* version) {
        return Dxf()
            .Section("HEADER")
            .Pair(9, "$ACADVER")
            .Pair(1, version)
            .Pair(9, "$DIMTXT")
            .Pair(40, "2\xC2\xB0")  // 2° in UTF-8
            .EndSection()
            .Layers({{layer}})
            .Section("BLOCKS")
            .Pair(0, "BLOCK")
            .Pair(2, "\xE6\x9F\xB1")
            .Line(0, 0, 1, 1, layer)
            .Pair(0, "ENDBLK")
            .EndSection()
            .Section("ENTITIES")
            .Pair(0, "TEXT")
            .Pair(8, layer)
            .Pair(1, "\xE4\xB8\xAD\xFF\\U+6587")
            .Pair(0, "INSERT")
            .Pair(8, layer)
            .Pair(2, "\xE6\x9F\xB1")
            .Pair(0, "DIMENSION")
            .Pair(8, layer)
            .Pair(1, "\xE4\xB8\xAD")
            .Pair(42, "1")
            .EndSection()
            .Eof()
            .Text();
    };
    ReadOutcome modern = Read(drawingFor("AC1027"));
    ASSERT_EQ(modern.result, 0);
    const CCadEntityList& e = modern.drawing->entities;
    ASSERT_EQ(Types(e), (std::vector<int>{kCadText, kCadInsert, kCadDimension}));
    EXPECT_EQ(e[0].As<CCadText>()->text, Utf8ToGbk(u8"中") + "\xFF" + Utf8ToGbk(u8"文"));
    EXPECT_EQ(e[0].record->layer, Utf8ToGbk(u8"钢梁"));
    EXPECT_EQ(e[1].As<CCadInsert>()->blockName, Utf8ToGbk(u8"柱"));
    EXPECT_EQ(e[1].As<CCadInsert>()->entities.size(), 1u);
    EXPECT_EQ(e[2].As<CCadDimension>()->textOverride, Utf8ToGbk(u8"中"));
    EXPECT_EQ(e[2].As<CCadDimension>()->textHeight, "2\xA1\xE3");
    EXPECT_NE(modern.drawing->layerTable.Lookup(Utf8ToGbk(u8"钢梁")), nullptr);

    // An older file keeps its bytes; only the escapes are replaced.
    ReadOutcome old = Read(drawingFor("AC1018"));
    ASSERT_EQ(old.result, 0);
    ASSERT_EQ(old.drawing->entities.size(), 3u);
    EXPECT_EQ(old.drawing->entities[0].As<CCadText>()->text,
              "\xE4\xB8\xAD\xFF" + Utf8ToGbk(u8"文"));
    EXPECT_EQ(old.drawing->entities[0].record->layer, layer);
    EXPECT_EQ(old.drawing->dimensionTextHeight, "2\xC2\xB0");
}

TEST(DxfReaderTest, EscapesAreDecodedBeforeTheCleanUp) {
    // \U+003B is ";": decoded first, it then counts for the clean-up.
    std::string text = WithLayers()
                           .Section("ENTITIES")
                           .Pair(0, "TEXT")
                           .Pair(8, "0")
                           .Pair(1, "A\\U+003BB")
                           .Pair(0, "TEXT")
                           .Pair(8, "0")
                           .Pair(1, "\\M+5B8D6\\M+5C1BA")
                           .EndSection()
                           .Eof();
    ReadOutcome outcome = Read(text);
    ASSERT_EQ(outcome.drawing->entities.size(), 2u);
    EXPECT_EQ(outcome.drawing->entities[0].As<CCadText>()->text, "B");
    EXPECT_EQ(outcome.drawing->entities[1].As<CCadText>()->text, Utf8ToGbk(u8"钢梁"));
}

// ---------------------------------------------------------------------------------------
// quarrant-cli import

struct CliRun {
    int exitStatus = -1;
    std::string out;
    std::string err;
};

std::string ReadAll(int fd) {
    std::string text;
    char buffer[4096];
    for (;;) {
        ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        text.append(buffer, static_cast<std::size_t>(got));
    }
    return text;
}

// Runs the built quarrant-cli (no shell in between); standard error goes to a file so that
// both streams can be read without a deadlock.
CliRun RunCli(std::vector<std::string> arguments, const std::filesystem::path& folder) {
    CliRun run;
    std::string program = QUARRANT_PROGRAM_FOLDER "/quarrant-cli";
    std::string errPath = (folder / "stderr.txt").string();
    std::vector<char*> argv{program.data()};
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) {
        return run;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    if (spawned == 0) {
        run.out = ReadAll(pipeEnds[0]);
        int status = 0;
        if (::waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
            run.exitStatus = WEXITSTATUS(status);
        }
    }
    ::close(pipeEnds[0]);
    std::ifstream err(errPath, std::ios::binary);
    run.err.assign(std::istreambuf_iterator<char>(err), std::istreambuf_iterator<char>());
    return run;
}

class CliImportTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = std::filesystem::temp_directory_path() /
                   ("dxf-cli-" + std::to_string(::getpid()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_folder / "home");
        std::filesystem::copy_file(std::filesystem::path(QUARRANT_PROGRAM_FOLDER) / "COLOR.ini",
                                   m_folder / "home" / "COLOR.ini");
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    std::string Write(const std::string& name, const std::string& bytes) {
        std::filesystem::path path = m_folder / name;
        std::ofstream out(path, std::ios::binary);
        out << bytes;
        return path.string();
    }
    std::string Path(const std::string& name) const { return (m_folder / name).string(); }
    std::string Home() const { return (m_folder / "home").string(); }

    std::filesystem::path m_folder;
};

// Two lines 0.5 apart: one drawing entity at precision 1, two at precision 0.1.
std::string NearLines() {
    return WithLayers()
        .Section("ENTITIES")
        .Line(-0.0005, 10, 100, 60)
        .Line(0.5, 10, 100.5, 60)
        .EndSection()
        .Eof();
}

TEST_F(CliImportTest, PrintsCountAndStoredExtentsAndWritesTheDrawingFile) {
    std::string dxf = Write("plan.dxf", NearLines());
    Write("home/Set.ini", "1\n0.01\n");
    CliRun run = RunCli({"import", "--home", Home(), dxf, Path("plan.drw")}, m_folder);
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out, "1\t0.0000\t10.0000\t100.5000\t60.0000\n");
    EXPECT_EQ(run.err, "");
    ASSERT_TRUE(std::filesystem::exists(Path("plan.drw")));
    std::ifstream in(Path("plan.drw"), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    CCadDrawing stored;
    ASSERT_TRUE(ReadDrawingFile(stored, bytes));
    ASSERT_EQ(stored.entities.size(), 1u);
    EXPECT_EQ(stored.entities[0].record->identifier, 0);
    // Nothing is written into the program folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Home()),
                            std::filesystem::directory_iterator()),
              2);
}

TEST_F(CliImportTest, PrecisionComesFromSetIniOrTheOption) {
    std::string dxf = Write("plan.dxf", NearLines());
    struct Case {
        const char* name;
        const char* setIni;  // nullptr: no Set.ini
        std::vector<std::string> extra;
        const char* count;
    } cases[] = {
        {"Set.ini line 1", "0.1\n0.01\n", {}, "2"},
        {"missing Set.ini gives 1", nullptr, {}, "1"},
        {"option overrides Set.ini", "0.1\n", {"--precision", "1"}, "1"},
        {"option after the file names", "1\n", {"--precision", "0.1"}, "2"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(Path("home/Set.ini"));
        if (c.setIni != nullptr) {
            Write("home/Set.ini", c.setIni);
        }
        std::vector<std::string> arguments{"import", dxf, Path("plan.drw"), "--home", Home()};
        arguments.insert(arguments.end(), c.extra.begin(), c.extra.end());
        CliRun run = RunCli(arguments, m_folder);
        EXPECT_EQ(run.exitStatus, 0) << c.name;
        EXPECT_EQ(run.out.substr(0, run.out.find('\t')), c.count) << c.name;
    }
}

TEST_F(CliImportTest, FailureShowsTheMessagesAndLeavesNoOutput) {
    struct Case {
        const char* name;
        std::string dxf;
        const char* err;
    } cases[] = {
        {"comment first", Write("comment.dxf", Dxf().Pair(999, "x").Eof()),
         "\xE6\x96\x87\xE4\xBB\xB6\xE6\xA0\xBC\xE5\xBC\x8F\xE9\x94\x99\xE8\xAF\xAF\n"
         "\xE8\xA7\xA3\xE7\xA0\x81\xE5\xA4\xB1\xE8\xB4\xA5\n"},  // 文件格式错误, 解码失败
        {"truncated", Write("cut.dxf", Dxf().Section("ENTITIES").Pair(0, "LINE")),
         "\xE8\xA7\xA3\xE7\xA0\x81\xE5\xA4\xB1\xE8\xB4\xA5\n"},  // 解码失败
        {"missing file", Path("nowhere.dxf"),
         "\xE6\x89\x93\xE5\xBC\x80\xE6\x96\x87\xE4\xBB\xB6\xE5\x87\xBA\xE9\x94\x99\n"
         "\xE8\xA7\xA3\xE7\xA0\x81\xE5\xA4\xB1\xE8\xB4\xA5\n"},  // 打开文件出错, 解码失败
    };
    for (const Case& c : cases) {
        CliRun run = RunCli({"import", "--home", Home(), c.dxf, Path("out.drw")}, m_folder);
        EXPECT_EQ(run.exitStatus, 1) << c.name;
        EXPECT_EQ(run.out, "") << c.name;
        EXPECT_EQ(run.err, c.err) << c.name;
        EXPECT_FALSE(std::filesystem::exists(Path("out.drw"))) << c.name;
    }
}

TEST_F(CliImportTest, MissingColourTableAndWrongArgumentsAreRefused) {
    std::string dxf = Write("plan.dxf", NearLines());
    std::filesystem::remove(Path("home/COLOR.ini"));
    CliRun run = RunCli({"import", "--home", Home(), dxf, Path("out.drw")}, m_folder);
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_NE(run.err.find("COLOR.ini"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(Path("out.drw")));
    EXPECT_EQ(RunCli({"import", dxf}, m_folder).exitStatus, 2);
    EXPECT_EQ(RunCli({"import", dxf, Path("a"), Path("b")}, m_folder).exitStatus, 2);
    EXPECT_EQ(RunCli({"import", dxf, Path("a"), "--precision"}, m_folder).exitStatus, 2);
}

}  // namespace
