#pragma once

// The quantities the row views compute: the structure quantity of a top-level row from its
// children, and the quantity of a component row from its count and dimensions after a cell
// edit.

#include <string>

#include "quantity/QuantityRow.h"

namespace quarrant {

// "kg": a structure of this unit weighs its components.
inline constexpr const char* kKilogramUnit = "kg";

// 工程量 of a top-level row = atof(数量) x the single-precision sum over its children of
// atof(工程量), or of atof(单位重量) x atof(工程量) when the row's unit is exactly "kg";
// formatted "%.3f".
void RecomputeStructureQuantity(QuantityRow& top);

// Which formula a component's quantity is recomputed with: after an edit of 长, 宽 or 高
// (length), of 面积 (area), of 体积 (volume), or of 数量 (chosen by the filled fields).
enum class QuantityForm { kLength, kArea, kVolume, kFilledFields };

// The formula of the row's unit ("m", "m^2", "m^3") and form: the count as stored, then each
// operand in round brackets, joined with "*" (数量*(长)*(宽)). Empty when the form has none.
std::string QuantityFormula(const QuantityRow& row, QuantityForm form);

// Evaluates the formula and, when it evaluates, stores the "%.3f" value as the row's 工程量.
// False (the quantity unchanged, no message) when there is no formula or it does not evaluate.
bool RecomputeComponentQuantity(QuantityRow& row, QuantityForm form);

}  // namespace quarrant
