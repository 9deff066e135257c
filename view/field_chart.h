#pragma once

#include "pursuit.h"
#include "surface.h"

#include <QFont>
#include <QPoint>
#include <QSize>

// The field on the main window: metres from x 0 at the left to 120 at the
// right and y 0 at the top to 70 at the bottom, over the drawing area's
// interior. The frame x 10..110, y 10..60 is the 100 m × 50 m field.
class FieldChart {
public:
    static constexpr QSize interiorSize{645, 389}; // logical pixels
    static constexpr double unitsAcross = 120.0;
    static constexpr double unitsDown = 70.0;

    static constexpr int black = 0;
    static constexpr int dogColour = 9;    // bright blue
    static constexpr int mouseColour = 12; // bright red

    explicit FieldChart(qreal devicePixelRatio = 1.0, const QFont& labelFont = QFont());

    // Where a marker whose top-left corner is at chart (x, y) goes, in
    // logical pixels of the interior.
    static QPoint markerPixel(sim::ChartPoint topLeft);

    void drawAxisLabels();
    void drawGrid();
    void drawTrailMark(const sim::TrailMark& mark, int colour);
    void clearChart();

    Surface& surface() { return m_surface; }
    const Surface& surface() const { return m_surface; }

private:
    Surface m_surface;
};
