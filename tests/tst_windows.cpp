#include "help_window.h"
#include "main_window.h"
#include "number_text.h"
#include "program.h"
#include "recording_player.h"
#include "surface.h"

#include <QApplication>
#include <QFile>
#include <QFontInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScopeGuard>
#include <QTranslator>
#include <QtTest>

#include <array>
#include <cmath>
#include <cstring>
#include <functional>
#include <numeric>

namespace {

// Chart metres to field pixels, written out apart from the program's own
// mapping: 645 × 389 pixels for 120 × 70 m.
int px(double x) { return int(std::floor(x * 645.0 / 120.0)); }
int py(double y) { return int(std::floor(y * 389.0 / 70.0)); }
constexpr QRgb red = 0xFF0000, blue = 0x0000FF;

// The program with its main window shown, cues recorded and problems noted.
struct Session {
    RecordingPlayer player;
    Program program{player};
    QStringList problems;

    Session()
    {
        program.showMain();
        main()->showProblem = [this](const QString& m) { problems << m; };
    }
    MainWindow* main() const { return program.mainWindow(); }
    QWidget* child(const char* name) const { return program.currentWindow()->findChild<QWidget*>(QLatin1String(name)); }
    QLineEdit* box(const char* name) const { return qobject_cast<QLineEdit*>(child(name)); }
    QString texts(std::initializer_list<const char*> names = {"mouseX", "mouseY", "dogX", "dogY", "seconds"}) const
    {
        QStringList out;
        for (const char* name : names)
            out << box(name)->text();
        return out.join(u' ');
    }
    // Clicks a button of the window shown, then runs the swaps and deletions.
    void click(const char* name, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            QTest::mouseClick(qobject_cast<QPushButton*>(child(name)), Qt::LeftButton);
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    const QImage& image() const { return main()->fieldImage(); }
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

// Runs `body` inside the application's event loop, as the program runs, and
// returns whether the program ended meanwhile.
bool endsWhile(const std::function<void()>& body)
{
    struct EndWatch : QObject {
        bool ended = false;
        bool eventFilter(QObject*, QEvent* event) override
        {
            ended |= event->type() == QEvent::Quit;
            return false;
        }
    } watch;
    qApp->installEventFilter(&watch);
    QObject::connect(qApp, &QGuiApplication::lastWindowClosed, &watch, [&] { watch.ended = true; });
    QTimer::singleShot(0, &watch, [&] {
        body();
        QCoreApplication::processEvents();
        QCoreApplication::exit();
    });
    QApplication::exec();
    return watch.ended;
}

// The screens of two_screens.json by their pixel ratio, 1 and 2; windows
// open on the one of ratio 2.
std::array<QScreen*, 3> screensByRatio()
{
    std::array<QScreen*, 3> at{};
    for (QScreen* screen : QGuiApplication::screens())
        at[qBound(0, qRound(screen->devicePixelRatio()), 2)] = screen;
    return at;
}

} // namespace

class TestWindows : public QObject {
    Q_OBJECT
private slots:
    void clicksShowTheChase_data()
    {
        QTest::addColumn<int>("clicks");
        QTest::addColumn<QString>("readouts");
        QTest::addRow("start") << 0 << "0.000 0.000 0.000 50.000 0.000";
        QTest::addRow("first click") << 1 << "0.600 0.000 0.000 49.000 0.100";
        QTest::addRow("first catch") << 78 << "46.800 0.000 46.873 -0.003 7.800";
    }
    void clicksShowTheChase()
    {
        QFETCH(int, clicks);
        QFETCH(QString, readouts);
        Session w;
        QCOMPARE(w.main()->focusWidget(), w.child("field"));
        QCOMPARE(w.texts({"mouseSpeed", "dogSpeed", "unitTime"}), QStringLiteral("6 10 0.1"));
        w.click("nextButton", clicks);
        QCOMPARE(w.texts(), readouts);
        const sim::PursuitState& s = w.main()->state();
        QCOMPARE(w.child("mousePicture")->pos(), QPoint(px(s.ux + 1), py(s.uy)));
        QCOMPARE(w.child("dogPicture")->pos(), QPoint(px(s.kx + 1), py(s.ky)));
        // The dog's mark is drawn last and may cover part of the mouse's.
        const double mx = s.ux - 0.5;
        const bool covered = mx > s.kx - 1 && mx <= s.kx && 59.5 > s.ky - 1 && 59.5 <= s.ky;
        QCOMPARE(w.pixel(mx, 59.5), covered ? blue : red);
        QCOMPARE(w.pixel(s.kx - 0.5, s.ky - 0.5), blue);
        // Coming back from another program never resets a chase.
        w.main()->hide();
        w.main()->show();
        QCOMPARE(w.texts(), readouts);
    }

