#pragma once

// The material and structure catalogues: text-keyed maps of three-text records, owned by the
// application and edited by the data-entry page across the plug-in boundary. Header-only so
// that both sides compile the same layout.

#include <string>

#include "base/HashMap17.h"

namespace quarrant {

struct CatalogueRecord {
    std::string name;    // material: name and specification; structure: name
    std::string second;  // material: unit; structure: empty
    std::string third;   // material: unit weight; structure: empty
};

using Catalogue = HashMap17<std::string, CatalogueRecord>;

}  // namespace quarrant
