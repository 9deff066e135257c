// The core that the page runs as WebAssembly: the same chase, read-outs,
// chart and words as the desktop window, exported to JavaScript with
// embind. The page keeps to layout, events, painting and sound; every
// number, coordinate and colour it shows comes from here.

#include "chase_table.h"
#include "field_chart.h"
#include "help_text.h"
#include "lesson.h"
#include "messages.h"
#include "number_text.h"
#include "sheet_content.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
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

val point(double x, double y)
{
    val out = val::object();
    out.set("x", x);
    out.set("y", y);
    return out;
}

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

    static val point(chart::PixelPoint p) { return ::point(p.x, p.y); }

    chart::PixelSize m_field;
    Lesson m_lesson;
    PaintList m_paint;
};

std::string paletteCss(int colour);

// Page points as one flat array of millimetres: x, y, x, y, …
val flatPoints(const std::vector<sheet::PagePoint>& points)
{
    val out = val::array();
    for (const sheet::PagePoint& p : points) {
        out.call<void>("push", p.x);
        out.call<void>("push", p.y);
    }
    return out;
}

val pageRect(const sheet::PageRect& r)
{
    val out = val::object();
    out.set("left", r.left);
    out.set("top", r.top);
    out.set("width", r.width);
    out.set("height", r.height);
    return out;
}

// The larger view of the record's end, in millimetres of the page, as
// torvikan-sheet draws it; null where the sheet has none.
val insetView(const sheet::Content& content)
{
    const sheet::Inset inset = sheet::insetOf(content);
    if (!inset.shown)
        return val::null();
    val out = val::object();
    out.set("caption", inset.caption);
    out.set("top", sheet::insetTop);
    out.set("captionHeight", sheet::insetCaptionHeight);
    out.set("captionPoints", sheet::insetCaptionPoints);
    out.set("labelPoints", sheet::insetLabelPoints);
    out.set("box", pageRect(inset.box));
    val gridX = val::array(), gridY = val::array();
    for (const double x : inset.gridX)
        gridX.call<void>("push", x);
    for (const double y : inset.gridY)
        gridY.call<void>("push", y);
    out.set("gridX", gridX);
    out.set("gridY", gridY);
    out.set("mouse", flatPoints(inset.mouse));
    out.set("dog", flatPoints(inset.dog));
    out.set("path", flatPoints(inset.path));
    val labels = val::array();
    for (const sheet::InsetLabel& l : inset.labels) {
        val label = pageRect(l.area);
        label.set("text", l.text);
        label.set("alignRight", l.alignRight);
        labels.call<void>("push", label);
    }
    out.set("labels", labels);
    out.set("gridColour", paletteCss(int(sheet::insetGridColour)));
    out.set("gridWidth", sheet::insetGridWidth);
    out.set("frameWidth", sheet::insetFrameWidth);
    out.set("mouseMark", sheet::insetMouseMark);
    out.set("mouseOutline", sheet::fieldLineWidth);
    out.set("dogMark", sheet::insetDogMark);
    out.set("exactWidth", sheet::exactPathWidth);
    out.set("exactCasing", sheet::exactPathCasing);
    return out;
}

// The teacher's page asks with the tools' option names, as its address
// gives them: u, v and h as typed, clicks and every (0 or absent: the
// sheet chooses), exact, blank and grid.
lesson::ChaseTexts chaseTexts(const val& request)
{
    lesson::ChaseTexts texts;
    texts.mouseSpeed = request["u"].as<std::string>();
    texts.dogSpeed = request["v"].as<std::string>();
    texts.unitTime = request["h"].as<std::string>();
    return texts;
}

std::optional<int> countOf(const val& request, const char* name)
{
    const val value = request[name];
    if (!value.isNumber())
        return std::nullopt;
    const double n = value.as<double>();
    if (!(n >= 1 && n <= sheet::maxClicks))
        return std::nullopt;
    return int(n);
}

