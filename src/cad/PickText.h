#pragma once

// The text the drawing window hands to the data-entry page when the page asks for values from
// the drawing (pick modes 0 to 4): a count of repeated groups with the identifiers of their
// entities, or picked lengths in metres with the identifiers they came from.

#include <cstdint>
#include <string>
#include <vector>

#include "cad/CadDrawing.h"
#include "cad/CadSelection.h"
#include "cad/GroupCounter.h"

namespace quarrant {

// What a pick needs besides the selection: the drawing's unit and scale texts (GBK, as stored
// with the drawing) and the two precisions of the settings.
struct PickSettings {
    std::string unitText;
    std::string scaleText;
    float coordinatePrecision = 1.0f;
    float anglePrecision = 0.01f;
};

struct PickAnswer {
    bool answered = false;  // false for a mode other than 0 to 4
    std::string text;       // the text for the page
    int dataMode = 0;       // the mode the page is told: 4 for pick mode 4, 0 for 0, else m
    // Modes 0 and 4: the identifiers of the text, in order, to be selected afterwards.
    std::vector<std::int32_t> identifiersToSelect;
};

// Count text (modes 0 and 4): the count "%d", "&", then the identifier text of
// CountRepeatedGroups.
std::string BuildCountText(const CCadDrawing& drawing, const CCadSelection& selection,
                           float coordinatePrecision, float anglePrecision,
                           CExclusionMap& exclusionMap);

// Length text (modes 1 to 3): "values&identifiers". The values are the segments of the
// current path and of every confirmed path, or, when there are none, the lengths of the
// selected lines, arcs, circles and polylines; each is converted to metres and written "%.2f"
// followed by "+". Identifiers are written "%d" followed by ";".
std::string BuildLengthText(const CCadSelection& selection, const std::string& unitText,
                            const std::string& scaleText);

// The answer to a pick request of mode 0 to 4.
PickAnswer BuildPickAnswer(int mode, const CCadDrawing& drawing, const CCadSelection& selection,
                           const PickSettings& settings, CExclusionMap& exclusionMap);

}  // namespace quarrant
