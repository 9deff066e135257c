#include "help_window.h"
#include "main_window.h"
#include "program.h"
#include "recording_player.h"
#include "surface.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTranslator>
#include <QtTest>

#include <bit>
#include <functional>

namespace {

QPushButton* button(QWidget* window, const char* name)
{
    return window ? window->findChild<QPushButton*>(QString::fromLatin1(name)) : nullptr;
}

QLineEdit* box(QWidget* window, int number)
{
    return window->findChild<QLineEdit*>(QStringLiteral("Text%1").arg(number));
}

QStringList texts(QWidget* window, int from, int to)
{
    QStringList out;
    for (int i = from; i <= to; ++i)
        out << box(window, i)->text();
    return out;
}

// Runs what the click left for later (window swaps), then the deletions
// it asked for, so that only windows still alive remain.
void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

struct Session {
    RecordingPlayer player;
    Program program{player};

    Session()
    {
        program.start();
        settle();
    }
    Form1* main() const { return program.mainWindow(); }
    Form2* help() const { return qobject_cast<Form2*>(program.currentWindow()); }
    void click(QWidget* window, const char* name, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            QTest::mouseClick(button(window, name), Qt::LeftButton);
        settle();
    }
};

// Notices the program ending: its last window closing or a request to quit.
class EndWatch : public QObject {
public:
    EndWatch()
    {
        qApp->installEventFilter(this);
        connect(qApp, &QGuiApplication::lastWindowClosed, this, [this] { ended = true; });
    }
    ~EndWatch() override { qApp->removeEventFilter(this); }
    bool ended = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == qApp && event->type() == QEvent::Quit)
            ended = true;
        return false;
    }
};

// Runs `body` inside the application's event loop, as the program runs,
// and returns how that loop ended: 0 if the program ended by itself,
// `afterBody` if it was still running when the body was done, 2 if stuck.
int runEventLoop(const std::function<void()>& body, int afterBody)
{
    EndWatch watch;
    QTimer::singleShot(0, [&] {
        body();
        if (!watch.ended)
            QCoreApplication::exit(afterBody);
    });
    QTimer stuck;
    stuck.setSingleShot(true);
    QObject::connect(&stuck, &QTimer::timeout, [] { QCoreApplication::exit(2); });
    stuck.start(20000);
    return QApplication::exec();
}

// Every bit of the chase, so "unchanged" means unchanged.
QList<quint32> bitsOf(const sim::PursuitState& s)
{
    QList<quint32> out;
    for (float f : {s.u, s.v, s.h, s.s, s.ux, s.uy, s.kx, s.ky})
        out << std::bit_cast<quint32>(f);
    return out;
}

// What the question box looked like while it waited.
struct Question {
    bool found = false;
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::Information;
    bool hasIconPixmap = true;
    QMessageBox::StandardButtons buttons;
    bool yesIsDefault = false;
    Qt::WindowModality modality = Qt::NonModal;
    QStringList cuesSoFar;
    bool answered = false; // the answer closed the box
};

enum class Answer { clickYes, clickNo, enter, escape, closeBox };

// Looks at the next modal question as soon as it shows, then answers it.
void answerNextQuestion(Answer answer, Question& seen, const RecordingPlayer& player)
{
    QTimer::singleShot(0, [answer, &seen, &player] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen.found = true;
        seen.text = box->text();
        seen.title = box->windowTitle();
        seen.icon = box->icon();
        seen.hasIconPixmap = !box->iconPixmap().isNull();
        seen.buttons = box->standardButtons();
        seen.yesIsDefault = box->defaultButton() && box->defaultButton() == box->button(QMessageBox::Yes);
        seen.modality = box->windowModality();
        seen.cuesSoFar = player.calls;
        switch (answer) {
        case Answer::clickYes:
            QTest::mouseClick(box->button(QMessageBox::Yes), Qt::LeftButton);
            break;
        case Answer::clickNo:
            QTest::mouseClick(box->button(QMessageBox::No), Qt::LeftButton);
            break;
        case Answer::enter:
            QTest::keyClick(box, Qt::Key_Return);
            break;
        case Answer::escape:
            QTest::keyClick(box, Qt::Key_Escape);
            break;
        case Answer::closeBox:
            box->close();
            break;
        }
        // Whatever the answer did, the test must not hang on a box left open.
        seen.answered = !box->isVisible();
        if (!seen.answered)
            box->done(QMessageBox::No);
    });
}

