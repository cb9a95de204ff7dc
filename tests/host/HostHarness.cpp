// Test support: a recording platform for the host library and a world builder.
#include "HostHarness.h"

#include <gtest/gtest.h>

#include <cstdio>
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

nlohmann::json builtInWorld() {
    return nlohmann::json::parse(orv::sim::builtInWorldJson());
}

nlohmann::json peerWorld(const std::string& kind, const std::string& address, const nlohmann::json& fields) {
    nlohmann::json peer = {{"kind", kind}, {"address", address}};
    peer.update(fields);
    nlohmann::json world = basicWorld();
    world["peers"].push_back(peer);
    return world;
}

void PrintTo(const Received& received, std::ostream* out) {
    *out << received.handle << ":" << testing::PrintToString(received.value);
}

// Handles: 1 Generic Access (to 3): 3 Device Name (read, write);
// 4 Heart Rate (to 11): 6 Measurement (notify) with 7 its configuration, 9 Body Sensor Location
// (read, answers 01), 11 Control Point (write; refuses reads with 0x81, writes with 0x80);
// 12 vendor service (to 17): 14 vendor value (read, write without response, write, indicate; 60 bytes)
// with 15 its configuration, 16 user description, 17 a 128-bit vendor descriptor.
nlohmann::json gattWorld() {
    nlohmann::json world = basicWorld();
    world["peers"] = nlohmann::json::parse(R"([{"address": "AA:BB:CC:DD:EE:01", "name": "Generic",
      "advIntervalMs": 100, "gatt": [
        {"uuid": "1800", "characteristics": [{"uuid": "2A00", "properties": ["read", "write"], "text": "Generic Peer"}]},
        {"uuid": "180D", "characteristics": [
          {"uuid": "2A37", "properties": ["notify"], "value": "0048"},
          {"uuid": "2A38", "properties": ["read"], "value": "01"},
          {"uuid": "2A39", "properties": ["write"], "readError": 129, "writeError": 128}]},
        {"uuid": "0000fff0-4b7e-11e2-8c3a-5f8c2e10b7d4", "characteristics": [
          {"uuid": "0000fff1-4b7e-11e2-8c3a-5f8c2e10b7d4",
           "properties": ["read", "writeWithoutResponse", "write", "indicate"], "text": ")" +
                                           std::string(60, 'L') + R"(", "descriptors": [
            {"uuid": "2901", "text": "Vendor"}, {"uuid": "0000fff9-4b7e-11e2-8c3a-5f8c2e10b7d4", "value": "00"}]}]}]}])");
    return world;
}

BleTypedAddress addressOf(const std::string& text, uint8_t type) {
    BleTypedAddress address{};
    address.type = type;
    unsigned b[6] = {};
    std::sscanf(text.c_str(), "%x:%x:%x:%x:%x:%x", &b[0], &b[1], &b[2], &b[3], &b[4], &b[5]);
    address.nap = static_cast<uint16_t>(b[0] << 8 | b[1]);
    address.uap = static_cast<uint8_t>(b[2]);
    address.lap = b[3] << 16 | b[4] << 8 | b[5];
    return address;
}

HostHarness::HostHarness() {
    postResult = 1;
    registerResult = 0xC123;
    posted.clear();
    installPlatform();
}

