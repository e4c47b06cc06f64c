#pragma once

// What the project manager window shows and does, apart from the widgets: the tree layout
// with its images, the list of the selected node, the context menus, the command dispatch and
// the hit test. Texts are GBK.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "project/ProjectManager.h"
#include "project/TreeItemHandle.h"

namespace quarrant {

// What a node of the tree stands for, told apart by the node found for it.
enum class NodeClass { kNone, kRoot, kProject, kDataTable, kReportTable, kDrawing };
NodeClass ClassifyNode(const WorkspaceNode& node);

// The tree image list: each icon file of the program folder is added twice (normal, then
// selected image), so file i gives images 2i and 2i + 1.
inline constexpr std::array<const char*, 6> kTreeIconFiles = {"11.ico", "21.ico", "31.ico",
                                                              "41.ico", "51.ico", "71.ico"};
inline constexpr int kTreeImageRoot = 0;      // 11.ico
inline constexpr int kTreeImageProject = 2;   // 21.ico
inline constexpr int kTreeImageTable = 8;     // 51.ico: report tables and the data table
inline constexpr int kTreeImageDrawing = 10;  // 71.ico

// The list's large-icon image list: image 0 is icon resource 5, images 1 to 11 are icon
// resources 133 to 143. The list uses image 2 for projects, 8 for tables, 10 for drawings.
inline constexpr int kListImageCount = 12;
inline constexpr int kListImageProject = 2;
inline constexpr int kListImageTable = 8;
inline constexpr int kListImageDrawing = 10;

// One node to insert, as the last child of its parent, with its children in order. handle
// points at the model's field that receives the node's handle.
struct TreeNodePlan {
    std::string text;
    int image = 0;
    int selectedImage = 1;
    TreeItemHandle* handle = nullptr;
    std::vector<TreeNodePlan> children;
};

// Project name + "【" + project type + "】".
std::string ProjectNodeText(const Project& project);

// The root "工程管理器" with one node per project in manager order (the root is expanded once
// they are inserted).
TreeNodePlan PlanWorkspaceTree(ProjectManager& manager);
// A project node: "工程量汇总表", "结构材料统计表", "工程量计算明细表", the data table, then one
// node per drawing. The analysis table has no node.
TreeNodePlan PlanProjectNode(Project& project);
TreeNodePlan PlanDrawingNode(Drawing& drawing);

// The list of the selected node.
enum class ListMode { kUnchanged, kIcon, kReport };
struct ListColumn {
    std::string heading;
    int width = 0;  // pixels
};
struct ListLine {
    std::vector<std::string> texts;  // icon mode: one text; report mode: one per column
    int image = -1;                  // icon mode only
};
struct ListContents {
    ListMode mode = ListMode::kUnchanged;
    std::vector<ListColumn> columns;  // report mode only
    std::vector<ListLine> lines;
};
// Root: the projects (icon mode). Project: its three report tables, the data table and its
// drawings (icon mode). Data table: its top-level rows in map order; drawing: those of them
// whose drawing name is the drawing's (report mode: 序号, 项目名称, 数量, 单位, 工程量). Other
// nodes leave the list unchanged.
ListContents ListForNode(const WorkspaceNode& node, const ProjectManager& manager);

// The commands of the dispatch table (GBK): "添加工程", "新建工程", "添加数据", "保存工程", "删除".
extern const char* const kCommandAddProject;
extern const char* const kCommandNewProject;
extern const char* const kCommandAddData;
extern const char* const kCommandSaveProject;
extern const char* const kCommandDelete;

// Context menu identifiers.
inline constexpr int kContextAddProject = 1018;
inline constexpr int kContextNewProject = 1019;
inline constexpr int kContextAddDrawing = 1020;
inline constexpr int kContextSaveProject = 1021;
inline constexpr int kContextDelete = 1030;
// Present in the command range of the context menus; they do nothing here.
inline constexpr int kContextSumQuantities = 32961;
inline constexpr int kContextSumQuantitiesAndPrices = 32962;

struct MenuCommand {
    int id = 0;
    std::string text;
};
// The context menu of a node, built on the fly: root 1018 "添加工程", 1019 "新建工程"; project
// 1020 "添加图纸", 1021 "保存工程", 1030 "删除"; drawing 1030 "删除"; any other: no items.
std::vector<MenuCommand> ContextMenuFor(NodeClass nodeClass);

// The command of a context menu identifier (1018-1030), or empty.
std::string CommandOfContextItem(int id);
// The command of a menu 130 identifier (32886-32890) issued on the current node, or empty.
std::string CommandOfMenuItem(int id);

enum class ManageOperation {
    kNone,
    kAddExistingProject,  // open-project dialog, then add existing project
    kNewProject,          // new-project dialog, then create project
    kAddDrawing,          // add-drawing dialog, then add drawing
    kRemoveProject,
    kSaveProject,
    kRemoveDrawing,
};
// Node kind x command -> operation; every pair not in the table does nothing.
ManageOperation DispatchCommand(NodeClass nodeClass, std::string_view command);

// The document type whose window a double click opens: "DATA" for the data table, "DRAWING" for
// a drawing, "TABLE" for a report table; empty for the root and projects.
std::string WindowTypeFor(NodeClass nodeClass);

// An item of the first three tree levels with its text rectangle in view pixels.
struct HitCandidate {
    TreeItemHandle item = nullptr;
    bool visible = false;
    int left = 0, top = 0, right = 0, bottom = 0;  // edges belong to the rectangle
};
// The first visible candidate (in tree order, depth-first) whose text rectangle holds the
// point; nullptr when none does.
TreeItemHandle HitTest(const std::vector<HitCandidate>& candidatesInTreeOrder, int x, int y);

}  // namespace quarrant
