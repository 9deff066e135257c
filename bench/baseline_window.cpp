// The least Qt Widgets program worth comparing with: one window with a text
// box and a button. Start-up is measured to its first painted frame.

#include "first_paint.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("baseline"));
    window.setFixedSize(681, 624);
    QLineEdit text(QStringLiteral("6"), &window);
    text.setGeometry(200, 536, 49, 33);
    QPushButton button(QStringLiteral("OK"), &window);
    button.setGeometry(400, 584, 225, 25);
    FirstPaint watcher;
    window.installEventFilter(&watcher);
    window.show();
    return QApplication::exec();
}
