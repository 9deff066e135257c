#include "main_window.h"
#include "number_text.h"
#include "recording_player.h"

#include <QFontInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <cmath>

namespace {

// Chart metres to field pixels, written out apart from the program's own
// mapping: 645 × 389 pixels for 120 × 70 m.
int px(double x) { return int(std::floor(x * 645.0 / 120.0)); }
int py(double y) { return int(std::floor(y * 389.0 / 70.0)); }

const QStringList startReadouts{"0.000", "0.000", "0.000", "50.000", "0.000"};

struct Window {
    RecordingPlayer player;
    MainWindow form{player};
    QStringList problems;

    Window()
    {
        form.showProblem = [this](const QString& m) { problems << m; };
        form.show();
    }
    template <typename T = QWidget>
    T* child(const char* name) const { return form.findChild<T*>(QLatin1String(name)); }
    QLineEdit* box(const char* name) const { return child<QLineEdit>(name); }
    QStringList readouts() const
    {
        QStringList out;
        for (const char* name : {"mouseX", "mouseY", "dogX", "dogY", "seconds"})
            out << box(name)->text();
        return out;
    }
    void click(const char* button, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton);
    }
    const QImage& image() const { return form.chart().surface().image(); }
    QRgb pixel(double x, double y) const { return image().pixel(px(x), py(y)) & 0xFFFFFF; }
};

// The read-outs the core gives after `clicks` clicks with the given texts.
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

// Whether `text` shows whole in `box`: the cursor then crosses its whole
// width without the box scrolling.
bool showsWhole(QLineEdit* box, const QString& text)
{
    box->setText(text);
    // The box works out how far it scrolls when it paints.
    const auto cursorX = [box] {
        box->repaint();
        return box->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
    };
    box->home(false);
    const int start = cursorX();
    box->end(false);
    return cursorX() - start >= box->fontMetrics().horizontalAdvance(text) - 1;
}

// Records the rectangles the field's view repaints.
struct PaintWatch : QObject {
    QRegion painted;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent*>(e)->region();
        return false;
    }
};

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
    void tabOrder();
    void textFitsItsBoxes();
    void fieldOnScreenIsTheRetainedImage();
    void aClickRepaintsItsNewMarks();
};

void TestMainWindow::startsAtTheStartPosition()
{
    Window w;
    QCOMPARE(w.readouts(), startReadouts);
    QCOMPARE(QStringList({w.box("mouseSpeed")->text(), w.box("dogSpeed")->text(), w.box("unitTime")->text()}),
             QStringList({"6", "10", "0.1"}));
    QCOMPARE(w.form.size(), QSize(681, 624));
    QCOMPARE(w.form.windowTitle(), QStringLiteral(" Torvikan"));
    QCOMPARE(w.form.focusWidget(), w.child("field"));
    // The pictures' top-left corners at (11, 60) and (11, 10).
    QCOMPARE(w.child("mousePicture")->pos(), QPoint(px(11), py(60)));
    QCOMPARE(w.child("dogPicture")->pos(), QPoint(px(11), py(10)));
    QCOMPARE(w.pixel(9.5, 59.5), 0xFF0000u);
    QVERIFY(w.player.calls.isEmpty());
    // Coming back from another program never resets a chase.
    w.click("nextButton", 5);
    w.form.hide();
    w.form.show();
    QCOMPARE(w.readouts(), coreReadouts(5));
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
    w.click("nextButton", clicks);
    QCOMPARE(w.readouts(), coreReadouts(clicks));
    const sim::PursuitState& s = w.form.state();
    QCOMPARE(w.child("mousePicture")->pos(), QPoint(px(s.ux + 1), py(s.uy)));
    QCOMPARE(w.child("dogPicture")->pos(), QPoint(px(s.kx + 1), py(s.ky)));
    // The dog's mark is drawn last and may cover part of the mouse's.
    const double mx = s.ux - 0.5;
    const bool covered = mx > s.kx - 1 && mx <= s.kx && 59.5 > s.ky - 1 && 59.5 <= s.ky;
    QCOMPARE(w.pixel(mx, 59.5), covered ? 0x0000FFu : 0xFF0000u);
    QCOMPARE(w.pixel(s.kx - 0.5, s.ky - 0.5), 0x0000FFu);
}

