// Debug output: what crosses the controller seam, in the btsnoop capture and the text log.
#pragma once

#include "BtsnoopWriter.h"
#include "ControllerPort.h"

#include <memory>
#include <optional>

namespace orv::host {

// Sits between the host core and the controller, passing every call and delivery through unchanged
// while it records ATT PDUs and connection events.
class SeamTrace : public ControllerPort, private HostPort {
public:
    // Opens the controller below the trace (null with *error filled when there is none).
    static std::unique_ptr<SeamTrace> open(HostPort& host, BtsnoopWriter& snoop, std::string* error);

    bool start() override { return m_controller->start(); }
    void startScan() override { m_controller->startScan(); }
    void stopScan() override { m_controller->stopScan(); }
    bool readBonds(std::vector<BondEntry>& out) override { return m_controller->readBonds(out); }
    bool updateBond(const BondEntry& entry) override { return m_controller->updateBond(entry); }
    void removeBond(const BleTypedAddress& address) override { m_controller->removeBond(address); }
    void allocateDatabase(uint16_t count) override { m_controller->allocateDatabase(count); }
    void addDatabase(const std::vector<LocalService>& services) override {
        m_controller->addDatabase(services);
    }
    void setConnectionDefaults(uint16_t scanInterval, uint16_t scanWindow,
                               const ConnectionParameters& parameters) override {
        m_controller->setConnectionDefaults(scanInterval, scanWindow, parameters);
    }
    void connect(const BleTypedAddress& address) override;
    void cancelConnect() override { m_controller->cancelConnect(); }
    void disconnect(uint16_t handle, uint8_t reason) override { m_controller->disconnect(handle, reason); }
    void updateConnection(uint16_t handle, const ConnectionParameters& parameters) override {
        m_controller->updateConnection(handle, parameters);
    }
    void answerParameterRequest(uint16_t handle, uint8_t identifier, bool accept) override {
        m_controller->answerParameterRequest(handle, identifier, accept);
    }
    void readRssi(uint16_t handle) override { m_controller->readRssi(handle); }
    void sendAtt(uint16_t handle, std::vector<uint8_t> pdu) override;
    void startPairing(uint16_t handle, bool mitm) override;
    void confirmPairing(uint16_t handle, bool accept, bool bond) override {
        m_controller->confirmPairing(handle, accept, bond);
    }
    void cancelPairing(uint16_t handle) override { m_controller->cancelPairing(handle); }
    void startEncryption(uint16_t handle) override;
    uint64_t nowMs() const override { return m_controller->nowMs(); }
    int64_t startDateMs() const override { return m_controller->startDateMs(); }
    uint32_t startTimer(uint64_t delayMs) override { return m_controller->startTimer(delayMs); }
    void cancelTimer(uint32_t timerId) override { m_controller->cancelTimer(timerId); }

private:
    SeamTrace(HostPort& host, BtsnoopWriter& snoop) : m_host(host), m_snoop(snoop) {}

    void onStarted(const StartResult& result) override { m_host.onStarted(result); }
    void onHardwareError(uint32_t code) override;
    void onAdvertisingReport(const AdvertisingReport& report) override { m_host.onAdvertisingReport(report); }
    void onScanEnded(uint16_t status) override { m_host.onScanEnded(status); }
    void onBondRemoved(uint16_t status, const BleTypedAddress& address) override {
        m_host.onBondRemoved(status, address);
    }
    void onDatabaseAllocated(uint16_t status, uint16_t id) override {
        m_host.onDatabaseAllocated(status, id);
    }
    void onDatabaseAdded(uint16_t status) override { m_host.onDatabaseAdded(status); }
    void onConnectionDefaultsSet(uint16_t status) override { m_host.onConnectionDefaultsSet(status); }
    void onConnectOutcome(ConnectOutcome outcome, uint16_t handle, const LinkParameters& link) override;
    void onDisconnected(uint16_t handle, uint8_t reason) override;
    void onConnectionUpdated(uint16_t handle, uint16_t status,
                             const ConnectionParameters& parameters) override;
    void onParameterRequest(uint16_t handle, uint8_t identifier,
                            const ConnectionParameters& parameters) override {
        m_host.onParameterRequest(handle, identifier, parameters);
    }
    void onRssiRead(uint16_t handle, uint16_t status, int8_t rssi) override {
        m_host.onRssiRead(handle, status, rssi);
    }
    void onPairingMethod(uint16_t handle, PairingMethod method, uint32_t passkey) override {
        m_host.onPairingMethod(handle, method, passkey);
    }
    void onPairingComplete(uint16_t handle, uint16_t status) override;
    void onEncryptionChanged(uint16_t handle, uint8_t status, bool authenticated) override;
    void onAttPdu(uint16_t handle, const std::vector<uint8_t>& pdu) override;
    void onAttSent(uint16_t handle) override { m_host.onAttSent(handle); }
    void onTimer(uint32_t timerId) override { m_host.onTimer(timerId); }

    void traceLine(const std::string& text) const;
    // The wall-clock date of the controller's present, in milliseconds since 1970 UTC: the capture's
    // stamps come from the same clock as the text log's.
    int64_t dateMs() const;

    HostPort& m_host;
    BtsnoopWriter& m_snoop;
    std::unique_ptr<ControllerPort> m_controller;
    std::optional<BleTypedAddress> m_connecting;
};

} // namespace orv::host
