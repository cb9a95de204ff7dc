// Next DST Change service: the yearly daylight-saving changes of a time zone and which one is in force.
#pragma once

#include "gatt/CivilTime.h"

#include <cstdint>
#include <optional>

// One yearly change of a zone's rules, at a local time. With year 0 it recurs: occurrence `day`
// (1-5, where 5 means the last) of `weekday` (0 Sunday ... 6 Saturday) in `month`. Otherwise it is
// the one date year-month-day.
struct ZoneChangeRule {
    int year = 0;
    int month = 0;
    int weekday = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Day of the month of occurrence (1-5) of weekday (0 Sunday) in that month; a fifth occurrence that
// the month does not have gives the fourth. 29 February counts in every year divisible by 4.
// Nothing for a year below 1900, a month outside 1-12, a weekday outside 0-6 or an occurrence
// outside 1-5.
std::optional<int> OccurrenceDay(int year, int month, int weekday, int occurrence);

// The change the rule makes in that year (a fixed-date rule: its own date).
std::optional<CivilTime> ChangeInYear(const ZoneChangeRule& rule, int year);

// The first change the rule makes at or after moment: this year's, or next year's when this year's
// lies before moment. A fixed-date rule gives its own date.
std::optional<CivilTime> NextChange(const ZoneChangeRule& rule, const CivilTime& moment);

// Whether daylight time is in force at moment. When the change to standard time comes later in the
// year than the change to daylight time (northern pattern), daylight time lies between the two;
// otherwise (southern pattern) standard time does. Before the first and after the second change of
// the year a moment has the same state. A moment whose changes cannot be resolved is in standard time.
bool IsDaylightTime(const ZoneChangeRule& standardDate, const ZoneChangeRule& daylightDate,
                    const CivilTime& moment);

// The DST offset code of a zone: the difference of its two biases (minutes) in 15-minute units;
// 255 (not known) when that is odd or above 8.
uint8_t DstOffsetCode(int standardBias, int daylightBias);
