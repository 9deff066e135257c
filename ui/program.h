#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

class CuePlayer;
class Form1;
class QApplication;
class QTranslator;

// Loads Qt's own translations for the desktop's language, so standard
// buttons read はい / いいえ on a Japanese desktop. Returns the translator
// installed on `app`, or null where Qt has none for that language.
QTranslator* loadQtTranslations(QApplication& app);

// Ends the process once the program's own objects are gone, without the
// libraries' exit-time destructors. Qt Multimedia 6.4 tears down its
// PulseAudio connection in one of those while PulseAudio's own thread still
// runs, and now and then that aborts the process on its way out. Nothing of
// Torvikan is left to save by then.
[[noreturn]] void endProcess(int exitCode);

// Keeps exactly one window open: the main window, or the help window in
// its place. The cue player lives here, so a cue started by a window goes
// on after that window is gone.
class Program : public QObject {
    Q_OBJECT
public:
    explicit Program(CuePlayer& player, QObject* parent = nullptr);
    ~Program() override;

    void start();
    QWidget* currentWindow() const { return m_current; }
    Form1* mainWindow() const;

public slots:
    void showHelp();
    void showMain();
    void quit();

private:
    void replaceWith(QWidget* next);

    CuePlayer& m_player;
    QPointer<QWidget> m_current;
};
