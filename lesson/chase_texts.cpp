#include "chase_texts.h"

#include "number_text.h"

#include <cmath>

namespace lesson {

Reading readingOf(std::string_view text) { return {number_text::textToFloat(text), number_text::isWholeNumber(text)}; }

namespace {

// `exact`, a plain decimal of one sign and digits, rounded to `decimals`
// decimals, a tie to the even digit.
std::string roundedTo(const std::string& exact, int decimals)
{
    const std::size_t point = exact.find('.');
    const std::size_t keep = point + (decimals > 0 ? std::size_t(decimals) + 1 : 0);
    std::string text = exact.substr(0, keep);
    const std::string rest = exact.substr(point + std::size_t(decimals) + 1);
    const std::size_t more = rest.find_first_not_of('0', 1);
    const bool up = rest[0] > '5' || (rest[0] == '5' && (more != std::string::npos || (text.back() - '0') % 2 == 1));
    if (!up)
        return text;
    for (std::size_t i = text.size(); i-- > 0;) {
        if (text[i] == '.' || text[i] == '-')
            continue;
        if (text[i] != '9') {
            ++text[i];
            return text;
        }
        text[i] = '0';
    }
    const bool negative = text[0] == '-';
    return (negative ? "-1" : "1") + text.substr(negative ? 1 : 0);
}

} // namespace

std::string plainDecimal(float value)
{
    if (std::isnan(value) || std::isinf(value) || value == 0.0f)
        return number_text::formatFixed(value == 0.0f ? 0.0 : double(value), 0);
    // The fewest decimals that read back as the same float, and of those
    // the nearest to it: the shortest plain decimal. Every float is exact
    // in maxFixedDecimals decimals.
    const std::string exact = number_text::formatFixed(value, number_text::maxFixedDecimals);
    for (int decimals = 0;; ++decimals) {
        std::string text = roundedTo(exact, decimals);
        if (number_text::textToFloat(text) == value || decimals >= number_text::maxFixedDecimals)
            return text;
    }
}

CharacterCounts characterCounts(std::string_view utf8)
{
    CharacterCounts counts;
    for (std::size_t at = 0; at < utf8.size();) {
        const unsigned char lead = (unsigned char)utf8[at];
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t i = 1; i < length && at + i < utf8.size(); ++i)
            c = (c << 6) | ((unsigned char)utf8[at + i] & 0x3F);
        ++(c >= 0x2E80 ? counts.wide : counts.narrow);
        at += length;
    }
    return counts;
}

std::string groupedDigits(std::uint64_t n)
{
    const std::string digits = std::to_string(n);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += ',';
        grouped += digits[i];
    }
    return grouped;
}

} // namespace lesson
