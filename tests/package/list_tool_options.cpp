// Prints a teacher's tool's options as its manual pages must give them,
// one a line, tab-separated: the name, the value's name in Japanese and in
// English (empty for a flag), the default (empty where there is none) and
// the values it takes: "1-30", "0-" for 0 or more, "10,5,1" for choices.
//   list_tool_options torvikan-table|torvikan-sheet

#include "tool_options.h"

#include <cstdio>
#include <string>
#include <string_view>

int main(int argc, char** argv)
{
    const std::string_view name = argc == 2 ? argv[1] : "";
    const tool_options::Tool* tool = name == tool_options::table().name ? &tool_options::table()
        : name == tool_options::sheet().name                            ? &tool_options::sheet()
                                                                        : nullptr;
    if (!tool) {
        std::fprintf(stderr, "usage: list_tool_options torvikan-table|torvikan-sheet\n");
        return 2;
    }
    for (const tool_options::Option& o : tool->options) {
        std::string values;
        if (o.range)
            values = std::to_string(o.range->least) + "-" + (o.range->most ? std::to_string(*o.range->most) : "");
        for (const std::uint64_t choice : o.choices)
            values += (values.empty() ? "" : ",") + std::to_string(choice);
        std::printf("%s\t%s\t%s\t%s\t%s\n", o.name.c_str(), o.valueJapanese.c_str(), o.valueEnglish.c_str(),
            o.defaultValue.c_str(), values.c_str());
    }
    return 0;
}
