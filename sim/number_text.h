#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The two conversions between the text boxes and numbers. Plain C++ so the
// table tool, the tests, the fuzz targets and the web edition use exactly
// what the window uses; neither depends on the locale.
namespace number_text {

// A read-out as the window shows it, pattern "#0.000": at least one integer
// digit, no grouping, "." whatever the locale, exactly three decimals. The
// exact binary value is rounded half away from zero, as pupils round
// (四捨五入): 0.0625 shows "0.063". A value that rounds to zero shows
// "0.000", never "-0.000".
std::string formatReadout(float value);

// Enough decimals to write any float exactly (the least has 149).
inline constexpr int maxFixedDecimals = 150;

// A double with `decimals` decimals (0 to maxFixedDecimals), rounded like formatReadout:
// the exact binary value, half away from zero, and no sign on a value that
// rounds to zero. The teacher's tools print the exact chase with it.
std::string formatFixed(double value, int decimals);

// The number a typed text begins with; never fails. Leading blanks are
// skipped, then an optional sign, digits with at most one ".", and an
// optional exponent ("e" or "E", an optional sign, at least one digit; an
// "e" not followed so ends the number before it, as in "2e" or "3em").
// Reading stops at the first character that cannot continue the number.
// Full-width digits, "．", "＋", "－", "ｅ"/"Ｅ" and the ideographic space,
// which a Japanese input method easily produces, read like their ASCII
// forms. The number read is the double nearest to it (the even one of two
// equally near), however many digits it has. No number gives 0; a number
// too large for a double gives an infinity of its sign. The text is UTF-8.
double textToNumber(std::string_view utf8);

// Whether the text is one number and nothing else, blanks around it aside:
// true when textToNumber ignores nothing of it. The teacher's tools warn
// about a number that is not ("1/10", "0,1", "l0", an empty text).
bool isWholeNumber(std::string_view utf8);

// A count as the teacher's tools take one: digits alone, ASCII or
// full-width, with no sign, point, blank or anything else, and no more
// than a 64-bit count holds. No value otherwise.
std::optional<std::uint64_t> textToCount(std::string_view utf8);

// That number as the window stores it, rounded to single precision; beyond
// the float range it becomes an infinity of its sign.
float textToFloat(std::string_view utf8);

} // namespace number_text
