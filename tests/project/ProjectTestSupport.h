#pragma once

// Shared by the workspace and settings tests: temporary folders under /tmp, file bytes, rows
// and small drawings.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/FileIO.h"
#include "base/GbkText.h"
#include "cad/CadDrawing.h"
#include "quantity/QuantityRow.h"

namespace quarrant::testing {

// GBK bytes of a UTF-8 literal.
inline std::string G(std::string_view utf8) {
    return Utf8ToGbk(utf8);
}

// A fresh folder under /tmp, removed with everything in it at the end of the test.
class TempFolder {
public:
    TempFolder() {
        std::string pattern = "/tmp/quarrant-project-XXXXXX";
        char* made = ::mkdtemp(pattern.data());
        EXPECT_NE(made, nullptr);
        m_path = pattern;
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(m_path, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Model path (GBK) of the folder itself or of a name inside it.
    const std::string& Path() const { return m_path; }
    std::string Path(std::string_view gbkName) const { return JoinPath(m_path, gbkName); }

private:
    std::string m_path;
};

inline void WriteBytes(std::string_view gbkPath, std::string_view bytes) {
    std::ofstream out(FsPath(gbkPath), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << GbkToUtf8(gbkPath);
}

inline std::string ReadBytes(std::string_view gbkPath) {
    std::ifstream in(FsPath(gbkPath), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline bool Exists(std::string_view gbkPath) {
    std::error_code ec;
    return std::filesystem::exists(FsPath(gbkPath), ec);
}

// A row whose twelve texts tell which field they are, with identifier lists of its own.
inline QuantityRowPtr MakeRow(std::int32_t identifier, std::string_view drawingName = {}) {
    auto row = std::make_shared<QuantityRow>();
    row->identifier = identifier;
    std::string tag = std::to_string(identifier);
    row->itemName = G("钢桁架") + tag;
    row->partOrAxis = G("A-B轴") + tag;
    row->unit = "kg";
    row->count = "2*" + tag;
    row->length = "12.5";
    row->width = "0.3";
    row->height = "1.2";
    row->area = "";
    row->volume = "";
    row->unitWeight = "7.85";
    row->quantity = "123.450";
    row->material = G("Q235 角钢∠50×5") + tag;
    row->list1 = {identifier, identifier + 100};
    row->list2 = {7, 8, 9};
    row->list3 = {};
    row->list4 = {-1};
    row->drawingName = std::string(drawingName);
    return row;
}

// Adds a child to a top-level row.
inline QuantityRow& AddChild(QuantityRow& parent, std::int32_t identifier) {
    QuantityRowPtr child = MakeRow(identifier);
    child->parent = &parent;
    QuantityRow& ref = *child;
    parent.children.SetAt(identifier, std::move(child));
    return ref;
}

// A drawing of one line from (x, 2) to (3, 4) with the given identifier.
inline std::unique_ptr<CCadDrawing> MakeLineDrawing(double x, int identifier = 5) {
    auto drawing = std::make_unique<CCadDrawing>();
    CCadEntity entity = MakeEntity<CCadLine>(kCadLine);
    auto* line = entity.As<CCadLine>();
    line->startX = x;
    line->startY = 2.0;
    line->endX = 3.0;
    line->endY = 4.0;
    line->identifier = identifier;
    line->layer = G("梁");
    drawing->minX = 0.0;
    drawing->minY = 0.0;
    drawing->maxX = 10.0;
    drawing->maxY = 10.0;
    drawing->AddEntity(std::move(entity));
    return drawing;
}

}  // namespace quarrant::testing
