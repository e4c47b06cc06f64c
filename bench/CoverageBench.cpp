// The coverage of a drawing by its rows: the recount after an add, delete, undo or redo (the
// associated identifiers of the rows, then the count over the drawing) for a drawing of
// 1,000,000 entities with 10,000 rows associating 30 % of them, and one whole paint of the CAD
// control at 1600 x 1000 with the view of what is left to take off on and off.
//
// Run: bin/bench_CoverageBench [entity count]   (default 1000000)

#include <QApplication>
#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "BenchMeasures.h"
#include "base/CNumbers.h"
#include "cad/widgets/CadCtrl.h"
#include "project/DrawingCoverage.h"

using namespace quarrant;
using namespace quarrant::bench;

namespace {

struct Timing {
    double wall = 0.0;  // milliseconds
    double cpu = 0.0;
};

// The median of runs of job.
Timing Median(int runs, const std::function<void()>& job) {
    std::vector<double> walls;
    std::vector<double> cpus;
    for (int i = 0; i < runs; ++i) {
        const double cpuStart = CpuMilliseconds();
        const Clock::time_point start = Clock::now();
        job();
        walls.push_back(Seconds(start) * 1000.0);
        cpus.push_back(CpuMilliseconds() - cpuStart);
    }
    std::sort(walls.begin(), walls.end());
    std::sort(cpus.begin(), cpus.end());
    return Timing{walls[walls.size() / 2], cpus[cpus.size() / 2]};
}

// Lines, arcs, circles, polylines, texts and solids spread over a sheet in runs of one colour;
// a tenth are texts, which are not counted.
std::unique_ptr<CCadDrawing> MakeDrawing(int count) {
    std::mt19937 random(20261208);
    auto uniform = [&](double a, double b) {
        return std::uniform_real_distribution<double>(a, b)(random);
    };
    const double width = std::sqrt(120000.0 * 75000.0 * (count / 100000.0) * 1.6);
    const double height = width / 1.6;
    const CCadColor colors[] = {{255, 255, 255}, {255, 0, 0}, {255, 255, 0}, {0, 255, 0},
                                {0, 255, 255},   {0, 0, 255}, {255, 0, 255}};
    auto drawing = std::make_unique<CCadDrawing>();
    drawing->entities.reserve(static_cast<std::size_t>(count));
    drawing->identifierMap.Reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const double x = uniform(0, width);
        const double y = uniform(0, height);
        const int kind = i % 10;
        CCadEntity e;
        if (kind < 5) {
            e = MakeEntity<CCadLine>(kCadLine);
            auto* line = e.As<CCadLine>();
            line->startX = x;
            line->startY = y;
            line->endX = x + uniform(-600, 600);
            line->endY = y + uniform(-600, 600);
        } else if (kind == 5) {
            e = MakeEntity<CCadArc>(kCadArc);
            auto* arc = e.As<CCadArc>();
            arc->centerX = x;
            arc->centerY = y;
            arc->radius = uniform(50, 300);
            arc->startAngle = uniform(0, 360);
            arc->endAngle = uniform(0, 360);
        } else if (kind == 6) {
            e = MakeEntity<CCadCircle>(kCadCircle);
            auto* circle = e.As<CCadCircle>();
            circle->centerX = x;
            circle->centerY = y;
            circle->radius = uniform(20, 200);
        } else if (kind == 7) {
            e = MakeEntity<CCadPolyline>(kCadPolyline);
            auto* polyline = e.As<CCadPolyline>();
            for (int v = 0; v < 4; ++v) {
                CCadVertex vertex;
                vertex.x = x + uniform(0, 500);
                vertex.y = y + uniform(0, 500);
                polyline->vertices.push_back(vertex);
            }
            polyline->vertexCount = 4;
        } else if (kind == 8) {
            e = MakeEntity<CCadSolid>(kCadSolid);
            auto* s = e.As<CCadSolid>();
            s->x1 = s->x3 = x;
            s->y1 = s->y2 = y;
            s->x2 = s->x4 = x + 100;
            s->y3 = s->y4 = y + 100;
        } else {
            e = MakeEntity<CCadText>(kCadText);
            auto* text = e.As<CCadText>();
            text->insertX = x;
            text->insertY = y;
            text->height = 300;
            text->text = "GL-" + std::to_string(i % 120);
        }
        e.record->identifier = drawing->identifierCounter++;
        e.record->color = colors[(i / 40) % 7];
        drawing->AddEntity(std::move(e));
    }
    drawing->minX = drawing->minY = 0.0;
    drawing->maxX = width;
    drawing->maxY = height;
    return drawing;
}

