// What one click on 次へ costs in the real main window (offscreen), as the
// trail grows. The field is a retained image, so the cost should not grow
// with the trail. Prints figures; never fails on time.

#include "cue_player.h"
#include "main_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

class SilentPlayer : public CuePlayer {
public:
    void playCue(const QString&) override {}
};

// One click as the pupil makes it: the button's click, then the repaint.
void clickOnce(QPushButton* next)
{
    next->click();
    QCoreApplication::processEvents();
}

double medianMicroseconds(QPushButton* next, int samples)
{
    std::vector<double> times;
    times.reserve(static_cast<std::size_t>(samples));
    QElapsedTimer timer;
    for (int i = 0; i < samples; ++i) {
        timer.start();
        clickOnce(next);
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1000.0);
    }
    std::nth_element(times.begin(), times.begin() + samples / 2, times.end());
    return times[static_cast<std::size_t>(samples / 2)];
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SilentPlayer player;
    MainWindow form(player);
    // A slow mouse keeps the chase inside the field for all the clicks, so
    // every click adds two new marks to a growing trail.
    form.findChild<QLineEdit*>(QStringLiteral("mouseSpeed"))->setText(QStringLiteral("0.0005"));
    form.findChild<QLineEdit*>(QStringLiteral("dogSpeed"))->setText(QStringLiteral("0.0008"));
    form.show();
    auto* next = form.findChild<QPushButton*>(QStringLiteral("nextButton"));

    constexpr int samples = 501;
    std::vector<std::pair<int, double>> results;
    int trail = 0;
    for (const int length : {10, 1000, 100000}) {
        while (trail < length) {
            clickOnce(next);
            ++trail;
        }
        const double median = medianMicroseconds(next, samples);
        trail += samples;
        results.emplace_back(length, median);
        std::printf("step: trail %6d clicks, median %.1f us per click (%d clicks)\n", length, median, samples);
    }
    std::printf("step: ratio 100000 / 10 = %.2f (goal <= 1.2); median at 100000 %.3f ms (goal < 1 ms)\n",
                results.back().second / results.front().second, results.back().second / 1000.0);
    return 0;
}
