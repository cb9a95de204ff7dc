// Next DST Change service: the yearly daylight-saving changes of a time zone and which one is in force.
#include "gatt/ZoneRules.h"

#include <array>
#include <cstdlib>

namespace {

constexpr std::array<int, 13> kMonthLength{0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
constexpr int kFirstYear = 1900;
constexpr uint8_t kDstNotKnown = 255;
constexpr int kLargestDstCode = 8;

} // namespace

std::optional<int> OccurrenceDay(int year, int month, int weekday, int occurrence) {
    if (year < kFirstYear || month < 1 || month > 12 || weekday < 0 || weekday > 6 || occurrence < 1 ||
        occurrence > 5)
        return std::nullopt;
    const int first = DayOfWeek(year, month, 1) % 7 + 1; // 1 Sunday ... 7 Saturday
    const int wanted = weekday + 1;
    int day = wanted - first + 1 + (first > wanted ? 7 : 0);
    day += (occurrence - 1) * 7;
    const bool leapDay = year % 4 == 0 && month == 2 && day < 30;
    if (day > kMonthLength[month] && !leapDay)
        day -= 7;
    return day;
}

std::optional<CivilTime> ChangeInYear(const ZoneChangeRule& rule, int year) {
    if (rule.year != 0)
        return CivilTime{rule.year, rule.month, rule.day, rule.hour, rule.minute, rule.second};
    const auto day = OccurrenceDay(year, rule.month, rule.weekday, rule.day);
    if (!day)
        return std::nullopt;
    return CivilTime{year, rule.month, *day, rule.hour, rule.minute, rule.second};
}

std::optional<CivilTime> NextChange(const ZoneChangeRule& rule, const CivilTime& moment) {
    const auto change = ChangeInYear(rule, moment.year);
    if (!change || rule.year != 0 || !(*change < moment))
        return change;
    return ChangeInYear(rule, moment.year + 1);
}

bool IsDaylightTime(const ZoneChangeRule& standardDate, const ZoneChangeRule& daylightDate,
                    const CivilTime& moment) {
    const auto standardStart = ChangeInYear(standardDate, moment.year);
    const auto daylightStart = ChangeInYear(daylightDate, moment.year);
    if (!standardStart || !daylightStart)
        return false;
    if (*standardStart > *daylightStart)
        return *daylightStart <= moment && moment < *standardStart;
    return !(*standardStart <= moment && moment < *daylightStart);
}

uint8_t DstOffsetCode(int standardBias, int daylightBias) {
    const int code = std::abs(standardBias - daylightBias) / 15;
    return code > kLargestDstCode || code % 2 != 0 ? kDstNotKnown : static_cast<uint8_t>(code);
}
