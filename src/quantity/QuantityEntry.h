#pragma once

// The record a data-entry page fills and hands to its host with WM_PAGE_ADDENTRY: one
// structure with up to 19 component lines. It crosses the plug-in boundary as it is, so it is
// header-only and compiled from this one source by Quarrant and by Ferrolet alike.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace quarrant {

// Index of each of the twelve texts of an entry or component, in this order.
enum EntryText : int {
    kEntryItemName = 0,    // 项目名称 (for the entry: the structure name)
    kEntryMaterial = 1,    // 材料及材料规格
    kEntryPartOrAxis = 2,  // 部位或轴线
    kEntryCount = 3,       // 数量 (for the entry: the structure count)
    kEntryLength = 4,      // 长
    kEntryWidth = 5,       // 宽
    kEntryHeight = 6,      // 高
    kEntryArea = 7,        // 面积
    kEntryVolume = 8,      // 体积
    kEntryUnit = 9,        // 单位
    kEntryQuantity = 10,   // 工程量
    kEntryUnitWeight = 11  // 单位重量（kg）
};
inline constexpr int kEntryTextCount = 12;
inline constexpr int kComponentCount = 19;

using EntryTexts = std::array<std::string, kEntryTextCount>;

// One component line of the page.
struct EntryComponent {
    std::int32_t used = 0;  // 1 once the line was set with "设置" in the component dialog
    EntryTexts texts;
    std::vector<std::int32_t> countEntities;   // counted for 数量
    std::vector<std::int32_t> lengthEntities;  // measured for 长, or for 面积 / 体积
    std::vector<std::int32_t> widthEntities;   // measured for 宽
    std::vector<std::int32_t> heightEntities;  // measured for 高
};

struct QuantityEntry {
    EntryTexts texts;
    std::vector<std::int32_t> entities;  // counted for the structure count
    std::array<EntryComponent, kComponentCount> components;

    // All texts empty, all lists emptied, all used flags 0: what the host leaves after an add.
    void Reset() {
        for (std::string& text : texts) {
            text.clear();
        }
        entities.clear();
        for (EntryComponent& component : components) {
            component = EntryComponent();
        }
    }
};

}  // namespace quarrant
