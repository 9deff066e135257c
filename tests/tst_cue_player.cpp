#include "cue_player.h"

#include <QSoundEffect>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A canonical 44-byte header of 16-bit mono PCM at 44.1 kHz unless told
// otherwise, and `samples` samples.
QByteArray wav(int samples, quint16 bits = 16, quint16 format = 1, quint32 claimedData = 0)
{
    const quint32 data = quint32(samples) * (bits / 8);
    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    s.setByteOrder(QDataStream::LittleEndian);
    s.writeRawData("RIFF", 4);
    s << quint32(36 + data);
    s.writeRawData("WAVEfmt ", 8);
    s << quint32(16) << format << quint16(1) << quint32(44100) << quint32(44100u * (bits / 8)) << quint16(bits / 8)
      << bits;
    s.writeRawData("data", 4);
    s << (claimedData ? claimedData : data);
    return out + QByteArray(data, '\x01');
}

} // namespace

class TestCuePlayer : public QObject {
    Q_OBJECT
private slots:
    void cueInTheWorkingFolder_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("plays");
        // QSoundEffect on its own does not report an empty, cut or lying
        // file as broken: it stays "loading", and from then on the program
        // hangs when it lets go of any cue. So the player checks the header
        // itself and never hands such a file to Qt.
        QTest::addRow("16-bit PCM") << wav(1000) << true;
        QTest::addRow("0 bytes") << QByteArray() << false;
        QTest::addRow("lying header") << wav(100, 16, 1, 0x7FFFFFF0) << false;
        QTest::addRow("float samples") << wav(1000, 32, 3) << false;
    }
    void cueInTheWorkingFolder()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, plays);
        const QString shipped = findCue(QStringLiteral("logoff.wav"));
        QTemporaryDir dir;
        const QString previous = QDir::currentPath();
        QDir::setCurrent(dir.path());
        const auto back = qScopeGuard([&] { QDir::setCurrent(previous); });
        QFile file(QStringLiteral("logoff.wav"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        const QString path = QFileInfo(file).absoluteFilePath();

        // The pupil's file wins over the shipped one, even when it is broken.
        QCOMPARE(findCue(QStringLiteral("logoff.wav")), path);
        SoundEffectCuePlayer player;
        player.playCue(QStringLiteral("logoff.wav"));
        QCOMPARE(player.effectFor(path) != nullptr, plays);
        QVERIFY(!player.effectFor(shipped));
        // The other cues still play.
        player.playCue(QStringLiteral("pinpon.wav"));
        QSoundEffect* chime = player.effectFor(findCue(QStringLiteral("pinpon.wav")));
        QVERIFY(chime);
        QTRY_COMPARE_WITH_TIMEOUT(chime->status(), QSoundEffect::Ready, 10000);
    }

    void aNewCueStopsTheOneStillPlaying()
    {
        // 終了's goodbye, answered いいえ, then 初期化 at once: the chime alone is heard.
        SoundEffectCuePlayer player;
        player.playCue(QStringLiteral("endpinpon.wav"));
        QSoundEffect* goodbye = player.effectFor(findCue(QStringLiteral("endpinpon.wav")));
        QVERIFY(goodbye);
        QTRY_VERIFY_WITH_TIMEOUT(goodbye->isPlaying(), 10000);
        player.playCue(QStringLiteral("pinpon.wav"));
        QVERIFY(!goodbye->isPlaying());
        QSoundEffect* chime = player.effectFor(findCue(QStringLiteral("pinpon.wav")));
        QVERIFY(chime->isPlaying());
        // Qt 6.4 loses a sample still loading when its effect goes.
        QTRY_COMPARE_WITH_TIMEOUT(chime->status(), QSoundEffect::Ready, 10000);
    }
};

QTEST_MAIN(TestCuePlayer)
#include "tst_cue_player.moc"
