#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QSizeF>
#include <QString>

class QPainter;

// The user scale of a drawing area: user units to whole pixels. A
// coordinate maps to the pixel that holds it. Far-off coordinates are
// clamped, so a chase that ran wild draws nothing rather than overflowing
// an int.
class UserScale {
public:
    UserScale(QSize pixels, QSizeF userSize);
    int x(double userX) const;
    int y(double userY) const;

private:
    double m_scaleX; // pixels per user unit
    double m_scaleY;
};

// A drawing area with a fixed user scale, the drawing operations the
// windows use, and a current text position. On screen it keeps what is
// drawn on it: a retained image, filled row by row, which painting the area
// only copies. For a page it draws straight through a painter instead, so
// a PDF or SVG gets rectangles and text rather than a picture of them;
// both turn the same operations into the same device-pixel rectangles.
class Surface {
public:
    // `logicalSize`: the drawable interior in logical pixels; `userSize`:
    // how many user units span it across and down; `dpr`: device pixels per
    // logical pixel, so the image stays crisp on high-density screens.
    Surface(QSize logicalSize, QSizeF userSize, qreal dpr = 1.0, QColor background = Qt::white);

    // Draws through `painter` onto the area of its device whose top-left
    // device pixel is `origin` and which spans logicalSize × dpr device
    // pixels. `lineWidth`: device pixels of a 1-pixel pen, chosen by the
    // caller since paper wants thinner lines than dpr would give. Nothing
    // is retained: image() is null. The painter must outlive the surface.
    Surface(QPainter& painter, QPoint origin, QSize logicalSize, QSizeF userSize, qreal dpr, int lineWidth,
            QColor background = Qt::white);

    // The 16-colour palette; indices outside 0..15 give black.
    static QColor paletteColour(int index);

    // Device pixel column/row that holds the user coordinate.
    int deviceX(double x) const { return m_scale.x(x); }
    int deviceY(double y) const { return m_scale.y(y); }

    void clear();
    // A horizontal or vertical line, both ends included; the windows draw
    // no other kind.
    void line(QPointF from, QPointF to, int colour);
    void box(QPointF corner, QPointF opposite, int colour);
    void filledBox(QPointF corner, QPointF opposite, int colour);

    void setCurrentX(double x) { m_currentX = x; }
    void setCurrentY(double y) { m_currentY = y; }

    // The font's pixel size is in logical pixels.
    void setFont(const QFont& font);
    void setForeground(QColor colour) { m_foreground = colour; }
    // Draws the text with its top-left corner at the current position, then
    // moves to the left edge one line further down.
    void print(const QString& text = {});

    const QImage& image() const { return m_image; }
    qreal devicePixelRatio() const { return m_dpr; }
    // The drawable area in device pixels, from (0, 0).
    QRect deviceRect() const { return m_bounds; }

    // The part of the image changed since the last call, in logical pixels.
    QRect takeDirtyRect();

private:
    void fill(int left, int top, int right, int bottom, const QColor& colour);
    void markDirty(const QRect& deviceRect);
    double lineHeight() const; // one printed line, in user units

    QSizeF m_userSize;
    qreal m_dpr = 1.0;
    QRect m_bounds;
    UserScale m_scale;
    QPainter* m_painter = nullptr; // drawing through a painter rather than into m_image
    QPoint m_origin;               // where m_bounds lies on the painter's device
    int m_lineWidth = 1;   // device pixels of a 1-pixel pen
    QColor m_background;
    QColor m_foreground = Qt::black;
    QFont m_font;
    QImage m_image;
    QRect m_dirty;
    double m_currentX = 0.0;
    double m_currentY = 0.0;
};
