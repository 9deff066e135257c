#include "surface.h"

#include <cmath>

Surface::Surface(QSize logicalSize, qreal dpr)
    : m_dpr(dpr > 0 ? dpr : 1.0)
    , m_image(qRound(logicalSize.width() * m_dpr), qRound(logicalSize.height() * m_dpr), QImage::Format_RGB32)
{
    m_image.fill(toQColor(chart::background));
    m_dirty = m_image.rect();
}

Surface::Painting::Painting(Surface& surface, const QFont& face)
    : m_surface(surface)
    , m_painter(&surface.m_image)
    , m_canvas(m_painter, QPoint(0, 0), face)
{
}

Surface::Painting::~Painting() { m_surface.m_dirty |= m_canvas.painted().intersected(m_surface.m_image.rect()); }

QRect Surface::takeDirtyRect()
{
    const QRect d = m_dirty;
    m_dirty = QRect();
    if (d.isEmpty())
        return {};
    // Round outwards to whole logical pixels.
    const int left = static_cast<int>(std::floor(d.left() / m_dpr));
    const int top = static_cast<int>(std::floor(d.top() / m_dpr));
    const int right = static_cast<int>(std::ceil((d.right() + 1) / m_dpr));
    const int bottom = static_cast<int>(std::ceil((d.bottom() + 1) / m_dpr));
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}
