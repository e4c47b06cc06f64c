#include "project/ProjectDialogChecks.h"

#include <charconv>
#include <cmath>

#include "base/CNumbers.h"
#include "base/FileIO.h"

namespace quarrant {

std::string CheckNewProject(std::string_view name, std::string_view path, std::string_view type) {
    if (name.empty() || path.empty() || type.empty()) {
        return kEmptyNewProjectMessage;
    }
    return {};
}

std::string CheckOpenProject(std::string_view folder) {
    return folder.empty() ? kEmptyProjectFolderMessage : std::string();
}

std::string DrawingNameFromFile(std::string_view path) {
    std::string_view name = LastPathComponent(path);
    return std::string(name.substr(0, name.find('.')));
}

namespace {

// A whole text that is one finite positive number.
bool IsPositiveNumber(std::string_view text) {
    text = TrimC(text);
    if (text.empty() || text.front() == '+' || text.front() == '-') {
        return false;
    }
    double value = 0.0;
    auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    return error == std::errc() && end == text.data() + text.size() && std::isfinite(value) &&
           value > 0.0;
}

}  // namespace

bool IsValidScale(std::string_view scale) {
    std::size_t colon = scale.find(':');
    if (colon == std::string_view::npos) {
        return false;
    }
    return IsPositiveNumber(scale.substr(0, colon)) && IsPositiveNumber(scale.substr(colon + 1));
}

std::string CheckAddDrawing(bool fileChosen, const Project& project, std::string_view name,
                            std::string_view unit, std::string_view scale) {
    if (!fileChosen) {
        return kNoDrawingChosenMessage;
    }
    if (project.FindDrawing(name) != nullptr) {
        return kDrawingNameExistsMessage;
    }
    if (name.empty() || unit.empty() || scale.empty()) {
        return kEmptyDrawingFieldsMessage;
    }
    if (!IsValidScale(scale)) {
        return kBadScaleMessage;
    }
    return {};
}

}  // namespace quarrant
