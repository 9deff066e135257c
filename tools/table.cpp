#include "table.h"

#include <optional>

namespace table {

Parsed parseArguments(const std::vector<std::string>& args)
{
    Parsed p;
    const tool_options::Tool& tool = tool_options::table();
    const std::vector<arguments::Argument> given = arguments::split(args, tool, p);
    for (const arguments::Argument& a : given) {
        if (arguments::takeInput(a, p.options, p))
            continue;
        if (a.option == "--csv") {
            p.options.csv = true;
        } else if (a.option == "--exact") {
            p.options.exact = true;
        } else if (a.option == "--steps") {
            const std::optional<std::uint64_t> steps = arguments::count(a, tool.option(a.option), p);
            if (!steps)
                return p;
            p.options.steps = *steps;
        } else if (a.option == "--converge") {
            const std::optional<std::uint64_t> rows = arguments::count(a, tool.option(a.option), p);
            if (!rows)
                return p;
            p.options.converge = int(*rows);
        } else {
            arguments::fail(p, "余分な引数: " + a.value + "（表は標準出力に書きます。ファイルには > で）",
                "unexpected argument: " + a.value + " (the table goes to standard output; use > for a file)");
            return p;
        }
    }
    return p;
}

std::string usage()
{
    using tool_options::Language;
    const tool_options::Tool& tool = tool_options::table();
    const auto synopsis
        = [&](std::string_view pattern, Language language) { return tool_options::synopsis(tool, pattern, language); };
    return synopsis("使い方: torvikan-table [--u] [--v] [--h] [--steps] [--csv] [--exact]\n"
                    "       torvikan-table [--u] [--v] [--h] [--csv] --converge\n"
                    "       torvikan-table --help\n",
               Language::japanese)
        + "  ねずみの速度ｕ、犬の速度ｖ、単位時間ｈを入力欄と同じように読み取り、「次へ」を\n"
          "  押すごとの表示を 1 行ずつ、タブ区切りで出力します（0 行目は初期位置）。\n"
          "  列: クリック、ねずみの位置ｘ・ｙ、犬の位置ｘ・ｙ、秒経過、追いついた音（1 か 0）、\n"
          "  そのクリックを止めたエラー（invalid、divzero、overflow）または空欄。\n"
        + tool_options::defaultsLine(tool, Language::japanese) + tool_options::optionsHelp(tool, Language::japanese)
        + "  値をとるオプションは --u=8 のようにも書けます。\n"
          "  終了コード: 0 出力した、1 書き込めなかった、2 引数の誤り（理由は標準エラーに）。\n"
          "\n"
        + synopsis("Usage: torvikan-table [--u] [--v] [--h] [--steps] [--csv] [--exact]\n"
                   "       torvikan-table [--u] [--v] [--h] [--csv] --converge\n"
                   "       torvikan-table --help\n",
            Language::english)
        + "  Reads the mouse speed u, the dog speed v and the unit time h as the\n"
          "  input boxes read them, and prints what the window shows after each\n"
          "  click on 次へ (row 0 is the start position), tab-separated.\n"
          "  Columns: click, mouse x, mouse y, dog x, dog y, seconds, catch cue (1/0),\n"
          "  fault that ended the click (invalid, divzero, overflow) or empty.\n"
        + tool_options::defaultsLine(tool, Language::english) + tool_options::optionsHelp(tool, Language::english)
        + "  An option's value may also follow an equals sign: --u=8.\n"
          "  Exit status: 0 printed, 1 could not be written in full, 2 bad arguments\n"
          "  (the reason goes to standard error).\n";
}

} // namespace table
