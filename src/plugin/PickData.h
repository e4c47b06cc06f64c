#pragma once

// The text the host hands to SetCadData: the values part, "&", then the identifiers part.
// For a count the values are one number ("%d"); for a length, width or height they are
// measured values, each "%.2f" followed by "+". Each identifier is "%d" followed by ";".

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quarrant {

struct PickData {
    std::string values;                     // as it came
    std::vector<std::int32_t> identifiers;  // in order
};

// Splits the text at its first "&". Without "&" both parts are empty: the receiving field and
// list are emptied.
PickData SplitPickText(std::string_view text);

// Folds repeated values into a formula: every distinct "+"-terminated value once, in the order
// of the 17-bucket text map, followed by "*" and its count when it occurred more than once;
// joined by "+". A last value without "+" is left out. 2.50+2.50+2.50+1.20+ gives 2.50*3+1.20.
std::string CondenseValues(std::string_view values);

}  // namespace quarrant
