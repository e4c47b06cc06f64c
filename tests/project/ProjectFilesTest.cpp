#include "project/ProjectFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/BinaryStream.h"
#include "project/ProjectTestSupport.h"

using namespace quarrant;
using quarrant::testing::AddChild;
using quarrant::testing::G;
using quarrant::testing::MakeRow;

namespace {

// What decoding a project file (read from "F/P") gave: "whole", "damaged drawings", or the
// failure's message.
const std::string kWhole = "whole";
const std::string kDamagedDrawings = "damaged drawings";
const std::string kProjectPath = "F/P";

std::string Decode(std::string_view bytes, Project& project) {
    Result<DrawingList> decoded = DecodeProjectFile(bytes, project, kProjectPath);
    if (!decoded) {
        return decoded.Message();
    }
    return decoded.Value() == DrawingList::kWhole ? kWhole : kDamagedDrawings;
}

std::vector<std::int32_t> Keys(const QuantityRowMap& map) {
    std::vector<std::int32_t> keys;
    for (const auto& entry : map) {
        keys.push_back(entry.key);
    }
    return keys;
}

// A project with two drawings and Chinese names.
void FillProject(Project& project) {
    project.projectName = G("钢结构厂房");
    project.projectType = kStructuralProjectType;
    project.nextFileNumber = 3;
    project.dataTable.fileName = "YZN0";
    for (int i = 1; i <= 2; ++i) {
        auto drawing = std::make_unique<Drawing>(&project);
        drawing->drawingName = G("一层平面图") + std::to_string(i);
        drawing->fileName = "YZN" + std::to_string(i);
        drawing->unit = "mm";
        drawing->scale = "1:100";
        project.drawings.push_back(std::move(drawing));
    }
}

// A data table: rows 1, 2, 3 share bucket 0, row 17 is in bucket 1; rows 1 and 17 have children.
void FillTable(QuantityTable& table) {
    table.SetDefaultHeadings();
    table.nextRowIdentifier = 40;
    for (std::int32_t id : {1, 2, 3, 17}) {
        table.rows.SetAt(id, MakeRow(id, G("一层平面图1")));
    }
    QuantityRow& first = **table.rows.Lookup(1);
    AddChild(first, 4);
    AddChild(first, 5);
    AddChild(first, 6);
    AddChild(**table.rows.Lookup(17), 33);
}

void ExpectSameRow(const QuantityRow& a, const QuantityRow& b) {
    EXPECT_EQ(a.identifier, b.identifier);
    EXPECT_EQ(a.itemName, b.itemName);
    EXPECT_EQ(a.partOrAxis, b.partOrAxis);
    EXPECT_EQ(a.unit, b.unit);
    EXPECT_EQ(a.count, b.count);
    EXPECT_EQ(a.length, b.length);
    EXPECT_EQ(a.width, b.width);
    EXPECT_EQ(a.height, b.height);
    EXPECT_EQ(a.area, b.area);
    EXPECT_EQ(a.volume, b.volume);
    EXPECT_EQ(a.unitWeight, b.unitWeight);
    EXPECT_EQ(a.quantity, b.quantity);
    EXPECT_EQ(a.material, b.material);
    EXPECT_EQ(a.list1, b.list1);
    EXPECT_EQ(a.list2, b.list2);
    EXPECT_EQ(a.list3, b.list3);
    EXPECT_EQ(a.list4, b.list4);
    EXPECT_EQ(a.drawingName, b.drawingName);
}

}  // namespace

TEST(ProjectFile, FieldsAreWrittenInTheirOrder) {
    Project project;
    FillProject(project);

    BinaryWriter expected;
    expected.WriteText("1.0");
    expected.WriteText(G("工程名称"));
    expected.WriteText(G("钢结构厂房"));
    expected.WriteText(G("结构工程"));
    expected.WriteInt32(3);
    expected.WriteInt32(3);  // two drawings + 1
    expected.WriteText("YZN0");
    for (int i = 1; i <= 2; ++i) {
        expected.WriteText(G("一层平面图") + std::to_string(i));
        expected.WriteText("YZN" + std::to_string(i));
        expected.WriteText("mm");
        expected.WriteText("1:100");
    }
    std::string bytes = EncodeProjectFile(project);
    EXPECT_EQ(bytes, expected.Data());
    // The version is the three bytes "1.0" after a count of 3.
    EXPECT_EQ(bytes.substr(0, 7), std::string("\x03\x00\x00\x00"
                                              "1.0",
                                              7));
}

