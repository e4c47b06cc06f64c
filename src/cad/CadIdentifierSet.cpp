#include "cad/CadIdentifierSet.h"

#include <algorithm>

namespace quarrant {
namespace {

// Identifiers below this many are held in the byte map (16 MB at most).
constexpr std::int32_t kByteMapBound = 1 << 24;

}  // namespace

CCadIdentifierSet::CCadIdentifierSet(const std::vector<std::int32_t>& identifiers) {
    std::int32_t largest = -1;
    for (const std::int32_t identifier : identifiers) {
        if (identifier < kByteMapBound) {
            largest = std::max(largest, identifier);
        }
    }
    m_flags.assign(static_cast<std::size_t>(largest + 1), 0);
    for (const std::int32_t identifier : identifiers) {
        if (identifier < 0) {
            continue;
        }
        if (identifier < kByteMapBound) {
            std::uint8_t& flag = m_flags[static_cast<std::size_t>(identifier)];
            m_count += flag == 0 ? 1 : 0;
            flag = 1;
        } else {
            m_beyond.push_back(identifier);
        }
    }
    std::sort(m_beyond.begin(), m_beyond.end());
    m_beyond.erase(std::unique(m_beyond.begin(), m_beyond.end()), m_beyond.end());
    m_count += m_beyond.size();
}

bool CCadIdentifierSet::ContainsBeyond(std::int32_t identifier) const {
    return std::binary_search(m_beyond.begin(), m_beyond.end(), identifier);
}

std::vector<std::int32_t> CCadIdentifierSet::Identifiers() const {
    std::vector<std::int32_t> identifiers;
    identifiers.reserve(m_count);
    for (std::size_t i = 0; i < m_flags.size(); ++i) {
        if (m_flags[i] != 0) {
            identifiers.push_back(static_cast<std::int32_t>(i));
        }
    }
    identifiers.insert(identifiers.end(), m_beyond.begin(), m_beyond.end());
    return identifiers;
}

}  // namespace quarrant