void HostHarness::installPlatform() {
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

void HostHarness::startHost(bool debug) {
    const OrvBleHostInitParams params{};
    ASSERT_NE(OrvBleHostInit(debug ? 1 : 0, 0, &params), 0u);
    ASSERT_EQ(OrvBleHostStartWnd(window()), 1);
    orv::sim::advance(1000);
    auto events = takeEvents();
    ASSERT_EQ(events.size(), 1u);
    ASSERT_EQ(events[0].code, static_cast<uint32_t>(BLE_EVT_HOST_STARTED));
    ASSERT_EQ(events[0].lParam, 1);
}

void HostHarness::start(const nlohmann::json& world) {
    freeQueued();
    OrvBleHostDeinit();
    load(world);
    startHost();
}

uint32_t HostHarness::startConnected(const nlohmann::json& world, const std::string& address, uint8_t type) {
    start(world);
    return connect(address, type);
}

ReadResult HostHarness::read(uint32_t cid, uint16_t handle) {
    EXPECT_EQ(OrvBleClientReadCharByHandle(cid, handle), ORV_BLE_OK);
    ReadResult result;
    if (const auto event = advanceUntil(BLE_EVT_CHAR_READ, 40000)) {
        const auto& read = record<BleHostReadEvent>(*event);
        EXPECT_EQ(read.handle, handle);
        result = {read.status, Bytes(read.value, read.value + read.length)};
    }
    freeQueued();
    return result;
}

void HostHarness::send(uint32_t cid, uint16_t handle, const Bytes& value) {
    EXPECT_EQ(
        OrvBleClientWriteCfmCharByHandle(cid, handle, 0, static_cast<uint8_t>(value.size()), value.data()),
        ORV_BLE_OK);
}

uint16_t HostHarness::write(uint32_t cid, uint16_t handle, const Bytes& value) {
    send(cid, handle, value);
    return writeStatus(handle);
}

uint16_t HostHarness::configure(uint32_t cid, uint16_t descriptor, uint32_t value) {
    EXPECT_EQ(OrvBleClientWriteConfiguration(cid, descriptor, 0, value), ORV_BLE_OK);
    return writeStatus(descriptor);
}

uint16_t HostHarness::writeStatus(uint16_t handle) {
    uint16_t status = 0xFFFF;
    if (const auto event = advanceUntil(BLE_EVT_CHAR_WRITTEN, 40000)) {
        EXPECT_EQ(record<BleHostWriteEvent>(*event).handle, handle);
        status = record<BleHostWriteEvent>(*event).status;
    }
    freeQueued();
    return status;
}

std::vector<Received> HostHarness::receive(uint64_t ms) {
    orv::sim::advance(ms);
    std::vector<Received> received;
    for (const PostedEvent& event : posted) {
        if (event.code == BLE_EVT_NOTIFICATION) {
            const auto& n = record<BleHostNotificationEvent>(event);
            received.push_back({n.handle, Bytes(n.value, n.value + n.length), event.at});
        } else if (event.code == BLE_EVT_CHAR_WRITTEN) {
            received.push_back(
                {0, {static_cast<uint8_t>(record<BleHostWriteEvent>(event).status)}, event.at});
        }
    }
    freeQueued();
    return received;
}

void HostHarness::pairJustWorks(uint32_t cid, const std::string& address) {
    ASSERT_EQ(OrvBleHostSetEncryption(cid, 1), ORV_BLE_OK);
    ASSERT_TRUE(advanceUntil(BLE_EVT_JUST_WORKS_REQUEST));
    ASSERT_EQ(OrvBleHostJustWorksResult(addressOf(address), 1, 1), ORV_BLE_OK);
    ASSERT_TRUE(advanceUntil(BLE_EVT_SECURITY_RESULT));
    orv::sim::advance(1000);
}

uint32_t HostHarness::reconnect(uint32_t cid, const std::string& address) {
    EXPECT_EQ(OrvBleHostDisconnect(cid), ORV_BLE_OK);
    EXPECT_TRUE(advanceUntil(BLE_EVT_DISCONNECTED));
    freeQueued();
    return connect(address);
}

std::vector<BleHostPairedDevice> HostHarness::pairedDevices() {
    uint16_t count = 0;
    BleHostPairedDevice* array = nullptr;
    EXPECT_EQ(OrvBleHostGetPairedDeviceList(&count, &array), 1);
    std::vector<BleHostPairedDevice> devices(array, array + count);
    OrvBleHostFreePairedDeviceList(array);
    return devices;
}

std::vector<uint32_t> HostHarness::codes() const {
    std::vector<uint32_t> out;
    for (const PostedEvent& event : posted) {
        out.push_back(event.code);
    }
    return out;
}

uint32_t HostHarness::connect(const std::string& address, uint8_t type) {
    EXPECT_EQ(OrvBleHostConnect(addressOf(address, type)), ORV_BLE_OK);
    const auto event = advanceUntil(BLE_EVT_CONNECT_RESULT, 10000);
    if (!event) {
        ADD_FAILURE() << "no connect event";
        return 0;
    }
    const auto* record = reinterpret_cast<const BleHostConnectEvent*>(event->lParam);
    EXPECT_EQ(record->status, 0);
    const uint32_t cid = record->cid;
    std::erase_if(posted, [&](const PostedEvent& e) { return e.lParam == event->lParam; });
    OrvBleHostFreeMessageContents(event->code, event->lParam);
    return cid;
}

std::optional<PostedEvent> HostHarness::advanceUntil(uint32_t code, uint64_t maxMs) {
    const uint64_t end = orv::sim::now() + maxMs;
    while (true) {
        for (const PostedEvent& event : posted) {
            if (event.code == code) {
                return event;
            }
        }
        const auto due = orv::sim::nextDueTime();
        if (!due || *due > end) {
            orv::sim::advanceTo(end);
            return std::nullopt;
        }
        orv::sim::advanceTo(*due);
    }
}

std::vector<PostedEvent> HostHarness::takeEvents() {
    std::vector<PostedEvent> events;
    events.swap(posted);
    return events;
}

void HostHarness::freeQueued() {
    for (const PostedEvent& event : takeEvents()) {
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
