#include "plugin/PickData.h"

#include "base/CNumbers.h"
#include "base/HashMap17.h"

namespace quarrant {

PickData SplitPickText(std::string_view text) {
    PickData data;
    const std::size_t amp = text.find('&');
    if (amp == std::string_view::npos) {
        return data;
    }
    data.values = std::string(text.substr(0, amp));
    // Identifiers are each closed by ";". Empty pieces carry no identifier (the host never
    // writes them; atoi would turn them into a spurious 0).
    std::string_view rest = text.substr(amp + 1);
    for (std::size_t end = rest.find(';'); end != std::string_view::npos; end = rest.find(';')) {
        const std::string_view piece = rest.substr(0, end);
        if (!TrimC(piece).empty()) {
            data.identifiers.push_back(AtoiC(piece));
        }
        rest.remove_prefix(end + 1);
    }
    return data;
}

std::string CondenseValues(std::string_view values) {
    HashMap17<std::string, int> counts;
    for (std::size_t end = values.find('+'); end != std::string_view::npos;
         end = values.find('+')) {
        if (end > 0) {
            ++counts[std::string(values.substr(0, end))];
        }
        values.remove_prefix(end + 1);
    }
    std::string formula;
    for (const auto& entry : counts) {
        if (!formula.empty()) {
            formula += '+';
        }
        formula += entry.key;
        if (entry.value > 1) {
            formula += '*';
            formula += FormatInt(entry.value);
        }
    }
    return formula;
}

}  // namespace quarrant
