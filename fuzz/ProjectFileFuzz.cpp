// Project file bytes of any kind: decoding ends cleanly, and whatever it accepted is written
// and read back unchanged.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "project/ProjectFiles.h"

using namespace quarrant;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Project project;
    Result<DrawingList> decoded = DecodeProjectFile(bytes, project, "P");
    if (!decoded) {
        // Refused: by its version (never "1.0" itself), or as damaged.
        if (decoded.Message() == VersionMessage(kProjectFileVersion)) {
            std::abort();
        }
        return 0;
    }
    for (const auto& drawing : project.drawings) {
        if (drawing->parent != &project || drawing->fileName.empty() ||
            drawing->fileName.find_first_of("/\\") != std::string::npos) {
            std::abort();
        }
    }
    std::string written = EncodeProjectFile(project);
    Project again;
    Result<DrawingList> reread = DecodeProjectFile(written, again, "P");
    if (!reread || reread.Value() != DrawingList::kWhole || EncodeProjectFile(again) != written ||
        again.drawings.size() != project.drawings.size() ||
        again.nextFileNumber != project.nextFileNumber) {
        std::abort();
    }
    return 0;
}
