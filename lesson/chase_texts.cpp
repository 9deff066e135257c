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

} // namespace lesson
