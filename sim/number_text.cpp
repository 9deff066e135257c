#include "number_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <system_error>

namespace number_text {

std::string formatReadout(float value)
{
    const double magnitude = std::fabs(static_cast<double>(value));
    std::string text;
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value < 0 ? "-Infinity" : "Infinity";

    // From 2^24 on every float is a whole number, so the decimals are zero
    // and the integer part is printed exactly.
    if (magnitude >= 16777216.0) {
        char digits[64];
        const auto result = std::to_chars(digits, digits + sizeof digits, magnitude,
                                          std::chars_format::fixed, 0);
        text.assign(digits, result.ptr);
        text += ".000";
    } else {
        // A float has a 24-bit significand, so magnitude × 1000 needs at most
        // 34 bits and is exact in a double, and so is its fractional part:
        // the half-way test below sees the float's true value.
        const double thousandths = magnitude * 1000.0;
        const double whole = std::floor(thousandths);
        auto n = static_cast<std::uint64_t>(whole);
        if (thousandths - whole >= 0.5)
            ++n;
        text = std::to_string(n / 1000);
        const auto frac = static_cast<unsigned>(n % 1000);
        text += '.';
        text += static_cast<char>('0' + frac / 100);
        text += static_cast<char>('0' + frac / 10 % 10);
        text += static_cast<char>('0' + frac % 10);
        if (n == 0)
            return text;
    }
    if (std::signbit(value))
        text.insert(text.begin(), '-');
    return text;
}

std::string formatFixed(double value, int decimals)
{
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value < 0 ? "-Infinity" : "Infinity";
    // A value exactly half way between two results is an odd multiple of
    // 2^-(decimals + 1). to_chars rounds such a tie to even; the next double
    // away from zero is past the tie and still short of the next result.
    const double halves = std::ldexp(value, decimals + 1);
    if (halves == std::trunc(halves) && std::fmod(halves, 2.0) != 0.0)
        value = std::nextafter(value, value < 0 ? -HUGE_VAL : HUGE_VAL);
    char digits[400];
    const auto result = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals);
    std::string text(digits, result.ptr);
    if (text.front() == '-' && text.find_first_of("123456789") == std::string::npos)
        text.erase(0, 1);
    return text;
}

namespace {

// Reads one character at `pos` and gives its ASCII meaning: full-width
// forms map to their ASCII twins, anything else outside ASCII to '\0'
// (which continues no number). `length` is the bytes the character takes.
char asciiAt(std::string_view s, std::size_t pos, std::size_t& length)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[pos + i]); };
    const unsigned char b0 = byte(0);
    length = 1;
    if (b0 < 0x80)
        return static_cast<char>(b0);
    if (b0 == 0xE3 && pos + 2 < s.size() && byte(1) == 0x80 && byte(2) == 0x80) {
        length = 3; // U+3000 ideographic space
        return ' ';
    }
    if (b0 == 0xEF && pos + 2 < s.size()) {
        const unsigned char b1 = byte(1);
        const unsigned char b2 = byte(2);
        length = 3;
        if (b1 == 0xBC) { // U+FF00..U+FF3F
            if (b2 >= 0x90 && b2 <= 0x99)
                return static_cast<char>('0' + (b2 - 0x90));
            switch (b2) {
            case 0x8B: return '+';
            case 0x8D: return '-';
            case 0x8E: return '.';
            case 0xA5: return 'E';
            default: break;
            }
        } else if (b1 == 0xBD && b2 == 0x85) { // U+FF45
            return 'e';
        }
    }
    // Any other character ends the number, so its length never matters.
    length = 1;
    return '\0';
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// For a number that from_chars found out of range: whether its decimal
// exponent is at least 0, that is whether it overflowed rather than
// underflowed. `ascii` holds digits, at most one '.', and maybe "e±ddd".
bool magnitudeIsHuge(std::string_view ascii)
{
    const std::size_t ePos = ascii.find('e');
    const std::string_view mantissa = ascii.substr(0, ePos);
    long long exponent = 0;
    if (ePos != std::string_view::npos) {
        std::string_view digits = ascii.substr(ePos + 1);
        const bool negative = !digits.empty() && digits.front() == '-';
        if (!digits.empty() && (digits.front() == '-' || digits.front() == '+'))
            digits.remove_prefix(1);
        for (const char d : digits) {
            exponent = exponent * 10 + (d - '0');
            if (exponent > 1'000'000'000)
                break; // far beyond any double either way
        }
        if (negative)
            exponent = -exponent;
    }
    // Position of the first significant digit relative to the point.
    const std::size_t point = mantissa.find('.');
    const std::size_t intDigits = point == std::string_view::npos ? mantissa.size() : point;
    const std::size_t first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos)
        return false;
    const long long lead = first < intDigits ? static_cast<long long>(intDigits - first) - 1
                                             : -static_cast<long long>(first - intDigits);
    return lead + exponent >= 0;
}

} // namespace

namespace {

// The number `utf8` begins with, and in `end` the byte just past it; `end`
// stays 0 where the text begins with no number.
double readNumber(std::string_view utf8, std::size_t& end)
{
    // The number is copied out as plain ASCII and handed to from_chars,
    // which rounds correctly and knows nothing of locales.
    std::string ascii;
    std::size_t pos = 0;
    std::size_t len = 0;
    const auto peek = [&]() -> char { return pos < utf8.size() ? asciiAt(utf8, pos, len) : '\0'; };

    while (true) {
        const char c = peek();
        if (c != ' ' && c != '\t')
            break;
        pos += len;
    }

    bool negative = false;
    if (const char c = peek(); c == '+' || c == '-') {
        negative = c == '-';
        pos += len;
    }

    bool seenDigit = false;
    bool seenPoint = false;
    for (char c = peek(); isDigit(c) || (c == '.' && !seenPoint); c = peek()) {
        seenPoint = seenPoint || c == '.';
        seenDigit = seenDigit || isDigit(c);
        ascii += c;
        pos += len;
    }
    if (!seenDigit)
        return 0.0;
    end = pos;

    if (const char e = peek(); e == 'e' || e == 'E') {
        std::size_t probe = pos + len;
        std::string exponent = "e";
        std::size_t l = 0;
        if (probe < utf8.size()) {
            if (const char sign = asciiAt(utf8, probe, l); sign == '+' || sign == '-') {
                exponent += sign;
                probe += l;
            }
        }
        bool expDigit = false;
        while (probe < utf8.size()) {
            const char d = asciiAt(utf8, probe, l);
            if (!isDigit(d))
                break;
            exponent += d;
            expDigit = true;
            probe += l;
        }
        if (expDigit) {
            ascii += exponent;
            end = probe;
        }
    }

    double value = 0.0;
    const auto [last, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value,
                                               std::chars_format::general);
    (void)last;
    if (error == std::errc::result_out_of_range) {
        // Too large gives infinity, too small zero; which one is read off
        // the sign of the exponent the number would need.
        value = magnitudeIsHuge(ascii) ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

} // namespace

double textToNumber(std::string_view utf8)
{
    std::size_t end = 0;
    return readNumber(utf8, end);
}

bool isWholeNumber(std::string_view utf8)
{
    std::size_t end = 0;
    readNumber(utf8, end);
    if (end == 0)
        return false;
    std::size_t length = 0;
    for (; end < utf8.size(); end += length)
        if (const char c = asciiAt(utf8, end, length); c != ' ' && c != '\t')
            return false;
    return true;
}

float textToFloat(std::string_view utf8) { return static_cast<float>(textToNumber(utf8)); }

} // namespace number_text
