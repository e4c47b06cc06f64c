#include "quantity/FormulaEvaluator.h"

namespace quarrant {

int EvaluateFormula(const std::string&, std::string&) { return -2; }
int EvaluateFormula(const std::string&, float&) { return -2; }

}  // namespace quarrant
