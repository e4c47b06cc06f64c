#include <gtest/gtest.h>

#include <string>

#include "base/GbkText.h"
#include "cad/DxfText.h"

using namespace quarrant;

namespace {

std::string Gbk(std::u8string_view text) {
    return Utf8ToGbk(text);
}

TEST(DxfVersionTest, Ac1021AndLaterHoldUtf8) {
    struct Case {
        const char* version;
        bool utf8;
    } cases[] = {
        {"AC1021", true},  {"AC1024", true},  {"AC1032", true},  {"AC1018", false},
        {"AC1015", false}, {"AC1009", false}, {"AC1020", false}, {"AC1021x", true},
        {"ac1021", false}, {"AC", false},     {"", false},       {"XX1021", false},
        {"AC 1021", true},  // atoi skips the blank
        {"AC+1021", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsUtf8DxfVersion(c.version), c.utf8) << c.version;
    }
}

TEST(DxfStringTest, DecodesUtf8AndEscapesAsStored) {
    struct Case {
        const char* name;
        std::string value;
        bool utf8;
        std::string expected;
    } cases[] = {
        {"ascii unchanged", "GL-1", true, "GL-1"},
        {"utf8 converted in modern files", "\xE9\x92\xA2\xE6\xA2\x81", true, Gbk(u8"钢梁")},
        {"bytes kept in old files", "\xB8\xD6\xC1\xBA", false, Gbk(u8"钢梁")},
        {"invalid utf8 bytes kept", "a\xFF\xE9\x92\xA2z\xC0", true,
         "a\xFF" + Gbk(u8"钢") + "z\xC0"},
        {"unicode escape", "\\U+4E2D", false, Gbk(u8"中")},
        {"unicode escape lower-case hex", "\\U+4e2d", false, Gbk(u8"中")},
        {"unicode escape in modern file", "\\U+00B0C", true,
         "\xA1\xE3"
         "C"},
        {"exactly four hex digits taken", "\\U+22052.3794", false, Gbk(u8"∅") + "2.3794"},
        {"surrogate kept as written", "\\U+D800x", false, "\\U+D800x"},
        {"short escape kept", "\\U+12", false, "\\U+12"},
        {"non-hex escape kept", "\\U+12G4", false, "\\U+12G4"},
        {"lower-case u is no escape", "\\u+4E2D", false, "\\u+4E2D"},
        {"multibyte escape gives two bytes", "\\M+5D6D0", false, "\xD6\xD0"},
        {"other code page escape kept", "\\M+1D6D0", false, "\\M+1D6D0"},
        {"other escapes kept", "A\\PB\\~C", false, "A\\PB\\~C"},
        {"escapes left to right, no second pass", "\\U+005CU+4E2D", false, "\\U+4E2D"},
        {"two escapes", "\\U+4E2D\\U+6587", false, Gbk(u8"中文")},
        {"conversion before escapes", "\xE4\xB8\xAD\\U+6587", true, Gbk(u8"中文")},
        {"trail byte 0x5C is no backslash", "\x95\x5CU+4E2D", false, "\x95\x5CU+4E2D"},
        {"escape after a double-byte character", "\xD6\xD0\\U+6587", false, Gbk(u8"中文")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecodeDxfString(c.value, c.utf8), c.expected) << c.name;
    }
}

TEST(DxfStringTest, CleanUpKeepsOnlyTheWordsOfAFormattedText) {
    struct Case {
        const char* name;
        std::string text;
        std::string expected;
    } cases[] = {
        {"font prefix and brace", "{\\fSimSun|b0|i0|c134|p2;" + Gbk(u8"钢梁") + "}", Gbk(u8"钢梁")},
        {"no semicolon unchanged", "{GL-1}", "{GL-1}"},
        {"semicolon without brace", "\\H2.5;ABC", "ABC"},
        {"first semicolon and first brace after it", "\\A1;\\H2;X}Y}", "\\H2;X"},
        {"brace before the semicolon is not the end", "}a;b}c", "b"},
        {"empty after semicolon", "abc;", ""},
        {"plain text", Gbk(u8"钢柱 GZ-1"), Gbk(u8"钢柱 GZ-1")},
        // 0x7D as the second byte of a double-byte character is no brace.
        {"brace byte inside a double-byte character",
         "\\fA;\x81\x7D"
         "A}B",
         "\x81\x7D"
         "A"},
        // A lead byte makes the following byte part of its character, whatever it is.
        {"semicolon after a lead byte is taken with it", "\x81;abc", "\x81;abc"},
        {"four-byte character swallows its bytes", "\x81\x30\x81;X;Y", "Y"},
        {"four-byte character before the brace", "a;\x81\x30\x81\x7D}z", "\x81\x30\x81\x7D"},
        {"lead byte at the end", "a;b\xB8", "b\xB8"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CleanTextFormatting(c.text), c.expected) << c.name;
    }
}

TEST(DxfStringTest, CharacterLengthsFollowTheGbkRule) {
    EXPECT_EQ(GbkCharLength("a", 0), 1u);
    EXPECT_EQ(GbkCharLength("\x80", 0), 1u);
    EXPECT_EQ(GbkCharLength("\xFF", 0), 1u);
    EXPECT_EQ(GbkCharLength("\xB8\xD6", 0), 2u);
    EXPECT_EQ(GbkCharLength("\x81\x30\x81\x30", 0), 4u);
    EXPECT_EQ(GbkCharLength("\x81", 0), 2u);
}

}  // namespace
