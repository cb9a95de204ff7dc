// Test environment for the application's windows on a recording host (no simulator behind it).
#pragma once

#include "support/EnvironmentFixture.h"
#include "support/RecordingHost.h"

#include <memory>
#include <string>

class AppFixture : public EnvironmentFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    std::unique_ptr<RecordingHost> m_host;
};

// A world whose USB list holds the dongle (with its driver, not busy, unless dongleJson says otherwise).
std::string WorldWithDongle(const std::string& dongleJson = "{}");
