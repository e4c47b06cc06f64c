// Formula texts of any bytes: both forms of EvaluateFormula must agree on the code, deliver a
// finite value only on 0, and leave the output alone otherwise.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "quantity/FormulaEvaluator.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);

    const std::string untouched = "untouched";
    std::string valueText = untouched;
    int textCode = quarrant::EvaluateFormula(text, valueText);

    const float floatUntouched = 12345.0f;
    float value = floatUntouched;
    int floatCode = quarrant::EvaluateFormula(text, value);

    if (textCode != 0 && textCode != -1 && textCode != -2) {
        std::abort();
    }
    if (textCode != 0 && valueText != untouched) {
        std::abort();
    }
    if (floatCode != 0 && value != floatUntouched) {
        std::abort();
    }
    if (textCode == 0) {
        // Digits, an optional sign and exactly three decimals.
        std::size_t point = valueText.find('.');
        if (point == std::string::npos || valueText.size() - point != 4 ||
            valueText.find_first_not_of("-0123456789.") != std::string::npos) {
            std::abort();
        }
    }
    // The float form refuses only what a float cannot hold.
    if (floatCode != textCode && !(textCode == 0 && floatCode == -2)) {
        std::abort();
    }
    if (floatCode == 0 && !std::isfinite(value)) {
        std::abort();
    }
    return 0;
}
