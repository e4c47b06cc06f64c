// The large-drawing path an estimator waits for, on generated steel drawings (R2000 DXF with
// many block references, dimensions with their blocks, texts, polylines, solids and hatches),
// of 100k and 1M entities by default. Printed in one run, per size, as the median of several
// runs (each in a process of its own, so that its peak memory is its own):
//
//   floor      a plain read of the DXF split into lines: the file read whole into a string
//              through the standard stream (istreambuf_iterator), then split at LF into
//              trimmed lines; the "fast floor" reads it in 1 MB chunks and splits each
//   import     `quarrant-cli import DXF OUT`: the whole add-drawing path (read, normalise,
//              duplicate removal, the drawing file written and read back)
//   add        LoadDxf and ProjectManager::AddDrawing, as the add-drawing dialog does
//   read       the drawing file read alone (a reload of the drawing)
//   start-up   the program started with the drawing in a project of PATH.ini: time to the
//              main window with the project tree, and until the drawing has been read
//
// Seconds, MB/s of the DXF (of the drawing file for the read), peak memory per DXF entity
// (highest resident memory over the resident memory before the step) and ratios to the
// floors. For the read, the peak is also given against the memory the loaded drawing keeps.
//
//   bin/bench_LargeDrawingBench [--sizes N,N,...] [--runs R] [--dir FOLDER]

#include <QApplication>
#include <QCoreApplication>
#include <QWidget>

#include <fcntl.h>
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "BenchMeasures.h"
#include "SteelDrawingGenerator.h"
#include "app/widgets/QuarrantApp.h"
#include "base/CNumbers.h"
#include "base/FileIO.h"
#include "base/MessageSink.h"
#include "cad/ColorTable.h"
#include "cad/DrawingFile.h"
#include "cad/LoadDxf.h"
#include "platform/ProgramFont.h"
#include "project/ProjectManager.h"

namespace {

using namespace quarrant::bench;

using namespace quarrant;

// What one measured step reports back from its process.
struct Figures {
    double seconds = 0.0;
    double peakBytes = 0.0;      // over the resident memory before the step
    double keptBytes = 0.0;      // resident after the step, over before (the loaded drawing)
    double secondSeconds = 0.0;  // start-up: until the drawing has been read
    double ok = 0.0;
};

// Runs the step in a child process and hands its figures back through a pipe.
Figures InChild(const std::function<Figures()>& step) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) {
        return {};
    }
    std::fflush(stdout);
    pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        Figures figures = step();
        ssize_t written = ::write(pipeEnds[1], &figures, sizeof figures);
        std::_Exit(written == static_cast<ssize_t>(sizeof figures) ? 0 : 1);
    }
    ::close(pipeEnds[1]);
    Figures figures;
    ssize_t read = ::read(pipeEnds[0], &figures, sizeof figures);
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (read != static_cast<ssize_t>(sizeof figures) || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        return {};
    }
    return figures;
}

// Measures a step within the current (child) process.
Figures Measure(const std::function<bool()>& step) {
    ::sync();
    malloc_trim(0);
    ResetPeak();
    std::size_t before = StatusBytes("VmRSS");
    auto start = Clock::now();
    bool ok = step();
    Figures figures;
    figures.seconds = Seconds(start);
    std::size_t peak = StatusBytes("VmHWM");
    std::size_t after = StatusBytes("VmRSS");
    figures.peakBytes = peak > before ? static_cast<double>(peak - before) : 0.0;
    figures.keptBytes = after > before ? static_cast<double>(after - before) : 0.0;
    figures.ok = ok ? 1.0 : 0.0;
    return figures;
}

// The floor: the file read whole into a string the plain way, then split at LF into lines,
// each trimmed. Accumulates a checksum so that nothing is optimised away.
bool PlainRead(const std::string& path, std::size_t& checksum) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string_view text = file;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = TrimC(text.substr(start, end - start));
        checksum += line.size() + (line.empty() ? 0 : static_cast<unsigned char>(line[0]));
        start = end + 1;
    }
    return true;
}

// The same in 1 MB chunks, as the DXF reader reads.
bool ChunkedRead(const std::string& path, std::size_t& checksum) {
    std::size_t lines = 0;
    return ReadLinesInChunks(path, checksum, lines);
}

// `quarrant-cli import` as a process of its own: wall time and its own peak (ru_maxrss).
Figures RunCliImport(const std::string& cli, const std::string& home, const std::string& dxf,
                     const std::string& out) {
    std::fflush(stdout);
    ::sync();  // earlier steps' files reach the disk first: the import's flush is its own
    auto start = Clock::now();
    pid_t child = ::fork();
    if (child == 0) {
        int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::execl(cli.c_str(), cli.c_str(), "import", "--home", home.c_str(), dxf.c_str(),
                out.c_str(), static_cast<char*>(nullptr));
        std::_Exit(127);
    }
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    Figures figures;
    figures.seconds = Seconds(start);
    figures.peakBytes = static_cast<double>(usage.ru_maxrss) * 1024.0;
    figures.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 1.0 : 0.0;
    return figures;
}

