#pragma once

#include <QWidget>

class Surface;

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
