#include "recording_player.h"

void RecordingPlayer::playCue(const QString& file, bool stopFirst)
{
    calls << (stopFirst ? file + QStringLiteral(" (stop first)") : file);
    if (onPlay)
        onPlay(file);
}
