// User Data service: User Control Point requests and responses, the First Name and Database Change
// Increment values, and the numbers typed in for them.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// User Control Point op codes.
namespace UserControlPoint {
inline constexpr uint8_t RegisterNewUser = 0x01;
inline constexpr uint8_t Consent = 0x02;
inline constexpr uint8_t DeleteUserData = 0x03;
inline constexpr uint8_t ResponseCode = 0x20;
} // namespace UserControlPoint

// Result codes of a User Control Point response.
namespace UserControlPointResult {
inline constexpr uint8_t Success = 0x01;
inline constexpr uint8_t OpCodeNotSupported = 0x02;
inline constexpr uint8_t InvalidParameter = 0x03;
inline constexpr uint8_t OperationFailed = 0x04;
inline constexpr uint8_t UserNotAuthorized = 0x05;
} // namespace UserControlPointResult

struct UserControlPointResponse {
    uint8_t responseCode = 0;
    uint8_t requestOpCode = 0;
    uint8_t result = 0;
    std::optional<uint8_t> userIndex; // a fourth byte (the new user of a registration)

    // nullopt ("too short") under three bytes.
    static std::optional<UserControlPointResponse> decode(std::span<const uint8_t> value);

    bool operator==(const UserControlPointResponse&) const = default;
};

// [01, code little-endian], [02, index, code little-endian], [03].
std::vector<uint8_t> RegisterNewUserRequest(uint16_t consentCode);
std::vector<uint8_t> ConsentRequest(uint8_t userIndex, uint16_t consentCode);
std::vector<uint8_t> DeleteUserDataRequest();

// A number typed into an edit: up to its first 10 characters count; the number is their leading
// decimal digits (base 10, so a leading zero means nothing). Empty when there are no such digits; out
// of range when the counted text is longer than 5 characters or the number is above max.
struct TypedNumber {
    enum class State { Empty, OutOfRange, Valid };
    State state = State::Empty;
    uint32_t value = 0;

    static TypedNumber parse(const QString& text, uint32_t max);
};

// The first 19 characters of name as UTF-8 and a zero byte; empty for an empty name.
std::vector<uint8_t> FirstNameValue(const QString& name);
// The bytes up to a zero byte or the first 262, as UTF-8 (invalid sequences become U+FFFD).
QString FirstNameText(std::span<const uint8_t> value);
// The first four bytes, little-endian; nullopt when the value holds fewer.
std::optional<uint32_t> DatabaseChangeIncrement(std::span<const uint8_t> value);
