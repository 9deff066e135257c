#pragma once

#include "arguments.h"

#include <QString>

#include <optional>
#include <string>
#include <vector>

// What a teacher asks torvikan-sheet for on its command line.
namespace sheet {

enum class Format { pdf, svg, png };

// More clicks than any lesson needs; beyond this a sheet only grows.
inline constexpr int maxClicks = 100'000;
// Without --clicks the run ends by itself (the catch, the mouse leaving the
// field, a run that no longer changes); this only guards a run that never
// ends.
inline constexpr int defaultClickLimit = 100'000;

// The inputs are the texts as given (mouseSpeed, dogSpeed, unitTime), read
// as the window reads its boxes. Where a text is not wholly a number
// ("1/10", "l0", an empty text), arguments::readingOf(text) tells so and
// gives the value the chase runs with, for the sheet to print beside the
// text; arguments::plainDecimal formats it as the warning does.
struct Options : arguments::ChaseTexts {
    std::optional<int> clicks; // unset: see defaultClickLimit
    std::optional<int> every; // unset: the sheet chooses
    bool exact = false;
    bool blank = false; // never with exact, whose columns would give the answers away
    int grid = 10; // metres between the field's grid lines on paper: 10 (the window's), 5 or 1
    QString file;
    Format format = Format::pdf;
};

using Action = arguments::Action;
using Parsed = arguments::Parsed<Options>;

Parsed parseArguments(const std::vector<std::string>& args);

// The usage text, Japanese then English; also what --help prints.
std::string usage();

} // namespace sheet
