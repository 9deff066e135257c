#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace table {

struct Options {
    std::string mouseSpeed = "6";
    std::string dogSpeed = "10";
    std::string unitTime = "0.1";
    std::uint64_t steps = 200;
    bool csv = false;
};

enum class Action { run, help, error };

struct Parsed {
    Action action = Action::run;
    Options options;
    std::string error; // what was wrong, for Action::error
};

Parsed parseArguments(const std::vector<std::string>& args);

// The usage text, Japanese then English; also what --help prints.
std::string usage();

// The header line, the start row (click 0) and one row per click.
void write(std::ostream& out, const Options& options);

} // namespace table
