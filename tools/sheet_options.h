#pragma once

#include <QString>

#include <optional>
#include <string>
#include <vector>

// What a teacher asks torvikan-sheet for on its command line.
namespace sheet {

enum class Format { pdf, svg, png };

// More clicks than any lesson needs; beyond this a sheet only grows.
inline constexpr int maxClicks = 100'000;
// Without --clicks: until the catch cue, the mouse leaving the field or a
// click that cannot be finished, but no further than this.
inline constexpr int defaultClickLimit = 100'000;

struct Options {
    std::string mouseSpeed = "6";
    std::string dogSpeed = "10";
    std::string unitTime = "0.1";
    std::optional<int> clicks; // unset: see defaultClickLimit
    std::optional<int> every;  // unset: the smallest step that fits the page
    bool exact = false;
    bool blank = false;
    int grid = 10; // metres between the field's grid lines on paper: 10 (the window's), 5 or 1
    QString file;
    Format format = Format::pdf;
};

enum class Action { run, help, error };

struct Parsed {
    Action action = Action::run;
    Options options;
    std::string error; // what was wrong, Japanese then English
};

Parsed parseArguments(const std::vector<std::string>& args);

// The usage text, Japanese then English; also what --help prints.
std::string usage();

} // namespace sheet
