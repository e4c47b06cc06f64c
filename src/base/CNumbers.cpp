#include "base/CNumbers.h"

#include <locale.h>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace quarrant {
namespace {

locale_t CLocale() {
    static locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::string_view TrimC(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsCSpace(text[begin])) {
        ++begin;
    }
    while (end > begin && IsCSpace(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

double AtofC(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsCSpace(text[i])) {
        ++i;
    }
    const char* begin = text.data() + i;
    const char* end = text.data() + text.size();
    // The common case, a plain decimal number, goes through from_chars; anything else (a plus
    // sign, hexadecimal, an out-of-range value) takes the C library's own strtod.
    if (begin < end && (IsDigit(*begin) || *begin == '-' || *begin == '.')) {
        const char* p = begin;
        if (*p == '-') {
            ++p;
        }
        bool hex = (end - p >= 2) && p[0] == '0' && (p[1] == 'x' || p[1] == 'X');
        if (!hex) {
            double value = 0.0;
            auto [ptr, ec] = std::from_chars(begin, end, value, std::chars_format::general);
            if (ec == std::errc()) {
                return value;
            }
            if (ec == std::errc::invalid_argument) {
                return 0.0;
            }
        }
    }
    if (begin == end) {
        return 0.0;
    }
    std::string copy(begin, end);  // strtod needs a terminated text
    return strtod_l(copy.c_str(), nullptr, CLocale());
}

std::int32_t AtoiC(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsCSpace(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Accumulate the magnitude, clamped as strtol clamps to the range of long.
    const std::uint64_t limit =
        negative ? static_cast<std::uint64_t>(std::numeric_limits<long>::max()) + 1
                 : static_cast<std::uint64_t>(std::numeric_limits<long>::max());
    std::uint64_t magnitude = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        magnitude = magnitude * 10 + static_cast<std::uint64_t>(text[i] - '0');
        if (magnitude > limit) {
            magnitude = limit;
            while (i < text.size() && IsDigit(text[i])) {
                ++i;
            }
            break;
        }
    }
    std::uint64_t bits = negative ? (~magnitude + 1) : magnitude;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(bits));
}

void AppendFixed(std::string& out, double value, int decimals) {
    // Large enough for any double with up to 700 decimals; to_chars with a precision gives
    // exactly the digits of printf("%.Nf"), without any locale.
    char buffer[1100];
    auto [ptr, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (ec == std::errc()) {
        out.append(buffer, ptr);
    }
}

std::string FormatFixed(double value, int decimals) {
    std::string out;
    AppendFixed(out, value, decimals);
    return out;
}

std::string FormatInt(std::int64_t value) {
    char buffer[24];
    auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, ptr);
}

}  // namespace quarrant
