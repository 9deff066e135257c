#include "field_chart.h"
#include "main_layout.h"
#include "main_window.h"
#include "number_text.h"
#include "recording_player.h"
#include "surface_view.h"

#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <cmath>

namespace {

// Chart metres to field pixels, written out independently of the program's
// own mapping: 645 × 389 pixels for 120 × 70 m.
int px(double x) { return static_cast<int>(std::floor(x * 645.0 / 120.0)); }
int py(double y) { return static_cast<int>(std::floor(y * 389.0 / 70.0)); }

const QRgb black = 0x000000;
const QRgb white = 0xFFFFFF;
const QRgb red = 0xFF0000;
const QRgb blue = 0x0000FF;

struct Window {
    RecordingPlayer player;
    Form1 form{player};
    QStringList problems;

    Window()
    {
        form.showProblem = [this](const QString& m) { problems << m; };
        form.show();
    }
    template <typename T = QWidget> T* control(const char* name) const
    {
        return form.findChild<T*>(QString::fromLatin1(name));
    }
    QString text(int box) const { return control<QLineEdit>(qPrintable(QStringLiteral("Text%1").arg(box)))->text(); }
    void setText(int box, const QString& t) { control<QLineEdit>(qPrintable(QStringLiteral("Text%1").arg(box)))->setText(t); }
    QStringList readouts() const { return {text(4), text(5), text(6), text(7), text(8)}; }
    void click(const char* button, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton);
    }
    QRgb pixel(double x, double y) const { return form.chart().surface().image().pixel(px(x), py(y)) & 0xFFFFFF; }
    QRgb pixelAt(int x, int y) const { return form.chart().surface().image().pixel(x, y) & 0xFFFFFF; }
};

QStringList coreReadouts(int clicks, const char* u = "6", const char* v = "10", const char* h = "0.1")
{
    sim::PursuitState s;
    sim::Frame f = sim::resetToStart(s);
    for (int i = 0; i < clicks; ++i)
        f = sim::step(s, u, v, h).frame;
    QStringList out;
    for (float value : {f.readouts.mouseX, f.readouts.mouseY, f.readouts.dogX, f.readouts.dogY, f.readouts.seconds})
        out << QString::fromStdString(number_text::formatReadout(value));
    return out;
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void startsAtTheStartPosition();
    void clicksMatchTheCore_data();
    void clicksMatchTheCore();
    void catchCueAndChimes();
    void chimeComesBeforeTheClear();
    void changedInputTakesEffectAtNextClick();
    void resetKeepsTypedTextsAndRedrawsStart();
    void faultIsExplainedAndTheProgramGoesOn();
    void enterAndEscapePressNoButton_data();
    void enterAndEscapePressNoButton();
    void startPicturePixels();
    void newestMarksLieOverTheGrid();
    void showingAgainDoesNotRestart();
    void layoutGeometry_data();
    void layoutGeometry();
    void tabOrder();
    void accessibleNames_data();
    void accessibleNames();
    void japaneseFontResolves();
};

void TestMainWindow::startsAtTheStartPosition()
{
    Window w;
    QCOMPARE(w.readouts(), (QStringList{"0.000", "0.000", "0.000", "50.000", "0.000"}));
    QCOMPARE(w.text(1), QStringLiteral("6"));
    QCOMPARE(w.text(2), QStringLiteral("10"));
    QCOMPARE(w.text(3), QStringLiteral("0.1"));
    QCOMPARE(w.form.windowTitle(), QStringLiteral(" Torvikan"));
    QCOMPARE(w.form.size(), QSize(681, 624));
    QCOMPARE(w.form.focusWidget(), w.control("Picture1"));
    QVERIFY(!w.form.windowIcon().isNull());
    QVERIFY(w.player.calls.isEmpty()); // the start plays nothing
}

void TestMainWindow::clicksMatchTheCore_data()
{
    QTest::addColumn<int>("clicks");
    QTest::addRow("first click") << 1;
    QTest::addRow("first catch") << 78;
    QTest::addRow("dog turned back") << 79;
}

