// The desktop window as the page's tests see it: types the three inputs,
// clicks 次へ a number of times, saves the field's retained image (device
// pixels, so QT_SCALE_FACTOR sets its size) and prints the messages the
// window showed, as a JSON array.
//
//   window_field U V H CLICKS IMAGE

#include "main_window.h"
#include "program.h"
#include "recording_player.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLineEdit>
#include <QPushButton>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    bool isCount = false;
    const int clicks = args.size() == 6 ? args[4].toInt(&isCount) : 0;
    if (!isCount || clicks < 0) {
        std::fputs("usage: window_field U V H CLICKS IMAGE\n", stderr);
        return 2;
    }

    RecordingPlayer player;
    Program program(player);
    program.showMain();
    MainWindow* window = program.mainWindow();
    QStringList problems;
    window->showProblem = [&problems](const QString& message) { problems << message; };
    const char* inputs[] = {"mouseSpeed", "dogSpeed", "unitTime"};
    for (int i = 0; i < 3; ++i)
        window->findChild<QLineEdit*>(QLatin1String(inputs[i]))->setText(args[1 + i]);
    auto* next = window->findChild<QPushButton*>(QStringLiteral("nextButton"));
    for (int i = 0; i < clicks; ++i)
        next->click();

    if (!window->fieldImage().save(args[5])) {
        std::fprintf(stderr, "window_field: cannot write %s\n", qPrintable(args[5]));
        return 1;
    }
    std::puts(QJsonDocument(QJsonArray::fromStringList(problems)).toJson(QJsonDocument::Compact).constData());
    return 0;
}
