#include "reports/ReportKind.h"

#include "project/Project.h"

namespace quarrant {

namespace {

const char* const kNumberHeading = "\xD0\xF2\xBA\xC5";                    // 序号
const char* const kItemNameHeading = "\xCF\xEE\xC4\xBF\xC3\xFB\xB3\xC6";  // 项目名称
const char* const kUnitHeading = "\xB5\xA5\xCE\xBB";                      // 单位
const char* const kQuantityHeading = "\xB9\xA4\xB3\xCC\xC1\xBF";          // 工程量

}  // namespace

ReportKind ReportKindOf(std::string_view displayName) {
    if (displayName == kSummaryTableTitle) {
        return ReportKind::kSummary;
    }
    if (displayName == kDetailTableTitle) {
        return ReportKind::kDetail;
    }
    if (displayName == kMaterialTableTitle) {
        return ReportKind::kMaterial;
    }
    if (displayName == kAnalysisTableTitle) {
        return ReportKind::kAnalysis;
    }
    return ReportKind::kOther;
}

const std::vector<ReportColumn>& ReportColumns(ReportKind kind) {
    static const std::vector<ReportColumn> summary = {
        {kNumberHeading, 50},
        {kItemNameHeading, 110},
        {kUnitHeading, 120},
        {kQuantityHeading, 120},
    };
    static const std::vector<ReportColumn> detail = {
        {kNumberHeading, 50},
        {kItemNameHeading, 120},
        {"\xB2\xC4\xC1\xCF", 100},                          // 材料
        {"\xB2\xBF\xCE\xBB\xBB\xF2\xD6\xE1\xCF\xDF", 100},  // 部位或轴线
        {"\xCA\xFD\xC1\xBF", 50},                           // 数量
        {"\xB3\xA4", 50},                                   // 长
        {"\xBF\xED", 50},                                   // 宽
        {"\xB8\xDF", 50},                                   // 高
        {"\xC3\xE6\xBB\xFD", 50},                           // 面积
        {"\xCC\xE5\xBB\xFD", 50},                           // 体积
        {kUnitHeading, 50},
        {kQuantityHeading, 100},
    };
    static const std::vector<ReportColumn> material = {
        {kNumberHeading, 50},
        {"\xB2\xC4\xC1\xCF\xC3\xFB\xB3\xC6\xBC\xB0\xB9\xE6\xB8\xF1", 110},  // 材料名称及规格
        {kUnitHeading, 120},
        {kQuantityHeading, 120},
    };
    static const std::vector<ReportColumn> none;
    switch (kind) {
        case ReportKind::kSummary:
            return summary;
        case ReportKind::kDetail:
            return detail;
        case ReportKind::kMaterial:
            return material;
        default:
            return none;
    }
}

const char* ReportTreeRootText(ReportKind kind) {
    switch (kind) {
        case ReportKind::kSummary:
        case ReportKind::kDetail:
            return kItemNameHeading;
        case ReportKind::kMaterial:
            return "\xB2\xC4\xC1\xCF\xC3\xFB\xB3\xC6";  // 材料名称
        default:
            return nullptr;
    }
}

}  // namespace quarrant
