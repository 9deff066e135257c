#include "table.h"

#include "arguments.h"
#include "exact_chase.h"
#include "number_text.h"
#include "pursuit.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <optional>

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
        if (a == "--exact") {
            p.options.exact = true;
            continue;
        }
        if (a != "--u" && a != "--v" && a != "--h" && a != "--steps" && a != "--converge")
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
        } else if (a == "--converge") {
            const std::optional<std::uint64_t> rows = wholeNumber(value, 1, maxConvergeRows);
            if (!rows)
                return fail("--converge needs a whole number from 1 to " + std::to_string(maxConvergeRows) + ": " +
                            value);
            p.options.converge = int(*rows);
        } else {
            const std::optional<std::uint64_t> steps = wholeNumber(value);
            if (!steps)
                return fail("--steps needs a whole number of 0 or more: " + value);
            p.options.steps = *steps;
        }
    }
    return p;
}

std::string usage()
{
    return "使い方: torvikan-table [--u 文字列] [--v 文字列] [--h 文字列] [--steps N] [--csv] [--exact]\n"
           "       torvikan-table [--u 文字列] [--v 文字列] [--h 文字列] [--csv] --converge K\n"
           "  ねずみの速度ｕ、犬の速度ｖ、単位時間ｈを入力欄と同じように読み取り、\n"
           "  「次へ」を N 回押したときの表示を 1 行ずつ出力します（0 行目は初期位置）。\n"
           "  既定値: --u 6  --v 10  --h 0.1  --steps 200。--csv でカンマ区切り。\n"
           "  --exact: 各行の秒経過での厳密な（連続の）追跡の犬の位置ｘ・ｙと、画面の犬との\n"
           "  ずれ（距離）の 3 列を加えます。ｖが 0 以下、秒が負のときは空欄です。\n"
           "  --converge K: クリックの表の代わりに、ｈ、ｈ/2、…、ｈ/2^(K-1)（K は 1〜30）\n"
           "  ごとに 1 行: 最初に追いついた音が鳴るまでのクリック数、そのときの秒経過、\n"
           "  厳密に追いつく秒、そこまでの最大のずれ、前の行の最大のずれ÷この行の値\n"
           "  （1 次の方法なら約 2）。--steps と --exact は使いません。\n"
           "\n"
           "Usage: torvikan-table [--u TEXT] [--v TEXT] [--h TEXT] [--steps N] [--csv] [--exact]\n"
           "       torvikan-table [--u TEXT] [--v TEXT] [--h TEXT] [--csv] --converge K\n"
           "  Reads the mouse speed u, the dog speed v and the unit time h as the\n"
           "  input boxes read them, and prints what the window shows after each of\n"
           "  N clicks on 次へ (row 0 is the start position), tab-separated.\n"
           "  Defaults: --u 6  --v 10  --h 0.1  --steps 200.  --csv separates by commas.\n"
           "  Columns: click, mouse x, mouse y, dog x, dog y, seconds, catch cue (1/0),\n"
           "  fault that ended the click (invalid, divzero, overflow) or empty.\n"
           "  --exact  adds three columns: the dog of the exact (continuous) chase at\n"
           "  the row's seconds, x and y, and its distance from the window's dog;\n"
           "  empty when v is 0 or less or the seconds are negative.\n"
           "  --converge K  instead of the clicks, one row for each of h, h/2, ...,\n"
           "  h/2^(K-1) (K from 1 to 30): the clicks to the first catch cue, the\n"
           "  seconds shown then, the exact catch time, the largest distance between\n"
           "  the window's dog and the exact one up to that click, and the previous\n"
           "  row's largest distance divided by this row's (about 2 for a first-order\n"
           "  method). A row without a cue says why. --steps and --exact do not apply.\n"
           "  --help  print this text and exit.\n";
}

namespace {

// The speeds as the window stores them; the exact chase has no value where
// either is too large for a float.
struct Speeds {
    double u = 0.0;
    double v = 0.0;
};

Speeds speedsOf(const Options& options)
{
    return {number_text::textToFloat(options.mouseSpeed), number_text::textToFloat(options.dogSpeed)};
}

void writeHeader(std::string& line, char sep, std::initializer_list<const char*> columns)
{
    line.clear();
    for (const char* column : columns) {
        if (!line.empty())
            line += sep;
        line += column;
    }
    line += '\n';
}

void writeRow(std::string& line, char sep, std::uint64_t click, const sim::Readouts& r, bool cue,
              sim::Fault fault, const std::optional<Speeds>& exact)
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
    if (exact) {
        const std::optional<sim::exact::Point> dog = sim::exact::dogAt(exact->u, exact->v, r.seconds);
        for (const double value : {dog ? dog->x : 0.0, dog ? dog->y : 0.0, dog ? sim::exact::distanceFromShown(r, *dog) : 0.0}) {
            line += sep;
            if (dog)
                line += number_text::formatFixed(value, 3);
        }
    }
    line += '\n';
}

