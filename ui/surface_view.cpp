#include "surface_view.h"

#include "surface.h"

#include <QPaintEvent>
#include <QPainter>

class SurfaceView::Interior : public QWidget {
public:
    explicit Interior(QWidget* parent)
        : QWidget(parent)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAutoFillBackground(false);
    }

    Surface* surface = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter p(this);
        if (!surface) {
            p.fillRect(event->rect(), palette().base());
            return;
        }
        // Copy only what is exposed: the image has device pixels, the rect
        // logical ones.
        const QRect target = event->rect();
        const qreal dpr = surface->devicePixelRatio();
        const QRectF source(target.x() * dpr, target.y() * dpr, target.width() * dpr, target.height() * dpr);
        p.drawImage(QRectF(target), surface->image(), source);
    }
};

SurfaceView::SurfaceView(QWidget* parent)
    : QFrame(parent)
    , m_interior(new Interior(this))
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(borderWidth);
    setFocusPolicy(Qt::StrongFocus);
}

QWidget* SurfaceView::interior() const { return m_interior; }

void SurfaceView::setSurface(Surface* surface)
{
    m_interior->surface = surface;
    m_interior->update();
}

void SurfaceView::refresh()
{
    if (!m_interior->surface)
        return;
    const QRect dirty = m_interior->surface->takeDirtyRect();
    if (!dirty.isEmpty())
        m_interior->update(dirty);
}

void SurfaceView::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    m_interior->setGeometry(contentsRect());
}
