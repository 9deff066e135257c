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
constexpr QRgb red = 0xFF0000, blue = 0x0000FF;

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
    QString readouts() const
    {
        QStringList out;
        for (const char* name : {"mouseX", "mouseY", "dogX", "dogY", "seconds"})
            out << box(name)->text();
        return out.join(u' ');
    }
    void click(const char* button, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton);
    }
    const QImage& image() const { return form.chart().surface().image(); }
    QRgb pixel(double x, double y) const { return image().pixel(px(x), py(y)) & 0xFFFFFF; }
};

// Whether `text` shows whole in `box`: the cursor then crosses its whole
// width without the box scrolling, which the box works out as it paints.
bool showsWhole(QLineEdit* box, const QString& text)
{
    box->setText(text);
    const auto cursorX = [box] {
        box->repaint();
        return box->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
    };
    box->home(false);
    const int start = cursorX();
    box->end(false);
    return cursorX() - start >= box->fontMetrics().horizontalAdvance(text) - 1;
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void clicksShowTheChase_data()
    {
        QTest::addColumn<QString>("inputs"); // typed before the clicks
        QTest::addColumn<int>("clicks");
        QTest::addColumn<QString>("readouts");
        QTest::addRow("start") << "6 10 0.1" << 0 << "0.000 0.000 0.000 50.000 0.000";
        QTest::addRow("first click") << "6 10 0.1" << 1 << "0.600 0.000 0.000 49.000 0.100";
        QTest::addRow("first catch") << "6 10 0.1" << 78 << "46.800 0.000 46.873 -0.003 7.800";
        QTest::addRow("other inputs") << "6 20 0.1" << 34 << "20.400 0.000 20.092 1.092 3.400";
    }
    void clicksShowTheChase()
    {
        QFETCH(QString, inputs);
        QFETCH(int, clicks);
        QFETCH(QString, readouts);
        Window w;
        QCOMPARE(w.form.focusWidget(), w.child("field"));
        const QStringList in = inputs.split(u' ');
        w.box("mouseSpeed")->setText(in[0]);
        w.box("dogSpeed")->setText(in[1]);
        w.box("unitTime")->setText(in[2]);
        w.click("nextButton", clicks);
        QCOMPARE(w.readouts(), readouts);
        const sim::PursuitState& s = w.form.state();
        QCOMPARE(w.child("mousePicture")->pos(), QPoint(px(s.ux + 1), py(s.uy)));
        QCOMPARE(w.child("dogPicture")->pos(), QPoint(px(s.kx + 1), py(s.ky)));
        // The dog's mark is drawn last and may cover part of the mouse's.
        const double mx = s.ux - 0.5;
        const bool covered = mx > s.kx - 1 && mx <= s.kx && 59.5 > s.ky - 1 && 59.5 <= s.ky;
        QCOMPARE(w.pixel(mx, 59.5), covered ? blue : red);
        QCOMPARE(w.pixel(s.kx - 0.5, s.ky - 0.5), blue);
        // Coming back from another program never resets a chase.
        w.form.hide();
        w.form.show();
        QCOMPARE(w.readouts(), readouts);
    }

    void cuesOfCatchAndReset()
    {
        Window w;
        w.click("nextButton", 170);
        QCOMPARE(w.player.calls, QStringList(18, QStringLiteral("logoff.wav"))); // clicks 78, 83, ..., 163
        w.player.calls.clear();
        QList<bool> trailAtChime; // the chime comes before the clear
        w.player.onPlay = [&](const QString&) { trailAtChime << (w.pixel(13.5, 59.5) == red); };
        w.click("startOverButton", 2);
        QCOMPARE(w.player.calls, QStringList(2, QStringLiteral("pinpon.wav")));
        QCOMPARE(trailAtChime, QList<bool>({true, false}));
    }

    void typedInputsTakeEffectAtTheNextClick()
    {
        Window fresh;
        Window w;
        w.click("nextButton", 90);
        w.box("mouseSpeed")->setText(QStringLiteral("3"));
        w.box("unitTime")->setText(QStringLiteral("0.5"));
        w.click("startOverButton");
        QCOMPARE(w.box("mouseSpeed")->text(), QStringLiteral("3"));
        QCOMPARE(w.readouts(), fresh.readouts());
        QVERIFY(w.image() == fresh.image());
        QCOMPARE(w.child("dogPicture")->pos(), fresh.child("dogPicture")->pos());
        w.click("nextButton");
        QCOMPARE(w.readouts(), QStringLiteral("1.500 0.000 0.000 45.000 0.500"));
    }

    void faultIsExplainedAndTheProgramGoesOn()
    {
        Window w;
        w.box("mouseSpeed")->setText(QStringLiteral("0"));
        w.click("nextButton", 50);
        const QString before = w.readouts();
        const QImage picture = w.image();
        const int cues = w.player.calls.size();
        w.click("nextButton", 2); // the dog sits on the mouse: 0 ÷ 0, twice
        QCOMPARE(w.problems, QStringList(2, QStringLiteral("犬がねずみにぴったり重なったので、これ以上計算できません。\n"
                                                           "［初期化］をクリックして、最初からやり直してください。")));
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
        QCOMPARE(w.readouts(), QStringLiteral("0.600 0.000 0.000 49.000 0.100"));
    }

    void enterAndEscapePressNoButton()
    {
        Window w;
        bool asked = false;
        w.form.confirmQuit = [&] { return asked = true; };
        QSignalSpy help(&w.form, &MainWindow::helpRequested);
        const QString start = w.readouts();
        for (const auto& [focus, key] : {std::pair{"field", Qt::Key_Return}, {"mouseSpeed", Qt::Key_Return},
                                         {"unitTime", Qt::Key_Enter}, {"field", Qt::Key_Escape}}) {
            w.child(focus)->setFocus();
            QTest::keyClick(w.child(focus), key);
        }
        QCOMPARE(w.readouts(), start);
        QVERIFY(w.player.calls.isEmpty() && !asked && help.isEmpty());
    }

    void tabOrder()
    {
        Window w;
        QStringList order;
        QWidget* at = w.child("field");
        do {
            order << at->objectName();
            do
                at = at->nextInFocusChain();
            while (!(at->focusPolicy() & Qt::TabFocus));
        } while (at != w.child("field"));
        QCOMPARE(order, QStringList({"field", "mouseSpeed", "dogSpeed", "unitTime", "mousePicture", "nextButton",
                                     "quitButton", "mouseX", "mouseY", "dogPicture", "dogXLegend", "mouseYLegend",
                                     "dogX", "mouseXLegend", "dogY", "dogYLegend", "seconds", "startOverButton",
                                     "helpButton"}));
    }

    void textFitsItsBoxes()
    {
        Window w;
        QVERIFY(QTest::qWaitForWindowExposed(&w.form));
        const QStringList japanese{"IPAPGothic", "IPAexGothic", "IPAGothic", "Noto Sans CJK JP"};
        for (const char* name : {"mouseSpeed", "mouseXCaption", "heading", "seconds"})
            QVERIFY2(japanese.contains(QFontInfo(w.child(name)->font()).family()), name);
        // Inputs keep the face's own width; the read-outs are narrowed until
        // the widest value fits, and no further.
        QCOMPARE(w.box("unitTime")->font().stretch(), int(QFont::AnyStretch));
        QLineEdit* readout = w.box("dogX");
        const int stretch = readout->font().stretch();
        QVERIFY(showsWhole(readout, QStringLiteral("-100.200")));
        QFont wider = readout->font();
        wider.setStretch(stretch + 2);
        readout->setFont(wider);
        QVERIFY(!showsWhole(readout, QStringLiteral("-100.200")));
    }

    void fieldOnScreenIsTheRetainedImage()
    {
        // Run also under QT_SCALE_FACTOR 1.5 and 2 (see CMakeLists.txt).
        Window w;
        w.click("nextButton", 40);
        w.child("mousePicture")->hide();
        w.child("dogPicture")->hide();
        const QImage shown = w.child("fieldSurface")->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.size(), w.image().size());
        QVERIFY(shown == w.image());
    }

    void aClickRepaintsItsNewMarks()
    {
        struct PaintWatch : QObject {
            QRegion painted;
            bool eventFilter(QObject*, QEvent* e) override
            {
                if (e->type() == QEvent::Paint)
                    painted += static_cast<QPaintEvent*>(e)->region();
                return false;
            }
        } watch;
        Window w;
        QVERIFY(QTest::qWaitForWindowExposed(&w.form));
        w.child("fieldSurface")->installEventFilter(&watch);
        w.click("nextButton", 30);
        QCoreApplication::processEvents();
        watch.painted = {};
        w.click("nextButton");
        QTRY_VERIFY(!watch.painted.isEmpty());
        const sim::PursuitState& s = w.form.state();
        for (const QPointF at : {QPointF(s.ux, s.uy), QPointF(s.kx, s.ky)}) {
            const QRect mark(QPoint(px(at.x() - 1) + 1, py(at.y() - 1) + 1), QPoint(px(at.x()), py(at.y())));
            QVERIFY(watch.painted.contains(mark));
        }
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
