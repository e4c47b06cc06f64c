// Lays out the sample project of the default program folder with the program's own workspace
// model: the project "钢屋架示例工程" with the roof-truss drawing imported from its DXF file as
// the drawing "钢屋架施工图" (unit mm, scale 1:1). Both the project and PATH.ini are user state:
// each is made only when missing, so a rebuild never replaces what the user changed.
//
//     quarrant-sample-project <folder with COLOR.ini> <truss.dxf> <samples folder> <PATH.ini>

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "base/FileIO.h"
#include "base/GbkText.h"
#include "base/MessageSink.h"
#include "cad/ColorTable.h"
#include "cad/LoadDxf.h"
#include "project/Project.h"
#include "project/ProjectManager.h"

namespace {

// "钢屋架示例工程"
constexpr const char* kSampleProjectName =
    "\xB8\xD6\xCE\xDD\xBC\xDC\xCA\xBE\xC0\xFD\xB9\xA4\xB3\xCC";
// "钢屋架施工图"
constexpr const char* kSampleDrawingName = "\xB8\xD6\xCE\xDD\xBC\xDC\xCA\xA9\xB9\xA4\xCD\xBC";

// Prints the model's messages instead of showing them.
class PrintedMessages final : public quarrant::MessageSink {
public:
    void Show(const std::string& gbkText) override {
        std::fprintf(stderr, "%s\n", quarrant::GbkToUtf8(gbkText).c_str());
        ++count;
    }
    int count = 0;
};

bool Exists(const std::string& gbkPath) {
    std::error_code ec;
    return std::filesystem::exists(quarrant::FsPath(gbkPath), ec);
}

std::string Model(const char* argument) {
    return quarrant::ModelPath(std::filesystem::absolute(std::filesystem::path(argument)));
}

// Makes the project with its drawing in samples/<name>; false on failure.
bool MakeSampleProject(const std::string& colourFolder, const std::string& dxf,
                       const std::string& samples, const std::string& folder) {
    PrintedMessages messages;
    std::error_code ec;
    std::filesystem::create_directories(quarrant::FsPath(samples), ec);
    if (!Exists(folder)) {
        if (quarrant::Status made = quarrant::MakeProjectFolder(samples, kSampleProjectName);
            !made) {
            messages.Show(made.Message());
            return false;
        }
    }
    quarrant::Result<std::shared_ptr<const quarrant::CCadColorTable>> table =
        quarrant::LoadColorTable(colourFolder);
    if (!table) {
        messages.Show(table.Message());
        return false;
    }
    const std::shared_ptr<const quarrant::CCadColorTable>& colours = table.Value();

    // The manager's own program folder only receives its scratch drawing and path list.
    std::string scratchPattern = "/tmp/quarrant-sample-XXXXXX";
    if (::mkdtemp(scratchPattern.data()) == nullptr) {
        return false;
    }
    quarrant::ProjectManager manager(messages);
    manager.SetProgramFolder(scratchPattern);
    manager.SetColorTable(colours);
    quarrant::Project* project =
        manager.CreateProject(samples, kSampleProjectName, quarrant::kStructuralProjectType);
    bool ok = project != nullptr;
    if (ok) {
        auto imported = std::make_unique<quarrant::CCadFile>();
        ok = quarrant::LoadDxf(*imported, dxf, colours, 1.0,
                               [&](const std::string& text) { messages.Show(text); }) == 0;
        ok = ok && manager.AddDrawing(*project, kSampleDrawingName, "mm", "1:1",
                                      std::move(imported)) != nullptr;
        ok = ok && manager.SaveProject(*project);
    }
    std::filesystem::remove_all(scratchPattern, ec);
    return ok && messages.count == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr,
                     "usage: quarrant-sample-project <colour folder> <truss.dxf> <samples folder> "
                     "<PATH.ini>\n");
        return 2;
    }
    const std::string colourFolder = Model(argv[1]);
    const std::string dxf = Model(argv[2]);
    const std::string samples = Model(argv[3]);
    const std::string pathList = Model(argv[4]);
    const std::string folder = quarrant::JoinPath(samples, kSampleProjectName);

    if (!Exists(quarrant::JoinPath(folder, kSampleProjectName)) &&
        !MakeSampleProject(colourFolder, dxf, samples, folder)) {
        std::fprintf(stderr, "the sample project could not be made\n");
        return 1;
    }
    if (!Exists(pathList)) {
        quarrant::Status written = quarrant::WriteFileAtomically(pathList, folder + "\r\n");
        if (!written) {
            std::fprintf(stderr, "%s\n", quarrant::GbkToUtf8(written.Message()).c_str());
            return 1;
        }
    }
    return 0;
}
