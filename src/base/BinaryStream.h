#pragma once

// The field encodings shared by every binary file of the system (project, data, drawing and
// catalogue files): little-endian int32, Text (int32 byte count then the GBK bytes, no
// terminator) and the real field (a Text holding the value printed with "%.4f").
//
// The reader never reads past its data: once a field does not fit, the reader is failed,
// every further read fails too and yields a neutral value, so a short or damaged file ends
// decoding cleanly wherever it is cut.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quarrant {

class BinaryReader {
public:
    explicit BinaryReader(std::string_view data) : m_data(data) {}

    bool ReadInt32(std::int32_t& value);
    // A Text whose count is negative or larger than what is left fails the reader.
    bool ReadText(std::string& text);
    // A real field: a Text converted with atof.
    bool ReadReal(double& value);
    // One byte of a flag stored as int (nonzero = set).
    bool ReadFlag(unsigned char& flag);

    bool Failed() const { return m_failed; }
    bool AtEnd() const { return m_pos >= m_data.size(); }
    std::size_t Position() const { return m_pos; }
    std::size_t Remaining() const { return m_data.size() - m_pos; }

    // Texts above this many bytes are taken as damage rather than allocated.
    static constexpr std::int32_t kMaxTextBytes = 64 * 1024 * 1024;

private:
    bool Fail() {
        m_failed = true;
        m_pos = m_data.size();
        return false;
    }

    std::string_view m_data;
    std::size_t m_pos = 0;
    bool m_failed = false;
};

class BinaryWriter {
public:
    void WriteInt32(std::int32_t value);
    void WriteText(std::string_view text);
    // The value as "%.4f" text in a Text field.
    void WriteReal(double value);

    const std::string& Data() const { return m_data; }
    std::string Take() { return std::move(m_data); }
    void Reserve(std::size_t bytes) { m_data.reserve(bytes); }

private:
    std::string m_data;
};

}  // namespace quarrant
