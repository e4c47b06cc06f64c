#include "cad/ScaleCheck.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "base/CNumbers.h"
#include "cad/LengthConversion.h"

namespace quarrant {

namespace {

// Group 70 keeps the kind in its low bits: 0 rotated (horizontal and vertical included),
// 1 aligned; higher bits are flags.
constexpr int kDimensionKindMask = 0x07;
constexpr int kRotatedDimension = 0;
constexpr int kAlignedDimension = 1;

// Digits with at most one decimal point, an optional sign, blanks around: "6000", "-2.5".
bool IsPlainNumber(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        text.remove_prefix(1);
    }
    int digits = 0;
    int points = 0;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            ++digits;
        } else if (c == '.') {
            ++points;
        } else {
            return false;
        }
    }
    return digits > 0 && points <= 1;
}

// The distance the dimension measures between points 13 and 14, in drawing units. The
// drawing is normalised (Y down), so the direction of rotation r is (cos r, -sin r).
double MeasuredDistance(const CCadDimension& dimension, int kind) {
    double dx = dimension.point14.x - dimension.point13.x;
    double dy = dimension.point14.y - dimension.point13.y;
    if (kind == kAlignedDimension) {
        return std::hypot(dx, dy);
    }
    double radians = dimension.rotation * (3.14159265358979323846 / 180.0);
    return std::fabs(dx * std::cos(radians) - dy * std::sin(radians));
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    std::size_t middle = values.size() / 2;
    if (values.size() % 2 == 1) {
        return values[middle];
    }
    return (values[middle - 1] + values[middle]) / 2.0;
}

bool Agrees(double value, double estimate) {
    return std::fabs(value - estimate) <= kScaleAgreement * estimate;
}

// A positive number written with at most four significant digits and no trailing zeros.
std::string ScaleNumber(double value) {
    double rounded = std::round(value);
    if (std::fabs(value - rounded) <= kScaleAgreement * value) {
        value = rounded;
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.4g", value);
    return buffer;
}

}  // namespace

std::optional<double> DimensionShownValue(const CCadDimension& dimension) {
    if (IsPlainNumber(dimension.textOverride)) {
        return AtofC(dimension.textOverride);
    }
    if (IsPlainNumber(dimension.measurement)) {
        return AtofC(dimension.measurement);
    }
    return std::nullopt;
}

ScaleEstimate EstimateScale(const CCadDrawing& drawing) {
    std::vector<double> values;
    for (const CCadEntity& entity : drawing.entities) {
        if (entity.type != kCadDimension) {
            continue;
        }
        const auto* dimension = entity.As<CCadDimension>();
        int kind = dimension->dimensionType & kDimensionKindMask;
        if ((kind != kRotatedDimension && kind != kAlignedDimension) ||
            dimension->point13.present == 0 || dimension->point14.present == 0) {
            continue;
        }
        std::optional<double> shown = DimensionShownValue(*dimension);
        double distance = MeasuredDistance(*dimension, kind);
        if (!shown || !(*shown > 0.0) || !(distance > 0.0) || !std::isfinite(*shown / distance)) {
            continue;
        }
        values.push_back(*shown * 0.001 / distance);
    }
    ScaleEstimate estimate;
    estimate.usable = static_cast<int>(values.size());
    if (values.empty()) {
        return estimate;
    }
    double median = Median(values);
    estimate.agreeing = static_cast<int>(
        std::count_if(values.begin(), values.end(), [&](double v) { return Agrees(v, median); }));
    if (estimate.agreeing >= kScaleMinimumAgreeing && median > 0.0) {
        estimate.metresPerUnit = median;
    }
    return estimate;
}

double MetresPerUnit(std::string_view unitText, std::string_view scaleText) {
    return ConvertLength(1.0, unitText, scaleText);
}

bool ScaleDisagrees(const ScaleEstimate& estimate, std::string_view unitText,
                    std::string_view scaleText) {
    if (!estimate.metresPerUnit) {
        return false;
    }
    return !Agrees(MetresPerUnit(unitText, scaleText), *estimate.metresPerUnit);
}

std::string AgreeingScaleText(const ScaleEstimate& estimate, std::string_view unitText) {
    double unitFactor = MetresPerUnit(unitText, "1:1");
    if (!estimate.metresPerUnit || !(unitFactor > 0.0)) {
        return {};
    }
    double ratio = *estimate.metresPerUnit / unitFactor;
    if (ratio >= 1.0) {
        return ScaleNumber(ratio) + ":1";
    }
    return "1:" + ScaleNumber(1.0 / ratio);
}

std::string ScaleEstimateText(const ScaleEstimate& estimate, std::string_view unitText) {
    std::string scale = AgreeingScaleText(estimate, unitText);
    if (scale.empty()) {
        return {};
    }
    return "\xCD\xBC\xD6\xD0" + FormatInt(estimate.usable) +             // 图中
           "\xB4\xA6\xB3\xDF\xB4\xE7\xB1\xEA\xD7\xA2\xD6\xD0\xD3\xD0" +  // 处尺寸标注中有
           FormatInt(estimate.agreeing) +
           "\xB4\xA6\xB1\xED\xC3\xF7\xA3\xBA\xB5\xA5\xCE\xBB" +  // 处表明：单位
           std::string(unitText) + "\xCA\xB1\xB1\xC8\xC0\xFD\xD3\xA6\xCE\xAA" +  // 时比例应为
           scale;
}

