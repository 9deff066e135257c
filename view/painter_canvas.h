#pragma once

#include "canvas.h"

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRect>

class QPainter;

QColor toQColor(chart::Colour colour);

// The chart drawn through a QPainter, on the window's retained image or on
// a printed page, with the drawing area's top-left device pixel at
// `origin`. Fills are whole device pixels; text is in `face` at the pixel
// size the chart asks for.
class PainterCanvas : public chart::Canvas {
public:
    PainterCanvas(QPainter& painter, QPoint origin, const QFont& face);

    void fill(chart::PixelRect area, chart::Colour colour) override;
    void text(int x, int y, std::string_view text, int pixelSize) override;

    // Everything drawn so far, in device pixels of the drawing area.
    QRect painted() const { return m_painted; }

private:
    QPainter& m_painter;
    QPoint m_origin;
    QFont m_face;
    QRect m_painted;
};
