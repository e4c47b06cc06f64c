#pragma once

// The rules of one component line and of the structure it belongs to: which fields a unit
// enables in each measuring mode, the quantity formula with its format, the caption of a set
// line's button, and the structure's quantity and unit when it is added.

#include <cstdint>
#include <string>
#include <string_view>

#include "base/Status.h"
#include "quantity/QuantityEntry.h"

namespace quarrant {

// How the component dialog measures a line; the field 1005 holds the length, area or volume.
enum MeasuringMode : int {
    kMeasureLength = 0,  // 长×宽×高
    kMeasureArea = 1,    // 面积×高
    kMeasureVolume = 2   // 体积
};

// What choosing a unit does to the fields in a measuring mode. The field 1005 is never
// disabled.
struct UnitRule {
    enum Action {
        kNoChange,    // an unknown unit in length mode leaves the fields as they are
        kEnable,      // enable or disable width and height as given
        kRefuse,      // "单位只能为m^2或m^3": the unit field is emptied
        kForceCubic,  // volume mode: the unit becomes "m^3"
    };
    Action action = kNoChange;
    bool widthEnabled = false;
    bool heightEnabled = false;
};
UnitRule UnitRuleFor(int measuringMode, std::string_view unit);

// The component dialog's fields as typed (GBK).
struct ComponentFields {
    std::string material;
    std::string part;
    std::string count;
    std::string measure;  // field 1005: length, area or volume by measuring mode
    std::string width;
    std::string height;
    std::string unit;
    std::string unitWeight;
};

// The line's texts from the fields: 长, 面积 or 体积 by measuring mode; no width in the area
// mode, neither width nor height in the volume mode.
EntryTexts ComponentTextsFrom(int measuringMode, const ComponentFields& fields);

// The line's 工程量 (texts[10]) computed in single precision and formatted by unit: "%.2f" for
// m, "%.3f" for m^2, "%.4f" for m^3. Fails with the message of the first check that stops it:
// an empty required field, a missing unit, unbalanced notes or a wrong formula. In the volume
// mode the unit (texts[9]) becomes "m^3"; unitField is the unit as chosen at that moment.
Result<std::string> ComponentQuantity(int measuringMode, EntryTexts& texts,
                                      std::string_view unitField);

// "部位：A；长＝3；宽＝0.5；": each non-empty text of part, 长, 宽, 高, 面积, 体积 with its label.
std::string ComponentCaption(const EntryTexts& texts);

// The structure's 工程量 (the single-precision sum of the used lines' quantities, "%.3f") and
// unit ("kg" when the last used line has a unit weight, else that line's unit). False, with the
// entry unchanged, when no line is used.
bool TotalStructure(QuantityEntry& entry);

}  // namespace quarrant
