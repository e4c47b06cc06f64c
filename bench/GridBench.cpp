// Grid of N rows x 13 columns (N = 1,000, 10,000, 100,000): filling the model off-screen (as
// the row views' and reports' workers do), handing it to the widget, and painting one viewport
// into an image at the top, the middle and the end of the grid. Painting draws only the cells
// in view, so its time must not grow with N. Targets: under 5 ms a viewport; 100,000 rows
// filled in under 0.5 s.
//
//   bin/bench_GridBench            (runs on the offscreen platform unless told otherwise)
//   bin/bench_GridBench --paint-only   (paints one viewport 500 times, for a profiler)

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScrollBar>

#include <time.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "BenchMeasures.h"
#include "controls/widgets/GridCtrl.h"

using namespace quarrant;

namespace {

using namespace quarrant::bench;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Timing {
    double wall = 0;
    double cpu = 0;
};

// One row of a quantity view: number, name, axis, the six sizes, unit, weight, material and
// quantity, some of them Chinese (GBK).
void FillRows(GridModel& model, int rows) {
    model.SetColumnCount(13);
    model.SetRowCount(1);
    model.SetFixedRowCount(1);
    model.SetFixedColumnCount(1);
    model.SetRowHeight(0, 35);
    const char* const headings[13] = {"No.",
                                      "\xCF\xEE\xC4\xBF\xC3\xFB\xB3\xC6",  // 项目名称
                                      "\xB2\xBF\xCE\xBB",                  // 部位
                                      "Count",
                                      "L",
                                      "W",
                                      "H",
                                      "Area",
                                      "Volume",
                                      "\xB5\xA5\xCE\xBB",  // 单位
                                      "Weight",
                                      "\xB2\xC4\xC1\xCF",           // 材料
                                      "\xB9\xA4\xB3\xCC\xC1\xBF"};  // 工程量
    for (int col = 0; col < 13; ++col) {
        model.SetItemText(0, col, headings[col]);
    }
    std::string text;
    for (int i = 0; i < rows; ++i) {
        const int row = model.InsertRow("", -1);
        model.SetRowHeight(row, 25);
        model.SetRowData(row, i + 1);
        model.SetItemText(row, 0, std::to_string(i + 1));
        model.SetItemText(row, 1, "\xB8\xD6\xC1\xBA GL-" + std::to_string(i % 97));  // 钢梁
        model.SetItemText(row, 2, "A-" + std::to_string(i % 13));
        model.SetItemText(row, 3, std::to_string(1 + i % 9));
        model.SetItemText(row, 4, "6.000");
        model.SetItemText(row, 5, "0.300");
        model.SetItemText(row, 6, "0.500");
        model.SetItemText(row, 7, "1.800");
        model.SetItemText(row, 8, "0.900");
        model.SetItemText(row, 9, "t");
        model.SetItemText(row, 10, "78.500");
        model.SetItemText(row, 11, "Q345B H300*150*6.5*9");
        model.SetItemText(row, 12, std::to_string(i % 1000) + ".125");
    }
}

// Median time of painting the viewport at each of the scroll positions.
Timing PaintViewports(CGridCtrl& grid, QImage& image, const std::vector<int>& positions) {
    std::vector<double> wall;
    std::vector<double> cpu;
    for (int position : positions) {
        grid.SetScrollPos32(1, position);
        QPainter painter(&image);
        const double cpuStart = CpuMilliseconds();
        const Clock::time_point start = Clock::now();
        grid.DrawGrid(painter, image.rect());
        painter.end();
        wall.push_back(MillisecondsSince(start));
        cpu.push_back(CpuMilliseconds() - cpuStart);
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    return Timing{wall[wall.size() / 2], cpu[cpu.size() / 2]};
}

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication application(argc, argv);
    CGridCtrl grid(0, 0, 0, 0);
    grid.resize(1000, 700);
    grid.show();
    QImage image(grid.viewport()->size(), QImage::Format_RGB32);
    if (argc > 1 && std::string(argv[1]) == "--paint-only") {
        // For a profiler: one grid of 10,000 rows painted many times.
        std::unique_ptr<GridModel> model = grid.NewModel();
        FillRows(*model, 10000);
        grid.SetModel(std::move(model));
        const Timing timing = PaintViewports(grid, image, std::vector<int>(500, 5000));
        std::printf("%.2f ms a viewport\n", timing.wall);
        return 0;
    }
    std::printf(
        "Grid of N rows x 13 columns, viewport %dx%d pixels; times in ms, wall clock "
        "(processor time in brackets)\n",
        image.width(), image.height());
    std::printf("  fill: a worker fills the model; hand: SetModel; first: first paint after it\n");
    std::printf("  repaint: the same viewport again (median of 30); scroll: 30 viewports a page\n");
    std::printf("  apart from the middle on (median), texts not yet laid out\n");
    std::printf("%8s %18s %8s %8s %18s %18s\n", "rows", "fill", "hand", "first", "repaint",
                "scroll");
    for (int rows : {1000, 10000, 100000}) {
        // The worker fills a model of the grid's settings off the interface thread.
        std::unique_ptr<GridModel> model = grid.NewModel();
        const double fillCpuStart = CpuMilliseconds();
        Clock::time_point start = Clock::now();
        std::thread worker([&model, rows] { FillRows(*model, rows); });
        worker.join();
        const double fill = MillisecondsSince(start);
        const double fillCpu = CpuMilliseconds() - fillCpuStart;

        start = Clock::now();
        std::unique_ptr<GridModel> old = grid.SetModel(std::move(model));
        const double hand = MillisecondsSince(start);
        old.reset();

        // The first paint after a hand-over also builds the row positions.
        start = Clock::now();
        {
            QPainter painter(&image);
            grid.DrawGrid(painter, image.rect());
        }
        const double first = MillisecondsSince(start);

        const int maximum = grid.verticalScrollBar()->maximum();
        const int page = grid.verticalScrollBar()->pageStep();
        const Timing repaint = PaintViewports(grid, image, std::vector<int>(30, maximum / 2));
        std::vector<int> positions;
        for (int k = 1; k <= 30; ++k) {
            positions.push_back(std::min(maximum, maximum / 2 + k * page));
        }
        const Timing scroll = PaintViewports(grid, image, positions);
        std::printf("%8d %9.1f (%6.1f) %8.3f %8.2f %9.2f (%5.2f) %9.2f (%5.2f)\n", rows, fill,
                    fillCpu, hand, first, repaint.wall, repaint.cpu, scroll.wall, scroll.cpu);
    }
    const CCellRange visible = grid.GetVisibleNonFixedCellRange();
    std::printf("cells in view: %d rows x %d columns (plus the fixed row and column)\n",
                visible.GetRowSpan(), visible.GetColSpan());
    return 0;
}
