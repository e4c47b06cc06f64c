#include "project/ProjectManager.h"

#include <sys/stat.h>
#include <sys/types.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "base/Assert.h"
#include "base/CNumbers.h"
#include "base/FileIO.h"
#include "cad/DrawingFile.h"
#include "project/ProjectFiles.h"

namespace quarrant {

namespace {

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

ProjectManager::~ProjectManager() {
    {
        std::lock_guard<std::mutex> lock(m_readMutex);
        m_stopReading = true;
    }
    FinishBackgroundReading();
}

Result<std::unique_ptr<Project>> ProjectManager::LoadProject(std::string_view folderPath) {
    std::string_view folderName = LastPathComponent(folderPath);
    if (folderName.empty()) {
        return Status::Failure(std::string());  // names no folder: nothing to say
    }
    std::string projectFile = JoinPath(folderPath, folderName);
    Result<std::string> read = ReadWholeFile(projectFile);
    if (!read) {
        return read.GetStatus();
    }

    auto project = std::make_unique<Project>();
    project->folderPath = std::string(folderPath);
    Result<DrawingList> decoded = DecodeProjectFile(read.Value(), *project, projectFile);
    if (!decoded) {
        return decoded.GetStatus();
    }
    if (decoded.Value() == DrawingList::kDamaged) {
        m_messages.Show(DamagedFileMessage(projectFile) +
                        KeepDamagedCopy(projectFile, read.Value()));
    }
    read = Status();  // the bytes are not needed any more

    ReadDataFile(*project);
    // Drawing files can be large: each is read when it is first needed, or in the background.
    for (const auto& drawing : project->drawings) {
        std::string path = JoinPath(project->folderPath, drawing->fileName);
        drawing->ReadLater([this, path](CCadFile& file) { ReadDrawingFile(path, file); });
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
    if (Status decoded = DecodeDataFile(read.Value(), table, path); !decoded) {
        m_messages.Show(decoded.Message() + KeepDamagedCopy(path, read.Value()));
    }
}

void ProjectManager::ReadDrawingFile(const std::string& path, CCadFile& file) {
    // A drawing always has drawing data, so that its window opens even when the file is
    // empty, missing or damaged.
    file.drawing = NewDrawing();
    Result<std::unique_ptr<FileSource>> source = FileSource::Open(path);
    if (!source) {
        m_messages.Show(MissingFileMessage(path));
        return;
    }
    if (Status decoded = quarrant::ReadDrawingFile(*file.drawing, *source.Value(), path);
        !decoded) {
        source = Status();
        // The damaged bytes are kept beside the file; read again, as they were never held whole.
        Result<std::string> bytes = ReadWholeFile(path);
        m_messages.Show(DamagedFileMessage(path) +
                        KeepDamagedCopy(path, bytes ? std::string_view(bytes.Value()) : ""));
    }
}

void ProjectManager::ReadDrawingsInBackground() {
    std::lock_guard<std::mutex> lock(m_readMutex);
    if (m_stopReading) {
        return;
    }
    for (const auto& project : projects) {
        for (const auto& drawing : project->drawings) {
            std::shared_ptr<DeferredRead> pending = drawing->PendingRead();
            if (pending &&
                std::find(m_readQueue.begin(), m_readQueue.end(), pending) == m_readQueue.end()) {
                m_readQueue.push_back(std::move(pending));
                ++m_readsQueued;
            }
        }
    }
    if (!m_readerRunning && !m_readQueue.empty()) {
        if (m_reader.joinable()) {
            m_reader.join();  // a run that has ended: it takes no lock any more
        }
        m_readerRunning = true;
        m_reader = std::thread([this] { RunBackgroundReading(); });
    }
}

void ProjectManager::RunBackgroundReading() {
    for (std::size_t next = 0;; ++next) {
        std::shared_ptr<DeferredRead> read;
        {
            std::lock_guard<std::mutex> lock(m_readMutex);
            if (m_stopReading || next >= m_readQueue.size()) {
                m_readQueue.clear();
                m_readerRunning = false;
                return;
            }
            read = m_readQueue[next];
        }
        // A drawing some window needed first is being read there: this one waits for it.
        if (!read->RunIfPending()) {
            read->Wait();
        }
        ++m_readsDone;
    }
}

void ProjectManager::FinishBackgroundReading() {
    std::thread reader;
    {
        std::lock_guard<std::mutex> lock(m_readMutex);
        reader = std::move(m_reader);
    }
    if (reader.joinable()) {
        reader.join();
    }
}

Status ProjectManager::WriteDrawing(const std::string& path, Drawing& drawing) {
    AtomicFileWriter file;
    if (Status opened = file.Open(path); !opened) {
        return opened;
    }
    const CCadDrawing* data = drawing.CadFile().drawing.get();
    if (data != nullptr) {
        if (Status written = WriteDrawingFile(*data, file); !written) {
            return written;
        }
    }
    return file.Commit(true);
}

Status ProjectManager::WriteProject(const Project& project) {
    std::string projectFileName = project.ProjectFileName();
    if (projectFileName.empty()) {
        return Status::Failure(FileOpenErrorMessage(project.folderPath));
    }
    // The project file goes last, so that it never names a file that was not written.
    if (Status written =
            WriteFileAtomically(JoinPath(project.folderPath, project.dataTable.fileName),
                                EncodeDataFile(project.dataTable));
        !written) {
        return written;
    }
    for (const auto& drawing : project.drawings) {
        // Drawing files are written straight from the drawing, piece by piece.
        if (Status written =
                WriteDrawing(JoinPath(project.folderPath, drawing->fileName), *drawing);
            !written) {
            return written;
        }
    }
    return WriteFileAtomically(JoinPath(project.folderPath, projectFileName),
                               EncodeProjectFile(project));
}

bool ProjectManager::SaveProject(const Project& project) {
    if (Status written = WriteProject(project); !written) {
        m_messages.Show(written.Message());
        return false;
    }
    return true;
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
    Result<std::unique_ptr<Project>> loaded = LoadProject(folderPath);
    if (!loaded) {
        if (!loaded.Message().empty()) {
            m_messages.Show(loaded.Message());
        }
        return nullptr;
    }
    Project* project = loaded.Value().get();
    projects.push_back(std::move(loaded).Value());
    AppendToPathList(project->folderPath);
    ReadDrawingsInBackground();
    return project;
}

Drawing* ProjectManager::AddDrawing(Project& project, std::string_view drawingName,
                                    std::string_view unit, std::string_view scale,
                                    std::unique_ptr<CCadFile> imported) {
    std::unique_ptr<CCadDrawing> source =
        imported && imported->drawing ? std::move(imported->drawing) : NewDrawing();
    imported.reset();

    auto drawing = std::make_unique<Drawing>(&project);
    drawing->unit = std::string(unit);
    drawing->scale = std::string(scale);
    CCadFile& file = drawing->CadFile();
    file.drawing = NewDrawing();

    // The import is written to the scratch file and read back through the same open file, so
    // that another instance of the program replacing the scratch file meanwhile changes
    // nothing. A read-back that finds damage keeps what it read, as a reload would.
    std::string scratchPath = ProgramFile(kScratchDrawingFileName);
    AtomicFileWriter scratch;
    if (scratch.Open(scratchPath)) {
        static_cast<void>(StoreAndReadBack(source, scratch, *file.drawing, scratchPath));
        if (!source) {
            // Read back at once: it need not reach the disk.
            static_cast<void>(scratch.Commit(false));
        }
    }
    if (source) {
        // No scratch file could be written: the bytes are decoded in memory instead, they are
        // what the file would have held.
        std::string bytes = WriteDrawingFile(*source);
        source.reset();
        file.drawing = NewDrawing();
        static_cast<void>(quarrant::ReadDrawingFile(*file.drawing, bytes, scratchPath));
    }
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
