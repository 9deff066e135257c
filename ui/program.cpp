#include "program.h"

#include "cue_player.h"
#include "help_window.h"
#include "main_window.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>

QTranslator* loadQtTranslations(QApplication& app)
{
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(translator);
        return translator;
    }
    delete translator;
    return nullptr;
}

Program::Program(CuePlayer& player, QObject* parent)
    : QObject(parent)
    , m_player(player)
{
}

Program::~Program() { delete m_current; }

MainWindow* Program::mainWindow() const { return qobject_cast<MainWindow*>(m_current.data()); }

void Program::showMain()
{
    auto* window = new MainWindow(m_player);
    connect(window, &MainWindow::quitRequested, this, &Program::quit);
    // HELP and 閉じる finish their click before their window goes.
    connect(window, &MainWindow::helpRequested, this, &Program::showHelp, Qt::QueuedConnection);
    replaceWith(window);
}

void Program::showHelp()
{
    auto* help = new HelpWindow;
    connect(help, &HelpWindow::closeRequested, this, &Program::showMain, Qt::QueuedConnection);
    replaceWith(help);
}

void Program::quit()
{
    if (m_current)
        m_current->hide();
    QCoreApplication::quit();
}

void Program::replaceWith(QWidget* next)
{
    next->setAttribute(Qt::WA_DeleteOnClose);
    QWidget* old = m_current;
    // The new window takes the old one's place rather than wherever the
    // window manager would put a second window, and it is shown before the
    // old one goes, so the program never finds itself without a window
    // and quits in between.
    if (old)
        next->move(old->pos());
    next->show();
    m_current = next;
    if (old) {
        old->hide();
        old->deleteLater();
    }
}

int runTorvikan(int& argc, char** argv, const std::function<void(QWidget& mainWindow)>& started)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("torvikan"));
    QApplication::setDesktopFileName(QStringLiteral("torvikan"));
    loadQtTranslations(app);

    SoundEffectCuePlayer player;
    Program program(player);
    program.showMain();
    if (started)
        started(*program.currentWindow());
    return QApplication::exec();
}

void endProcess(int exitCode)
{
    std::fflush(nullptr);
    std::_Exit(exitCode);
}
