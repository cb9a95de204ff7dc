// User Data service: User Control Point requests and responses, the First Name and Database Change
// Increment values, and the numbers typed in for them.
#include "gatt/UserData.h"

#include "gatt/ByteReader.h"
#include "gatt/ValueText.h"

#include <QList>

#include <algorithm>

namespace {

constexpr qsizetype kTypedCharacters = 10;
constexpr qsizetype kMaxDigits = 5;
constexpr qsizetype kMaxNameCharacters = 19;
constexpr size_t kMaxNameBytes = 262;

uint8_t Low(uint16_t value) {
    return static_cast<uint8_t>(value & 0xFF);
}

uint8_t High(uint16_t value) {
    return static_cast<uint8_t>(value >> 8);
}

} // namespace

std::optional<UserControlPointResponse> UserControlPointResponse::decode(std::span<const uint8_t> value) {
    ByteReader reader(value);
    const auto responseCode = reader.u8();
    const auto requestOpCode = reader.u8();
    const auto result = reader.u8();
    if (!result)
        return std::nullopt;
    return UserControlPointResponse{*responseCode, *requestOpCode, *result, reader.u8()};
}

std::vector<uint8_t> RegisterNewUserRequest(uint16_t consentCode) {
    return {UserControlPoint::RegisterNewUser, Low(consentCode), High(consentCode)};
}

std::vector<uint8_t> ConsentRequest(uint8_t userIndex, uint16_t consentCode) {
    return {UserControlPoint::Consent, userIndex, Low(consentCode), High(consentCode)};
}

std::vector<uint8_t> DeleteUserDataRequest() {
    return {UserControlPoint::DeleteUserData};
}

TypedNumber TypedNumber::parse(const QString& text, uint32_t max) {
    const QString counted = text.left(kTypedCharacters);
    qsizetype digits = 0;
    while (digits < counted.size() && counted[digits] >= u'0' && counted[digits] <= u'9')
        ++digits;
    if (digits == 0)
        return {};
    // At most ten digits: the number fits in 64 bits.
    const uint64_t number = counted.left(digits).toULongLong();
    if (counted.size() > kMaxDigits || number > max)
        return {State::OutOfRange, 0};
    return {State::Valid, static_cast<uint32_t>(number)};
}

std::vector<uint8_t> FirstNameValue(const QString& name) {
    const QList<uint> characters = name.toUcs4();
    if (characters.isEmpty())
        return {};
    const auto count = std::min<qsizetype>(characters.size(), kMaxNameCharacters);
    const QByteArray utf8 =
        QString::fromUcs4(reinterpret_cast<const char32_t*>(characters.data()), count).toUtf8();
    std::vector<uint8_t> value(utf8.begin(), utf8.end());
    value.push_back(0);
    return value;
}

QString FirstNameText(std::span<const uint8_t> value) {
    const size_t length = std::min(value.size(), kMaxNameBytes);
    return Utf8ToCString(value.data(), static_cast<int>(length));
}

std::optional<uint32_t> DatabaseChangeIncrement(std::span<const uint8_t> value) {
    ByteReader reader(value);
    return reader.u32();
}
