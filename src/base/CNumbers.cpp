#include "base/CNumbers.h"

#include <locale.h>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
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

constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr std::uint64_t kTwoTo53 = std::uint64_t{1} << 53;

// The value of a whole text of the form [-]digits[.digits] whose digits, read as one integer,
// stay within 2^53 and whose fraction has at most 22 digits: that integer and the power of ten
// are both exact doubles, so one correctly rounded division gives exactly what strtod gives.
// The drawing file's reals ("%.4f") and most DXF values take this path; false for anything
// else.
bool ParsePlainDecimal(const char* p, const char* end, double& value) {
    const bool negative = p < end && *p == '-';
    p += negative ? 1 : 0;
    // Digits beyond 19 wrap the integer around; such texts are refused below by their length.
    std::uint64_t mantissa = 0;
    const char* const wholeStart = p;
    for (unsigned digit;
         p < end && (digit = static_cast<unsigned>(static_cast<unsigned char>(*p)) - 48u) < 10;
         ++p) {
        mantissa = mantissa * 10 + digit;
    }
    std::size_t digits = static_cast<std::size_t>(p - wholeStart);
    std::size_t fraction = 0;
    if (p < end && *p == '.') {
        const char* const fractionStart = ++p;
        for (unsigned digit;
             p < end && (digit = static_cast<unsigned>(static_cast<unsigned char>(*p)) - 48u) < 10;
             ++p) {
            mantissa = mantissa * 10 + digit;
        }
        fraction = static_cast<std::size_t>(p - fractionStart);
        digits += fraction;
    }
    if (p != end || digits == 0 || digits > 18 || mantissa > kTwoTo53) {
        return false;
    }
    double magnitude = static_cast<double>(mantissa);
    if (fraction > 0) {
        magnitude /= kExactPowersOfTen[fraction];  // at most 18 digits: an exact power
    }
    value = negative ? -magnitude : magnitude;
    return true;
}

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

constexpr std::uint64_t kIntegerPowersOfTen[] = {1,      10,      100,      1000,      10000,
                                                 100000, 1000000, 10000000, 100000000, 1000000000};

// The digits of scaled / 10^Decimals with Decimals of them after the point, from the right
// two at a time (a constant divisor: no division instruction).
template <int Decimals>
void AppendScaledAs(std::string& out, std::uint64_t scaled, bool negative) {
    constexpr std::uint64_t kScale = kIntegerPowersOfTen[Decimals];
    char buffer[32];
    char* const end = buffer + sizeof buffer;
    char* p = end;
    std::uint64_t whole = scaled / kScale;
    std::uint64_t part = scaled - whole * kScale;
    int left = Decimals;
    for (; left >= 2; left -= 2) {
        p -= 2;
        std::memcpy(p, kDigitPairs + 2 * (part % 100), 2);
        part /= 100;
    }
    if (left == 1) {
        *--p = static_cast<char>('0' + part);
    }
    if (Decimals > 0) {
        *--p = '.';
    }
    while (whole >= 100) {
        p -= 2;
        std::memcpy(p, kDigitPairs + 2 * (whole % 100), 2);
        whole /= 100;
    }
    if (whole >= 10) {
        p -= 2;
        std::memcpy(p, kDigitPairs + 2 * whole, 2);
    } else {
        *--p = static_cast<char>('0' + whole);
    }
    if (negative) {
        *--p = '-';
    }
    out.append(p, end);
}

void AppendScaled(std::string& out, std::uint64_t scaled, int decimals, bool negative) {
    switch (decimals) {
        case 0:
            return AppendScaledAs<0>(out, scaled, negative);
        case 1:
            return AppendScaledAs<1>(out, scaled, negative);
        case 2:
            return AppendScaledAs<2>(out, scaled, negative);
        case 3:
            return AppendScaledAs<3>(out, scaled, negative);
        case 4:
            return AppendScaledAs<4>(out, scaled, negative);
        case 5:
            return AppendScaledAs<5>(out, scaled, negative);
        case 6:
            return AppendScaledAs<6>(out, scaled, negative);
        case 7:
            return AppendScaledAs<7>(out, scaled, negative);
        case 8:
            return AppendScaledAs<8>(out, scaled, negative);
        default:
            return AppendScaledAs<9>(out, scaled, negative);
    }
}

// printf("%.<decimals>f") of a finite value below 2^62 / 10^decimals in magnitude, from the
// exact binary value: value * 10^decimals rounded to the nearest integer, an exact tie to
// even, as printf rounds. False when the value is out of that range.
bool AppendSmallFixed(std::string& out, double value, int decimals) {
    if (decimals < 0 || decimals > 9 || !std::isfinite(value)) {
        return false;
    }
    const std::uint64_t scale = kIntegerPowersOfTen[decimals];
    const double magnitude = std::fabs(value);
    if (!(magnitude < 4.6e18 / static_cast<double>(scale))) {
        return false;
    }
    std::uint64_t bits = 0;
    std::memcpy(&bits, &magnitude, sizeof bits);
    const int biased = static_cast<int>(bits >> 52);
    std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
    int exponent = 0;
    if (biased == 0) {
        exponent = -1074;  // subnormal
    } else {
        mantissa |= std::uint64_t{1} << 52;
        exponent = biased - 1075;
    }
    std::uint64_t scaled = 0;  // magnitude * scale, rounded
    if (exponent >= 0) {
        scaled = (mantissa << exponent) * scale;  // an integer below 2^62
    } else {
        const unsigned shift = static_cast<unsigned>(-exponent);
        const unsigned __int128 product = static_cast<unsigned __int128>(mantissa) * scale;
        if (shift < 128) {
            scaled = static_cast<std::uint64_t>(product >> shift);
            const unsigned __int128 rest =
                product & ((static_cast<unsigned __int128>(1) << shift) - 1);
            const unsigned __int128 half = static_cast<unsigned __int128>(1) << (shift - 1);
            if (rest > half || (rest == half && (scaled & 1) != 0)) {
                ++scaled;
            }
        }
    }
    AppendScaled(out, scaled, decimals, std::signbit(value));
    return true;
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
    double plain = 0.0;
    if (ParsePlainDecimal(begin, end, plain)) {
        return plain;
    }
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
    if (AppendSmallFixed(out, value, decimals)) {
        return;
    }
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