void writeClicks(std::ostream& out, const Options& options)
{
    const char sep = options.csv ? ',' : '\t';
    std::optional<Speeds> exact;
    if (options.exact)
        exact = speedsOf(options);
    std::string line;
    if (options.exact)
        writeHeader(line, sep, {"クリック", "ねずみの位置ｘ", "ねずみの位置ｙ", "犬の位置ｘ", "犬の位置ｙ", "秒経過",
                                "追いついた音", "エラー", "厳密な犬の位置ｘ", "厳密な犬の位置ｙ", "ずれ"});
    else
        writeHeader(line, sep, {"クリック", "ねずみの位置ｘ", "ねずみの位置ｙ", "犬の位置ｘ", "犬の位置ｙ", "秒経過",
                                "追いついた音", "エラー"});
    out << line;

    sim::PursuitState state;
    sim::Readouts shown = sim::resetToStart(state).readouts;
    writeRow(line, sep, 0, shown, false, sim::Fault::none, exact);
    out << line;
    for (std::uint64_t click = 1; click <= options.steps; ++click) {
        const sim::StepOutcome o = sim::step(state, options.mouseSpeed, options.dogSpeed, options.unitTime);
        if (o.fault == sim::Fault::none)
            shown = o.frame.readouts;
        writeRow(line, sep, click, shown, o.catchCue, o.fault, exact);
        out << line;
    }
}

// The shortest text that reads back as `value`, through a double as the
// boxes read it.
std::string exactText(double value)
{
    char digits[64];
    return {digits, std::to_chars(digits, digits + sizeof digits, value).ptr};
}

std::string shortestText(float value)
{
    char digits[64];
    return {digits, std::to_chars(digits, digits + sizeof digits, value).ptr};
}

bool sameChase(const sim::PursuitState& a, const sim::PursuitState& b)
{
    const auto same = [](float x, float y) { return std::bit_cast<std::uint32_t>(x) == std::bit_cast<std::uint32_t>(y); };
    return same(a.s, b.s) && same(a.ux, b.ux) && same(a.uy, b.uy) && same(a.kx, b.kx) && same(a.ky, b.ky);
}

struct FirstCue {
    bool heard = false;
    std::uint64_t clicks = 0;
    float seconds = 0.0f;
    std::optional<double> largestDistance; // over clicks 1 to the cue
    std::string whyNot;                    // when no cue was heard
};

// Clicks from the start with the given texts until the first catch cue.
// A chase that a click leaves exactly as it was will never change again,
// so it is given up at once instead of at the click limit.
FirstCue clickToFirstCue(const Options& options, const std::string& unitTimeText, const Speeds& speeds)
{
    FirstCue result;
    sim::PursuitState state;
    sim::resetToStart(state);
    float exactSeconds = 0.0f;
    std::optional<sim::exact::Point> exactDog = sim::exact::dogAt(speeds.u, speeds.v, 0.0);
    for (std::uint64_t click = 1; click <= convergeClickLimit; ++click) {
        const sim::PursuitState before = state;
        const sim::StepOutcome o = sim::step(state, options.mouseSpeed, options.dogSpeed, unitTimeText);
        if (o.fault != sim::Fault::none) {
            result.whyNot = "追いつく前にエラー（" + std::string(sim::faultName(o.fault)) + "）";
            return result;
        }
        const sim::Readouts& shown = o.frame.readouts;
        // Below the clock's resolution many clicks show the same seconds.
        if (shown.seconds != exactSeconds) {
            exactSeconds = shown.seconds;
            exactDog = sim::exact::dogAt(speeds.u, speeds.v, exactSeconds);
        }
        if (exactDog)
            result.largestDistance = std::max(result.largestDistance.value_or(0.0), sim::exact::distanceFromShown(shown, *exactDog));
        if (o.catchCue) {
            result.heard = true;
            result.clicks = click;
            result.seconds = shown.seconds;
            return result;
        }
        if (sameChase(state, before)) {
            result.whyNot = state.ux >= sim::frameRight ? "追いつかない（ねずみが右端を越えた）"
                                                        : "追いつかない（ｈが小さすぎて動かなくなった）";
            return result;
        }
    }
    result.whyNot = "追いつかない（" + std::to_string(convergeClickLimit) + " 回まで）";
    return result;
}

void writeConvergence(std::ostream& out, const Options& options)
{
    const char sep = options.csv ? ',' : '\t';
    std::string line;
    writeHeader(line, sep, {"ｈ", "クリック", "秒経過", "厳密に追いつく秒", "最大のずれ", "前の行÷この行", "備考"});
    out << line;

    const Speeds speeds = speedsOf(options);
    const std::optional<double> catchTime = sim::exact::catchTime(speeds.u, speeds.v);
    const float unitTime = number_text::textToFloat(options.unitTime);
    std::optional<double> previousLargest;
    for (int row = 0; row < options.converge; ++row) {
        // Halving a float is exact. A unit time too large for a float
        // stays the text as given, so every row ends in its fault.
        const float h = std::ldexp(unitTime, -row);
        const std::string text = std::isfinite(unitTime) ? exactText(h) : options.unitTime;
        const FirstCue run = clickToFirstCue(options, text, speeds);

        line = shortestText(h);
        line += sep;
        if (run.heard)
            line += std::to_string(run.clicks);
        line += sep;
        if (run.heard)
            line += number_text::formatFixed(run.seconds, 6);
        line += sep;
        if (catchTime)
            line += number_text::formatFixed(*catchTime, 6);
        line += sep;
        const std::optional<double> largest = run.heard ? run.largestDistance : std::nullopt;
        if (largest)
            line += number_text::formatFixed(*largest, 6);
        line += sep;
        if (largest && previousLargest && *largest > 0.0)
            line += number_text::formatFixed(*previousLargest / *largest, 6);
        line += sep;
        line += run.whyNot;
        line += '\n';
        out << line;
        previousLargest = largest;
    }
}

} // namespace

void write(std::ostream& out, const Options& options)
{
    if (options.converge > 0)
        writeConvergence(out, options);
    else
        writeClicks(out, options);
}

} // namespace table
