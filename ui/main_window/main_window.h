#pragma once

#include "lesson.h"
#include "surface.h"

#include <QWidget>

#include <functional>
#include <memory>

class CuePlayer;
class QLabel;

namespace Ui {
class MainWindow;
}

// The main window: the field, the chase, the read-outs and the buttons.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    // `player` plays the cues and must outlive the window.
    explicit MainWindow(CuePlayer& player, QWidget* parent = nullptr);
    ~MainWindow() override;

    const sim::PursuitState& state() const { return m_lesson->state(); }
    // The field as drawn, in device pixels.
    const QImage& fieldImage() const { return m_surface->image(); }

    // Tells the pupil why a click could not go on. Replaceable for tests;
    // the default shows a message box.
    std::function<void(const QString& message)> showProblem;
    // Asks "終了していいですか？"; true for Yes. Replaceable for tests.
    std::function<bool()> confirmQuit;

signals:
    // 終了 answered Yes.
    void quitRequested();
    // HELP clicked: the program swaps this window for the help window.
    void helpRequested();

public slots:
    void nextStep();
    void startOver();
    void askToQuit();
    void openHelp();

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void applyFonts();
    chart::FieldChart fieldChart() const;
    // Runs `drawing` with a canvas on the field's retained image and
    // returns what it returns.
    template <typename Drawing> auto paint(Drawing drawing);
    void followPixelRatio();
    void showStartPosition(const sim::Frame& start);
    void showReadouts(const sim::Readouts& readouts);
    void placeMarkers(const sim::Frame& frame);

    std::unique_ptr<Ui::MainWindow> m_ui;
    CuePlayer& m_player;
    std::unique_ptr<Surface> m_surface;
    std::unique_ptr<Lesson> m_lesson;
    QFont m_labelFace;
    bool m_started = false;
};
