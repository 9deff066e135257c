#include "cue_player.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>
#include <QtEndian>

#ifndef TORVIKAN_DATA_DIR
#define TORVIKAN_DATA_DIR "/usr/share/torvikan"
#endif

QStringList cueSearchFolders()
{
    QStringList folders{QDir::currentPath()};
    // Next to the program: bin/../share/torvikan, both in the build tree
    // and in any installed prefix, then the folder the build installs to.
    if (QCoreApplication::instance())
        folders << QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../share/torvikan");
    folders << QStringLiteral(TORVIKAN_DATA_DIR);
    folders.removeDuplicates();
    return folders;
}

QString findCue(const QString& file)
{
    // Only bare names: a name with a folder in it is not a cue of ours.
    if (file.isEmpty() || file.contains(u'/') || file == u"." || file == u"..")
        return {};
    for (const QString& folder : cueSearchFolders()) {
        const QFileInfo info(QDir(folder), file);
        if (info.isFile() && info.isReadable())
            return info.absoluteFilePath();
    }
    return {};
}

bool isPlayableWav(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const qint64 size = f.size();
    // Chunks are read one header at a time; the walk stops at the data chunk.
    const QByteArray riff = f.read(12);
    if (riff.size() != 12 || !riff.startsWith("RIFF") || riff.mid(8, 4) != "WAVE")
        return false;
    bool formatOk = false;
    qint64 pos = 12;
    for (int chunks = 0; chunks < 64 && pos + 8 <= size; ++chunks) {
        if (!f.seek(pos))
            return false;
        const QByteArray header = f.read(8);
        if (header.size() != 8)
            return false;
        const quint32 length = qFromLittleEndian<quint32>(header.constData() + 4);
        const qint64 body = pos + 8;
        if (header.startsWith("fmt ")) {
            if (length < 16 || body + length > size)
                return false;
            const QByteArray fmt = f.read(16);
            if (fmt.size() != 16)
                return false;
            const auto tag = qFromLittleEndian<quint16>(fmt.constData());
            const auto channels = qFromLittleEndian<quint16>(fmt.constData() + 2);
            const auto rate = qFromLittleEndian<quint32>(fmt.constData() + 4);
            const auto align = qFromLittleEndian<quint16>(fmt.constData() + 12);
            const auto bits = qFromLittleEndian<quint16>(fmt.constData() + 14);
            formatOk = tag == 1 && (channels == 1 || channels == 2) && (bits == 8 || bits == 16)
                       && rate >= 8000 && rate <= 192000 && align == channels * bits / 8;
        } else if (header.startsWith("data")) {
            return formatOk && length > 0 && body + length <= size;
        }
        pos = body + length + (length & 1);
    }
    return false;
}

SoundEffectCuePlayer::SoundEffectCuePlayer() = default;

SoundEffectCuePlayer::~SoundEffectCuePlayer() { qDeleteAll(m_effects); }

QSoundEffect* SoundEffectCuePlayer::effectFor(const QString& path) const { return m_effects.value(path); }

void SoundEffectCuePlayer::stopAll()
{
    for (QSoundEffect* effect : std::as_const(m_effects))
        effect->stop();
}

void SoundEffectCuePlayer::playCue(const QString& file)
{
    stopAll();
    const QString path = findCue(file);
    if (path.isEmpty() || !isPlayableWav(path))
        return;
    QSoundEffect*& effect = m_effects[path];
    if (!effect) {
        effect = new QSoundEffect;
        effect->setSource(QUrl::fromLocalFile(path));
    }
    effect->play();
}
