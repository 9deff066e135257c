#include "field_chart.h"
#include "main_window.h"
#include "number_text.h"
#include "recording_player.h"

#include <QFontInfo>
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
const QStringList startReadouts{"0.000", "0.000", "0.000", "50.000", "0.000"};

struct Window {
    RecordingPlayer player;
    Form1 form{player};
    QStringList problems;

    Window()
    {
        form.showProblem = [this](const QString& m) { problems << m; };
        form.show();
    }
    QWidget* control(const QString& name) const { return form.findChild<QWidget*>(name); }
    QLineEdit* box(int n) const { return form.findChild<QLineEdit*>(QStringLiteral("Text%1").arg(n)); }
    QStringList readouts() const { return {box(4)->text(), box(5)->text(), box(6)->text(), box(7)->text(), box(8)->text()}; }
    void click(const char* button, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            QTest::mouseClick(form.findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
    }
    const QImage& image() const { return form.chart().surface().image(); }
    QRgb at(int x, int y) const { return image().pixel(x, y) & 0xFFFFFF; }
    QRgb pixel(double x, double y) const { return at(px(x), py(y)); }
};

// What the core says the read-outs are after `clicks` clicks.
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
    void cuesOfCatchAndReset();
    void changedInputTakesEffectAtNextClick();
    void resetKeepsTypedTextsAndRedrawsStart();
    void faultIsExplainedAndTheProgramGoesOn();
    void enterAndEscapePressNoButton_data();
    void enterAndEscapePressNoButton();
    void startPicturePixels();
    void newestMarksLieOverTheGrid();
    void showingAgainDoesNotRestart();
    void japaneseFontResolves();
};

void TestMainWindow::startsAtTheStartPosition()
{
    Window w;
    QCOMPARE(w.readouts(), startReadouts);
    QCOMPARE(QStringList({w.box(1)->text(), w.box(2)->text(), w.box(3)->text()}), QStringList({"6", "10", "0.1"}));
    QCOMPARE(w.form.size(), QSize(681, 624));
    QCOMPARE(w.form.focusWidget(), w.control("Picture1"));
    QVERIFY(w.player.calls.isEmpty());
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
    const sim::PursuitState& s = w.form.state();
    QCOMPARE(w.control("Picture2")->pos(), QPoint(px(s.ux + 1), py(s.uy)));
    QCOMPARE(w.control("Picture3")->pos(), QPoint(px(s.kx + 1), py(s.ky)));
    // The dog's mark is drawn last and may cover part of the mouse's.
    const double mx = s.ux - 0.5;
    const bool covered = mx > s.kx - 1 && mx <= s.kx && 59.5 > s.ky - 1 && 59.5 <= s.ky;
    QCOMPARE(w.pixel(mx, 59.5), covered ? blue : red);
    QCOMPARE(w.pixel(s.kx - 0.5, s.ky - 0.5), blue);
}

void TestMainWindow::cuesOfCatchAndReset()
{
    Window w;
    w.click("Command1", 170);
    QCOMPARE(w.player.calls, QStringList(18, QStringLiteral("logoff.wav"))); // clicks 78, 83, ..., 163

    w.player.calls.clear();
    QList<bool> trailAtChime; // the chime comes before the clear
    w.player.onPlay = [&](const QString&) { trailAtChime << (w.pixel(13.5, 59.5) == red); };
    w.click("Command3", 2);
    QCOMPARE(w.player.calls, QStringList(2, QStringLiteral("pinpon.wav (stop first)")));
    QCOMPARE(trailAtChime, QList<bool>({true, false}));
}

void TestMainWindow::changedInputTakesEffectAtNextClick()
{
    Window w;
    w.click("Command1");
    w.box(2)->setText(QStringLiteral("20"));
    QCOMPARE(w.readouts(), coreReadouts(1));
    w.click("Command1");
    sim::PursuitState s;
    sim::resetToStart(s);
    sim::step(s, "6", "10", "0.1");
    QCOMPARE(w.box(7)->text(), QString::fromStdString(number_text::formatReadout(sim::step(s, "6", "20", "0.1").frame.readouts.dogY)));
}

void TestMainWindow::resetKeepsTypedTextsAndRedrawsStart()
{
    Window fresh;
    Window w;
    w.click("Command1", 90);
    w.box(1)->setText(QStringLiteral("3"));
    w.box(3)->setText(QStringLiteral("0.5"));
    w.click("Command3");
    QCOMPARE(w.box(1)->text(), QStringLiteral("3"));
    QCOMPARE(w.box(3)->text(), QStringLiteral("0.5"));
    QCOMPARE(w.readouts(), startReadouts);
    QVERIFY(w.image() == fresh.image());
    QCOMPARE(w.control("Picture2")->pos(), fresh.control("Picture2")->pos());
    QCOMPARE(w.control("Picture3")->pos(), fresh.control("Picture3")->pos());
    w.click("Command1");
    QCOMPARE(w.readouts(), coreReadouts(1, "3", "10", "0.5"));
}

