#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The teacher's tools' options, each written once: its name, its value,
// its default, the values it takes and what --help says of it in Japanese
// and in English. The tools read their command lines and write their
// --help from these, and the manual pages are checked against them.
namespace tool_options {

enum class Language { japanese, english };

// The whole numbers a count takes: from `least` to `most`, or without
// `most` any from `least` on.
struct Range {
    std::uint64_t least = 0;
    std::optional<std::uint64_t> most;
};

struct Option {
    std::string name; // with its leading "--"
    std::string valueJapanese; // what --help calls its value; empty for a flag
    std::string valueEnglish;
    std::string defaultValue; // as it is typed; empty where it has none
    std::optional<Range> range; // a count
    std::vector<std::uint64_t> choices; // or one of these, in the order --help gives them
    // What --help says of it, its lines parted by "\n".
    std::string helpJapanese;
    std::string helpEnglish;

    bool takesValue() const { return !valueEnglish.empty(); }
    const std::string& value(Language language) const;
    const std::string& help(Language language) const;
};

struct Tool {
    std::string_view name;
    std::vector<Option> options; // in the order --help and the manual pages give them

    // The option of that name, which the tool must have.
    const Option& option(std::string_view name) const;
};

const Tool& table();
const Tool& sheet();

// The values an option takes, as --help gives them: "1〜30", "0 以上",
// "10、5、1" or "1 to 30", "0 or more", "10, 5 or 1".
std::string valuesText(const Option& option, Language language);

// `pattern` with each "--name" of an option that takes a value followed
// by the value's name: "[--steps]" becomes "[--steps N]".
std::string synopsis(const Tool& tool, std::string_view pattern, Language language);

// "既定値: --u 6  --v 10  --h 0.1" or "Defaults: …", and a line feed.
std::string defaultsLine(const Tool& tool, Language language);

// The options' paragraphs of --help, each option with its value in a
// column and its text beside it.
std::string optionsHelp(const Tool& tool, Language language);

} // namespace tool_options
