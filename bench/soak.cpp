// A long lesson in one process: 100,000 clicks on 次へ with the trail
// growing, then 200 trips to HELP and back, and the resident memory after
// each part. Prints figures; fails only if a round trip did not leave
// exactly one main window.

#include "main_window.h"
#include "program.h"
#include "cue_player.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cstdio>
#include <malloc.h>
#include <unistd.h>

namespace {

class SilentPlayer : public CuePlayer {
public:
    void playCue(const QString&) override {}
};

double residentMiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0) : 0;
}

void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QPushButton* button(QWidget* window, const char* name)
{
    return window ? window->findChild<QPushButton*>(QString::fromLatin1(name)) : nullptr;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    mallopt(M_MMAP_THRESHOLD, 256 * 1024); // as main() does
    QApplication app(argc, argv);
    const int clicks = argc > 1 ? atoi(argv[1]) : 100000;
    const int trips = argc > 2 ? atoi(argv[2]) : 200;

    SilentPlayer player;
    Program program(player);
    program.showMain();
    settle();
    MainWindow* form = program.mainWindow();
    // A slow chase stays inside the field, so every click adds to the trail.
    form->findChild<QLineEdit*>(QStringLiteral("mouseSpeed"))->setText(QStringLiteral("0.0005"));
    form->findChild<QLineEdit*>(QStringLiteral("dogSpeed"))->setText(QStringLiteral("0.0008"));
    QPushButton* next = button(form, "nextButton");

    double early = 0;
    for (int i = 1; i <= clicks; ++i) {
        next->click();
        if (i % 100 == 0)
            settle();
        if (i == std::min(1000, clicks))
            early = residentMiB();
    }
    settle();
    const double afterClicks = residentMiB();

    bool swapsOk = true;
    for (int i = 0; i < trips && swapsOk; ++i) {
        QTest::mouseClick(button(program.mainWindow(), "helpButton"), Qt::LeftButton);
        settle();
        QWidget* help = program.currentWindow();
        swapsOk = help && !program.mainWindow() && button(help, "closeButton");
        if (!swapsOk)
            break;
        QTest::mouseClick(button(help, "closeButton"), Qt::LeftButton);
        settle();
        swapsOk = program.mainWindow() != nullptr && QApplication::topLevelWidgets().size() == 1;
    }
    settle();
    const double afterTrips = residentMiB();

    const double growth = early > 0 ? (afterTrips - early) / early : 1.0;
    std::printf("soak: resident %.1f MiB after %d clicks, %.1f MiB after %d clicks, %.1f MiB after %d "
                "HELP round trips; growth %.1f %% (goal within 10 %%)\n",
                early, std::min(1000, clicks), afterClicks, clicks, afterTrips, trips, growth * 100.0);
    if (!swapsOk) {
        std::printf("soak: a HELP round trip did not leave exactly one main window\n");
        return 1;
    }
    return 0;
}
