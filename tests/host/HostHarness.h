// Test support: a recording platform for the host library and a world builder.
#pragma once

#include "veyrahost.h"
#include "veyrasim.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orv::host::test {

using Bytes = std::vector<uint8_t>;

struct PostedEvent {
    uint32_t message;
    uint32_t code;
    intptr_t lParam;
    uint64_t at; // virtual time of the post
};

template <typename Record> const Record& record(const PostedEvent& event) {
    return *reinterpret_cast<const Record*>(event.lParam);
}

struct ReadResult {
    uint16_t status = 0xFFFF; // 0xFFFF: no result came
    Bytes value;
    bool operator==(const ReadResult&) const = default;
};

// What receive() lists: a value the peer sent or a write's result (handle 0, its status as the one
// byte).
struct Received {
    uint16_t handle;
    Bytes value;
    uint64_t at = 0; // virtual time of the post; not compared
    bool operator==(const Received& other) const { return handle == other.handle && value == other.value; }
};
void PrintTo(const Received& received, std::ostream* out);

// Installs a platform that records every posted message. One instance at a time.
class HostHarness {
public:
    HostHarness();
    ~HostHarness();
    HostHarness(const HostHarness&) = delete;
    HostHarness& operator=(const HostHarness&) = delete;

    // Loads the world (fails the test on a rejected world) and points the bond store at a
    // fresh temporary file.
    void load(const nlohmann::json& world);
    // OrvBleHostInit + OrvBleHostStartWnd + advance past the start-up; asserts event 0 with success.
    void startHost(bool debug = false);

    // Gives the queued records back, de-initialises, then load + startHost.
    void start(const nlohmann::json& world);
    // start + connect: the connection id.
    uint32_t startConnected(const nlohmann::json& world, const std::string& address, uint8_t type = 0);
    // The connected-world fixture: OrvBleHostConnect, advance until the connect event, assert
    // success; returns the connection id. Other events stay queued.
    uint32_t connect(const std::string& address, uint8_t type = 0);
    // Advances until an event with that code is posted (at most maxMs) and returns it; the events
    // before it stay queued.
    std::optional<PostedEvent> advanceUntil(uint32_t code, uint64_t maxMs = 60000);

    // A read of handle and its result; every queued record is given back afterwards.
    ReadResult read(uint32_t cid, uint16_t handle);
    // A write request, its result left to come.
    static void send(uint32_t cid, uint16_t handle, const Bytes& value);
    // A write request and the status of its result (0xFFFF: none came); queued records are given back.
    uint16_t write(uint32_t cid, uint16_t handle, const Bytes& value);
    // A configuration write and the status of its result (0xFFFF: none came); queued records are
    // given back.
    uint16_t configure(uint32_t cid, uint16_t descriptor, uint32_t value);
    // Advances ms and lists what arrived meanwhile, with what was queued; every record is given back.
    std::vector<Received> receive(uint64_t ms);
    // Encryption at level 1 answered as Just Works; advances until the security result.
    void pairJustWorks(uint32_t cid, const std::string& address);
    // Drops the link from the host side and connects again; returns the new connection id.
    uint32_t reconnect(uint32_t cid, const std::string& address);
    // Codes of the queued events, in order.
    std::vector<uint32_t> codes() const;
    // Gives every queued record back.
    void freeQueued();
    std::vector<PostedEvent> takeEvents();
    std::vector<PostedEvent> eventsWithCode(uint32_t code) const;

    // The paired-device list (the call must succeed), given back.
    static std::vector<BleHostPairedDevice> pairedDevices();
    std::string bondPath() const { return m_bondPath; }
    // Installs the recording platform (the constructor does).
    static void installPlatform();
    static OrvHwnd window() { return reinterpret_cast<OrvHwnd>(0x1234); }

    static int postResult; // what postMessage returns (1 accepted, 0 window gone)
    static uint32_t registerResult;
    static std::vector<PostedEvent> posted;

private:
    // The status of the write result for handle (0xFFFF: none came); queued records are given back.
    uint16_t writeStatus(uint16_t handle);

    std::string m_bondPath;
};

// A test against the host library; by its end every record handed out has been given back.
class HostTest : public ::testing::Test {
protected:
    void TearDown() override {
        harness.freeQueued();
        EXPECT_EQ(orv::sim::liveRecordCount(), 0u);
    }
    HostHarness harness;
    uint32_t cid = 0;
};

// A minimal world: a dongle that starts in 300 ms and no peers.
nlohmann::json basicWorld();
// The world the application starts with.
nlohmann::json builtInWorld();
// basicWorld with one peer of a simulated kind at address; fields adds or replaces its members.
nlohmann::json peerWorld(const std::string& kind, const std::string& address,
                         const nlohmann::json& fields = nlohmann::json::object());
// basicWorld with one generic peer "AA:BB:CC:DD:EE:01" and the GATT database described in
// HostHarness.cpp (handles listed there).
nlohmann::json gattWorld();
BleTypedAddress addressOf(const std::string& text, uint8_t type = 0);

} // namespace orv::host::test
