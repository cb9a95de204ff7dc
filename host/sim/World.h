// Simulated radio: the world description (dongle, other USB devices, peers, scripted events).
#pragma once

#include "veyrahost.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orv::sim {

// How the dongle's start-up ends.
enum class StartupOutcome { Up, Failed, Error };

struct DongleDescription {
    bool present = true;
    bool driver = true;
    bool busy = false;
    bool initFails = false;     // OrvBleHostInit returns 0
    bool startWndFails = false; // OrvBleHostStartWnd returns 0
    StartupOutcome startup = StartupOutcome::Up;
    uint32_t startupError = 1; // host error code posted with StartupOutcome::Error
    uint64_t startupDelayMs = 300;
};

struct UsbDeviceDescription {
    std::vector<std::string> hardwareIds;
    std::string service;
    std::string interfacePath;
};

// Reported RSSI is mean plus a uniform integer in [-jitter, jitter].
struct RssiModel {
    int mean = -60;
    int jitter = 4;
};

// What the link must offer before an attribute may be read or written: ATT 0x0F (insufficient
// encryption) until it is encrypted, ATT 0x05 (insufficient authentication) until it is encrypted with
// a key from a man-in-the-middle protected pairing.
enum class PeerSecurity { None, Encryption, Mitm };

// What the simulated user of a peer that takes a passkey does when the host shows one.
enum class PasskeyBehaviour { Right, Wrong, None };

struct GattDescriptorDescription {
    BleUuid uuid{};
    std::vector<uint8_t> value;
};

// A characteristic of a peer. readError and writeError (ATT error codes) answer every read or write
// of its value; a silent characteristic never answers (the client's transaction times out).
struct GattCharacteristicDescription {
    BleUuid uuid{};
    uint8_t properties = kPropertyRead;
    std::vector<uint8_t> value;
    std::vector<GattDescriptorDescription>
        descriptors; // a configuration descriptor is added for notify/indicate
    uint8_t readError = 0;
    uint8_t writeError = 0;
    bool silent = false;
    std::optional<PeerSecurity> security; // unset: the peer's own need; also guards the descriptors
};

struct GattServiceDescription {
    BleUuid uuid{};
    std::vector<GattCharacteristicDescription> characteristics;
};

// Parameters the peer asks for, afterMs after each connection.
struct ParameterRequestDescription {
    uint64_t afterMs = 0;
    uint16_t intervalMin = 0;
    uint16_t intervalMax = 0;
    uint16_t slaveLatency = 0;
    uint16_t supervisionTimeout = 0;
};

struct PeerDescription {
    std::string kind; // behaviour of the peer, e.g. "heartRate"; free text for plain advertisers
    BleTypedAddress address{};
    std::optional<std::string> name;
    std::optional<int8_t> txPower;
    std::optional<uint16_t> appearance;
    std::optional<std::pair<uint16_t, uint16_t>> slaveInterval;
    uint8_t adFlags = 0x06;
    uint32_t advIntervalMs = 100;
    RssiModel rssi;
    bool connectable = true;
    bool advertising = true;
    bool bonded = false;                        // seeds the bond store when no bond file exists
    PeerSecurity security = PeerSecurity::None; // for every characteristic that does not set its own
    bool passkeyInput = false;                  // can take a passkey (has a keyboard)
    PasskeyBehaviour passkey = PasskeyBehaviour::Right;
    std::vector<GattServiceDescription> gatt;
    std::optional<ParameterRequestDescription> parameterRequest;
};

enum class ScriptedAction { UnplugDongle, UnplugUsb, Suspend, Resume, HostError, Disconnect };

struct ScriptedEvent {
    uint64_t at = 0;
    ScriptedAction action = ScriptedAction::Suspend;
    std::string interfacePath; // UnplugUsb
    uint32_t code = 0;         // HostError; the HCI reason of Disconnect
    BleTypedAddress address{}; // Disconnect: the peer that drops the link
};

struct World {
    uint32_t seed = 1;
    DongleDescription dongle;
    std::vector<UsbDeviceDescription> otherUsbDevices;
    std::vector<PeerDescription> peers;
    std::vector<ScriptedEvent> events;
    uint64_t searchDurationMs = 0; // 0: a search runs until it is stopped
};

} // namespace orv::sim