void roundTrips(Session& s, int count)
{
    QImage firstHelp;
    for (int trip = 1; trip <= count; ++trip) {
        const QString at = QStringLiteral("trip %1").arg(trip);
        // A chase under way with other inputs, none of which may come back.
        QPointer<Form1> main = s.main();
        QVERIFY2(main, qPrintable(at));
        box(main, 1)->setText(QStringLiteral("3"));
        box(main, 3)->setText(QStringLiteral("0.5"));
        s.click(main, "Command1", 3);

        s.click(main, "Command4");
        QVERIFY2(main.isNull(), qPrintable(at + ": the main window is destroyed"));
        QPointer<Form2> help = s.help();
        QVERIFY2(help && help->isVisible(), qPrintable(at));
        QCOMPARE(QApplication::topLevelWidgets().size(), 1);
        // Every help window is new and shows the text once.
        QCOMPARE(help->findChild<QWidget*>(QStringLiteral("Picture1"))->accessibleDescription().count(u'\n'), 20);
        if (trip == 1)
            firstHelp = help->surface().image();
        else
            QVERIFY2(help->surface().image() == firstHelp, qPrintable(at));

        s.click(help, "Command1");
        QVERIFY2(help.isNull(), qPrintable(at + ": the help window is destroyed"));
        Form1* back = s.main();
        QVERIFY2(back && back->isVisible(), qPrintable(at));
        QCOMPARE(QApplication::topLevelWidgets().size(), 1);
        QCOMPARE(texts(back, 1, 3), (QStringList{"6", "10", "0.1"}));
        QCOMPARE(texts(back, 4, 8), (QStringList{"0.000", "0.000", "0.000", "50.000", "0.000"}));
        QCOMPARE(back->state().s, 0.0f);
    }
}

} // namespace

class TestProgram : public QObject {
    Q_OBJECT
private slots:
    void helpRoundTrips();
    void exitQuestion_data();
    void exitQuestion();
    void cuesInALesson();
    void titleBarCloseEndsTheProgram_data();
    void titleBarCloseEndsTheProgram();
    void buttonsInTheDesktopLanguage_data();
    void buttonsInTheDesktopLanguage();
    void yesEndsTheProgram();
};

void TestProgram::helpRoundTrips()
{
    Session s;
    QStringList mainAtChime;
    s.player.onPlay = [&](const QString&) {
        mainAtChime << (s.main() && s.main()->isVisible() ? "main window shown" : "main window gone");
    };
    // Inside the event loop, where a moment without a window would end the
    // program.
    const int result = runEventLoop([&] { roundTrips(s, 50); }, 7);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(result, 7);
    // One chime per HELP, while the main window is still there; 閉じる is silent.
    QCOMPARE(s.player.calls, QStringList(50, QStringLiteral("pinpon.wav (stop first)")));
    QCOMPARE(mainAtChime, QStringList(50, QStringLiteral("main window shown")));
}

void TestProgram::exitQuestion_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<bool>("ends");
    QTest::addRow("Yes") << Answer::clickYes << true;
    QTest::addRow("Enter answers Yes") << Answer::enter << true;
    QTest::addRow("No") << Answer::clickNo << false;
    QTest::addRow("Escape answers No") << Answer::escape << false;
    QTest::addRow("closing the question answers No") << Answer::closeBox << false;
}

void TestProgram::exitQuestion()
{
    QFETCH(Answer, answer);
    QFETCH(bool, ends);
    RecordingPlayer player;
    Form1 form(player);
    form.show();
    box(&form, 2)->setText(QStringLiteral("12"));
    for (int i = 0; i < 30; ++i)
        QTest::mouseClick(button(&form, "Command1"), Qt::LeftButton);
    const QList<quint32> state = bitsOf(form.state());
    const QStringList shown = texts(&form, 1, 8);
    const QImage field = form.chart().surface().image();
    const QPoint dog = form.findChild<QLabel*>(QStringLiteral("Picture3"))->pos();
    QSignalSpy quit(&form, &Form1::quitRequested);

    Question seen;
    answerNextQuestion(answer, seen, player);
    QTest::mouseClick(button(&form, "Command2"), Qt::LeftButton);

    QVERIFY2(seen.found, "no question was asked");
    QVERIFY2(seen.answered, "the answer left the question open");
    QCOMPARE(seen.text, QStringLiteral("終了していいですか？"));
    QCOMPARE(seen.title, QStringLiteral("Torvikan"));
    QCOMPARE(seen.icon, QMessageBox::NoIcon);
    QVERIFY(!seen.hasIconPixmap);
    QCOMPARE(seen.buttons, QMessageBox::Yes | QMessageBox::No);
    QVERIFY(seen.yesIsDefault);
    QCOMPARE(seen.modality, Qt::ApplicationModal);
    // The goodbye cue starts first and plays on while the question waits.
    QCOMPARE(seen.cuesSoFar, QStringList{QStringLiteral("endpinpon.wav (stop first)")});

    QCOMPARE(quit.count(), ends ? 1 : 0);
    QCOMPARE(player.calls.size(), 1);
    QCOMPARE(bitsOf(form.state()), state);
    QCOMPARE(texts(&form, 1, 8), shown);
    QVERIFY(form.chart().surface().image() == field);
    QCOMPARE(form.findChild<QLabel*>(QStringLiteral("Picture3"))->pos(), dog);
}

