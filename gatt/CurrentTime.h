// Current Time, Next DST Change and Reference Time Update services: the values the PC serves.
#pragma once

#include "gatt/CivilTime.h"

#include <QString>

#include <array>
#include <cstdint>

// Adjust reasons of a Current Time value (its last byte).
namespace TimeAdjustReason {
inline constexpr uint8_t None = 0; // a read
inline constexpr uint8_t ManualUpdate = 1;
inline constexpr uint8_t ExternalReference = 2;
inline constexpr uint8_t TimeZoneChange = 4;
inline constexpr uint8_t ManualWithDstChange = ManualUpdate | 8;
} // namespace TimeAdjustReason

// Time Update State: current state and result of the last reference update.
namespace TimeUpdate {
inline constexpr uint8_t Idle = 0;
inline constexpr uint8_t UpdatePending = 1;
inline constexpr uint8_t Successful = 0;
inline constexpr uint8_t Cancelled = 1;
inline constexpr uint8_t Timeout = 4;
// Time Update Control Point commands.
inline constexpr uint8_t GetReferenceUpdate = 1;
inline constexpr uint8_t CancelReferenceUpdate = 2;
} // namespace TimeUpdate

// Time since the last reference update as the clock counts it, a minute at a time: minutes 0-59,
// hours 0-23, days. Past 254 days, days and hours are both 255 and stay so until the next update.
struct TimeSinceUpdate {
    int days = 0;
    int hours = 0;
    int minutes = 0;

    bool operator==(const TimeSinceUpdate&) const = default;
};
TimeSinceUpdate AddMinute(const TimeSinceUpdate& since);

// Current Time: year (u16), month, day, hours, minutes, seconds, day of week (1 Monday ... 7
// Sunday), fractions256 0, adjust reason.
std::array<uint8_t, 10> EncodeCurrentTime(const CivilTime& time, int dayOfWeek, uint8_t adjustReason);
// Local Time Information: time zone (s8, 15-minute units) and DST offset code.
std::array<uint8_t, 2> EncodeLocalTimeInformation(int timeZone, uint8_t dstOffset);
// Reference Time Information: source 0x01 (manual), accuracy 0xFF (unknown), days and hours since
// the last update.
std::array<uint8_t, 4> EncodeReferenceTimeInformation(int days, int hours);
// Time with DST: the moment of the next change and the DST offset code.
std::array<uint8_t, 8> EncodeTimeWithDst(const CivilTime& change, uint8_t dstOffset);
// Time Update State: current state and result.
std::array<uint8_t, 2> EncodeTimeUpdateState(uint8_t state, uint8_t result);

// The zone item of the time window's zone list: "Time Zone: UTC + 05:30" for a bias (minutes to
// add to local time for UTC) of -330, "Time Zone: UTC - 03:30" for 210.
QString TimeZoneItemText(int bias);
