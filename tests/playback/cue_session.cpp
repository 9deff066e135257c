// Clicks one of the main window's buttons with the real cue player, for the
// playback check, then stays up while the cue sounds:
//
//   cue_session init    初期化: the chime
//   cue_session exit    終了, answered No: the goodbye cue
//   cue_session catch   次へ up to the first catch: the catch cue
//   cue_session help    HELP: the chime, which must sound on after the main
//                       window is gone
//
// Exits 0 when the clicks went as a pupil's would, 1 otherwise.

#include "cue_player.h"
#include "main_window.h"
#include "program.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstring>

namespace {

void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void click(QWidget* window, const char* name, int times = 1)
{
    auto* button = window->findChild<QPushButton*>(QString::fromLatin1(name));
    for (int i = 0; i < times; ++i)
        QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: cue_session init|exit|catch|help\n");
        return 2;
    }
    SoundEffectCuePlayer player;
    Program program(player);
    program.start();
    settle();
    Form1* form = program.mainWindow();
    form->confirmQuit = [] { return false; };

    const char* button = argv[1];
    if (!std::strcmp(button, "init")) {
        click(form, "Command3");
    } else if (!std::strcmp(button, "exit")) {
        click(form, "Command2");
    } else if (!std::strcmp(button, "catch")) {
        // With the inputs at their start values the dog first reaches the
        // mouse's x at click 78.
        click(form, "Command1", 78);
    } else if (!std::strcmp(button, "help")) {
        click(form, "Command4");
        settle();
        if (program.mainWindow() || !program.currentWindow()) {
            std::fprintf(stderr, "HELP did not put the help window in the main window's place\n");
            return 1;
        }
    } else {
        std::fprintf(stderr, "unknown button %s\n", button);
        return 2;
    }
    // Every cue is under 1.5 s; the player needs the event loop to play.
    QTimer::singleShot(2500, &app, &QCoreApplication::quit);
    return QApplication::exec();
}