    void cuesOfCatchAndReset()
    {
        Session w;
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
        Session fresh;
        Session w;
        w.click("nextButton", 90);
        w.box("mouseSpeed")->setText(QStringLiteral("3"));
        w.box("unitTime")->setText(QStringLiteral("0.5"));
        w.click("startOverButton");
        QCOMPARE(w.box("mouseSpeed")->text(), QStringLiteral("3"));
        QCOMPARE(w.texts(), fresh.texts());
        QVERIFY(w.image() == fresh.image());
        QCOMPARE(w.child("dogPicture")->pos(), fresh.child("dogPicture")->pos());
        w.click("nextButton");
        QCOMPARE(w.texts(), QStringLiteral("1.500 0.000 0.000 45.000 0.500"));
    }

    void faultIsExplainedAndTheProgramGoesOn()
    {
        Session w;
        w.box("mouseSpeed")->setText(QStringLiteral("0"));
        w.click("nextButton", 50);
        const QString before = w.texts();
        const QImage picture = w.image();
        const int cues = w.player.calls.size();
        w.click("nextButton", 2); // the dog sits on the mouse: 0 ÷ 0, twice
        QCOMPARE(w.problems, QStringList(2, QStringLiteral("犬がねずみにぴったり重なったので、これ以上計算できません。\n"
                                                           "［初期化］をクリックして、最初からやり直してください。")));
        QCOMPARE(w.texts(), before);
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
        QCOMPARE(w.texts(), QStringLiteral("0.600 0.000 0.000 49.000 0.100"));
    }

    void tabOrder()
    {
        Session w;
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
        Session w;
        QVERIFY(QTest::qWaitForWindowExposed(w.main()));
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
        // Run also under QT_SCALE_FACTOR 1.5 and 2, as is the next (see CMakeLists.txt).
        Session w;
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
        Session w;
        QVERIFY(QTest::qWaitForWindowExposed(w.main()));
        w.child("fieldSurface")->installEventFilter(&watch);
        w.click("nextButton", 30);
        QCoreApplication::processEvents();
        watch.painted = {};
        w.click("nextButton");
        QTRY_VERIFY(!watch.painted.isEmpty());
        const sim::PursuitState& s = w.main()->state();
        for (const QPointF at : {QPointF(s.ux, s.uy), QPointF(s.kx, s.ky)}) {
            const QRect mark(QPoint(px(at.x() - 1) + 1, py(at.y() - 1) + 1), QPoint(px(at.x()), py(at.y())));
            QVERIFY(watch.painted.contains(mark));
        }
    }

    void fieldFollowsItsScreensRatio_data()
    {
        // Screens by ratio, and the clicks made on each; run under
        // two_screens.json (see CMakeLists.txt), whose first screen, where
        // windows open, has ratio 2.
        QTest::addColumn<QList<int>>("screens");
        QTest::addColumn<QList<int>>("clicks");
        QTest::addRow("from ratio 1 to 2") << QList<int>{2, 1, 2} << QList<int>{0, 60, 0};
        QTest::addRow("clicks on both screens") << QList<int>{2, 1, 2} << QList<int>{20, 20, 20};
        QTest::addRow("to 1 and back, no click") << QList<int>{2, 1, 2} << QList<int>{0, 0, 0};
    }

    void fieldFollowsItsScreensRatio()
    {
        QFETCH(QList<int>, screens);
        QFETCH(QList<int>, clicks);
        const auto at = screensByRatio();
        if (!at[1] || !at[2])
            QSKIP("needs a screen of ratio 1 and one of ratio 2 (two_screens.json)");
        QCOMPARE(QGuiApplication::primaryScreen(), at[2]);

        Session moved;
        QVERIFY(QTest::qWaitForWindowExposed(moved.main()));
        for (qsizetype i = 0; i < screens.size(); ++i) {
            QScreen* screen = at[screens[i]];
            if (i > 0)
                moved.main()->move(screen->geometry().topLeft() + QPoint(20, 20));
            QTRY_COMPARE(moved.main()->screen(), screen);
            QTRY_COMPARE(moved.image().size(), QSize(645, 389) * screens[i]);
            moved.click("nextButton", clicks[i]);
        }
        // The same clicks in a window that never left the screen of ratio 2.
        Session fresh;
        fresh.click("nextButton", int(std::accumulate(clicks.begin(), clicks.end(), 0)));
        QVERIFY(moved.image() == fresh.image());
        moved.child("mousePicture")->hide();
        moved.child("dogPicture")->hide();
        const QImage shown = moved.child("fieldSurface")->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QVERIFY(shown == fresh.image());
        moved.click("nextButton");
        fresh.click("nextButton");
        QVERIFY(moved.image() == fresh.image());
    }