double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Step {
    std::vector<Figures> runs;
    bool Ok() const {
        return !runs.empty() &&
               std::all_of(runs.begin(), runs.end(), [](const Figures& f) { return f.ok != 0.0; });
    }
    double Seconds() const { return Pick(&Figures::seconds); }
    double Peak() const { return Pick(&Figures::peakBytes); }
    double Kept() const { return Pick(&Figures::keptBytes); }
    double Second() const { return Pick(&Figures::secondSeconds); }
    double Fastest() const {
        double best = 1e30;
        for (const Figures& f : runs) {
            best = std::min(best, f.seconds);
        }
        return best;
    }
    double Slowest() const {
        double worst = 0.0;
        for (const Figures& f : runs) {
            worst = std::max(worst, f.seconds);
        }
        return worst;
    }
    double Pick(double Figures::*field) const {
        std::vector<double> values;
        for (const Figures& f : runs) {
            values.push_back(f.*field);
        }
        return Median(values);
    }
};

struct Options {
    std::vector<std::size_t> sizes = {100000, 1000000};
    int runs = 3;
    std::string folder = "/tmp";
};

std::string LoadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string one, five;
    in >> one >> five;
    return one + " " + five;
}

// A program folder of its own: the colour table and the precisions of the build's.
bool LayOutHome(const std::string& programFolder, const std::string& home) {
    std::error_code ec;
    std::filesystem::create_directories(home, ec);
    for (const char* name : {"COLOR.ini", "Set.ini"}) {
        std::filesystem::copy_file(JoinPath(programFolder, name), JoinPath(home, name),
                                   std::filesystem::copy_options::overwrite_existing, ec);
        if (ec) {
            std::fprintf(stderr, "cannot copy %s from %s\n", name, programFolder.c_str());
            return false;
        }
    }
    return true;
}

