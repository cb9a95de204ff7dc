// Vehicle information key fob: the texts of its ten vehicle values, the radio station names and the
// location link.
#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <span>

// Each decoder takes a value of exactly its characteristic's length and gives nullopt for any other.
// A field with all bits set (-1) has not been reported by the vehicle yet: it reads "Not in sync", or
// "NA" for a tyre. Numbers are signed and shown in decimal with their unit.

// Speed limit, i16: "<n> Km/Hr".
std::optional<QString> SpeedLimitText(std::span<const uint8_t> value);
// Five tyre pressures, i16 each: "<n> psi".
std::optional<std::array<QString, 5>> TyrePressureTexts(std::span<const uint8_t> value);
// Odometer, i16: "<n> Km".
std::optional<QString> OdometerText(std::span<const uint8_t> value);
// Registration, ten Latin-1 characters up to the first 0; ten bytes 0xFF are "Not in sync".
std::optional<QString> RegistrationText(std::span<const uint8_t> value);
// Lock or trunk status: the one byte.
std::optional<uint8_t> StatusValue(std::span<const uint8_t> value);
// Latitude or longitude, i32 in units of 1e-7 degree.
std::optional<int32_t> CoordinateValue(std::span<const uint8_t> value);
// The coordinate in degrees as a single-precision number with six decimals, or "Not in sync" for -1.
QString CoordinateText(int32_t coordinate);

struct FuelAndRange {
    QString fuel;  // i8: "<n> L"
    QString range; // i16: "<n> Km"
};
std::optional<FuelAndRange> FuelAndRangeTexts(std::span<const uint8_t> value);

// The ids of the five preset radio stations, u16 each.
std::optional<std::array<uint16_t, 5>> StationIds(std::span<const uint8_t> value);
// 1 "94.3", 2 "98.3", 3 "101.3", 4 "102.6", 5 "104.0"; any other id "Unknown-<id>".
QString StationName(uint16_t id);

// The web map's search for the position: "?q=<latitude>,<longitude>" in degrees with six decimals,
// whatever the user's locale.
QString LocationUrl(int32_t latitude, int32_t longitude);
