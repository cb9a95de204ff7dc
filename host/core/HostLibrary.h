// Host: the library's state, its requests to the controller and the events it posts for the answers.
#pragma once

#include "BtsnoopWriter.h"
#include "ControllerPort.h"
#include "EventPoster.h"
#include "LinkManager.h"
#include "LocalGattServer.h"
#include "RecordRegistry.h"
#include "ServerDatabase.h"
#include "veyrahost.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_set>

namespace orv::host {

// The C API checks its arguments and calls in here. Calls come from one thread, the one that also
// drives the controller's event queue.
class HostLibrary : private HostPort {
public:
    enum class State { Closed, Initialised, Starting, Up, Down };

    static HostLibrary& instance();

    State state() const { return m_state; }
    bool initialised() const { return m_state != State::Closed; }
    // Requests that need the running host: ORV_BLE_OK, or why they cannot be made now.
    OrvBleResult readiness() const;

    void setPlatform(const OrvBleHostPlatform& platform) { m_poster.setPlatform(platform); }
    // Where debug output goes ("veyrahost.log" and "veyrahost.btsnoop"); the working directory by default.
    void setDebugDirectory(const std::string& directory) { m_debugDirectory = directory; }
    uint32_t init(bool debug);
    bool startWindow(OrvHwnd window);
    void deinit();
    void freeMessage(uint32_t code, intptr_t lParam);
    const RecordRegistry& records() const { return m_records; }

    OrvBleResult startSearch();
    OrvBleResult stopSearch();

    bool pairedDevices(uint16_t* count, BleHostPairedDevice** array);
    void freePairedDevices(BleHostPairedDevice* array);
    OrvBleResult updatePairedDevice(const BleHostPairedDevice& device);
    OrvBleResult removeBond(const BleTypedAddress& address);

    // Connections and GATT client requests, once the host is up.
    LinkManager& links() { return m_links; }
    GattClient* client(uint32_t cid) { return m_links.client(cid); }
    LocalGattServer& server() { return m_server; }

    OrvBleResult allocateServerDatabase(uint16_t attributeCount);
    OrvBleResult addServerDatabase(uint16_t databaseId, uint16_t serviceCount,
                                   BleServerServiceRecord* services);

private:
    enum class Search { Idle, Running, Stopping };

    HostLibrary() = default;

    void onStarted(const StartResult& result) override;
    void onHardwareError(uint32_t code) override;
    void onAdvertisingReport(const AdvertisingReport& report) override;
    void onScanEnded(uint16_t status) override;
    void onBondRemoved(uint16_t status, const BleTypedAddress& address) override;
    void onDatabaseAllocated(uint16_t status, uint16_t databaseId) override;
    void onDatabaseAdded(uint16_t status) override;
    void onConnectionDefaultsSet(uint16_t status) override { m_links.onDefaultsSet(status); }
    void onConnectOutcome(ConnectOutcome outcome, uint16_t handle, const LinkParameters& /*link*/) override {
        m_links.onConnectOutcome(outcome, handle);
    }
    void onDisconnected(uint16_t handle, uint8_t reason) override { m_links.onDisconnected(handle, reason); }
    void onConnectionUpdated(uint16_t handle, uint16_t status,
                             const ConnectionParameters& parameters) override {
        m_links.onUpdated(handle, status, parameters);
    }
    void onParameterRequest(uint16_t handle, uint8_t identifier,
                            const ConnectionParameters& parameters) override {
        m_links.onParameterRequest(handle, identifier, parameters);
    }
    void onRssiRead(uint16_t handle, uint16_t status, int8_t rssi) override {
        m_links.onRssiRead(handle, status, rssi);
    }
    void onPairingMethod(uint16_t handle, PairingMethod method, uint32_t passkey) override {
        m_links.onPairingMethod(handle, method, passkey);
    }
    void onPairingComplete(uint16_t handle, uint16_t status) override {
        m_links.onPairingComplete(handle, status);
    }
    void onEncryptionChanged(uint16_t handle, uint8_t status, bool authenticated) override {
        m_links.onEncryptionChanged(handle, status, authenticated);
    }
    void onAttPdu(uint16_t handle, const std::vector<uint8_t>& pdu) override {
        m_links.onAttPdu(handle, pdu);
    }
    void onAttSent(uint16_t handle) override { m_links.onAttSent(handle); }
    void onTimer(uint32_t timerId) override { m_links.onTimer(timerId); }

    static bool isPlainValueCode(uint32_t code);
    void openDebugOutput();
    void closeDebugOutput();

    RecordRegistry m_records;
    EventPoster m_poster{m_records};
    ServerDatabase m_database; // kept across de-initialisation
    LocalGattServer m_server{m_database, m_poster};
    LinkManager m_links{m_poster, m_server};
    std::unique_ptr<ControllerPort> m_controller;
    State m_state = State::Closed;
    uint32_t m_messageId = 0;
    std::string m_debugDirectory = ".";
    BtsnoopWriter m_snoop;
    Search m_search = Search::Idle;
    bool m_databaseAddPending = false; // an add the application asked for, answered by event 513
    std::unordered_set<const BleHostPairedDevice*> m_pairedArrays;
};

} // namespace orv::host