void TestMainWindow::clicksMatchTheCore()
{
    QFETCH(int, clicks);
    Window w;
    w.click("Command1", clicks);
    QCOMPARE(w.readouts(), coreReadouts(clicks));

    sim::PursuitState s;
    sim::resetToStart(s);
    sim::StepOutcome o;
    for (int i = 0; i < clicks; ++i)
        o = sim::step(s, "6", "10", "0.1");
    QCOMPARE(w.control("Picture2")->pos(), FieldChart::markerPixel(o.frame.mouseMarker));
    QCOMPARE(w.control("Picture3")->pos(), FieldChart::markerPixel(o.frame.dogMarker));
    // The dog's mark is drawn last and may cover part of the mouse's.
    const double mx = s.ux - 0.5;
    const double my = s.uy - 0.5;
    const bool covered = mx > s.kx - 1 && mx <= s.kx && my > s.ky - 1 && my <= s.ky;
    QCOMPARE(w.pixel(mx, my), covered ? blue : red);
    QCOMPARE(w.pixel(s.kx - 0.5, s.ky - 0.5), blue);
}

void TestMainWindow::catchCueAndChimes()
{
    Window w;
    w.click("Command1", 170);
    QStringList expected;
    for (int click = 78; click <= 163; click += 5)
        expected << QStringLiteral("logoff.wav");
    QCOMPARE(w.player.calls, expected);

    w.player.calls.clear();
    w.click("Command3", 2);
    QCOMPARE(w.player.calls, (QStringList{"pinpon.wav (stop first)", "pinpon.wav (stop first)"}));
}

void TestMainWindow::chimeComesBeforeTheClear()
{
    Window w;
    w.click("Command1", 20);
    bool trailPresentAtChime = false;
    w.player.onPlay = [&](const QString&) { trailPresentAtChime = w.pixel(14 - 0.5, 59.5) == red; };
    w.click("Command3");
    QVERIFY(trailPresentAtChime);
    QCOMPARE(w.pixel(14 - 0.5, 59.5), white); // and the clear came after it
}

void TestMainWindow::changedInputTakesEffectAtNextClick()
{
    Window w;
    w.click("Command1");
    w.setText(2, QStringLiteral("20"));
    QCOMPARE(w.readouts(), coreReadouts(1)); // typing alone changes nothing
    w.click("Command1");
    sim::PursuitState s;
    sim::resetToStart(s);
    sim::step(s, "6", "10", "0.1");
    const sim::Readouts r = sim::step(s, "6", "20", "0.1").frame.readouts;
    QCOMPARE(w.text(7), QString::fromStdString(number_text::formatReadout(r.dogY)));
    QCOMPARE(w.form.state().v, 20.0f);
}

void TestMainWindow::resetKeepsTypedTextsAndRedrawsStart()
{
    Window fresh;
    const QImage startPicture = fresh.form.chart().surface().image();

    Window w;
    w.click("Command1", 90);
    w.setText(1, QStringLiteral("3"));
    w.setText(3, QStringLiteral("0.5"));
    w.click("Command3");
    QCOMPARE(w.text(1), QStringLiteral("3"));
    QCOMPARE(w.text(3), QStringLiteral("0.5"));
    QCOMPARE(w.readouts(), (QStringList{"0.000", "0.000", "0.000", "50.000", "0.000"}));
    QVERIFY(w.form.chart().surface().image() == startPicture);
    QCOMPARE(w.control("Picture2")->pos(), fresh.control("Picture2")->pos());
    QCOMPARE(w.control("Picture3")->pos(), fresh.control("Picture3")->pos());
    w.click("Command1");
    QCOMPARE(w.readouts(), coreReadouts(1, "3", "10", "0.5"));
}

void TestMainWindow::faultIsExplainedAndTheProgramGoesOn()
{
    Window w;
    w.setText(1, QStringLiteral("0"));
    w.click("Command1", 50);
    QVERIFY(w.problems.isEmpty());
    const QStringList before = w.readouts();
    const QImage picture = w.form.chart().surface().image();
    const int cues = w.player.calls.size();

    w.click("Command1"); // the dog sits on the mouse: 0 ÷ 0
    QCOMPARE(w.problems.size(), 1);
    QVERIFY(w.problems.first().contains(QStringLiteral("初期化")));
    QCOMPARE(w.readouts(), before);
    QVERIFY(w.form.chart().surface().image() == picture);
    QCOMPARE(w.player.calls.size(), cues);

    w.click("Command1");
    QCOMPARE(w.problems.size(), 2);
    w.setText(2, QStringLiteral("1e39"));
    w.click("Command1");
    QCOMPARE(w.problems.last(), Form1::problemMessage(sim::Fault::overflow));
    QVERIFY(w.problems.last() != w.problems.first());

    w.setText(1, QStringLiteral("6"));
    w.setText(2, QStringLiteral("10"));
    w.click("Command3");
    w.click("Command1");
    QCOMPARE(w.readouts(), coreReadouts(1));
    QCOMPARE(w.problems.size(), 3);
}

