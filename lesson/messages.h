#pragma once

#include "pursuit.h"

#include <string_view>

// What the main window says in its message boxes, in UTF-8. Plain C++, so
// the page asks the same questions and explains faults in the same words.
namespace messages {

inline constexpr std::string_view title = "Torvikan";
inline constexpr std::string_view quitQuestion = "終了していいですか？";

// What the pupil reads when a click cannot be finished; empty for none.
std::string_view problem(sim::Fault fault);

} // namespace messages
