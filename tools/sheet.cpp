#include "sheet.h"

#include "number_text.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace sheet {

namespace {

// A blank sheet without --every lists every fifth click: half-second steps
// at the window's unit time, and nothing that depends on the catch.
constexpr int blankEvery = 5;

Exact exactChase(const Options& options, double lastSeconds)
{
    Exact exact;
    exact.u = number_text::textToFloat(options.mouseSpeed);
    exact.v = number_text::textToFloat(options.dogSpeed);
    exact.available = sim::exact::dogAt(exact.u, exact.v, 0.0).has_value();
    if (!exact.available)
        return exact;
    exact.catchTime = sim::exact::catchTime(exact.u, exact.v);
    // The path covers the clicks on the sheet, and runs on to the catch
    // when that happens inside the field.
    double end = lastSeconds;
    const double fieldWidth = sim::displayX(sim::frameRight);
    if (exact.catchTime && std::fabs(exact.u) * *exact.catchTime <= fieldWidth)
        end = std::max(end, *exact.catchTime);
    exact.path = sim::exact::dogPath(exact.u, exact.v, end, 600);
    return exact;
}

bool mouseOffField(const sim::PursuitState& state) { return state.ux < sim::frameLeft || state.ux >= sim::frameRight; }

// The window's clicks, as many as asked for, or without --clicks as many as
// tell the chase: up to the first catch cue; where the cue cannot tell a
// catch, up to the exact catch time, else until the mouse leaves the field;
// and never past a click that cannot be finished or after which nothing
// moves. With or without --clicks, the run stops before clicks that would
// only repeat the last row.
void runClicks(Content& content)
{
    const Options& options = content.options;
    sim::PursuitState state;
    content.clicks.push_back({sim::resetToStart(state), sim::Fault::none, false});
    const float u = number_text::textToFloat(options.mouseSpeed);
    const float h = number_text::textToFloat(options.unitTime);
    content.mouseNeverAhead = !(double(h) * u > 0.0);
    if (content.mouseNeverAhead && h > 0.0f)
        content.exactCatch = sim::exact::catchTime(u, number_text::textToFloat(options.dogSpeed));
    const std::optional<double>& exactCatch = content.exactCatch;

    const bool toTheEnd = !options.clicks;
    const int limit = options.clicks.value_or(defaultClickLimit);
    content.clicks.reserve(std::size_t(limit) + 1);
    content.end = toTheEnd ? RunEnd::clickLimit : RunEnd::askedClicks;
    for (int n = 1; n <= limit; ++n) {
        const sim::PursuitState before = state;
        const sim::StepOutcome o = sim::step(state, options.mouseSpeed, options.dogSpeed, options.unitTime);
        // The window leaves everything as it was after a click it could
        // not finish.
        const Click click{o.fault == sim::Fault::none ? o.frame : content.clicks.back().shown, o.fault, o.catchCue};
        // A click that changes nothing is followed by ones just like it.
        const bool frozen = before == state;
        const RunEnd frozenEnd = o.fault != sim::Fault::none ? RunEnd::fault
            : toTheEnd                                       ? RunEnd::stillness
                                                             : RunEnd::repeats;
        const Click& previous = content.clicks.back();
        if (frozen && click.fault == previous.fault && click.catchCue == previous.catchCue
            && click.shown.readouts == previous.shown.readouts) {
            content.end = frozenEnd;
            break;
        }
        content.clicks.push_back(click);
        if (o.catchCue && !content.firstCue)
            content.firstCue = n;
        if (frozen) {
            content.end = frozenEnd;
            break;
        }
        if (!toTheEnd)
            continue;
        const sim::Frame& earlier = content.clicks[content.clicks.size() - 2].shown;
        if (o.fault != sim::Fault::none)
            content.end = RunEnd::fault;
        else if (o.catchCue && !content.mouseNeverAhead)
            content.end = RunEnd::caught;
        else if (exactCatch && click.shown.readouts.seconds >= *exactCatch - h / 2.0)
            content.end = RunEnd::exactCatch; // the click nearest the catch time
        else if (!exactCatch && mouseOffField(state))
            content.end = RunEnd::mouseLeft;
        else if (click.shown.mouseMark == earlier.mouseMark && click.shown.dogMark == earlier.dogMark)
            content.end = RunEnd::stillness;
        else
            continue;
        break;
    }
    content.lastClick = int(content.clicks.size()) - 1;
}

// 0, every, 2·every, …, the last click and, on an answer sheet, the first
// cue wherever it falls.
std::vector<int> listedClicks(const Content& content, int every)
{
    std::set<int> listed;
    for (int click = 0; click < content.lastClick; click += every)
        listed.insert(click);
    listed.insert(content.lastClick);
    if (content.firstCue && !content.options.blank)
        listed.insert(*content.firstCue);
    return {listed.begin(), listed.end()};
}

} // namespace

Content prepare(const Options& options)
{
    Content content;
    content.options = options;
    if (options.blank) {
        // Nothing on a pupils' sheet depends on the chase: the teacher's
        // clicks, or a first page of every fifth click.
        content.every = options.every.value_or(blankEvery);
        content.lastClick
            = options.clicks.value_or(std::min(maxClicks, content.every * (rowsOnFirstPage(content) - 1)));
    } else {
        runClicks(content);
        if (options.exact)
            content.exact = exactChase(options, content.clicks.back().shown.readouts.seconds);
    }

    if (options.every)
        content.every = *options.every;
    if (options.every || (options.blank && !options.clicks)) {
        content.listed = listedClicks(content, content.every);
        return content;
    }
    // The least step whose table stays on the first page.
    const int guess = content.lastClick / std::max(1, rowsOnFirstPage(content) - 1);
    for (content.every = std::max(1, guess);; ++content.every) {
        content.listed = listedClicks(content, content.every);
        if (int(content.listed.size()) <= rowsOnFirstPage(content) || content.every >= content.lastClick)
            return content;
    }
}

} // namespace sheet
