// Current Time service: local calendar dates and times and the arithmetic the time server needs.
#include "gatt/CivilTime.h"

#include <chrono>
#include <tuple>

namespace {

std::chrono::sys_days Days(int year, int month, int day) {
    return std::chrono::year_month_day(std::chrono::year(year),
                                       std::chrono::month(static_cast<unsigned>(month)),
                                       std::chrono::day(static_cast<unsigned>(day)));
}

} // namespace

bool CivilTime::operator<(const CivilTime& other) const {
    return std::tie(year, month, day, hour, minute, second) <
           std::tie(other.year, other.month, other.day, other.hour, other.minute, other.second);
}

int DayOfWeek(int year, int month, int day) {
    const unsigned weekday = std::chrono::weekday(Days(year, month, day)).iso_encoding();
    return static_cast<int>(weekday);
}

CivilTime AddDays(const CivilTime& time, int days) {
    const std::chrono::year_month_day date(Days(time.year, time.month, time.day) + std::chrono::days(days));
    CivilTime moved = time;
    moved.year = static_cast<int>(date.year());
    moved.month = static_cast<int>(static_cast<unsigned>(date.month()));
    moved.day = static_cast<int>(static_cast<unsigned>(date.day()));
    return moved;
}
