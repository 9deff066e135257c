#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

class CuePlayer;
class MainWindow;
class QApplication;
class QTranslator;

// Loads Qt's own translations for the desktop's language, so standard
// buttons read はい / いいえ on a Japanese desktop. Returns the translator
// installed on `app`, or null where Qt has none for that language.
QTranslator* loadQtTranslations(QApplication& app);

// Keeps exactly one window open: the main window, or the help window in
// its place, each opening where the other stood. The cue player is the
// program's, so a cue started by a window goes on after that window is gone.
class Program : public QObject {
    Q_OBJECT
public:
    explicit Program(CuePlayer& player, QObject* parent = nullptr);
    ~Program() override;

    QWidget* currentWindow() const { return m_current; }
    MainWindow* mainWindow() const;

public slots:
    void showMain();
    void showHelp();
    void quit();

private:
    void replaceWith(QWidget* next);

    CuePlayer& m_player;
    QPointer<QWidget> m_current;
};

// Torvikan from start to end, as main() runs it: the application's names
// and translations, the real cue player, the main window, the event loop.
// `started` is called once with the first main window, just after it is
// shown and before anything is painted.
// Returns the event loop's exit code.
int runTorvikan(int& argc, char** argv, const std::function<void(QWidget& mainWindow)>& started = {});

// Ends the process once the program's own objects are gone, without the
// libraries' exit-time destructors. Qt Multimedia 6.4 tears down its
// PulseAudio connection in one of those while PulseAudio's own thread still
// runs, and now and then that aborts the process on its way out. Nothing of
// Torvikan is left to save by then.
[[noreturn]] void endProcess(int exitCode);
