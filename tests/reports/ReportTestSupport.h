#pragma once

// Shared by the report tests: rows made straight in a project's data table, and a project with
// rows saved to a folder of its own.

#include <memory>
#include <string>
#include <string_view>

#include "base/GbkText.h"
#include "base/MessageSink.h"
#include "project/ProjectManager.h"
#include "quantity/QuantityRow.h"

namespace quarrant::reporttest {

// GBK bytes of a UTF-8 literal.
inline std::string G(std::string_view utf8) {
    return Utf8ToGbk(utf8);
}

// A top-level row of the data table (texts given in UTF-8).
inline QuantityRow& AddRow(QuantityTable& table, std::string_view itemName,
                           std::string_view quantity, std::string_view unit = "t") {
    auto row = std::make_shared<QuantityRow>();
    row->identifier = table.NewRowIdentifier();
    row->itemName = G(itemName);
    row->quantity = G(quantity);
    row->unit = G(unit);
    row->partOrAxis = G("A-B轴");
    row->count = "2";
    QuantityRow& ref = *row;
    const std::int32_t identifier = row->identifier;
    table.rows.SetAt(identifier, std::move(row));
    return ref;
}

// A component row of a top-level row.
inline QuantityRow& AddComponent(QuantityTable& table, QuantityRow& parent,
                                 std::string_view material, std::string_view quantity,
                                 std::string_view unit = "kg") {
    auto child = std::make_shared<QuantityRow>();
    child->identifier = table.NewRowIdentifier();
    child->material = G(material);
    child->quantity = G(quantity);
    child->unit = G(unit);
    child->itemName = parent.itemName;
    child->length = "6.25";
    child->parent = &parent;
    QuantityRow& ref = *child;
    const std::int32_t identifier = child->identifier;
    parent.children.SetAt(identifier, std::move(child));
    return ref;
}

// The rows of the end-to-end tests: trusses and purlins with their components, a long item
// name that wraps, and enough rows for the detail table to fill several pages.
inline void AddSampleRows(QuantityTable& table) {
    QuantityRow& truss = AddRow(table, "钢屋架GWJ-1", "2*1.532=3.064", "t");
    AddComponent(table, truss, "Q235 角钢∠75×6", "2*6.905*0.1");
    AddComponent(table, truss, "Q235 钢板-8", "1.5");
    QuantityRow& purlin = AddRow(table, "檩条", "24*0.086<C160×60×20×2.5>", "t");
    AddComponent(table, purlin, "Q235 C型钢C160×60×20×2.5", "24*6*14.3");
    AddRow(table, "屋面支撑及系杆（含水平支撑、垂直支撑与刚性系杆）", "0.842", "t");
    for (int i = 1; i <= 40; ++i) {
        QuantityRow& beam =
            AddRow(table, "钢梁GL-" + std::to_string(i % 4 + 1), std::to_string(i) + "*0.25", "t");
        AddComponent(table, beam, "Q345 H型钢HN400×200", std::to_string(i) + "*66");
    }
}

// A saved project named utf8Name in parent (GBK path) holding the sample rows; returns its
// folder (GBK). scratch (GBK) is the program folder of the manager that makes it.
inline std::string SavedSampleProject(const std::string& parent, std::string_view utf8Name,
                                      const std::string& scratch) {
    MessageList messages;
    ProjectManager maker(messages);
    maker.SetProgramFolder(scratch);
    if (!MakeProjectFolder(parent, G(utf8Name))) {
        return {};
    }
    Project* project = maker.CreateProject(parent, G(utf8Name), G("结构工程"));
    if (project == nullptr) {
        return {};
    }
    AddSampleRows(project->dataTable);
    maker.SaveProject(*project);
    return project->folderPath;
}

}  // namespace quarrant::reporttest
