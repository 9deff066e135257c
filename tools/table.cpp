#include "table.h"

#include "number_text.h"
#include "pursuit.h"

#include <charconv>

namespace table {

Parsed parseArguments(const std::vector<std::string>& args)
{
    Parsed p;
    const auto fail = [&p](std::string message) {
        p.action = Action::error;
        p.error = std::move(message);
        return p;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            p.action = Action::help;
            return p;
        }
        if (a == "--csv") {
            p.options.csv = true;
            continue;
        }
        if (a != "--u" && a != "--v" && a != "--h" && a != "--steps")
            return fail("unknown option: " + a);
        if (i + 1 == args.size())
            return fail(a + " needs a value");
        const std::string& value = args[++i];
        if (a == "--u") {
            p.options.mouseSpeed = value;
        } else if (a == "--v") {
            p.options.dogSpeed = value;
        } else if (a == "--h") {
            p.options.unitTime = value;
        } else {
            std::uint64_t n = 0;
            const char* end = value.data() + value.size();
            const auto [ptr, ec] = std::from_chars(value.data(), end, n);
            if (value.empty() || ec != std::errc{} || ptr != end)
                return fail("--steps needs a whole number of 0 or more: " + value);
            p.options.steps = n;
        }
    }
    return p;
}

std::string usage()
{
    return "使い方: torvikan-table [--u 文字列] [--v 文字列] [--h 文字列] [--steps N] [--csv]\n"
           "  ねずみの速度ｕ、犬の速度ｖ、単位時間ｈを入力欄と同じように読み取り、\n"
           "  「次へ」を N 回押したときの表示を 1 行ずつ出力します（0 行目は初期位置）。\n"
           "  既定値: --u 6  --v 10  --h 0.1  --steps 200。--csv でカンマ区切り。\n"
           "\n"
           "Usage: torvikan-table [--u TEXT] [--v TEXT] [--h TEXT] [--steps N] [--csv]\n"
           "  Reads the mouse speed u, the dog speed v and the unit time h as the\n"
           "  input boxes read them, and prints what the window shows after each of\n"
           "  N clicks on 次へ (row 0 is the start position), tab-separated.\n"
           "  Defaults: --u 6  --v 10  --h 0.1  --steps 200.  --csv separates by commas.\n"
           "  Columns: click, mouse x, mouse y, dog x, dog y, seconds, catch cue (1/0),\n"
           "  fault that ended the click (invalid, divzero, overflow) or empty.\n"
           "  --help  print this text and exit.\n";
}

namespace {

void writeRow(std::string& line, char sep, std::uint64_t click, const sim::Readouts& r, bool cue,
              sim::Fault fault)
{
    line.clear();
    line += std::to_string(click);
    for (const float value : {r.mouseX, r.mouseY, r.dogX, r.dogY, r.seconds}) {
        line += sep;
        line += number_text::formatReadout(value);
    }
    line += sep;
    line += cue ? '1' : '0';
    line += sep;
    line += sim::faultName(fault);
    line += '\n';
}

} // namespace

void write(std::ostream& out, const Options& options)
{
    const char sep = options.csv ? ',' : '\t';
    std::string line;
    for (const char* column : {"クリック", "ねずみの位置ｘ", "ねずみの位置ｙ", "犬の位置ｘ", "犬の位置ｙ",
                               "秒経過", "追いついた音", "エラー"}) {
        if (!line.empty())
            line += sep;
        line += column;
    }
    line += '\n';
    out << line;

    sim::PursuitState state;
    sim::Readouts shown = sim::resetToStart(state).readouts;
    writeRow(line, sep, 0, shown, false, sim::Fault::none);
    out << line;
    for (std::uint64_t click = 1; click <= options.steps; ++click) {
        const sim::StepOutcome o = sim::step(state, options.mouseSpeed, options.dogSpeed, options.unitTime);
        if (o.fault == sim::Fault::none)
            shown = o.frame.readouts;
        writeRow(line, sep, click, shown, o.catchCue, o.fault);
        out << line;
    }
}

} // namespace table
