#pragma once

#include <QWidget>

class QEvent;
class Surface;

// Whether `event` may have brought its window a new device pixel ratio: a
// new screen, or (from Qt 6.6, which tells it) a new ratio on the same one.
// A window whose surface exists only as what was painted paints it again.
bool mayChangePixelRatio(const QEvent* event);

// Shows a retained Surface: painting only copies the part of its image
// that is exposed. Widgets placed on the view (the field's pictures) are
// clipped to it.
class SurfaceView : public QWidget {
    Q_OBJECT
public:
    explicit SurfaceView(QWidget* parent = nullptr);

    // The surface to show; not owned, and it must outlive its showing.
    void setSurface(Surface* surface);
    // Repaints what the surface changed since the last call.
    void refresh();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Surface* m_surface = nullptr;
};