void TestMainWindow::cuesOfCatchAndReset()
{
    Window w;
    w.click("nextButton", 170);
    QCOMPARE(w.player.calls, QStringList(18, QStringLiteral("logoff.wav"))); // clicks 78, 83, ..., 163

    w.player.calls.clear();
    QList<bool> trailAtChime; // the chime comes before the clear
    w.player.onPlay = [&](const QString&) { trailAtChime << (w.pixel(13.5, 59.5) == 0xFF0000u); };
    w.click("startOverButton", 2);
    QCOMPARE(w.player.calls, QStringList(2, QStringLiteral("pinpon.wav")));
    QCOMPARE(trailAtChime, QList<bool>({true, false}));
}

void TestMainWindow::changedInputTakesEffectAtNextClick()
{
    Window w;
    w.click("nextButton");
    w.box("dogSpeed")->setText(QStringLiteral("20"));
    QCOMPARE(w.readouts(), coreReadouts(1));
    w.click("nextButton");
    sim::PursuitState s;
    sim::resetToStart(s);
    sim::step(s, "6", "10", "0.1");
    const float dogY = sim::step(s, "6", "20", "0.1").frame.readouts.dogY;
    QCOMPARE(w.box("dogY")->text(), QString::fromStdString(number_text::formatReadout(dogY)));
}

void TestMainWindow::resetKeepsTypedTextsAndRedrawsStart()
{
    Window fresh;
    Window w;
    w.click("nextButton", 90);
    w.box("mouseSpeed")->setText(QStringLiteral("3"));
    w.box("unitTime")->setText(QStringLiteral("0.5"));
    w.click("startOverButton");
    QCOMPARE(w.box("mouseSpeed")->text(), QStringLiteral("3"));
    QCOMPARE(w.box("unitTime")->text(), QStringLiteral("0.5"));
    QCOMPARE(w.readouts(), startReadouts);
    QVERIFY(w.image() == fresh.image());
    QCOMPARE(w.child("mousePicture")->pos(), fresh.child("mousePicture")->pos());
    QCOMPARE(w.child("dogPicture")->pos(), fresh.child("dogPicture")->pos());
    w.click("nextButton");
    QCOMPARE(w.readouts(), coreReadouts(1, "3", "10", "0.5"));
}

void TestMainWindow::faultIsExplainedAndTheProgramGoesOn()
{
    Window w;
    w.box("mouseSpeed")->setText(QStringLiteral("0"));
    w.click("nextButton", 50);
    const QStringList before = w.readouts();
    const QImage picture = w.image();
    const int cues = w.player.calls.size();

    w.click("nextButton", 2); // the dog sits on the mouse: 0 ÷ 0, twice
    const QString onTheMouse = QStringLiteral("犬がねずみにぴったり重なったので、これ以上計算できません。\n"
                                              "［初期化］をクリックして、最初からやり直してください。");
    QCOMPARE(w.problems, QStringList(2, onTheMouse));
    QCOMPARE(w.readouts(), before);
    QVERIFY(w.image() == picture);
    QCOMPARE(w.player.calls.size(), cues);

    w.box("dogSpeed")->setText(QStringLiteral("1e39"));
    w.click("nextButton");
    QCOMPARE(w.problems.last(), QStringLiteral("数が大きすぎて計算できません。\n"
                                               "ネズミの速度ｕ・犬の速度ｖ・単位時間hの数字を確かめてください。"));

    w.box("mouseSpeed")->setText(QStringLiteral("6"));
    w.box("dogSpeed")->setText(QStringLiteral("10"));
    w.click("startOverButton");
    w.click("nextButton");
    QCOMPARE(w.readouts(), coreReadouts(1));
}

void TestMainWindow::enterAndEscapePressNoButton_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addRow("Enter on the field") << "field" << int(Qt::Key_Return);
    QTest::addRow("Enter in an input") << "mouseSpeed" << int(Qt::Key_Return);
    QTest::addRow("keypad Enter in an input") << "unitTime" << int(Qt::Key_Enter);
    QTest::addRow("Escape on the field") << "field" << int(Qt::Key_Escape);
}

