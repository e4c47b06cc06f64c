#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "base/GbkText.h"
#include "quantity/FormulaEvaluator.h"

using namespace quarrant;

namespace {

std::string Gbk(std::u8string_view text) {
    return Utf8ToGbk(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
}

struct FormulaCase {
    const char* name;
    const char8_t* formula;  // converted to GBK before evaluation
    int code;
    const char* text;  // the "%.3f" value when code is 0
};

std::ostream& operator<<(std::ostream& out, const FormulaCase& c) {
    return out << c.name;
}

const FormulaCase kCases[] = {
    // Notes.
    {"note removed", u8"2<柱子>*3", 0, "6.000"},
    {"note with one character removed", u8"2<梁>*3", 0, "6.000"},
    {"note without closing bracket", u8"2<柱子*3", -1, ""},
    {"stray closing note bracket", u8"2>3", -1, ""},
    {"note inside a note", u8"<甲<乙>>", -1, ""},
    {"closing note bracket before a note", u8"2>3<a>", -1, ""},
    {"stray closing bracket after a note", u8"2<a>3>", -1, ""},
    {"note alone leaves an empty formula", u8"<注释>", -2, ""},
    {"note may hold operators and digits", u8"2<3*4>+1", 0, "3.000"},
    {"note may hold an unbalanced bracket", u8"2<(>*3", 0, "6.000"},
    {"several notes removed", u8"<甲>2<乙>*<丙>3<丁>", 0, "6.000"},
    {"empty note removed", u8"2<>*3", 0, "6.000"},
    // Characters outside the language.
    {"blanks are rejected", u8"2 * 3", -2, ""},
    {"plain product", u8"2*3", 0, "6.000"},
    {"tab is rejected", u8"2\t*3", -2, ""},
    {"upper case function is rejected", u8"Sqrt(4)", -2, ""},
    {"misspelled function is rejected", u8"sqr(4)", -2, ""},
    {"function without bracket is rejected", u8"sqrt4", -2, ""},
    {"function name at the end is rejected", u8"2*sqrt", -2, ""},
    {"double-byte text outside a note is rejected", u8"2*梁", -2, ""},
    {"end marker character is rejected", u8"2#3", -2, ""},
    {"tilde is rejected", u8"~3", -2, ""},
    {"decimal comma alone gives two operands", u8"1,5", -2, ""},
    {"letter e is not an exponent", u8"1e3", -2, ""},
    // Brackets.
    {"square and curly brackets", u8"[1+2]*{3}", 0, "9.000"},
    {"mismatched brackets", u8"(1+2]", -2, ""},
    {"unclosed bracket", u8"(1+2", -2, ""},
    {"closing bracket without opening", u8"1+2)", -2, ""},
    {"empty brackets", u8"()", -2, ""},
    {"function with square brackets", u8"cosh[0]", 0, "1.000"},
    {"function with curly brackets", u8"sqrt{9}", 0, "3.000"},
    {"function bracket mismatched", u8"sqrt(9]", -2, ""},
    // Arithmetic and precedence.
    {"division", u8"10/4", 0, "2.500"},
    {"division by zero", u8"1/0", -2, ""},
    {"division by a zero bracket", u8"1/(2-2)", -2, ""},
    {"leading unary minus", u8"-3+5", 0, "2.000"},
    {"minus after an operator", u8"5*-3", -2, ""},
    {"unary minus in brackets", u8"5*(-3)", 0, "-15.000"},
    {"two minus signs", u8"--3", -2, ""},
    {"subtraction is left-associative", u8"8-3-2", 0, "3.000"},
    {"division is left-associative", u8"16/4/2", 0, "2.000"},
    {"product before sum", u8"2+3*4", 0, "14.000"},
    {"product before difference", u8"2-3*4", 0, "-10.000"},
    {"brackets first", u8"(2+3)*4", 0, "20.000"},
    {"unary minus before a product", u8"-2*3", 0, "-6.000"},
    {"bracketed negative times three", u8"(-2)*3", 0, "-6.000"},
    {"minus of a bracket", u8"1-(-2)", 0, "3.000"},
    {"minus of a function", u8"-sqrt(4)", 0, "-2.000"},
    {"operator at the end", u8"3+", -2, ""},
    {"operator at the start", u8"*3", -2, ""},
    {"plus at the start", u8"+3", -2, ""},
    {"minus alone", u8"-", -2, ""},
    {"empty formula", u8"", -2, ""},
    // Functions.
    {"sqrt plus abs", u8"sqrt(16)+abs(-2)", 0, "6.000"},
    {"sqrt of a negative", u8"sqrt(-1)", -2, ""},
    {"ln of zero", u8"ln(0)", -2, ""},
    {"ln of one", u8"ln(1)", 0, "0.000"},
    {"log of a hundred", u8"log(100)", 0, "2.000"},
    {"log of a negative", u8"log(-1)", -2, ""},
    {"cosh of zero", u8"cosh(0)", 0, "1.000"},
    {"sinh of zero", u8"sinh(0)", 0, "0.000"},
    {"tanh of zero", u8"tanh(0)", 0, "0.000"},
    {"cos of zero", u8"cos(0)", 0, "1.000"},
    {"sin of zero", u8"sin(0)", 0, "0.000"},
    {"tan of zero", u8"tan(0)", 0, "0.000"},
    {"cot of one", u8"cot(1)", 0, "0.642"},
    {"cot of zero", u8"cot(0)", -2, ""},
    {"acot of zero", u8"acot(0)", 0, "1.571"},
    {"atan of one", u8"atan(1)", 0, "0.785"},
    {"acos of two", u8"acos(2)", -2, ""},
    {"acos of one", u8"acos(1)", 0, "0.000"},
    {"asin of minus two", u8"asin(0-2)", -2, ""},
    {"asin of one", u8"asin(1)", 0, "1.571"},
    {"exp of zero", u8"exp(0)", 0, "1.000"},
    {"floor of a positive", u8"floor(2.7)", 0, "2.000"},
    {"floor of a negative", u8"floor(0-2.5)", 0, "-3.000"},
    {"mod", u8"mod(7,3)", 0, "1.000"},
    {"mod keeps the sign of the dividend", u8"mod(0-7,3)", 0, "-1.000"},
    {"mod by zero", u8"mod(7,0)", -2, ""},
    {"pow", u8"pow(2,10)", 0, "1024.000"},
    {"pow with a bracketed negative exponent", u8"pow(2,(-3))", 0, "0.125"},
    {"minus after a comma is binary", u8"pow(2,-3)", -2, ""},
    {"sum as a function argument", u8"pow(2+1,3-1)", 0, "9.000"},
    {"nested functions", u8"mod(pow(2,5),sqrt(49))", 0, "4.000"},
    {"function then product", u8"sqrt(9)*2", 0, "6.000"},
    {"sum then function product", u8"2+sqrt(9)*2", 0, "8.000"},
    {"too many arguments", u8"sqrt(4,9)", -2, ""},
    {"too few arguments", u8"pow(2)", -2, ""},
    // Implicit multiplication.
    {"digit before bracket", u8"2(3)", 0, "6.000"},
    {"two digits before bracket", u8"18(2)", 0, "36.000"},
    {"nineteen before bracket", u8"19(2)", 0, "38.000"},
    {"zero before bracket", u8"0(5)", 0, "0.000"},
    {"digit before bracketed sum", u8"2(3+4)", 0, "14.000"},
    {"decimal before bracket", u8"2.5(2)", 0, "5.000"},
    {"point before bracket", u8"2.(2)", -2, ""},
    {"digit before function", u8"3sqrt(4)", 0, "6.000"},
    {"digit before function in a sum", u8"1+3sqrt(4)", 0, "7.000"},
    {"bracket after bracket", u8"(2)(3)", -2, ""},
    {"digit before x", u8"2x", -2, ""},
    {"bracket before function", u8"(2)sqrt(4)", -2, ""},
    // Numbers.
    {"plain decimal", u8"1.5", 0, "1.500"},
    {"second point shifts the value", u8"1.2.3", 0, "0.123"},
    {"leading point", u8".5", 0, "0.500"},
    {"trailing point", u8"5.", 0, "5.000"},
    {"point alone", u8".", 0, "0.000"},
    {"long integer", u8"123456789", 0, "123456789.000"},
    {"letter x is zero", u8"x", 0, "0.000"},
    {"letter x in a sum", u8"x+2", 0, "2.000"},
    // Results that are not finite numbers.
    {"cube root of a negative is not a number", u8"pow(0-8,1/3)", -2, ""},
    {"overflowing exponential", u8"exp(1000)", -2, ""},
    {"infinity minus infinity", u8"exp(1000)-exp(1000)", -2, ""},
    {"number beyond the double range",
     u8"1000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
     u8"0000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
     u8"0000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
     u8"000000000000000000000000000000000000000000000000000000000000000",
     -2, ""},
};

class FormulaTextForm : public ::testing::TestWithParam<FormulaCase> {};

TEST_P(FormulaTextForm, GivesCodeAndThreeDecimals) {
    const FormulaCase& c = GetParam();
    std::string valueText = "unchanged";
    int code = EvaluateFormula(Gbk(c.formula), valueText);
    EXPECT_EQ(code, c.code) << c.name;
    if (c.code == 0) {
        EXPECT_EQ(valueText, c.text) << c.name;
    } else {
        EXPECT_EQ(valueText, "unchanged") << c.name;
    }
}

TEST_P(FormulaTextForm, FloatFormGivesTheSameCodeAndValue) {
    const FormulaCase& c = GetParam();
    float value = 42.5f;
    int code = EvaluateFormula(Gbk(c.formula), value);
    EXPECT_EQ(code, c.code) << c.name;
    if (c.code == 0) {
        EXPECT_NEAR(value, std::stod(c.text), 0.0005 + std::fabs(value) * 1e-6) << c.name;
    } else {
        EXPECT_EQ(value, 42.5f) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, FormulaTextForm, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<FormulaCase>& info) {
                             std::string name;
                             for (const char* p = info.param.name; *p != '\0'; ++p) {
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             }
                             return name;
                         });

// Runs the evaluator steps directly; returns the code of Evaluate, or 100 when the syntax check
// fails.
int RunSteps(const std::string& formula, double* result = nullptr) {
    auto evaluator = std::make_unique<FormulaEvaluator>();
    evaluator->Load(formula);
    if (!evaluator->CheckSyntax()) {
        return 100;
    }
    evaluator->ToPostfix();
    int code = evaluator->Evaluate();
    if (code == kEvaluateOk && result != nullptr) {
        *result = evaluator->Result();
    }
    return code;
}

struct EvaluateCase {
    const char* formula;
    int code;
};

TEST(FormulaEvaluator, EvaluateReportsEachErrorWithItsOwnCode) {
    const EvaluateCase cases[] = {
        {"1/0", kEvaluateDivisionByZero},
        {"acos(2)", kEvaluateAcosDomain},
        {"acos(0-1.5)", kEvaluateAcosDomain},
        {"asin(0-2)", kEvaluateAsinDomain},
        {"cot(0)", kEvaluateCotOfZeroTangent},
        {"mod(1,0)", kEvaluateModByZero},
        {"ln(0)", kEvaluateLnDomain},
        {"log(0-1)", kEvaluateLogDomain},
        {"sqrt(0-1)", kEvaluateSqrtDomain},
        {"exp(1000)", kEvaluateNotFinite},
        {"pow(0-8,1/3)", kEvaluateNotFinite},
        {"", kEvaluateMalformed},
        {"3+", kEvaluateMalformed},
        {"*3", kEvaluateMalformed},
        {"+3", kEvaluateMalformed},
        {"-", kEvaluateMalformed},
        {"(2)(3)", kEvaluateMalformed},
        {"pow(2,-3)", kEvaluateMalformed},
        {"1,2", kEvaluateMalformed},
        {"sqrt()", kEvaluateMalformed},
        {"2*3", kEvaluateOk},
    };
    for (const EvaluateCase& c : cases) {
        EXPECT_EQ(RunSteps(c.formula), c.code) << c.formula;
    }
}

TEST(FormulaEvaluator, SyntaxCheckRejectsTextOutsideTheLanguage) {
    for (const char* formula : {"2 * 3", "2*-3", "--3", "(1+2]", "(1", ")", "Sqrt(4)", "sqrt 4",
                                "cosx", "e", "2^3", "2#3"}) {
        EXPECT_EQ(RunSteps(formula), 100) << formula;
    }
}

TEST(FormulaEvaluator, AcotUsesTheShortenedHalfPi) {
    double result = 0.0;
    ASSERT_EQ(RunSteps("acot(0)", &result), kEvaluateOk);
    EXPECT_EQ(result, 1.5707963);
    ASSERT_EQ(RunSteps("acot(1)", &result), kEvaluateOk);
    EXPECT_EQ(result, 1.5707963 - std::atan(1.0));
}

TEST(FormulaEvaluator, CotIsTheReciprocalOfTan) {
    double result = 0.0;
    ASSERT_EQ(RunSteps("cot(1)", &result), kEvaluateOk);
    EXPECT_EQ(result, 1.0 / std::tan(1.0));
}

TEST(FormulaEvaluator, FurtherPointsShiftTheValueDown) {
    double result = 0.0;
    ASSERT_EQ(RunSteps("1.2.3", &result), kEvaluateOk);
    EXPECT_NEAR(result, 0.123, 1e-15);
    ASSERT_EQ(RunSteps("12.5", &result), kEvaluateOk);
    EXPECT_EQ(result, 12.5);
    ASSERT_EQ(RunSteps("1..5", &result), kEvaluateOk);
    EXPECT_NEAR(result, 0.15, 1e-15);
}

TEST(FormulaEvaluator, ThreeDecimalTextMatchesPrintf) {
    for (const char* formula : {"2.5", "0.0005", "1234567.8915", "0-3.14159", "2.0005", "1/3",
                                "pow(10,20)", "pow(2,0-20)", "0-0.0004", "999.9995"}) {
        double result = 0.0;
        ASSERT_EQ(RunSteps(formula, &result), kEvaluateOk) << formula;
        char expected[512];
        std::snprintf(expected, sizeof expected, "%.3f", result);
        std::string valueText;
        ASSERT_EQ(EvaluateFormula(formula, valueText), 0) << formula;
        EXPECT_EQ(valueText, expected) << formula;
    }
}

TEST(FormulaEvaluator, FloatFormDeliversTheSinglePrecisionValue) {
    float value = 0.0f;
    ASSERT_EQ(EvaluateFormula("1/3", value), 0);
    EXPECT_EQ(value, static_cast<float>(1.0 / 3.0));
    ASSERT_EQ(EvaluateFormula(Gbk(u8"2.5<长>*2"), value), 0);
    EXPECT_EQ(value, 5.0f);
}

TEST(FormulaEvaluator, FloatFormRejectsAValueBeyondTheFloatRange) {
    std::string valueText;
    EXPECT_EQ(EvaluateFormula("pow(10,39)", valueText), 0);
    float value = 42.5f;
    EXPECT_EQ(EvaluateFormula("pow(10,39)", value), -2);
    EXPECT_EQ(value, 42.5f);
    EXPECT_EQ(EvaluateFormula("0-pow(10,39)", value), -2);
    EXPECT_EQ(value, 42.5f);
    EXPECT_EQ(EvaluateFormula("pow(10,38)", value), 0);
    EXPECT_EQ(value, static_cast<float>(std::pow(10.0, 38.0)));
}

TEST(FormulaEvaluator, ZeroByteInsideTheTextIsAFormulaError) {
    std::string valueText = "unchanged";
    EXPECT_EQ(EvaluateFormula(std::string("2\0*3", 4), valueText), -2);
    EXPECT_EQ(EvaluateFormula(std::string("2\0", 2), valueText), -2);
    EXPECT_EQ(valueText, "unchanged");
}

TEST(FormulaEvaluator, GbkNoteBytesAreRemovedWhateverTheyAre) {
    // Every GBK double-byte character has a lead byte of 0x81 or above and a trail byte of
    // 0x40 or above, so no byte of a note can be taken for a note bracket.
    std::string note;
    for (int lead = 0x81; lead <= 0xFE; lead += 7) {
        for (int trail = 0x40; trail <= 0xFE; trail += 5) {
            if (trail == 0x7F) {
                continue;
            }
            note += static_cast<char>(lead);
            note += static_cast<char>(trail);
        }
    }
    std::string valueText;
    ASSERT_EQ(EvaluateFormula("2<" + note + ">*3", valueText), 0);
    EXPECT_EQ(valueText, "6.000");
    EXPECT_EQ(EvaluateFormula("2<" + note + "*3", valueText), -1);
}

TEST(FormulaEvaluator, LongestFormulaThatFitsIsEvaluated) {
    std::string valueText;
    std::string formula = std::string(FormulaEvaluator::kMaxFormulaLength - 1, '0') + "7";
    ASSERT_EQ(formula.size(), 9998u);
    ASSERT_EQ(EvaluateFormula(formula, valueText), 0);
    EXPECT_EQ(valueText, "7.000");
}

TEST(FormulaEvaluator, FormulaOneByteTooLongIsAFormulaError) {
    std::string valueText = "unchanged";
    std::string formula = std::string(FormulaEvaluator::kMaxFormulaLength, '0') + "7";
    ASSERT_EQ(formula.size(), 9999u);
    EXPECT_EQ(EvaluateFormula(formula, valueText), -2);
    EXPECT_EQ(valueText, "unchanged");
    EXPECT_EQ(EvaluateFormula(std::string(100000, '1'), valueText), -2);
    EXPECT_EQ(RunSteps(formula), 100);
}

TEST(FormulaEvaluator, NotesDoNotCountTowardsTheLength) {
    std::string valueText;
    std::string formula = std::string(9997, '0') + "7";
    ASSERT_EQ(EvaluateFormula("<" + std::string(5000, 'a') + ">" + formula, valueText), 0);
    EXPECT_EQ(valueText, "7.000");
}

TEST(FormulaEvaluator, SumOfManyTermsFillsTheTokenArrays) {
    std::string formula;
    for (int i = 0; i < 4998; ++i) {
        formula += "1+";
    }
    formula += "1";
    ASSERT_EQ(formula.size(), 9997u);
    std::string valueText;
    ASSERT_EQ(EvaluateFormula(formula, valueText), 0);
    EXPECT_EQ(valueText, "4999.000");
}

struct NestingCase {
    const char* name;
    std::string formula;
    int code;
    const char* text;
};

TEST(FormulaEvaluator, DeepNestingIsBoundedOnlyByTheLength) {
    auto repeat = [](const std::string& part, int times) {
        std::string text;
        for (int i = 0; i < times; ++i) {
            text += part;
        }
        return text;
    };
    const NestingCase cases[] = {
        {"4998 bracket pairs", repeat("(", 4998) + "1" + repeat(")", 4998), 0, "1.000"},
        {"4999 bracket pairs are too long", repeat("(", 4999) + "1" + repeat(")", 4999), -2, ""},
        {"5000 bracket pairs", repeat("(", 5000) + "1" + repeat(")", 5000), -2, ""},
        {"5000 unclosed brackets", repeat("(", 5000), -2, ""},
        {"4998 unclosed brackets", repeat("(", 4998) + "1", -2, ""},
        {"3000 unary minus levels", repeat("(-", 3000) + "1" + repeat(")", 3000), 0, "1.000"},
        {"1999 nested functions", repeat("abs(", 1999) + "1" + repeat(")", 1999), 0, "1.000"},
        {"3332 implicit products", repeat("1(", 3332) + "1" + repeat(")", 3332), 0, "1.000"},
        {"1666 digit-function products", repeat("1abs(", 1666) + "1" + repeat(")", 1666), 0,
         "1.000"},
        {"mixed bracket kinds", repeat("([{", 1666) + "2" + repeat("}])", 1666), 0, "2.000"},
        {"mismatched deep brackets", repeat("([{", 1666) + "2" + repeat(")]}", 1666), -2, ""},
    };
    for (const NestingCase& c : cases) {
        std::string valueText = "unchanged";
        EXPECT_EQ(EvaluateFormula(c.formula, valueText), c.code) << c.name;
        EXPECT_EQ(valueText, c.code == 0 ? c.text : "unchanged") << c.name;
    }
}

}  // namespace
