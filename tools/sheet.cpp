#include "sheet.h"

#include "number_text.h"

#include <algorithm>
#include <cmath>

namespace sheet {

namespace {

int rowsFor(int lastClick, int every) { return 1 + (lastClick + every - 1) / every; }

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

} // namespace

std::optional<Content> prepare(const Options& options, std::string& error)
{
    Content content;
    content.options = options;
    sim::PursuitState state;
    content.clicks.push_back({sim::resetToStart(state), sim::Fault::none, false});
    const int limit = options.clicks.value_or(defaultClickLimit);
    content.clicks.reserve(std::size_t(limit) + 1);
    for (int n = 1; n <= limit; ++n) {
        const sim::StepOutcome o = sim::step(state, options.mouseSpeed, options.dogSpeed, options.unitTime);
        // The window leaves everything as it was after a click it could
        // not finish.
        const sim::Frame shown = o.fault == sim::Fault::none ? o.frame : content.clicks.back().shown;
        content.clicks.push_back({shown, o.fault, o.catchCue});
        // A faulted click changes nothing, so every later one would fault
        // the same way.
        if (!options.clicks && (o.catchCue || o.fault != sim::Fault::none || state.ux >= sim::frameRight))
            break;
    }

    const int last = int(content.clicks.size()) - 1;
    const int fit = rowsThatFit(options.blank);
    if (options.every) {
        if (rowsFor(last, *options.every) > fit) {
            const int least = (last + fit - 2) / (fit - 1);
            error = "--every " + std::to_string(*options.every) + " では表が 1 ページに収まりません。" +
                    std::to_string(least) + " 以上にしてください / --every " + std::to_string(*options.every) +
                    " gives a table longer than the page; use " + std::to_string(least) + " or more";
            return std::nullopt;
        }
        content.every = *options.every;
    } else {
        content.every = std::max(1, (last + fit - 2) / (fit - 1));
    }
    for (int click = 0; click < last; click += content.every)
        content.listed.push_back(click);
    content.listed.push_back(last);

    if (options.exact)
        content.exact = exactChase(options, content.clicks.back().shown.readouts.seconds);
    return content;
}

} // namespace sheet
