#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/GbkText.h"
#include "cad/CadDrawing.h"
#include "project/DrawingCoverage.h"

namespace quarrant {
namespace {

QuantityRowPtr Row(std::int32_t identifier, std::string drawingName,
                   std::vector<std::int32_t> list1, std::vector<std::int32_t> list2 = {}) {
    auto row = std::make_shared<QuantityRow>();
    row->identifier = identifier;
    row->drawingName = std::move(drawingName);
    row->list1 = std::move(list1);
    row->list2 = std::move(list2);
    return row;
}

TEST(DrawingCoverage, TextHasThousandsSeparatorsAndOneDecimal) {
    const struct {
        CoverageCount count;
        const char* utf8;
    } cases[] = {
        {{1234, 5678}, "已算量 1,234 / 5,678 图元（21.7%）"},
        {{0, 0}, "已算量 0 / 0 图元（0.0%）"},
        {{999, 1000000}, "已算量 999 / 1,000,000 图元（0.1%）"},
        {{7, 7}, "已算量 7 / 7 图元（100.0%）"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GbkToUtf8(CoverageText(c.count)), c.utf8);
    }
}

TEST(DrawingCoverage, CountsTheListsOfTheDrawingsRowsAndTheirChildrenOnce) {
    QuantityRowMap rows;
    QuantityRowPtr beam = Row(1, "A", {1, 2}, {2, 3});
    QuantityRowPtr child = Row(2, "", {4});
    child->list3 = {5};
    child->list4 = {1, 6};
    child->parent = beam.get();
    beam->children.SetAt(2, child);
    rows.SetAt(1, beam);
    rows.SetAt(3, Row(3, "B", {7, 8}));                    // another drawing
    rows.SetAt(4, Row(4, "A", {9, 500, -1, 2000000000}));  // a damaged identifier

    const std::vector<std::int32_t> associated = AssociatedIdentifiers(rows, "A");
    EXPECT_EQ(associated, (std::vector<std::int32_t>{1, 2, 3, 4, 5, 6, 9, 500, 2000000000}));

    // Entities 1..10: a text (3), a dimension (5) and an ellipse (6) are not counted; 500 is no
    // longer in the drawing.
    CCadDrawing drawing;
    const int types[] = {kCadLine,    kCadArc,      kCadText,  kCadCircle, kCadDimension,
                         kCadEllipse, kCadPolyline, kCadSolid, kCadInsert, kCadLine};
    for (int i = 0; i < 10; ++i) {
        CCadEntity entity = MakeEntity<CCadRecord>(types[i]);
        entity.record->identifier = i + 1;
        drawing.AddEntity(entity);
    }
    CCadEntity far = MakeEntity<CCadRecord>(kCadLine);
    far.record->identifier = 2000000000;
    drawing.AddEntity(far);
    const CoverageCount count = CountCoverage(drawing, associated);
    EXPECT_EQ(count.total, 8u);       // 1, 2, 4, 7, 8, 9, 10 and the far one
    EXPECT_EQ(count.associated, 5u);  // 1, 2, 4, 9 and the far one
}

}  // namespace
}  // namespace quarrant
