#pragma once

// Model texts are std::string holding GBK bytes (GB18030, its superset, at the edges so that
// nothing the program stores is lost). These are the only conversions of the system: to and
// from UTF-8 for the screen, file-system names and the command line.

#include <cstdint>
#include <string>
#include <string_view>

namespace quarrant {

// GB18030 bytes to UTF-8. A byte sequence that is not valid GB18030 becomes U+FFFD per byte.
std::string GbkToUtf8(std::string_view gbk);

// UTF-8 to GB18030 bytes. Valid characters are converted; every byte that does not start or
// belong to a valid UTF-8 sequence is kept as it is (so foreign bytes survive unchanged).
std::string Utf8ToGbk(std::string_view utf8);
inline std::string Utf8ToGbk(std::u8string_view utf8) {
    return Utf8ToGbk(std::string_view(reinterpret_cast<const char*>(utf8.data()), utf8.size()));
}

// One Unicode code point as GB18030 bytes; empty for surrogates and values beyond U+10FFFF.
std::string CodePointToGbk(char32_t codePoint);

// True when every byte is below 0x80 (no conversion needed in either direction).
bool IsAscii(std::string_view text);

}  // namespace quarrant
