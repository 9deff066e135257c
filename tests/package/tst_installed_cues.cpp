// Copied into an installed tree beside bin/torvikan and started from a
// folder of its own, as a pupil starts the program from the home folder:
// the cues must come from that tree's data folder and must load.

#include "cue_player.h"

#include <QSoundEffect>
#include <QTemporaryDir>
#include <QtTest>

class TestInstalledCues : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cueBesideTheProgram_data();
    void cueBesideTheProgram();

private:
    QTemporaryDir m_home;
};

void TestInstalledCues::initTestCase()
{
    QVERIFY(m_home.isValid());
    QVERIFY(QDir::setCurrent(m_home.path()));
}

void TestInstalledCues::cueBesideTheProgram_data()
{
    QTest::addColumn<QString>("name");
    QTest::addRow("chime") << "pinpon.wav";
    QTest::addRow("goodbye") << "endpinpon.wav";
    QTest::addRow("catch") << "logoff.wav";
}

void TestInstalledCues::cueBesideTheProgram()
{
    QFETCH(QString, name);
    const QString expected =
        QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/torvikan/") + name);
    const QString found = findCue(name);
    QCOMPARE(found, expected);
    QVERIFY(isPlayableWav(found));
    QSoundEffect effect;
    effect.setSource(QUrl::fromLocalFile(found));
    QTRY_COMPARE_WITH_TIMEOUT(effect.status(), QSoundEffect::Ready, 10000);
}

QTEST_GUILESS_MAIN(TestInstalledCues)
#include "tst_installed_cues.moc"
