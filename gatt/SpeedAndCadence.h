// Cycling and Running Speed and Cadence: Sensor Location names, the SC Control Point's requests and
// responses, and the numbers typed in to set a sensor's cumulative values.
#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// SC Control Point op codes.
namespace ScOpCode {
inline constexpr uint8_t SetCumulativeValue = 0x01;
inline constexpr uint8_t StartCalibration = 0x02;
inline constexpr uint8_t UpdateSensorLocation = 0x03;
inline constexpr uint8_t RequestSupportedLocations = 0x04;
inline constexpr uint8_t ResponseCode = 0x10;
} // namespace ScOpCode

// Results of an SC Control Point response.
namespace ScResult {
inline constexpr uint8_t Success = 0x01;
inline constexpr uint8_t OpCodeNotSupported = 0x02;
inline constexpr uint8_t InvalidParameter = 0x03;
inline constexpr uint8_t OperationFailed = 0x04;
} // namespace ScResult

// An indication of the SC Control Point: response code, the op code it answers, the result and the
// parameters that follow (the supported locations of a 0x04 request).
struct ScControlPointResponse {
    uint8_t responseCode = 0;
    uint8_t requestOpCode = 0;
    uint8_t result = 0;
    std::vector<uint8_t> parameters;

    // nullopt when the value holds fewer than the three leading bytes.
    static std::optional<ScControlPointResponse> decode(std::span<const uint8_t> value);

    bool operator==(const ScControlPointResponse&) const = default;
};

// [0x01, value little-endian]: Set Cumulative Value.
std::array<uint8_t, 5> SetCumulativeValueRequest(uint32_t value);

// Sensor Location names 0 "Other" to 13 "Rear Hub"; nullopt beyond.
std::optional<QString> SensorLocationName(uint32_t location);
// The location whose name is exactly text (case-sensitive); 0 when no name is.
uint8_t SensorLocationFromName(const QString& text);

// The cumulative wheel revolutions typed in: the leading integer (white space, sign, digits) in 0 to
// 4294967296, of which the low 32 bits are sent (so 4294967296 sends 0). nullopt for text without a
// leading number or one outside that range.
std::optional<uint32_t> ParseCumulativeValue(const QString& text);
// A wheel circumference in cm: the leading integer in 1 to 65535; nullopt otherwise.
std::optional<uint16_t> ParseCircumference(const QString& text);
// A total distance typed in km: the leading decimal number (sign, digits, point, exponent) in 0 to
// 429496, in units of 1/10 m rounded to the nearest; nullopt for text without a number or out of range.
std::optional<uint32_t> ParseTotalDistance(const QString& text);
