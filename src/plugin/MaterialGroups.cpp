#include "plugin/MaterialGroups.h"

#include <algorithm>

#include "base/HashMap17.h"

namespace quarrant {

std::vector<MaterialGroup> GroupMaterials(const Catalogue& materials) {
    HashMap17<std::string, std::vector<std::string>> groups;
    for (const auto& entry : materials) {
        const std::string& name = entry.key;
        const std::size_t blank = name.find(' ');
        if (blank == std::string::npos) {
            groups[name];
        } else {
            groups[name.substr(0, blank)].push_back(name.substr(blank + 1));
        }
    }
    std::vector<MaterialGroup> result;
    result.reserve(groups.size());
    for (auto entry : groups) {
        std::vector<std::string> leaves = std::move(entry.value);
        std::sort(leaves.begin(), leaves.end());
        result.push_back({entry.key, std::move(leaves)});
    }
    return result;
}

std::string MaterialName(std::string_view group, std::string_view leaf) {
    std::string name(group);
    name += ' ';
    name += leaf;
    return name;
}

}  // namespace quarrant
