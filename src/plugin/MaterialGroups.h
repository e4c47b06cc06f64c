#pragma once

// The material catalogue as the material tree shows it: grouped by the text before the first
// blank ("工字钢 I20a" is the leaf "I20a" of the group "工字钢").

#include <string>
#include <string_view>
#include <vector>

#include "base/Catalogue.h"

namespace quarrant {

struct MaterialGroup {
    std::string name;                 // the text before the first blank, or the whole name
    std::vector<std::string> leaves;  // the texts after that blank, sorted; none for a name
                                      // without a blank
};

// The groups in the order of the 17-bucket text map of group names.
std::vector<MaterialGroup> GroupMaterials(const Catalogue& materials);

// The material name of a tree item: the group's text, or group, blank and leaf.
std::string MaterialName(std::string_view group, std::string_view leaf);

}  // namespace quarrant
