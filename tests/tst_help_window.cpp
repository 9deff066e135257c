#include "help_window.h"
#include "surface.h"

#include <QFile>
#include <QFontMetricsF>
#include <QtTest>

#include <cmath>

class TestHelpWindow : public QObject {
    Q_OBJECT
private slots:
    void printsTheHelpTextOnce_data()
    {
        QTest::addColumn<int>("line");   // from 1; 23 is past the text
        QTest::addColumn<int>("indent"); // ideographic spaces; -1 for no ink
        QTest::addRow("1 empty") << 1 << -1;
        QTest::addRow("2 problem heading") << 2 << 1;
        QTest::addRow("12 the distance, one place left") << 12 << 7;
        QTest::addRow("17 empty") << 17 << -1;
        QTest::addRow("21 last line") << 21 << 9;
        QTest::addRow("nothing after it") << 23 << -1;
    }
    void printsTheHelpTextOnce()
    {
        QFETCH(int, line);
        QFETCH(int, indent);
        HelpWindow help;
        help.show();
        help.hide();
        help.show(); // showing it again must not print a second copy
        QCOMPARE(help.windowTitle(), QStringLiteral(" Torvikan＿ヘルプ（設問と操作方法）"));
        QCOMPARE(help.focusWidget()->objectName(), QStringLiteral("closeButton"));
        const QWidget* box = help.findChild<QWidget*>(QStringLiteral("helpBox"));
        QFile expected(QStringLiteral(HELP_TEXT));
        QVERIFY(expected.open(QIODevice::ReadOnly));
        QCOMPARE(box->accessibleDescription() + u'\n', QString::fromUtf8(expected.readAll()));

        // In the line's own band, from the font alone: ink from the cell after
        // the indent, none on an empty line, so no line ran into the next.
        const QFontMetricsF metrics(box->font());
        const QImage& image = help.surface().image();
        const int top = int(std::floor((line - 1) * metrics.height()));
        int ink = -1;
        for (int x = 0; x < image.width() && ink < 0; ++x)
            for (int y = top + 1; y < std::min(image.height(), top + int(metrics.height()) - 1); ++y)
                if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
                    ink = x;
        const double cell = metrics.horizontalAdvance(QChar(0x3000));
        if (indent < 0)
            QCOMPARE(ink, -1);
        else
            QVERIFY2(ink >= indent * cell && ink < (indent + 1) * cell, qPrintable(QString::number(ink)));
    }
};

QTEST_MAIN(TestHelpWindow)
#include "tst_help_window.moc"
