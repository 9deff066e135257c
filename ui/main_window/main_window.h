#pragma once

#include "field_chart.h"
#include "pursuit.h"

#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class CuePlayer;
class QLabel;
class QLineEdit;
class QPushButton;
class SurfaceView;

// The main window: the field, the chase, the read-outs and the buttons.
class Form1 : public QWidget {
    Q_OBJECT
public:
    // `player` plays the cues and must outlive the window.
    explicit Form1(CuePlayer& player, QWidget* parent = nullptr);
    ~Form1() override;

    const sim::PursuitState& state() const { return m_state; }
    const FieldChart& chart() const { return *m_chart; }

    // Tells the pupil why a click could not go on. Replaceable for tests;
    // the default shows a message box.
    std::function<void(const QString& message)> showProblem;
    // Asks "終了していいですか？"; true for Yes. Replaceable for tests.
    std::function<bool()> confirmQuit;

    // The Japanese message for a fault that ended a click.
    static QString problemMessage(sim::Fault fault);

signals:
    // 終了 answered Yes.
    void quitRequested();
    // HELP clicked: the program swaps this window for the help window.
    void helpRequested();

public slots:
    void Command1_Click(); // 次へ
    void Command2_Click(); // 終了
    void Command3_Click(); // 初期化
    void Command4_Click(); // HELP

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Form_Activate();
    void showStartPosition();
    void writeReadouts(const sim::Readouts& readouts);
    void placeMarker(QLabel* marker, sim::ChartPoint topLeft);
    QString inputText(int box) const;

    CuePlayer& m_player;
    sim::PursuitState m_state;
    std::unique_ptr<FieldChart> m_chart;
    bool m_started = false;

    std::array<QLineEdit*, 9> m_text{};      // Text1..Text8 at their numbers
    SurfaceView* m_field = nullptr;          // Picture1
    QLabel* m_mouse = nullptr;               // Picture2
    QLabel* m_dog = nullptr;                 // Picture3
    std::array<QPushButton*, 5> m_command{}; // Command1..Command4 at their numbers
};
