#pragma once

#include "cue_player.h"

#include <functional>

// Records the cues a window asks for instead of playing them.
class RecordingPlayer : public CuePlayer {
public:
    void playCue(const QString& file) override
    {
        calls << file;
        if (onPlay)
            onPlay(file);
    }

    QStringList calls;
    // Runs inside playCue, to look at the window at the moment of the cue.
    std::function<void(const QString& file)> onPlay;
};
