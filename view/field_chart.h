#pragma once

#include "pursuit.h"
#include "surface.h"

#include <QFont>
#include <QList>
#include <QPoint>
#include <QSize>
#include <QString>

#include <span>

// The field: chart metres (sim/field.h) over the drawing area's interior,
// with the axis labels, the 10 m grid and the two trails.
class FieldChart {
public:
    static constexpr int gridColour = 0;   // black
    static constexpr int fineGridColour = 7; // light grey
    static constexpr int dogColour = 9;    // bright blue
    static constexpr int mouseColour = 12; // bright red

    // What paper needs beyond the window's look; the window keeps the defaults.
    struct Style {
        // Metres between lighter lines under the 10 m grid; 0 for none (paper: 5 or 1).
        int fineGrid = 0;
        // Paper: the mouse's marks as outlines, so a grey print tells them from the dog's.
        bool outlinedMouseMarks = false;
    };

    struct AxisLabel {
        float x; // chart metres of the text's top-left corner
        float y;
        QString text;
    };

    // `interior`: the drawing area less its border, in logical pixels.
    FieldChart(QSize interior, qreal devicePixelRatio, const QFont& labelFont);
    // The same chart drawn through `painter` onto the area of its device
    // that starts at `origin` (device pixels), as for Surface's painter
    // form: a page draws the field as the window does.
    // (Two constructors rather than a default argument: a nested struct's
    // member defaults cannot serve as one before the class is complete.)
    FieldChart(QPainter& painter, QPoint origin, QSize interior, qreal devicePixelRatio, int lineWidth,
               const QFont& labelFont, Style style);
    FieldChart(QPainter& painter, QPoint origin, QSize interior, qreal devicePixelRatio, int lineWidth,
               const QFont& labelFont)
        : FieldChart(painter, origin, interior, devicePixelRatio, lineWidth, labelFont, Style{})
    {
    }

    // The start picture on a blank chart, and what one click adds to it.
    void drawStart(const sim::Frame& frame);
    void drawStep(const sim::Frame& frame);
    // The picture that drawStep gives for each frame in turn, with fewer
    // operations, for pages that keep every one of them: each click's grid
    // covers the one before, so the grid goes down once, before the last
    // frame's marks, and a frame that repeats the one before it is skipped.
    void drawSteps(std::span<const sim::Frame> frames);
    void clearChart();

    void drawAxisLabels();
    void drawGrid();
    void drawTrailMark(const sim::TrailMark& mark, int colour);

    // Where a marker whose top-left corner is at `topLeft` goes, in
    // logical pixels of the interior.
    QPoint markerPixel(sim::ChartPoint topLeft) const;

    // The 18 labels, in the order they are printed: the unit, the y values
    // one metre above their lines, the x values one metre left of theirs.
    static QList<AxisLabel> axisLabels();

    Surface& surface() { return m_surface; }
    const Surface& surface() const { return m_surface; }

private:
    void drawMarks(const sim::Frame& frame);

    Surface m_surface;
    UserScale m_logicalScale;
    Style m_style;
};