TEST(ProjectFile, ReadsBackWhatWasWritten) {
    Project original;
    FillProject(original);
    original.caption = G("另一个标题");

    Project loaded;
    ASSERT_EQ(Decode(EncodeProjectFile(original), loaded), kWhole);
    EXPECT_EQ(loaded.caption, original.caption);
    EXPECT_EQ(loaded.projectName, original.projectName);
    EXPECT_EQ(loaded.projectType, original.projectType);
    EXPECT_EQ(loaded.nextFileNumber, 3);
    EXPECT_EQ(loaded.dataTable.fileName, "YZN0");
    ASSERT_EQ(loaded.drawings.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(loaded.drawings[i]->drawingName, original.drawings[i]->drawingName);
        EXPECT_EQ(loaded.drawings[i]->fileName, original.drawings[i]->fileName);
        EXPECT_EQ(loaded.drawings[i]->unit, "mm");
        EXPECT_EQ(loaded.drawings[i]->scale, "1:100");
        EXPECT_EQ(loaded.drawings[i]->parent, &loaded);
        EXPECT_EQ(loaded.drawings[i]->CadFile().drawing, nullptr);
    }
}

TEST(ProjectFile, AnotherVersionIsRefusedWithTheVersionRead) {
    BinaryWriter writer;
    writer.WriteText("1.1");
    writer.WriteText(G("工程名称"));
    Project project;
    EXPECT_EQ(Decode(writer.Data(), project),
              G("软件和工程的版本不一致。软件版本：1.0；工程版本：1.1"));
}

TEST(ProjectFile, TruncatedAtEveryOffsetFailsCleanly) {
    Project original;
    FillProject(original);
    std::string bytes = EncodeProjectFile(original);
    // The fixed items end after the data file name; drawings follow.
    std::size_t fixedEnd = bytes.size() - 2 * (4 * 4 + G("一层平面图1").size() + 4 + 2 + 5);
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        Project project;
        std::string outcome = Decode(bytes.substr(0, size), project);
        if (size < fixedEnd) {
            EXPECT_EQ(outcome, G("工程文件已损坏，无法打开工程：") + kProjectPath)
                << "size " << size;
            EXPECT_TRUE(project.drawings.empty());
        } else {
            EXPECT_EQ(outcome, kDamagedDrawings) << "size " << size;
            EXPECT_EQ(project.dataTable.fileName, "YZN0");
            EXPECT_LE(project.drawings.size(), 1u);
        }
    }
}

TEST(ProjectFile, UnsafeOrRepeatedFileNamesAreDamage) {
    struct Case {
        const char* name;
        std::string dataFileName;
        std::string drawingFileName;
        std::string expected;
    };
    const std::string damaged = G("工程文件已损坏，无法打开工程：") + kProjectPath;
    const Case cases[] = {
        {"plain names", "YZN0", "YZN1", kWhole},
        {"empty data file name", "", "YZN1", damaged},
        {"data file outside the folder", "../YZN0", "YZN1", damaged},
        {"data file name with backslash", "a\\b", "YZN1", damaged},
        {"data file name dot dot", "..", "YZN1", damaged},
        {"drawing in a subfolder", "YZN0", "sub/YZN1", kDamagedDrawings},
        {"drawing named dot", "YZN0", ".", kDamagedDrawings},
        {"drawing name with NUL", "YZN0",
         std::string("YZN\0"
                     "1",
                     5),
         kDamagedDrawings},
        {"drawing sharing the data file", "YZN0", "YZN0", kDamagedDrawings},
    };
    for (const Case& c : cases) {
        Project original;
        FillProject(original);
        original.dataTable.fileName = c.dataFileName;
        original.drawings[0]->fileName = c.drawingFileName;
        Project project;
        EXPECT_EQ(Decode(EncodeProjectFile(original), project), c.expected) << c.name;
    }
}

TEST(ProjectFile, NextFileNumberIsRaisedAboveEveryFileInUse) {
    Project original;
    FillProject(original);
    original.nextFileNumber = 1;
    original.drawings[1]->fileName = "YZN7";
    Project project;
    ASSERT_EQ(Decode(EncodeProjectFile(original), project), kWhole);
    EXPECT_EQ(project.nextFileNumber, 8);
    EXPECT_EQ(project.TakeFileName(), "YZN8");
}

