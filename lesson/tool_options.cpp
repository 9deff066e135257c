#include "tool_options.h"

#include "chase_table.h"
#include "sheet_content.h"

#include <algorithm>
#include <cstddef>

namespace tool_options {

namespace {

std::string number(std::uint64_t n) { return std::to_string(n); }

// The speeds and the unit time, alike in both tools; the note on reading
// them follows the last of the three.
std::vector<Option> inputs(std::string_view noteJapanese, std::string_view noteEnglish)
{
    const lesson::ChaseTexts start;
    return {
        {"--u", "文字列", "TEXT", start.mouseSpeed, {}, {}, "ねずみの速度ｕ（m/秒）。", "the mouse speed u, in m/s."},
        {"--v", "文字列", "TEXT", start.dogSpeed, {}, {}, "犬の速度ｖ（m/秒）。", "the dog speed v, in m/s."},
        {"--h", "文字列", "TEXT", start.unitTime, {}, {}, "単位時間ｈ（秒）。\n" + std::string(noteJapanese),
            "the unit time h, in seconds.\n" + std::string(noteEnglish)},
    };
}

const Option help{"--help", "", "", "", {}, {}, "この説明を表示して終了します。", "print this text and exit."};

Tool makeTable()
{
    Tool tool{"torvikan-table",
        inputs("全角数字も読みます。数だけでない文字列（1/10、0,1、空欄など）は入力欄\n"
               "と同じく先頭の数（なければ 0）として読み、標準エラーに警告します。",
            "Full-width digits are read too. A text that is not a number\n"
            "alone (1/10, 0,1, empty...) reads as the number it begins with,\n"
            "or 0, as in the input boxes, with a warning on standard error.")};
    Option steps{"--steps", "N", "N", "", Range{0, std::nullopt}, {}, {}, {}};
    steps.helpJapanese = "「次へ」を押す回数（" + valuesText(steps, Language::japanese)
        + "の整数。全角数字も可）。指定しないときは\n"
          "記録用紙と同じく、追いついた音が初めて鳴る、ねずみが方眼の外に出る、\n"
          "計算できなくなる、何も動かなくなるなど、記録が終わるクリックまでで、\n"
          "最後の行に「"
        + std::string(table::endLinePrefix)
        + "」に続けて、記録がそこで終わる理由を書きます（--csv\n"
          "では CSV に入れず、標準エラーに書きます）。";
    steps.helpEnglish = "how many clicks on 次へ (a whole number of " + valuesText(steps, Language::english)
        + "; full-\n"
          "width digits too). Without it, as many as the worksheet's\n"
          "record holds: up to the first catch cue, the mouse leaving the\n"
          "field, a click that cannot be finished or nothing moving any\n"
          "more; a last line after \""
        + std::string(table::endLinePrefix)
        + "\" says why the record ends there\n"
          "(with --csv it goes to standard error, not into the CSV).";
    const std::string budget = lesson::groupedDigits(table::convergeClickBudget);
    Option converge{"--converge", "K", "K", "", Range{1, table::maxConvergeRows}, {}, {}, {}};
    converge.helpJapanese = "クリックの表の代わりに、ｈ、ｈ/2、…、ｈ/2^(K-1)（K は "
        + valuesText(converge, Language::japanese)
        + "）\n"
          "ごとに 1 行: ｈ、初めて音が鳴ったクリックとそのときの秒経過、理論上\n"
          "追いつく秒、画面の犬と理論上の犬との最大のずれ、前の行のずれ÷この行の\n"
          "ずれ（1 次の方法なら約 2）、備考。ずれは理論上追いつく秒までのクリック\n"
          "で比べます（音がそれより後なら音まで、ねずみが先に右端に着けばそこ\n"
          "まで）。単精度の丸めがずれを上回った行より後と、クリックが合わせて\n"
        + budget
        + " 回を超える行は計算せず、備考に理由を書きます。--steps と\n"
          "--exact は使いません。";
    converge.helpEnglish = "instead of the clicks, one row for each of h, h/2, ...,\n"
                           "h/2^(K-1) (K from "
        + valuesText(converge, Language::english)
        + "): h, the first click with the catch\n"
          "cue and its seconds, the exact catch time, the largest distance\n"
          "between the window's dog and the exact one, the previous row's\n"
          "largest distance divided by this row's (about 2 for a first-\n"
          "order method), and a note. The dogs are compared over the clicks\n"
          "up to the exact catch time (on to the cue if that comes later;\n"
          "up to the field's right edge if the mouse gets there first).\n"
          "Rows after the one where single precision's rounding outweighs\n"
          "the distance, and rows that would take the clicks past "
        + budget
        + "\n"
          "in all, are not run; their note says why. --steps and --exact\n"
          "do not apply.";
    tool.options.push_back(std::move(steps));
    tool.options.push_back(
        {"--csv", "", "", "", {}, {}, "表計算ソフト用の CSV: UTF-8（BOM 付き）、CRLF 改行、カンマ区切り。",
            "CSV for a spreadsheet: UTF-8 with a byte order mark, CRLF line\n"
            "ends, commas between the columns."});
    tool.options.push_back({"--exact", "", "", "", {}, {},
        "各行の秒経過での理論上の（連続の）追いかけっこの犬の位置ｘ・ｙと、\n"
        "画面の犬とのずれ（距離）の 3 列を加えます。ｖが 0 以下、秒が負の\n"
        "ときは空欄です。",
        "adds three columns: the dog of the exact (continuous) chase at\n"
        "the row's seconds, x and y, and its distance from the window's\n"
        "dog; empty when v is 0 or less or the seconds are negative."});
    tool.options.push_back(std::move(converge));
    tool.options.push_back(help);
    return tool;
}

Tool makeSheet()
{
    Tool tool{"torvikan-sheet",
        inputs("入力欄と同じように読み取ります（全角数字も可）。数だけでない文字列\n"
               "（1/10、0,1、空欄など）は先頭の数（なければ 0）として読み、標準エラー\n"
               "に警告し、用紙には読み取った値も書きます。",
            "Read as the input boxes read them (full-width digits too). A\n"
            "text that is not a number alone (1/10, 0,1, empty...) reads as\n"
            "the number it begins with, or 0, with a warning on standard\n"
            "error, and the sheet prints the value read beside it.")};
    const std::string limit = number(sheet::defaultClickLimit);
    Option clicks{"--clicks", "N", "N", "", Range{1, sheet::maxClicks}, {}, {}, {}};
    clicks.helpJapanese = "「次へ」を N 回（" + valuesText(clicks, Language::japanese)
        + "）押したところまで。既定では、追いついた\n"
          "音が初めて鳴るクリックまで（1 回目から鳴るときは理論上追いつく時刻\n"
          "まで）、または、ねずみが右端を越える、何も変わらなくなる、計算でき\n"
          "ないクリックまで（最大 "
        + limit + " 回）。";
    clicks.helpEnglish = "draw N clicks on 次へ (" + valuesText(clicks, Language::english)
        + "). By default: up to the\n"
          "first click with the catch cue (to the exact catch time where\n"
          "the cue sounds from the first click), or until the mouse leaves\n"
          "the field, nothing changes any more or a click cannot be\n"
          "finished, at most "
        + limit + " clicks.";
    Option every{"--every", "M", "M", "", Range{1, sheet::maxClicks}, {}, {}, {}};
    every.helpJapanese = "表に M クリックごとの表示を載せます（" + valuesText(every, Language::japanese)
        + "）。0 回目、音が初めて\n"
          "鳴ったクリック、最後のクリックは必ず載せます。長い表は次のページに\n"
          "続きます。既定の M はクリックの数から決めます。--blank の用紙にも\n"
          "答えの用紙と同じクリックを載せます。";
    every.helpEnglish = "list every M-th click in the table (" + valuesText(every, Language::english)
        + "); click 0, the\n"
          "first click with the cue and the last click are always listed.\n"
          "A long table continues on further pages. By default M is\n"
          "chosen from the number of clicks; a --blank sheet lists the\n"
          "answer sheet's clicks.";
    Option grid{"--grid", "G", "G", number(std::uint64_t(sheet::Request{}.grid)), {}, {10, 5, 1}, {}, {}};
    grid.helpJapanese = "用紙の図の方眼の間隔（m）: " + valuesText(grid, Language::japanese) + "（10 は画面と同じ）。";
    grid.helpEnglish = "metres between the grid lines of the sheet's field: " + valuesText(grid, Language::english)
        + "\n(10 is the window's).";
    tool.options.push_back(std::move(clicks));
    tool.options.push_back(std::move(every));
    tool.options.push_back(std::move(grid));
    tool.options.push_back({"--exact", "", "", "", {}, {},
        "理論上の（なめらかな）追いかけっこの犬の道すじを描き、表に理論上の\n"
        "犬の位置ｘ・ｙと画面の犬とのずれを加え、理論上追いつく時刻を書きます。",
        "draw the dog's path in the exact (continuous) chase, add the\n"
        "exact dog's x and y and its distance from the window's dog to\n"
        "the table, and give the exact catch time."});
    tool.options.push_back({"--blank", "", "", "", {}, {},
        "児童・生徒用: 方眼と目盛りだけの図と、クリック番号だけの空欄の表。\n"
        "--exact とは使えません（答えがわかってしまうため）。",
        "the pupils' version: the field with its grid and labels only,\n"
        "and a table of click numbers with empty cells. Not with --exact,\n"
        "which would give the answers away."});
    tool.options.push_back(help);
    return tool;
}

// Columns a character takes on a terminal: two for the full-width ones.
std::size_t columnsOf(std::string_view text)
{
    const lesson::CharacterCounts counts = lesson::characterCounts(text);
    const std::size_t columns = counts.narrow + 2 * counts.wide;
    return columns;
}

std::string leadOf(const Option& option, Language language)
{
    return "  " + option.name + (option.takesValue() ? " " + option.value(language) : std::string());
}

} // namespace

const std::string& Option::value(Language language) const
{
    return language == Language::japanese ? valueJapanese : valueEnglish;
}

const std::string& Option::help(Language language) const
{
    return language == Language::japanese ? helpJapanese : helpEnglish;
}

const Option& Tool::option(std::string_view name) const
{
    return *std::find_if(options.begin(), options.end(), [&](const Option& o) { return o.name == name; });
}

const Tool& table()
{
    static const Tool tool = makeTable();
    return tool;
}

const Tool& sheet()
{
    static const Tool tool = makeSheet();
    return tool;
}

std::string valuesText(const Option& option, Language language)
{
    const bool japanese = language == Language::japanese;
    if (!option.choices.empty()) {
        std::string text;
        for (std::size_t i = 0; i < option.choices.size(); ++i) {
            if (i > 0)
                text += japanese ? "、" : i + 1 == option.choices.size() ? " or " : ", ";
            text += number(option.choices[i]);
        }
        return text;
    }
    if (!option.range)
        return {};
    const Range& r = *option.range;
    if (!r.most)
        return number(r.least) + (japanese ? " 以上" : " or more");
    return number(r.least) + (japanese ? "〜" : " to ") + number(*r.most);
}

std::string synopsis(const Tool& tool, std::string_view pattern, Language language)
{
    std::string text;
    for (std::size_t at = 0; at < pattern.size();) {
        const bool option = pattern.substr(at, 2) == "--" && at + 2 < pattern.size() && pattern[at + 2] >= 'a'
            && pattern[at + 2] <= 'z';
        if (!option) {
            text += pattern[at++];
            continue;
        }
        std::size_t end = at + 2;
        while (end < pattern.size() && ((pattern[end] >= 'a' && pattern[end] <= 'z') || pattern[end] == '-'))
            ++end;
        const Option& o = tool.option(pattern.substr(at, end - at));
        text += o.name;
        if (o.takesValue())
            text += " " + o.value(language);
        at = end;
    }
    return text;
}

std::string defaultsLine(const Tool& tool, Language language)
{
    std::string line = language == Language::japanese ? "  既定値:" : "  Defaults:";
    for (const Option& o : tool.options)
        if (!o.defaultValue.empty())
            line += " " + std::string(line.back() == ':' ? "" : " ") + o.name + " " + o.defaultValue;
    return line + "\n";
}

std::string optionsHelp(const Tool& tool, Language language)
{
    std::size_t column = 0;
    for (const Option& o : tool.options)
        column = std::max(column, columnsOf(leadOf(o, language)) + 2);
    std::string text;
    for (const Option& o : tool.options) {
        const std::string lead = leadOf(o, language);
        text += lead + std::string(column - columnsOf(lead), ' ');
        const std::string& help = o.help(language);
        for (std::size_t at = 0; at <= help.size();) {
            const std::size_t end = std::min(help.find('\n', at), help.size());
            if (at > 0)
                text += std::string(column, ' ');
            text += help.substr(at, end - at) + "\n";
            at = end + 1;
        }
    }
    return text;
}

} // namespace tool_options
