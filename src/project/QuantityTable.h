#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/Assert.h"
#include "project/TreeItemHandle.h"
#include "quantity/QuantityRow.h"

namespace quarrant {

class Project;

// "无图纸数据添加窗口": kind label of every table, display name of the data table.
inline constexpr const char* kDataTableLabel =
    "\xCE\xDE\xCD\xBC\xD6\xBD\xCA\xFD\xBE\xDD\xCC\xED\xBC\xD3\xB4\xB0\xBF\xDA";

// The 13 column headings of the data table, in column order.
inline const std::array<std::string, 13> kDataTableHeadings = {
    "\xD0\xF2\xBA\xC5",                                          // 序号
    "\xCF\xEE\xC4\xBF\xC3\xFB\xB3\xC6",                          // 项目名称
    "\xB2\xBF\xCE\xBB\xBB\xF2\xD6\xE1\xCF\xDF",                  // 部位或轴线
    "\xCA\xFD\xC1\xBF",                                          // 数量
    "\xB3\xA4",                                                  // 长
    "\xBF\xED",                                                  // 宽
    "\xB8\xDF",                                                  // 高
    "\xC3\xE6\xBB\xFD",                                          // 面积
    "\xCC\xE5\xBB\xFD",                                          // 体积
    "\xB5\xA5\xCE\xBB",                                          // 单位
    "\xB2\xC4\xC1\xCF\xBC\xB0\xB2\xC4\xC1\xCF\xB9\xE6\xB8\xF1",  // 材料及材料规格
    "\xB5\xA5\xCE\xBB\xD6\xD8\xC1\xBF\xA3\xA8\x6B\x67\xA3\xA9",  // 单位重量（kg）
    "\xB9\xA4\xB3\xCC\xC1\xBF",                                  // 工程量
};

// A table of a project: the data table, which holds every quantity row of the project, or one
// of the four report tables, which are computed from the data table and never saved.
class QuantityTable {
public:
    explicit QuantityTable(Project* owner, std::string name = kDataTableLabel)
        : parent(owner), displayName(std::move(name)) {}
    QuantityTable(const QuantityTable&) = delete;
    QuantityTable& operator=(const QuantityTable&) = delete;

    // The identifier of a new row or child row: the next row identifier plus 1, stored back.
    std::int32_t NewRowIdentifier() {
        if (nextRowIdentifier < INT32_MAX) {
            ++nextRowIdentifier;
        }
        // Rows are found by identifier: a new one must not be taken (reading a data file raises
        // the next identifier above every row's).
        QUARRANT_ASSERT(!rows.Contains(nextRowIdentifier));
        return nextRowIdentifier;
    }

    // The data table's headings and display name as a new project has them.
    void SetDefaultHeadings() {
        headings.assign(kDataTableHeadings.begin(), kDataTableHeadings.end());
    }

    Project* parent = nullptr;
    std::string kindLabel = kDataTableLabel;
    TreeItemHandle treeItem = nullptr;
    std::string displayName;  // tree node text: the label for the data table, else the title
    std::string fileName;     // "YZN%d" of the data file (data table only)
    std::int32_t nextRowIdentifier = 0;
    std::vector<std::string> headings;
    QuantityRowMap rows;  // top-level rows only; children hang below their parents
};

}  // namespace quarrant
