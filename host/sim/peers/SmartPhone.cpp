// Alert Notification, Phone Alert Status and Current Time clients: a simulated phone that uses the PC's
// services.
#include "SmartPhone.h"

#include "../../core/AttProtocol.h"

#include <veyrauuids.h>

namespace orv::sim {
namespace {

namespace att = orv::host::att;

namespace Svc = ServiceUuid;
namespace Chr = CharacteristicUuid;

constexpr uint8_t kGetReferenceUpdate = 1;
constexpr uint8_t kMuteOnce = 2;
constexpr uint8_t kRingerActive = 0x01;
constexpr uint16_t kNotifications = 1;
constexpr uint8_t kAllCategories = 0xFF;
// Enable new alerts and unread status of every category, then have both reported now.
constexpr uint8_t kAlertCommands[] = {0, 1, 4, 5};

} // namespace

SmartPhone::SmartPhone(Simulator& simulator, size_t peerIndex)
    : m_context(simulator, peerIndex), m_client(m_context) {
    m_client.onValue(
        [this](const PeerGattClient::Characteristic& characteristic, std::span<const uint8_t> value) {
            if (att::sameUuid(characteristic.uuid, MakeUuid16(Chr::AlertStatus))) {
                alertStatusSeen(value);
            }
        });
}

std::vector<GattServiceDescription> SmartPhone::baseDatabase() const {
    return {genericAccess(m_context.description())};
}

void SmartPhone::onConnect() {
    m_started = false;
    m_ringing = false;
    m_client.reset();
}

void SmartPhone::onDisconnect() {
    m_context.cancelTimers();
    m_client.reset();
    m_started = false;
}

void SmartPhone::onEncrypted() {
    if (m_started) {
        return;
    }
    m_started = true;
    m_client.discover(MakeUuid16(Svc::CurrentTime));
    m_client.discover(MakeUuid16(Svc::NextDstChange));
    m_client.discover(MakeUuid16(Svc::ReferenceTimeUpdate), [this](uint8_t) { useTimeServices(); });
}

uint16_t SmartPhone::valueHandle(uint16_t uuid) const {
    const PeerGattClient::Characteristic* characteristic = m_client.find(MakeUuid16(uuid));
    return characteristic != nullptr ? characteristic->valueHandle : 0;
}

void SmartPhone::useTimeServices() {
    for (const uint16_t time : {Chr::CurrentTime, Chr::LocalTimeInformation, Chr::ReferenceTimeInformation,
                                Chr::TimeWithDst, Chr::TimeUpdateState}) {
        if (const uint16_t handle = valueHandle(time)) {
            m_client.read(handle);
        }
    }
    if (const auto* currentTime = m_client.find(MakeUuid16(Chr::CurrentTime))) {
        m_client.configure(*currentTime, kNotifications);
    }
    askForReferenceUpdate();
    m_client.discover(MakeUuid16(Svc::AlertNotification));
    m_client.discover(MakeUuid16(Svc::PhoneAlertStatus), [this](uint8_t) { useAlertServices(); });
}

void SmartPhone::useAlertServices() {
    std::vector<std::pair<uint16_t, std::vector<uint8_t>>> subscriptions;
    for (const uint16_t alert : {Chr::NewAlert, Chr::UnreadAlertStatus}) {
        if (const auto* characteristic = m_client.find(MakeUuid16(alert))) {
            subscriptions.push_back({characteristic->configHandle, {kNotifications, 0}});
        }
    }
    if (!subscriptions.empty()) {
        m_client.writeQueued(std::move(subscriptions));
    }
    for (const uint16_t status : {Chr::AlertStatus, Chr::RingerSetting}) {
        if (const auto* characteristic = m_client.find(MakeUuid16(status))) {
            m_client.configure(*characteristic, kNotifications);
        }
    }
    if (const uint16_t controlPoint = valueHandle(Chr::AlertNotificationControlPoint)) {
        for (const uint8_t command : kAlertCommands) {
            m_client.write(controlPoint, {command, kAllCategories});
        }
    }
    if (const uint16_t handle = valueHandle(Chr::AlertStatus)) {
        m_client.read(handle, [this](uint8_t error, const std::vector<uint8_t>& value) {
            if (error == 0) {
                alertStatusSeen(value);
            }
        });
    }
    if (const uint16_t handle = valueHandle(Chr::RingerSetting)) {
        m_client.read(handle);
    }
}

void SmartPhone::askForReferenceUpdate() {
    if (const uint16_t controlPoint = valueHandle(Chr::TimeUpdateControlPoint)) {
        m_client.writeCommand(controlPoint, {kGetReferenceUpdate});
    }
    m_context.after(kReferenceUpdatePeriodMs, [this] { askForReferenceUpdate(); });
}

void SmartPhone::alertStatusSeen(std::span<const uint8_t> value) {
    const bool ringing = !value.empty() && (value[0] & kRingerActive) != 0;
    const bool started = ringing && !m_ringing;
    m_ringing = ringing;
    if (!started) {
        return;
    }
    m_context.after(kMuteDelayMs, [this] {
        const uint16_t controlPoint = valueHandle(Chr::RingerControlPoint);
        if (m_ringing && controlPoint != 0) {
            m_client.writeCommand(controlPoint, {kMuteOnce});
        }
    });
}

} // namespace orv::sim
