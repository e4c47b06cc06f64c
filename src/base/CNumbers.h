#pragma once

// Numbers in and out of texts, always in the "C" locale: a decimal comma never appears, whatever
// the user's settings.

#include <cstdint>
#include <string>
#include <string_view>

namespace quarrant {

// atof: leading white space skipped, the longest leading number taken, rubbish gives 0.
double AtofC(std::string_view text);

// atoi: leading white space skipped, optional sign, leading digits; rubbish gives 0. Values
// beyond the range of long are clamped, then the low 32 bits are kept, as the C library does.
std::int32_t AtoiC(std::string_view text);

// printf("%.<decimals>f", value) in the "C" locale.
std::string FormatFixed(double value, int decimals);
// Appends the same text to out (no temporary string).
void AppendFixed(std::string& out, double value, int decimals);

// printf("%d", value).
std::string FormatInt(std::int64_t value);

// The C isspace bytes: blank, \t, \n, \v, \f, \r.
inline bool IsCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The text without leading and trailing C isspace bytes.
std::string_view TrimC(std::string_view text);

}  // namespace quarrant
