// Reports of a project of 100,000 rows (10,000 structures of nine component rows each):
// building each of the three tables off-screen and handing it to the grid (target: under 1 s
// each), laying out and paginating the detail table's preview (about 100,000 grid rows; under
// 2 s), and exporting the detail table to .xlsx (under 2 s). Prints wall-clock and processor
// times: on a shared machine the wall-clock time also counts other programs.
//
//   bin/bench_ReportBench [structures]     (runs on the offscreen platform unless told otherwise)

#include <QApplication>

#include <time.h>
#include <unistd.h>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "BenchMeasures.h"
#include "base/FileIO.h"
#include "base/GbkText.h"
#include "controls/widgets/GridCtrl.h"
#include "platform/ProgramFont.h"
#include "project/Project.h"
#include "reports/PageLayout.h"
#include "reports/ReportBuilder.h"
#include "reports/ReportExport.h"
#include "reports/widgets/ReportPages.h"

using namespace quarrant;

namespace {

using namespace quarrant::bench;

struct Stopwatch {
    Clock::time_point wall = Clock::now();
    double cpu = CpuMilliseconds();
    void Print(const char* what, double target) const {
        const double wallMs =
            std::chrono::duration<double, std::milli>(Clock::now() - wall).count();
        std::printf("%-44s %8.1f ms wall %8.1f ms cpu   (target < %.0f ms)\n", what, wallMs,
                    CpuMilliseconds() - cpu, target);
    }
};

std::string G(const char* utf8) {
    return Utf8ToGbk(utf8);
}

// Structures of 200 kinds with nine component rows each, of 60 materials: formulas with notes
// as the data-entry page writes them.
void FillProject(Project& project, int structures) {
    QuantityTable& table = project.dataTable;
    const std::string beam = G("钢梁GL-");
    const std::string axis = G("轴");
    const std::string materials[3] = {G("Q345 H型钢HN"), G("Q235 角钢∠"), G("Q235 钢板-")};
    for (int s = 0; s < structures; ++s) {
        auto row = std::make_shared<QuantityRow>();
        row->identifier = table.NewRowIdentifier();
        row->itemName = beam + std::to_string(s % 200 + 1);
        row->partOrAxis = std::to_string(s % 30 + 1) + axis;
        row->count = std::to_string(s % 7 + 1);
        row->unit = "t";
        row->quantity = std::to_string(s % 7 + 1) + "*1.2" + std::to_string(s % 10) + "=" +
                        std::to_string((s % 7 + 1) * 1.2);
        QuantityRow* parent = row.get();
        for (int c = 0; c < 9; ++c) {
            auto child = std::make_shared<QuantityRow>();
            child->identifier = table.NewRowIdentifier();
            child->parent = parent;
            child->itemName = parent->itemName;
            child->material = materials[c % 3] + std::to_string(100 + (s + c) % 20 * 25);
            child->count = "2";
            child->length = std::to_string(6 + c % 4) + ".25";
            child->unit = "kg";
            child->unitWeight = "7.85";
            child->quantity = "2*" + child->length + "*7.85<" + G("单重") + ">";
            const std::int32_t id = child->identifier;
            parent->children.SetAt(id, std::move(child));
        }
        const std::int32_t id = row->identifier;
        table.rows.SetAt(id, std::move(row));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ApplyProgramFont();
    const int structures = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;

    Project project;
    project.projectName = G("基准工程");
    FillProject(project, structures);
    std::printf("%d structures, %d rows\n", structures, structures * 10);

    CGridCtrl grid;
    grid.resize(1200, 800);
    std::atomic<int> total{0};
    std::atomic<int> done{0};
    ProgressSteps progress(total, done);
    const struct {
        ReportKind kind;
        const char* label;
    } kinds[] = {{ReportKind::kSummary, "summary: build and hand to the grid"},
                 {ReportKind::kDetail, "detail: build and hand to the grid"},
                 {ReportKind::kMaterial, "material: build and hand to the grid"}};
    std::unique_ptr<GridModel> detail;
    for (const auto& entry : kinds) {
        ReportBuilder builder(project.dataTable, entry.kind);
        total = builder.ProgressTotal();
        done = 0;
        Stopwatch watch;
        std::unique_ptr<GridModel> model = grid.NewModel();
        builder.InitialBuild(*model, progress);
        grid.SetModel(std::move(model));
        watch.Print(entry.label, 1000);
        std::printf("%44s %8d grid rows\n", "", grid.GetRowCount());
        if (entry.kind == ReportKind::kDetail) {
            detail = grid.SetModel(nullptr);
        }
    }

    PrinterMetrics a4;  // A4 portrait on a 600 dpi printer, 5 mm margins
    a4.printableWidthMm = 200;
    a4.printableHeightMm = 287;
    a4.printableHeightPx = 6780;
    a4.screenDpiX = ScreenDpiX();
    a4.screenDpiY = ScreenDpiY();
    const PageGeometry geometry = ComputePageGeometry(a4);
    {
        Stopwatch watch;
        PageLayout layout;
        EnsurePageLayout(layout, *detail, geometry);
        watch.Print("detail: preview layout and pages", 2000);
        std::printf("%44s %8d pages\n", "", layout.PageCount());
    }
    {
        const std::filesystem::path file =
            std::filesystem::temp_directory_path() /
            ("quarrant-bench-" + std::to_string(::getpid()) + ".xlsx");
        Stopwatch watch;
        Status written = WriteReportXlsx(*detail, G("工程量计算明细表"), ModelPath(file));
        watch.Print("detail: export to .xlsx", 2000);
        std::error_code ec;
        std::printf("%44s %8.1f MB%s\n", "", std::filesystem::file_size(file, ec) / 1e6,
                    written ? "" : " (failed)");
        std::filesystem::remove(file, ec);
    }
    return 0;
}
