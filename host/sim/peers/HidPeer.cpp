// HID over GATT: a simulated HID device (keyboard, mouse or steering wheel) with its HID service.
#include "HidPeer.h"

#include "../../core/AttProtocol.h"
#include "../AttServer.h"

#include <veyrauuids.h>

namespace orv::sim {
namespace {

namespace att = orv::host::att;

namespace Chr = CharacteristicUuid;

constexpr uint8_t kBootProtocol = 0;
constexpr uint8_t kReportProtocol = 1;
constexpr uint8_t kSuspend = 0;
constexpr uint8_t kInputReport = 1;

bool isType(const PeerAttribute& attribute, uint16_t uuid) {
    return att::sameUuid(attribute.type, MakeUuid16(uuid));
}

// A one-byte value of 0 or 1.
bool isSwitch(std::span<const uint8_t> value) {
    return value.size() == 1 && value[0] <= 1;
}

} // namespace

HidPeer::HidPeer(Simulator& simulator, size_t peerIndex, HidDeviceKind kind)
    : m_context(simulator, peerIndex), m_kind(std::move(kind)) {}

std::vector<GattServiceDescription> HidPeer::baseDatabase() const {
    const PeerSecurity peerNeed = m_context.description().security;
    GattServiceDescription hid = m_kind.service;
    for (GattCharacteristicDescription& characteristic : hid.characteristics)
        characteristic.security = peerNeed == PeerSecurity::None ? PeerSecurity::Encryption : peerNeed;
    return {genericAccess(m_context.description()), hid};
}

void HidPeer::onConnect() {
    m_linked = true;
    m_bootProtocol = false;
    m_suspended = false;
    if (PeerAttribute* mode = m_context.attributes().attribute(m_context.valueHandle(Chr::ProtocolMode)))
        mode->value = {kReportProtocol};
    // No client's subscription outlives its link.
    m_context.forgetSubscriptions();
    follow();
}

void HidPeer::onDisconnect() {
    m_linked = false;
    follow();
}

uint8_t HidPeer::onWrite(uint16_t handle, std::span<const uint8_t> value) {
    if (handle == m_context.valueHandle(Chr::ProtocolMode)) {
        if (!isSwitch(value))
            return host::att::kValueNotAllowed;
        m_bootProtocol = value[0] == kBootProtocol;
    } else if (handle == m_context.valueHandle(Chr::HidControlPoint)) {
        if (!isSwitch(value))
            return host::att::kValueNotAllowed;
        m_suspended = value[0] == kSuspend;
    } else {
        return 0;
    }
    follow();
    return 0;
}

void HidPeer::onConfiguration(uint16_t /*valueHandle*/, uint16_t /*configuration*/) {
    follow();
}

uint16_t HidPeer::inputReportHandle() const {
    const PeerAttribute* report = nullptr;
    for (const PeerAttribute& attribute : m_context.attributes().table()) {
        if (attribute.isValue) {
            report = isType(attribute, Chr::Report) ? &attribute : nullptr;
        } else if (attribute.groupEnd != 0 || isType(attribute, att::kCharacteristic)) {
            report = nullptr;
        } else if (report && isType(attribute, DescriptorUuid::ReportReference) &&
                   attribute.value.size() >= 2 && attribute.value[1] == kInputReport) {
            return report->handle;
        }
    }
    return 0;
}

uint16_t HidPeer::listeningHandle() const {
    if (!m_linked || m_suspended)
        return 0;
    const uint16_t handle = m_bootProtocol ? m_context.valueHandle(m_kind.bootInput) : inputReportHandle();
    return handle != 0 && m_context.notifying(handle) ? handle : 0;
}

void HidPeer::follow() {
    const bool play = listeningHandle() != 0 && !m_kind.script.empty();
    if (play == m_playing)
        return;
    m_playing = play;
    m_context.cancelTimers();
    if (play)
        m_context.after(m_kind.script[m_step].delayMs, [this] { sendNext(); });
}

void HidPeer::sendNext() {
    const uint16_t handle = listeningHandle();
    if (handle == 0) {
        follow();
        return;
    }
    std::vector<uint8_t> report = m_kind.script[m_step].report;
    if (m_bootProtocol)
        report.resize(std::min(report.size(), m_kind.bootLength));
    m_context.notify(handle, report);
    m_step = (m_step + 1) % m_kind.script.size();
    m_context.after(m_kind.script[m_step].delayMs, [this] { sendNext(); });
}

} // namespace orv::sim
