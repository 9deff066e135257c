#include "arguments.h"

#include "number_text.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <limits>

namespace arguments {

void fail(Outcome& outcome, const std::string& japanese, const std::string& english)
{
    outcome.action = Action::error;
    outcome.error = japanese + " / " + english;
}

namespace {

// What someone typing "-h 0.05" or "-h 1/10" meant as the unit time.
bool looksLikeNumber(const std::string& text)
{
    return number_text::isWholeNumber(text)
        || (!text.empty() && (std::isdigit((unsigned char)text[0]) || text[0] == '.'));
}

// Decodes one UTF-8 sequence at `at`, moving past it; 0 where the bytes
// are no character of three bytes or fewer, which is all a name folds.
char32_t decodeAt(const std::string& text, std::size_t& at)
{
    const auto byte = [&](std::size_t i) { return i < text.size() ? (unsigned char)text[i] : 0u; };
    const unsigned lead = byte(at);
    if (lead < 0x80) {
        ++at;
        return lead;
    }
    if ((lead & 0xE0) == 0xC0 && (byte(at + 1) & 0xC0) == 0x80) {
        const char32_t c = ((lead & 0x1F) << 6) | (byte(at + 1) & 0x3F);
        at += 2;
        return c;
    }
    if ((lead & 0xF0) == 0xE0 && (byte(at + 1) & 0xC0) == 0x80 && (byte(at + 2) & 0xC0) == 0x80) {
        const char32_t c = ((lead & 0x0F) << 12) | ((byte(at + 1) & 0x3F) << 6) | (byte(at + 2) & 0x3F);
        at += 3;
        return c;
    }
    return 0;
}

// The ASCII a Japanese input method's full-width letters, digits and signs
// stand for, and the dashes it gives for the hyphen key; 0 for others.
char halfWidth(char32_t c)
{
    if (c < 0x80)
        return char(c);
    if (c >= 0xFF01 && c <= 0xFF5E)
        return char(c - 0xFF01 + 0x21);
    if (c == 0x30FC || c == 0x2212 || c == 0x2010 || c == 0x2015)
        return '-';
    return 0;
}

// An argument whose every character up to the first "=" (or "＝") has a
// half-width form and which begins with a dash, as "－－ｈｅｌｐ" or
// "ーーｕ＝８": the option it was meant to be, with its value as typed.
// Anything else as it is.
std::string foldedOption(const std::string& a)
{
    std::string name;
    for (std::size_t at = 0; at < a.size();) {
        const char c = halfWidth(decodeAt(a, at));
        if (c == 0 || (name.empty() && c != '-'))
            return a;
        if (c == '=')
            return name + "=" + a.substr(at);
        name += c;
    }
    return name;
}

} // namespace

std::vector<Argument> split(const std::vector<std::string>& args, const tool_options::Tool& tool, Outcome& outcome)
{
    const std::vector<Option>& known = tool.options;
    std::vector<Argument> result;
    bool operandsOnly = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string a = operandsOnly ? args[i] : foldedOption(args[i]);
        if (operandsOnly || a.size() < 2 || a[0] != '-') {
            result.push_back({{}, a});
            continue;
        }
        if (a == "--") {
            operandsOnly = true;
            continue;
        }
        if (a == "--help") {
            outcome.action = Action::help;
            return {};
        }
        // "-h" is the usual short help, and the unit time is "--h": doing
        // either silently would print help where a table or a sheet was
        // wanted, or the other way round.
        if (a == "-h") {
            if (i + 1 < args.size() && looksLikeNumber(args[i + 1]))
                fail(outcome, "-h は使えません。説明は --help、単位時間は --h " + args[i + 1] + " のように指定します",
                    "-h is not an option: --help prints the help, and the unit time is --h, as in --h " + args[i + 1]);
            else
                fail(outcome, "-h は使えません。説明は --help で表示します",
                    "-h is not an option: --help prints the help");
            return {};
        }
        const std::size_t equals = a.find('=');
        const std::string name = a.substr(0, equals);
        const auto option = std::find_if(known.begin(), known.end(), [&](const Option& o) { return o.name == name; });
        if (option == known.end()) {
            fail(outcome, "不明なオプション: " + a, "unknown option: " + a);
            return {};
        }
        if (!option->takesValue() && equals != std::string::npos) {
            fail(outcome, name + " は値をとりません: " + a, name + " takes no value: " + a);
            return {};
        }
        if (!option->takesValue()) {
            result.push_back({option->name, {}});
        } else if (equals != std::string::npos) {
            result.push_back({option->name, a.substr(equals + 1)});
        } else if (i + 1 < args.size()) {
            result.push_back({option->name, args[++i]});
        } else {
            fail(outcome, name + " の値がありません", name + " needs a value");
            return {};
        }
    }
    return result;
}

