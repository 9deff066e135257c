#pragma once

#include "canvas.h"
#include "mapping.h"
#include "pursuit.h"

#include <span>
#include <string>
#include <vector>

// The field: chart metres (sim/field.h) over a drawing area's interior,
// with the axis labels, the 10 m grid and the two trails. The chart
// decides what a frame of the chase looks like, in device pixels; a Canvas
// puts it on the window's image, a printed page or the page's canvas.
namespace chart {

struct PixelSize {
    int width = 0;
    int height = 0;
    bool operator==(const PixelSize&) const = default;
};

struct PixelPoint {
    int x = 0;
    int y = 0;
    bool operator==(const PixelPoint&) const = default;
};

struct AxisLabel {
    float x = 0.0f; // chart metres of the text's top-left corner
    float y = 0.0f;
    std::string text;
};

// What paper adds to the window's look.
struct FieldStyle {
    int fineGrid = 0;                // metres between lighter lines under the 10 m grid; 0 for none
    bool outlinedMouseMarks = false; // so that a grey print tells the mouse's marks from the dog's
};

class FieldChart {
public:
    using Style = FieldStyle;

    // `logical`: the drawing area's interior in logical pixels (645 × 389
    // in the window); `scale`: device pixels per logical pixel;
    // `lineWidth`: device pixels of a 1-pixel line, which paper wants
    // thinner than its scale would give.
    FieldChart(PixelSize logical, double scale, int lineWidth, Style style = {});
    // On screen a line is as wide as a logical pixel.
    FieldChart(PixelSize logical, double scale);
    // An area of `device` pixels that its owner sized itself, as the page
    // sizes its canvas.
    FieldChart(PixelSize logical, PixelSize device, int lineWidth);

    PixelSize deviceSize() const { return m_device; }
    // Chart metres to device pixels.
    const Mapping& mapping() const { return m_mapping; }
    // The frame's box in device pixels, its lines included: where a line
    // drawn over the field (the exact path on a sheet) is clipped.
    PixelRect frameBox() const;

    // The start picture on a blank chart, and what one click adds to it.
    void drawStart(Canvas& canvas, const sim::Frame& frame) const;
    void drawStep(Canvas& canvas, const sim::Frame& frame) const;
    // The picture that drawStep gives for each frame in turn, with fewer
    // operations, for pages that keep every one of them: each click's grid
    // covers the one before, so the grid goes down once, before the last
    // frame's marks, and a frame whose marks cover the very pixels of the
    // one before it is skipped.
    void drawSteps(Canvas& canvas, std::span<const sim::Frame> frames) const;
    void clearChart(Canvas& canvas) const;

    void drawAxisLabels(Canvas& canvas) const;
    void drawGrid(Canvas& canvas) const;
    void drawTrailMark(Canvas& canvas, const sim::TrailMark& mark, Colour colour) const;

    // The 18 labels, in the order they are printed: the unit, the y values
    // one metre above their lines, the x values one metre left of theirs.
    static const std::vector<AxisLabel>& axisLabels();

private:
    FieldChart(PixelSize device, int lineWidth, int labelPixels, Style style);
    void fill(Canvas& canvas, PixelRect area, Colour colour) const;
    void line(Canvas& canvas, int x1, int y1, int x2, int y2, Colour colour) const;
    void outline(Canvas& canvas, PixelRect box, Colour colour) const;
    PixelRect markPixels(const sim::TrailMark& mark) const;
    void drawMarks(Canvas& canvas, const sim::Frame& frame) const;

    PixelSize m_device;
    Mapping m_mapping;
    int m_lineWidth = 1;
    int m_labelPixels = 10;
    Style m_style;
};

// Where a picture whose top-left corner is at `topLeft` goes, in pixels of
// an interior `area` wide and high.
PixelPoint markerPixel(sim::ChartPoint topLeft, PixelSize area);

} // namespace chart
