#pragma once

// How much of a drawing the quantity rows already cover: the entities associated with the rows
// of the drawing, and how many of the drawing's countable entities they are.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cad/CadDrawing.h"
#include "quantity/QuantityRow.h"

namespace quarrant {

// The identifiers of the entities associated with the rows of one drawing: every identifier in
// lists 1 to 4 of the top-level rows whose drawingName equals drawingName and of their child
// rows, ascending, without duplicates. This is the one definition of "associated": refreshing
// the marks of a drawing window marks exactly these, and the coverage counts them.
std::vector<std::int32_t> AssociatedIdentifiers(const QuantityRowMap& rows,
                                                std::string_view drawingName);

struct CoverageCount {
    std::size_t associated = 0;
    std::size_t total = 0;
};

// The countable top-level entities of the drawing (lines, arcs, circles, polylines, solids and
// block references) and how many of them are associated. Identifiers the drawing no longer
// holds are not counted.
CoverageCount CountCoverage(const CCadDrawing& drawing,
                            const std::vector<std::int32_t>& associated);

// The status-bar text (GBK), e.g. "已算量 1,234 / 5,678 图元（21.7%）"; a drawing without a
// countable entity shows 0.0%.
std::string CoverageText(const CoverageCount& count);

}  // namespace quarrant
