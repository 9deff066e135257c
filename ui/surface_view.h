#pragma once

#include <QFrame>

class Surface;

// A picture box on screen: a 2-pixel sunken border around an interior that
// shows a retained Surface. Child pictures placed on the interior are
// clipped to it.
class SurfaceView : public QFrame {
    Q_OBJECT
public:
    static constexpr int borderWidth = 2;

    explicit SurfaceView(QWidget* parent = nullptr);

    // The interior: the surface is painted here and markers are its children.
    QWidget* interior() const;

    // The surface to show; not owned, and it must outlive its showing.
    void setSurface(Surface* surface);
    // Repaints what the surface changed since the last call.
    void refresh();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    class Interior;
    Interior* m_interior;
};
