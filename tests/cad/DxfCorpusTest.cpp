// Every real drawing of the DXF corpus imports without crash (the suite also runs under the
// address and undefined-behaviour sanitizers); the files the reader refuses are listed with
// the messages the user sees.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/FileIO.h"
#include "base/GbkText.h"
#include "cad/CadDrawing.h"
#include "cad/DrawingFile.h"
#include "cad/DxfReader.h"
#include "cad/LoadDxf.h"

using namespace quarrant;

namespace {

std::vector<std::filesystem::path> CorpusFiles() {
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(QUARRANT_CORPUS_DIR, ec)) {
        if (entry.is_regular_file() && entry.path().extension() == ".dxf") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::shared_ptr<const CCadColorTable> Colors() {
    auto table = std::make_shared<CCadColorTable>();
    table->SetAt(1, CCadColor{255, 0, 0});
    table->SetAt(7, CCadColor{255, 255, 255});
    return table;
}

// The messages of the files the reader refuses, by file name.
const std::map<std::string, std::vector<std::string>>& ExpectedRefusals() {
    static const std::map<std::string, std::vector<std::string>> refusals = {
        // The first line is the comment group 999, not the group code 0 (written by a
        // libdxfrw-based program).
        {"lm2-dims-r2007.dxf",
         {std::string(kDxfFormatErrorMessage), std::string(kDxfDecodeFailedMessage)}},
    };
    return refusals;
}

bool ContainsText(const CCadDrawing& drawing, const std::string& gbk) {
    for (const CCadEntity& entity : drawing.entities) {
        const std::string* text = nullptr;
        if (entity.type == kCadText) {
            text = &entity.As<CCadText>()->text;
        } else if (entity.type == kCadMText) {
            text = &entity.As<CCadMText>()->text;
        } else if (entity.type == kCadDimension) {
            text = &entity.As<CCadDimension>()->textOverride;
        }
        if (text != nullptr && text->find(gbk) != std::string::npos) {
            return true;
        }
    }
    return false;
}

TEST(DxfCorpusTest, EveryCorpusFileImportsOrIsRefusedWithItsMessage) {
    std::vector<std::filesystem::path> files = CorpusFiles();
    if (files.empty()) {
        GTEST_SKIP() << "no DXF corpus at " << QUARRANT_CORPUS_DIR;
    }
    for (const std::filesystem::path& path : files) {
        std::string name = path.filename().string();
        CCadFile file;
        Status loaded = LoadDxf(file, ModelPath(path), Colors(), 1.0);
        auto refusal = ExpectedRefusals().find(name);
        if (refusal != ExpectedRefusals().end()) {
            EXPECT_FALSE(loaded) << name;
            EXPECT_EQ(ImportFailureMessages(loaded), refusal->second) << name;
            EXPECT_EQ(file.drawing, nullptr) << name;
            continue;
        }
        ASSERT_TRUE(loaded) << name;
        ASSERT_NE(file.drawing, nullptr) << name;
        const CCadDrawing& drawing = *file.drawing;
        // The drawing survives the drawing-file round trip a project puts it through.
        CCadDrawing stored(Colors());
        EXPECT_TRUE(ReadDrawingFile(stored, WriteDrawingFile(drawing))) << name;
        EXPECT_EQ(stored.entities.size(), drawing.entities.size()) << name;
        for (const CCadEntity& entity : drawing.entities) {
            ASSERT_NE(entity.record, nullptr) << name;
        }
    }
}

TEST(DxfCorpusTest, ChineseTextsArriveAsGbk) {
    std::vector<std::filesystem::path> files = CorpusFiles();
    if (files.empty()) {
        GTEST_SKIP() << "no DXF corpus at " << QUARRANT_CORPUS_DIR;
    }
    struct Case {
        const char* file;
        std::u8string_view text;   // found in some TEXT, MTEXT or dimension text
        std::u8string_view layer;  // a layer of the table
    } cases[] = {
        // UTF-8 (AC1027) despite their ANSI_936 code page.
        {"cn-test1-r2013.dxf", u8"φ50r6", u8"6文字层"},
        {"cn-test4-r2013.dxf", u8"审批", u8"道路线"},
        // GBK bytes (AC1018).
        {"cn-gbk-groove-r2004.dxf", u8"Z48-T9-1", u8"轮廓"},
    };
    for (const Case& c : cases) {
        std::filesystem::path path = std::filesystem::path(QUARRANT_CORPUS_DIR) / c.file;
        if (!std::filesystem::exists(path)) {
            continue;
        }
        CCadFile file;
        ASSERT_TRUE(LoadDxf(file, ModelPath(path), Colors(), 1.0)) << c.file;
        EXPECT_TRUE(ContainsText(*file.drawing, Utf8ToGbk(c.text))) << c.file;
        EXPECT_NE(file.drawing->layerTable.Lookup(Utf8ToGbk(c.layer)), nullptr) << c.file;
    }
}

}  // namespace
