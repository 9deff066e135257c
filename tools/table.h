#pragma once

#include "arguments.h"
#include "chase_table.h"

#include <string>
#include <vector>

// torvikan-table's command line; the table itself is the lesson's.
namespace table {

using Action = arguments::Action;
using Parsed = arguments::Parsed<Options>;

Parsed parseArguments(const std::vector<std::string>& args);

// The usage text, Japanese then English; also what --help prints.
std::string usage();

} // namespace table
