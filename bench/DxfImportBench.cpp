// DXF import speed and memory on generated steel drawings of 10k and 100k entities (and 1M
// with --full): import seconds (read, normalise, duplicate removal) and MB/s, the floor (a
// plain read of the same file split into trimmed lines) measured in the same run, their ratio,
// and the peak memory per entity. Each size runs in its own child process so that its peak
// resident memory is its own.
//
//   bin/bench_DxfImportBench [--full] [--sizes N,N,...] [--precision P] [--dir FOLDER]

#include <fcntl.h>
#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "BenchMeasures.h"
#include "SteelDrawingGenerator.h"
#include "base/CNumbers.h"
#include "cad/CadDrawing.h"
#include "cad/LoadDxf.h"

namespace {

using namespace quarrant::bench;

using namespace quarrant;

// The floor: the file read in the same chunks the reader uses, split into lines at LF, each
// line trimmed. Returns a checksum so that nothing is optimised away.
std::size_t Floor(const std::string& path, std::size_t& lines) {
    std::size_t sum = 0;
    lines = 0;
    ReadLinesInChunks(path, sum, lines);
    return sum;
}

std::shared_ptr<const CCadColorTable> Colors() {
    auto table = std::make_shared<CCadColorTable>();
    const int rgb[][4] = {{1, 255, 0, 0},     {2, 255, 255, 0},   {3, 0, 255, 0},
                          {4, 0, 255, 255},   {5, 0, 0, 255},     {6, 255, 0, 255},
                          {7, 255, 255, 255}, {8, 128, 128, 128}, {9, 192, 192, 192}};
    for (const auto& c : rgb) {
        table->SetAt(c[0], CCadColor{c[1], c[2], c[3]});
    }
    return table;
}

// What one allocation of n bytes takes from the heap (glibc: 8-byte header, 16-byte steps).
std::size_t Chunk(std::size_t n) {
    std::size_t with = n + 8;
    return with < 32 ? 32 : (with + 15) / 16 * 16;
}

// An estimate of the model's memory by kind, for the report.
void PrintBreakdown(const CCadDrawing& drawing, std::size_t fileEntities) {
    struct Row {
        std::size_t count = 0;
        std::size_t bytes = 0;
    };
    std::map<std::string, Row> rows;
    auto record = [&](const char* kind, std::size_t size) {
        rows[kind].count++;
        rows[kind].bytes += Chunk(size + 16);  // make_shared: control block and record
    };
    auto strings = [&](const CCadRecord& r) {
        std::size_t bytes = 0;
        for (const std::string* s : {&r.layer, &r.lineType}) {
            if (s->capacity() > 15) {
                bytes += Chunk(s->capacity() + 1);
            }
        }
        rows["strings on the heap"].bytes += bytes;
    };
    std::function<void(const CCadEntity&, bool)> visit = [&](const CCadEntity& e, bool top) {
        strings(*e.record);
        switch (e.type) {
            case kCadLine:
                record(top ? "LINE" : "LINE (in blocks)", sizeof(CCadLine));
                break;
            case kCadArc:
                record(top ? "ARC" : "ARC (in blocks)", sizeof(CCadArc));
                break;
            case kCadCircle:
                record(top ? "CIRCLE" : "CIRCLE (in blocks)", sizeof(CCadCircle));
                break;
            case kCadEllipse:
                record("ELLIPSE", sizeof(CCadEllipse));
                break;
            case kCadPolyline: {
                auto* p = e.As<CCadPolyline>();
                record(top ? "LWPOLYLINE" : "LWPOLYLINE (in blocks)", sizeof(CCadPolyline));
                rows["polyline vertices"].count += p->vertices.size();
                if (p->vertices.capacity() > 0) {
                    rows["polyline vertices"].bytes +=
                        Chunk(p->vertices.capacity() * sizeof(CCadVertex));
                }
                break;
            }
            case kCadDimension: {
                auto* d = e.As<CCadDimension>();
                record("DIMENSION", sizeof(CCadDimension));
                for (const std::string* s :
                     {&d->measurement, &d->textHeight, &d->textOverride, &d->blockName}) {
                    if (s->capacity() > 15) {
                        rows["strings on the heap"].bytes += Chunk(s->capacity() + 1);
                    }
                }
                break;
            }
            case kCadText: {
                auto* t = e.As<CCadText>();
                record("TEXT", sizeof(CCadText));
                if (t->text.capacity() > 15) {
                    rows["strings on the heap"].bytes += Chunk(t->text.capacity() + 1);
                }
                break;
            }
            case kCadMText: {
                auto* t = e.As<CCadMText>();
                record("MTEXT", sizeof(CCadMText));
                if (t->text.capacity() > 15) {
                    rows["strings on the heap"].bytes += Chunk(t->text.capacity() + 1);
                }
                break;
            }
            case kCadInsert: {
                auto* i = e.As<CCadInsert>();
                record("INSERT", sizeof(CCadInsert));
                rows["INSERT lists (shared pointers)"].count += i->entities.size();
                if (i->entities.capacity() > 0) {
                    rows["INSERT lists (shared pointers)"].bytes +=
                        Chunk(i->entities.capacity() * sizeof(CCadEntity));
                }
                break;
            }
            case kCadSolid:
                record(top ? "SOLID" : "SOLID (in blocks)", sizeof(CCadSolid));
                break;
            default:
                break;
        }
    };
    for (const CCadEntity& e : drawing.entities) {
        visit(e, true);
    }
    rows["entity array"].count = drawing.entities.size();
    rows["entity array"].bytes = drawing.entities.size() * sizeof(CCadEntity);
    for (auto entry : drawing.blockTable) {
        rows["blocks (table node, block, list)"].count++;
        rows["blocks (table node, block, list)"].bytes +=
            Chunk(sizeof(CCadBlock) + 16) + 120 +
            Chunk(entry.value->entities.capacity() * sizeof(CCadEntity));
        for (const CCadEntity& e : entry.value->entities) {
            visit(e, false);
        }
    }
    std::size_t total = 0;
    std::printf("  memory by kind after the import (estimated allocations; per file entity):\n");
    for (const auto& [kind, row] : rows) {
        std::printf("    %-34s %9zu  %8.1f MB  %6.1f B/entity\n", kind.c_str(), row.count,
                    static_cast<double>(row.bytes) / 1e6,
                    static_cast<double>(row.bytes) / static_cast<double>(fileEntities));
        total += row.bytes;
    }
    std::printf("    %-34s %9s  %8.1f MB  %6.1f B/entity\n", "total", "",
                static_cast<double>(total) / 1e6,
                static_cast<double>(total) / static_cast<double>(fileEntities));
}

struct Options {
    std::vector<std::size_t> sizes = {10000, 100000};
    double precision = 1.0;
    std::string folder = "/tmp";
    bool breakdown = false;
};

int RunSize(std::size_t size, const Options& options) {
    std::string path = options.folder + "/quarrant-bench-steel-" + std::to_string(size) + "-" +
                       std::to_string(::getpid()) + ".dxf";
    bench::SteelDrawingGenerator generator(size);
    {
        std::FILE* out = std::fopen(path.c_str(), "wb");
        if (out == nullptr || !generator.Write(out)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
        std::fclose(out);
    }
    const auto& stats = generator.GetStats();
    double megabytes = static_cast<double>(stats.bytes) / 1e6;

    // The floor and the import, each twice; the faster run counts (the file is in the page
    // cache for both).
    double floorSeconds = 1e30;
    std::size_t lines = 0;
    std::size_t checksum = 0;
    for (int run = 0; run < 2; ++run) {
        auto start = Clock::now();
        checksum += Floor(path, lines);
        floorSeconds = std::min(floorSeconds, Seconds(start));
    }

    auto colors = Colors();
    double importSeconds = 1e30;
    std::size_t peak = 0;
    std::size_t kept = 0;
    std::size_t resident = 0;
    std::size_t heapInUse = 0;
    for (int run = 0; run < 2; ++run) {
        malloc_trim(0);
        bool peakReset = ResetPeak();
        std::size_t before = StatusBytes("VmRSS");
        struct mallinfo2 heapBefore = mallinfo2();
        CCadFile file;
        auto start = Clock::now();
        Status result = LoadDxf(file, path, colors, options.precision);
        double seconds = Seconds(start);
        if (!result) {
            std::fprintf(stderr, "import of %s failed\n", path.c_str());
            std::remove(path.c_str());
            return 1;
        }
        importSeconds = std::min(importSeconds, seconds);
        if (run == 0) {
            std::size_t hwm = StatusBytes("VmHWM");
            peak = peakReset && hwm > before ? hwm - before : 0;
            std::size_t after = StatusBytes("VmRSS");
            resident = after > before ? after - before : 0;
            struct mallinfo2 heapAfter = mallinfo2();
            heapInUse =
                (heapAfter.uordblks + heapAfter.hblkhd) - (heapBefore.uordblks + heapBefore.hblkhd);
            kept = file.drawing->entities.size();
            if (options.breakdown) {
                PrintBreakdown(*file.drawing, stats.entities);
            }
        }
    }
    std::remove(path.c_str());

    double perEntity = static_cast<double>(peak) / static_cast<double>(stats.entities);
    std::printf("%9zu %9.1f %9.3f %8.1f %9.3f %8.1f %7.2fx %10.1f %10.1f %11.1f %9zu %8zu %10zu\n",
                stats.entities, megabytes, importSeconds, megabytes / importSeconds, floorSeconds,
                megabytes / floorSeconds, importSeconds / floorSeconds, perEntity,
                static_cast<double>(resident) / static_cast<double>(stats.entities),
                static_cast<double>(heapInUse) / static_cast<double>(stats.entities), kept,
                stats.duplicates, stats.blockEntities);
    std::fflush(stdout);
    (void)checksum;
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--full") {
            options.sizes = {10000, 100000, 1000000};
        } else if (arg == "--sizes" && i + 1 < argc) {
            options.sizes = ParseSizes(argv[++i]);
        } else if (arg == "--precision" && i + 1 < argc) {
            options.precision = AtofC(argv[++i]);
        } else if (arg == "--dir" && i + 1 < argc) {
            options.folder = argv[++i];
        } else if (arg == "--breakdown") {
            options.breakdown = true;
        } else {
            std::fprintf(stderr,
                         "usage: %s [--full] [--sizes N,N,...] [--precision P] [--dir FOLDER] "
                         "[--breakdown]\n",
                         argv[0]);
            return 2;
        }
    }
    std::printf("DXF import of generated steel drawings (R2000), precision %g; best of 2 runs\n",
                options.precision);

    std::printf(
        "  import: LoadDxf (read, normalise, duplicate removal); floor: the same file read in 1 "
        "MB\n"
        "  chunks and split into trimmed lines; ratio = import / floor. Per file entity: peak =\n"
        "  highest resident memory during the import over the resident memory before it; RSS =\n"
        "  resident after it; allocated = malloc'd bytes, including entity-array room reserved\n"
        "  but never touched (no memory until used).\n");
    std::printf("%9s %9s %9s %8s %9s %8s %8s %10s %10s %11s %9s %8s %10s\n", "entities", "file MB",
                "import s", "MB/s", "floor s", "MB/s", "ratio", "peak B/ent", "RSS B/ent",
                "alloc B/ent", "kept", "dups", "in blocks");
    int status = 0;
    for (std::size_t size : options.sizes) {
        std::fflush(stdout);
        pid_t child = ::fork();
        if (child == 0) {
            std::_Exit(RunSize(size, options));
        }
        int childStatus = 0;
        ::waitpid(child, &childStatus, 0);
        if (!WIFEXITED(childStatus) || WEXITSTATUS(childStatus) != 0) {
            status = 1;
        }
    }
    return status;
}
