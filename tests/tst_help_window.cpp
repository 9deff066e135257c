#include "help_window.h"
#include "surface.h"

#include <QFontMetricsF>
#include <QtTest>

#include <cmath>

class TestHelpWindow : public QObject {
    Q_OBJECT
private slots:
    void helpLine_data();
    void helpLine();
};

void TestHelpWindow::helpLine_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("indent");
    QTest::addColumn<QString>("text");
    QTest::addRow("1 empty") << 1 << 0 << "";
    QTest::addRow("2 problem heading") << 2 << 1 << "【問\u3000\u3000題】";
    QTest::addRow("3 fifty metres apart") << 3 << 8 << "下図のように、ねずみと犬は最初５０ｍ離れた位置にいます。";
    QTest::addRow("4 mouse runs") << 4 << 8 << "ねずみは、まっすぐに矢印の方向に６ｍ／ｓの速度で逃げます。";
    QTest::addRow("5 dog chases") << 5 << 8 << "犬は、ねずみに向かってまっすぐに１０ｍ／ｓの速度で追いかけます。";
    QTest::addRow("6 which path") << 6 << 8 << "ねずみを追いかける犬はどんな道筋をたどるのでしょうか。";
    QTest::addRow("7 how many seconds") << 7 << 8 << "また、犬はねずみに何秒後に追いつくのでしょうか。";
    QTest::addRow("8 empty") << 8 << 0 << "";
    QTest::addRow("9 diagram dog") << 9 << 8 << "犬（ねずみに向かって１０ｍ／ｓの速度で追いかける）";
    QTest::addRow("10 diagram bar") << 10 << 8 << "｜";
    QTest::addRow("11 diagram bar") << 11 << 8 << "｜";
    QTest::addRow("12 diagram distance") << 12 << 7 << "５０ｍ";
    QTest::addRow("13 diagram bar") << 13 << 8 << "｜";
    QTest::addRow("14 diagram bar") << 14 << 8 << "｜";
    QTest::addRow("15 diagram mouse") << 15 << 8 << "ねずみ→（矢印の方向に６ｍ／ｓの速度で逃げる）";
    QTest::addRow("16 empty") << 16 << 0 << "";
    QTest::addRow("17 empty") << 17 << 0 << "";
    QTest::addRow("18 operation heading") << 18 << 1 << "【操作方法】";
    QTest::addRow("19 next button") << 19 << 9 << "［次へ］コマンドボタンをクリックするたびに、犬とねずみが動きます。";
    QTest::addRow("20 initialise button") << 20 << 9
                                          << "［初期化］コマンドボタンをクリックすると、犬とねずみが元の位置に戻ります。";
    QTest::addRow("21 input boxes") << 21 << 9 << "［単位時間ｈ＝］テキストボックス等の数字を変更できます。";
}

void TestHelpWindow::helpLine()
{
    QFETCH(int, number);
    QFETCH(int, indent);
    QFETCH(QString, text);
    Form2 form;
    form.show();
    // Showing the window again must not print the text again.
    form.hide();
    form.show();
    const QWidget* box = form.findChild<QWidget*>(QStringLiteral("Picture1"));
    const QStringList printed = box->accessibleDescription().split(u'\n');
    QCOMPARE(printed.size(), 21);
    QCOMPARE(printed.at(number - 1), QString(indent, QChar(0x3000)) + text);

    // In the line's own band, from the font alone: ink from the cell after the
    // indent, none on an empty line, so no line ran into the next.
    const QFontMetricsF metrics(box->font());
    const QImage& image = form.surface().image();
    const int top = int(std::floor((number - 1) * metrics.height()));
    int ink = -1;
    for (int x = 0; x < image.width() && ink < 0; ++x)
        for (int y = top + 1; y < top + int(metrics.height()) - 1; ++y)
            if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
                ink = x;
    const double cell = metrics.horizontalAdvance(QChar(0x3000));
    if (text.isEmpty())
        QCOMPARE(ink, -1);
    else
        QVERIFY2(ink >= indent * cell && ink < (indent + 1) * cell, qPrintable(QString::number(ink)));
}

QTEST_MAIN(TestHelpWindow)
#include "tst_help_window.moc"
