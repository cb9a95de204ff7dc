// Legacy HID remote (service 0x3231): a simulated remote control that presses one key after another.
#include "LegacyRemote.h"

#include <veyrauuids.h>

#include <array>

namespace orv::sim {
namespace {

namespace Chr = CharacteristicUuid;

// Digits 1 to 0, Volume Up, Volume Down, Mute, Stop, F16 to F21.
constexpr std::array<uint8_t, 20> kKeys = {0x1E, 0x1F, 0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27,
                                           0x80, 0x81, 0x7F, 0x78, 0x6B, 0x6C, 0x6D, 0x6E, 0x6F, 0x70};

// Four bytes of keyboard usages, one key per byte.
const std::vector<uint8_t> kReportDescriptor = {0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x05, 0x07,
                                                0x19, 0x00, 0x29, 0xFF, 0x15, 0x00, 0x26, 0xFF,
                                                0x00, 0x75, 0x08, 0x95, 0x04, 0x81, 0x00, 0xC0};

} // namespace

LegacyRemote::LegacyRemote(Simulator& simulator, size_t peerIndex) : m_context(simulator, peerIndex) {}

std::vector<GattServiceDescription> LegacyRemote::baseDatabase() const {
    constexpr uint8_t kReadNotify = kPropertyRead | kPropertyNotify;
    GattServiceDescription remote;
    remote.uuid = MakeUuid16(ServiceUuid::LegacyHid);
    remote.characteristics = {
        characteristic(Chr::LegacyHidDescriptor, kPropertyRead, kReportDescriptor),
        characteristic(Chr::LegacyHidDescriptorExtension, kPropertyRead, {0x00, 0x00}),
        characteristic(Chr::LegacyHidControl, kReadNotify | kPropertyWrite, {0x00}),
        characteristic(Chr::LegacyHidInterrupt, kReadNotify, {0x00, 0x00, 0x00, 0x00}),
        characteristic(Chr::LegacyHidFlags, kPropertyRead, {0x05, 0x00}),
    };
    return {genericAccess(m_context.description()), remote};
}

void LegacyRemote::onConnect() {
    m_context.forgetSubscriptions();
}

void LegacyRemote::onDisconnect() {
    m_pressing = false;
    m_context.cancelTimers();
}

void LegacyRemote::onConfiguration(uint16_t valueHandle, uint16_t /*configuration*/) {
    if (valueHandle != m_context.valueHandle(Chr::LegacyHidInterrupt))
        return;
    const bool listening = m_context.notifying(valueHandle);
    if (listening == m_pressing)
        return;
    m_pressing = listening;
    m_context.cancelTimers();
    if (listening)
        m_context.after(kPressPeriodMs, [this] { press(); });
}

void LegacyRemote::press() {
    send(kKeys[m_nextKey]);
    m_nextKey = (m_nextKey + 1) % kKeys.size();
    m_context.after(kHoldMs, [this] { send(0); });
    m_context.after(kPressPeriodMs, [this] { press(); });
}

void LegacyRemote::send(uint8_t usage) {
    const uint8_t report[] = {0x00, 0x00, usage, 0x00};
    m_context.notify(m_context.valueHandle(Chr::LegacyHidInterrupt), report);
}

} // namespace orv::sim
