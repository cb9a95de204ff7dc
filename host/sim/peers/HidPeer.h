// HID over GATT: a simulated HID device (keyboard, mouse or steering wheel) with its HID service.
#pragma once

#include "PeerContext.h"
#include "PeerModel.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace orv::sim {

// One input report of a device's script, sent delayMs after the one before it.
struct HidInputStep {
    uint64_t delayMs = 0;
    std::vector<uint8_t> report; // in report protocol; its first bootLength bytes in boot protocol
};

// What tells one kind of HID device from another: its HID service and what its user does.
struct HidDeviceKind {
    GattServiceDescription service;
    // The boot input report characteristic (0x2A22 keyboard, 0x2A33 mouse), 0 for no boot protocol.
    uint16_t bootInput = 0;
    size_t bootLength = 0;
    // Played in a loop while the host listens.
    std::vector<HidInputStep> script;
};

// Kinds "keyboard" (types a short text), "mouse" (draws a square with its button held) and
// "steeringWheel" (presses its buttons alone, in pairs and in the code field). As the HID service
// says: each connection starts in report protocol with no input subscribed; Protocol Mode takes 0 (boot)
// or 1 (report), written without response; in boot protocol the input goes to the boot input report, in
// report protocol to the input report found by its Report Reference (so a world may give its own
// database); HID Control Point 0 (suspend) holds the input back until 1 (exit suspend). Output and
// feature reports keep what is written. Every attribute of the HID service needs an encrypted link.
class HidPeer : public PeerModel {
public:
    HidPeer(Simulator& simulator, size_t peerIndex, HidDeviceKind kind);

    // The kind's description, or nullopt for a kind name that is not a HID device.
    static std::optional<HidDeviceKind> describe(const std::string& kind);

    std::vector<GattServiceDescription> baseDatabase() const override;
    void onConnect() override;
    void onDisconnect() override;
    uint8_t onWrite(uint16_t handle, std::span<const uint8_t> value) override;
    void onConfiguration(uint16_t valueHandle, uint16_t configuration) override;

private:
    // The value handle of the first Report whose Report Reference says input, 0 when there is none.
    uint16_t inputReportHandle() const;
    // Where input goes now, 0 when the host does not listen there or the device is suspended.
    uint16_t listeningHandle() const;
    // Starts or stops the script after anything that changes where the input goes.
    void follow();
    void sendNext();

    PeerContext m_context;
    HidDeviceKind m_kind;
    bool m_linked = false;
    bool m_bootProtocol = false;
    bool m_suspended = false;
    bool m_playing = false;
    size_t m_step = 0;
};

} // namespace orv::sim
