// Alert Notification and Phone Alert Status services: the PC's state as a phone, its values and commands.
#pragma once

#include <QString>

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <utility>
#include <vector>

// Bits of Alert Status.
namespace AlertStatusBit {
inline constexpr uint8_t RingerActive = 0x01;
inline constexpr uint8_t Vibrate = 0x02;
inline constexpr uint8_t Display = 0x04;
} // namespace AlertStatusBit

// Ringer Control Point commands.
namespace RingerControl {
inline constexpr uint8_t SetSilentMode = 1;
inline constexpr uint8_t MuteOnce = 2;
inline constexpr uint8_t CancelSilentMode = 3;
} // namespace RingerControl

// Alert Notification Control Point commands.
namespace AlertControl {
inline constexpr uint8_t EnableNewAlerts = 0;
inline constexpr uint8_t EnableUnreadStatus = 1;
inline constexpr uint8_t DisableNewAlerts = 2;
inline constexpr uint8_t DisableUnreadStatus = 3;
inline constexpr uint8_t NotifyNewAlertsNow = 4;
inline constexpr uint8_t NotifyUnreadStatusNow = 5;
inline constexpr uint8_t AllCategories = 0xFF;
inline constexpr uint8_t CategoryCount = 10; // Alert Category IDs 0-9
inline constexpr uint16_t AllCategoriesMask = 0x03FF;
inline constexpr uint8_t CommandNotSupported = 0xA0; // ATT error of an unknown command or category
} // namespace AlertControl

// What the PC as a phone tells its peer: the alert status, the ringer, which notifications the peer
// has enabled and which alert categories it wants.
struct PhoneServerState {
    bool ringerActive = false;
    bool vibrate = false;
    bool display = false;
    bool silent = false;
    bool newAlertOn = false;
    bool unreadStatusOn = false;
    bool alertStatusOn = false;
    bool ringerSettingOn = false;
    uint16_t newAlertMask = 0; // bit n: Alert Category ID n
    uint16_t unreadStatusMask = 0;

    uint8_t AlertStatus() const;
    // 0 silent, 1 normal.
    uint8_t RingerSetting() const { return silent ? 0 : 1; }
    // Silent: an active ringer stops and vibrate takes its place.
    void SetSilentMode();
    // Normal: the ringer is active again while vibrate or display is.
    void SetNormalMode();
};

// One alert the user composed in the phone window.
struct PhoneAlertRecord {
    uint8_t read = 0; // 0 unread
    uint8_t category = 0;
    QString text;

    bool operator==(const PhoneAlertRecord&) const = default;
};

struct AlertControlRequest {
    uint8_t command = 0;
    uint8_t category = 0;
};

// An Alert Notification Control Point value: exactly two bytes, command and category.
std::optional<AlertControlRequest> DecodeAlertControlPoint(std::span<const uint8_t> value);
// 0 when the command (0-5) and the category (0-9 or 0xFF) are known, else CommandNotSupported.
uint8_t CheckAlertControlPoint(const AlertControlRequest& request);
// The categories a request names: all ten for 0xFF.
std::vector<uint8_t> RequestedCategories(uint8_t category);
// The mask with the category's bit (all ten for 0xFF) set or cleared.
uint16_t WithCategory(uint16_t mask, uint8_t category, bool enable);
inline bool HasCategory(uint16_t mask, uint8_t category) {
    return category < AlertControl::CategoryCount && (mask >> category & 1) != 0;
}

// New Alert with one alert: category, count 1, then the UTF-8 of the text's first 18 characters when
// it fits 18 bytes (no text bytes when it does not).
std::vector<uint8_t> EncodeNewAlert(uint8_t category, const QString& text);

// The categories whose unread count is new or other than before, with their counts, in category order.
std::vector<std::pair<uint8_t, uint8_t>> ChangedUnreadCounts(const std::map<uint8_t, uint8_t>& before,
                                                             const std::map<uint8_t, uint8_t>& now);
