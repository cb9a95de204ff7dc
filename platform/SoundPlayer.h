// Sounds of the program's own resources, played without waiting, behind one replaceable player.
#pragma once

#include "platform/WinTypes.h"

#include <QString>

namespace platform {

class SoundPlayer {
public:
    virtual ~SoundPlayer();
    // Plays sound resource soundId once and returns at once; a sound still playing is replaced.
    virtual void play(UINT soundId) = 0;
    // Stops the sound playing, if any.
    virtual void stop() = 0;
};

// The player in use: the one a test installed, else the Qt Multimedia player, made on first use.
SoundPlayer& soundPlayer();
// Installs a player (not owned); nullptr restores the Qt Multimedia player.
void setSoundPlayer(SoundPlayer* replacement);

// The resource path of a sound id: ":/sounds/<id>.wav".
QString soundPath(UINT soundId);

} // namespace platform
