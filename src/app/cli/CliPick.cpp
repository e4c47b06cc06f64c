// quarrant-cli pick DRAWINGFILE UNIT SCALE ID...: the "values&identifiers" text of pick modes
// 1 to 3 for the selection and the measured paths given.

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/cli/CliContext.h"
#include "base/CNumbers.h"
#include "base/GbkText.h"
#include "cad/CadSelection.h"
#include "cad/PickText.h"

namespace quarrant::cli {

using CliOptions = std::vector<std::pair<std::string, std::string>>;

// Shared with count, defined in CliCount.cpp.
bool SplitArguments(CliContext& context, const std::vector<std::string>& valueOptions,
                    std::vector<std::string>* positional, CliOptions* options);
std::unique_ptr<CCadDrawing> LoadDrawingForPick(const CliContext& context,
                                                const std::string& drawingPathUtf8);
bool SelectIdentifierArguments(const std::vector<std::string>& arguments, std::size_t first,
                               const CCadDrawing& drawing, CCadSelection& selection);
bool AreIdentifierArguments(const std::vector<std::string>& arguments, std::size_t first);
bool IsNumberArgument(std::string_view text);

namespace {

constexpr const char* kPickUsage =
    "pick [--path \"x1,y1;x2,y2;...\"]... [--current \"x1,y1;...\"] DRAWINGFILE UNIT SCALE ID...";

// "x1,y1;x2,y2;..." in drawing units; blanks around the numbers and empty items (a final
// ";") are allowed. False when a point is not two numbers.
bool ParsePath(std::string_view text, CMeasurePath* path) {
    std::size_t begin = 0;
    while (begin <= text.size()) {
        std::size_t end = text.find(';', begin);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view item = TrimC(text.substr(begin, end - begin));
        if (!item.empty()) {
            const std::size_t comma = item.find(',');
            if (comma == std::string_view::npos) {
                return false;
            }
            std::string_view x = TrimC(item.substr(0, comma));
            std::string_view y = TrimC(item.substr(comma + 1));
            if (!IsNumberArgument(x) || !IsNumberArgument(y)) {
                return false;
            }
            path->points.push_back(CMeasurePoint{AtofC(x), AtofC(y), 2});
        }
        begin = end + 1;
    }
    return true;
}

}  // namespace

int RunPick(CliContext& context) {
    std::vector<std::string> positional;
    CliOptions options;
    if (!SplitArguments(context, {"--path", "--current"}, &positional, &options) ||
        positional.size() < 3 || !AreIdentifierArguments(positional, 3)) {
        return Usage(context, kPickUsage);
    }
    CCadSelection selection;
    for (const auto& [name, value] : options) {
        CMeasurePath path;
        if (!ParsePath(value, &path)) {
            return Usage(context, kPickUsage);
        }
        if (name == "--path") {
            selection.AddConfirmedPath(std::move(path));
        } else {
            selection.CurrentPath() = std::move(path);
        }
    }

    std::unique_ptr<CCadDrawing> drawing = LoadDrawingForPick(context, positional[0]);
    if (!drawing) {
        return kExitFailed;
    }
    SelectIdentifierArguments(positional, 3, *drawing, selection);
    const std::string text =
        BuildLengthText(selection, Utf8ToGbk(positional[1]), Utf8ToGbk(positional[2]));
    std::fprintf(context.out, "%s\n", GbkToUtf8(text).c_str());
    return kExitOk;
}

}  // namespace quarrant::cli
