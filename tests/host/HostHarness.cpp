// Test support: a recording platform for the host library and a world builder.
#include "HostHarness.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace orv::host::test {

int HostHarness::postResult = 1;
uint32_t HostHarness::registerResult = 0xC123;
std::vector<PostedEvent> HostHarness::posted;

namespace {

uint32_t recordRegister(const char* name) {
    return std::string(name) == "VeyraHostEvent" ? HostHarness::registerResult : 0;
}

int recordPost(OrvHwnd, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    HostHarness::posted.push_back({message, static_cast<uint32_t>(wParam), lParam, orv::sim::now()});
    return HostHarness::postResult;
}

std::string freshBondPath() {
    static int counter = 0;
    const auto dir = std::filesystem::temp_directory_path() /
                     ("veyrahost-test-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
    std::filesystem::remove_all(dir);
    return (dir / "bonds.json").string();
}

} // namespace

nlohmann::json basicWorld() {
    return {{"seed", 7}, {"dongle", {{"startupDelayMs", 300}}}, {"peers", nlohmann::json::array()}};
}

HostHarness::HostHarness() {
    postResult = 1;
    registerResult = 0xC123;
    posted.clear();
    const OrvBleHostPlatform platform{recordRegister, recordPost};
    OrvBleHostSetPlatform(&platform);
}

HostHarness::~HostHarness() {
    OrvBleHostDeinit();
    orv::sim::setDeviceChangeListener(nullptr);
    orv::sim::setPowerListener(nullptr);
    orv::sim::setBondStorePath({});
    std::filesystem::remove_all(std::filesystem::path(m_bondPath).parent_path());
    posted.clear();
}

void HostHarness::load(const nlohmann::json& world) {
    std::string error;
    ASSERT_TRUE(orv::sim::loadWorldJson(world.dump(), &error)) << error;
    m_bondPath = freshBondPath();
    orv::sim::setBondStorePath(m_bondPath);
}

void HostHarness::startHost() {
    const OrvBleHostInitParams params{};
    ASSERT_NE(OrvBleHostInit(0, 0, &params), 0u);
    ASSERT_EQ(OrvBleHostStartWnd(window()), 1);
    orv::sim::advance(1000);
    auto events = takeEvents();
    ASSERT_EQ(events.size(), 1u);
    ASSERT_EQ(events[0].code, static_cast<uint32_t>(BLE_EVT_HOST_STARTED));
    ASSERT_EQ(events[0].lParam, 1);
}

std::vector<PostedEvent> HostHarness::takeEvents() {
    std::vector<PostedEvent> events;
    events.swap(posted);
    return events;
}

void HostHarness::freeAll(const std::vector<PostedEvent>& events) {
    for (const PostedEvent& event : events) {
        OrvBleHostFreeMessageContents(event.code, event.lParam);
    }
}

std::vector<PostedEvent> HostHarness::eventsWithCode(uint32_t code) const {
    std::vector<PostedEvent> out;
    for (const PostedEvent& event : posted) {
        if (event.code == code) {
            out.push_back(event);
        }
    }
    return out;
}

} // namespace orv::host::test
