// Torvikan's own start-up, exactly as main() does it, measured to the
// first painted frame of the main window.

#include "cue_player.h"
#include "first_paint.h"
#include "program.h"

#include <QApplication>

namespace {

int startUp(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("torvikan"));
    loadQtTranslations(app);
    SoundEffectCuePlayer player;
    Program program(player);
    FirstPaint watcher;
    program.start();
    program.currentWindow()->installEventFilter(&watcher);
    return QApplication::exec();
}

} // namespace

// Ends the way the program itself does.
int main(int argc, char** argv) { endProcess(startUp(argc, argv)); }
