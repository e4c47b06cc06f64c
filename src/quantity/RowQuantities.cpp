#include "quantity/RowQuantities.h"

#include <initializer_list>

#include "base/CNumbers.h"
#include "quantity/FormulaEvaluator.h"
#include "quantity/QuantityFormula.h"

namespace quarrant {

void RecomputeStructureQuantity(QuantityRow& top) {
    const bool weighed = top.unit == kKilogramUnit;
    float sum = 0.0f;
    for (auto entry : top.children) {
        const QuantityRow* child = entry.value.get();
        if (child == nullptr) {
            continue;
        }
        // The sum is single precision, each term double, as sum += atof(...) computes it.
        if (weighed) {
            sum = static_cast<float>(sum + AtofC(child->unitWeight) * AtofC(child->quantity));
        } else {
            sum = static_cast<float>(sum + AtofC(child->quantity));
        }
    }
    top.quantity.clear();
    AppendFixed(top.quantity, AtofC(top.count) * sum, 3);
}

std::string QuantityFormula(const QuantityRow& row, QuantityForm form) {
    const std::string& count = row.count;
    if (row.unit == "m") {
        if (form == QuantityForm::kLength || form == QuantityForm::kFilledFields) {
            return CountTimes(count, {&row.length});
        }
        return {};
    }
    if (row.unit == "m^2") {
        switch (form) {
            case QuantityForm::kLength:
                return CountTimes(count, {&row.length, &row.width});
            case QuantityForm::kArea:
                return CountTimes(count, {&row.area});
            case QuantityForm::kVolume:
                return {};
            case QuantityForm::kFilledFields:
                return !row.width.empty() ? CountTimes(count, {&row.length, &row.width})
                                          : CountTimes(count, {&row.area});
        }
    }
    if (row.unit == "m^3") {
        switch (form) {
            case QuantityForm::kLength:
                return CountTimes(count, {&row.length, &row.width, &row.height});
            case QuantityForm::kArea:
                return CountTimes(count, {&row.area, &row.height});
            case QuantityForm::kVolume:
                return CountTimes(count, {&row.volume});
            case QuantityForm::kFilledFields:
                if (!row.width.empty()) {
                    return CountTimes(count, {&row.length, &row.width, &row.height});
                }
                if (!row.area.empty()) {
                    return CountTimes(count, {&row.area, &row.height});
                }
                if (!row.volume.empty()) {
                    return CountTimes(count, {&row.volume});
                }
                return {};
        }
    }
    return {};
}

bool RecomputeComponentQuantity(QuantityRow& row, QuantityForm form) {
    const std::string formula = QuantityFormula(row, form);
    if (formula.empty()) {
        return false;
    }
    std::string value;
    if (EvaluateFormula(formula, value) != kEvaluateOk) {
        return false;
    }
    row.quantity = std::move(value);
    return true;
}

}  // namespace quarrant
