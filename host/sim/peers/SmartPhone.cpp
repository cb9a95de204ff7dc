// Alert Notification, Phone Alert Status and Current Time clients: a simulated phone that uses the PC's
// services.
#include "SmartPhone.h"

#include "../../core/AttProtocol.h"
#include "../GattText.h"

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

const BleUuid kNotificationCenter = *parseUuid("7905f431-b5ce-4e99-a40f-4b1e122d00d0");
const BleUuid kNotificationSource = *parseUuid("9fbf120d-6301-42d9-8c58-25e699a21dbd");
const BleUuid kDataSource = *parseUuid("22eac6e9-24d6-4bb5-be44-b36ace7c7bfb");
const BleUuid kControlPoint = *parseUuid("69d1d8f3-45e1-49a8-9821-9bbdfdaad9d9");
constexpr size_t kNotificationSourceSize = 8;
constexpr uint8_t kGetNotificationAttributes = 0;
constexpr uint8_t kEventModified = 1;
constexpr size_t kAnswerHeader = 5;    // CommandID and NotificationUID
constexpr size_t kAttributeHeader = 3; // AttributeID and the u16 length
// Get Notification Attributes: AppIdentifier, Title (at most 32 bytes) and Message (at most 64).
constexpr uint8_t kAttributeRequest[] = {0, 1, 0x20, 0x00, 3, 0x40, 0x00};
constexpr size_t kAttributesAsked = 3;

uint32_t uidAt(std::span<const uint8_t> value, size_t offset) {
    return static_cast<uint32_t>(value[offset]) | static_cast<uint32_t>(value[offset + 1]) << 8 |
           static_cast<uint32_t>(value[offset + 2]) << 16 | static_cast<uint32_t>(value[offset + 3]) << 24;
}

// The number of whole attributes in an answer, or nullopt when its bytes do not end with one.
std::optional<size_t> wholeAttributes(std::span<const uint8_t> answer) {
    if (answer.size() < kAnswerHeader) {
        return std::nullopt;
    }
    size_t count = 0;
    size_t offset = kAnswerHeader;
    while (offset + kAttributeHeader <= answer.size()) {
        offset += kAttributeHeader + (answer[offset + 1] | answer[offset + 2] << 8);
        ++count;
    }
    return offset == answer.size() ? std::optional(count) : std::nullopt;
}

} // namespace

SmartPhone::SmartPhone(Simulator& simulator, size_t peerIndex)
    : m_context(simulator, peerIndex), m_client(m_context) {
    m_client.onValue(
        [this](const PeerGattClient::Characteristic& characteristic, std::span<const uint8_t> value) {
            if (att::sameUuid(characteristic.uuid, MakeUuid16(Chr::AlertStatus))) {
                alertStatusSeen(value);
            } else if (att::sameUuid(characteristic.uuid, kNotificationSource)) {
                notificationSeen(value);
            } else if (att::sameUuid(characteristic.uuid, kDataSource)) {
                dataSourcePiece(value);
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
    m_asked.clear();
    m_answer.clear();
}

void SmartPhone::onDisconnect() {
    m_context.cancelTimers();
    m_client.reset();
    m_started = false;
    m_asked.clear();
    m_answer.clear();
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
    m_client.discover(kNotificationCenter, [this](uint8_t) { useNotificationCenter(); });
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

void SmartPhone::useNotificationCenter() {
    for (const BleUuid& uuid : {kNotificationSource, kDataSource}) {
        if (const auto* characteristic = m_client.find(uuid)) {
            m_client.configure(*characteristic, kNotifications);
        }
    }
}

void SmartPhone::notificationSeen(std::span<const uint8_t> value) {
    const auto* controlPoint = m_client.find(kControlPoint);
    if (value.size() < kNotificationSourceSize || value[0] > kEventModified || controlPoint == nullptr) {
        return;
    }
    const uint32_t uid = uidAt(value, 4);
    std::vector<uint8_t> request{kGetNotificationAttributes, value[4], value[5], value[6], value[7]};
    request.insert(request.end(), std::begin(kAttributeRequest), std::end(kAttributeRequest));
    m_asked.push_back({uid, kAttributesAsked * value[3]});
    // The answer comes before the write's result; one that has not begun by then is not waited for.
    m_client.write(controlPoint->valueHandle, std::move(request), [this, uid](uint8_t) {
        if (m_answer.empty() && !m_asked.empty() && m_asked.front().uid == uid) {
            m_asked.pop_front();
        }
    });
}

void SmartPhone::dataSourcePiece(std::span<const uint8_t> value) {
    if (m_asked.empty()) {
        return;
    }
    m_answer.insert(m_answer.end(), value.begin(), value.end());
    const std::optional<size_t> whole = wholeAttributes(m_answer);
    if (!whole || *whole < m_asked.front().attributes) {
        return;
    }
    m_context.record({uuidText(kDataSource), PeerClientValue::Kind::Answer, 0, m_answer});
    m_answer.clear();
    m_asked.pop_front();
}

} // namespace orv::sim
