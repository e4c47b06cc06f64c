#include "base/BinaryStream.h"

#include <cstring>

#include "base/CNumbers.h"

namespace quarrant {

bool BinaryReader::ReadInt32(std::int32_t& value) {
    if (m_failed || Remaining() < 4) {
        value = 0;
        return Fail();
    }
    const auto* p = reinterpret_cast<const unsigned char*>(m_data.data() + m_pos);
    std::uint32_t bits =
        static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
        (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    value = static_cast<std::int32_t>(bits);
    m_pos += 4;
    return true;
}

bool BinaryReader::ReadText(std::string& text) {
    std::int32_t count = 0;
    if (!ReadInt32(count)) {
        text.clear();
        return false;
    }
    if (count < 0 || count > kMaxTextBytes || static_cast<std::size_t>(count) > Remaining()) {
        text.clear();
        return Fail();
    }
    text.assign(m_data.data() + m_pos, static_cast<std::size_t>(count));
    m_pos += static_cast<std::size_t>(count);
    return true;
}

bool BinaryReader::ReadReal(double& value) {
    std::int32_t count = 0;
    if (!ReadInt32(count)) {
        value = 0.0;
        return false;
    }
    if (count < 0 || static_cast<std::size_t>(count) > Remaining()) {
        value = 0.0;
        return Fail();
    }
    value = AtofC(std::string_view(m_data.data() + m_pos, static_cast<std::size_t>(count)));
    m_pos += static_cast<std::size_t>(count);
    return true;
}

bool BinaryReader::ReadFlag(unsigned char& flag) {
    std::int32_t value = 0;
    bool ok = ReadInt32(value);
    flag = value != 0 ? 1 : 0;
    return ok;
}

void BinaryWriter::WriteInt32(std::int32_t value) {
    auto bits = static_cast<std::uint32_t>(value);
    char bytes[4] = {static_cast<char>(bits & 0xFF), static_cast<char>((bits >> 8) & 0xFF),
                     static_cast<char>((bits >> 16) & 0xFF),
                     static_cast<char>((bits >> 24) & 0xFF)};
    m_data.append(bytes, 4);
}

void BinaryWriter::WriteText(std::string_view text) {
    WriteInt32(static_cast<std::int32_t>(text.size()));
    m_data.append(text);
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
