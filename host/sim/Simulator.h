// Simulated radio: the process-wide simulator (world, virtual clock, USB list, listeners, bond store).
#pragma once

#include "AttServer.h"
#include "BondStore.h"
#include "Scheduler.h"
#include "World.h"
#include "peers/PeerModel.h"
#include "veyrasim.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace orv::sim {

class SimController;

// Runs on the thread that drives the virtual clock. Listener calls and scripted events happen only
// from scheduled actions, never inside the call that caused them.
class Simulator {
public:
    static Simulator& instance();

    bool loadWorld(const std::string& json, std::string* error);
    const World& world() const { return m_world; }
    Scheduler& scheduler() { return m_scheduler; }
    // The wall clock read when a world is loaded (see setWallClock in veyrasim.h), and that reading:
    // the date of the scheduler's time 0 in milliseconds since 1970 UTC.
    void setWallClock(std::function<int64_t()> clock) { m_wallClock = std::move(clock); }
    int64_t startDateMs() const { return m_startDateMs; }
    std::mt19937& random() { return m_random; }
    BondStore& bondStore() { return m_bonds; }

    // USB presence of the dongle and of the world's other devices.
    bool donglePresent() const { return m_donglePresent; }
    std::vector<UsbDeviceDescription> presentUsbDevices() const;
    uint32_t openUsbInterface(const std::string& path) const;

    void setDeviceChangeListener(std::function<void(uint32_t)> listener);
    void setPowerListener(std::function<void(uint32_t)> listener);

    void unplugDongle();
    void unplugUsbDevice(const std::string& interfacePath);
    void reportPower(uint32_t powerEvent);
    void injectHostError(uint32_t code);

    bool pairedListFails() const { return m_pairedListFails; }
    void setPairedListFails(bool fails) { m_pairedListFails = fails; }

    // What a world peer keeps while the world runs: its name (a Device Name write renames it), whether
    // it has forgotten its bond with the dongle (Bond Management) and whether that bond came from a
    // man-in-the-middle protected pairing; a security result a test wants its next pairing to end with;
    // and whether a test wants its control points to leave requests unanswered or to fail them.
    struct PeerState {
        std::optional<std::string> name;
        bool bondForgotten = false;
        bool bondAuthenticated = false;
        std::optional<uint16_t> injectedSecurityResult;
        bool controlPointsUnanswered = false;
        bool controlPointsFailing = false;
        std::optional<int8_t> rssi; // set by a test: every RSSI read reports it
        std::vector<PeerWrite> recordedWrites;
    };
    PeerState& peerState(size_t index) { return m_peerStates.at(index); }

    // The ATT server of each world peer (same order as world().peers); its state lasts until the
    // world is replaced.
    AttServer& peerServer(size_t index) { return m_peerServers.at(index); }
    // PDUs the host sent to the peer other than requests to its database (responses and notifications
    // of the host's own server, confirmations of the peer's indications), oldest first.
    std::vector<std::vector<uint8_t>>& peerReceived(size_t index) { return m_peerReceived.at(index); }
    // What each peer received as a client of the host's database (takePeerClientValues).
    std::vector<PeerClientValue>& peerClientValues(size_t index) { return m_peerClientValues.at(index); }
    // Index of the world peer with that address text, whatever its address type.
    std::optional<size_t> peerByText(const std::string& address) const;
    void peerDisconnects(const BleTypedAddress& address, uint8_t reason);
    // What an RSSI read of the peer's link reports now: a test's value, else its model's, else a draw
    // from its world entry's RSSI model.
    int8_t peerRssi(size_t index);
    // The link layer tells the peer's behaviour model that its link came up or went away, that it
    // is encrypted, and what the host sent it as a client of the host's database.
    void peerLinked(size_t index, bool linked);
    void peerEncrypted(size_t index);
    void peerClientReceives(size_t index, std::span<const uint8_t> pdu);

    // The controller opened by the host core, if any (one at a time).
    SimController* controller() const { return m_controller; }
    void setController(SimController* controller) { m_controller = controller; }

    static const std::string kDongleInterfacePath;

private:
    Simulator();
    void startWorld(World world);
    void scheduleScriptedEvent(const ScriptedEvent& event);
    UsbDeviceDescription dongleDevice() const;
    void onPeerWrite(size_t index, const PeerAttribute& attribute);

    World m_world;
    Scheduler m_scheduler;
    std::function<int64_t()> m_wallClock;
    int64_t m_startDateMs = 0;
    std::mt19937 m_random;
    BondStore m_bonds;
    bool m_donglePresent = true;
    std::vector<UsbDeviceDescription> m_otherUsb;
    std::function<void(uint32_t)> m_deviceChange;
    std::function<void(uint32_t)> m_power;
    bool m_pairedListFails = false;
    SimController* m_controller = nullptr;
    std::vector<AttServer> m_peerServers;
    std::vector<std::unique_ptr<PeerModel>> m_peerModels; // null for kinds without behaviour
    std::vector<PeerState> m_peerStates;
    std::vector<std::vector<std::vector<uint8_t>>> m_peerReceived;
    std::vector<std::vector<PeerClientValue>> m_peerClientValues;
};

} // namespace orv::sim
