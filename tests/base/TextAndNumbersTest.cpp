#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "base/CNumbers.h"
#include "base/GbkText.h"

using namespace quarrant;

TEST(GbkText, ChineseRoundTripsBetweenUtf8AndGbk) {
    const std::string utf8 = "钢结构数据库 I20a ×φδ";
    std::string gbk = Utf8ToGbk(utf8);
    EXPECT_EQ(gbk.substr(0, 2), "\xB8\xD6");  // 钢
    EXPECT_EQ(GbkToUtf8(gbk), utf8);
}

TEST(GbkText, InvalidUtf8BytesAreKeptAsTheyAre) {
    // GBK bytes of 梁 (0xC1 0xBA) are not valid UTF-8: they pass through unchanged.
    std::string mixed = std::string("A\xC1\xBA") + "钢";
    EXPECT_EQ(Utf8ToGbk(mixed), "A\xC1\xBA\xB8\xD6");
}

TEST(GbkText, UndecodableGbkBecomesReplacementCharacter) {
    EXPECT_EQ(GbkToUtf8("a\xFF"
                        "b"),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(GbkToUtf8("\x81"), "\xEF\xBF\xBD");  // lead byte at the very end
}

TEST(GbkText, CodePointsOutsideGbkUseFourByteGb18030) {
    EXPECT_EQ(CodePointToGbk(0x94A2), "\xB8\xD6");  // 钢
    EXPECT_EQ(CodePointToGbk(0x41), "A");
    EXPECT_EQ(CodePointToGbk(0x20AC).size(), 2u);  // € has a two-byte GB18030 form
    EXPECT_EQ(CodePointToGbk(0x1F600).size(), 4u);
    EXPECT_EQ(CodePointToGbk(0xD800), "");  // surrogates have no form
}

struct AtofCase {
    const char* name;
    const char* text;
    double expected;
};

class AtofTest : public ::testing::TestWithParam<AtofCase> {};

TEST_P(AtofTest, FollowsTheCLibrary) {
    EXPECT_EQ(AtofC(GetParam().text), GetParam().expected) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AtofTest,
    ::testing::Values(AtofCase{"plain", "12.345678", 12.345678},
                      AtofCase{"leading blanks", "  \t-0.5", -0.5},
                      AtofCase{"plus sign", "+3.25", 3.25},
                      AtofCase{"trailing rubbish", "7.5abc", 7.5}, AtofCase{"rubbish", "abc", 0.0},
                      AtofCase{"empty", "", 0.0}, AtofCase{"exponent", "1.5e3", 1500.0},
                      AtofCase{"lone dot", ".", 0.0}, AtofCase{"dot fraction", ".25", 0.25},
                      AtofCase{"hexadecimal", "0x10", 16.0},
                      AtofCase{"plus then minus", "+-5", 0.0},
                      AtofCase{"comma is not a decimal mark", "1,5", 1.0}),
    [](const auto& info) {
        std::string name = info.param.name;
        for (char& c : name) {
            if (!std::isalnum(static_cast<unsigned char>(c)))
                c = '_';
        }
        return name;
    });

TEST(CNumbers, AtoiTakesLeadingDigitsAndWrapsLikeTheCLibrary) {
    EXPECT_EQ(AtoiC(" 42xyz"), 42);
    EXPECT_EQ(AtoiC("-7"), -7);
    EXPECT_EQ(AtoiC("+8"), 8);
    EXPECT_EQ(AtoiC("3.9"), 3);
    EXPECT_EQ(AtoiC("x"), 0);
    EXPECT_EQ(AtoiC("4294967297"), 1);                // low 32 bits of the long value
    EXPECT_EQ(AtoiC("99999999999999999999999"), -1);  // clamped to LONG_MAX first
}

TEST(CNumbers, FixedFormattingMatchesPrintf) {
    EXPECT_EQ(FormatFixed(1.23456, 4), "1.2346");
    EXPECT_EQ(FormatFixed(2.5, 3), "2.500");
    EXPECT_EQ(FormatFixed(-0.00001, 4), "-0.0000");
    EXPECT_EQ(FormatFixed(1.7e308, 4).size(), 309u + 5u);
    EXPECT_EQ(FormatFixed(0.125, 2), "0.12");  // exact tie rounds to even, as printf does
    EXPECT_EQ(FormatInt(-12), "-12");
}

// Every real of a drawing file is written and read through the quick paths for plain decimals:
// they must give the C library's exact text and value, ties and long fractions included.
TEST(CNumbers, FixedTextsAndTheirValuesAgreeWithTheCLibrary) {
    std::mt19937_64 random(20240601);
    auto bits = [](double value) {
        std::uint64_t b = 0;
        std::memcpy(&b, &value, sizeof b);
        return b;
    };
    for (int i = 0; i < 300000; ++i) {
        double value = 0.0;
        switch (i % 5) {
            case 0: {
                std::uint64_t b = random();
                std::memcpy(&value, &b, sizeof value);
                break;
            }
            case 1:  // exact ties at the last decimal, such as 1/32 = 0.03125
                value =
                    static_cast<double>(static_cast<std::int64_t>(random() % 2000001) - 1000000) /
                    std::ldexp(1.0, static_cast<int>(random() % 12));
                break;
            case 2:  // values a drawing file holds
                value = static_cast<double>(static_cast<std::int64_t>(random() % 20000000001) -
                                            10000000000) /
                        10000.0;
                break;
            case 3:
                value = std::ldexp(static_cast<double>(random() >> 11),
                                   static_cast<int>(random() % 140) - 120);
                break;
            default:
                value = std::uniform_real_distribution<double>(-1e7, 1e7)(random);
                break;
        }
        if (!std::isfinite(value)) {
            continue;
        }
        const int decimals = i % 7 == 0 ? static_cast<int>(random() % 10) : 4;
        char expected[1200];
        std::snprintf(expected, sizeof expected, "%.*f", decimals, value);
        ASSERT_EQ(FormatFixed(value, decimals), expected) << value;
        ASSERT_EQ(bits(AtofC(expected)), bits(std::strtod(expected, nullptr))) << expected;
    }
}

TEST(CNumbers, TrimRemovesOnlyCSpaceBytes) {
    EXPECT_EQ(TrimC(" \t\r\n\v\fLINE \r"), "LINE");
    EXPECT_EQ(TrimC("\xA1\xA1"), "\xA1\xA1");  // a GBK full-width blank is not white space
    EXPECT_EQ(TrimC("   "), "");
}
