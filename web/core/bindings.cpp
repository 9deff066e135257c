// The core that the page runs as WebAssembly: the same chase, read-outs,
// chart and words as the desktop window, exported to JavaScript with
// embind. The page keeps to layout, events, painting and sound; every
// number, coordinate and colour it shows comes from here.

#include "field_chart.h"
#include "help_text.h"
#include "lesson.h"
#include "messages.h"
#include "number_text.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

using emscripten::val;

namespace {

// The chart's drawing as records the page replays on its canvas, in order:
//   [1, left, top, right, bottom, colour]  fill whole device pixels
//   [2, x, y, label, pixelSize]            an axis label, top-left at (x, y)
class PaintList final : public chart::Canvas {
public:
    void fill(chart::PixelRect area, chart::Colour colour) override
    {
        m_records.insert(m_records.end(), {1, area.left, area.top, area.right, area.bottom, int(colour)});
    }

    void text(int x, int y, std::string_view text, int pixelSize) override
    {
        const std::vector<chart::AxisLabel>& labels = chart::FieldChart::axisLabels();
        const auto label = std::find_if(labels.begin(), labels.end(), [&](const auto& l) { return l.text == text; });
        if (label != labels.end())
            m_records.insert(m_records.end(), {2, x, y, int(label - labels.begin()), pixelSize});
    }

    // The records so far as an Int32Array of the page's own, and a fresh list.
    val take()
    {
        const val view(emscripten::typed_memory_view(m_records.size(), m_records.data()));
        val copy = val::global("Int32Array").new_(view);
        m_records.clear();
        return copy;
    }

private:
    std::vector<std::int32_t> m_records;
};

val text(std::string_view s) { return val(std::string(s)); }

template <typename Strings> val array(const Strings& strings)
{
    val out = val::array();
    for (const auto& s : strings)
        out.call<void>("push", text(s));
    return out;
}

// One main view of the lesson for the page: the desktop's Lesson drawing
// into paint records, and what the page shows of each frame.
class PageLesson {
public:
    PageLesson(int fieldWidth, int fieldHeight)
        : m_field{fieldWidth, fieldHeight}
        , m_lesson(chart::FieldChart(m_field, 1.0))
    {
    }

    val resize(int deviceWidth, int deviceHeight)
    {
        const double scale = double(deviceWidth) / m_field.width;
        m_lesson.redraw(m_paint, chart::FieldChart(m_field, {deviceWidth, deviceHeight}, int(std::lround(scale))));
        return m_paint.take();
    }

    val start() { return shown(m_lesson.start(m_paint)); }

    val startOver() { return shown(m_lesson.startOver(m_paint)); }

    val next(const std::string& mouseSpeed, const std::string& dogSpeed, const std::string& unitTime)
    {
        const sim::StepOutcome o = m_lesson.next(m_paint, mouseSpeed, dogSpeed, unitTime);
        if (o.fault != sim::Fault::none) {
            val out = val::object();
            out.set("fault", text(messages::problem(o.fault)));
            out.set("cue", false);
            out.set("paint", m_paint.take());
            return out;
        }
        val out = shown(o.frame);
        out.set("fault", std::string());
        out.set("cue", o.catchCue);
        return out;
    }

private:
    val shown(const sim::Frame& frame)
    {
        const sim::Readouts& r = frame.readouts;
        val readouts = val::array();
        for (const float value : {r.mouseX, r.mouseY, r.dogX, r.dogY, r.seconds})
            readouts.call<void>("push", number_text::formatReadout(value));
        val out = val::object();
        out.set("readouts", readouts);
        out.set("mouse", point(chart::markerPixel(frame.mouseMarker, m_field)));
        out.set("dog", point(chart::markerPixel(frame.dogMarker, m_field)));
        out.set("paint", m_paint.take());
        return out;
    }

    static val point(chart::PixelPoint p)
    {
        val out = val::object();
        out.set("x", p.x);
        out.set("y", p.y);
        return out;
    }

    chart::PixelSize m_field;
    Lesson m_lesson;
    PaintList m_paint;
};

val helpLinesArray() { return array(helpLines()); }
val faultMessages()
{
    return array(std::vector<std::string_view>{messages::problem(sim::Fault::invalid),
                                               messages::problem(sim::Fault::divisionByZero),
                                               messages::problem(sim::Fault::overflow)});
}
val axisLabels()
{
    val out = val::array();
    for (const chart::AxisLabel& label : chart::FieldChart::axisLabels())
        out.call<void>("push", label.text);
    return out;
}
std::string quitQuestion() { return std::string(messages::quitQuestion); }
std::string messageTitle() { return std::string(messages::title); }
std::string paletteCss(int colour)
{
    const chart::Rgb c = chart::rgb(chart::Colour(std::clamp(colour, 0, 15)));
    return "rgb(" + std::to_string(c.red) + ", " + std::to_string(c.green) + ", " + std::to_string(c.blue) + ")";
}
std::string version() { return TORVIKAN_VERSION; }

} // namespace

EMSCRIPTEN_BINDINGS(torvikan)
{
    emscripten::class_<PageLesson>("Lesson")
        .constructor<int, int>()
        .function("resize", &PageLesson::resize)
        .function("start", &PageLesson::start)
        .function("startOver", &PageLesson::startOver)
        .function("next", &PageLesson::next);
    emscripten::function("helpLines", &helpLinesArray);
    emscripten::function("faultMessages", &faultMessages);
    emscripten::function("axisLabels", &axisLabels);
    emscripten::function("quitQuestion", &quitQuestion);
    emscripten::function("messageTitle", &messageTitle);
    emscripten::function("paletteCss", &paletteCss);
    emscripten::function("version", &version);
}