void TestMainWindow::faultIsExplainedAndTheProgramGoesOn()
{
    Window w;
    w.box(1)->setText(QStringLiteral("0"));
    w.click("Command1", 50);
    const QStringList before = w.readouts();
    const QImage picture = w.image();
    const int cues = w.player.calls.size();

    w.click("Command1", 2); // the dog sits on the mouse: 0 ÷ 0, twice
    QCOMPARE(w.problems, QStringList(2, Form1::problemMessage(sim::Fault::invalid)));
    QVERIFY(w.problems.first().contains(QStringLiteral("初期化")));
    QCOMPARE(w.readouts(), before);
    QVERIFY(w.image() == picture);
    QCOMPARE(w.player.calls.size(), cues);

    w.box(2)->setText(QStringLiteral("1e39"));
    w.click("Command1");
    QCOMPARE(w.problems.last(), Form1::problemMessage(sim::Fault::overflow));
    QVERIFY(w.problems.last() != w.problems.first());

    w.box(1)->setText(QStringLiteral("6"));
    w.box(2)->setText(QStringLiteral("10"));
    w.click("Command3");
    w.click("Command1");
    QCOMPARE(w.readouts(), coreReadouts(1));
}

void TestMainWindow::enterAndEscapePressNoButton_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addRow("Enter on the field") << "Picture1" << int(Qt::Key_Return);
    QTest::addRow("Enter in an input") << "Text1" << int(Qt::Key_Return);
    QTest::addRow("keypad Enter in an input") << "Text3" << int(Qt::Key_Enter);
    QTest::addRow("Escape on the field") << "Picture1" << int(Qt::Key_Escape);
}

void TestMainWindow::enterAndEscapePressNoButton()
{
    QFETCH(QString, focus);
    QFETCH(int, key);
    Window w;
    bool asked = false;
    w.form.confirmQuit = [&] { return asked = true; };
    QSignalSpy help(&w.form, &Form1::helpRequested);
    w.control(focus)->setFocus();
    QTest::keyClick(w.control(focus), Qt::Key(key));
    QCOMPARE(w.readouts(), startReadouts);
    QVERIFY(w.player.calls.isEmpty() && !asked && help.isEmpty());
}

void TestMainWindow::startPicturePixels()
{
    Window w;
    // The start marks: red at the mouse (x 9..10, y 59..60), blue at the
    // dog (x 9..10, y 9..10). The grid, drawn after them, runs over the
    // edges they share with it.
    QCOMPARE(w.pixel(9.5, 59.5), red);
    QCOMPARE(w.pixel(9.5, 9.5), blue);
    QCOMPARE(w.at(px(10), py(59.5)), black);
    QCOMPARE(w.at(px(10), py(60)), black);
    QCOMPARE(w.at(px(10), py(10)), black);
    QCOMPARE(w.at(px(10) - 1, py(59.5)), red);
    QCOMPARE(w.pixel(8.5, 59.5), white);

    for (int x = 10; x <= 110; x += 10)
        QVERIFY2(w.at(px(x), py(12.5)) == black && w.at(px(x), py(57.5)) == black, qPrintable(QString::number(x)));
    for (int y = 10; y <= 60; y += 10)
        QVERIFY2(w.at(px(12.5), py(y)) == black && w.at(px(107.5), py(y)) == black, qPrintable(QString::number(y)));
    for (int x = 15; x <= 105; x += 10)
        for (int y = 15; y <= 55; y += 10)
            QVERIFY2(w.pixel(x, y) == white, qPrintable(QStringLiteral("cell %1,%2").arg(x).arg(y)));
    QCOMPARE(w.pixel(111.5, 35), white); // nothing of the grid outside the frame

    // The pictures' top-left corners at (11, 60) and (11, 10).
    QCOMPARE(w.control("Picture2")->pos(), QPoint(px(11), py(60)));
    QCOMPARE(w.control("Picture3")->pos(), QPoint(px(11), py(10)));
}

void TestMainWindow::newestMarksLieOverTheGrid()
{
    Window w;
    w.click("Command1", 30); // the mouse is at x = 28
    QCOMPARE(w.form.state().ux, 28.0f);
    QCOMPARE(w.at(px(27.5), py(60)), red);   // the newest mark covers the bottom line
    QCOMPARE(w.at(px(20.5), py(60)), black); // older ones lie under it
    QCOMPARE(w.at(px(20), py(59.5)), black);
    QCOMPARE(w.at(px(20.5), py(59.5)), red);
}

void TestMainWindow::showingAgainDoesNotRestart()
{
    Window w;
    w.click("Command1", 5);
    const QStringList before = w.readouts();
    w.form.hide();
    w.form.show();
    QCOMPARE(w.readouts(), before);
    QCOMPARE(w.pixel(12.5, 59.5), red);
}

void TestMainWindow::japaneseFontResolves()
{
    Window w;
    const QStringList japanese{"IPAPGothic", "IPAexGothic", "IPAGothic", "Noto Sans CJK JP"};
    for (const char* name : {"Text1", "Label1", "Label12"}) {
        const QWidget* c = w.control(QLatin1String(name));
        QVERIFY2(japanese.contains(QFontInfo(c->font()).family()), qPrintable(QFontInfo(c->font()).family()));
        QVERIFY(c->fontMetrics().inFontUcs4(U'犬'));
    }
}

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
