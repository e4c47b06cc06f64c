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

// Reads one catalogue file into the catalogue. Returns whether the file was longer than
// 0 bytes; loaded tells whether the catalogue now stands for the file.
bool ReadCatalogueFile(const std::string& path, Catalogue& catalogue, bool& loaded,
                       MessageSink& messages) {
    loaded = true;
    if (!FileExists(path)) {
        return false;
    }
    Result<std::string> read = ReadWholeFile(path);
    if (!read) {
        loaded = false;
        messages.Show(read.Message());
        return false;
    }
    if (read.Value().empty()) {
        return false;
    }
    if (!DecodeCatalogue(read.Value(), catalogue)) {
        messages.Show(DamagedFileMessage(path) + KeepDamagedCopy(path, read.Value()));
    }
    return true;
}

bool WriteCatalogueFile(const std::string& path, const Catalogue& catalogue, bool loaded,
                        MessageSink& messages) {
    if (!loaded) {
        if (catalogue.empty()) {
            return true;
        }
        Result<std::string> old = ReadWholeFile(path);
        if (old && !old.Value().empty()) {
            if (Status kept = WriteFileAtomically(path + ".bak", old.Value()); !kept) {
                messages.Show(kept.Message());
                return false;
            }
        }
    }
    if (Status written = WriteFileAtomically(path, EncodeCatalogue(catalogue)); !written) {
        messages.Show(written.Message());
        return false;
    }
    return true;
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
    std::string error;
    settings.colorTable = LoadColorTable(settings.programFolder, &error);
    if (!settings.colorTable) {
        messages.Show(error);
    }
    manager.SetColorTable(settings.colorTable);

    LoadPathList(manager);
    ReadSetIni(settings, messages);
    ReadCatalogues(settings, messages);
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
        Result<std::unique_ptr<Project>> project = manager.LoadProject(line);
        if (project) {
            kept.push_back(line);
            loaded.insert(line);
            manager.projects.push_back(std::move(project).Value());
        } else if (!project.Message().empty()) {
            manager.Messages().Show(project.Message());
        }
    }
    if (kept != *lines) {
        manager.WritePathList(kept);
    }
    // The drawing files are read after the main window has appeared, one after another.
    manager.ReadDrawingsInBackground();
    return static_cast<int>(kept.size());
}

void ReadSetIni(Settings& settings, MessageSink& messages) {
    std::string path = JoinPath(settings.programFolder, kSetIniFileName);
    if (!FileExists(path)) {
        return;
    }
    Result<std::string> read = ReadWholeFile(path);
    if (!read) {
        messages.Show(read.Message());
        return;
    }
    std::vector<std::string_view> lines = SplitLines(read.Value());
    settings.coordinatePrecision = static_cast<float>(lines.size() > 0 ? AtofC(lines[0]) : 0.0);
    settings.lineAnglePrecision = static_cast<float>(lines.size() > 1 ? AtofC(lines[1]) : 0.0);
}

bool WriteSetIni(Settings& settings, std::string_view coordinateText, std::string_view angleText,
                 MessageSink& messages) {
    settings.coordinatePrecision = static_cast<float>(AtofC(coordinateText));
    settings.lineAnglePrecision = static_cast<float>(AtofC(angleText));
    std::string text;
    text.append(coordinateText).append("\r\n").append(angleText).append("\r\n");
    Status written = WriteFileAtomically(JoinPath(settings.programFolder, kSetIniFileName), text);
    if (!written) {
        messages.Show(written.Message());
        return false;
    }
    return true;
}

void ReadCatalogues(Settings& settings, MessageSink& messages) {
    std::string materialPath = JoinPath(settings.programFolder, kMaterialCatalogueFileName);
    std::string structurePath = JoinPath(settings.programFolder, kStructureCatalogueFileName);
    if (ReadCatalogueFile(materialPath, settings.materialCatalogue,
                          settings.materialCatalogueLoaded, messages)) {
        ReadCatalogueFile(structurePath, settings.structureCatalogue,
                          settings.structureCatalogueLoaded, messages);
        return;
    }
    // The structure file stays unread; writing it at exit could lose what it holds.
    std::error_code ec;
    auto size = std::filesystem::file_size(FsPath(structurePath), ec);
    settings.structureCatalogueLoaded = ec || size == 0;
}

bool WriteCatalogues(const Settings& settings, MessageSink& messages) {
    bool material =
        WriteCatalogueFile(JoinPath(settings.programFolder, kMaterialCatalogueFileName),
                           settings.materialCatalogue, settings.materialCatalogueLoaded, messages);
    bool structure = WriteCatalogueFile(
        JoinPath(settings.programFolder, kStructureCatalogueFileName), settings.structureCatalogue,
        settings.structureCatalogueLoaded, messages);
    return material && structure;
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
