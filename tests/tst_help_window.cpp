#include "help_window.h"
#include "surface.h"

#include <QFontMetricsF>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <cmath>

namespace {

QString ideographic(int count) { return QString(count, QChar(0x3000)); }

struct HelpWindow {
    Form2 form;

    HelpWindow() { form.show(); }
    template <typename T = QWidget> T* control(const char* name) const
    {
        return form.findChild<T*>(QString::fromLatin1(name));
    }
    const QImage& image() const { return form.surface().image(); }
    // What was printed on the box, line by line.
    QStringList printed() const { return control("Picture1")->accessibleDescription().split(u'\n'); }
    QFontMetricsF metrics() const { return QFontMetricsF(control("Picture1")->font()); }
    // Pixel rows of the n-th printed line (from 1), from the font alone.
    int bandTop(int n) const { return static_cast<int>(std::floor((n - 1) * metrics().height())); }
    int bandHeight() const { return static_cast<int>(std::floor(metrics().height())); }
    // The leftmost column with ink between rows top and bottom, or -1.
    int firstInk(int top, int bottom) const
    {
        for (int x = 0; x < image().width(); ++x)
            for (int y = std::max(top, 0); y < std::min(bottom, image().height()); ++y)
                if ((image().pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
                    return x;
        return -1;
    }
};

} // namespace

class TestHelpWindow : public QObject {
    Q_OBJECT
private slots:
    void helpLine_data();
    void helpLine();
    void printsOnceAndNothingElse();
    void closeHoldsTheFocus_data();
    void closeHoldsTheFocus();
    void layout_data();
    void layout();
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
    HelpWindow w;
    const QStringList printed = w.printed();
    QCOMPARE(printed.size(), 21);
    QCOMPARE(printed.at(number - 1), ideographic(indent) + text);

    // The line's own band of the box: ink where there is text, none where
    // there is not, so no line ran into the next or wrapped onto it.
    const int top = w.bandTop(number);
    const int bottom = top + w.bandHeight();
    if (text.isEmpty()) {
        QCOMPARE(w.firstInk(top + 1, bottom - 1), -1);
        return;
    }
    const int ink = w.firstInk(top, bottom);
    QVERIFY2(ink >= 0, "the box is blank where the line stands");
    // The text begins within the character cell that follows the indent.
    const double cell = w.metrics().horizontalAdvance(QChar(0x3000));
    QVERIFY2(ink >= indent * cell && ink < (indent + 1) * cell,
             qPrintable(QStringLiteral("ink from x = %1, cell %2").arg(ink).arg(cell)));
}

void TestHelpWindow::printsOnceAndNothingElse()
{
    HelpWindow w;
    // Below the last line the box stays white.
    QCOMPARE(w.firstInk(w.bandTop(22) + 1, w.image().height()), -1);
    const QImage first = w.image();

    w.form.hide();
    w.form.show();
    QCOMPARE(w.printed().size(), 21);
    QVERIFY(w.image() == first);
}

void TestHelpWindow::closeHoldsTheFocus_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("closes");
    QTest::addRow("space bar") << int(Qt::Key_Space) << 1;
    QTest::addRow("Enter is no button's") << int(Qt::Key_Return) << 0;
    QTest::addRow("Escape is no button's") << int(Qt::Key_Escape) << 0;
}

void TestHelpWindow::closeHoldsTheFocus()
{
    QFETCH(int, key);
    QFETCH(int, closes);
    HelpWindow w;
    QSignalSpy close(&w.form, &Form2::closeRequested);
    QWidget* focus = w.form.focusWidget();
    QCOMPARE(focus, w.control("Command1"));
    QTest::keyClick(focus, Qt::Key(key));
    QCOMPARE(close.count(), closes);
}

void TestHelpWindow::layout_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addRow("help box") << QByteArray("Picture1") << QRect(8, 32, 601, 457);
    QTest::addRow("close button") << QByteArray("Command1") << QRect(560, 0, 49, 25);
    QTest::addRow("rule from right to left") << QByteArray("Line1") << QRect(8, 24, 601, 1);
}

void TestHelpWindow::layout()
{
    QFETCH(QByteArray, name);
    QFETCH(QRect, geometry);
    HelpWindow w;
    QCOMPARE(w.control(name.constData())->geometry(), geometry);
    QCOMPARE(w.form.size(), QSize(617, 496));
    QCOMPARE(w.form.windowTitle(), QStringLiteral(" Torvikan＿ヘルプ（設問と操作方法）"));
    QCOMPARE(w.control<QPushButton>("Command1")->text(), QStringLiteral("閉じる"));
    QCOMPARE(w.image().size(), QSize(597, 453));
    QCOMPARE(w.control("Picture1")->font().pixelSize(), 15); // 11.25 pt at 96 dpi
}

QTEST_MAIN(TestHelpWindow)
#include "tst_help_window.moc"
