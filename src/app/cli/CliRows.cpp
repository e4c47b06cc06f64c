// quarrant-cli rows PROJECTFOLDER: the quantity rows of a project as the data window lists
// them (or a drawing window with --drawing, or the filter with --name), one grid row a line.

#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/cli/CliContext.h"
#include "app/cli/CliProject.h"
#include "base/GbkText.h"
#include "controls/GridModel.h"
#include "project/GridModelRows.h"
#include "project/ProjectManager.h"
#include "quantity/RowListing.h"
#include "reports/ReportExport.h"

namespace quarrant::cli {

using CliOptions = std::vector<std::pair<std::string, std::string>>;

// Shared with count, defined in CliCount.cpp.
bool SplitArguments(CliContext& context, const std::vector<std::string>& valueOptions,
                    std::vector<std::string>* positional, CliOptions* options);

namespace {

constexpr const char* kRowsUsage = "rows [--drawing NAME] [--name ITEM] PROJECTFOLDER";

// "工程中没有这个图纸：": the project has no drawing of the name given.
constexpr const char* kNoSuchDrawingText =
    "\xB9\xA4\xB3\xCC\xD6\xD0\xC3\xBB\xD3\xD0\xD5\xE2\xB8\xF6\xCD\xBC\xD6\xBD\xA3\xBA";

}  // namespace

int RunRows(CliContext& context) {
    std::vector<std::string> positional;
    CliOptions options;
    if (!SplitArguments(context, {"--drawing", "--name"}, &positional, &options) ||
        positional.size() != 1) {
        return Usage(context, kRowsUsage);
    }
    RowSelection selection;
    for (const auto& [option, value] : options) {
        if (option == "--drawing") {
            selection.drawingName = Utf8ToGbk(value);
        } else {
            selection.itemName = Utf8ToGbk(value);
        }
    }

    CliProject loaded(context);
    if (int status = LoadCliProject(context, positional[0], loaded); status != kExitOk) {
        return status;
    }
    const Project* project = loaded.project.get();
    if (selection.drawingName && project->FindDrawing(*selection.drawingName) == nullptr) {
        return Failed(context, kNoSuchDrawingText + *selection.drawingName);
    }

    GridModel grid;
    ResetRowGrid(grid, project->dataTable.headings);
    GridModelRows rows(grid);
    ListRows(project->dataTable.rows, selection, rows, 0);
    const std::string text = GbkToUtf8(ReportTabText(grid));
    std::fwrite(text.data(), 1, text.size(), context.out);
    return kExitOk;
}

}  // namespace quarrant::cli
