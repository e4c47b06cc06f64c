#include "app/SettingsFiles.h"

#include <filesystem>
#include <set>
#include <system_error>

#include "app/CatalogueFile.h"
#include "base/CNumbers.h"
#include "base/FileIO.h"
#include "cad/ColorTable.h"
#include "project/Project.h"

namespace quarrant {

namespace {

bool FileExists(std::string_view gbkPath) {
    std::error_code ec;
    return std::filesystem::exists(FsPath(gbkPath), ec);
}

// Reads one catalogue file into the catalogue. held tells whether the file was longer than
// 0 bytes; loaded whether the catalogue now stands for the file.
Status ReadCatalogueFile(const std::string& path, Catalogue& catalogue, bool& loaded, bool& held) {
    loaded = true;
    held = false;
    if (!FileExists(path)) {
        return Status();
    }
    Result<std::string> read = ReadWholeFile(path);
    if (!read) {
        loaded = false;
        return read.GetStatus();
    }
    if (read.Value().empty()) {
        return Status();
    }
    held = true;
    if (!DecodeCatalogue(read.Value(), catalogue)) {
        return Status::Failure(DamagedFileMessage(path) + KeepDamagedCopy(path, read.Value()));
    }
    return Status();
}

Status WriteCatalogueFile(const std::string& path, const Catalogue& catalogue, bool loaded) {
    if (!loaded) {
        if (catalogue.empty()) {
            return Status();
        }
        Result<std::string> old = ReadWholeFile(path);
        if (old && !old.Value().empty()) {
            if (Status kept = WriteFileAtomically(path + ".bak", old.Value()); !kept) {
                return kept;
            }
        }
    }
    return WriteFileAtomically(path, EncodeCatalogue(catalogue));
}

}  // namespace

void StartUp(Settings& settings, ProjectManager& manager, std::string_view programFolder) {
    MessageSink& messages = manager.Messages();
    settings.programFolder = std::string(programFolder);
    manager.SetProgramFolder(settings.programFolder);

    settings.currentProjectType = kStructuralProjectType;
    settings.projectTypes.SetAt(kStructuralProjectType, std::string());

    // Without COLOR.ini drawings still load, uncoloured, rather than every project with a
    // drawing failing and being dropped from the path list.
    Result<std::shared_ptr<const CCadColorTable>> colors = LoadColorTable(settings.programFolder);
    if (!colors) {
        messages.Show(colors.Message());
    }
    settings.colorTable = colors.ValueOr(nullptr);
    manager.SetColorTable(settings.colorTable);

    LoadPathList(manager);
    if (Status read = ReadSetIni(settings); !read) {
        messages.Show(read.Message());
    }
    ReadCatalogues(settings).ShowFailures(messages);
}

void CatalogueFilesStatus::ShowFailures(MessageSink& messages) const {
    for (const Status* file : {&material, &structure}) {
        if (!file->Ok()) {
            messages.Show(file->Message());
        }
    }
}

int LoadPathList(ProjectManager& manager) {
    std::optional<std::vector<std::string>> lines = manager.ReadPathList();
    if (!lines) {
        return 0;
    }
    std::vector<std::string> kept;
    std::set<std::string> loaded;
    for (const std::string& line : *lines) {
        if (loaded.count(line) != 0) {
            continue;
        }
        std::unique_ptr<Project> project = manager.LoadProject(line);
        if (project) {
            kept.push_back(line);
            loaded.insert(line);
            manager.projects.push_back(std::move(project));
        }
    }
    if (kept != *lines) {
        manager.WritePathList(kept);
    }
    return static_cast<int>(kept.size());
}

Status ReadSetIni(Settings& settings) {
    std::string path = JoinPath(settings.programFolder, kSetIniFileName);
    if (!FileExists(path)) {
        return Status();
    }
    Result<std::string> read = ReadWholeFile(path);
    if (!read) {
        return read.GetStatus();
    }
    std::vector<std::string_view> lines = SplitLines(read.Value());
    settings.coordinatePrecision = static_cast<float>(lines.size() > 0 ? AtofC(lines[0]) : 0.0);
    settings.lineAnglePrecision = static_cast<float>(lines.size() > 1 ? AtofC(lines[1]) : 0.0);
    return Status();
}

Status WriteSetIni(Settings& settings, std::string_view coordinateText,
                   std::string_view angleText) {
    settings.coordinatePrecision = static_cast<float>(AtofC(coordinateText));
    settings.lineAnglePrecision = static_cast<float>(AtofC(angleText));
    std::string text;
    text.append(coordinateText).append("\r\n").append(angleText).append("\r\n");
    return WriteFileAtomically(JoinPath(settings.programFolder, kSetIniFileName), text);
}

CatalogueFilesStatus ReadCatalogues(Settings& settings) {
    std::string materialPath = JoinPath(settings.programFolder, kMaterialCatalogueFileName);
    std::string structurePath = JoinPath(settings.programFolder, kStructureCatalogueFileName);
    CatalogueFilesStatus status;
    bool held = false;
    status.material = ReadCatalogueFile(materialPath, settings.materialCatalogue,
                                        settings.materialCatalogueLoaded, held);
    if (held) {
        status.structure = ReadCatalogueFile(structurePath, settings.structureCatalogue,
                                             settings.structureCatalogueLoaded, held);
        return status;
    }
    // The structure file stays unread; writing it at exit could lose what it holds.
    std::error_code ec;
    auto size = std::filesystem::file_size(FsPath(structurePath), ec);
    settings.structureCatalogueLoaded = ec || size == 0;
    return status;
}

CatalogueFilesStatus WriteCatalogues(const Settings& settings) {
    CatalogueFilesStatus status;
    status.material =
        WriteCatalogueFile(JoinPath(settings.programFolder, kMaterialCatalogueFileName),
                           settings.materialCatalogue, settings.materialCatalogueLoaded);
    status.structure =
        WriteCatalogueFile(JoinPath(settings.programFolder, kStructureCatalogueFileName),
                           settings.structureCatalogue, settings.structureCatalogueLoaded);
    return status;
}

bool NeedsSaveQuestion(const ProjectManager& manager) {
    for (const auto& project : manager.projects) {
        if (project->modified != 0) {
            return true;
        }
    }
    return false;
}

void SaveModifiedProjects(ProjectManager& manager, Settings& settings) {
    for (const auto& project : manager.projects) {
        if (project->modified != 0) {
            manager.SaveProject(*project);
        }
        ++settings.progressDone;
    }
    settings.progressDone = settings.progressTotal.load();
}

std::thread StartSavingModifiedProjects(ProjectManager& manager, Settings& settings) {
    settings.progressDone = 0;
    settings.progressTotal = static_cast<int>(manager.projects.size());
    return std::thread([&manager, &settings] { SaveModifiedProjects(manager, settings); });
}

}  // namespace quarrant
