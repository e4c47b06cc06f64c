#include "project/Project.h"

#include <limits>

#include "base/CNumbers.h"
#include "base/FileIO.h"

namespace quarrant {

Project::Project() = default;

std::string Project::TakeFileName() {
    std::string name = "YZN" + FormatInt(nextFileNumber);
    if (nextFileNumber < std::numeric_limits<std::int32_t>::max()) {
        ++nextFileNumber;
    }
    return name;
}

Drawing* Project::FindDrawing(std::string_view name) const {
    for (const auto& drawing : drawings) {
        if (drawing->drawingName == name) {
            return drawing.get();
        }
    }
    return nullptr;
}

std::string Project::ProjectFileName() const {
    return std::string(LastPathComponent(folderPath));
}

}  // namespace quarrant
