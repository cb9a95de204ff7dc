// Battery service: a simulated battery pack that runs down, stays empty a while and is recharged.
#include "BatteryPack.h"

#include "../AttServer.h"

#include <veyrauuids.h>

namespace orv::sim {
namespace {

constexpr uint16_t kBatteryLevel = CharacteristicUuid::BatteryLevel;
constexpr uint16_t kNotifyBit = 0x0001;

// One cycle runs down from full in 100 steps and stays empty; the first one starts part of the way.
constexpr uint64_t kDrainMs = BatteryPack::kFullLevel * BatteryPack::kStepMs;
constexpr uint64_t kCycleMs = kDrainMs + BatteryPack::kEmptyMs;
constexpr uint64_t kFirstCycleOffsetMs =
    (BatteryPack::kFullLevel - BatteryPack::kStartLevel) * BatteryPack::kStepMs;

// The level elapsedMs after the pack's clock started.
uint8_t levelAt(uint64_t elapsedMs) {
    const uint64_t inCycle = (elapsedMs + kFirstCycleOffsetMs) % kCycleMs;
    if (inCycle >= kDrainMs) {
        return 0;
    }
    return static_cast<uint8_t>(BatteryPack::kFullLevel - inCycle / BatteryPack::kStepMs);
}

} // namespace

BatteryPack::BatteryPack(Simulator& simulator, size_t peerIndex) : m_context(simulator, peerIndex) {}

std::vector<GattServiceDescription> BatteryPack::baseDatabase() const {
    GattServiceDescription battery;
    battery.uuid = MakeUuid16(ServiceUuid::Battery);
    battery.characteristics = {characteristic(kBatteryLevel, kPropertyRead | kPropertyNotify, {kStartLevel})};
    return {genericAccess(m_context.description()), battery};
}

void BatteryPack::onConnect() {
    if (!m_started) {
        m_started = true;
        m_startedAt = m_context.now();
    }
    // A new client subscribes again.
    m_notifying = false;
    m_context.forgetSubscriptions();
    update();
    const uint64_t sinceStep = (m_context.now() - m_startedAt) % kStepMs;
    m_context.after(kStepMs - sinceStep, [this] { tick(); });
}

void BatteryPack::onDisconnect() {
    m_notifying = false;
    m_context.cancelTimers();
}

void BatteryPack::onConfiguration(uint16_t valueHandle, uint16_t configuration) {
    if (valueHandle == m_context.valueHandle(kBatteryLevel)) {
        m_notifying = (configuration & kNotifyBit) != 0;
    }
}

void BatteryPack::tick() {
    update();
    m_context.after(kStepMs, [this] { tick(); });
}

void BatteryPack::update() {
    const uint16_t handle = m_context.valueHandle(kBatteryLevel);
    PeerAttribute* attribute = m_context.attributes().attribute(handle);
    if (attribute == nullptr) {
        return;
    }
    const std::vector<uint8_t> level = {levelAt(m_context.now() - m_startedAt)};
    if (attribute->value == level) {
        return;
    }
    attribute->value = level;
    if (m_notifying) {
        m_context.notify(handle, level);
    }
}

} // namespace orv::sim
