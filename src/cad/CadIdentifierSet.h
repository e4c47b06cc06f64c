#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quarrant {

// A set of entity identifiers, looked up in constant time without hashing: one byte per
// identifier up to the largest one held. Identifiers run from 0 up to the drawing's counter, so
// the bytes stay few; the rare identifier beyond a bound (a damaged file) is kept in a sorted
// list instead, so that it cannot make the byte map huge. Negative identifiers are never held
// (no top-level entity has one). Only read after it is built, so two threads may share it.
class CCadIdentifierSet {
public:
    CCadIdentifierSet() = default;
    explicit CCadIdentifierSet(const std::vector<std::int32_t>& identifiers);

    bool Contains(std::int32_t identifier) const {
        if (identifier < 0) {
            return false;
        }
        const auto index = static_cast<std::size_t>(identifier);
        if (index < m_flags.size()) {
            return m_flags[index] != 0;
        }
        return !m_beyond.empty() && ContainsBeyond(identifier);
    }
    // How many different identifiers the set holds.
    std::size_t size() const { return m_count; }
    bool empty() const { return m_count == 0; }
    // The identifiers held, ascending.
    std::vector<std::int32_t> Identifiers() const;

private:
    bool ContainsBeyond(std::int32_t identifier) const;

    std::vector<std::uint8_t> m_flags;
    std::vector<std::int32_t> m_beyond;  // identifiers past the byte map's bound, ascending
    std::size_t m_count = 0;
};

}  // namespace quarrant
