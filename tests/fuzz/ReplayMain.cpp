// Runs a fuzz target over every file of its seed folders, as an ordinary test: the seeds and
// every crash ever found stay checked on each run.
//
//     replay_<Target> <seed folder> [<crash folder>...]
//
// The seed folder must exist and hold at least one input, so that a mistyped or emptied folder
// fails the test instead of replaying nothing; crash folders may be missing or empty.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

// Replays every regular file below folder; returns how many there were.
int ReplayFolder(const std::filesystem::path& folder) {
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file()) {
            continue;
        }
        std::ifstream in(entry.path(), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        ++files;
    }
    return files;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <seed folder> [<crash folder>...]\n", argv[0]);
        return 2;
    }
    const std::filesystem::path seeds(argv[1]);
    if (!std::filesystem::is_directory(seeds)) {
        std::fprintf(stderr, "no seed folder %s\n", argv[1]);
        return 1;
    }
    const int seedInputs = ReplayFolder(seeds);
    if (seedInputs == 0) {
        std::fprintf(stderr, "the seed folder %s holds no inputs\n", argv[1]);
        return 1;
    }
    int crashInputs = 0;
    for (int i = 2; i < argc; ++i) {
        if (std::filesystem::is_directory(argv[i])) {
            crashInputs += ReplayFolder(argv[i]);
        }
    }
    std::printf("replayed %d seeds and %d crash inputs\n", seedInputs, crashInputs);
    return 0;
}
