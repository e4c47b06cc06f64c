#pragma once

// What the benchmarks measure with: wall-clock seconds, processor time of the whole process
// (on a shared machine the wall time also counts the time other programs had a core), and the
// resident and peak memory the kernel reports.

#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstddef>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/CNumbers.h"

namespace quarrant::bench {

using Clock = std::chrono::steady_clock;

inline double Seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Processor time of the whole process (all threads) in milliseconds.
inline double CpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

// A value of /proc/self/status in bytes (VmRSS, VmHWM), 0 when unknown.
inline std::size_t StatusBytes(const char* key) {
    std::ifstream in("/proc/self/status");
    std::string line;
    std::size_t keyLength = std::strlen(key);
    while (std::getline(in, line)) {
        if (line.compare(0, keyLength, key) == 0 && line.size() > keyLength &&
            line[keyLength] == ':') {
            return static_cast<std::size_t>(AtoiC(line.substr(keyLength + 1))) * 1024;
        }
    }
    return 0;
}

// Starts a new peak: VmHWM becomes the current resident size. False when the kernel refused.
inline bool ResetPeak() {
    std::ofstream out("/proc/self/clear_refs");
    out << "5";
    out.flush();
    return static_cast<bool>(out);
}

// The drawing sizes of a "--sizes N,N,..." argument; empty items are skipped.
inline std::vector<std::size_t> ParseSizes(const std::string& list) {
    std::vector<std::size_t> sizes;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t comma = list.find(',', start);
        std::string item =
            list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (!item.empty()) {
            sizes.push_back(static_cast<std::size_t>(AtofC(item)));
        }
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
    return sizes;
}

// The floor of reading a DXF file: the file read in the 1 MB chunks the reader uses, split into
// lines at LF, each line trimmed. Adds to checksum (so that nothing is optimised away) and
// counts the lines; false when the file cannot be opened.
inline bool ReadLinesInChunks(const std::string& path, std::size_t& checksum, std::size_t& lines) {
    int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) {
        return false;
    }
    const std::size_t capacity = std::size_t{1} << 20;
    std::unique_ptr<char[]> buffer(new char[capacity]);
    std::size_t used = 0;
    for (;;) {
        ssize_t n = ::read(fd, buffer.get() + used, capacity - used);
        if (n <= 0) {
            break;
        }
        used += static_cast<std::size_t>(n);
        const char* p = buffer.get();
        const char* end = p + used;
        for (;;) {
            const auto* lf = static_cast<const char*>(std::memchr(p, '\n', end - p));
            if (lf == nullptr) {
                break;
            }
            std::string_view line = TrimC(std::string_view(p, static_cast<std::size_t>(lf - p)));
            checksum += line.size() + (line.empty() ? 0 : static_cast<unsigned char>(line[0]));
            ++lines;
            p = lf + 1;
        }
        used = static_cast<std::size_t>(end - p);
        std::memmove(buffer.get(), p, used);
    }
    ::close(fd);
    return true;
}

}  // namespace quarrant::bench
