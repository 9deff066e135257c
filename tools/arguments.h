#pragma once

#include "chase_texts.h"
#include "tool_options.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The command line of the teacher's tools, read the same way by both:
// "--name value" or "--name=value", "--" before operands that start with
// "-", counts in ASCII or full-width digits, and the three inputs read as
// the window reads its boxes, with a warning where a text is more than a
// number. Messages are Japanese, then English after " / ".
namespace arguments {

// The three inputs and how the window reads them, as the lesson has them.
using lesson::ChaseTexts;
using lesson::plainDecimal;
using lesson::Reading;
using lesson::readingOf;

enum class Action { run, help, error };

// What every command line comes to, whatever the tool's options.
struct Outcome {
    Action action = Action::run;
    std::string error; // for Action::error
    std::vector<std::string> warnings; // inputs that are not wholly a number
};

template <typename Options> struct Parsed : Outcome {
    Options options;
};

using tool_options::Option;

// One option with its value (empty for a flag), or an operand, whose
// `option` is empty.
struct Argument {
    std::string_view option;
    std::string value;
};

// The command line in order. "--help" ends it with Action::help; an
// unknown option, a missing value, a value given to a flag or "-h" end it
// with Action::error. Either way no arguments are returned.
std::vector<Argument> split(const std::vector<std::string>& args, const tool_options::Tool& tool, Outcome& outcome);

// Takes --u, --v or --h into `texts`, warning where the text is not wholly
// a number; false for any other argument.
bool takeInput(const Argument& argument, ChaseTexts& texts, Outcome& outcome);

// A count from `least` to `most`: digits only, ASCII or full-width, with
// no sign, point, blank or anything else. Unset, with the error in
// `outcome`, otherwise.
std::optional<std::uint64_t> count(const Argument& argument, std::uint64_t least, std::uint64_t most, Outcome& outcome);

// A count the option's range allows, or one of its choices.
std::optional<std::uint64_t> count(const Argument& argument, const Option& option, Outcome& outcome);

// Ends the outcome with an error, `japanese / english`.
void fail(Outcome& outcome, const std::string& japanese, const std::string& english);

// Prints what the command line asks for before any work: the help on
// standard output, or the error on standard error, or the warnings there.
// Returns the exit status when there is nothing more to do: 0 after the
// help, 2 after an error.
std::optional<int> settle(std::string_view tool, const Outcome& outcome, const std::string& usage);

} // namespace arguments
