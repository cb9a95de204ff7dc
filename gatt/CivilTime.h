// Current Time service: local calendar dates and times and the arithmetic the time server needs.
#pragma once

// A local date and time as a clock shows it (no zone, no daylight saving).
struct CivilTime {
    int year = 0;
    int month = 0; // 1-12
    int day = 0;   // 1-31
    int hour = 0;
    int minute = 0;
    int second = 0;

    bool operator==(const CivilTime&) const = default;
    // Earlier in time: compared field by field from the year down.
    bool operator<(const CivilTime& other) const;
    bool operator>(const CivilTime& other) const { return other < *this; }
    bool operator<=(const CivilTime& other) const { return !(other < *this); }
};

// Day of the week of a date of the Gregorian calendar: 1 Monday ... 7 Sunday.
int DayOfWeek(int year, int month, int day);

// The same time of day, days later (earlier when negative), by calendar dates: a day is a day,
// whatever daylight-saving change lies in between.
CivilTime AddDays(const CivilTime& time, int days);
