#include "project/DrawingCoverage.h"

#include "base/CNumbers.h"
#include "cad/CadIdentifierSet.h"

namespace quarrant {
namespace {

bool IsCountable(int type) {
    switch (type) {
        case kCadLine:
        case kCadArc:
        case kCadCircle:
        case kCadPolyline:
        case kCadSolid:
        case kCadInsert:
            return true;
        default:
            return false;
    }
}

void AppendLists(const QuantityRow& row, std::vector<std::int32_t>& out) {
    for (const std::vector<std::int32_t>* list : {&row.list1, &row.list2, &row.list3, &row.list4}) {
        out.insert(out.end(), list->begin(), list->end());
    }
}

// The count with a comma between each group of three digits.
std::string WithThousands(std::size_t value) {
    const std::string digits = FormatInt(static_cast<std::int64_t>(value));
    std::string out;
    out.reserve(digits.size() + digits.size() / 3);
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            out.push_back(',');
        }
        out.push_back(digits[i]);
    }
    return out;
}

}  // namespace

std::vector<std::int32_t> AssociatedIdentifiers(const QuantityRowMap& rows,
                                                std::string_view drawingName) {
    std::vector<std::int32_t> all;
    for (const auto entry : rows) {
        const QuantityRowPtr& row = entry.value;
        if (!row || row->drawingName != drawingName) {
            continue;
        }
        AppendLists(*row, all);
        for (const auto child : row->children) {
            if (child.value) {
                AppendLists(*child.value, all);
            }
        }
    }
    return CCadIdentifierSet(all).Identifiers();
}

CoverageCount CountCoverage(const CCadDrawing& drawing,
                            const std::vector<std::int32_t>& associated) {
    const CCadIdentifierSet set(associated);
    CoverageCount count;
    for (const CCadEntity& entity : drawing.entities) {
        if (!entity.record || !IsCountable(entity.type)) {
            continue;
        }
        ++count.total;
        if (set.Contains(entity.record->identifier)) {
            ++count.associated;
        }
    }
    return count;
}

std::string CoverageText(const CoverageCount& count) {
    const double percent = count.total == 0 ? 0.0
                                            : 100.0 * static_cast<double>(count.associated) /
                                                  static_cast<double>(count.total);
    std::string text = "\xD2\xD1\xCB\xE3\xC1\xBF ";  // 已算量
    text += WithThousands(count.associated);
    text += " / ";
    text += WithThousands(count.total);
    text += " \xCD\xBC\xD4\xAA\xA3\xA8";  // 图元（
    text += FormatFixed(percent, 1);
    text += "%\xA3\xA9";  // %）
    return text;
}

}  // namespace quarrant
