#include "app/cli/CliProject.h"

#include "base/FileIO.h"
#include "cad/ColorTable.h"

namespace quarrant::cli {

int LoadCliProject(const CliContext& context, const std::string& folderUtf8, CliProject& loaded) {
    loaded.manager.SetProgramFolder(context.programFolder);
    loaded.manager.SetColorTable(LoadColorTable(context.programFolder).ValueOr(nullptr));
    std::string folder = Utf8ToGbk(folderUtf8);
    while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')) {
        folder.pop_back();
    }
    Result<std::unique_ptr<Project>> project = loaded.manager.LoadProject(folder);
    if (!project) {
        return Failed(context,
                      project.Message().empty() ? FileOpenErrorMessage(folder) : project.Message());
    }
    loaded.project = std::move(project).Value();
    return kExitOk;
}

}  // namespace quarrant::cli
