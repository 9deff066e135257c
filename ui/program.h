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