bool takeInput(const Argument& argument, ChaseTexts& texts, Outcome& outcome)
{
    std::string* text = argument.option == "--u" ? &texts.mouseSpeed
        : argument.option == "--v"               ? &texts.dogSpeed
        : argument.option == "--h"               ? &texts.unitTime
                                                 : nullptr;
    if (!text)
        return false;
    *text = argument.value;
    const Reading reading = readingOf(argument.value);
    if (reading.wholeNumber)
        return true;
    const std::string option(argument.option);
    const std::string value = plainDecimal(reading.value);
    if (argument.value.empty())
        outcome.warnings.push_back("警告: " + option + " が空なので " + value + " と読みます / warning: " + option
            + " is empty; it is read as " + value);
    else
        outcome.warnings.push_back("警告: " + option + " の「" + argument.value + "」は数だけではないので " + value
            + " と読みます / warning: " + option + " \"" + argument.value + "\" is not a number alone; it is read as "
            + value);
    return true;
}

std::optional<std::uint64_t> count(const Argument& argument, std::uint64_t least, std::uint64_t most, Outcome& outcome)
{
    const std::string& text = argument.value;
    if (const std::optional<std::uint64_t> n = number_text::textToCount(text); n && *n >= least && *n <= most)
        return n;
    const std::string option(argument.option);
    if (most == std::numeric_limits<std::uint64_t>::max())
        fail(outcome, option + " には " + std::to_string(least) + " 以上の整数を指定してください: " + text,
            option + " needs a whole number of " + std::to_string(least) + " or more: " + text);
    else
        fail(outcome,
            option + " には " + std::to_string(least) + "〜" + std::to_string(most)
                + " の整数を指定してください: " + text,
            option + " needs a whole number from " + std::to_string(least) + " to " + std::to_string(most) + ": "
                + text);
    return std::nullopt;
}

std::optional<std::uint64_t> count(const Argument& argument, const Option& option, Outcome& outcome)
{
    if (option.range)
        return count(argument, option.range->least,
            option.range->most.value_or(std::numeric_limits<std::uint64_t>::max()), outcome);
    Outcome notACount;
    const std::optional<std::uint64_t> n = count(argument, 0, std::numeric_limits<std::uint64_t>::max(), notACount);
    if (n && std::find(option.choices.begin(), option.choices.end(), *n) != option.choices.end())
        return n;
    const std::string name(argument.option);
    fail(outcome,
        name + " には " + tool_options::valuesText(option, tool_options::Language::japanese)
            + " のどれかを指定してください: " + argument.value,
        name + " needs " + tool_options::valuesText(option, tool_options::Language::english) + ": " + argument.value);
    return std::nullopt;
}

std::optional<int> settle(std::string_view tool, const Outcome& outcome, const std::string& usage)
{
    const int length = static_cast<int>(tool.size());
    switch (outcome.action) {
    case Action::help:
        std::fputs(usage.c_str(), stdout);
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    case Action::error:
        std::fprintf(stderr, "%.*s: %s; 詳しくは --help / see --help\n", length, tool.data(), outcome.error.c_str());
        return 2;
    case Action::run:
        break;
    }
    for (const std::string& warning : outcome.warnings)
        std::fprintf(stderr, "%.*s: %s\n", length, tool.data(), warning.c_str());
    return std::nullopt;
}

} // namespace arguments
