// Drawing-file decoding on arbitrary bytes: never crashes, never reads past the end, never
// allocates from a count. What decodes must also survive its own write and read back.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "cad/CadDrawing.h"
#include "cad/DrawingFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quarrant;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CCadDrawing drawing;
    if (!ReadDrawingFile(drawing, bytes)) {
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
