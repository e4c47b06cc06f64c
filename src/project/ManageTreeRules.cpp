#include "project/ManageTreeRules.h"

#include "base/CNumbers.h"

namespace quarrant {

const char* const kCommandAddProject = "\xCC\xED\xBC\xD3\xB9\xA4\xB3\xCC";   // 添加工程
const char* const kCommandNewProject = "\xD0\xC2\xBD\xA8\xB9\xA4\xB3\xCC";   // 新建工程
const char* const kCommandAddData = "\xCC\xED\xBC\xD3\xCA\xFD\xBE\xDD";      // 添加数据
const char* const kCommandSaveProject = "\xB1\xA3\xB4\xE6\xB9\xA4\xB3\xCC";  // 保存工程
const char* const kCommandDelete = "\xC9\xBE\xB3\xFD";                       // 删除

NodeClass ClassifyNode(const WorkspaceNode& node) {
    if (node.isRoot) {
        return NodeClass::kRoot;
    }
    if (node.drawing != nullptr) {
        return NodeClass::kDrawing;
    }
    if (node.table != nullptr) {
        return node.project != nullptr && node.table == &node.project->dataTable
                   ? NodeClass::kDataTable
                   : NodeClass::kReportTable;
    }
    if (node.project != nullptr) {
        return NodeClass::kProject;
    }
    return NodeClass::kNone;
}

std::string ProjectNodeText(const Project& project) {
    return project.projectName + "\xA1\xBE" + project.projectType + "\xA1\xBF";  // 【 】
}

namespace {

TreeNodePlan Plan(std::string text, int image, TreeItemHandle* handle) {
    TreeNodePlan plan;
    plan.text = std::move(text);
    plan.image = image;
    plan.selectedImage = image + 1;
    plan.handle = handle;
    return plan;
}

}  // namespace

TreeNodePlan PlanDrawingNode(Drawing& drawing) {
    return Plan(drawing.drawingName, kTreeImageDrawing, &drawing.treeItem);
}

TreeNodePlan PlanProjectNode(Project& project) {
    TreeNodePlan node = Plan(ProjectNodeText(project), kTreeImageProject, &project.projectItem);
    for (QuantityTable* table : {&project.summaryTable, &project.materialTable,
                                 &project.detailTable, &project.dataTable}) {
        node.children.push_back(Plan(table->displayName, kTreeImageTable, &table->treeItem));
    }
    for (const auto& drawing : project.drawings) {
        node.children.push_back(PlanDrawingNode(*drawing));
    }
    return node;
}

TreeNodePlan PlanWorkspaceTree(ProjectManager& manager) {
    TreeNodePlan root = Plan(manager.label, kTreeImageRoot, &manager.rootItem);
    for (const auto& project : manager.projects) {
        root.children.push_back(PlanProjectNode(*project));
    }
    return root;
}

namespace {

std::vector<ListColumn> RowColumns() {
    return {{"\xD0\xF2\xBA\xC5", 60},                   // 序号
            {"\xCF\xEE\xC4\xBF\xC3\xFB\xB3\xC6", 200},  // 项目名称
            {"\xCA\xFD\xC1\xBF", 60},                   // 数量
            {"\xB5\xA5\xCE\xBB", 100},                  // 单位
            {"\xB9\xA4\xB3\xCC\xC1\xBF", 100}};         // 工程量
}

// The top-level rows of the data table in map order; with drawing set, only those of that
// drawing.
ListContents RowList(const QuantityTable& dataTable, const Drawing* drawing) {
    ListContents list;
    list.mode = ListMode::kReport;
    list.columns = RowColumns();
    int number = 0;
    for (const auto& entry : dataTable.rows) {
        const QuantityRow* row = entry.value.get();
        if (row == nullptr || row->parent != nullptr) {
            continue;
        }
        if (drawing != nullptr && row->drawingName != drawing->drawingName) {
            continue;
        }
        ++number;
        list.lines.push_back(
            {{FormatInt(number), row->itemName, row->count, row->unit, row->quantity}, -1});
    }
    return list;
}

}  // namespace

ListContents ListForNode(const WorkspaceNode& node, const ProjectManager& manager) {
    ListContents list;
    switch (ClassifyNode(node)) {
        case NodeClass::kNone:
        case NodeClass::kReportTable:
            return list;
        case NodeClass::kRoot:
            list.mode = ListMode::kIcon;
            for (const auto& project : manager.projects) {
                list.lines.push_back({{project->projectName}, kListImageProject});
            }
            return list;
        case NodeClass::kProject: {
            list.mode = ListMode::kIcon;
            const Project& project = *node.project;
            for (const QuantityTable* table : {&project.summaryTable, &project.materialTable,
                                               &project.detailTable, &project.dataTable}) {
                list.lines.push_back({{table->displayName}, kListImageTable});
            }
            for (const auto& drawing : project.drawings) {
                list.lines.push_back({{drawing->drawingName}, kListImageDrawing});
            }
            return list;
        }
        case NodeClass::kDataTable:
            return RowList(node.project->dataTable, nullptr);
        case NodeClass::kDrawing:
            return RowList(node.drawing->parent->dataTable, node.drawing);
    }
    return list;
}

std::vector<MenuCommand> ContextMenuFor(NodeClass nodeClass) {
    switch (nodeClass) {
        case NodeClass::kRoot:
            return {{kContextAddProject, kCommandAddProject},
                    {kContextNewProject, kCommandNewProject}};
        case NodeClass::kProject:
            return {{kContextAddDrawing, "\xCC\xED\xBC\xD3\xCD\xBC\xD6\xBD"},  // 添加图纸
                    {kContextSaveProject, kCommandSaveProject},
                    {kContextDelete, kCommandDelete}};
        case NodeClass::kDrawing:
            return {{kContextDelete, kCommandDelete}};
        default:
            return {};
    }
}

std::string CommandOfContextItem(int id) {
    switch (id) {
        case kContextAddProject:
            return kCommandAddProject;
        case kContextNewProject:
            return kCommandNewProject;
        case kContextAddDrawing:
            return kCommandAddData;
        case kContextSaveProject:
            return kCommandSaveProject;
        case kContextDelete:
            return kCommandDelete;
        default:
            return {};
    }
}

std::string CommandOfMenuItem(int id) {
    switch (id) {
        case 32886:
            return kCommandNewProject;
        case 32887:
            return kCommandAddProject;
        case 32888:
            return kCommandAddData;
        case 32889:
            return kCommandDelete;
        case 32890:
            return kCommandSaveProject;
        default:
            return {};
    }
}

ManageOperation DispatchCommand(NodeClass nodeClass, std::string_view command) {
    switch (nodeClass) {
        case NodeClass::kRoot:
            if (command == kCommandAddProject)
                return ManageOperation::kAddExistingProject;
            if (command == kCommandNewProject)
                return ManageOperation::kNewProject;
            break;
        case NodeClass::kProject:
            if (command == kCommandAddData)
                return ManageOperation::kAddDrawing;
            if (command == kCommandDelete)
                return ManageOperation::kRemoveProject;
            if (command == kCommandSaveProject)
                return ManageOperation::kSaveProject;
            break;
        case NodeClass::kDrawing:
            if (command == kCommandDelete)
                return ManageOperation::kRemoveDrawing;
            break;
        default:
            break;
    }
    return ManageOperation::kNone;
}

std::string WindowTypeFor(NodeClass nodeClass) {
    switch (nodeClass) {
        case NodeClass::kDataTable:
            return "DATA";
        case NodeClass::kDrawing:
            return "DRAWING";
        case NodeClass::kReportTable:
            return "TABLE";
        default:
            return {};
    }
}

TreeItemHandle HitTest(const std::vector<HitCandidate>& candidatesInTreeOrder, int x, int y) {
    for (const HitCandidate& candidate : candidatesInTreeOrder) {
        if (candidate.visible && x >= candidate.left && x <= candidate.right &&
            y >= candidate.top && y <= candidate.bottom) {
            return candidate.item;
        }
    }
    return nullptr;
}

}  // namespace quarrant
