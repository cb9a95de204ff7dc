// A key sender for tests: while it lives, keys are recorded instead of sent, and answered as told.
#pragma once

#include "platform/KeyInput.h"

#include <utility>
#include <vector>

class RecordingKeyInput {
public:
    RecordingKeyInput() {
        platform::setKeyInputSender([this](uint16_t virtualKey, bool up) {
            keys.emplace_back(virtualKey, up);
            return result;
        });
    }
    ~RecordingKeyInput() { platform::setKeyInputSender(nullptr); }
    RecordingKeyInput(const RecordingKeyInput&) = delete;
    RecordingKeyInput& operator=(const RecordingKeyInput&) = delete;

    // Every key sent, in order: its virtual key and whether it was the release.
    std::vector<std::pair<uint16_t, bool>> keys;
    platform::KeyInputResult result = platform::KeyInputResult::Sent;
};
