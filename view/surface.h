#pragma once

#include "painter_canvas.h"

#include <QImage>
#include <QPainter>
#include <QRect>
#include <QSize>

// A drawing area that keeps what is drawn on it: a retained image in device
// pixels, which painting a widget only copies (as in Qt's Scribble
// example). Everything is drawn into it through a Painting.
class Surface {
public:
    // `logicalSize`: the drawable interior in logical pixels; `dpr`: device
    // pixels per logical pixel, so the image stays crisp on high-density
    // screens.
    Surface(QSize logicalSize, qreal dpr = 1.0);

    const QImage& image() const { return m_image; }
    qreal devicePixelRatio() const { return m_dpr; }

    // The part of the image changed since the last call, in logical pixels.
    QRect takeDirtyRect();

    // A canvas on the image for as long as it lives, with `face` for text;
    // what it draws is marked for repainting when it ends.
    class Painting {
    public:
        Painting(Surface& surface, const QFont& face);
        ~Painting();
        Painting(const Painting&) = delete;
        Painting& operator=(const Painting&) = delete;

        PainterCanvas& canvas() { return m_canvas; }

    private:
        Surface& m_surface;
        QPainter m_painter;
        PainterCanvas m_canvas;
    };

private:
    qreal m_dpr = 1.0;
    QImage m_image;
    QRect m_dirty;
};
