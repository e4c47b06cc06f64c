#pragma once

// What the benchmarks measure with: wall-clock seconds, processor time of the whole process
// (on a shared machine the wall time also counts the time other programs had a core), and the
// resident and peak memory the kernel reports.

#include <time.h>

#include <chrono>
#include <cstddef>
#include <cstring>
#include <fstream>
#include <string>
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

}  // namespace quarrant::bench
