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
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace quarrant {

// Where a reader takes its bytes from when they do not sit in memory whole: a file read in
// chunks, so that a large file never lies in memory beside what it decodes into.
class BinarySource {
public:
    virtual ~BinarySource() = default;
    // Reads up to size bytes into buffer: the number read, 0 at the end, -1 on an error.
    virtual std::ptrdiff_t Read(char* buffer, std::size_t size) = 0;
    // How many bytes are still to come (for judging counts before anything is sized by them).
    virtual std::size_t Left() const = 0;
};

class BinaryReader {
public:
    // All the data in memory.
    explicit BinaryReader(std::string_view data) : m_data(data) {}
    // The data of a source, read in chunks.
    explicit BinaryReader(BinarySource& source);

    bool ReadInt32(std::int32_t& value) {
        if (m_data.size() - m_pos < 4 && !Fill(4)) [[unlikely]] {
            value = 0;
            return Fail();
        }
        value = static_cast<std::int32_t>(LoadUint32(m_data.data() + m_pos));
        m_pos += 4;
        return true;
    }
    // A Text whose count is negative or larger than what is left fails the reader.
    bool ReadText(std::string& text) {
        const char* bytes = nullptr;
        std::size_t count = 0;
        if (!ReadCounted(kMaxTextBytes, bytes, count)) {
            text.clear();
            return false;
        }
        text.assign(bytes, count);
        return true;
    }
    // A real field: a Text converted with atof.
    bool ReadReal(double& value);
    // One byte of a flag stored as int (nonzero = set).
    bool ReadFlag(unsigned char& flag) {
        std::int32_t value = 0;
        bool ok = ReadInt32(value);
        flag = value != 0 ? 1 : 0;
        return ok;
    }
    // Passing over a field, checked as reading it would be.
    bool SkipText() {
        const char* bytes = nullptr;
        std::size_t count = 0;
        return ReadCounted(kMaxTextBytes, bytes, count);
    }
    bool SkipReal() {
        const char* bytes = nullptr;
        std::size_t count = 0;
        return ReadCounted(0x7FFFFFFF, bytes, count);
    }

    bool Failed() const { return m_failed; }
    // How many bytes were read so far (from the start of the data or of the source).
    std::size_t Offset() const { return m_dropped + m_pos; }
    bool AtEnd() const { return Remaining() == 0; }
    // Bytes still to come, in memory and in the source.
    std::size_t Remaining() const {
        return m_data.size() - m_pos + (m_source != nullptr ? m_source->Left() : 0);
    }
    // The source failed to read (not merely ended): the data is not damaged, only unread.
    bool SourceFailed() const { return m_sourceFailed; }

    // Texts above this many bytes are taken as damage rather than allocated.
    static constexpr std::int32_t kMaxTextBytes = 64 * 1024 * 1024;

private:
    static std::uint32_t LoadUint32(const char* p) {
        const auto* b = reinterpret_cast<const unsigned char*>(p);
        return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
               (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    }

    // A count and that many bytes, which stay valid until the next read. Counts that are
    // negative, above limit or beyond the data fail the reader.
    bool ReadCounted(std::int32_t limit, const char*& bytes, std::size_t& count) {
        std::int32_t read = 0;
        if (!ReadInt32(read)) {
            return false;
        }
        if (read < 0 || read > limit) {
            return Fail();
        }
        count = static_cast<std::size_t>(read);
        if (m_data.size() - m_pos < count && (count > Remaining() || !Fill(count))) {
            return Fail();
        }
        bytes = m_data.data() + m_pos;
        m_pos += count;
        return true;
    }

    // Makes at least wanted bytes available after the read position; false when the data
    // ends first.
    bool Fill(std::size_t wanted);

    bool Fail() {
        m_failed = true;
        m_pos = m_data.size();
        m_source = nullptr;
        return false;
    }

    std::string_view m_data;
    std::size_t m_pos = 0;
    std::size_t m_dropped = 0;  // bytes of the source before m_data
    bool m_failed = false;
    bool m_sourceFailed = false;
    BinarySource* m_source = nullptr;
    std::unique_ptr<char[]> m_buffer;
    std::size_t m_capacity = 0;
};

class BinaryWriter {
public:
    void WriteInt32(std::int32_t value) {
        auto bits = static_cast<std::uint32_t>(value);
        char bytes[4] = {static_cast<char>(bits & 0xFF), static_cast<char>((bits >> 8) & 0xFF),
                         static_cast<char>((bits >> 16) & 0xFF),
                         static_cast<char>((bits >> 24) & 0xFF)};
        m_data.append(bytes, 4);
    }
    void WriteText(std::string_view text) {
        WriteInt32(static_cast<std::int32_t>(text.size()));
        m_data.append(text);
    }
    // The value as "%.4f" text in a Text field.
    void WriteReal(double value);

    const std::string& Data() const { return m_data; }
    std::string Take() { return std::move(m_data); }
    void Reserve(std::size_t bytes) { m_data.reserve(bytes); }
    // Forgets what was written (after it was handed on), keeping the room.
    void Clear() { m_data.clear(); }

private:
    std::string m_data;
};

}  // namespace quarrant
