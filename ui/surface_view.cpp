#include "surface_view.h"

#include "surface.h"

#include <QPaintEvent>
#include <QPainter>

SurfaceView::SurfaceView(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SurfaceView::setSurface(Surface* surface)
{
    m_surface = surface;
    update();
}

void SurfaceView::refresh()
{
    if (!m_surface)
        return;
    const QRect dirty = m_surface->takeDirtyRect();
    if (!dirty.isEmpty())
        update(dirty);
}

void SurfaceView::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    const QRect target = event->rect();
    if (!m_surface) {
        p.fillRect(target, palette().base());
        return;
    }
    // The image has device pixels, the exposed rectangle logical ones.
    const qreal dpr = m_surface->devicePixelRatio();
    const QRectF source(target.x() * dpr, target.y() * dpr, target.width() * dpr, target.height() * dpr);
    p.drawImage(QRectF(target), m_surface->image(), source);
}

bool mayChangePixelRatio(const QEvent* event)
{
    return event->type() == QEvent::ScreenChangeInternal
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
        || event->type() == QEvent::DevicePixelRatioChange
#endif
        ;
}
