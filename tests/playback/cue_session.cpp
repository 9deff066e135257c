// Clicks one main-window button with the real cue player, then stays up
// while its cue sounds: init (初期化), exit (終了, answered No), catch (次へ
// up to the first catch) or help (HELP; the chime outlives the window).
// Exits 0 when the clicks went as a pupil's would, 1 otherwise.

#include "cue_player.h"
#include "main_window.h"
#include "program.h"

#include <QApplication>
#include <QHash>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <utility>

namespace {

int session(int argc, char** argv)
{
    QApplication app(argc, argv);
    // The button and how often it is clicked; at the start values the dog
    // first reaches the mouse's x at click 78.
    const QHash<QByteArray, std::pair<const char*, int>> clicks{
        {"init", {"Command3", 1}}, {"exit", {"Command2", 1}}, {"catch", {"Command1", 78}}, {"help", {"Command4", 1}}};
    if (argc != 2 || !clicks.contains(argv[1])) {
        std::fprintf(stderr, "usage: cue_session init|exit|catch|help\n");
        return 2;
    }
    SoundEffectCuePlayer player;
    Program program(player);
    program.start();
    program.mainWindow()->confirmQuit = [] { return false; };
    const auto [button, times] = clicks.value(argv[1]);
    for (int i = 0; i < times; ++i)
        QTest::mouseClick(program.mainWindow()->findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (qstrcmp(argv[1], "help") == 0 && (program.mainWindow() || !program.currentWindow())) {
        std::fprintf(stderr, "HELP did not put the help window in the main window's place\n");
        return 1;
    }
    // Every cue is under 1.5 s; the player needs the event loop to play.
    QTimer::singleShot(2500, &app, &QCoreApplication::quit);
    return QApplication::exec();
}

} // namespace

// Ends the way the program itself does.
int main(int argc, char** argv) { endProcess(session(argc, argv)); }
