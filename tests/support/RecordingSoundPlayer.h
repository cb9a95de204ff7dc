// A sound player for tests: while it lives, what would be played or stopped is recorded instead.
#pragma once

#include "platform/SoundPlayer.h"

#include <vector>

class RecordingSoundPlayer : public platform::SoundPlayer {
public:
    RecordingSoundPlayer() { platform::setSoundPlayer(this); }
    ~RecordingSoundPlayer() override { platform::setSoundPlayer(nullptr); }
    RecordingSoundPlayer(const RecordingSoundPlayer&) = delete;
    RecordingSoundPlayer& operator=(const RecordingSoundPlayer&) = delete;

    void play(UINT soundId) override { played.push_back(soundId); }
    void stop() override { ++stops; }

    std::vector<UINT> played;
    int stops = 0;
};
