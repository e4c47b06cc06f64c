#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "base/CNumbers.h"
#include "base/HashMap17.h"
#include "cad/CadSelection.h"
#include "cad/GroupCounter.h"

using namespace quarrant;

namespace {

CCadEntity& AddLine(CCadDrawing& drawing, int id, double x1, double y1, double x2, double y2) {
    CCadEntity entity = MakeEntity<CCadLine>(kCadLine);
    auto* line = entity.As<CCadLine>();
    line->identifier = id;
    line->startX = x1;
    line->startY = y1;
    line->endX = x2;
    line->endY = y2;
    drawing.AddEntity(entity);
    return drawing.entities.back();
}

CCadEntity Arc(int id, double x, double y, double radius, double start, double end) {
    CCadEntity entity = MakeEntity<CCadArc>(kCadArc);
    auto* arc = entity.As<CCadArc>();
    arc->identifier = id;
    arc->centerX = x;
    arc->centerY = y;
    arc->radius = radius;
    arc->startAngle = start;
    arc->endAngle = end;
    return entity;
}

CCadEntity Circle(int id, double x, double y, double radius) {
    CCadEntity entity = MakeEntity<CCadCircle>(kCadCircle);
    auto* circle = entity.As<CCadCircle>();
    circle->identifier = id;
    circle->centerX = x;
    circle->centerY = y;
    circle->radius = radius;
    return entity;
}

CCadVertex Vertex(double x, double y, double bulge = 0.0, unsigned char hasBulge = 0) {
    CCadVertex v;
    v.x = x;
    v.y = y;
    v.bulge = bulge;
    v.hasBulge = hasBulge;
    return v;
}

CCadEntity Polyline(int id, std::vector<CCadVertex> vertices, int flags = 0) {
    CCadEntity entity = MakeEntity<CCadPolyline>(kCadPolyline);
    auto* polyline = entity.As<CCadPolyline>();
    polyline->identifier = id;
    polyline->vertices = std::move(vertices);
    polyline->vertexCount = static_cast<int>(polyline->vertices.size());
    polyline->flags = flags;
    return entity;
}

CCadEntity Insert(int id, const std::string& block, double x, double y) {
    CCadEntity entity = MakeEntity<CCadInsert>(kCadInsert);
    auto* insert = entity.As<CCadInsert>();
    insert->identifier = id;
    insert->blockName = block;
    insert->insertX = x;
    insert->insertY = y;
    return entity;
}

CCadEntity Solid(int id, double dx, double dy, double scale = 1.0) {
    CCadEntity entity = MakeEntity<CCadSolid>(kCadSolid);
    auto* s = entity.As<CCadSolid>();
    s->identifier = id;
    s->x1 = dx;
    s->y1 = dy;
    s->x2 = dx + 10 * scale;
    s->y2 = dy;
    s->x3 = dx;
    s->y3 = dy + 5 * scale;
    s->x4 = dx + 10 * scale;
    s->y4 = dy + 5 * scale;
    return entity;
}

CCadEntity Text(int id) {
    CCadEntity entity = MakeEntity<CCadText>(kCadText);
    entity.record->identifier = id;
    entity.As<CCadText>()->text = "A";
    return entity;
}

struct CountResult {
    int count = 0;
    std::string text;
};

CountResult Count(const CCadDrawing& drawing, const std::vector<int>& ids,
                  float coordinatePrecision = 1.0f, float anglePrecision = 0.01f) {
    CCadSelection selection;
    for (int id : ids) {
        selection.SelectById(drawing, id);
    }
    CExclusionMap exclusion;
    CountResult result;
    result.count = CountRepeatedGroups(drawing, selection.Entities(), coordinatePrecision,
                                       anglePrecision, exclusion, result.text);
    return result;
}

TEST(CountRepeatedGroups, OneLineAmongFourEqualParallelLinesGivesFour) {
    CCadDrawing drawing;
    AddLine(drawing, 1, 0, 0, 100, 0);
    AddLine(drawing, 2, 0, 50, 100, 50);
    AddLine(drawing, 3, 0, 100, 100, 100);
    AddLine(drawing, 4, 0, 150, 100, 150);
    CountResult result = Count(drawing, {1});
    EXPECT_EQ(result.count, 4);
    // Identifiers 2, 3, 4 share bucket 0, newest first; each candidate and the selected line
    // are written twice.
    EXPECT_EQ(result.text, "4;4;3;3;2;2;1;1;");
}

TEST(CountRepeatedGroups, CandidatesFollowTheIdentifierMapOrderNotTheDrawingOrder) {
    CCadDrawing drawing;
    AddLine(drawing, 5, 0, 0, 100, 0);
    AddLine(drawing, 40, 0, 50, 100, 50);    // bucket 2
    AddLine(drawing, 3, 0, 100, 100, 100);   // bucket 0
    AddLine(drawing, 20, 0, 150, 100, 150);  // bucket 1
    CountResult result = Count(drawing, {5});
    EXPECT_EQ(result.count, 4);
    EXPECT_EQ(result.text, "3;3;20;20;40;40;5;5;");
}

TEST(CountRepeatedGroups, AnLShapeRepeatedThreeTimesByTranslationGivesFour) {
    CCadDrawing drawing;
    auto addL = [&](int idA, int idB, double x, double y) {
        AddLine(drawing, idA, x, y, x + 100, y);  // A: horizontal, 100 long
        AddLine(drawing, idB, x, y, x, y + 50);   // B: vertical, 50 long
    };
    addL(10, 11, 0, 0);
    addL(20, 21, 200, 0);
    addL(30, 31, 0, 300);
    addL(40, 41, 500, 500);
    // A lone copy of A: similar, but its occurrence has no B.
    AddLine(drawing, 50, 1000, 1000, 1100, 1000);
    // The L turned by 90 degrees: neither line is similar to its counterpart.
    AddLine(drawing, 60, 800, 0, 800, 100);
    AddLine(drawing, 61, 800, 0, 750, 0);
    CountResult result = Count(drawing, {10, 11});
    EXPECT_EQ(result.count, 4);
    // Candidates of A in map order: 30, 20 (bucket 1, newest first), 40, 50.
    EXPECT_EQ(result.text, "30;31;30;20;21;20;40;41;40;10;11;10;");
}

TEST(CountRepeatedGroups, AReversedLineIsSimilarButCompletesNoOccurrenceOfItsOwn) {
    CCadDrawing drawing;
    AddLine(drawing, 1, 0, 0, 100, 0);
    AddLine(drawing, 2, 0, 0, 0, 50);
    // A copy shifted by (200, 0) whose horizontal line is drawn backwards: its start lies at
    // the other end, so the shift it gives finds no vertical line.
    AddLine(drawing, 3, 300, 0, 200, 0);
    AddLine(drawing, 4, 200, 0, 200, 50);
    CountResult lShape = Count(drawing, {1, 2});
    EXPECT_EQ(lShape.count, 1);
    EXPECT_EQ(lShape.text, "1;2;1;");
    // Alone, the reversed line is a similar line like any other.
    CountResult single = Count(drawing, {1});
    EXPECT_EQ(single.count, 2);
    EXPECT_EQ(single.text, "3;3;1;1;");
}

TEST(CountRepeatedGroups, ASelectionOfTextsOnlyGivesZeroAndNoText) {
    CCadDrawing drawing;
    drawing.AddEntity(Text(1));
    drawing.AddEntity(Text(2));
    CExclusionMap exclusion;
    exclusion[99];
    CCadSelection selection;
    selection.SelectById(drawing, 1);
    selection.SelectById(drawing, 2);
    std::string text = "before;";
    EXPECT_EQ(CountRepeatedGroups(drawing, selection.Entities(), 1.0f, 0.01f, exclusion, text), 0);
    EXPECT_EQ(text, "before;");
    EXPECT_TRUE(exclusion.empty());
}

TEST(CountRepeatedGroups, TheExclusionMapHoldsTheSelectedIdentifiersAndKeepsThemOutOfEverySet) {
    CCadDrawing drawing;
    AddLine(drawing, 1, 0, 0, 100, 0);
    AddLine(drawing, 2, 0, 50, 100, 50);
    AddLine(drawing, 3, 0, 100, 100, 100);
    drawing.AddEntity(Text(7));
    CCadSelection selection;
    for (int id : {1, 2, 7}) {
        selection.SelectById(drawing, id);
    }
    CExclusionMap exclusion;
    exclusion[42];  // left over from an earlier search
    std::string text;
    // Groups: line 1 and line 2, both with the similar set {3} (neither holds the other).
    // The shift from line 1 to line 3 is 100, but line 3 lies only 50 below line 2, so no
    // occurrence is complete.
    EXPECT_EQ(CountRepeatedGroups(drawing, selection.Entities(), 1.0f, 0.01f, exclusion, text), 1);
    EXPECT_EQ(text, "1;2;1;");
    EXPECT_EQ(exclusion.size(), 2u);
    EXPECT_TRUE(exclusion.Contains(1));
    EXPECT_TRUE(exclusion.Contains(2));
    EXPECT_FALSE(exclusion.Contains(7));
    EXPECT_FALSE(exclusion.Contains(42));
}

TEST(CountRepeatedGroups, AnEntitySelectedTwiceMakesTwoGroupsAndIsWrittenEachTime) {
    CCadDrawing drawing;
    AddLine(drawing, 1, 0, 0, 100, 0);
    AddLine(drawing, 2, 0, 50, 100, 50);
    AddLine(drawing, 3, 0, 100, 100, 100);
    CountResult result = Count(drawing, {1, 1});
    EXPECT_EQ(result.count, 3);
    EXPECT_EQ(result.text, "3;3;3;2;2;2;1;1;1;");
}

TEST(CountRepeatedGroups, UnknownIdentifiersAreIgnoredBySelectById) {
    CCadDrawing drawing;
    AddLine(drawing, 1, 0, 0, 100, 0);
    AddLine(drawing, 2, 0, 50, 100, 50);
    CountResult result = Count(drawing, {77, 1, -1, 5000});
    EXPECT_EQ(result.count, 2);
    EXPECT_EQ(result.text, "2;2;1;1;");
}

TEST(CountRepeatedGroups, TheFirstMatchInMapOrderIsTakenEvenWhenItIsNotTheCandidate) {
    CCadDrawing drawing;
    AddLine(drawing, 1, 0, 0, 100, 0);
    AddLine(drawing, 2, 100, 0, 200, 0);
    // A near copy of line 2 within the coordinate precision; it comes first in map order.
    AddLine(drawing, 3, 100.3, 0, 200.3, 0);
    CountResult result = Count(drawing, {1});
    EXPECT_EQ(result.count, 3);
    EXPECT_EQ(result.text, "3;3;3;2;1;1;");
}

TEST(CountRepeatedGroups, ShiftsAreComparedStrictlyWithTheCoordinatePrecision) {
    CCadDrawing drawing;
    AddLine(drawing, 1, 0, 0, 100, 0);
    AddLine(drawing, 2, 0, 0, 0, 50);
    AddLine(drawing, 3, 200, 0, 300, 0);
    // The vertical line of the copy is 1 off in X: |difference| = 1 is not < 1.
    AddLine(drawing, 4, 201, 0, 201, 50);
    EXPECT_EQ(Count(drawing, {1, 2}, 1.0f).count, 1);
    EXPECT_EQ(Count(drawing, {1, 2}, 1.5f).count, 2);
}

TEST(CountRepeatedGroups, PolylinesWithoutVerticesAllStandAtTheOrigin) {
    CCadDrawing drawing;
    drawing.AddEntity(Polyline(1, {}));
    drawing.AddEntity(Polyline(2, {}));
    drawing.AddEntity(Polyline(3, {}));
    drawing.AddEntity(Polyline(4, {}, 1));  // other flags: not similar
    CountResult result = Count(drawing, {1});
    // Every shift is (0, 0), so the first member in map order (3) matches every candidate.
    EXPECT_EQ(result.count, 3);
    EXPECT_EQ(result.text, "3;3;3;2;1;1;");
    CadPoint reference{5, 5};
    ASSERT_TRUE(ReferencePoint(drawing.entities[0], &reference));
    EXPECT_EQ(reference.x, 0.0);
    EXPECT_EQ(reference.y, 0.0);
}

TEST(CountRepeatedGroups, InsertsOfTheSameBlockAreCountedByTheirInsertionPoints) {
    CCadDrawing drawing;
    drawing.AddEntity(Insert(1, "PLATE", 0, 0));
    drawing.AddEntity(Insert(2, "PLATE", 500, 0));
    drawing.AddEntity(Insert(3, "plate", 900, 0));  // names compare exactly
    drawing.AddEntity(Solid(4, 10, 10));
    drawing.AddEntity(Solid(5, 510, 10));
    drawing.AddEntity(Solid(6, 910, 10));
    CountResult result = Count(drawing, {1, 4});
    EXPECT_EQ(result.count, 2);
    EXPECT_EQ(result.text, "2;5;2;1;4;1;");
}

struct SimilarCase {
    const char* name;
    CCadEntity candidate;
    CCadEntity selected;
    bool similar;
};

CCadEntity LineEntity(double x1, double y1, double x2, double y2) {
    CCadDrawing scratch;
    return AddLine(scratch, 0, x1, y1, x2, y2);
}

TEST(IsSimilar, ComparesEachTypeAsTheSearchNeeds) {
    const SimilarCase cases[] = {
        {"equal lines elsewhere", LineEntity(50, 50, 150, 60), LineEntity(0, 0, 100, 10), true},
        {"reversed line", LineEntity(150, 60, 50, 50), LineEntity(0, 0, 100, 10), true},
        {"slope off by twice the angle precision", LineEntity(0, 0, 100, 12),
         LineEntity(0, 0, 100, 10), false},
        {"slope within the angle precision", LineEntity(0, 0, 100, 10.5), LineEntity(0, 0, 100, 10),
         true},
        {"length off by more than the precision", LineEntity(0, 0, 102, 0),
         LineEntity(0, 0, 100, 0), false},
        {"vertical against nearly vertical", LineEntity(0.001, 0, 0, 100), LineEntity(0, 0, 0, 100),
         false},
        {"two verticals of equal length", LineEntity(7, 0, 7, -100), LineEntity(0, 0, 0, 100),
         true},
        {"vertical has slope 0 but stays apart from horizontal", LineEntity(0, 0, 0, 100),
         LineEntity(0, 0, 100, 0), false},
        {"arcs with angles within the coordinate precision", Arc(0, 9, 9, 10.5, 90.5, 50),
         Arc(0, 0, 0, 10, 90, 50), true},
        {"arc angles compared with the coordinate precision", Arc(0, 9, 9, 10, 91.5, 50),
         Arc(0, 0, 0, 10, 90, 50), false},
        {"arc radius off", Arc(0, 9, 9, 11, 90, 50), Arc(0, 0, 0, 10, 90, 50), false},
        {"circle radius within", Circle(0, 5, 5, 10.9), Circle(0, 0, 0, 10), true},
        {"circle radius off", Circle(0, 5, 5, 11), Circle(0, 0, 0, 10), false},
        {"polylines alike", Polyline(0, {Vertex(10, 10), Vertex(110, 10), Vertex(110, 60)}),
         Polyline(0, {Vertex(0, 0), Vertex(100, 0), Vertex(100, 50)}), true},
        {"closed polylines alike",
         Polyline(0, {Vertex(10, 10), Vertex(110, 10), Vertex(110, 60)}, 1),
         Polyline(0, {Vertex(0, 0), Vertex(100, 0), Vertex(100, 50)}, 1), true},
        {"polyline second segment differs",
         Polyline(0, {Vertex(10, 10), Vertex(110, 10), Vertex(110, 70)}),
         Polyline(0, {Vertex(0, 0), Vertex(100, 0), Vertex(100, 50)}), false},
        {"polyline flags differ", Polyline(0, {Vertex(10, 10), Vertex(110, 10)}, 1),
         Polyline(0, {Vertex(0, 0), Vertex(100, 0)}, 0), false},
        {"polyline vertex counts differ",
         Polyline(0, {Vertex(10, 10), Vertex(110, 10), Vertex(120, 10)}),
         Polyline(0, {Vertex(0, 0), Vertex(100, 0)}), false},
        {"polyline bulges must be exactly equal",
         Polyline(0, {Vertex(10, 10, 0.5, 1), Vertex(110, 10)}),
         Polyline(0, {Vertex(0, 0, 0.5000001, 1), Vertex(100, 0)}), false},
        {"polyline equal bulges", Polyline(0, {Vertex(10, 10, 0.5, 1), Vertex(110, 10)}),
         Polyline(0, {Vertex(0, 0, 0.5, 1), Vertex(100, 0)}), true},
        {"polyline has-bulge marks must agree",
         Polyline(0, {Vertex(10, 10, 0.0, 1), Vertex(110, 10)}),
         Polyline(0, {Vertex(0, 0), Vertex(100, 0)}), false},
        {"inserts of the same block", Insert(0, "B1", 5, 5), Insert(0, "B1", 0, 0), true},
        {"inserts of other blocks", Insert(0, "B2", 5, 5), Insert(0, "B1", 0, 0), false},
        {"solids alike", Solid(0, 40, 40), Solid(0, 0, 0), true},
        {"solids of other size", Solid(0, 40, 40, 1.5), Solid(0, 0, 0), false},
        {"different types", Circle(0, 0, 0, 10), Arc(0, 0, 0, 0, 90, 10), false},
    };
    for (const SimilarCase& c : cases) {
        EXPECT_EQ(IsSimilar(c.candidate, c.selected, 1.0, 0.01), c.similar) << c.name;
    }
}

TEST(IsSimilar, ThePrecisionsAreThe32BitValuesWidened) {
    // 0.01f is 0.0099999997764...; a difference of 0.0099999999 is not below it, though it is
    // below the double 0.01.
    CCadEntity selected = Circle(0, 0, 0, 1.0);
    CCadEntity candidate = Circle(0, 0, 0, 1.0099999999);
    EXPECT_FALSE(IsSimilar(candidate, selected, static_cast<double>(0.01f), 0.01));
    EXPECT_TRUE(IsSimilar(candidate, selected, 0.01, 0.01));

    CCadDrawing drawing;
    drawing.AddEntity(Circle(1, 0, 0, 1.0));
    drawing.AddEntity(Circle(2, 50, 0, 1.0099999999));
    EXPECT_EQ(Count(drawing, {1}, 0.01f).count, 1);
}

TEST(IsSimilar, ZeroPrecisionsMatchNothing) {
    EXPECT_FALSE(IsSimilar(LineEntity(0, 0, 100, 0), LineEntity(0, 0, 100, 0), 0.0, 0.01));
    EXPECT_FALSE(IsSimilar(LineEntity(0, 0, 100, 0), LineEntity(0, 0, 100, 0), 1.0, 0.0));
}

// The search as a plain scan: every similar set walked in full for every candidate. The
// counted search must give exactly this text.
CountResult ScanningCount(const CCadDrawing& drawing, const std::vector<int>& ids, float cpf,
                          float apf) {
    const double cp = cpf;
    const double ap = apf;
    CCadEntityList selection;
    for (int id : ids) {
        if (const CCadEntity* e = drawing.FindById(id)) {
            selection.push_back(*e);
        }
    }
    HashMap17<std::int32_t, int> excluded;
    for (const CCadEntity& s : selection) {
        if (TakesPartInCount(s.type)) {
            excluded[s.record->identifier];
        }
    }
    struct G {
        const CCadEntity* entity;
        HashMap17<std::int32_t, const CCadEntity*> similar;
    };
    std::vector<G> groups;
    for (const CCadEntity& s : selection) {
        if (!TakesPartInCount(s.type)) {
            continue;
        }
        G g{&s, {}};
        for (const CCadEntity& e : drawing.entities) {
            if (e.type == s.type && !excluded.Contains(e.record->identifier) &&
                IsSimilar(e, s, cp, ap)) {
                g.similar.SetAt(e.record->identifier, &e);
            }
        }
        groups.push_back(std::move(g));
    }
    CountResult result;
    if (groups.empty()) {
        return result;
    }
    CadPoint anchor;
    ReferencePoint(*groups[0].entity, &anchor);
    for (const auto& k : groups[0].similar) {
        CadPoint kr;
        ReferencePoint(*k.value, &kr);
        const double dx = anchor.x - kr.x, dy = anchor.y - kr.y;
        std::string part;
        bool complete = true;
        for (const G& g : groups) {
            CadPoint gr;
            ReferencePoint(*g.entity, &gr);
            bool found = false;
            for (const auto& t : g.similar) {
                CadPoint tr;
                ReferencePoint(*t.value, &tr);
                if (std::fabs((gr.x - tr.x) - dx) < cp && std::fabs((gr.y - tr.y) - dy) < cp) {
                    part += FormatInt(t.key) + ";";
                    found = true;
                    break;
                }
            }
            if (!found) {
                complete = false;
                break;
            }
        }
        if (complete) {
            result.text += part + FormatInt(k.key) + ";";
            ++result.count;
        }
    }
    for (const G& g : groups) {
        result.text += FormatInt(g.entity->record->identifier) + ";";
    }
    result.text += FormatInt(groups[0].entity->record->identifier) + ";";
    result.count += 1;
    return result;
}

TEST(CountRepeatedGroups, GivesExactlyTheTextOfAFullScanOnCrowdedDrawings) {
    std::mt19937 random(20240611);
    int occurrences = 0;
    for (int round = 0; round < 12; ++round) {
        CCadDrawing drawing;
        int id = 0;
        const float precision = round % 3 == 0 ? 1.0f : (round % 3 == 1 ? 0.5f : 3.0f);
        std::uniform_int_distribution<int> cell(0, 30);
        std::uniform_real_distribution<double> jitter(-1.2, 1.2);
        // Copies of a three-line detail on a coarse grid, many with near-duplicate lines
        // around them, so that shift tests meet several candidates in the same cells.
        for (int copy = 0; copy < 120; ++copy) {
            const double x = cell(random) * 40.0 + (copy % 4 == 0 ? jitter(random) : 0.0);
            const double y = cell(random) * 40.0;
            AddLine(drawing, id++, x, y, x + 20, y);
            AddLine(drawing, id++, x, y, x, y + 10);
            if (copy % 3 != 0) {
                AddLine(drawing, id++, x + 20, y, x + 20, y + 10);
            }
            if (copy % 5 == 0) {
                AddLine(drawing, id++, x + jitter(random), y + jitter(random),
                        x + 20 + jitter(random) * 0.1, y);
            }
        }
        for (const std::vector<int>& selection :
             {std::vector<int>{0}, std::vector<int>{0, 1}, std::vector<int>{3, 4, 5},
              std::vector<int>{1, 0, 2, 1}}) {
            CountResult fast = Count(drawing, selection, precision, 0.01f);
            CountResult plain = ScanningCount(drawing, selection, precision, 0.01f);
            EXPECT_EQ(fast.count, plain.count) << "round " << round;
            EXPECT_EQ(fast.text, plain.text) << "round " << round;
            occurrences += fast.count;
        }
    }
    // The drawings really repeat their details (the comparison is not over empty results).
    EXPECT_GT(occurrences, 1000);
}

TEST(CountRepeatedGroups, ExtremeNumbersGiveTheTextOfAFullScanWithoutFailing) {
    CCadDrawing drawing;
    int id = 0;
    for (int i = 0; i < 40; ++i) {
        AddLine(drawing, id++, i * 10.0, 0, i * 10.0 + 100, 0);
    }
    // Far away, not numbers, infinite.
    AddLine(drawing, id++, 1e300, 0, 1e300 + 100, 0);
    AddLine(drawing, id++, -1e300, -1e300, -1e300 + 100, -1e300);
    AddLine(drawing, id++, std::nan(""), 0, 100, 0);
    AddLine(drawing, id++, 0, std::numeric_limits<double>::infinity(), 100, 0);
    const float inf = std::numeric_limits<float>::infinity();
    for (float precision : {1.0f, 1e-30f, 3e38f, inf, -1.0f, 0.0f, std::nanf("")}) {
        for (const std::vector<int>& selection :
             {std::vector<int>{0}, std::vector<int>{0, 1}, std::vector<int>{40, 0}}) {
            CountResult fast = Count(drawing, selection, precision, 0.01f);
            CountResult plain = ScanningCount(drawing, selection, precision, 0.01f);
            EXPECT_EQ(fast.count, plain.count) << "precision " << precision;
            EXPECT_EQ(fast.text, plain.text) << "precision " << precision;
        }
    }
}

}  // namespace