std::string ScaleMismatchQuestion(const ScaleEstimate& estimate, std::string_view unitText) {
    // 所选单位和比例与图中尺寸标注不符（应为 ... ），仍然添加吗？
    return "\xCB\xF9\xD1\xA1\xB5\xA5\xCE\xBB\xBA\xCD\xB1\xC8\xC0\xFD\xD3\xEB\xCD\xBC\xD6\xD0\xB3"
           "\xDF"
           "\xB4\xE7\xB1\xEA\xD7\xA2\xB2\xBB\xB7\xFB\xA3\xA8\xD3\xA6\xCE\xAA" +
           AgreeingScaleText(estimate, unitText) +
           "\xA3\xA9\xA3\xAC\xC8\xD4\xC8\xBB\xCC\xED\xBC\xD3\xC2\xF0\xA3\xBF";
}

std::string UnitForInsertionUnits(int insertionUnits) {
    switch (insertionUnits) {
        case 4:
            return "mm";
        case 5:
            return "cm";
        case 6:
            return "m";
        default:
            return {};
    }
}

PointScaleCheck CheckScaleByPoints(const CadPoint& first, const CadPoint& second, double realMetres,
                                   std::string_view unitText, std::string_view scaleText) {
    PointScaleCheck check;
    check.realMetres = realMetres;
    const double distance = std::hypot(second.x - first.x, second.y - first.y);
    if (!(realMetres > 0.0) || !std::isfinite(realMetres)) {
        // 实际长度必须是大于0的数。
        check.message =
            "\xCA\xB5\xBC\xCA\xB3\xA4\xB6\xC8\xB1\xD8\xD0\xEB\xCA\xC7\xB4\xF3\xD3\xDA"
            "0\xB5\xC4\xCA\xFD\xA1\xA3";
        return check;
    }
    const double unitFactor = MetresPerUnit(unitText, scaleText);
    if (!(distance > 0.0) || !std::isfinite(distance) || !(unitFactor > 0.0)) {
        // 两点重合，无法校核比例。
        check.message =
            "\xC1\xBD\xB5\xE3\xD6\xD8\xBA\xCF\xA3\xAC\xCE\xDE\xB7\xA8\xD0\xA3\xBA\xCB"
            "\xB1\xC8\xC0\xFD\xA1\xA3";
        return check;
    }
    check.valid = true;
    check.shownMetres = distance * unitFactor;
    check.factor = realMetres / check.shownMetres;
    // The same agreement rule as the dimensions' check: the real metres per drawing unit
    // stand in for the dimensions' estimate.
    ScaleEstimate real;
    real.metresPerUnit = realMetres / distance;
    check.disagrees = !Agrees(unitFactor, *real.metresPerUnit);
    if (check.disagrees) {
        check.agreeingScale = AgreeingScaleText(real, unitText);
    }
    // 按当前单位和比例，两点间长度为 ... 米；实际长度为 ... 米，实际与图上之比为 ... 。
    check.message =
        "\xB0\xB4\xB5\xB1\xC7\xB0\xB5\xA5\xCE\xBB\xBA\xCD\xB1\xC8\xC0\xFD\xA3\xAC\xC1"
        "\xBD\xB5\xE3\xBC\xE4\xB3\xA4\xB6\xC8\xCE\xAA" +
        FormatFixed(check.shownMetres, 3) +
        "\xC3\xD7\xA3\xBB\xCA\xB5\xBC\xCA\xB3\xA4\xB6\xC8\xCE\xAA" + FormatFixed(realMetres, 3) +
        "\xC3\xD7\xA3\xAC\xCA\xB5\xBC\xCA\xD3\xEB\xCD\xBC\xC9\xCF\xD6\xAE\xB1\xC8\xCE"
        "\xAA" +
        FormatFixed(check.factor, 4) + "\xA1\xA3\n";
    if (!check.disagrees) {
        // 单位和比例与实际相符。
        check.message +=
            "\xB5\xA5\xCE\xBB\xBA\xCD\xB1\xC8\xC0\xFD\xD3\xEB\xCA\xB5\xBC\xCA\xCF\xE0"
            "\xB7\xFB\xA1\xA3";
    } else {
        // 单位和比例与实际不符，比例应为 ... ，改用此比例吗？已有数据不会自动改变。
        check.message +=
            "\xB5\xA5\xCE\xBB\xBA\xCD\xB1\xC8\xC0\xFD\xD3\xEB\xCA\xB5\xBC\xCA\xB2\xBB"
            "\xB7\xFB\xA3\xAC\xB1\xC8\xC0\xFD\xD3\xA6\xCE\xAA" +
            check.agreeingScale +
            "\xA3\xAC\xB8\xC4\xD3\xC3\xB4\xCB\xB1\xC8\xC0\xFD\xC2\xF0\xA3\xBF\xD2\xD1"
            "\xD3\xD0\xCA\xFD\xBE\xDD\xB2\xBB\xBB\xE1\xD7\xD4\xB6\xAF\xB8\xC4\xB1\xE4"
            "\xA1\xA3";
    }
    return check;
}

}  // namespace quarrant
