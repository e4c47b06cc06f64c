#pragma once

// The settings files of the program folder, and the start-up and exit sequences as plain
// operations (the windows come on top of them).

#include <string>
#include <string_view>
#include <thread>

#include "base/MessageSink.h"
#include "base/Status.h"
#include "project/ProjectManager.h"
#include "project/Settings.h"

namespace quarrant {

inline constexpr const char* kSetIniFileName = "Set.ini";
// "钢结构数据库.ini": the material catalogue.
inline constexpr const char* kMaterialCatalogueFileName =
    "\xB8\xD6\xBD\xE1\xB9\xB9\xCA\xFD\xBE\xDD\xBF\xE2\x2E\x69\x6E\x69";
// "钢结构.ini": the structure catalogue.
inline constexpr const char* kStructureCatalogueFileName =
    "\xB8\xD6\xBD\xE1\xB9\xB9\x2E\x69\x6E\x69";
// "工程数据已经更改，是否要保存工程？": the question asked once at exit.
inline constexpr const char* kSaveQuestionText =
    "\xB9\xA4\xB3\xCC\xCA\xFD\xBE\xDD\xD2\xD1\xBE\xAD\xB8\xFC\xB8\xC4\xA3\xAC\xCA\xC7\xB7\xF1\xD2"
    "\xAA\xB1\xA3\xB4\xE6\xB9\xA4\xB3\xCC\xA3\xBF";

// Start-up in the program folder (the caller passes ExecutableFolder()): project types, the
// colour table, every project of PATH.ini (the file then keeps the lines whose project loaded,
// in order), Set.ini and the catalogue files. Messages go to the manager's sink. Missing
// settings files leave the defaults: no projects, precisions 1 and 0.01, empty catalogues.
void StartUp(Settings& settings, ProjectManager& manager, std::string_view programFolder);

// Loads every project of PATH.ini into the manager and rewrites the file with the lines whose
// project loaded (a folder listed twice is loaded once). Returns the number of projects.
int LoadPathList(ProjectManager& manager);

// Set.ini: line 1 the coordinate precision, line 2 the line-angle precision, converted as atof
// does (a missing line gives 0). A missing file leaves the values as they are; one that cannot
// be read fails with the file-open message.
Status ReadSetIni(Settings& settings);

// The settings dialog's OK: both texts take effect at once (atof), and Set.ini is rewritten
// with the texts as typed, one a line. Fails with the message when the file cannot be written.
Status WriteSetIni(Settings& settings, std::string_view coordinateText, std::string_view angleText);

// What became of the two catalogue files, each on its own.
struct CatalogueFilesStatus {
    Status material;
    Status structure;

    bool Ok() const { return material.Ok() && structure.Ok(); }
    // Shows the failures, the material file's first.
    void ShowFailures(MessageSink& messages) const;
};

// The material catalogue file first; only when it is longer than 0 bytes the structure file.
// A file that cannot be read fails with the file-open message; a damaged one is read as far as
// it goes and fails with the damage message.
CatalogueFilesStatus ReadCatalogues(Settings& settings);

// Exit step 1: both catalogue files rewritten from the catalogues. A structure file that was
// never read is left alone while its catalogue is empty, and otherwise kept as "<name>.bak"
// before it is replaced. A file that could not be written fails with its message.
CatalogueFilesStatus WriteCatalogues(const Settings& settings);

// Whether the exit asks kSaveQuestionText: some project is modified.
bool NeedsSaveQuestion(const ProjectManager& manager);

// The exit save's worker: saves every modified project in manager order, adding 1 to progress
// done after each project, saved or not; at the end progress done := progress total.
void SaveModifiedProjects(ProjectManager& manager, Settings& settings);

// Sets progress done := 0 and progress total := the number of projects, then runs
// SaveModifiedProjects on a new thread (the progress dialog polls the counters meanwhile).
std::thread StartSavingModifiedProjects(ProjectManager& manager, Settings& settings);

}  // namespace quarrant
