#pragma once

// The document of a report window (template "TABLE", resource 133): bound to one report node
// of a project, never saved or loaded, titled with the report's display name.

#include <string>

#include "project/Project.h"
#include "project/QuantityTable.h"
#include "reports/ReportKind.h"

namespace quarrant {

class CTableDoc {
public:
    explicit CTableDoc(QuantityTable& reportNode)
        : m_reportNode(reportNode), m_kind(ReportKindOf(reportNode.displayName)) {}
    CTableDoc(const CTableDoc&) = delete;
    CTableDoc& operator=(const CTableDoc&) = delete;

    QuantityTable& ReportNode() const { return m_reportNode; }
    Project& GetProject() const { return *m_reportNode.parent; }
    // The table every report is computed from.
    QuantityTable& DataTable() const { return m_reportNode.parent->dataTable; }
    ReportKind Kind() const { return m_kind; }
    // The report's display name (GBK): the window title and the report name on the pages.
    const std::string& Title() const { return m_reportNode.displayName; }
    // "工程名称（type）：name" of the pages' title block (GBK).
    std::string ProjectLine() const {
        const Project& project = GetProject();
        return std::string("\xB9\xA4\xB3\xCC\xC3\xFB\xB3\xC6\xA3\xA8") +  // 工程名称（
               project.projectType + "\xA3\xA9\xA3\xBA" +                 // ）：
               project.projectName;
    }

private:
    QuantityTable& m_reportNode;
    ReportKind m_kind;
};

}  // namespace quarrant
