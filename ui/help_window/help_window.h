#pragma once

#include <QWidget>

#include <memory>

class Surface;

namespace Ui {
class HelpWindow;
}

// The help window: the problem with its text diagram, and how to work the
// main window. It takes no input and plays no sound.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
    ~HelpWindow() override;

    // What the help box shows.
    const Surface& surface() const { return *m_surface; }

signals:
    // 閉じる clicked: the program swaps this window for a new main window.
    void closeRequested();

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void followPixelRatio();
    void printHelp();

    std::unique_ptr<Ui::HelpWindow> m_ui;
    std::unique_ptr<Surface> m_surface;
    bool m_printed = false;
};
