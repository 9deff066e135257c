#include "program.h"

#include "help_window.h"
#include "main_window.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

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

void endProcess(int exitCode)
{
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

Program::Program(CuePlayer& player, QObject* parent)
    : QObject(parent)
    , m_player(player)
{
#ifdef M_MMAP_THRESHOLD
    // Every HELP round trip frees a main window's field image and backing
    // store, a megabyte or more each, and allocates new ones. Left to
    // itself glibc raises its mmap threshold after the first such free and
    // then serves them from the heap, which it seldom hands back, so a long
    // lesson would creep upwards. A fixed threshold keeps them in mappings
    // of their own, returned to the system when a window goes.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
#endif
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
