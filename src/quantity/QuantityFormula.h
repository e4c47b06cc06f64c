#pragma once

// The quantity formula of a component line, as both the data-entry page and the row views
// compose it: the count as typed, then each operand as typed in round brackets, joined by "*"
// (数量*(长)*(宽)), so that notes and formulas inside the fields carry over. Header-only: the
// plug-in compiles it too.

#include <initializer_list>
#include <string>

namespace quarrant {

inline std::string CountTimes(const std::string& count,
                              std::initializer_list<const std::string*> operands) {
    std::string formula = count;
    for (const std::string* operand : operands) {
        formula += "*(";
        formula += *operand;
        formula += ')';
    }
    return formula;
}

}  // namespace quarrant