void TestMainWindow::enterAndEscapePressNoButton()
{
    QFETCH(QString, focus);
    QFETCH(int, key);
    Window w;
    bool asked = false;
    w.form.confirmQuit = [&] { return asked = true; };
    QSignalSpy help(&w.form, &MainWindow::helpRequested);
    QWidget* target = w.child(qPrintable(focus));
    target->setFocus();
    QTest::keyClick(target, Qt::Key(key));
    QCOMPARE(w.readouts(), startReadouts);
    QVERIFY(w.player.calls.isEmpty() && !asked && help.isEmpty());
}

void TestMainWindow::tabOrder()
{
    Window w;
    QStringList order;
    QWidget* at = w.child("field");
    do {
        order << at->objectName();
        at = at->nextInFocusChain();
        while (!(at->focusPolicy() & Qt::TabFocus))
            at = at->nextInFocusChain();
    } while (at != w.child("field"));
    QCOMPARE(order, QStringList({"field", "mouseSpeed", "dogSpeed", "unitTime", "mousePicture", "nextButton",
                                 "quitButton", "mouseX", "mouseY", "dogPicture", "dogXLegend", "mouseYLegend",
                                 "dogX", "mouseXLegend", "dogY", "dogYLegend", "seconds", "startOverButton",
                                 "helpButton"}));
}

void TestMainWindow::textFitsItsBoxes()
{
    Window w;
    const QStringList japanese{"IPAPGothic", "IPAexGothic", "IPAGothic", "Noto Sans CJK JP"};
    for (const char* name : {"mouseSpeed", "mouseXCaption", "heading", "seconds"}) {
        const QWidget* c = w.child(name);
        QVERIFY2(japanese.contains(QFontInfo(c->font()).family()), qPrintable(QFontInfo(c->font()).family()));
        QVERIFY(c->fontMetrics().inFontUcs4(U'犬'));
    }
    // Inputs keep the face's own width; the read-outs are narrowed until
    // the widest value fits, and no further.
    QCOMPARE(w.box("unitTime")->font().stretch(), int(QFont::AnyStretch));
    QVERIFY(QTest::qWaitForWindowExposed(&w.form));
    QLineEdit* readout = w.box("dogX");
    const int stretch = readout->font().stretch();
    QVERIFY2(stretch > 60 && stretch < 100, qPrintable(QString::number(stretch)));
    QVERIFY(showsWhole(readout, QStringLiteral("-100.200")));
    QFont wider = readout->font();
    wider.setStretch(stretch + 2);
    readout->setFont(wider);
    QVERIFY(!showsWhole(readout, QStringLiteral("-100.200")));
}

void TestMainWindow::fieldOnScreenIsTheRetainedImage()
{
    // Run also under QT_SCALE_FACTOR 1.5 and 2 (see CMakeLists.txt).
    Window w;
    w.click("nextButton", 40);
    QWidget* view = w.child("fieldSurface");
    w.child("mousePicture")->hide();
    w.child("dogPicture")->hide();
    const QImage shown = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.size(), w.image().size());
    QVERIFY(shown == w.image());
}

void TestMainWindow::aClickRepaintsItsNewMarks()
{
    Window w;
    QVERIFY(QTest::qWaitForWindowExposed(&w.form));
    PaintWatch watch;
    w.child("fieldSurface")->installEventFilter(&watch);
    w.click("nextButton", 30);
    QCoreApplication::processEvents();
    watch.painted = {};
    w.click("nextButton");
    QTRY_VERIFY(!watch.painted.isEmpty());
    const sim::PursuitState& s = w.form.state();
    for (const QPointF corner : {QPointF(s.ux, s.uy), QPointF(s.kx, s.ky)}) {
        const QRect mark(QPoint(px(corner.x() - 1) + 1, py(corner.y() - 1) + 1), QPoint(px(corner.x()), py(corner.y())));
        QVERIFY2(watch.painted.contains(mark), qPrintable(QStringLiteral("%1,%2").arg(corner.x()).arg(corner.y())));
    }
}

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
