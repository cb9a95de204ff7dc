// Test environment for the application's windows on a recording host (no simulator behind it).
#pragma once

#include "support/EnvironmentFixture.h"
#include "support/RecordingHost.h"
#include "support/VirtualTime.h"

#include <memory>
#include <string>

class AppFixture : public EnvironmentFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // Loads a simulated world (its USB list, dongle and peers); fails the test on a malformed world.
    void LoadWorld(const std::string& json);
    // Delivers posted events and runs virtual timers up to ms from now.
    void Advance(uint64_t ms) { AdvanceVirtualTime(ms); }

    std::unique_ptr<RecordingHost> m_host;
};

// A world whose USB list holds the dongle (with its driver, not busy, unless dongleJson says otherwise).
std::string WorldWithDongle(const std::string& dongleJson = "{}");
