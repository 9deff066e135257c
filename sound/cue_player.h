#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>

class QSoundEffect;

// Plays the short WAV cues. Every cue closes the one before it, so a new
// cue replaces one still playing; nothing waits for a sound to end and no
// failure is ever reported.
class CuePlayer {
public:
    virtual ~CuePlayer() = default;
    // `file` is a bare name such as "pinpon.wav".
    virtual void playCue(const QString& file) = 0;
};

// Where a cue's bare name is looked for: the current folder first (a WAV
// put beside the pupil's work wins), then the program's data folders.
QStringList cueSearchFolders();
// The first readable file of that name in those folders, or empty.
QString findCue(const QString& file);

// Whether `path` is a WAV the player can take: a RIFF/WAVE file with a PCM
// format of 8 or 16 bits, 1 or 2 channels, and a data chunk that lies
// within the file. A missing, empty, truncated or lying file is not, and
// such a cue stays silent.
bool isPlayableWav(const QString& path);

class SoundEffectCuePlayer final : public CuePlayer {
public:
    SoundEffectCuePlayer();
    ~SoundEffectCuePlayer() override;
    void playCue(const QString& file) override;

    // The effect that holds `file`'s path, if one was made; for tests.
    QSoundEffect* effectFor(const QString& path) const;

private:
    void stopAll();
    QHash<QString, QSoundEffect*> m_effects; // by resolved path, owned
};