int RunSize(std::size_t size, const Options& options, const std::string& programFolder) {
    const std::string work = options.folder + "/quarrant-large-" + std::to_string(::getpid()) +
                             "-" + std::to_string(size);
    const std::string home = JoinPath(work, "home");
    const std::string dxf = JoinPath(work, "steel.dxf");
    const std::string out = JoinPath(work, "steel.drw");
    if (!LayOutHome(programFolder, home)) {
        return 1;
    }
    bench::SteelDrawingGenerator generator(size);
    {
        std::FILE* file = std::fopen(dxf.c_str(), "wb");
        if (file == nullptr || !generator.Write(file)) {
            std::fprintf(stderr, "cannot write %s\n", dxf.c_str());
            return 1;
        }
        std::fclose(file);
    }
    const auto& stats = generator.GetStats();
    const double dxfMegabytes = static_cast<double>(stats.bytes) / 1e6;
    const double entities = static_cast<double>(stats.entities);

    Step plain, chunked, import, add, read, startUp;
    std::size_t checksum = 0;
    for (int run = 0; run < options.runs; ++run) {
        plain.runs.push_back(
            InChild([&] { return Measure([&] { return PlainRead(dxf, checksum); }); }));
        chunked.runs.push_back(
            InChild([&] { return Measure([&] { return ChunkedRead(dxf, checksum); }); }));
        import.runs.push_back(
            RunCliImport(JoinPath(programFolder, "quarrant-cli"), home, dxf, out));
    }

    // The add-drawing dialog's path into a project of its own; the last run's project is
    // saved for the start-up.
    const std::string projects = JoinPath(work, "projects");
    std::filesystem::create_directories(projects);
    for (int run = 0; run < options.runs; ++run) {
        const bool keep = run + 1 == options.runs;
        add.runs.push_back(InChild([&] {
            MessageList messages;
            ProjectManager manager(messages);
            manager.SetProgramFolder(home);
            auto colors = LoadColorTable(home).ValueOr(nullptr);
            manager.SetColorTable(colors);
            const std::string name = "P" + std::to_string(run);
            static_cast<void>(MakeProjectFolder(projects, name));
            Project* project = manager.CreateProject(projects, name, kStructuralProjectType);
            Figures figures = Measure([&] {
                auto imported = std::make_unique<CCadFile>();
                if (!LoadDxf(*imported, dxf, colors, 1.0)) {
                    return false;
                }
                return manager.AddDrawing(*project, "steel", "mm", "1:1", std::move(imported)) !=
                       nullptr;
            });
            if (keep && !manager.SaveProject(*project)) {
                figures.ok = 0.0;
            }
            return figures;
        }));
    }
    const std::string projectFolder = JoinPath(projects, "P" + std::to_string(options.runs - 1));
    const std::string drawingFile = JoinPath(projectFolder, "YZN1");
    std::error_code ec;
    const double drawingMegabytes =
        static_cast<double>(std::filesystem::file_size(drawingFile, ec)) / 1e6;

    for (int run = 0; run < options.runs; ++run) {
        read.runs.push_back(InChild([&] {
            auto colors = LoadColorTable(home).ValueOr(nullptr);
            std::unique_ptr<CCadDrawing> drawing;
            return Measure([&] {
                Result<std::unique_ptr<FileSource>> source = FileSource::Open(drawingFile);
                if (!source) {
                    return false;
                }
                drawing = std::make_unique<CCadDrawing>(colors);
                return ReadDrawingFile(*drawing, *source.Value(), drawingFile).Ok();
            });
        }));
    }

    // Start-up with the project listed in PATH.ini of the program folder.
    {
        std::ofstream pathList(JoinPath(home, "PATH.ini"), std::ios::binary | std::ios::trunc);
        pathList << projectFolder << "\r\n";
    }
    for (int run = 0; run < options.runs; ++run) {
        startUp.runs.push_back(InChild([&] {
            Figures figures;
            auto start = Clock::now();
            int argc = 1;
            char name[] = "bench";
            char* argv[] = {name, nullptr};
            QApplication application(argc, argv);
            std::setlocale(LC_NUMERIC, "C");
            ApplyProgramFont();
            CQuarrantApp app;
            bool started = app.InitInstance(home, true);
            QCoreApplication::processEvents();
            figures.seconds = Seconds(start);
            while (started && !app.Manager().ReadProgress().Finished()) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            }
            app.Manager().FinishBackgroundReading();
            figures.secondSeconds = Seconds(start);
            bool loaded = started && app.Manager().projects.size() == 1 &&
                          app.Manager().projects[0]->drawings.size() == 1 &&
                          app.Manager().projects[0]->drawings[0]->IsRead() &&
                          app.MainWindow()->isVisible();
            figures.ok = loaded ? 1.0 : 0.0;
            return figures;
        }));
    }
    std::filesystem::remove_all(work, ec);

    const double floor = plain.Seconds();
    const double fastFloor = chunked.Seconds();
    auto line = [&](const char* what, const Step& step, double megabytes, const char* note) {
        std::printf(
            "  %-22s %7.3f s  (%.3f-%.3f) %8.1f MB/s %8.0f B/ent  %5.2fx floor %6.2fx fast%s%s\n",
            what, step.Seconds(), step.Fastest(), step.Slowest(), megabytes / step.Seconds(),
            step.Peak() / entities, step.Seconds() / floor, step.Seconds() / fastFloor, note,
            step.Ok() ? "" : "  FAILED");
    };
    std::printf(
        "\n%zu entities in the DXF (%zu in blocks, %zu duplicates): %.1f MB; drawing file "
        "%.1f MB; load %s\n",
        stats.entities, stats.blockEntities, stats.duplicates, dxfMegabytes, drawingMegabytes,
        LoadAverage().c_str());
    line("floor (plain read)", plain, dxfMegabytes, "");
    line("fast floor (chunks)", chunked, dxfMegabytes, "");
    line("import (quarrant-cli)", import, dxfMegabytes, "  [peak: whole process]");
    line("add drawing", add, dxfMegabytes, "");
    line("read drawing file", read, drawingMegabytes, "");
    std::printf(
        "  %-22s %7s    loaded drawing keeps %.0f B/ent; read peak = %.2fx the loaded "
        "drawing\n",
        "", "", read.Kept() / entities, read.Peak() / std::max(1.0, read.Kept()));
    std::printf(
        "  %-22s %7.3f s  (%.3f-%.3f) to the main window with the project tree; the "
        "drawing read after %.3f s%s\n",
        "start-up", startUp.Seconds(), startUp.Fastest(), startUp.Slowest(), startUp.Second(),
        startUp.Ok() ? "" : "  FAILED");
    (void)checksum;
    return plain.Ok() && chunked.Ok() && import.Ok() && add.Ok() && read.Ok() && startUp.Ok() ? 0
                                                                                              : 1;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--sizes" && i + 1 < argc) {
            options.sizes = ParseSizes(argv[++i]);
        } else if (arg == "--runs" && i + 1 < argc) {
            options.runs = std::max(1, AtoiC(argv[++i]));
        } else if (arg == "--dir" && i + 1 < argc) {
            options.folder = argv[++i];
        } else {
            std::fprintf(stderr, "usage: %s [--sizes N,N,...] [--runs R] [--dir FOLDER]\n",
                         argv[0]);
            return 2;
        }
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const std::string programFolder = ExecutableFolder();
    std::printf(
        "Large drawings: the add-drawing path, the drawing file and start-up; median of %d "
        "runs (fastest-slowest)\n",
        options.runs);
    std::printf(
        "  peak B/ent: highest resident memory of the step over the memory before it, per "
        "DXF entity\n");
    int status = 0;
    for (std::size_t size : options.sizes) {
        status |= RunSize(size, options, programFolder);
    }
    return status;
}
