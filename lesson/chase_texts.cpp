#include "chase_texts.h"

#include "number_text.h"

#include <charconv>
#include <cmath>

namespace lesson {

Reading readingOf(std::string_view text) { return {number_text::textToFloat(text), number_text::isWholeNumber(text)}; }

std::string plainDecimal(float value)
{
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value < 0 ? "-Infinity" : "Infinity";
    if (value == 0.0f)
        return "0";
    char digits[64];
    return {digits, std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed).ptr};
}

} // namespace lesson
