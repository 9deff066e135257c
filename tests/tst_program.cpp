#include "help_window.h"
#include "main_window.h"
#include "program.h"
#include "recording_player.h"
#include "surface.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QTranslator>
#include <QtTest>

#include <cstring>
#include <functional>

namespace {

QStringList texts(QWidget* window)
{
    QStringList out;
    for (const char* name : {"mouseSpeed", "dogSpeed", "unitTime", "mouseX", "mouseY", "dogX", "dogY", "seconds"})
        out << window->findChild<QLineEdit*>(QLatin1String(name))->text();
    return out;
}

struct Session {
    RecordingPlayer player;
    Program program{player};

    Session() { program.showMain(); }
    MainWindow* main() const { return program.mainWindow(); }
    // Clicks a button of the window shown, then runs the swaps and deletions.
    void click(const char* name, int times = 1)
    {
        auto* button = program.currentWindow()->findChild<QPushButton*>(QLatin1String(name));
        for (int i = 0; i < times; ++i)
            QTest::mouseClick(button, Qt::LeftButton);
        settle();
    }
    static void settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

// Runs `body` inside the application's event loop, as the program runs.
// Returns 0 if the program ended, 1 if it still ran after `body`, 2 if stuck.
int runEventLoop(const std::function<void()>& body)
{
    struct EndWatch : QObject {
        bool ended = false;
        bool eventFilter(QObject*, QEvent* event) override { ended |= event->type() == QEvent::Quit; return false; }
    } watch;
    qApp->installEventFilter(&watch);
    QObject::connect(qApp, &QGuiApplication::lastWindowClosed, &watch, [&] { watch.ended = true; });
    QTimer::singleShot(0, [&] {
        body();
        Session::settle();
        QCoreApplication::exit(watch.ended ? 0 : 1);
    });
    QTimer::singleShot(20000, &watch, [] { QCoreApplication::exit(2); });
    return QApplication::exec();
}

} // namespace

class TestProgram : public QObject {
    Q_OBJECT
private slots:
    void helpRoundTrips();
    void closingByTheTitleBarEnds_data();
    void closingByTheTitleBarEnds();
    void exitQuestion_data();
    void exitQuestion();
};

void TestProgram::helpRoundTrips()
{
    Session s;
    const QPoint place(123, 77);
    s.main()->move(place);
    // In the event loop, where a moment without a window would end the program.
    const int result = runEventLoop([&] {
        for (int trip = 1; trip <= 3; ++trip) {
            // A chase under way with other inputs, none of which may come back.
            s.main()->findChild<QLineEdit*>(QStringLiteral("mouseSpeed"))->setText(QStringLiteral("3"));
            s.click("nextButton", 3);

            s.click("helpButton");
            auto* help = qobject_cast<HelpWindow*>(s.program.currentWindow());
            QVERIFY(help && help->isVisible());
            QCOMPARE(QApplication::topLevelWidgets().size(), 1);
            QCOMPARE(help->pos(), place);

            s.click("closeButton");
            QVERIFY(s.main() && s.main()->isVisible());
            QCOMPARE(QApplication::topLevelWidgets().size(), 1);
            QCOMPARE(s.main()->pos(), place);
            QCOMPARE(texts(s.main()), (QStringList{"6", "10", "0.1", "0.000", "0.000", "0.000", "50.000", "0.000"}));
        }
    });
    QCOMPARE(result, 1);
    // One chime per HELP; 閉じる is silent.
    QCOMPARE(s.player.calls, QStringList(3, QStringLiteral("pinpon.wav")));
}

void TestProgram::closingByTheTitleBarEnds_data()
{
    QTest::addColumn<bool>("fromHelp");
    QTest::addRow("main window") << false;
    QTest::addRow("help window") << true;
}

void TestProgram::closingByTheTitleBarEnds()
{
    QFETCH(bool, fromHelp);
    Session s;
    bool asked = false;
    s.main()->confirmQuit = [&] { return asked = true; };
    if (fromHelp)
        s.click("helpButton");
    s.player.calls.clear();
    const int result = runEventLoop([&] { s.program.currentWindow()->close(); });
    QCOMPARE(result, 0);
    QVERIFY(!asked);
    QVERIFY(s.player.calls.isEmpty());
    QVERIFY(!s.main());
}

void TestProgram::exitQuestion_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<QLocale>("desktop");
    QTest::addColumn<QStringList>("buttons");
    QTest::addRow("Yes ends the program") << QMessageBox::Yes << QLocale::c() << QStringList{"&Yes", "&No"};
    QTest::addRow("No changes nothing") << QMessageBox::No << QLocale::c() << QStringList{"&Yes", "&No"};
    QTest::addRow("いいえ on a Japanese desktop")
        << QMessageBox::No << QLocale(QLocale::Japanese, QLocale::Japan) << QStringList{"はい(&Y)", "いいえ(&N)"};
}

void TestProgram::exitQuestion()
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
    const QStringList shown = texts(form);
    const QImage field = form->chart().surface().image();

    bool asked = false;
    const int result = runEventLoop([&] {
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            asked = true;
            [&] {
                QCOMPARE(box->text(), QStringLiteral("終了していいですか？"));
                QCOMPARE(box->windowTitle(), QStringLiteral("Torvikan"));
                QCOMPARE(QStringList({box->button(QMessageBox::Yes)->text(), box->button(QMessageBox::No)->text()}),
                         buttons);
                QCOMPARE(box->defaultButton(), box->button(QMessageBox::Yes));
                QCOMPARE(box->icon(), QMessageBox::NoIcon);
                // The goodbye cue starts first and plays on while the question waits.
                QCOMPARE(s.player.calls, QStringList{QStringLiteral("endpinpon.wav")});
            }();
            if (QAbstractButton* button = box->button(answer))
                QTest::mouseClick(button, Qt::LeftButton);
            if (box->isVisible())
                box->done(QMessageBox::Cancel);
        });
        s.click("quitButton");
    });
    QVERIFY2(asked, "no question was asked");
    QCOMPARE(result, answer == QMessageBox::Yes ? 0 : 1);
    QCOMPARE(s.player.calls.size(), 1);
    if (answer == QMessageBox::No) {
        QVERIFY(std::memcmp(&state, &form->state(), sizeof state) == 0);
        QCOMPARE(texts(form), shown);
        QVERIFY(form->chart().surface().image() == field);
    }
}

QTEST_MAIN(TestProgram)
#include "tst_program.moc"