// 10,000 rows of the drawing, each with 30 identifiers spread over its lists and one child row,
// together associating 30 % of the entities (of a million; 300,000 at most); and 1,000 rows of
// another drawing.
QuantityRowMap MakeRows(int entityCount) {
    std::mt19937 random(7);
    std::vector<std::int32_t> order(static_cast<std::size_t>(entityCount));
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = static_cast<std::int32_t>(i);
    }
    std::shuffle(order.begin(), order.end(), random);
    std::size_t next = 0;
    auto pick = [&] { return order[next++ % order.size()]; };
    QuantityRowMap rows;
    for (int r = 0; r < 11000; ++r) {
        auto row = std::make_shared<QuantityRow>();
        row->identifier = r + 1;
        row->drawingName = r < 10000 ? "S-01" : "S-02";
        for (int k = 0; k < 20; ++k) {
            (k < 12 ? row->list1 : row->list2).push_back(pick());
        }
        auto child = std::make_shared<QuantityRow>();
        child->identifier = 100000 + r;
        child->parent = row.get();
        for (int k = 0; k < 10; ++k) {
            (k < 6 ? child->list1 : child->list3).push_back(pick());
        }
        row->children.SetAt(child->identifier, child);
        rows.SetAt(row->identifier, row);
    }
    return rows;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, AtoiC(argv[1])) : 1000000;

    auto file = std::make_unique<CCadFile>();
    file->drawing = MakeDrawing(count);
    const QuantityRowMap rows = MakeRows(count);

    std::vector<std::int32_t> associated;
    CoverageCount coverage;
    const Timing recount = Median(7, [&] {
        associated = AssociatedIdentifiers(rows, "S-01");
        coverage = CountCoverage(*file->drawing, associated);
    });
    const Timing identifiersOnly =
        Median(7, [&] { associated = AssociatedIdentifiers(rows, "S-01"); });

    const QSize size(1600, 1000);
    CCadCtrl ctrl;
    ctrl.resize(size);
    ctrl.show();
    ctrl.resize(size + (size - ctrl.viewport()->size()));
    ctrl.SetFile(file.get());
    ctrl.ZoomToFit();
    QImage client;
    ctrl.RenderClient(client);
    const Timing paintOff = Median(5, [&] {
        ctrl.ClearMarks();  // the entities' look changed: a whole paint
        ctrl.RenderClient(client);
    });
    ctrl.SetCoverageView(associated);
    ctrl.RenderClient(client);
    const Timing paintOn = Median(5, [&] {
        ctrl.SetCoverageView(associated);
        ctrl.RenderClient(client);
    });

    std::printf("%d entities, %zu rows; %zu identifiers associated with S-01\n", count, rows.size(),
                associated.size());
    std::printf("  counted: %zu of %zu countable entities\n", coverage.associated, coverage.total);
    std::printf(
        "  recount (associated identifiers + count): %7.1f ms wall, %7.1f ms CPU   target"
        " < 100 ms\n",
        recount.wall, recount.cpu);
    std::printf("    of which the associated identifiers:  %7.1f ms wall\n", identifiersOnly.wall);
    std::printf("  control at fit, whole paint, coverage view off: %7.1f ms wall, %7.1f ms CPU\n",
                paintOff.wall, paintOff.cpu);
    std::printf("  control at fit, whole paint, coverage view on:  %7.1f ms wall, %7.1f ms CPU\n",
                paintOn.wall, paintOn.cpu);
    std::fflush(stdout);
    return 0;
}
