// Data file bytes of any kind: decoding ends cleanly and keeps only complete rows; what it
// kept is written and read back with every row. One reload reverses the rows within a bucket,
// a second one restores them, so two round trips give the first bytes again.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "project/ProjectFiles.h"

using namespace quarrant;

namespace {

std::size_t CountRows(const QuantityTable& table) {
    std::size_t count = 0;
    for (const auto& entry : table.rows) {
        if (entry.value->parent != nullptr) {
            std::abort();
        }
        ++count;
        for (const auto& child : entry.value->children) {
            if (child.value->parent != entry.value.get() || !child.value->children.empty()) {
                std::abort();
            }
            ++count;
        }
    }
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    QuantityTable first(nullptr);
    static_cast<void>(DecodeDataFile(bytes, first));
    std::size_t rows = CountRows(first);

    std::string written = EncodeDataFile(first);
    QuantityTable second(nullptr);
    if (!DecodeDataFile(written, second) || CountRows(second) != rows ||
        second.nextRowIdentifier != first.nextRowIdentifier || second.headings != first.headings) {
        std::abort();
    }
    std::string rewritten = EncodeDataFile(second);
    QuantityTable third(nullptr);
    if (rewritten.size() != written.size() || !DecodeDataFile(rewritten, third) ||
        EncodeDataFile(third) != written) {
        std::abort();
    }
    return 0;
}
