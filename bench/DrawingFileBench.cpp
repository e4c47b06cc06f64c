// Writes and reads a drawing file of 1,000,000 LINEs: to bytes, to a file and back. Target:
// each direction under a second. Besides wall time it prints the CPU time of each step
// (user + system, this process only), which stays meaningful on a machine shared with other
// work.
//
//   bin/bench_DrawingFileBench [entity count]

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "base/FileIO.h"
#include "cad/CadDrawing.h"
#include "cad/DrawingFile.h"

using namespace quarrant;

namespace {

using Clock = std::chrono::steady_clock;

double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Wall and CPU time of one step.
struct Timing {
    double wall = 0.0;
    double cpu = 0.0;
};

class Stopwatch {
public:
    Stopwatch() : m_wall(Clock::now()), m_cpu(CpuSeconds()) {}
    Timing Elapsed() const {
        return {std::chrono::duration<double>(Clock::now() - m_wall).count(), CpuSeconds() - m_cpu};
    }

private:
    Clock::time_point m_wall;
    double m_cpu;
};

Timing operator+(Timing a, Timing b) {
    return {a.wall + b.wall, a.cpu + b.cpu};
}

void Report(const char* what, Timing t, std::size_t bytes) {
    std::printf("%-34s wall %7.3f s  %7.1f MB/s   cpu %7.3f s  %7.1f MB/s\n", what, t.wall,
                static_cast<double>(bytes) / 1e6 / t.wall, t.cpu,
                static_cast<double>(bytes) / 1e6 / t.cpu);
}

// A steel plan: a grid of beams and columns, 0.1 mm coordinates in a 120 m x 80 m drawing.
CCadDrawing BuildDrawing(int count) {
    CCadDrawing drawing;
    drawing.minX = 0.0;
    drawing.minY = 0.0;
    drawing.maxX = 120000.0;
    drawing.maxY = 80000.0;
    drawing.entities.reserve(static_cast<std::size_t>(count));
    unsigned seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % 1200000u;
    };
    for (int i = 0; i < count; ++i) {
        CCadEntity entity = MakeEntity<CCadLine>(kCadLine);
        auto* line = entity.As<CCadLine>();
        line->identifier = i;
        line->layer = i % 3 == 0 ? "0" : "BEAM";
        line->colorNumber = i % 3 == 0 ? 7 : 1;
        line->color = i % 3 == 0 ? CCadColor{255, 255, 255} : CCadColor{255, 0, 0};
        line->lineWeight = i % 5 == 0 ? 0.35 : 0.0;
        line->marked = i % 17 == 0 ? 1 : 0;
        line->startX = next() / 10.0;
        line->startY = next() / 15.0;
        line->endX = line->startX + (i % 2 == 0 ? 6000.0 : 0.0);
        line->endY = line->startY + (i % 2 == 0 ? 0.0 : 4500.5);
        drawing.AddEntity(std::move(entity));
    }
    return drawing;
}

}  // namespace

int main(int argc, char** argv) {
    int count = argc > 1 ? std::atoi(argv[1]) : 1000000;
    if (count <= 0) {
        count = 1000000;
    }
    const std::string path = "/tmp/quarrant-bench-drawing.drw";

    Stopwatch build;
    CCadDrawing drawing = BuildDrawing(count);
    std::printf("built %d LINEs in %.3f s\n", count, build.Elapsed().wall);

    Stopwatch encode;
    std::string bytes = WriteDrawingFile(drawing);
    Timing writeBytes = encode.Elapsed();

    Stopwatch save;
    if (Status written = WriteFileAtomically(path, bytes); !written) {
        std::fprintf(stderr, "%s\n", written.Message().c_str());
        return 1;
    }
    Timing writeFile = save.Elapsed();

    Stopwatch load;
    Result<std::string> file = ReadWholeFile(path);
    Timing readFile = load.Elapsed();
    if (!file || file.Value() != bytes) {
        std::fprintf(stderr, "file read back differs\n");
        return 1;
    }

    Stopwatch decode;
    CCadDrawing reloaded;
    bool ok = ReadDrawingFile(reloaded, file.Value()).Ok();
    Timing readBytes = decode.Elapsed();
    if (!ok || reloaded.entities.size() != drawing.entities.size() ||
        reloaded.identifierMap.size() != drawing.entities.size()) {
        std::fprintf(stderr, "decoding failed\n");
        return 1;
    }

    std::printf("file size %zu bytes (%.1f MB), %.1f bytes per LINE\n", bytes.size(),
                static_cast<double>(bytes.size()) / 1e6, static_cast<double>(bytes.size()) / count);
    Report("write: encode to bytes", writeBytes, bytes.size());
    Report("write: file (atomic, fsync)", writeFile, bytes.size());
    Report("write: total", writeBytes + writeFile, bytes.size());
    Report("read: whole file", readFile, bytes.size());
    Report("read: decode (ReadDrawingFile)", readBytes, bytes.size());
    Report("read: total", readFile + readBytes, bytes.size());

    // The share of the identifier map in decoding: the same entity array without the map.
    Stopwatch mapOnly;
    CCadIdentifierMap map;
    for (const CCadEntity& entity : reloaded.entities) {
        map.SetAt(entity.record->identifier, entity);
    }
    Report("read: identifier map alone", mapOnly.Elapsed(), bytes.size());

    std::remove(path.c_str());
    return 0;
}
