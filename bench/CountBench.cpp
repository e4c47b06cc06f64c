// Times the repeated-group count on a large steel drawing: one selected line that has 10,000
// similar lines among 200,000 entities (target: under 100 ms), and an L of two lines repeated
// 10,000 times where half of the copies lack their second line (so many shift searches fail).
// Prints wall and CPU time (user + system of this process) of the best of five runs.
//
//   bin/bench_CountBench [entity count] [similar count]

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>
#include <vector>

#include "cad/CadDrawing.h"
#include "cad/CadSelection.h"
#include "cad/GroupCounter.h"

using namespace quarrant;

namespace {

using Clock = std::chrono::steady_clock;

double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

template <typename Record>
Record* Add(CCadDrawing& drawing, int type) {
    CCadEntity entity = MakeEntity<Record>(type);
    entity.record->identifier = drawing.identifierCounter++;
    entity.record->layer = "STEEL";
    drawing.AddEntity(entity);
    return entity.As<Record>();
}

void AddLine(CCadDrawing& drawing, double x1, double y1, double x2, double y2) {
    auto* line = Add<CCadLine>(drawing, kCadLine);
    line->startX = x1;
    line->startY = y1;
    line->endX = x2;
    line->endY = y2;
}

// A drawing of about `total` entities: the selected occurrence and `similar` copies of a 1500-long
// horizontal member line (every second one with a 400-long vertical stiffener at its start: the L),
// and filler of lines of other lengths and slopes, arcs, circles, bulged polylines, inserts, solids
// and texts spread over a 200 m x 100 m sheet.
CCadDrawing MakeDrawing(int total, int similar, std::mt19937& random) {
    CCadDrawing drawing;
    std::uniform_real_distribution<double> x(0.0, 200000.0);
    std::uniform_real_distribution<double> y(0.0, 100000.0);
    std::uniform_real_distribution<double> length(20.0, 1400.0);
    std::uniform_real_distribution<double> angle(0.0, 6.283185307179586);
    std::uniform_int_distribution<int> kind(0, 19);

    // The selected occurrence comes first.
    AddLine(drawing, 0, 0, 1500, 0);
    AddLine(drawing, 0, 0, 0, 400);
    for (int i = 1; i <= similar; ++i) {
        const double px = (i % 200) * 1000.0;
        const double py = (i / 200) * 2000.0 + 500.0;
        AddLine(drawing, px, py, px + 1500, py);
        if (i % 2 == 0) {
            AddLine(drawing, px, py, px, py + 400);
        }
    }
    while (static_cast<int>(drawing.entities.size()) < total) {
        const double px = x(random), py = y(random);
        switch (kind(random)) {
            case 0: {
                auto* arc = Add<CCadArc>(drawing, kCadArc);
                arc->centerX = px;
                arc->centerY = py;
                arc->radius = length(random);
                arc->startAngle = 0;
                arc->endAngle = 90;
                break;
            }
            case 1: {
                auto* circle = Add<CCadCircle>(drawing, kCadCircle);
                circle->centerX = px;
                circle->centerY = py;
                circle->radius = 11;
                break;
            }
            case 2: {
                auto* polyline = Add<CCadPolyline>(drawing, kCadPolyline);
                polyline->vertexCount = 4;
                polyline->flags = 1;
                for (int v = 0; v < 4; ++v) {
                    CCadVertex vertex;
                    vertex.x = px + (v == 1 || v == 2 ? 300 : 0);
                    vertex.y = py + (v >= 2 ? 200 : 0);
                    vertex.hasBulge = v == 1 ? 1 : 0;
                    vertex.bulge = v == 1 ? 0.25 : 0.0;
                    polyline->vertices.push_back(vertex);
                }
                break;
            }
            case 3: {
                auto* insert = Add<CCadInsert>(drawing, kCadInsert);
                insert->blockName = "BOLT-M20";
                insert->insertX = px;
                insert->insertY = py;
                break;
            }
            case 4: {
                auto* solid = Add<CCadSolid>(drawing, kCadSolid);
                solid->x1 = px;
                solid->y1 = py;
                solid->x2 = px + 50;
                solid->y2 = py;
                solid->x3 = px;
                solid->y3 = py + 20;
                solid->x4 = px + 50;
                solid->y4 = py + 20;
                break;
            }
            case 5: {
                auto* text = Add<CCadText>(drawing, kCadText);
                text->text = "\xB8\xD6\xC1\xBA GL-1";  // 钢梁 GL-1
                text->insertX = px;
                text->insertY = py;
                text->height = 300;
                break;
            }
            default: {
                const double l = length(random);
                const double a = angle(random);
                AddLine(drawing, px, py, px + l * std::cos(a), py + l * std::sin(a));
                break;
            }
        }
    }
    return drawing;
}

struct Run {
    double wall = 1e9;
    double cpu = 1e9;
    int count = 0;
    std::size_t textBytes = 0;
};

Run TimeCount(const CCadDrawing& drawing, const std::vector<int>& selected, float coordinate,
              float angle) {
    CCadSelection selection;
    for (int id : selected) {
        selection.SelectById(drawing, id);
    }
    Run best;
    for (int round = 0; round < 5; ++round) {
        CExclusionMap exclusion;
        std::string text;
        const auto wallStart = Clock::now();
        const double cpuStart = CpuSeconds();
        const int count =
            CountRepeatedGroups(drawing, selection.Entities(), coordinate, angle, exclusion, text);
        const double wall = std::chrono::duration<double>(Clock::now() - wallStart).count();
        const double cpu = CpuSeconds() - cpuStart;
        best.wall = std::min(best.wall, wall);
        best.cpu = std::min(best.cpu, cpu);
        best.count = count;
        best.textBytes = text.size();
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    const int total = argc > 1 ? std::max(10, std::atoi(argv[1])) : 200000;
    const int similar = argc > 2 ? std::max(2, std::atoi(argv[2])) : 10000;
    std::mt19937 random(7);
    const auto buildStart = Clock::now();
    CCadDrawing drawing = MakeDrawing(total, similar, random);
    const double build = std::chrono::duration<double>(Clock::now() - buildStart).count();
    std::printf("drawing: %zu entities (built in %.2f s), %d similar member lines\n",
                drawing.entities.size(), build, similar);

    const Run line = TimeCount(drawing, {0}, 1.0f, 0.01f);
    std::printf(
        "count, one selected line:     %6.1f ms wall, %6.1f ms CPU  count %d, text %zu bytes"
        "  (target < 100 ms: %s)\n",
        line.wall * 1e3, line.cpu * 1e3, line.count, line.textBytes,
        line.wall < 0.1 ? "met" : "NOT met");
    const Run lShape = TimeCount(drawing, {0, 1}, 1.0f, 0.01f);
    std::printf(
        "count, L of two lines:        %6.1f ms wall, %6.1f ms CPU  count %d, text %zu bytes\n",
        lShape.wall * 1e3, lShape.cpu * 1e3, lShape.count, lShape.textBytes);
    return 0;
}
