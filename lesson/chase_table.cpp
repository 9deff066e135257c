#include "chase_table.h"

#include "exact_chase.h"
#include "number_text.h"
#include "pursuit.h"
#include "sheet_content.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <sstream>
#include <string_view>

namespace table {

namespace {

// One line of output, cell by cell: tab-separated for a terminal, or CSV
// as RFC 4180 has it for a spreadsheet: a cell holding a comma, a quote or
// a line break is quoted, and lines end in CRLF.
class Line {
public:
    explicit Line(bool csv)
        : m_csv(csv)
    {
    }

    void cell(std::string_view text)
    {
        if (m_cells++ > 0)
            m_text += m_csv ? ',' : '\t';
        if (!m_csv || text.find_first_of(",\"\r\n") == std::string_view::npos) {
            m_text += text;
            return;
        }
        m_text += '"';
        for (const char c : text) {
            if (c == '"')
                m_text += '"';
            m_text += c;
        }
        m_text += '"';
    }

    void writeTo(std::ostream& out)
    {
        m_text += m_csv ? "\r\n" : "\n";
        out << m_text;
        m_text.clear();
        m_cells = 0;
    }

private:
    bool m_csv = false;
    std::string m_text;
    int m_cells = 0;
};

void writeHeader(std::ostream& out, Line& line, std::initializer_list<std::string_view> columns)
{
    for (const std::string_view column : columns)
        line.cell(column);
    line.writeTo(out);
}

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

void writeRow(std::ostream& out, Line& line, std::uint64_t click, const sim::Readouts& r, bool cue, sim::Fault fault,
    const std::optional<Speeds>& exact)
{
    line.cell(std::to_string(click));
    for (const float value : {r.mouseX, r.mouseY, r.dogX, r.dogY, r.seconds})
        line.cell(number_text::formatReadout(value));
    line.cell(cue ? "1" : "0");
    line.cell(sim::faultName(fault));
    if (exact) {
        const std::optional<sim::exact::Point> dog = sim::exact::dogAt(exact->u, exact->v, r.seconds);
        for (const double value :
            {dog ? dog->x : 0.0, dog ? dog->y : 0.0, dog ? sim::exact::distanceFromShown(r, *dog) : 0.0})
            line.cell(dog ? number_text::formatFixed(value, 3) : std::string());
    }
    line.writeTo(out);
}

// The table's heading, then a row for the start and for each of `steps`
// clicks, as `clickAt(n)` gives the n-th in turn: what the window shows,
// the cue and any fault.
template <typename ClickAt>
void writeClicks(std::ostream& out, const Options& options, std::uint64_t steps, ClickAt clickAt)
{
    Line line(options.csv);
    std::optional<Speeds> exact;
    for (const std::string_view column : {"クリック", "ねずみの位置ｘ", "ねずみの位置ｙ", "犬の位置ｘ", "犬の位置ｙ",
             "秒経過", "追いついた音", "エラー"})
        line.cell(column);
    if (options.exact) {
        exact = speedsOf(options);
        for (const std::string_view column : {"理論上の犬の位置ｘ", "理論上の犬の位置ｙ", "ずれ"})
            line.cell(column);
    }
    line.writeTo(out);
    // A table that can no longer be written stops: a full disk or a closed
    // pipe would otherwise leave the clicks computed to the end, for nobody.
    for (std::uint64_t n = 0; n <= steps && out; ++n) {
        const sheet::Click& click = clickAt(n);
        writeRow(out, line, n, click.shown.readouts, click.catchCue, click.fault, exact);
    }
}

// Every click computed as it is written, for a count of clicks that may
// be far more than could be kept.
void writeSteps(std::ostream& out, const Options& options, std::uint64_t steps)
{
    sim::PursuitState state;
    sheet::Click last{sim::resetToStart(state), sim::Fault::none, false};
    writeClicks(out, options, steps, [&](std::uint64_t n) -> const sheet::Click& {
        if (n > 0) {
            const sim::StepOutcome o = sim::step(state, options.mouseSpeed, options.dogSpeed, options.unitTime);
            // The window leaves its read-outs as they were after a click it
            // could not finish.
            last = {o.fault == sim::Fault::none ? o.frame : last.shown, o.fault, o.catchCue};
        }
        return last;
    });
}

// One click with the speeds' texts read as the window reads its boxes and
// the unit time as a number; a unit time beyond the float range stops the
// click on reading, as its box would.
sim::StepOutcome clickWith(sim::PursuitState& state, const Options& options, float unitTime)
{
    sim::Fault fault = sim::readInputs(state, options.mouseSpeed, options.dogSpeed, {});
    if (fault == sim::Fault::none && !std::isfinite(unitTime))
        fault = sim::Fault::overflow;
    if (fault != sim::Fault::none) {
        sim::StepOutcome out;
        out.fault = fault;
        return out;
    }
    state.h = unitTime;
    return sim::step(state);
}

// Half a unit in the last place of `x`: the most that rounding to single
// precision moves a value stored there.
double halfUlp(float x)
{
    const float magnitude = std::fabs(x);
    return (double(std::nextafter(magnitude, std::numeric_limits<float>::infinity())) - double(magnitude)) / 2.0;
}

// What the window's dog is compared with, and over which clicks.
struct Comparison {
    Speeds speeds; // as the window stores them
    std::optional<double> catchTime; // of the exact chase
    // The dogs are compared up to the exact catch and on to the first cue
    // if that comes later; or, where the mouse reaches the field's right
    // edge first, up to the edge, where the window's chase stops.
    bool toCatch = false;
    double until = 0.0; // seconds: the catch or the mouse at the edge
    const char* whyNot = nullptr; // nothing to compare with
};

Comparison comparisonOf(const Options& options)
{
    Comparison c;
    c.speeds = speedsOf(options);
    c.catchTime = sim::exact::catchTime(c.speeds.u, c.speeds.v);
    const double fieldWidth = sim::displayX(sim::frameRight);
    if (!sim::exact::dogAt(c.speeds.u, c.speeds.v, 0.0)) {
        c.whyNot = "比べられない：犬が走らない（ｖ≤0）";
    } else if (c.catchTime && (c.speeds.u <= 0.0 || c.speeds.u * *c.catchTime <= fieldWidth)) {
        c.toCatch = true;
        c.until = *c.catchTime;
    } else if (c.speeds.u > 0.0) {
        c.until = fieldWidth / c.speeds.u;
    } else {
        c.whyNot = "比べられない：ねずみが犬より速く左へ逃げ、追いつかない";
    }
    return c;
}

// Why a row stops short of the catch: the table as a whole runs at most
// convergeClickBudget clicks.
std::string tooManyClicks(const char* what)
{
    return what + ("：クリックが多すぎる（合わせて " + lesson::groupedDigits(convergeClickBudget) + " 回まで）");
}

struct ConvergenceRow {
    std::optional<std::uint64_t> cueClick; // the first click with the catch cue
    float cueSeconds = 0.0f;
    std::optional<double> largestGap; // between the window's dog and the exact one
    double rounding = 0.0; // how far single precision alone may have moved them apart
    std::uint64_t clicks = 0;
    std::vector<std::string> notes;
};

// Clicks from the start with the unit time `h`, comparing the window's dog
// with the exact one, within `clickLimit` clicks.
ConvergenceRow runRow(const Options& options, const Comparison& c, float h, std::uint64_t clickLimit)
{
    ConvergenceRow row;
    sim::PursuitState state;
    float seconds = sim::resetToStart(state).readouts.seconds;
    while (true) {
        // A click that would pass the catch after the cue is not compared
        // (nor run: with the mouse standing still, it divides 0 by 0).
        if (c.toCatch && row.cueClick && double(seconds) + double(h) > c.until)
            break;
        if (row.clicks == clickLimit) {
            row.largestGap.reset();
            row.notes.push_back(tooManyClicks("打ち切り"));
            return row;
        }
        const sim::PursuitState before = state;
        const sim::StepOutcome o = clickWith(state, options, h);
        ++row.clicks;
        if (o.fault != sim::Fault::none) {
            row.largestGap.reset();
            row.notes.push_back(std::to_string(row.clicks) + " 回目が計算できないクリック（"
                + std::string(sim::faultName(o.fault)) + "）");
            return row;
        }
        if (c.whyNot || h <= 0.0f) {
            row.notes.push_back(c.whyNot ? c.whyNot : "比べられない：時計が進まない（ｈ≤0）");
            return row;
        }
        seconds = o.frame.readouts.seconds;
        if (o.catchCue && !row.cueClick) {
            row.cueClick = row.clicks;
            row.cueSeconds = seconds;
        }
        if (const std::optional<sim::exact::Point> dog = sim::exact::dogAt(c.speeds.u, c.speeds.v, seconds))
            row.largestGap
                = std::max(row.largestGap.value_or(0.0), sim::exact::distanceFromShown(o.frame.readouts, *dog));
        // The dog's and the mouse's new positions are rounded on storing,
        // and the clock, which the exact dog is placed by.
        row.rounding += halfUlp(state.kx) + halfUlp(state.ky) + halfUlp(state.ux) + c.speeds.v * halfUlp(state.s);
        if (state == before) {
            if (!row.cueClick)
                row.notes.push_back("ねずみが右端で止まった");
            break;
        }
    }
    if (row.cueClick == 1u)
        row.notes.push_back("1 回目から音が鳴る（ねずみが犬より前に出ない）");
    return row;
}

std::string joined(const std::vector<std::string>& notes)
{
    std::string text;
    for (const std::string& note : notes)
        text += (text.empty() ? "" : "；") + note;
    return text;
}

void writeConvergence(std::ostream& out, const Options& options)
{
    Line line(options.csv);
    writeHeader(out, line,
        {"ｈ", "初めて音が鳴ったクリック", "そのときの秒経過", "理論上追いつく秒", "最大のずれ", "前の行÷この行",
            "備考"});

    const Comparison comparison = comparisonOf(options);
    const float unitTime = number_text::textToFloat(options.unitTime);
    std::uint64_t clicksLeft = convergeClickBudget;
    std::optional<double> previousGap; // the row before's, where the method made it
    std::string leftOut; // why the rows from here on are not run
    for (int rowIndex = 0; rowIndex < options.converge && out; ++rowIndex) {
        // Halving a float is exact.
        const float h = std::ldexp(unitTime, -rowIndex);
        if (leftOut.empty() && !comparison.whyNot && h > 0.0f
            && comparison.until / double(h) + 2.0 > double(clicksLeft))
            leftOut = tooManyClicks("省略");
        ConvergenceRow row;
        if (!leftOut.empty())
            row.notes.push_back(leftOut);
        else
            row = runRow(options, comparison, h, clicksLeft);
        clicksLeft -= row.clicks;

        // Rounding alone may part the dogs by `rounding`: a gap no larger
        // says nothing of the method. The next row has twice the clicks, so
        // about twice the rounding, and, where the method converges, half
        // the gap; once that half is no longer above the doubled rounding,
        // no smaller h can show the convergence, and its row is left out.
        // Rows are left out rather than K refused, because where this
        // happens depends on u, v and h, and the rows before it still
        // show what halving h does.
        const bool methodGap = row.largestGap && *row.largestGap > row.rounding;
        if (row.largestGap && !methodGap)
            row.notes.push_back("ずれは単精度の丸めの大きさ");
        if (leftOut.empty() && row.largestGap && *row.largestGap / 2.0 <= 2.0 * row.rounding)
            leftOut = "省略：ｈを半分にしても単精度の丸めがずれを上回る";

        line.cell(lesson::plainDecimal(h));
        line.cell(row.cueClick ? std::to_string(*row.cueClick) : std::string());
        // Times as the sheet and the read-outs give them, to the thousandth.
        line.cell(row.cueClick ? number_text::formatFixed(row.cueSeconds, 3) : std::string());
        line.cell(comparison.catchTime ? number_text::formatFixed(*comparison.catchTime, 3) : std::string());
        line.cell(row.largestGap ? number_text::formatFixed(*row.largestGap, 6) : std::string());
        line.cell(
            methodGap && previousGap ? number_text::formatFixed(*previousGap / *row.largestGap, 6) : std::string());
        line.cell(joined(row.notes));
        line.writeTo(out);
        previousGap = methodGap ? row.largestGap : std::nullopt;
    }
}

} // namespace

std::optional<std::string> write(std::ostream& out, const Options& options)
{
    if (options.csv)
        out << "\xEF\xBB\xBF";
    if (options.converge > 0) {
        writeConvergence(out, options);
        return std::nullopt;
    }
    if (options.steps) {
        writeSteps(out, options, *options.steps);
        return std::nullopt;
    }
    // The sheet decides where its record ends, and its clicks are the rows.
    const sheet::Record record = sheet::runClicks(options, std::nullopt);
    writeClicks(out, options, std::uint64_t(record.lastClick),
        [&](std::uint64_t n) -> const sheet::Click& { return record.clicks[std::size_t(n)]; });
    std::string sentence = sheet::endSentence(record);
    if (!options.csv && out)
        out << endLinePrefix << sentence << '\n';
    return sentence;
}

std::string text(const Options& options)
{
    std::ostringstream out;
    write(out, options);
    return std::move(out).str();
}

} // namespace table
