#include "project/ProjectManager.h"

#include <sys/stat.h>
#include <sys/types.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "base/CNumbers.h"
#include "base/FileIO.h"
#include "cad/DrawingFile.h"
#include "project/ProjectFiles.h"

namespace quarrant {

namespace {

// "工程文件已损坏，无法打开工程："
constexpr const char* kDamagedProjectFileText =
    "\xB9\xA4\xB3\xCC\xCE\xC4\xBC\xFE\xD2\xD1\xCB\xF0\xBB\xB5\xA3\xAC\xCE\xDE\xB7\xA8\xB4\xF2"
    "\xBF\xAA\xB9\xA4\xB3\xCC\xA3\xBA";
// "损坏的文件已另存为："
constexpr const char* kDamagedCopyText =
    "\xCB\xF0\xBB\xB5\xB5\xC4\xCE\xC4\xBC\xFE\xD2\xD1\xC1\xED\xB4\xE6\xCE\xAA\xA3\xBA";
// "该工程已经打开，不能重复添加："
constexpr const char* kAlreadyOpenText =
    "\xB8\xC3\xB9\xA4\xB3\xCC\xD2\xD1\xBE\xAD\xB4\xF2\xBF\xAA\xA3\xAC\xB2\xBB\xC4\xDC\xD6\xD8"
    "\xB8\xB4\xCC\xED\xBC\xD3\xA3\xBA";
// "工程名称不能包含“/”或“\”："
constexpr const char* kNameWithSeparatorText =
    "\xB9\xA4\xB3\xCC\xC3\xFB\xB3\xC6\xB2\xBB\xC4\xDC\xB0\xFC\xBA\xAC\xA1\xB0\x2F\xA1\xB1\xBB\xF2"
    "\xA1\xB0\x5C\xA1\xB1\xA3\xBA";
// "工程路径、工程类型和工程名称不能为空！"
constexpr const char* kEmptyProjectFieldsText =
    "\xB9\xA4\xB3\xCC\xC2\xB7\xBE\xB6\xA1\xA2\xB9\xA4\xB3\xCC\xC0\xE0\xD0\xCD\xBA\xCD\xB9\xA4"
    "\xB3\xCC\xC3\xFB\xB3\xC6\xB2\xBB\xC4\xDC\xCE\xAA\xBF\xD5\xA3\xA1";

bool HoldsSeparator(std::string_view name) {
    return name.find_first_of("/\\") != std::string_view::npos;
}

bool FileExists(std::string_view gbkPath) {
    std::error_code ec;
    return std::filesystem::exists(FsPath(gbkPath), ec);
}

}  // namespace

std::string DamagedFileMessage(std::string_view path) {
    // "文件已损坏，只读入了其中完好的部分："
    std::string message =
        "\xCE\xC4\xBC\xFE\xD2\xD1\xCB\xF0\xBB\xB5\xA3\xAC\xD6\xBB\xB6\xC1\xC8\xEB\xC1\xCB\xC6\xE4"
        "\xD6\xD0\xCD\xEA\xBA\xC3\xB5\xC4\xB2\xBF\xB7\xD6\xA3\xBA";
    message += path;
    return message;
}

std::string MissingFileMessage(std::string_view path) {
    // "文件丢失或无法打开，按空内容读入："
    std::string message =
        "\xCE\xC4\xBC\xFE\xB6\xAA\xCA\xA7\xBB\xF2\xCE\xDE\xB7\xA8\xB4\xF2\xBF\xAA\xA3\xAC\xB0\xB4"
        "\xBF\xD5\xC4\xDA\xC8\xDD\xB6\xC1\xC8\xEB\xA3\xBA";
    message += path;
    return message;
}

Status MakeProjectFolder(std::string_view parentFolder, std::string_view projectName) {
    if (parentFolder.empty() || projectName.empty()) {
        return Status::Failure(kEmptyProjectFieldsText);
    }
    if (HoldsSeparator(projectName)) {
        return Status::Failure(std::string(kNameWithSeparatorText) + std::string(projectName));
    }
    std::filesystem::path folder = FsPath(JoinPath(parentFolder, projectName));
    if (::mkdir(folder.c_str(), 0777) != 0) {
        return Status::Failure(kMakeFolderFailedMessage);
    }
    return Status();
}

std::string ProjectManager::ProgramFile(std::string_view name) const {
    return JoinPath(m_programFolder, name);
}

std::unique_ptr<CCadDrawing> ProjectManager::NewDrawing() const {
    return std::make_unique<CCadDrawing>(m_colorTable);
}

std::string KeepDamagedCopy(std::string_view path, std::string_view bytes) {
    // An earlier copy with other bytes is never replaced: each damage keeps its own copy.
    std::string copyPath;
    for (int attempt = 1; attempt <= 100; ++attempt) {
        copyPath = std::string(path) + ".damaged";
        if (attempt > 1) {
            copyPath += FormatInt(attempt);
        }
        if (!FileExists(copyPath)) {
            break;
        }
        Result<std::string> earlier = ReadWholeFile(copyPath);
        if (earlier && earlier.Value() == bytes) {
            return "\n" + std::string(kDamagedCopyText) + copyPath;
        }
    }
    if (Status written = WriteFileAtomically(copyPath, bytes); !written) {
        return "\n" + written.Message();
    }
    return "\n" + std::string(kDamagedCopyText) + copyPath;
}

std::unique_ptr<Project> ProjectManager::LoadProject(std::string_view folderPath) {
    std::string_view folderName = LastPathComponent(folderPath);
    if (folderName.empty()) {
        return nullptr;
    }
    std::string projectFile = JoinPath(folderPath, folderName);
    Result<std::string> read = ReadWholeFile(projectFile);
    if (!read) {
        m_messages.Show(read.Message());
        return nullptr;
    }

    auto project = std::make_unique<Project>();
    project->folderPath = std::string(folderPath);
    std::string version;
    switch (DecodeProjectFile(read.Value(), *project, version)) {
        case ProjectFileStatus::kOk:
            break;
        case ProjectFileStatus::kWrongVersion:
            m_messages.Show(VersionMessage(version));
            return nullptr;
        case ProjectFileStatus::kDamaged:
            m_messages.Show(std::string(kDamagedProjectFileText) + projectFile);
            return nullptr;
        case ProjectFileStatus::kDamagedDrawings: {
            std::string message = DamagedFileMessage(projectFile);
            message += KeepDamagedCopy(projectFile, read.Value());
            m_messages.Show(message);
            break;
        }
    }
    read = Status();  // the bytes are not needed any more

    ReadDataFile(*project);
    for (const auto& drawing : project->drawings) {
        ReadDrawing(*project, *drawing);
    }
    project->modified = 0;
    return project;
}

void ProjectManager::ReadDataFile(Project& project) {
    QuantityTable& table = project.dataTable;
    // What a missing file leaves: the table of a new project.
    table.displayName = kDataTableLabel;
    table.SetDefaultHeadings();
    std::string path = JoinPath(project.folderPath, table.fileName);
    Result<std::string> read = ReadWholeFile(path);
    if (!read) {
        m_messages.Show(MissingFileMessage(path));
        return;
    }
    if (!DecodeDataFile(read.Value(), table)) {
        std::string message = DamagedFileMessage(path);
        message += KeepDamagedCopy(path, read.Value());
        m_messages.Show(message);
    }
}

void ProjectManager::ReadDrawing(Project& project, Drawing& drawing) {
    // A drawing always has drawing data, so that its window opens even when the file is
    // empty, missing or damaged.
    drawing.cadFile.drawing = NewDrawing();
    std::string path = JoinPath(project.folderPath, drawing.fileName);
    Result<std::string> read = ReadWholeFile(path);
    if (!read) {
        m_messages.Show(MissingFileMessage(path));
        return;
    }
    if (read.Value().empty()) {
        return;
    }
    if (!ReadDrawingFile(*drawing.cadFile.drawing, read.Value())) {
        std::string message = DamagedFileMessage(path);
        message += KeepDamagedCopy(path, read.Value());
        m_messages.Show(message);
    }
}

bool ProjectManager::SaveProject(const Project& project) {
    std::string projectFileName = project.ProjectFileName();
    if (projectFileName.empty()) {
        m_messages.Show(FileOpenErrorMessage(project.folderPath));
        return false;
    }
    auto write = [&](const std::string& name, const std::string& bytes) {
        Status written = WriteFileAtomically(JoinPath(project.folderPath, name), bytes);
        if (!written) {
            m_messages.Show(written.Message());
            return false;
        }
        return true;
    };
    // The project file goes last, so that it never names a file that was not written.
    if (!write(project.dataTable.fileName, EncodeDataFile(project.dataTable))) {
        return false;
    }
    for (const auto& drawing : project.drawings) {
        const CCadDrawing* data = drawing->cadFile.drawing.get();
        if (!write(drawing->fileName, data != nullptr ? WriteDrawingFile(*data) : std::string())) {
            return false;
        }
    }
    return write(projectFileName, EncodeProjectFile(project));
}

Project* ProjectManager::CreateProject(std::string_view parentFolder, std::string_view projectName,
                                       std::string_view projectType) {
    if (projectName.empty() || parentFolder.empty()) {
        m_messages.Show(kEmptyProjectFieldsText);
        return nullptr;
    }
    if (HoldsSeparator(projectName)) {
        m_messages.Show(std::string(kNameWithSeparatorText) + std::string(projectName));
        return nullptr;
    }
    auto created = std::make_unique<Project>();
    created->projectType = std::string(projectType);
    created->projectName = std::string(projectName);
    created->folderPath = JoinPath(parentFolder, projectName);
    Project* project = created.get();
    projects.push_back(std::move(created));

    AppendToPathList(project->folderPath);

    QuantityTable& table = project->dataTable;
    table.fileName = project->TakeFileName();
    table.displayName = kDataTableLabel;
    table.SetDefaultHeadings();

    SaveProject(*project);
    return project;
}

Project* ProjectManager::AddExistingProject(std::string_view folderPath) {
    for (const auto& open : projects) {
        if (open->folderPath == folderPath) {
            m_messages.Show(std::string(kAlreadyOpenText) + std::string(folderPath));
            return nullptr;
        }
    }
    std::unique_ptr<Project> loaded = LoadProject(folderPath);
    if (!loaded) {
        return nullptr;
    }
    Project* project = loaded.get();
    projects.push_back(std::move(loaded));
    AppendToPathList(project->folderPath);
    return project;
}

Drawing* ProjectManager::AddDrawing(Project& project, std::string_view drawingName,
                                    std::string_view unit, std::string_view scale,
                                    std::unique_ptr<CCadFile> imported) {
    std::string bytes = imported && imported->drawing ? WriteDrawingFile(*imported->drawing)
                                                      : WriteDrawingFile(*NewDrawing());
    imported.reset();

    // The scratch file is read back as the new drawing. Should it be unwritable or replaced
    // meanwhile (another instance of the program), the bytes written are decoded instead:
    // they are what the file would have held.
    std::string scratch = ProgramFile(kScratchDrawingFileName);
    if (WriteFileAtomically(scratch, bytes)) {
        Result<std::string> read = ReadWholeFile(scratch);
        if (read && read.Value() == bytes) {
            bytes = std::move(read).Value();
        }
    }

    auto drawing = std::make_unique<Drawing>(&project);
    drawing->unit = std::string(unit);
    drawing->scale = std::string(scale);
    drawing->cadFile.drawing = NewDrawing();
    ReadDrawingFile(*drawing->cadFile.drawing, bytes);
    drawing->fileName = project.TakeFileName();
    drawing->drawingName = std::string(drawingName);

    Drawing* added = drawing.get();
    project.drawings.push_back(std::move(drawing));
    project.modified = 1;
    return added;
}

void ProjectManager::RemoveDrawing(Drawing& drawing) {
    Project* project = drawing.parent;
    auto& list = project->drawings;
    auto found = std::find_if(list.begin(), list.end(), [&](const std::unique_ptr<Drawing>& d) {
        return d.get() == &drawing;
    });
    if (found == list.end()) {
        return;
    }
    list.erase(found);
    project->modified = 1;
}

void ProjectManager::RemoveProject(Project& project) {
    std::optional<std::vector<std::string>> lines = ReadPathList();
    if (lines) {
        std::size_t before = lines->size();
        std::erase(*lines, project.folderPath);
        if (lines->size() != before) {
            WritePathList(*lines);
        }
    }
    std::erase_if(projects, [&](const std::unique_ptr<Project>& p) { return p.get() == &project; });
}

WorkspaceNode ProjectManager::FindNode(TreeItemHandle item) const {
    WorkspaceNode node;
    if (item == nullptr) {
        return node;
    }
    if (item == rootItem) {
        node.kind = label;
        node.isRoot = true;
        return node;
    }
    for (const auto& project : projects) {
        node.project = project.get();
        if (item == project->projectItem) {
            node.kind = project->caption;
            return node;
        }
        for (QuantityTable* table : {&project->summaryTable, &project->analysisTable,
                                     &project->detailTable, &project->materialTable}) {
            if (item == table->treeItem) {
                node.kind = table->displayName;
                node.table = table;
                return node;
            }
        }
        if (item == project->dataTable.treeItem) {
            node.kind = project->dataTable.kindLabel;
            node.table = &project->dataTable;
            return node;
        }
        for (const auto& drawing : project->drawings) {
            if (item == drawing->treeItem) {
                node.kind = drawing->kindLabel;
                node.drawing = drawing.get();
                return node;
            }
        }
    }
    return WorkspaceNode();
}

std::optional<std::vector<std::string>> ProjectManager::ReadPathList() const {
    std::string path = ProgramFile(kPathListFileName);
    std::vector<std::string> lines;
    if (!FileExists(path)) {
        return lines;
    }
    Result<std::string> read = ReadWholeFile(path);
    if (!read) {
        m_messages.Show(read.Message());
        return std::nullopt;
    }
    for (std::string_view line : SplitLines(read.Value())) {
        lines.emplace_back(line);
    }
    return lines;
}

bool ProjectManager::WritePathList(const std::vector<std::string>& lines) const {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    if (Status written = WriteFileAtomically(ProgramFile(kPathListFileName), text); !written) {
        m_messages.Show(written.Message());
        return false;
    }
    return true;
}

bool ProjectManager::AppendToPathList(std::string_view folderPath) const {
    std::optional<std::vector<std::string>> lines = ReadPathList();
    if (!lines) {
        return false;
    }
    lines->emplace_back(folderPath);
    return WritePathList(*lines);
}

}  // namespace quarrant
