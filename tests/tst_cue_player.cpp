#include "cue_player.h"

#include <QSoundEffect>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// A canonical 44-byte header and `samples` 16-bit mono samples at 44.1 kHz.
QByteArray wav(int samples, quint16 bits = 16, quint16 format = 1, quint32 claimedData = 0)
{
    const quint32 dataBytes = quint32(samples) * (bits / 8);
    QByteArray out;
    const auto u32 = [&out](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        out.append(b, 4);
    };
    const auto u16 = [&out](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        out.append(b, 2);
    };
    out += "RIFF";
    u32(36 + dataBytes);
    out += "WAVEfmt ";
    u32(16);
    u16(format);
    u16(1);
    u32(44100);
    u32(44100u * (bits / 8));
    u16(bits / 8);
    u16(bits);
    out += "data";
    u32(claimedData ? claimedData : dataBytes);
    for (int i = 0; i < samples; ++i)
        out += bits == 16 ? QByteArray("\x10\x00", 2) : QByteArray(bits / 8, '\x01');
    return out;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// Where the build put a cue, beside the program.
QString shippedCue(const QString& name)
{
    return QFileInfo(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/torvikan/") + name)
        .absoluteFilePath();
}

// Runs the test body inside a fresh working folder and comes back after.
struct InFolder {
    QTemporaryDir dir;
    QString previous = QDir::currentPath();
    InFolder() { QDir::setCurrent(dir.path()); }
    ~InFolder() { QDir::setCurrent(previous); }
};

} // namespace

class TestCuePlayer : public QObject {
    Q_OBJECT
private slots:
    void wavChecks_data();
    void wavChecks();
    void currentFolderWinsOverDataFolder();
    void onlyBareNamesAreCues_data();
    void onlyBareNamesAreCues();
    void badFilesStaySilent_data();
    void badFilesStaySilent();
    void shippedCuesLoad_data();
    void shippedCuesLoad();
    void shippedCuesAreShortAndClean_data();
    void shippedCuesAreShortAndClean();
};

void TestCuePlayer::wavChecks_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("playable");
    QTest::addRow("good 16-bit PCM") << wav(1000) << true;
    QTest::addRow("good 8-bit PCM") << wav(1000, 8) << true;
    QTest::addRow("empty file") << QByteArray() << false;
    QTest::addRow("header only, cut in the middle") << wav(1000).left(30) << false;
    QTest::addRow("data cut short") << wav(1000).left(500) << false;
    QTest::addRow("data chunk claims more than the file") << wav(100, 16, 1, 0x7FFFFFF0) << false;
    QTest::addRow("float samples") << wav(1000, 32, 3) << false;
    QTest::addRow("not RIFF") << QByteArray("ID3 and then some mp3 bytes that go on and on") << false;
    QTest::addRow("no data chunk") << wav(0).left(36) << false;
    QTest::addRow("fmt claims a huge size") << [] {
        QByteArray b = wav(100);
        qToLittleEndian<quint32>(0xFFFFFFF0u, b.data() + 16);
        return b;
    }() << false;
}

void TestCuePlayer::wavChecks()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, playable);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cue.wav"));
    writeFile(path, bytes);
    QCOMPARE(isPlayableWav(path), playable);
}

void TestCuePlayer::currentFolderWinsOverDataFolder()
{
    InFolder folder;
    const QString shipped = findCue(QStringLiteral("pinpon.wav"));
    QVERIFY2(!shipped.isEmpty(), "the build puts the cues beside the program");
    QVERIFY(!shipped.startsWith(folder.dir.path()));

    writeFile(folder.dir.filePath(QStringLiteral("pinpon.wav")), wav(1000));
    QCOMPARE(findCue(QStringLiteral("pinpon.wav")), QFileInfo(folder.dir.filePath("pinpon.wav")).absoluteFilePath());
    QVERIFY(findCue(QStringLiteral("nosuch.wav")).isEmpty());
}

void TestCuePlayer::onlyBareNamesAreCues_data()
{
    QTest::addColumn<QString>("name");
    QTest::addRow("path") << "/etc/passwd";
    QTest::addRow("relative path") << "../share/torvikan/pinpon.wav";
    QTest::addRow("empty") << "";
    QTest::addRow("dot dot") << "..";
}

void TestCuePlayer::onlyBareNamesAreCues()
{
    QFETCH(QString, name);
    QVERIFY(findCue(name).isEmpty());
}

void TestCuePlayer::badFilesStaySilent_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addRow("0 bytes") << QByteArray();
    QTest::addRow("truncated") << wav(20000).left(1000);
    QTest::addRow("lying header") << wav(100, 16, 1, 0x7FFFFFF0);
}

