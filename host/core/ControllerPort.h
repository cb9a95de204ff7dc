// Host-controller seam: the controller operations the host core asks for and the deliveries it gets back.
//
// The core never learns what sits below this seam. Every delivery through HostPort comes from the
// controller's own event queue, never from inside a ControllerPort call, so deliveries are ordered and
// never re-entrant.
#pragma once

#include "veyrahost.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orv::host {

// Outcome of the controller's start-up: up, failed (no error code) or failed with a host error code.
struct StartResult {
    bool up = false;
    uint32_t errorCode = 0; // non-zero: report as host error instead of a start-up result
};

// One advertising report as the controller parsed it.
struct AdvertisingReport {
    BleTypedAddress address{};
    int8_t rssi = 0;
    uint8_t adFlags = 0;
    std::optional<std::string> name; // UTF-8; absent when the advertiser sends no name
    std::optional<int8_t> txPower;
    std::optional<uint16_t> appearance;
    std::optional<std::pair<uint16_t, uint16_t>> slaveInterval;
};

// Connection parameters in the units of the Bluetooth Core: intervals of 1.25 ms, timeout of 10 ms.
struct ConnectionParameters {
    uint16_t intervalMin = 0;
    uint16_t intervalMax = 0;
    uint16_t slaveLatency = 0;
    uint16_t supervisionTimeout = 0;
};

// What an established link runs at, as the controller reports it when the link comes up: the interval it
// chose within the range asked for (1.25 ms units), the slave latency and the supervision timeout (10 ms).
struct LinkParameters {
    uint16_t interval = 0;
    uint16_t slaveLatency = 0;
    uint16_t supervisionTimeout = 0;
};

enum class ConnectOutcome { Connected, Failed, Cancelled };

// How the controller's security manager pairs, chosen from what both sides can do: a passkey shown by
// the host and typed on the peer when man-in-the-middle protection is asked and the peer has a keyboard.
enum class PairingMethod { JustWorks, PasskeyDisplay };

// One bond kept in the controller's non-volatile store.
struct BondEntry {
    BleTypedAddress address{};
    std::string name; // UTF-8, any length
    uint16_t appearance = 0;
};

// One characteristic of the local GATT database after registration.
struct LocalCharacteristic {
    BleUuid uuid{};
    uint8_t properties = 0;
    uint16_t permissions = 0;
    uint16_t valueHandle = 0;
    uint16_t configHandle = 0; // 0 without the notify or indicate property
    std::vector<uint8_t> value;
};

struct LocalService {
    BleUuid uuid{};
    uint16_t startHandle = 0;
    uint16_t endHandle = 0;
    std::vector<LocalCharacteristic> characteristics;
};

// Deliveries from the controller to the host core.
class HostPort {
public:
    virtual void onStarted(const StartResult& result) = 0;
    // The controller failed or was lost; code as reported in host error events.
    virtual void onHardwareError(uint32_t code) = 0;
    virtual void onAdvertisingReport(const AdvertisingReport& report) = 0;
    virtual void onScanEnded(uint16_t status) = 0;
    // Answer to removeBond: 0, or 1 when no bond had that address.
    virtual void onBondRemoved(uint16_t status, const BleTypedAddress& address) = 0;
    virtual void onDatabaseAllocated(uint16_t status, uint16_t databaseId) = 0;
    virtual void onDatabaseAdded(uint16_t status) = 0;

    // Answer to setConnectionDefaults; status is an HCI error code (0x12: invalid parameters).
    virtual void onConnectionDefaultsSet(uint16_t status) = 0;
    // Outcome of connect; handle and link are valid only with ConnectOutcome::Connected.
    virtual void onConnectOutcome(ConnectOutcome outcome, uint16_t handle, const LinkParameters& link) = 0;
    virtual void onDisconnected(uint16_t handle, uint8_t reason) = 0;
    // Outcome of a parameter change asked for by either side; status is an HCI error code.
    virtual void onConnectionUpdated(uint16_t handle, uint16_t status,
                                     const ConnectionParameters& parameters) = 0;
    // The peer asks for new parameters; answered with answerParameterRequest.
    virtual void onParameterRequest(uint16_t handle, uint8_t identifier,
                                    const ConnectionParameters& parameters) = 0;
    virtual void onRssiRead(uint16_t handle, uint16_t status, int8_t rssi) = 0;
    // Security manager. Answer to startPairing: the method, and for PasskeyDisplay the passkey
    // (0..999999) to show.
    virtual void onPairingMethod(uint16_t handle, PairingMethod method, uint32_t passkey) = 0;
    // A pairing ended: status 0 (onEncryptionChanged follows), 1 failed or refused, or another code.
    virtual void onPairingComplete(uint16_t handle, uint16_t status) = 0;
    // The link's encryption started: status 0 with authenticated telling whether the key came from a
    // man-in-the-middle protected pairing, or an HCI error (0x06: the peer has no key for this bond).
    virtual void onEncryptionChanged(uint16_t handle, uint8_t status, bool authenticated) = 0;
    // An ATT PDU from the peer, exactly as received.
    virtual void onAttPdu(uint16_t handle, const std::vector<uint8_t>& pdu) = 0;
    // The oldest ATT PDU handed to sendAtt on that link has been transmitted.
    virtual void onAttSent(uint16_t handle) = 0;
    virtual void onTimer(uint32_t timerId) = 0;

protected:
    ~HostPort() = default;
};

