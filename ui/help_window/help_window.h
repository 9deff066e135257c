#pragma once

#include <QStringList>
#include <QWidget>

#include <memory>

class QPushButton;
class Surface;
class SurfaceView;

// The help window: the problem with its text diagram, and how to work the
// main window. It takes no input and plays no sound.
class Form2 : public QWidget {
    Q_OBJECT
public:
    explicit Form2(QWidget* parent = nullptr);
    ~Form2() override;

    // What Picture1 shows.
    const Surface& surface() const { return *m_surface; }

signals:
    // 閉じる clicked: the program swaps this window for a new main window.
    void closeRequested();

public slots:
    void Command1_Click(); // 閉じる

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Form_Activate();

    std::unique_ptr<Surface> m_surface;
    SurfaceView* m_box = nullptr;        // Picture1
    QPushButton* m_close = nullptr;      // Command1
    QStringList m_printed;               // every line printed on Picture1
    bool m_activated = false;
};
