#include "cad/PickText.h"

#include <string_view>

#include "base/CNumbers.h"
#include "cad/LengthConversion.h"

namespace quarrant {
namespace {

void AppendValue(std::string& values, double length, const std::string& unitText,
                 const std::string& scaleText) {
    AppendFixed(values, ConvertLength(length, unitText, scaleText), 2);
    values += '+';
}

void AppendIdentifier(std::string& identifiers, const CCadEntity& entity) {
    identifiers += FormatInt(entity.record->identifier);
    identifiers += ';';
}

void AppendPathValues(std::string& values, const CMeasurePath& path, const std::string& unitText,
                      const std::string& scaleText) {
    const auto& points = path.points;
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        AppendValue(values,
                    StraightDistance(points[i].x, points[i].y, points[i + 1].x, points[i + 1].y),
                    unitText, scaleText);
    }
}

// Kinds whose identifiers go with measured paths.
bool IsMeasurableKind(int type) {
    return type == kCadLine || type == kCadArc || type == kCadCircle || type == kCadPolyline ||
           type == kCadDimension || type == kCadInsert || type == kCadSolid;
}

std::vector<std::int32_t> ParseIdentifiers(std::string_view text) {
    std::vector<std::int32_t> identifiers;
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t end = text.find(';', begin);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        if (end > begin) {
            identifiers.push_back(AtoiC(text.substr(begin, end - begin)));
        }
        begin = end + 1;
    }
    return identifiers;
}

}  // namespace

std::string BuildCountText(const CCadDrawing& drawing, const CCadSelection& selection,
                           float coordinatePrecision, float anglePrecision,
                           CExclusionMap& exclusionMap) {
    std::string identifiers;
    const int count = CountRepeatedGroups(drawing, selection.Entities(), coordinatePrecision,
                                          anglePrecision, exclusionMap, identifiers);
    std::string text = FormatInt(count);
    text += '&';
    text += identifiers;
    return text;
}

std::string BuildLengthText(const CCadSelection& selection, const std::string& unitText,
                            const std::string& scaleText) {
    std::string values;
    std::string identifiers;
    const CMeasurePath& current = selection.CurrentPath();
    if (current.points.size() >= 2) {
        AppendPathValues(values, current, unitText, scaleText);
    }
    for (const CMeasurePath& path : selection.ConfirmedPaths()) {
        AppendPathValues(values, path, unitText, scaleText);
    }

    if (!values.empty()) {
        for (const CCadEntity& entity : selection.Entities()) {
            if (entity.record && IsMeasurableKind(entity.type)) {
                AppendIdentifier(identifiers, entity);
            }
        }
    } else {
        for (const CCadEntity& entity : selection.Entities()) {
            if (!entity.record) {
                continue;
            }
            switch (entity.type) {
                case kCadLine: {
                    const auto* line = entity.As<CCadLine>();
                    AppendValue(
                        values,
                        StraightDistance(line->startX, line->startY, line->endX, line->endY),
                        unitText, scaleText);
                    AppendIdentifier(identifiers, entity);
                    break;
                }
                case kCadArc: {
                    const auto* arc = entity.As<CCadArc>();
                    double endAngle = arc->endAngle;
                    if (arc->startAngle > endAngle) {
                        endAngle += 360.0;
                    }
                    AppendValue(values, arc->radius * (endAngle - arc->startAngle) * kDegreeLength,
                                unitText, scaleText);
                    AppendIdentifier(identifiers, entity);
                    break;
                }
                case kCadCircle: {
                    AppendValue(values, entity.As<CCadCircle>()->radius * kCircleFactor, unitText,
                                scaleText);
                    AppendIdentifier(identifiers, entity);
                    break;
                }
                case kCadPolyline: {
                    const auto* polyline = entity.As<CCadPolyline>();
                    const int n = static_cast<int>(polyline->vertices.size());
                    for (int i = 0; i + 1 < n; ++i) {
                        AppendValue(values, PolylineSegmentLength(*polyline, i, i + 1), unitText,
                                    scaleText);
                    }
                    if ((polyline->flags & 1) != 0 && n >= 2) {
                        AppendValue(values, PolylineSegmentLength(*polyline, n - 1, 0), unitText,
                                    scaleText);
                    }
                    AppendIdentifier(identifiers, entity);
                    break;
                }
                default:
                    break;
            }
        }
    }
    return values + "&" + identifiers;
}

PickAnswer BuildPickAnswer(int mode, const CCadDrawing& drawing, const CCadSelection& selection,
                           const PickSettings& settings, CExclusionMap& exclusionMap) {
    PickAnswer answer;
    if (mode == 0 || mode == 4) {
        answer.answered = true;
        answer.text = BuildCountText(drawing, selection, settings.coordinatePrecision,
                                     settings.anglePrecision, exclusionMap);
        answer.dataMode = mode;
        std::string_view text = answer.text;
        answer.identifiersToSelect = ParseIdentifiers(text.substr(text.find('&') + 1));
    } else if (mode >= 1 && mode <= 3) {
        answer.answered = true;
        answer.text = BuildLengthText(selection, settings.unitText, settings.scaleText);
        answer.dataMode = mode;
    }
    return answer;
}

}  // namespace quarrant
