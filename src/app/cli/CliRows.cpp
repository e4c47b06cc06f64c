// quarrant-cli rows PROJECTFOLDER: the quantity rows of a project as the data window lists
// them (or a drawing window with --drawing, or the filter with --name), one grid row a line.

#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/cli/CliContext.h"
#include "base/FileIO.h"
#include "base/GbkText.h"
#include "base/MessageSink.h"
#include "cad/ColorTable.h"
#include "controls/GridModel.h"
#include "project/GridModelRows.h"
#include "project/ProjectManager.h"
#include "quantity/RowListing.h"

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

// The messages of loading, on standard error as they come.
class LoadMessages final : public MessageSink {
public:
    explicit LoadMessages(const CliContext& context) : m_context(context) {}
    void Show(const std::string& gbkText) override {
        std::fprintf(m_context.err, "%s\n", GbkToUtf8(gbkText).c_str());
        ++count;
    }
    int count = 0;

private:
    const CliContext& m_context;
};

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

    // The project as start-up loads it.
    LoadMessages messages(context);
    ProjectManager manager(messages);
    manager.SetProgramFolder(context.programFolder);
    manager.SetColorTable(LoadColorTable(context.programFolder).ValueOr(nullptr));
    std::string folder = Utf8ToGbk(positional[0]);
    while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')) {
        folder.pop_back();
    }
    std::unique_ptr<Project> project = manager.LoadProject(folder);
    if (!project) {
        return messages.count > 0 ? kExitFailed : Failed(context, FileOpenErrorMessage(folder));
    }
    if (selection.drawingName && project->FindDrawing(*selection.drawingName) == nullptr) {
        return Failed(context, kNoSuchDrawingText + *selection.drawingName);
    }

    GridModel grid;
    ResetRowGrid(grid, project->dataTable.headings);
    GridModelRows rows(grid);
    ListRows(project->dataTable.rows, selection, rows, 0);
    std::string line;
    for (int row = 0; row < grid.GetRowCount(); ++row) {
        line.clear();
        for (int col = 0; col < grid.GetColumnCount(); ++col) {
            if (col > 0) {
                line += '\t';
            }
            line += grid.GetItemText(row, col);
        }
        std::fprintf(context.out, "%s\n", GbkToUtf8(line).c_str());
    }
    return kExitOk;
}

}  // namespace quarrant::cli
