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
    std::string version;
    ProjectFileStatus status = DecodeProjectFile(bytes, project, version);
    if (status == ProjectFileStatus::kWrongVersion && version == kProjectFileVersion) {
        std::abort();
    }
    if (status != ProjectFileStatus::kOk && status != ProjectFileStatus::kDamagedDrawings) {
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
    if (DecodeProjectFile(written, again, version) != ProjectFileStatus::kOk ||
        EncodeProjectFile(again) != written || again.drawings.size() != project.drawings.size() ||
        again.nextFileNumber != project.nextFileNumber) {
        std::abort();
    }
    return 0;
}
