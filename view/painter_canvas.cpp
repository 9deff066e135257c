#include "painter_canvas.h"

#include <QFontMetrics>
#include <QPainter>

QColor toQColor(chart::Colour colour)
{
    const chart::Rgb c = chart::rgb(colour);
    return QColor(c.red, c.green, c.blue);
}

PainterCanvas::PainterCanvas(QPainter& painter, QPoint origin, const QFont& face)
    : m_painter(painter)
    , m_origin(origin)
    , m_face(face)
{
}

void PainterCanvas::fill(chart::PixelRect area, chart::Colour colour)
{
    const QRect r(QPoint(area.left, area.top), QPoint(area.right, area.bottom));
    m_painter.fillRect(r.translated(m_origin), toQColor(colour));
    m_painted |= r;
}

void PainterCanvas::text(int x, int y, std::string_view text, int pixelSize)
{
    const QString s = QString::fromUtf8(text.data(), qsizetype(text.size()));
    if (s.isEmpty())
        return;
    QFont font = m_face;
    font.setPixelSize(pixelSize);
    const QFontMetrics metrics(font, m_painter.device());
    m_painter.setFont(font);
    m_painter.setPen(toQColor(chart::labelColour));
    m_painter.drawText(m_origin + QPoint(x, y + metrics.ascent()), s);
    m_painted |= QRect(QPoint(x, y), QSize(metrics.horizontalAdvance(s) + 2, metrics.height()));
}