void TestMainWindow::enterAndEscapePressNoButton_data()
{
    QTest::addColumn<QByteArray>("focus");
    QTest::addColumn<int>("key");
    QTest::addRow("Enter on the field") << QByteArray("Picture1") << int(Qt::Key_Return);
    QTest::addRow("Enter in an input") << QByteArray("Text1") << int(Qt::Key_Return);
    QTest::addRow("keypad Enter in an input") << QByteArray("Text3") << int(Qt::Key_Enter);
    QTest::addRow("Escape on the field") << QByteArray("Picture1") << int(Qt::Key_Escape);
    QTest::addRow("Escape in a read-out") << QByteArray("Text4") << int(Qt::Key_Escape);
}

void TestMainWindow::enterAndEscapePressNoButton()
{
    QFETCH(QByteArray, focus);
    QFETCH(int, key);
    Window w;
    bool quitAsked = false;
    w.form.confirmQuit = [&] { return quitAsked = true; };
    QSignalSpy help(&w.form, &Form1::helpRequested);
    QWidget* target = w.control(focus.constData());
    target->setFocus();
    QTest::keyClick(target, Qt::Key(key));
    QCOMPARE(w.readouts(), coreReadouts(0));
    QVERIFY(w.player.calls.isEmpty());
    QVERIFY(!quitAsked);
    QCOMPARE(help.count(), 0);
}

void TestMainWindow::startPicturePixels()
{
    Window w;
    // The start marks: red at the mouse (x 9..10, y 59..60), blue at the dog.
    QCOMPARE(w.pixel(9.5, 59.5), red);
    QCOMPARE(w.pixel(9.5, 9.5), blue);
    // Both lie just outside the field; the grid, drawn after them, runs
    // over the edges they share with it: the mouse's right edge along the
    // line x = 10, and the corner of each.
    QCOMPARE(w.pixelAt(px(10), py(59.5)), black);
    QCOMPARE(w.pixelAt(px(10), py(60)), black);
    QCOMPARE(w.pixelAt(px(10), py(10)), black);
    QCOMPARE(w.pixelAt(px(9.5), py(60)), red);  // the mark's own bottom row
    QCOMPARE(w.pixelAt(px(10) - 1, py(59.5)), red);
    QCOMPARE(w.pixelAt(px(9.5), py(58.5)), white);
    QCOMPARE(w.pixelAt(px(8.5), py(59.5)), white);

    for (int x = 10; x <= 110; x += 10)
        for (double y : {12.5, 35.0, 57.5})
            QVERIFY2(w.pixelAt(px(x), py(y)) == black, qPrintable(QStringLiteral("vertical line x=%1").arg(x)));
    for (int y = 10; y <= 60; y += 10)
        for (double x : {12.5, 60.0, 107.5})
            QVERIFY2(w.pixelAt(px(x), py(y)) == black, qPrintable(QStringLiteral("horizontal line y=%1").arg(y)));
    for (int x = 15; x <= 105; x += 10)
        for (int y = 15; y <= 55; y += 10)
            QVERIFY2(w.pixel(x, y) == white, qPrintable(QStringLiteral("cell at %1,%2").arg(x).arg(y)));
    // Nothing of the grid outside the frame.
    QCOMPARE(w.pixel(111.5, 35), white);
    QCOMPARE(w.pixel(60, 61.5), white);

    // Markers: top-left corners at (11, 60) and (11, 10) in chart metres.
    QCOMPARE(w.control("Picture2")->pos(), QPoint(px(11), py(60)));
    QCOMPARE(w.control("Picture3")->pos(), QPoint(px(11), py(10)));
    QCOMPARE(w.control("Picture2")->size(), QSize(37, 38));
    QCOMPARE(w.control("Picture3")->size(), QSize(38, 38));
    QCOMPARE(w.control("Picture2")->parentWidget()->size(), FieldChart::interiorSize);
}

