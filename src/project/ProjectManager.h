#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/MessageSink.h"
#include "base/Status.h"
#include "cad/CadDrawing.h"
#include "project/Drawing.h"
#include "project/Project.h"
#include "project/QuantityTable.h"
#include "project/TreeItemHandle.h"

namespace quarrant {

// "工程管理器": the manager's label, also the kind string of the root node.
inline constexpr const char* kProjectManagerLabel = "\xB9\xA4\xB3\xCC\xB9\xDC\xC0\xED\xC6\xF7";

// The path list in the program folder: one project folder per line.
inline constexpr const char* kPathListFileName = "PATH.ini";
// The scratch drawing file in the program folder, through which a new drawing is added.
inline constexpr const char* kScratchDrawingFileName = "Drawing.drw";

// "创建目录不成功！\n请查看目录是否重名": the project folder could not be made.
inline constexpr const char* kMakeFolderFailedMessage =
    "\xB4\xB4\xBD\xA8\xC4\xBF\xC2\xBC\xB2\xBB\xB3\xC9\xB9\xA6\xA3\xA1\x0A\xC7\xEB\xB2\xE9\xBF\xB4"
    "\xC4\xBF\xC2\xBC\xCA\xC7\xB7\xF1\xD6\xD8\xC3\xFB";

// What a tree node stands for. kind is the node's kind string (empty when no node matched);
// project is set for every node below the root; table for report and data table nodes;
// drawing for drawing nodes.
struct WorkspaceNode {
    std::string kind;
    bool isRoot = false;
    Project* project = nullptr;
    QuantityTable* table = nullptr;
    Drawing* drawing = nullptr;
};

// The workspace: every project of the session, in the order it was loaded or created, and the
// operations that change them together with their files on disk.
class ProjectManager {
public:
    explicit ProjectManager(MessageSink& messages) : m_messages(messages) {}
    ProjectManager(const ProjectManager&) = delete;
    ProjectManager& operator=(const ProjectManager&) = delete;

    // The program folder (GBK, no final separator) holds PATH.ini and Drawing.drw.
    void SetProgramFolder(std::string folder) { m_programFolder = std::move(folder); }
    const std::string& ProgramFolder() const { return m_programFolder; }
    // The colour table every drawing is constructed with (may be null: no colours known).
    void SetColorTable(std::shared_ptr<const CCadColorTable> colorTable) {
        m_colorTable = std::move(colorTable);
    }
    const std::shared_ptr<const CCadColorTable>& ColorTable() const { return m_colorTable; }
    MessageSink& Messages() const { return m_messages; }

    // Reads the project in folderPath; not added to the manager. Nothing (and no message) for a
    // path ending in a separator; the file-open message for a missing project file; the
    // version message for another version. A data or drawing file that is missing or damaged
    // gives what could be read, a message naming the file, and for a damaged file a copy of
    // its bytes beside it ("<name>.damaged") before any save can replace it.
    std::unique_ptr<Project> LoadProject(std::string_view folderPath);

    // Writes the data file and the drawing files, then the project file, each replaced whole
    // so that a failure leaves the old file. On the first failure shows its message and
    // returns false. The modified flag is kept.
    bool SaveProject(const Project& project);

    // Creates the project in the folder parentFolder/projectName (which must exist, see
    // MakeProjectFolder): data file YZN0 with the 13 headings, appended to the manager and to
    // PATH.ini, saved at once. Nullptr for an empty name or one holding a separator.
    Project* CreateProject(std::string_view parentFolder, std::string_view projectName,
                           std::string_view projectType);

    // Loads the project in folderPath and, if that succeeds, appends it to the manager and to
    // PATH.ini. A folder that is already open is refused with a message.
    Project* AddExistingProject(std::string_view folderPath);

    // Adds the drawing imported by the add-drawing dialog: the import is written to the
    // scratch file and read back, so the new drawing holds what a save and reload give; the
    // import is destroyed. The drawing file itself is written at the next save.
    Drawing* AddDrawing(Project& project, std::string_view drawingName, std::string_view unit,
                        std::string_view scale, std::unique_ptr<CCadFile> imported);

    // Destroys the drawing (its file stays on disk); the project becomes modified.
    void RemoveDrawing(Drawing& drawing);

    // Rewrites PATH.ini without the project's folder and destroys the project (its files stay
    // on disk).
    void RemoveProject(Project& project);

    // The node of the handle (null handles match nothing).
    WorkspaceNode FindNode(TreeItemHandle item) const;

    // Path list file operations (program folder's PATH.ini). Lines end with LF or CR LF on
    // reading and are written with CR LF. A missing file reads as no lines.
    // Nothing when the file exists but cannot be read (its message is shown).
    std::optional<std::vector<std::string>> ReadPathList() const;
    bool WritePathList(const std::vector<std::string>& lines) const;
    bool AppendToPathList(std::string_view folderPath) const;

    std::string label = kProjectManagerLabel;
    TreeItemHandle rootItem = nullptr;
    std::vector<std::unique_ptr<Project>> projects;

private:
    std::string ProgramFile(std::string_view name) const;
    std::unique_ptr<CCadDrawing> NewDrawing() const;
    void ReadDataFile(Project& project);
    void ReadDrawing(Project& project, Drawing& drawing);

    MessageSink& m_messages;
    std::string m_programFolder;
    std::shared_ptr<const CCadColorTable> m_colorTable;
};

// Makes the folder parentFolder/projectName for a new project (the platform's make-directory
// call: it fails when the folder exists). Fails with the message to show.
Status MakeProjectFolder(std::string_view parentFolder, std::string_view projectName);

// Keeps the bytes of a damaged file beside it as "<path>.damaged" (or ".damaged2" ... when an
// earlier copy holds other bytes), before a save can replace the file. Returns the line to add
// to the damage message: where the copy lies, or why it could not be made.
std::string KeepDamagedCopy(std::string_view path, std::string_view bytes);

// The message for a file that is damaged; what could be read was read.
std::string DamagedFileMessage(std::string_view path);
// The message for a data or drawing file that is missing or cannot be read.
std::string MissingFileMessage(std::string_view path);

}  // namespace quarrant
