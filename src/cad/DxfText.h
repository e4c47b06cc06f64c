#pragma once

// The texts of a DXF file as the drawing stores them: GBK bytes. Files of AC1021 (R2007) and
// later hold UTF-8; every file may carry the escapes \U+XXXX (a Unicode character) and
// \M+5XXXX (two GBK bytes given in hexadecimal). TEXT and MTEXT values also lose their
// inline formatting.

#include <cstddef>
#include <string>
#include <string_view>

namespace quarrant {

// Whether a $ACADVER value names AC1021 or later: "AC" followed by a number >= 1021 (atoi).
bool IsUtf8DxfVersion(std::string_view acadVersion);

// Length of the character starting at text[i] under the GBK rule: a byte 0x81-0xFE starts a
// multi-byte character, four bytes long when the next byte is 0x30-0x39, else two; every
// other byte is a character of its own. The length may reach past the end of the text.
inline std::size_t GbkCharLength(std::string_view text, std::size_t i) {
    unsigned char lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x81 || lead > 0xFE) {
        return 1;
    }
    if (i + 1 < text.size()) {
        unsigned char next = static_cast<unsigned char>(text[i + 1]);
        if (next >= 0x30 && next <= 0x39) {
            return 4;
        }
    }
    return 2;
}

// A string value as stored: converted from UTF-8 to GB18030 when utf8 is set (invalid UTF-8
// bytes kept as they are), then the escapes \U+XXXX (exactly four hex digits; a surrogate
// stays as written) and \M+5XXXX replaced, found left to right, character by character.
// Other escapes stay.
std::string DecodeDxfString(std::string_view value, bool utf8);

// Whether DecodeDxfString could change the value (a backslash, or a byte >= 0x80 in a UTF-8
// file); when not, the value is stored as it is.
inline bool DxfStringNeedsDecoding(std::string_view value, bool utf8) {
    for (char c : value) {
        if (c == '\\' || (utf8 && static_cast<unsigned char>(c) >= 0x80)) {
            return true;
        }
    }
    return false;
}

// The TEXT/MTEXT clean-up of inline formatting: a text containing ";" keeps only what follows
// the first ";", cut before the first "}" after it. A text without ";" is unchanged. Bytes
// inside a multi-byte GBK character are never taken for ";" or "}".
std::string CleanTextFormatting(std::string_view text);

}  // namespace quarrant
