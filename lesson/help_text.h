#pragma once

#include <string>
#include <vector>

// The 21 lines of the help window, in UTF-8: the problem, its diagram and
// how to work the main window. Indents are ideographic spaces (U+3000); an
// empty line is an empty string. Plain C++, so the page shows the same lines.
std::vector<std::string> helpLines();
