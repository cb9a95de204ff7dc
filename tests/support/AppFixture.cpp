#include "support/AppFixture.h"

#include <QCoreApplication>

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

std::string WorldWithDongle(const std::string& dongleJson) {
    return R"({"seed": 7, "dongle": )" + dongleJson + "}";
}