sheet::Request sheetRequest(const val& request)
{
    sheet::Request r;
    static_cast<lesson::ChaseTexts&>(r) = chaseTexts(request);
    r.clicks = countOf(request, "clicks");
    r.every = countOf(request, "every");
    r.blank = request["blank"].as<bool>();
    r.exact = request["exact"].as<bool>() && !r.blank;
    const int grid = request["grid"].as<int>();
    r.grid = grid == 5 || grid == 1 ? grid : 10;
    return r;
}

// A count as the teacher's tools read one (ASCII or full-width digits and
// nothing else); -1 for any other text.
double countFromText(const std::string& text)
{
    const std::optional<std::uint64_t> n = number_text::textToCount(text);
    return n ? double(*n) : -1.0;
}

// The rows and clicks of the table tool for the same inputs: the bytes
// that torvikan-table writes, BOM and CRLF included for CSV, as a
// Uint8Array, which no text decoder has had the chance to strip of its BOM.
val tableBytes(const val& request, int steps, bool csv, bool exact)
{
    table::Options options;
    static_cast<lesson::ChaseTexts&>(options) = chaseTexts(request);
    if (steps >= 0) // else as many as the record of the chase holds
        options.steps = std::uint64_t(steps);
    options.csv = csv;
    options.exact = exact;
    const std::string bytes = table::text(options);
    const val view(emscripten::typed_memory_view(bytes.size(), reinterpret_cast<const std::uint8_t*>(bytes.data())));
    return val::global("Uint8Array").new_(view);
}

std::string convergenceText(const val& request, int rows, bool csv)
{
    table::Options options;
    static_cast<lesson::ChaseTexts&>(options) = chaseTexts(request);
    options.converge = std::clamp(rows, 1, table::maxConvergeRows);
    options.csv = csv;
    return table::text(options);
}

