#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The three inputs of a chase as a teacher types them, and how the window
// reads them: what the teacher's tools and the teacher's page start from.
namespace lesson {

// The inputs as typed, starting from the window's own start texts.
struct ChaseTexts {
    std::string mouseSpeed = "6";
    std::string dogSpeed = "10";
    std::string unitTime = "0.1";
};

// How the window reads one input text.
struct Reading {
    float value = 0.0f; // the number the text begins with (0 if none), in single precision
    bool wholeNumber = false; // the text is that number and nothing else, blanks around it aside
};
Reading readingOf(std::string_view text);

// A float in plain decimals, never with an exponent: the fewest digits
// that read back as the same float ("1", "0.1", "0.00009765625").
std::string plainDecimal(float value);

// How many characters of a UTF-8 text are full-width (from U+2E80, the
// CJK ranges and the full-width forms) and how many are not.
struct CharacterCounts {
    std::size_t narrow = 0;
    std::size_t wide = 0;
};
CharacterCounts characterCounts(std::string_view utf8);

// A count with its thousands parted by commas: "500,000".
std::string groupedDigits(std::uint64_t n);

} // namespace lesson
