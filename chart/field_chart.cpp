#include "field_chart.h"

#include <algorithm>
#include <cmath>

namespace chart {
namespace {

// The label column left of the field, and how far below the field the row
// of x values starts: only two metres are left below that row, so the
// labels need a font about two metres high, 10 logical pixels.
constexpr float labelColumnX = 3.0f;
constexpr float unitLabelY = 6.0f;
constexpr float labelRowBelowFrame = 8.0f;
constexpr int labelLogicalPixels = 10;

std::string labelText(int metres)
{
    std::string text = std::to_string(metres);
    return text.size() < 2 ? " " + text : text;
}

int toDevice(int logical, double scale) { return int(std::lround(logical * scale)); }

Mapping chartMapping(PixelSize area) { return {area.width, area.height, sim::chartWidth, sim::chartHeight}; }

} // namespace

FieldChart::FieldChart(PixelSize device, int lineWidth, int labelPixels, Style style)
    : m_device(device)
    , m_mapping(chartMapping(device))
    , m_lineWidth(std::max(1, lineWidth))
    , m_labelPixels(labelPixels)
    , m_style(style)
{
}

FieldChart::FieldChart(PixelSize logical, double scale, int lineWidth, Style style)
    : FieldChart({toDevice(logical.width, scale), toDevice(logical.height, scale)}, lineWidth,
                 toDevice(labelLogicalPixels, scale), style)
{
}

FieldChart::FieldChart(PixelSize logical, double scale)
    : FieldChart(logical, scale, int(std::lround(scale)))
{
}

FieldChart::FieldChart(PixelSize logical, PixelSize device, int lineWidth)
    : FieldChart(device, lineWidth, toDevice(labelLogicalPixels, double(device.width) / logical.width), {})
{
}

void FieldChart::drawStart(Canvas& canvas, const sim::Frame& frame) const
{
    // The start marks go down before the grid, so the frame's lines run
    // over their edges; on every click the grid comes first and the newest
    // marks lie on top of it.
    drawAxisLabels(canvas);
    drawMarks(canvas, frame);
    drawGrid(canvas);
}

void FieldChart::drawStep(Canvas& canvas, const sim::Frame& frame) const
{
    drawGrid(canvas);
    drawMarks(canvas, frame);
}

void FieldChart::drawSteps(Canvas& canvas, std::span<const sim::Frame> frames) const
{
    if (frames.empty())
        return;
    for (std::size_t i = 0; i + 1 < frames.size(); ++i) {
        if (i > 0 && markPixels(frames[i].mouseMark) == markPixels(frames[i - 1].mouseMark)
            && markPixels(frames[i].dogMark) == markPixels(frames[i - 1].dogMark))
            continue;
        drawMarks(canvas, frames[i]);
    }
    drawStep(canvas, frames.back());
}

void FieldChart::clearChart(Canvas& canvas) const
{
    fill(canvas, {0, 0, m_device.width - 1, m_device.height - 1}, background);
}

const std::vector<AxisLabel>& FieldChart::axisLabels()
{
    static const std::vector<AxisLabel> labels = [] {
        std::vector<AxisLabel> out{{labelColumnX, unitLabelY, "ｍ"}};
        const int height = int(sim::displayY(sim::frameTop));
        for (int metres = height; metres >= 0; metres -= sim::gridSpacing)
            out.push_back({labelColumnX, float(sim::chartY(metres)) - 1.0f, labelText(metres)});
        const int width = int(sim::displayX(sim::frameRight));
        for (int metres = 0; metres <= width; metres += sim::gridSpacing)
            out.push_back({float(sim::chartX(metres)) - 1.0f, sim::frameBottom + labelRowBelowFrame, labelText(metres)});
        return out;
    }();
    return labels;
}

void FieldChart::drawAxisLabels(Canvas& canvas) const
{
    for (const AxisLabel& label : axisLabels())
        canvas.text(m_mapping.x(label.x), m_mapping.y(label.y), label.text, m_labelPixels);
}

PixelRect FieldChart::frameBox() const
{
    return {m_mapping.x(sim::frameLeft), m_mapping.y(sim::frameTop), m_mapping.x(sim::frameRight) + m_lineWidth - 1,
        m_mapping.y(sim::frameBottom) + m_lineWidth - 1};
}

void FieldChart::drawGrid(Canvas& canvas) const
{
    const int left = m_mapping.x(sim::frameLeft);
    const int right = m_mapping.x(sim::frameRight);
    const int top = m_mapping.y(sim::frameTop);
    const int bottom = m_mapping.y(sim::frameBottom);
    if (m_style.fineGrid > 0 && sim::gridSpacing % m_style.fineGrid == 0) {
        for (int y = int(sim::frameTop); y <= int(sim::frameBottom); y += m_style.fineGrid)
            if ((y - int(sim::frameTop)) % sim::gridSpacing != 0)
                line(canvas, left, m_mapping.y(y), right, m_mapping.y(y), fineGridColour);
        for (int x = int(sim::frameLeft); x <= int(sim::frameRight); x += m_style.fineGrid)
            if ((x - int(sim::frameLeft)) % sim::gridSpacing != 0)
                line(canvas, m_mapping.x(x), top, m_mapping.x(x), bottom, fineGridColour);
    }
    for (int y = int(sim::frameTop); y <= int(sim::frameBottom); y += sim::gridSpacing)
        line(canvas, left, m_mapping.y(y), right, m_mapping.y(y), gridColour);
    outline(canvas, {left, top, right, bottom}, gridColour);
    for (int x = int(sim::frameLeft); x <= int(sim::frameRight); x += sim::gridSpacing)
        line(canvas, m_mapping.x(x), top, m_mapping.x(x), bottom, gridColour);
}

void FieldChart::drawTrailMark(Canvas& canvas, const sim::TrailMark& mark, Colour colour) const
{
    fill(canvas, markPixels(mark), colour);
}

void FieldChart::drawMarks(Canvas& canvas, const sim::Frame& frame) const
{
    if (m_style.outlinedMouseMarks) {
        // The outline runs along the square metre's own edges, as a box
        // with those corners would.
        const sim::TrailMark& m = frame.mouseMark;
        outline(canvas,
                {std::min(m_mapping.x(m.corner.x), m_mapping.x(m.opposite.x)),
                 std::min(m_mapping.y(m.corner.y), m_mapping.y(m.opposite.y)),
                 std::max(m_mapping.x(m.corner.x), m_mapping.x(m.opposite.x)),
                 std::max(m_mapping.y(m.corner.y), m_mapping.y(m.opposite.y))},
                mouseColour);
    } else {
        drawTrailMark(canvas, frame.mouseMark, mouseColour);
    }
    drawTrailMark(canvas, frame.dogMark, dogColour);
}

PixelRect FieldChart::markPixels(const sim::TrailMark& mark) const
{
    // A mark takes the pixels from just past its low edges up to and
    // including its high ones: 1 m of the field is then 5 or 6 pixels
    // whatever the fraction, and a mark that ends on a grid line shares
    // that line's pixels, so the line drawn later runs over its edge.
    const int left = std::min(m_mapping.x(mark.corner.x), m_mapping.x(mark.opposite.x));
    const int right = std::max(m_mapping.x(mark.corner.x), m_mapping.x(mark.opposite.x));
    const int top = std::min(m_mapping.y(mark.corner.y), m_mapping.y(mark.opposite.y));
    const int bottom = std::max(m_mapping.y(mark.corner.y), m_mapping.y(mark.opposite.y));
    return {left == right ? left : left + 1, top == bottom ? top : top + 1, right, bottom};
}

void FieldChart::fill(Canvas& canvas, PixelRect area, Colour colour) const
{
    const PixelRect clipped{std::max(area.left, 0), std::max(area.top, 0), std::min(area.right, m_device.width - 1),
                            std::min(area.bottom, m_device.height - 1)};
    if (!clipped.empty())
        canvas.fill(clipped, colour);
}

void FieldChart::line(Canvas& canvas, int x1, int y1, int x2, int y2, Colour colour) const
{
    // Only straight runs of whole pixels, as wide as a 1-pixel pen.
    const int w = m_lineWidth - 1;
    fill(canvas, {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) + w, std::max(y1, y2) + w}, colour);
}

void FieldChart::outline(Canvas& canvas, PixelRect box, Colour colour) const
{
    line(canvas, box.left, box.top, box.right, box.top, colour);
    line(canvas, box.left, box.bottom, box.right, box.bottom, colour);
    line(canvas, box.left, box.top, box.left, box.bottom, colour);
    line(canvas, box.right, box.top, box.right, box.bottom, colour);
}

PixelPoint markerPixel(sim::ChartPoint topLeft, PixelSize area)
{
    const Mapping mapping = chartMapping(area);
    return {mapping.x(topLeft.x), mapping.y(topLeft.y)};
}

} // namespace chart
