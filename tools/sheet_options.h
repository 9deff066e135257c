#pragma once

#include "arguments.h"
#include "sheet_content.h"

#include <QString>

#include <string>
#include <vector>

// What a teacher asks torvikan-sheet for on its command line.
namespace sheet {

enum class Format { pdf, svg, png };

// The inputs, the clicks and the sheet's kind are the lesson's request;
// the command line adds where the sheet goes and in which format.
struct Options : Request {
    QString file;
    Format format = Format::pdf;
};

using Action = arguments::Action;
using Parsed = arguments::Parsed<Options>;

Parsed parseArguments(const std::vector<std::string>& args);

// The usage text, Japanese then English; also what --help prints.
std::string usage();

} // namespace sheet