TEST(ProjectFile, ItemCountBelowOneOrHugeIsDamage) {
    for (std::int32_t count : {0, -5}) {
        BinaryWriter writer;
        writer.WriteText("1.0");
        writer.WriteText("c");
        writer.WriteText("n");
        writer.WriteText("t");
        writer.WriteInt32(1);
        writer.WriteInt32(count);
        writer.WriteText("YZN0");
        Project project;
        EXPECT_EQ(Decode(writer.Data(), project),
                  G("工程文件已损坏，无法打开工程：") + kProjectPath)
            << count;
    }
    BinaryWriter writer;
    writer.WriteText("1.0");
    writer.WriteText("c");
    writer.WriteText("n");
    writer.WriteText("t");
    writer.WriteInt32(1);
    writer.WriteInt32(0x7FFFFFFF);
    writer.WriteText("YZN0");
    Project project;
    EXPECT_EQ(Decode(writer.Data(), project), kDamagedDrawings);
    EXPECT_TRUE(project.drawings.empty());
}

TEST(DataFile, RowRecordFieldsAreWrittenInTheirOrder) {
    QuantityTable table(nullptr);
    table.headings = {"h"};
    table.nextRowIdentifier = 9;
    auto row = std::make_shared<QuantityRow>();
    row->identifier = 9;
    row->material = "material";
    row->itemName = "item";
    row->partOrAxis = "part";
    row->count = "count";
    row->length = "length";
    row->width = "width";
    row->height = "height";
    row->unit = "unit";
    row->quantity = "quantity";
    row->area = "area";
    row->volume = "volume";
    row->unitWeight = "weight";
    row->list1 = {1};
    row->list2 = {2, 22};
    row->list3 = {};
    row->list4 = {4};
    row->drawingName = "drawing";
    table.rows.SetAt(9, row);

    BinaryWriter expected;
    expected.WriteText(G("无图纸数据添加窗口"));
    expected.WriteInt32(9);
    expected.WriteInt32(1);
    expected.WriteText("h");
    expected.WriteInt32(1);
    for (const char* text : {"material", "item", "part", "count", "length", "width", "height",
                             "unit", "quantity", "area", "volume", "weight"}) {
        expected.WriteText(text);
    }
    for (const std::vector<std::int32_t>& list : {std::vector<std::int32_t>{1}, {2, 22}, {}, {4}}) {
        expected.WriteInt32(static_cast<std::int32_t>(list.size()));
        for (std::int32_t id : list) {
            expected.WriteInt32(id);
        }
    }
    expected.WriteText("drawing");
    expected.WriteInt32(9);
    expected.WriteInt32(0);  // no children
    EXPECT_EQ(EncodeDataFile(table), expected.Data());
}

TEST(DataFile, RoundTripKeepsEveryFieldAndReversesOrderWithinABucket) {
    QuantityTable original(nullptr);
    FillTable(original);
    std::string bytes = EncodeDataFile(original);

    QuantityTable loaded(nullptr);
    ASSERT_TRUE(DecodeDataFile(bytes, loaded));
    EXPECT_EQ(loaded.displayName, G("无图纸数据添加窗口"));
    EXPECT_EQ(loaded.nextRowIdentifier, 40);
    EXPECT_EQ(loaded.headings, original.headings);

    // Written newest first within bucket 0 (3, 2, 1), entered one by one at the front of the
    // bucket: the reloaded order within a bucket is reversed. Bucket 1 (17) follows.
    EXPECT_EQ(Keys(original.rows), (std::vector<std::int32_t>{3, 2, 1, 17}));
    EXPECT_EQ(Keys(loaded.rows), (std::vector<std::int32_t>{1, 2, 3, 17}));
    EXPECT_EQ(Keys((*original.rows.Lookup(1))->children), (std::vector<std::int32_t>{6, 5, 4}));
    EXPECT_EQ(Keys((*loaded.rows.Lookup(1))->children), (std::vector<std::int32_t>{4, 5, 6}));

    for (const auto& entry : original.rows) {
        const QuantityRowPtr* found = loaded.rows.Lookup(entry.key);
        ASSERT_NE(found, nullptr);
        const QuantityRow& row = **found;
        ExpectSameRow(row, *entry.value);
        EXPECT_EQ(row.parent, nullptr);
        EXPECT_EQ(row.children.size(), entry.value->children.size());
        for (const auto& child : entry.value->children) {
            const QuantityRowPtr* loadedChild = row.children.Lookup(child.key);
            ASSERT_NE(loadedChild, nullptr);
            ExpectSameRow(**loadedChild, *child.value);
            EXPECT_EQ((*loadedChild)->parent, &row);
            EXPECT_TRUE((*loadedChild)->children.empty());
        }
    }

    // A second save and reload restores the first order, so its bytes are the first ones.
    QuantityTable again(nullptr);
    ASSERT_TRUE(DecodeDataFile(EncodeDataFile(loaded), again));
    EXPECT_EQ(EncodeDataFile(again), bytes);
}

