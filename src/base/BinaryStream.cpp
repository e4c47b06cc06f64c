#include "base/BinaryStream.h"

#include <algorithm>
#include <limits>

#include "base/CNumbers.h"

namespace quarrant {

namespace {

// A source is read in chunks of this size; a field longer than that makes the buffer grow.
constexpr std::size_t kChunkBytes = std::size_t{1} << 20;

}  // namespace

BinaryReader::BinaryReader(BinarySource& source) : m_source(&source) {}

bool BinaryReader::Fill(std::size_t wanted) {
    if (m_source == nullptr || m_failed) {
        return false;
    }
    std::size_t have = m_data.size() - m_pos;
    if (wanted > have + m_source->Left()) {
        return false;
    }
    m_dropped += m_pos;
    std::size_t capacity = std::max(m_capacity, kChunkBytes);
    while (capacity < wanted) {
        capacity *= 2;
    }
    if (capacity != m_capacity) {
        auto bigger = std::make_unique<char[]>(capacity);
        if (have > 0) {
            std::memcpy(bigger.get(), m_data.data() + m_pos, have);
        }
        m_buffer = std::move(bigger);
        m_capacity = capacity;
    } else if (have > 0) {
        std::memmove(m_buffer.get(), m_data.data() + m_pos, have);
    }
    while (have < capacity) {
        std::ptrdiff_t read = m_source->Read(m_buffer.get() + have, capacity - have);
        if (read <= 0) {
            m_sourceFailed = read < 0;
            break;
        }
        have += static_cast<std::size_t>(read);
    }
    m_data = std::string_view(m_buffer.get(), have);
    m_pos = 0;
    return have >= wanted;
}

bool BinaryReader::ReadReal(double& value) {
    const char* bytes = nullptr;
    std::size_t count = 0;
    if (!ReadCounted(0x7FFFFFFF, bytes, count)) {
        value = 0.0;
        return false;
    }
    value = AtofC(std::string_view(bytes, count));
    return true;
}

void BinaryWriter::WriteReal(double value) {
    // Reserve the count, append the digits in place, then fill the count in.
    std::size_t countAt = m_data.size();
    m_data.append(4, '\0');
    AppendFixed(m_data, value, 4);
    auto count = static_cast<std::uint32_t>(m_data.size() - countAt - 4);
    for (int i = 0; i < 4; ++i) {
        m_data[countAt + static_cast<std::size_t>(i)] =
            static_cast<char>((count >> (8 * i)) & 0xFF);
    }
}

}  // namespace quarrant
