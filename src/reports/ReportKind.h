#pragma once

// The four report tables of a project, told apart by the display name of their node, and the
// column layout of each. Texts are GBK.

#include <string_view>
#include <vector>

namespace quarrant {

enum class ReportKind {
    kSummary,   // 工程量汇总表: one row per item name
    kDetail,    // 工程量计算明细表: every row with its component rows
    kMaterial,  // 结构材料统计表: one row per material of the component rows
    kAnalysis,  // 工程量分析表: opens empty
    kOther,     // any other name: nothing is built
};

// The kind of a report node's display name (exact comparison).
ReportKind ReportKindOf(std::string_view displayName);

struct ReportColumn {
    const char* heading;  // GBK
    int width;            // pixels
};

// The columns of a report, column 0 "序号" first; empty for the analysis table and others.
const std::vector<ReportColumn>& ReportColumns(ReportKind kind);

// Height of the header row and of every data row (pixels).
inline constexpr int kReportHeaderHeight = 35;
inline constexpr int kReportRowHeight = 25;

// The root of the report window's tree: "项目名称" (summary, detail) or "材料名称" (material);
// nullptr for reports without a tree.
const char* ReportTreeRootText(ReportKind kind);

}  // namespace quarrant