void TestProgram::cuesInALesson()
{
    Session s;
    const auto answerNo = [&s] { s.main()->confirmQuit = [] { return false; }; };
    answerNo();
    s.click(s.main(), "Command1", 78); // the dog first reaches the mouse's x
    s.click(s.main(), "Command3");
    s.click(s.main(), "Command1", 78);
    s.click(s.main(), "Command2");
    s.click(s.main(), "Command4");
    s.click(s.help(), "Command1");
    answerNo();
    s.click(s.main(), "Command1", 83); // catches at 78 and 83
    s.click(s.main(), "Command2");
    QCOMPARE(s.player.calls, (QStringList{"logoff.wav", "pinpon.wav (stop first)", "logoff.wav",
                                          "endpinpon.wav (stop first)", "pinpon.wav (stop first)", "logoff.wav",
                                          "logoff.wav", "endpinpon.wav (stop first)"}));
}

void TestProgram::titleBarCloseEndsTheProgram_data()
{
    QTest::addColumn<bool>("fromHelp");
    QTest::addRow("main window") << false;
    QTest::addRow("help window") << true;
}

void TestProgram::titleBarCloseEndsTheProgram()
{
    QFETCH(bool, fromHelp);
    Session s;
    bool asked = false;
    s.main()->confirmQuit = [&] { return asked = true; };
    if (fromHelp)
        s.click(s.main(), "Command4");
    const QStringList cues = s.player.calls;

    const int result = runEventLoop([&] { s.program.currentWindow()->close(); }, 7);
    settle();
    QCOMPARE(result, 0);
    QVERIFY(!asked);
    QCOMPARE(s.player.calls, cues);
    // Nothing comes back in its place.
    QVERIFY(s.program.currentWindow() == nullptr);
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void TestProgram::buttonsInTheDesktopLanguage_data()
{
    QTest::addColumn<QLocale>("desktop");
    QTest::addColumn<QString>("yes");
    QTest::addColumn<QString>("no");
    QTest::addRow("Japanese desktop") << QLocale(QLocale::Japanese, QLocale::Japan) << "はい" << "いいえ";
    QTest::addRow("English desktop") << QLocale(QLocale::English, QLocale::UnitedStates) << "Yes" << "No";
}

void TestProgram::buttonsInTheDesktopLanguage()
{
    QFETCH(QLocale, desktop);
    QFETCH(QString, yes);
    QFETCH(QString, no);
    const QLocale previous;
    QLocale::setDefault(desktop);
    QTranslator* translator = loadQtTranslations(*qApp);
    QMessageBox question(QMessageBox::NoIcon, QStringLiteral("Torvikan"), QStringLiteral("終了していいですか？"),
                         QMessageBox::Yes | QMessageBox::No);
    // Mnemonics aside: はい(&Y) shows as はい(Y).
    const QString yesText = question.button(QMessageBox::Yes)->text().remove(u'&');
    const QString noText = question.button(QMessageBox::No)->text().remove(u'&');
    if (translator) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    QLocale::setDefault(previous);
    QVERIFY2(yesText.startsWith(yes), qPrintable(yesText));
    QVERIFY2(noText.startsWith(no), qPrintable(noText));
}

void TestProgram::yesEndsTheProgram()
{
    Session s;
    Question seen;
    const int result = runEventLoop(
        [&] {
            answerNextQuestion(Answer::clickYes, seen, s.player);
            QTest::mouseClick(button(s.main(), "Command2"), Qt::LeftButton);
        },
        7);
    QVERIFY(seen.found);
    QCOMPARE(result, 0);
    QVERIFY(!s.main()->isVisible());
    QCOMPARE(s.player.calls, QStringList{QStringLiteral("endpinpon.wav (stop first)")});
}

QTEST_MAIN(TestProgram)
#include "tst_program.moc"
