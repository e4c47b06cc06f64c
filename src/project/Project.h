#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "project/Drawing.h"
#include "project/QuantityTable.h"
#include "project/TreeItemHandle.h"

namespace quarrant {

// "工程名称": the caption of a project, also the kind string of project nodes.
inline constexpr const char* kProjectCaption = "\xB9\xA4\xB3\xCC\xC3\xFB\xB3\xC6";
// "结构工程": the one project type offered.
inline constexpr const char* kStructuralProjectType = "\xBD\xE1\xB9\xB9\xB9\xA4\xB3\xCC";

// Titles of the four report tables, also the kind strings of their nodes.
inline constexpr const char* kSummaryTableTitle =
    "\xB9\xA4\xB3\xCC\xC1\xBF\xBB\xE3\xD7\xDC\xB1\xED";  // 工程量汇总表
inline constexpr const char* kAnalysisTableTitle =
    "\xB9\xA4\xB3\xCC\xC1\xBF\xB7\xD6\xCE\xF6\xB1\xED";  // 工程量分析表
inline constexpr const char* kDetailTableTitle =
    "\xB9\xA4\xB3\xCC\xC1\xBF\xBC\xC6\xCB\xE3\xC3\xF7\xCF\xB8\xB1\xED";  // 工程量计算明细表
inline constexpr const char* kMaterialTableTitle =
    "\xBD\xE1\xB9\xB9\xB2\xC4\xC1\xCF\xCD\xB3\xBC\xC6\xB1\xED";  // 结构材料统计表

// A project: a folder on disk with the project file, the data file and one file per drawing.
// It owns its tables and drawings; destroying it destroys them.
class Project {
public:
    Project();
    Project(const Project&) = delete;
    Project& operator=(const Project&) = delete;

    // "YZN%d" of the next file number, which is then incremented: numbers are never reused.
    std::string TakeFileName();

    // The drawing of this name (exact comparison), or nullptr.
    Drawing* FindDrawing(std::string_view name) const;

    // The name of the project file inside the folder: the folder's own name.
    std::string ProjectFileName() const;

    std::int32_t nextFileNumber = 0;
    std::string projectType = kStructuralProjectType;
    std::string caption = kProjectCaption;
    TreeItemHandle projectItem = nullptr;
    std::string projectName;
    std::string folderPath;  // parent folder + "/" + project name; its line in PATH.ini

    // The report tables are created with the project and never saved; the analysis table has
    // no node in the tree.
    QuantityTable summaryTable{this, kSummaryTableTitle};
    QuantityTable analysisTable{this, kAnalysisTableTitle};
    QuantityTable detailTable{this, kDetailTableTitle};
    QuantityTable materialTable{this, kMaterialTableTitle};
    // Every quantity row of the project, those of every drawing included.
    QuantityTable dataTable{this};

    std::vector<std::unique_ptr<Drawing>> drawings;  // in the order they were added
    std::int32_t modified = 0;  // 1 after a change of drawings or rows; saving keeps it
};

}  // namespace quarrant