// A worksheet of the request: its words, table and notes page by page,
// and its field drawn `scale` device pixels to a logical pixel of the
// sheet's field, as paint records with the exact path and the pictures'
// places beside them.
val worksheet(const val& request, int scale)
{
    const sheet::Content content = sheet::prepare(sheetRequest(request));
    val out = val::object();
    out.set("title", text(sheet::titleText));
    out.set("name", text(sheet::nameText));
    out.set("inputs", sheet::inputsText(content.options));
    out.set("grid", sheet::gridText(content.options.grid));
    out.set("blankLegend", text(sheet::blankLegendText));
    out.set("mouseTrail", text(sheet::mouseTrailText));
    out.set("dogTrail", text(sheet::dogTrailText));
    out.set("exactPath", text(sheet::exactPathText));
    out.set("mouseColour", paletteCss(int(chart::mouseColour)));
    out.set("dogColour", paletteCss(int(chart::dogColour)));
    out.set("blank", content.options.blank);
    out.set("exact", content.options.exact);
    out.set("caption", sheet::captionText(content, false));
    out.set("captionContinued", sheet::captionText(content, true));

    val columns = val::array();
    for (const sheet::Column& c : sheet::columnsOf(content)) {
        val column = val::object();
        column.set("header", text(c.header));
        column.set("width", c.width);
        column.set("centred", c.centred);
        column.set("endsGroup", c.endsGroup);
        columns.call<void>("push", column);
    }
    out.set("columns", columns);
    val rows = val::array();
    for (const int click : content.listed)
        rows.call<void>("push", array(sheet::rowTexts(content, click)));
    out.set("rows", rows);
    out.set("notes", array(sheet::notesOf(content)));
    val parts = val::array();
    for (const sheet::TablePart& p : sheet::tableParts(content)) {
        val part = val::object();
        part.set("page", p.page);
        part.set("first", int(p.firstRow));
        part.set("end", int(p.endRow));
        parts.call<void>("push", part);
    }
    out.set("parts", parts);
    const int pages = sheet::pageCount(content);
    out.set("pages", pages);
    val pageNumbers = val::array();
    for (int page = 0; page < pages; ++page)
        pageNumbers.call<void>("push", sheet::pageNumberText(page, pages));
    out.set("pageNumbers", pageNumbers);
    val layout = val::object();
    for (const auto& [name, value] : {std::pair{"contentWidth", sheet::contentWidth}, {"fieldTop", sheet::fieldTop},
             {"firstTableTop", sheet::tableTop(content, 0)}, {"laterTableTop", sheet::laterTableTop},
             {"captionHeight", sheet::captionHeight}, {"headerHeight", sheet::headerHeight},
             {"rowHeight", sheet::rowHeight}, {"blankRowHeight", sheet::blankRowHeight},
             {"notesGap", sheet::notesGap}})
        layout.set(name, value);
    out.set("layout", layout);
    out.set("inset", insetView(content));

    // The field, as torvikan-sheet draws it.
    scale = std::clamp(scale, 1, 8);
    const double dotsPerMillimetre = double(sheet::fieldPixelsWide) * scale / sheet::contentWidth;
    const chart::FieldChart chart = sheet::fieldChart(content.options, double(scale), dotsPerMillimetre);
    PaintList paint;
    val field = val::object();
    field.set("width", chart.deviceSize().width);
    field.set("height", chart.deviceSize().height);
    field.set("dotsPerMillimetre", dotsPerMillimetre);
    sheet::drawChase(paint, chart, content);
    if (!content.options.blank) {
        const sim::Frame& last = content.clicks.back().shown;
        const chart::PixelSize area{sheet::fieldPixelsWide, sheet::fieldPixelsHigh};
        const chart::PixelPoint mouse = chart::markerPixel(last.mouseMarker, area);
        const chart::PixelPoint dog = chart::markerPixel(last.dogMarker, area);
        field.set("mouse", point(mouse.x * scale, mouse.y * scale));
        field.set("dog", point(dog.x * scale, dog.y * scale));
    }
    field.set("paint", paint.take());
    const chart::Mapping& m = chart.mapping();
    const chart::PixelRect box = chart.frameBox();
    val frame = val::object();
    frame.set("left", box.left);
    frame.set("top", box.top);
    frame.set("right", box.right);
    frame.set("bottom", box.bottom);
    field.set("frame", frame);
    val path = val::array();
    if (content.options.exact)
        for (const sim::exact::Point& p : content.exact.path) {
            path.call<void>("push", m.x(sim::chartX(p.x)));
            path.call<void>("push", m.y(sim::chartY(p.y)));
        }
    field.set("exactPath", path);
    field.set("markerBorder", sheet::markerBorder * scale);
    const chart::Rgb c = sheet::exactPathColour;
    field.set("exactColour",
        "rgb(" + std::to_string(c.red) + ", " + std::to_string(c.green) + ", " + std::to_string(c.blue) + ")");
    field.set("exactWidth", sheet::exactPathWidth * dotsPerMillimetre);
    field.set("exactCasing", sheet::exactPathCasing * dotsPerMillimetre);
    out.set("field", field);
    return out;
}

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
    emscripten::function("countFromText", &countFromText);
    emscripten::function("tableBytes", &tableBytes);
    emscripten::constant("maxClicks", sheet::maxClicks);
    emscripten::constant("maxConvergeRows", table::maxConvergeRows);
    emscripten::function("convergenceText", &convergenceText);
    emscripten::function("worksheet", &worksheet);
    emscripten::function("helpLines", &helpLinesArray);
    emscripten::function("faultMessages", &faultMessages);
    emscripten::function("axisLabels", &axisLabels);
    emscripten::function("quitQuestion", &quitQuestion);
    emscripten::function("messageTitle", &messageTitle);
    emscripten::function("paletteCss", &paletteCss);
    emscripten::function("version", &version);
}
