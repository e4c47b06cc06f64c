#include "plugin/ComponentRules.h"

#include <initializer_list>

#include "base/CNumbers.h"
#include "plugin/PageTexts.h"
#include "quantity/FormulaEvaluator.h"
#include "quantity/QuantityFormula.h"

namespace quarrant {
namespace {

constexpr std::string_view kMetre = "m";
constexpr std::string_view kSquareMetre = "m^2";
constexpr std::string_view kCubicMetre = "m^3";
constexpr std::string_view kKilogram = "kg";

bool AnyEmpty(std::initializer_list<const std::string*> texts) {
    for (const std::string* text : texts) {
        if (text->empty()) {
            return true;
        }
    }
    return false;
}

}  // namespace

UnitRule UnitRuleFor(int measuringMode, std::string_view unit) {
    switch (measuringMode) {
        case kMeasureLength:
            if (unit == kMetre) {
                return {UnitRule::kEnable, false, false};
            }
            if (unit == kSquareMetre) {
                return {UnitRule::kEnable, true, false};
            }
            if (unit == kCubicMetre) {
                return {UnitRule::kEnable, true, true};
            }
            return {UnitRule::kNoChange, false, false};
        case kMeasureArea:
            if (unit == kSquareMetre) {
                return {UnitRule::kEnable, false, false};
            }
            if (unit == kCubicMetre) {
                return {UnitRule::kEnable, false, true};
            }
            return {UnitRule::kRefuse, false, false};
        default:
            return {UnitRule::kForceCubic, false, false};
    }
}

EntryTexts ComponentTextsFrom(int measuringMode, const ComponentFields& fields) {
    EntryTexts texts;
    texts[kEntryMaterial] = fields.material;
    texts[kEntryPartOrAxis] = fields.part;
    texts[kEntryUnit] = fields.unit;
    texts[kEntryCount] = fields.count;
    texts[kEntryUnitWeight] = fields.unitWeight;
    switch (measuringMode) {
        case kMeasureLength:
            texts[kEntryLength] = fields.measure;
            texts[kEntryWidth] = fields.width;
            texts[kEntryHeight] = fields.height;
            break;
        case kMeasureArea:
            texts[kEntryArea] = fields.measure;
            texts[kEntryHeight] = fields.height;
            break;
        default:
            texts[kEntryVolume] = fields.measure;
            break;
    }
    return texts;
}

Result<std::string> ComponentQuantity(int measuringMode, EntryTexts& texts,
                                      std::string_view unitField) {
    const std::string& count = texts[kEntryCount];
    const std::string& length = texts[kEntryLength];
    const std::string& width = texts[kEntryWidth];
    const std::string& height = texts[kEntryHeight];
    const std::string& area = texts[kEntryArea];
    const std::string& volume = texts[kEntryVolume];
    const std::string& unit = texts[kEntryUnit];

    std::string formula;
    int decimals = 0;
    if (measuringMode == kMeasureLength) {
        if (unit == kMetre) {
            if (AnyEmpty({&count, &length})) {
                return Status::Failure(kCountLengthEmpty);
            }
            formula = CountTimes(count, {&length});
            decimals = 2;
        } else if (unit == kSquareMetre) {
            if (AnyEmpty({&count, &length, &width})) {
                return Status::Failure(kCountLengthWidthEmpty);
            }
            formula = CountTimes(count, {&length, &width});
            decimals = 3;
        } else if (unit == kCubicMetre) {
            if (AnyEmpty({&count, &length, &width, &height})) {
                return Status::Failure(kCountLengthWidthHeightEmpty);
            }
            formula = CountTimes(count, {&length, &width, &height});
            decimals = 4;
        } else {
            return Status::Failure(kUnitEmpty);
        }
    } else if (measuringMode == kMeasureArea) {
        if (unit == kSquareMetre) {
            if (AnyEmpty({&count, &area})) {
                return Status::Failure(kCountAreaEmpty);
            }
            formula = CountTimes(count, {&area});
            decimals = 3;
        } else if (unit == kCubicMetre) {
            if (AnyEmpty({&count, &area, &height})) {
                return Status::Failure(kCountAreaHeightEmpty);
            }
            formula = CountTimes(count, {&area, &height});
            decimals = 4;
        } else {
            return Status::Failure(kUnitEmpty);
        }
    } else {
        texts[kEntryUnit] = std::string(kCubicMetre);
        if (AnyEmpty({&count, &volume})) {
            return Status::Failure(unitField == kSquareMetre ? kCountVolumeEmptyAfterSquare
                                                             : kCountVolumeEmpty);
        }
        formula = CountTimes(count, {&volume});
        decimals = 4;
    }

    float value = 0.0f;
    switch (EvaluateFormula(formula, value)) {
        case 0:
            return FormatFixed(value, decimals);
        case -1:
            return Status::Failure(kNotesUnbalanced);
        default:
            return Status::Failure(kFormulaWrong);
    }
}

std::string ComponentCaption(const EntryTexts& texts) {
    static constexpr struct {
        int text;
        const char* label;
    } kParts[] = {{kEntryPartOrAxis, kCaptionPart}, {kEntryLength, kCaptionLength},
                  {kEntryWidth, kCaptionWidth},     {kEntryHeight, kCaptionHeight},
                  {kEntryArea, kCaptionArea},       {kEntryVolume, kCaptionVolume}};
    std::string caption;
    for (const auto& part : kParts) {
        if (!texts[part.text].empty()) {
            caption += part.label;
            caption += texts[part.text];
            caption += kCaptionSeparator;
        }
    }
    return caption;
}

bool TotalStructure(QuantityEntry& entry) {
    float sum = 0.0f;
    bool used = false;
    std::string unit;
    for (const EntryComponent& component : entry.components) {
        if (component.used != 1) {
            continue;
        }
        // float += double, as the C library would compute it.
        sum = static_cast<float>(sum + AtofC(component.texts[kEntryQuantity]));
        unit = component.texts[kEntryUnitWeight].empty() ? component.texts[kEntryUnit]
                                                         : std::string(kKilogram);
        used = true;
    }
    if (used) {
        entry.texts[kEntryUnit] = unit;
        entry.texts[kEntryQuantity] = FormatFixed(sum, 3);
    }
    return used;
}

}  // namespace quarrant