// Operations of the controller. Each one that has an answer answers through HostPort later.
class ControllerPort {
public:
    virtual ~ControllerPort() = default;

    // Starts the controller; false when it refuses at once. Answered by onStarted (or onHardwareError).
    virtual bool start() = 0;
    // Scanning: reports until stopScan or the controller ends the scan; onScanEnded closes it.
    virtual void startScan() = 0;
    virtual void stopScan() = 0;

    // Reads the bond store; false when it cannot be read.
    virtual bool readBonds(std::vector<BondEntry>& out) = 0;
    // Replaces the name and appearance of a stored bond; false when no bond has that address.
    virtual bool updateBond(const BondEntry& entry) = 0;
    // Deletes the bond of that address from the store; answered by onBondRemoved.
    virtual void removeBond(const BleTypedAddress& address) = 0;

    // Reserves room for a local database; answered by onDatabaseAllocated.
    virtual void allocateDatabase(uint16_t attributeCount) = 0;
    // Publishes the local database to the radio; answered by onDatabaseAdded.
    virtual void addDatabase(const std::vector<LocalService>& services) = 0;

    // Scan timing (0xFFFF: the controller's own) and parameters for the next connections.
    virtual void setConnectionDefaults(uint16_t scanInterval, uint16_t scanWindow,
                                       const ConnectionParameters& parameters) = 0;
    // One connection attempt at a time; ends with onConnectOutcome.
    virtual void connect(const BleTypedAddress& address) = 0;
    virtual void cancelConnect() = 0;
    // Ends with onDisconnected.
    virtual void disconnect(uint16_t handle, uint8_t reason) = 0;
    // Ends with onConnectionUpdated.
    virtual void updateConnection(uint16_t handle, const ConnectionParameters& parameters) = 0;
    // An accepted request ends with onConnectionUpdated; a rejected one ends there.
    virtual void answerParameterRequest(uint16_t handle, uint8_t identifier, bool accept) = 0;
    virtual void readRssi(uint16_t handle) = 0;
    virtual void sendAtt(uint16_t handle, std::vector<uint8_t> pdu) = 0;

    // Security manager: one pairing per link at a time. startPairing is answered by onPairingMethod;
    // confirmPairing (the user accepted, or not) ends with onPairingComplete, and with bond the new key
    // goes into the bond store with the peer's name and appearance. cancelPairing ends a pairing under
    // way with onPairingComplete(1).
    virtual void startPairing(uint16_t handle, bool mitm) = 0;
    virtual void confirmPairing(uint16_t handle, bool accept, bool bond) = 0;
    virtual void cancelPairing(uint16_t handle) = 0;
    // Encrypts the link with the stored key of the peer's bond; ends with onEncryptionChanged.
    virtual void startEncryption(uint16_t handle) = 0;

    // The controller's clock: milliseconds since it was started.
    virtual uint64_t nowMs() const = 0;
    // The wall-clock date at which that clock read 0, in milliseconds since 1 January 1970 UTC.
    virtual int64_t startDateMs() const = 0;
    // One-shot timers on the controller's clock; a cancelled timer never fires.
    virtual uint32_t startTimer(uint64_t delayMs) = 0;
    virtual void cancelTimer(uint32_t timerId) = 0;
};

// Opens the controller of the attached dongle. Returns null with *error filled when there is none
// usable (absent, without driver, held by another process, or failing to initialise).
std::unique_ptr<ControllerPort> openController(HostPort& host, std::string* error);

} // namespace orv::host
