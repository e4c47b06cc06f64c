#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "cad/CadDrawing.h"
#include "cad/Geometry.h"
#include "cad/SpatialIndex.h"

using namespace quarrant;

namespace {

class RandomDrawing {
public:
    explicit RandomDrawing(unsigned seed) : m_random(seed) {}

    double Coordinate() { return std::uniform_real_distribution<double>(0.0, 1000.0)(m_random); }
    double Small() { return std::uniform_real_distribution<double>(-40.0, 40.0)(m_random); }
    double Angle() { return std::uniform_real_distribution<double>(0.0, 360.0)(m_random); }
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }

    CCadEntity Line(double x, double y) {
        CCadEntity e = MakeEntity<CCadLine>(kCadLine);
        auto* line = e.As<CCadLine>();
        line->startX = x;
        line->startY = y;
        line->endX = x + Small();
        line->endY = y + Small();
        return e;
    }
    CCadEntity Arc(double x, double y) {
        CCadEntity e = MakeEntity<CCadArc>(kCadArc);
        auto* arc = e.As<CCadArc>();
        arc->centerX = x;
        arc->centerY = y;
        arc->radius = std::fabs(Small()) + 0.5;
        arc->startAngle = Angle();
        arc->endAngle = Angle();
        return e;
    }
    CCadEntity Circle(double x, double y) {
        CCadEntity e = MakeEntity<CCadCircle>(kCadCircle);
        auto* circle = e.As<CCadCircle>();
        circle->centerX = x;
        circle->centerY = y;
        circle->radius = std::fabs(Small()) + 0.5;
        return e;
    }
    CCadEntity Polyline(double x, double y) {
        CCadEntity e = MakeEntity<CCadPolyline>(kCadPolyline);
        auto* polyline = e.As<CCadPolyline>();
        const int n = 2 + Pick(4);
        for (int i = 0; i < n; ++i) {
            CCadVertex v;
            v.x = x + Small();
            v.y = y + Small();
            if (Pick(2) == 0) {
                v.hasBulge = 1;
                v.bulge = std::uniform_real_distribution<double>(-3.0, 3.0)(m_random);
            }
            polyline->vertices.push_back(v);
        }
        polyline->vertexCount = n;
        polyline->flags = Pick(2);
        return e;
    }
    CCadEntity Solid(double x, double y) {
        CCadEntity e = MakeEntity<CCadSolid>(kCadSolid);
        auto* s = e.As<CCadSolid>();
        s->x1 = x;
        s->y1 = y;
        s->x2 = x + Small();
        s->y2 = y + Small();
        s->x3 = x + Small();
        s->y3 = y + Small();
        s->x4 = x + Small();
        s->y4 = y + Small();
        return e;
    }
    CCadEntity Text(double x, double y) {
        CCadEntity e = MakeEntity<CCadText>(kCadText);
        auto* text = e.As<CCadText>();
        text->insertX = x;
        text->insertY = y;
        text->height = 1 + Pick(30);
        text->text = std::string(1 + Pick(12), 'W');
        text->rotation = Pick(2) == 0 ? 0.0 : Angle();
        return e;
    }
    CCadEntity Insert(double x, double y) {
        CCadEntity e = MakeEntity<CCadInsert>(kCadInsert);
        auto* insert = e.As<CCadInsert>();
        insert->insertX = x;
        insert->insertY = y;
        insert->scaleX = std::uniform_real_distribution<double>(-2.0, 2.0)(m_random);
        insert->scaleY = std::uniform_real_distribution<double>(-2.0, 2.0)(m_random);
        insert->rotation = Angle();
        for (int i = 0; i < 3; ++i) {
            switch (Pick(4)) {
                case 0:
                    insert->entities.push_back(Line(Small(), Small()));
                    break;
                case 1:
                    insert->entities.push_back(Circle(Small(), Small()));
                    break;
                case 2:
                    insert->entities.push_back(Polyline(Small(), Small()));
                    break;
                default:
                    insert->entities.push_back(Solid(Small(), Small()));
                    break;
            }
        }
        return e;
    }
    CCadEntity Dimension(double x, double y) {
        CCadEntity e = MakeEntity<CCadDimension>(kCadDimension);
        auto* dimension = e.As<CCadDimension>();
        dimension->block = std::make_shared<CCadBlock>();
        dimension->block->entities.push_back(Line(x, y));
        dimension->block->entities.push_back(Arc(x, y));
        dimension->block->entities.push_back(Solid(x, y));
        dimension->point11 = CCadDimPoint{1, x, y};
        dimension->measurement = "1500";
        dimension->textHeight = "2.5";
        return e;
    }

    CCadDrawing Make(int count) {
        CCadDrawing drawing;
        for (int i = 0; i < count; ++i) {
            const double x = Coordinate();
            const double y = Coordinate();
            CCadEntity e;
            switch (Pick(8)) {
                case 0:
                    e = Line(x, y);
                    break;
                case 1:
                    e = Arc(x, y);
                    break;
                case 2:
                    e = Circle(x, y);
                    break;
                case 3:
                    e = Polyline(x, y);
                    break;
                case 4:
                    e = Solid(x, y);
                    break;
                case 5:
                    e = Text(x, y);
                    break;
                case 6:
                    e = Insert(x, y);
                    break;
                default:
                    e = Dimension(x, y);
                    break;
            }
            e.record->identifier = i;
            drawing.AddEntity(e);
        }
        drawing.minX = drawing.minY = 0.0;
        drawing.maxX = drawing.maxY = 1000.0;
        return drawing;
    }

private:
    std::mt19937 m_random;
};