    // The help text is printed afresh at each screen's ratio, and once.
    void helpFollowsItsScreensRatio()
    {
        const auto at = screensByRatio();
        if (!at[1] || !at[2])
            QSKIP("needs a screen of ratio 1 and one of ratio 2 (two_screens.json)");
        HelpWindow help;
        help.show();
        QVERIFY(QTest::qWaitForWindowExposed(&help));
        QCOMPARE(help.screen(), at[2]);
        const QImage dense = help.surface().image();
        help.move(at[1]->geometry().topLeft() + QPoint(20, 20));
        QTRY_COMPARE(help.surface().image().size(), dense.size() / 2);
        QImage blank(help.surface().image());
        blank.fill(Qt::white);
        QVERIFY(help.surface().image() != blank);
        help.move(at[2]->geometry().topLeft() + QPoint(20, 20));
        QTRY_COMPARE(help.surface().image().size(), dense.size());
        QVERIFY(help.surface().image() == dense);
    }

    void closingByTheTitleBarEnds_data()
    {
        QTest::addColumn<bool>("fromHelp");
        QTest::addRow("main window") << false;
        QTest::addRow("help window") << true;
    }
    void closingByTheTitleBarEnds()
    {
        QFETCH(bool, fromHelp);
        Session s;
        bool asked = false;
        s.main()->confirmQuit = [&] { return asked = true; };
        if (fromHelp)
            s.click("helpButton");
        s.player.calls.clear();
        QVERIFY(endsWhile([&] { s.program.currentWindow()->close(); }));
        QVERIFY(!asked && s.player.calls.isEmpty() && !s.main());
    }

    void exitQuestion_data()
    {
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<QLocale>("desktop");
        QTest::addColumn<QStringList>("buttons");
        QTest::addRow("Yes ends the program") << QMessageBox::Yes << QLocale::c() << QStringList{"&Yes", "&No"};
        QTest::addRow("いいえ on a Japanese desktop")
            << QMessageBox::No << QLocale(QLocale::Japanese, QLocale::Japan) << QStringList{"はい(&Y)", "いいえ(&N)"};
    }
    void exitQuestion()
    {
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(QLocale, desktop);
        QFETCH(QStringList, buttons);
        QLocale::setDefault(desktop);
        QTranslator* translator = loadQtTranslations(*qApp);
        const auto restore = qScopeGuard([&] { delete translator; QLocale::setDefault(QLocale::system()); });
        Session s;
        MainWindow* form = s.main();
        s.click("nextButton", 30);
        const sim::PursuitState state = form->state();
        const QString shown = s.texts();
        const QImage field = form->fieldImage();

        QStringList asked;
        const auto answerTheQuestion = [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            asked << box->windowTitle() << box->text() << box->button(QMessageBox::Yes)->text()
                  << box->button(QMessageBox::No)->text() << s.player.calls;
            QCOMPARE(box->defaultButton(), box->button(QMessageBox::Yes));
            QCOMPARE(box->icon(), QMessageBox::NoIcon);
            QTest::mouseClick(box->button(answer), Qt::LeftButton);
        };
        QCOMPARE(endsWhile([&] {
                     QTimer::singleShot(0, answerTheQuestion);
                     s.click("quitButton");
                 }),
                 answer == QMessageBox::Yes);
        // The goodbye cue starts first and plays on while the question waits.
        QCOMPARE(asked, QStringList({"Torvikan", "終了していいですか？"}) + buttons + QStringList{"endpinpon.wav"});
        QCOMPARE(s.player.calls.size(), 1);
        if (answer == QMessageBox::No) {
            QVERIFY(std::memcmp(&state, &form->state(), sizeof state) == 0);
            QCOMPARE(s.texts(), shown);
            QVERIFY(form->fieldImage() == field);
        }
    }

    void helpWindowPrintsItsTextOnce_data()
    {
        QTest::addColumn<int>("line");   // from 1; 23 is past the text
        QTest::addColumn<int>("indent"); // ideographic spaces; -1 for no ink
        QTest::addRow("2 problem heading") << 2 << 1;
        QTest::addRow("12 the distance, one place left") << 12 << 7;
        QTest::addRow("17 empty") << 17 << -1;
        QTest::addRow("21 last line") << 21 << 9;
        QTest::addRow("nothing after it") << 23 << -1;
    }
    void helpWindowPrintsItsTextOnce()
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

    // Every line whole within the box, in the face the layout was drawn
    // for, narrowed no further than the widest line needs.
    void helpLinesFitTheBox()
    {
        HelpWindow help;
        help.show();
        const auto* box = help.findChild<QFrame*>(QStringLiteral("helpBox"));
        const int room = box->contentsRect().width();
        const QFont font = box->font();
        QCOMPARE(font.pixelSize(), 15);
        const QFontMetricsF metrics(font);
        QString widest;
        for (const QString& line : box->accessibleDescription().split(u'\n')) {
            QVERIFY2(metrics.horizontalAdvance(line) <= room, qPrintable(line));
            if (metrics.horizontalAdvance(line) > metrics.horizontalAdvance(widest))
                widest = line;
        }
        if (font.stretch() > 0 && font.stretch() < 100) {
            QFont wider = font;
            wider.setStretch(font.stretch() + 1);
            QVERIFY2(QFontMetricsF(wider).horizontalAdvance(widest) > room, qPrintable(QString::number(font.stretch())));
        }
    }
};

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
