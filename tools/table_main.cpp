// torvikan-table: the read-outs of a whole chase, click by click, for a
// teacher's answer sheet. It runs the very step the window runs.

#include "table.h"

#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    const table::Parsed parsed = table::parseArguments(args);
    if (const std::optional<int> status = arguments::settle("torvikan-table", parsed, table::usage()))
        return *status;
    std::ios::sync_with_stdio(false);
    const std::optional<std::string> end = table::write(std::cout, parsed.options);
    std::cout.flush();
    if (!std::cout)
        return 1;
    // A CSV holds rows only, for a spreadsheet; why its clicks end where
    // they do is for the teacher at the terminal.
    if (end && parsed.options.csv)
        std::fprintf(stderr, "torvikan-table: %s\n", end->c_str());
    return 0;
}
