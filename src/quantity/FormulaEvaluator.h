#pragma once

#include <string>

namespace quarrant {

// Removes notes ("<...>") and evaluates a formula. Returns 0 on success (value delivered),
// -1 when the notes are unbalanced, -2 for a formula error; on -1 and -2 the output is left
// unchanged.
int EvaluateFormula(const std::string& text, std::string& valueText);  // "%.3f" text
int EvaluateFormula(const std::string& text, float& value);            // the page's form

}  // namespace quarrant