TEST(DataFile, TruncatedAtEveryOffsetKeepsOnlyCompleteRows) {
    QuantityTable original(nullptr);
    FillTable(original);
    std::string bytes = EncodeDataFile(original);
    std::size_t previousRows = 0;
    for (std::size_t size = 0; size <= bytes.size(); ++size) {
        QuantityTable table(nullptr);
        bool intact = DecodeDataFile(bytes.substr(0, size), table).Ok();
        EXPECT_EQ(intact, size == bytes.size()) << "size " << size;
        EXPECT_GE(table.rows.size(), previousRows) << "size " << size;
        previousRows = table.rows.size();
        for (const auto& entry : table.rows) {
            const QuantityRowPtr* source = original.rows.Lookup(entry.key);
            ASSERT_NE(source, nullptr);
            ExpectSameRow(*entry.value, **source);
            for (const auto& child : entry.value->children) {
                const QuantityRowPtr* sourceChild = (*source)->children.Lookup(child.key);
                ASSERT_NE(sourceChild, nullptr);
                ExpectSameRow(*child.value, **sourceChild);
            }
        }
    }
    EXPECT_EQ(previousRows, 4u);
}

TEST(DataFile, ImpossibleCountsStopDecodingWithoutAllocating) {
    struct Case {
        const char* name;
        std::int32_t headingCount;
        std::int32_t rowCount;
        std::int32_t identifierCount;
        std::int32_t childCount;
    };
    const Case cases[] = {
        {"huge heading count", 0x7FFFFFFF, 1, 0, 0},    {"negative heading count", -1, 1, 0, 0},
        {"huge row count", 0, 0x7FFFFFFF, 0, 0},        {"negative row count", 0, -3, 0, 0},
        {"huge identifier count", 0, 1, 0x40000000, 0}, {"negative identifier count", 0, 1, -1, 0},
        {"huge child count", 0, 1, 0, 0x7FFFFFFF},
    };
    for (const Case& c : cases) {
        BinaryWriter writer;
        writer.WriteText("d");
        writer.WriteInt32(0);
        writer.WriteInt32(c.headingCount);
        writer.WriteInt32(c.rowCount);
        for (int i = 0; i < 12; ++i) {
            writer.WriteText("t");
        }
        writer.WriteInt32(c.identifierCount);
        for (int i = 0; i < 3; ++i) {
            writer.WriteInt32(0);
        }
        writer.WriteText("");
        writer.WriteInt32(1);
        writer.WriteInt32(c.childCount);
        QuantityTable table(nullptr);
        EXPECT_FALSE(DecodeDataFile(writer.Data(), table)) << c.name;
        EXPECT_LE(table.rows.size(), 1u) << c.name;
    }
}

TEST(DataFile, NextRowIdentifierIsRaisedToTheLargestIdentifierRead) {
    QuantityTable original(nullptr);
    FillTable(original);
    original.nextRowIdentifier = 2;  // below rows 3, 17 and child 33
    QuantityTable loaded(nullptr);
    ASSERT_TRUE(DecodeDataFile(EncodeDataFile(original), loaded));
    EXPECT_EQ(loaded.nextRowIdentifier, 33);
    EXPECT_EQ(loaded.NewRowIdentifier(), 34);
}

TEST(DataFile, AnEmptyTableHasNoRowsAndItsHeadings) {
    QuantityTable table(nullptr);
    table.SetDefaultHeadings();
    QuantityTable loaded(nullptr);
    ASSERT_TRUE(DecodeDataFile(EncodeDataFile(table), loaded));
    EXPECT_TRUE(loaded.rows.empty());
    ASSERT_EQ(loaded.headings.size(), 13u);
    EXPECT_EQ(loaded.headings[0], G("序号"));
    EXPECT_EQ(loaded.headings[11], G("单位重量（kg）"));
    EXPECT_EQ(loaded.headings[12], G("工程量"));
}
