// Alert Notification and Phone Alert Status services: the PC's state as a phone, its values and commands.
#include "gatt/PhoneAlerts.h"

namespace {

constexpr int kNewAlertTextLimit = 18; // characters, and bytes of UTF-8

} // namespace

uint8_t PhoneServerState::AlertStatus() const {
    return (ringerActive ? AlertStatusBit::RingerActive : 0) | (vibrate ? AlertStatusBit::Vibrate : 0) |
           (display ? AlertStatusBit::Display : 0);
}

void PhoneServerState::SetSilentMode() {
    silent = true;
    if (ringerActive) {
        ringerActive = false;
        vibrate = true;
    }
}

void PhoneServerState::SetNormalMode() {
    silent = false;
    if (vibrate || display)
        ringerActive = true;
}

std::optional<AlertControlRequest> DecodeAlertControlPoint(std::span<const uint8_t> value) {
    if (value.size() != 2)
        return std::nullopt;
    return AlertControlRequest{value[0], value[1]};
}

uint8_t CheckAlertControlPoint(const AlertControlRequest& request) {
    const bool knownCategory =
        request.category < AlertControl::CategoryCount || request.category == AlertControl::AllCategories;
    return request.command <= AlertControl::NotifyUnreadStatusNow && knownCategory
               ? 0
               : AlertControl::CommandNotSupported;
}

std::vector<uint8_t> RequestedCategories(uint8_t category) {
    if (category != AlertControl::AllCategories)
        return {category};
    std::vector<uint8_t> all;
    for (uint8_t c = 0; c < AlertControl::CategoryCount; ++c)
        all.push_back(c);
    return all;
}

uint16_t WithCategory(uint16_t mask, uint8_t category, bool enable) {
    if (category == AlertControl::AllCategories)
        return enable ? AlertControl::AllCategoriesMask : 0;
    if (category >= AlertControl::CategoryCount)
        return mask;
    const auto bit = static_cast<uint16_t>(1u << category);
    return enable ? mask | bit : mask & ~bit;
}

std::vector<uint8_t> EncodeNewAlert(uint8_t category, const QString& text) {
    std::vector<uint8_t> value{category, 1};
    qsizetype characters = std::min<qsizetype>(text.size(), kNewAlertTextLimit);
    if (characters > 0 && characters < text.size() && text.at(characters - 1).isHighSurrogate())
        --characters; // never half a character
    const QByteArray utf8 = text.left(characters).toUtf8();
    if (utf8.size() <= kNewAlertTextLimit)
        value.insert(value.end(), utf8.begin(), utf8.end());
    return value;
}

std::vector<std::pair<uint8_t, uint8_t>> ChangedUnreadCounts(const std::map<uint8_t, uint8_t>& before,
                                                             const std::map<uint8_t, uint8_t>& now) {
    std::vector<std::pair<uint8_t, uint8_t>> changed;
    for (const auto& [category, count] : now) {
        const auto old = before.find(category);
        if (old == before.end() || old->second != count)
            changed.emplace_back(category, count);
    }
    return changed;
}
