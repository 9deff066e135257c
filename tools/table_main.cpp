// torvikan-table: the read-outs of a whole chase, click by click, for a
// teacher's answer sheet. It runs the very step the window runs.

#include "table.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    const table::Parsed parsed = table::parseArguments(args);
    switch (parsed.action) {
    case table::Action::help:
        std::fputs(table::usage().c_str(), stdout);
        return 0;
    case table::Action::error:
        std::fprintf(stderr, "torvikan-table: %s\n%s", parsed.error.c_str(), table::usage().c_str());
        return 2;
    case table::Action::run:
        break;
    }
    std::ios::sync_with_stdio(false);
    table::write(std::cout, parsed.options);
    std::cout.flush();
    return std::cout ? 0 : 1;
}
