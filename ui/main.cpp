#include "cue_player.h"
#include "program.h"

#include <QApplication>

namespace {

int run(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("torvikan"));
    QApplication::setApplicationDisplayName(QStringLiteral("Torvikan"));
    QApplication::setDesktopFileName(QStringLiteral("torvikan"));
    loadQtTranslations(app);

    SoundEffectCuePlayer player;
    Program program(player);
    program.start();
    return QApplication::exec();
}

} // namespace

int main(int argc, char** argv) { endProcess(run(argc, argv)); }
