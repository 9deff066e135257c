#include "help_window.h"
#include "surface.h"

#include <QFile>
#include <QFontMetricsF>
#include <QtTest>

#include <cmath>

class TestHelpWindow : public QObject {
    Q_OBJECT
private slots:
    void printsTheHelpTextOnce();
    void linesStartAfterTheirIndent_data();
    void linesStartAfterTheirIndent();
};

namespace {

// The first column with ink in the band of printed line `number` (from 1),
// or -1 for none.
int firstInk(const HelpWindow& help, int number)
{
    const QFontMetricsF metrics(help.findChild<QWidget*>(QStringLiteral("helpBox"))->font());
    const QImage& image = help.surface().image();
    const int top = int(std::floor((number - 1) * metrics.height()));
    for (int x = 0; x < image.width(); ++x)
        for (int y = top + 1; y < std::min(image.height(), top + int(metrics.height()) - 1); ++y)
            if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
                return x;
    return -1;
}

} // namespace

void TestHelpWindow::printsTheHelpTextOnce()
{
    HelpWindow help;
    help.show();
    help.hide();
    help.show(); // showing it again must not print a second copy
    QCOMPARE(help.windowTitle(), QStringLiteral(" Torvikan＿ヘルプ（設問と操作方法）"));
    QCOMPARE(help.focusWidget(), help.findChild<QWidget*>(QStringLiteral("closeButton")));

    QFile expected(QStringLiteral(HELP_TEXT));
    QVERIFY(expected.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(expected.readAll()).chopped(1); // the file's last newline
    QCOMPARE(help.findChild<QWidget*>(QStringLiteral("helpBox"))->accessibleDescription(), text);
    QCOMPARE(firstInk(help, 23), -1);
}

void TestHelpWindow::linesStartAfterTheirIndent_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("indent"); // ideographic spaces; -1 for an empty line
    QTest::addRow("1 empty") << 1 << -1;
    QTest::addRow("2 problem heading") << 2 << 1;
    QTest::addRow("3 first sentence") << 3 << 8;
    QTest::addRow("12 the distance, one place left") << 12 << 7;
    QTest::addRow("17 empty") << 17 << -1;
    QTest::addRow("21 last line") << 21 << 9;
}

void TestHelpWindow::linesStartAfterTheirIndent()
{
    QFETCH(int, number);
    QFETCH(int, indent);
    HelpWindow help;
    help.show();
    // In the line's own band, from the font alone: ink from the cell after
    // the indent, none on an empty line, so no line ran into the next.
    const int ink = firstInk(help, number);
    const double cell = QFontMetricsF(help.findChild<QWidget*>(QStringLiteral("helpBox"))->font())
                            .horizontalAdvance(QChar(0x3000));
    if (indent < 0)
        QCOMPARE(ink, -1);
    else
        QVERIFY2(ink >= indent * cell && ink < (indent + 1) * cell, qPrintable(QString::number(ink)));
}

QTEST_MAIN(TestHelpWindow)
#include "tst_help_window.moc"