bool BoxesMeet(const CadRect& a, const CadRect& b) {
    return a.xmin <= b.xmax && a.xmax >= b.xmin && a.ymin <= b.ymax && a.ymax >= b.ymin;
}

TEST(SpatialIndexTest, QueryAnswersTheEntitiesWhoseBoxesMeetTheRectangleInDrawingOrder) {
    RandomDrawing random(7);
    CCadDrawing drawing = random.Make(3000);
    SpatialIndex index;
    index.Build(drawing);
    ASSERT_TRUE(index.IsBuiltFor(drawing));
    std::vector<std::uint32_t> found;
    for (int q = 0; q < 200; ++q) {
        const double x = random.Coordinate() - 100.0;
        const double y = random.Coordinate() - 100.0;
        const double size = std::fabs(random.Small()) * (q % 10 == 0 ? 30.0 : 2.0);
        const CadRect rect{x, y, x + size, y + size};
        index.Query(rect, found);
        ASSERT_TRUE(std::is_sorted(found.begin(), found.end()));
        std::vector<std::uint32_t> expected;
        for (std::uint32_t i = 0; i < drawing.entities.size(); ++i) {
            CadRect box;
            if (EntityBounds(drawing.entities[i], drawing, box) && BoxesMeet(box, rect)) {
                expected.push_back(i);
            }
        }
        ASSERT_EQ(found, expected) << "query " << q;
    }
}

TEST(SpatialIndexTest, EveryEntityAPickRectangleTouchesIsACandidate) {
    RandomDrawing random(11);
    CCadDrawing drawing = random.Make(2000);
    SpatialIndex index;
    index.Build(drawing);
    std::vector<std::uint32_t> found;
    int touched = 0;
    for (int q = 0; q < 300; ++q) {
        const double x = random.Coordinate();
        const double y = random.Coordinate();
        const double size = std::fabs(random.Small()) + 0.01;
        const CadRect rect{x - size, y - size, x + size, y + size};
        index.Query(rect, found);
        for (std::uint32_t i = 0; i < drawing.entities.size(); ++i) {
            if (HitEntity(drawing.entities[i], rect) != kHitNone) {
                ++touched;
                ASSERT_TRUE(std::binary_search(found.begin(), found.end(), i))
                    << "entity " << i << " of type " << drawing.entities[i].type
                    << " is hit but not a candidate";
            }
        }
    }
    EXPECT_GT(touched, 100);
}

TEST(SpatialIndexTest, RectangleHoldingEverythingAnswersAllEntitiesWithABox) {
    RandomDrawing random(3);
    CCadDrawing drawing = random.Make(100);
    SpatialIndex index;
    index.Build(drawing);
    std::vector<std::uint32_t> found;
    index.Query(CadRect{-1e9, -1e9, 1e9, 1e9}, found);
    EXPECT_EQ(found.size(), 100u);
}

TEST(SpatialIndexTest, EntitiesWithoutFiniteCoordinatesAreNeverAnswered) {
    CCadDrawing drawing;
    CCadEntity bad = MakeEntity<CCadLine>(kCadLine);
    bad.As<CCadLine>()->startX = std::numeric_limits<double>::quiet_NaN();
    bad.As<CCadLine>()->endX = std::numeric_limits<double>::infinity();
    bad.As<CCadLine>()->startY = std::numeric_limits<double>::quiet_NaN();
    bad.As<CCadLine>()->endY = std::numeric_limits<double>::quiet_NaN();
    drawing.AddEntity(bad);
    drawing.AddEntity(CCadEntity{kCadReserved, nullptr});
    CCadEntity good = MakeEntity<CCadCircle>(kCadCircle);
    good.As<CCadCircle>()->radius = 5.0;
    drawing.AddEntity(good);
    SpatialIndex index;
    index.Build(drawing);
    std::vector<std::uint32_t> found;
    index.Query(CadRect{-10, -10, 10, 10}, found);
    EXPECT_EQ(found, std::vector<std::uint32_t>{2});
}

TEST(SpatialIndexTest, EmptyDrawingAnswersNothing) {
    CCadDrawing drawing;
    SpatialIndex index;
    index.Build(drawing);
    std::vector<std::uint32_t> found{1, 2};
    index.Query(CadRect{0, 0, 10, 10}, found);
    EXPECT_TRUE(found.empty());
}

TEST(SpatialIndexTest, IndexNoticesAResizedEntityArray) {
    RandomDrawing random(5);
    CCadDrawing drawing = random.Make(10);
    SpatialIndex index;
    index.Build(drawing);
    EXPECT_TRUE(index.IsBuiltFor(drawing));
    drawing.entities.pop_back();
    EXPECT_FALSE(index.IsBuiltFor(drawing));
}

TEST(SpatialIndexTest, TextBoxHoldsTheTextDrawnAboveItsInsertionPoint) {
    CCadDrawing drawing;
    CCadEntity e = MakeEntity<CCadText>(kCadText);
    auto* text = e.As<CCadText>();
    text->insertX = 100.0;
    text->insertY = 100.0;
    text->height = 10;
    text->text = "ABCD";
    CadRect box;
    ASSERT_TRUE(EntityBounds(e, drawing, box));
    EXPECT_LE(box.ymin, 90.0 - 5.0);    // the glyphs stand above the insertion point
    EXPECT_GE(box.xmax, 100.0 + 40.0);  // up to one height per byte
    EXPECT_LE(box.xmin, 100.0);
}

}  // namespace
