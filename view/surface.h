#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QSizeF>
#include <QString>

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

// A drawing area that keeps what is drawn on it: a retained image with a
// fixed user scale, the drawing operations the windows use, and a current
// text position. Painting the area on screen only copies the image.
class Surface {
public:
    // `logicalSize`: the drawable interior in logical pixels; `userSize`:
    // how many user units span it across and down; `dpr`: device pixels per
    // logical pixel, so the image stays crisp on high-density screens.
    Surface(QSize logicalSize, QSizeF userSize, qreal dpr = 1.0, QColor background = Qt::white);

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

    // The part of the image changed since the last call, in logical pixels.
    QRect takeDirtyRect();

private:
    void fill(int left, int top, int right, int bottom, const QColor& colour);
    void markDirty(const QRect& deviceRect);
    double lineHeight() const; // one printed line, in user units

    QSizeF m_userSize;
    qreal m_dpr = 1.0;
    UserScale m_scale;
    int m_lineWidth = 1;   // device pixels of a 1-pixel pen
    QColor m_background;
    QColor m_foreground = Qt::black;
    QFont m_font;
    QImage m_image;
    QRect m_dirty;
    double m_currentX = 0.0;
    double m_currentY = 0.0;
};
