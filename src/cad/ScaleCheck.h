#pragma once

// The check of a drawing's unit and scale against its own dimensions. Dimension texts on our
// drawings give real lengths in millimetres, so each linear or aligned dimension tells how
// many metres one drawing unit stands for; the median of those, when enough of them agree,
// is compared with what the chosen unit and scale give (ConvertLength of one unit).

#include <optional>
#include <string>
#include <string_view>

#include "cad/CadDrawing.h"
#include "cad/Geometry.h"

namespace quarrant {

// Two values agree when they differ by at most this share of the estimate.
inline constexpr double kScaleAgreement = 0.01;
// Fewer agreeing dimensions than this give no estimate.
inline constexpr int kScaleMinimumAgreeing = 3;

struct ScaleEstimate {
    int usable = 0;    // dimensions that gave a value
    int agreeing = 0;  // of those, how many agree with the median
    // The median metres per drawing unit, set only when at least kScaleMinimumAgreeing agree.
    std::optional<double> metresPerUnit;
};

// The shown value of a dimension as a number: its text override when that is a plain number
// ("6000", " 1500.5 "), else its measurement (group 42); nothing when neither is a number.
std::optional<double> DimensionShownValue(const CCadDimension& dimension);

// What the dimensions of a drawing (top-level DIMENSION entities of a normalised drawing)
// say about its scale: for every linear, rotated or aligned dimension with definition points
// 13 and 14 and a positive shown value, shown value x 0.001 / the distance between the two
// points (along the dimension's direction for a rotated one).
ScaleEstimate EstimateScale(const CCadDrawing& drawing);

// Metres per drawing unit that the unit and scale texts give.
double MetresPerUnit(std::string_view unitText, std::string_view scaleText);

// Whether the unit and scale texts differ from the estimate by more than kScaleAgreement
// (never when there is no estimate).
bool ScaleDisagrees(const ScaleEstimate& estimate, std::string_view unitText,
                    std::string_view scaleText);

// The scale text ("1:100", "1:1", "100:1") that would make the unit agree with the estimate's
// metres per unit; empty when there is no estimate or the unit has no factor.
std::string AgreeingScaleText(const ScaleEstimate& estimate, std::string_view unitText);

// What the add-drawing dialog shows under the scale field, for the chosen unit:
// "图中12处尺寸标注中有11处表明：单位mm时比例应为1:1"; empty when there is no estimate.
std::string ScaleEstimateText(const ScaleEstimate& estimate, std::string_view unitText);

// The question asked before a drawing is added with a unit and scale that disagree:
// "所选单位和比例与图中尺寸标注不符（应为1:1），仍然添加吗？".
std::string ScaleMismatchQuestion(const ScaleEstimate& estimate, std::string_view unitText);

// The unit text the program knows for a declared $INSUNITS value (4 "mm", 5 "cm", 6 "m"), or
// empty.
std::string UnitForInsertionUnits(int insertionUnits);

// The check of the unit and scale on the drawing itself: the estimator clicks two points and
// types the real length between them in metres.
struct PointScaleCheck {
    bool valid = false;         // false when the points coincide or the real length is not > 0
    double shownMetres = 0.0;   // the length the unit and scale give for the two points
    double realMetres = 0.0;    // the length typed
    double factor = 0.0;        // real / shown
    bool disagrees = false;     // they differ by more than kScaleAgreement
    std::string agreeingScale;  // the scale text that would make them agree (when disagrees)
    std::string message;        // what the window shows (GBK); a question when disagrees
};

PointScaleCheck CheckScaleByPoints(const CadPoint& first, const CadPoint& second, double realMetres,
                                   std::string_view unitText, std::string_view scaleText);

}  // namespace quarrant
