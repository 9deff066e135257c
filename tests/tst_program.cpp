#include "help_window.h"
#include "main_window.h"
#include "program.h"
#include "recording_player.h"
#include "surface.h"

#include <QApplication>
#include <QFile>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QTranslator>
#include <QtTest>

#include <cmath>
#include <cstring>
#include <functional>

namespace {

struct Session {
    RecordingPlayer player;
    Program program{player};

    Session() { program.showMain(); }
    MainWindow* main() const { return program.mainWindow(); }
    QString texts() const
    {
        QStringList out;
        for (const char* name : {"mouseSpeed", "dogSpeed", "unitTime", "mouseX", "mouseY", "dogX", "dogY", "seconds"})
            out << main()->findChild<QLineEdit*>(QLatin1String(name))->text();
        return out.join(u' ');
    }
    // Clicks a button of the window shown, then runs the swaps and deletions.
    void click(const char* name, int times = 1)
    {
        auto* button = program.currentWindow()->findChild<QPushButton*>(QLatin1String(name));
        for (int i = 0; i < times; ++i)
            QTest::mouseClick(button, Qt::LeftButton);
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

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

} // namespace

class TestProgram : public QObject {
    Q_OBJECT
private slots:
    void helpRoundTrips()
    {
        Session s;
        const QPoint place(123, 77);
        s.main()->move(place);
        // In the event loop, where a moment without a window would end the program.
        QVERIFY(!endsWhile([&] {
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
                QCOMPARE(QApplication::topLevelWidgets().size(), 1);
                QCOMPARE(s.main()->pos(), place);
                QCOMPARE(s.texts(), QStringLiteral("6 10 0.1 0.000 0.000 0.000 50.000 0.000"));
            }
        }));
        // One chime per HELP; 閉じる is silent.
        QCOMPARE(s.player.calls, QStringList(3, QStringLiteral("pinpon.wav")));
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
        QTest::addRow("No changes nothing") << QMessageBox::No << QLocale::c() << QStringList{"&Yes", "&No"};
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
        const QImage field = form->chart().surface().image();

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
            QVERIFY(form->chart().surface().image() == field);
        }
    }

    void helpWindowPrintsItsTextOnce_data()
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
};

QTEST_MAIN(TestProgram)
#include "tst_program.moc"
