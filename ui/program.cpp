#include "program.h"

#include "help_window.h"
#include "main_window.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

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

Form1* Program::mainWindow() const { return qobject_cast<Form1*>(m_current.data()); }

void Program::start() { showMain(); }

void Program::showMain()
{
    auto* form = new Form1(m_player);
    connect(form, &Form1::quitRequested, this, &Program::quit);
    connect(form, &Form1::helpRequested, this, &Program::showHelp, Qt::QueuedConnection);
    replaceWith(form);
}

void Program::showHelp()
{
    auto* help = new Form2;
    // Like HELP, 閉じる finishes its click before its window goes.
    connect(help, &Form2::closeRequested, this, &Program::showMain, Qt::QueuedConnection);
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
    // The new window is shown before the old one goes, so the program
    // never finds itself without a window and quits in between.
    next->show();
    QWidget* old = m_current;
    m_current = next;
    if (old) {
        old->hide();
        old->deleteLater();
    }
}
