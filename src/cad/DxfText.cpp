#include "cad/DxfText.h"

#include <algorithm>

#include "base/CNumbers.h"
#include "base/GbkText.h"

namespace quarrant {
namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

// The value of the four hex digits at text[at], or -1 when they are not four hex digits.
long FourHexDigits(std::string_view text, std::size_t at) {
    if (at + 4 > text.size()) {
        return -1;
    }
    long value = 0;
    for (std::size_t k = 0; k < 4; ++k) {
        int digit = HexValue(text[at + k]);
        if (digit < 0) {
            return -1;
        }
        value = value * 16 + digit;
    }
    return value;
}

// Replaces the escapes of one text, left to right, stepping over multi-byte characters whole.
std::string ReplaceEscapes(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        char c = text[i];
        if (c == '\\' && i + 2 < text.size() && text[i + 2] == '+') {
            if (text[i + 1] == 'U') {
                long codePoint = FourHexDigits(text, i + 3);
                if (codePoint >= 0) {
                    std::string character = CodePointToGbk(static_cast<char32_t>(codePoint));
                    if (!character.empty()) {  // empty for a surrogate: kept as written
                        out += character;
                        i += 7;
                        continue;
                    }
                }
            } else if (text[i + 1] == 'M' && i + 3 < text.size() && text[i + 3] == '5') {
                long bytes = FourHexDigits(text, i + 4);
                if (bytes >= 0) {
                    out += static_cast<char>((bytes >> 8) & 0xFF);
                    out += static_cast<char>(bytes & 0xFF);
                    i += 8;
                    continue;
                }
            }
        }
        std::size_t length = std::min(GbkCharLength(text, i), text.size() - i);
        out.append(text.data() + i, length);
        i += length;
    }
    return out;
}

// Position of the first character equal to wanted at or after start, or npos.
std::size_t FindCharacter(std::string_view text, std::size_t start, char wanted) {
    std::size_t i = start;
    while (i < text.size()) {
        if (text[i] == wanted) {
            return i;
        }
        i += GbkCharLength(text, i);
    }
    return std::string_view::npos;
}

}  // namespace

bool IsUtf8DxfVersion(std::string_view acadVersion) {
    if (acadVersion.size() < 2 || acadVersion[0] != 'A' || acadVersion[1] != 'C') {
        return false;
    }
    return AtoiC(acadVersion.substr(2)) >= 1021;
}

std::string DecodeDxfString(std::string_view value, bool utf8) {
    if (!DxfStringNeedsDecoding(value, utf8)) {
        return std::string(value);
    }
    std::string converted;
    if (utf8) {
        converted = Utf8ToGbk(value);
        value = converted;
    }
    if (value.find('\\') == std::string_view::npos) {
        return utf8 ? converted : std::string(value);
    }
    return ReplaceEscapes(value);
}

std::string CleanTextFormatting(std::string_view text) {
    std::size_t semicolon = FindCharacter(text, 0, ';');
    if (semicolon == std::string_view::npos) {
        return std::string(text);
    }
    std::size_t start = semicolon + 1;
    std::size_t brace = FindCharacter(text, start, '}');
    if (brace == std::string_view::npos) {
        return std::string(text.substr(start));
    }
    return std::string(text.substr(start, brace - start));
}

}  // namespace quarrant
