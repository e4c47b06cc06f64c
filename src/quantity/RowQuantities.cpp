#include "quantity/RowQuantities.h"

#include <initializer_list>

#include "base/CNumbers.h"
#include "quantity/FormulaEvaluator.h"

namespace quarrant {

namespace {

std::string Product(const std::string& count, std::initializer_list<const std::string*> operands) {
    std::string formula = count;
    for (const std::string* operand : operands) {
        formula += "*(";
        formula += *operand;
        formula += ')';
    }
    return formula;
}

}  // namespace

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
            return Product(count, {&row.length});
        }
        return {};
    }
    if (row.unit == "m^2") {
        switch (form) {
            case QuantityForm::kLength:
                return Product(count, {&row.length, &row.width});
            case QuantityForm::kArea:
                return Product(count, {&row.area});
            case QuantityForm::kVolume:
                return {};
            case QuantityForm::kFilledFields:
                return !row.width.empty() ? Product(count, {&row.length, &row.width})
                                          : Product(count, {&row.area});
        }
    }
    if (row.unit == "m^3") {
        switch (form) {
            case QuantityForm::kLength:
                return Product(count, {&row.length, &row.width, &row.height});
            case QuantityForm::kArea:
                return Product(count, {&row.area, &row.height});
            case QuantityForm::kVolume:
                return Product(count, {&row.volume});
            case QuantityForm::kFilledFields:
                if (!row.width.empty()) {
                    return Product(count, {&row.length, &row.width, &row.height});
                }
                if (!row.area.empty()) {
                    return Product(count, {&row.area, &row.height});
                }
                if (!row.volume.empty()) {
                    return Product(count, {&row.volume});
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
