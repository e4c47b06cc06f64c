#include "base/GbkText.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

namespace quarrant {
namespace {

// One converter per thread and direction: iconv descriptors carry shift state and are not
// thread-safe, and opening one costs far more than converting a short text.
class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter() {
        if (m_cd != reinterpret_cast<iconv_t>(-1)) {
            iconv_close(m_cd);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool Valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Converts as much of [in, in + size) as is valid; returns the bytes consumed. Stops at
    // the first invalid or incomplete sequence.
    std::size_t Convert(const char* in, std::size_t size, std::string& out) {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char* inPtr = const_cast<char*>(in);
        std::size_t inLeft = size;
        char buffer[1024];
        while (inLeft > 0) {
            char* outPtr = buffer;
            std::size_t outLeft = sizeof buffer;
            std::size_t rc = iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft);
            out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
            if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
                break;
            }
        }
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        iconv(m_cd, nullptr, nullptr, &outPtr, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        return size - inLeft;
    }

private:
    iconv_t m_cd;
};

Converter& FromGbk() {
    thread_local Converter converter("UTF-8", "GB18030");
    return converter;
}

Converter& ToGbk() {
    thread_local Converter converter("GB18030", "UTF-8");
    return converter;
}

// Length of the valid UTF-8 sequence starting at text[i], or 0 when it is not one.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    unsigned char b0 = byte(i);
    std::size_t n;
    char32_t cp;
    if (b0 < 0x80) {
        return 1;
    } else if (b0 >= 0xC2 && b0 <= 0xDF) {
        n = 2;
        cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        n = 3;
        cp = b0 & 0x0F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        n = 4;
        cp = b0 & 0x07;
    } else {
        return 0;
    }
    if (i + n > text.size()) {
        return 0;
    }
    for (std::size_t k = 1; k < n; ++k) {
        unsigned char b = byte(i + k);
        if ((b & 0xC0) != 0x80) {
            return 0;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    // Overlong forms, surrogates and values beyond U+10FFFF are not valid UTF-8.
    if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF)) {
        return 0;
    }
    return n;
}

}  // namespace

bool IsAscii(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

std::string GbkToUtf8(std::string_view gbk) {
    if (IsAscii(gbk)) {
        return std::string(gbk);
    }
    std::string out;
    out.reserve(gbk.size() * 3 / 2);
    Converter& converter = FromGbk();
    std::size_t pos = 0;
    while (pos < gbk.size()) {
        std::size_t used =
            converter.Valid() ? converter.Convert(gbk.data() + pos, gbk.size() - pos, out) : 0;
        pos += used;
        if (pos < gbk.size()) {
            out += "\xEF\xBF\xBD";  // U+FFFD for the byte that could not be decoded
            ++pos;
        }
    }
    return out;
}

std::string Utf8ToGbk(std::string_view utf8) {
    if (IsAscii(utf8)) {
        return std::string(utf8);
    }
    std::string out;
    out.reserve(utf8.size());
    Converter& converter = ToGbk();
    std::size_t i = 0;
    while (i < utf8.size()) {
        // Take the longest run of valid UTF-8 and convert it in one call.
        std::size_t runEnd = i;
        while (runEnd < utf8.size()) {
            std::size_t n = Utf8SequenceLength(utf8, runEnd);
            if (n == 0) {
                break;
            }
            runEnd += n;
        }
        std::size_t pos = i;
        while (pos < runEnd) {
            std::size_t used =
                converter.Valid() ? converter.Convert(utf8.data() + pos, runEnd - pos, out) : 0;
            pos += used;
            if (pos < runEnd) {
                // A valid character without a GB18030 form (none exist, but be safe): keep it.
                std::size_t n = Utf8SequenceLength(utf8, pos);
                out.append(utf8.data() + pos, n);
                pos += n;
            }
        }
        i = runEnd;
        if (i < utf8.size()) {
            out += utf8[i];  // an invalid byte is kept as it is
            ++i;
        }
    }
    return out;
}

std::string CodePointToGbk(char32_t cp) {
    if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
        return {};
    }
    char utf8[4];
    std::size_t n;
    if (cp < 0x80) {
        utf8[0] = static_cast<char>(cp);
        n = 1;
    } else if (cp < 0x800) {
        utf8[0] = static_cast<char>(0xC0 | (cp >> 6));
        utf8[1] = static_cast<char>(0x80 | (cp & 0x3F));
        n = 2;
    } else if (cp < 0x10000) {
        utf8[0] = static_cast<char>(0xE0 | (cp >> 12));
        utf8[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        utf8[2] = static_cast<char>(0x80 | (cp & 0x3F));
        n = 3;
    } else {
        utf8[0] = static_cast<char>(0xF0 | (cp >> 18));
        utf8[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        utf8[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        utf8[3] = static_cast<char>(0x80 | (cp & 0x3F));
        n = 4;
    }
    return Utf8ToGbk(std::string_view(utf8, n));
}

}  // namespace quarrant
