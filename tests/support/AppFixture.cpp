#include "support/AppFixture.h"

#include "app/CRegistrySettings.h"
#include "panes/CLogDialog.h"
#include "platform/StringTable.h"
#include "platform/TimerClock.h"
#include "res/StringTable.h"
#include "veyrasim.h"

#include <QCoreApplication>
#include <QDir>

void AppFixture::SetUp() {
    EnvironmentFixture::SetUp();
    m_host = std::make_unique<RecordingHost>();
    LoadWorld(WorldWithDongle());
}

void AppFixture::TearDown() {
    QCoreApplication::processEvents();
    m_host.reset();
    EnvironmentFixture::TearDown();
}

void AppFixture::LoadWorld(const std::string& json) {
    std::string error;
    ASSERT_TRUE(orv::sim::loadWorldJson(json, &error)) << error;
}

void AppFixture::Advance(uint64_t ms) {
    const uint64_t end = platform::TimerClock::now() + ms;
    for (;;) {
        QCoreApplication::processEvents();
        const auto due = platform::TimerClock::nextDueTime();
        if (!due || *due > end)
            break;
        platform::TimerClock::advanceTo(*due);
    }
    platform::TimerClock::advanceTo(end);
    QCoreApplication::processEvents();
}

std::string WorldWithDongle(const std::string& dongleJson, const std::string& extra) {
    return R"({"seed": 7, "dongle": )" + dongleJson + extra + "}";
}
