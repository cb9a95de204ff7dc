// Local time and the system time zone, as a zone record with two yearly daylight-saving rules.
#pragma once

#include "platform/WinTypes.h"

#include <QDateTime>
#include <QString>
#include <QTimeZone>
#include <cstdint>
#include <functional>

namespace platform {

// A local date and time; wDayOfWeek 0 is Sunday. As a rule of a zone record with wYear 0: occurrence
// wDay (1-5, 5 the last) of weekday wDayOfWeek in wMonth at the given local time.
struct SYSTEMTIME {
    uint16_t wYear = 0;
    uint16_t wMonth = 0;
    uint16_t wDayOfWeek = 0;
    uint16_t wDay = 0;
    uint16_t wHour = 0;
    uint16_t wMinute = 0;
    uint16_t wSecond = 0;
    uint16_t wMilliseconds = 0;
};

// A zone record: biases in minutes (UTC = local time + bias), the change to standard time
// (StandardDate, given in daylight local time) and to daylight time (DaylightDate, given in standard
// local time); a zone without daylight saving has both dates zero.
struct TIME_ZONE_INFORMATION {
    LONG Bias = 0;
    QString StandardName;
    SYSTEMTIME StandardDate;
    LONG StandardBias = 0;
    QString DaylightName;
    SYSTEMTIME DaylightDate;
    LONG DaylightBias = 0;
};

constexpr DWORD TIME_ZONE_ID_UNKNOWN = 0; // no daylight saving
constexpr DWORD TIME_ZONE_ID_STANDARD = 1;
constexpr DWORD TIME_ZONE_ID_DAYLIGHT = 2;
constexpr DWORD TIME_ZONE_ID_INVALID = 0xFFFFFFFF;

// The record of zone at moment, from the zone's transitions in moment's year: the change into
// daylight time (the larger of the two offsets, whichever the zone's data calls daylight time) and
// the change out of it, each as a weekday rule when the following year changes on
// the same weekday occurrence at the same time, else as its fixed date. A year without transitions
// gives TIME_ZONE_ID_UNKNOWN; so does, after one log line per zone, a year with another number of
// transitions or with a change of the standard offset. TIME_ZONE_ID_INVALID, info untouched, for an
// invalid zone.
DWORD ZoneInformation(const QTimeZone& zone, const QDateTime& moment, TIME_ZONE_INFORMATION* info);

// The record of the system zone now (ZoneInformation of the local clock's zone and time).
DWORD GetTimeZoneInformation(TIME_ZONE_INFORMATION* info);
// The local time now; UTC when the zone is invalid.
void GetLocalTime(SYSTEMTIME* time);

// Where the local clock reads the time and the zone: the system's by default. Tests install their
// own; an empty function restores the system's.
void SetLocalClock(std::function<QDateTime()> now, std::function<QTimeZone()> zone);

} // namespace platform