void TestMainWindow::newestMarksLieOverTheGrid()
{
    Window w;
    w.click("Command1", 30); // the mouse is at x = 28
    QCOMPARE(w.form.state().ux, 28.0f);
    // The newest red mark covers the field's bottom line, older ones do not.
    QCOMPARE(w.pixelAt(px(27.5), py(60)), red);
    QCOMPARE(w.pixelAt(px(20.5), py(60)), black);
    QCOMPARE(w.pixelAt(px(20.5), py(59.5)), red);
    // The mark that ends on the line x = 20 had it drawn over it.
    QCOMPARE(w.pixelAt(px(20), py(59.5)), black);
}

void TestMainWindow::showingAgainDoesNotRestart()
{
    Window w;
    w.click("Command1", 5);
    const QStringList before = w.readouts();
    const float seconds = w.form.state().s;
    w.form.hide();
    w.form.show();
    QCOMPARE(w.readouts(), before);
    QCOMPARE(w.form.state().s, seconds);
    QCOMPARE(w.pixel(12.5, 59.5), red); // the trail is still there
}

void TestMainWindow::layoutGeometry_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addRow("exit button") << QByteArray("Command2") << QRect(0, 0, 57, 25);
    QTest::addRow("initialise button ends at the right edge") << QByteArray("Command3") << QRect(624, 0, 57, 25);
    QTest::addRow("heading") << QByteArray("Label12") << QRect(192, 0, 305, 25);
    QTest::addRow("field") << QByteArray("Picture1") << QRect(16, 128, 649, 393);
    QTest::addRow("next button") << QByteArray("Command1") << QRect(400, 584, 225, 25);
    QTest::addRow("unit time box") << QByteArray("Text3") << QRect(504, 536, 81, 33);
    QTest::addRow("rule") << QByteArray("Line1") << QRect(0, 24, 681, 1);
}

void TestMainWindow::layoutGeometry()
{
    QFETCH(QByteArray, name);
    QFETCH(QRect, geometry);
    Window w;
    QCOMPARE(w.control(name.constData())->geometry(), geometry);
}

void TestMainWindow::tabOrder()
{
    Window w;
    QStringList order;
    QWidget* start = w.control("Picture1");
    QWidget* next = start;
    do {
        if ((next->focusPolicy() & Qt::TabFocus) && next->isVisibleTo(&w.form))
            order << next->objectName();
        next = next->nextInFocusChain();
    } while (next != start && order.size() < 50);
    QCOMPARE(order, (QStringList{"Picture1", "Text1", "Text2", "Text3", "Picture2", "Command1", "Command2", "Text4",
                                 "Text5", "Picture3", "Picture4", "Picture5", "Text6", "Picture6", "Text7", "Picture7",
                                 "Text8", "Command3", "Command4"}));
}

void TestMainWindow::accessibleNames_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("accessible");
    QTest::addRow("Text1") << QByteArray("Text1") << "ネズミの速度ｕ＝";
    QTest::addRow("Text2") << QByteArray("Text2") << "犬の速度ｖ＝";
    QTest::addRow("Text3") << QByteArray("Text3") << "単位時間h＝";
    QTest::addRow("Text4") << QByteArray("Text4") << "ねずみの位置ｘ＝";
    QTest::addRow("Text5") << QByteArray("Text5") << "ねずみの位置ｙ＝";
    QTest::addRow("Text6") << QByteArray("Text6") << "犬の位置ｘ＝";
    QTest::addRow("Text7") << QByteArray("Text7") << "犬の位置ｙ＝";
    QTest::addRow("Text8") << QByteArray("Text8") << "秒経過";
    QTest::addRow("field") << QByteArray("Picture1") << "フィールド";
    QTest::addRow("dog") << QByteArray("Picture3") << "犬";
    QTest::addRow("mouse") << QByteArray("Picture2") << "ねずみ";
}

void TestMainWindow::accessibleNames()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, accessible);
    Window w;
    QCOMPARE(w.control(name.constData())->accessibleName(), accessible);
}

void TestMainWindow::japaneseFontResolves()
{
    Window w;
    const QStringList japanese{"IPAPGothic", "IPAexGothic", "IPAGothic", "Noto Sans CJK JP"};
    for (const char* name : {"Text1", "Label1", "Label12"}) {
        const QWidget* c = w.control(name);
        QVERIFY2(japanese.contains(QFontInfo(c->font()).family()), qPrintable(QFontInfo(c->font()).family()));
        QVERIFY(c->fontMetrics().inFontUcs4(U'犬'));
    }
    QCOMPARE(w.control("Label12")->font().bold(), true);
    QCOMPARE(w.control("Text1")->font().pixelSize(), 24); // 18 pt at 96 dpi
}

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
