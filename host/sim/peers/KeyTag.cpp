// Link Loss, Immediate Alert and Tx Power: a simulated key tag that drifts away and comes back.
#include "KeyTag.h"

#include "../../core/AttProtocol.h"

#include <veyrauuids.h>

#include <cmath>
#include <numbers>

namespace orv::sim {
namespace {

namespace Svc = ServiceUuid;
namespace Chr = CharacteristicUuid;

constexpr uint64_t kShortestCycleMs = 54000;
constexpr uint64_t kLongestCycleMs = 66000;

GattServiceDescription alertService(uint16_t service, uint8_t properties) {
    GattServiceDescription description;
    description.uuid = MakeUuid16(service);
    description.characteristics = {characteristic(Chr::AlertLevel, properties, {0})};
    return description;
}

} // namespace

KeyTag::KeyTag(Simulator& simulator, size_t peerIndex)
    : m_context(simulator, peerIndex), m_client(m_context) {
    m_cycleMs =
        std::uniform_int_distribution<uint64_t>(kShortestCycleMs, kLongestCycleMs)(m_context.random());
}

std::vector<GattServiceDescription> KeyTag::baseDatabase() const {
    GattServiceDescription linkLoss = alertService(Svc::LinkLoss, kPropertyRead | kPropertyWrite);
    linkLoss.characteristics[0].security = PeerSecurity::Encryption;
    GattServiceDescription txPower;
    txPower.uuid = MakeUuid16(Svc::TxPower);
    txPower.characteristics = {
        characteristic(Chr::TxPowerLevel, kPropertyRead, {static_cast<uint8_t>(kTxPowerDbm)})};
    return {genericAccess(m_context.description()),
            alertService(Svc::ImmediateAlert, kPropertyWriteWithoutResponse), linkLoss, txPower};
}

void KeyTag::onConnect() {
    m_linkedAt = m_context.now(); // every link starts near
    m_started = false;
    m_highNext = true;
    m_client.reset();
}

void KeyTag::onDisconnect() {
    m_context.cancelTimers();
    m_client.reset();
    m_started = false;
}

void KeyTag::onEncrypted() {
    if (m_started) {
        return;
    }
    m_started = true;
    m_client.discover(MakeUuid16(Svc::ImmediateAlert));
    m_context.after(kButtonPeriodMs, [this] { pressButton(); });
}

void KeyTag::pressButton() {
    if (const auto* level = m_client.find(MakeUuid16(Chr::AlertLevel))) {
        const uint16_t handle = level->valueHandle;
        const uint8_t alert = m_highNext ? kHighestLevel : 1;
        m_highNext = !m_highNext;
        m_client.writeCommand(handle, {alert});
        if (alert == 1) {
            m_context.after(kLowAlertMs, [this, handle] { m_client.writeCommand(handle, {0}); });
        }
    }
    m_context.after(kButtonPeriodMs, [this] { pressButton(); });
}

uint8_t KeyTag::onWrite(uint16_t handle, std::span<const uint8_t> value) {
    if (handle != m_context.valueHandle(Svc::ImmediateAlert, Chr::AlertLevel) &&
        handle != m_context.valueHandle(Svc::LinkLoss, Chr::AlertLevel)) {
        return 0;
    }
    if (value.size() != 1 || value[0] > kHighestLevel) {
        return host::att::kValueNotAllowed;
    }
    m_context.recordWrite(handle, value);
    return 0;
}

std::optional<int> KeyTag::rssi() {
    const double phase =
        static_cast<double>((m_context.now() - m_linkedAt) % m_cycleMs) / static_cast<double>(m_cycleMs);
    const double distance = (1 - std::cos(2 * std::numbers::pi * phase)) / 2; // 0 near, 1 far
    const int jitter = std::uniform_int_distribution<int>(-kJitterDbm, kJitterDbm)(m_context.random());
    return static_cast<int>(std::lround(kNearDbm + (kFarDbm - kNearDbm) * distance)) + jitter;
}

} // namespace orv::sim
