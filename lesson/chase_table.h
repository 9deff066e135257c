#pragma once

#include "chase_texts.h"

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

// The teacher's table of a chase: the window's read-outs click by click,
// or how the steps approach the exact chase as the unit time is halved.
// torvikan-table prints it and the teacher's page offers it as a CSV.
namespace table {

struct Options : lesson::ChaseTexts {
    // Unset: the clicks of the sheet's record, from the start to the click
    // where its record ends (the first catch cue, the mouse leaving the
    // field, a fault, stillness).
    std::optional<std::uint64_t> steps;
    bool csv = false; // CSV for a spreadsheet instead of tab-separated columns
    bool exact = false; // add the exact chase's dog and its distance from the window's
    int converge = 0; // rows of the convergence table; 0 prints the clicks instead
};

// The convergence table takes 1 to this many rows; the last one's unit
// time is h / 2^(rows − 1).
inline constexpr int maxConvergeRows = 30;
// The convergence table runs no more clicks than this in all, which keeps
// it under a second; a row that would need more is left out.
inline constexpr std::uint64_t convergeClickBudget = 500'000;

// Tab-separated output of the sheet's record ends with the sheet's
// sentence on why the record ends there, after this.
inline constexpr std::string_view endLinePrefix = "# ";

// The header line, the start row (click 0) and one row per click; or, with
// `converge` set, the convergence table: its header and one row per unit
// time. CSV starts with a byte order mark and ends its lines in CRLF, so
// that a spreadsheet on a Japanese desktop reads it as UTF-8. Writing
// stops at the first line `out` fails to take.
//
// Without `steps` the clicks are the sheet's record's, and the sheet's
// sentence on why they end there is returned. Tab-separated output also
// ends with it, as a line of its own after endLinePrefix; a CSV stays
// rows only, and the caller shows the sentence beside it.
std::optional<std::string> write(std::ostream& out, const Options& options);

// The same, as bytes.
std::string text(const Options& options);

} // namespace table
