// Drawing-file decoding on arbitrary bytes: never crashes, never reads past the end, never
// allocates from a count. Reading the bytes in small chunks, as a file is read, gives exactly
// what reading them whole gives. What decodes must also survive its own write and read back.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "cad/CadDrawing.h"
#include "cad/DrawingFile.h"

namespace {

// The bytes handed out a few at a time, so that fields straddle every chunk boundary.
class ChunkedBytes final : public quarrant::BinarySource {
public:
    ChunkedBytes(std::string_view bytes, std::size_t chunk) : m_bytes(bytes), m_chunk(chunk) {}
    std::ptrdiff_t Read(char* buffer, std::size_t size) override {
        std::size_t n = std::min({size, m_chunk, m_bytes.size() - m_at});
        std::memcpy(buffer, m_bytes.data() + m_at, n);
        m_at += n;
        return static_cast<std::ptrdiff_t>(n);
    }
    std::size_t Left() const override { return m_bytes.size() - m_at; }

private:
    std::string_view m_bytes;
    std::size_t m_chunk;
    std::size_t m_at = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quarrant;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CCadDrawing drawing;
    const bool intact = ReadDrawingFile(drawing, bytes).Ok();
    ChunkedBytes chunks(bytes, 1 + size % 7);
    CCadDrawing chunked;
    if (ReadDrawingFile(chunked, chunks, "").Ok() != intact ||
        WriteDrawingFile(chunked) != WriteDrawingFile(drawing)) {
        std::abort();
    }
    if (!intact) {
        return 0;
    }
    std::string written = WriteDrawingFile(drawing);
    CCadDrawing reloaded;
    if (!ReadDrawingFile(reloaded, written) ||
        reloaded.entities.size() != drawing.entities.size()) {
        std::abort();
    }
    // A second save writes exactly the bytes of the first: nothing drifts between saves.
    if (WriteDrawingFile(reloaded) != written) {
        std::abort();
    }
    return 0;
}