void TestCuePlayer::badFilesStaySilent()
{
    QFETCH(QByteArray, bytes);
    InFolder folder;
    const QString path = QFileInfo(folder.dir.filePath(QStringLiteral("logoff.wav"))).absoluteFilePath();
    writeFile(path, bytes);
    SoundEffectCuePlayer player;
    player.playCue(QStringLiteral("logoff.wav"), false);
    player.playCue(QStringLiteral("logoff.wav"), true);
    QVERIFY(player.effectFor(path) == nullptr);
    // The shipped cue is not used in its place: the pupil's file wins, silently.
    const QString shipped = shippedCue(QStringLiteral("logoff.wav"));
    QVERIFY(QFileInfo::exists(shipped));
    QVERIFY(player.effectFor(shipped) == nullptr);

    // The other cues still play.
    player.playCue(QStringLiteral("pinpon.wav"), true);
    QSoundEffect* chime = player.effectFor(shippedCue(QStringLiteral("pinpon.wav")));
    QVERIFY(chime != nullptr);
    QTRY_COMPARE_WITH_TIMEOUT(chime->status(), QSoundEffect::Ready, 10000);
}

void TestCuePlayer::shippedCuesLoad_data()
{
    QTest::addColumn<QString>("name");
    QTest::addRow("chime") << "pinpon.wav";
    QTest::addRow("goodbye") << "endpinpon.wav";
    QTest::addRow("catch") << "logoff.wav";
}

void TestCuePlayer::shippedCuesLoad()
{
    QFETCH(QString, name);
    const QString path = findCue(name);
    QVERIFY(!path.isEmpty());
    QVERIFY(isPlayableWav(path));
    QSoundEffect effect;
    effect.setSource(QUrl::fromLocalFile(path));
    QTRY_COMPARE_WITH_TIMEOUT(effect.status(), QSoundEffect::Ready, 10000);
}

void TestCuePlayer::shippedCuesAreShortAndClean_data() { shippedCuesLoad_data(); }

void TestCuePlayer::shippedCuesAreShortAndClean()
{
    QFETCH(QString, name);
    QFile f(shippedCue(name));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QVERIFY(bytes.size() > 44);
    const char* h = bytes.constData();
    // The plain 44-byte header: 16-bit PCM, mono, 44.1 kHz, data to the end.
    QCOMPARE(bytes.left(4), QByteArray("RIFF"));
    QCOMPARE(bytes.mid(8, 8), QByteArray("WAVEfmt "));
    QCOMPARE(qFromLittleEndian<quint16>(h + 20), quint16(1));
    QCOMPARE(qFromLittleEndian<quint16>(h + 22), quint16(1));
    QCOMPARE(qFromLittleEndian<quint32>(h + 24), quint32(44100));
    QCOMPARE(qFromLittleEndian<quint16>(h + 34), quint16(16));
    QCOMPARE(bytes.mid(36, 4), QByteArray("data"));
    QCOMPARE(qint64(qFromLittleEndian<quint32>(h + 40)), qint64(bytes.size() - 44));

    QList<int> samples;
    for (qsizetype i = 44; i + 1 < bytes.size(); i += 2)
        samples << qFromLittleEndian<qint16>(h + i);
    const double seconds = samples.size() / 44100.0;
    QVERIFY2(seconds < 1.5, qPrintable(QString::number(seconds)));

    int peak = 0;
    for (int v : samples)
        peak = std::max(peak, std::abs(v));
    const double peakDb = 20.0 * std::log10(peak / 32768.0);
    QVERIFY2(peakDb > -4.0 && peakDb < -2.0, qPrintable(QString::number(peakDb)));

    // About 0.2 s of digital silence at the end, so Qt does not cut the cue.
    qsizetype sound = samples.size();
    while (sound > 0 && samples[sound - 1] == 0)
        --sound;
    const double tail = (samples.size() - sound) / 44100.0;
    QVERIFY2(tail >= 0.15 && tail <= 0.3, qPrintable(QString::number(tail)));

    // No click: the sound fades in from silence over its first half
    // millisecond, and has faded to a whisper 5 ms before its end.
    QVERIFY(std::abs(samples.first()) <= 64);
    for (qsizetype i = 0; i < 22; ++i)
        QVERIFY2(std::abs(samples[i]) <= 3277, qPrintable(QStringLiteral("sample %1").arg(i)));
    for (qsizetype i = std::max<qsizetype>(0, sound - 220); i < sound; ++i)
        QVERIFY2(std::abs(samples[i]) <= 328, qPrintable(QStringLiteral("sample %1").arg(i)));
}

QTEST_MAIN(TestCuePlayer)
#include "tst_cue_player.moc"
