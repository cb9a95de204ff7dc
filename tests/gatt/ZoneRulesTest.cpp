#include "gatt/ZoneRules.h"

#include <gtest/gtest.h>

#include <ostream>

void PrintTo(const CivilTime& t, std::ostream* os) {
    *os << t.year << '-' << t.month << '-' << t.day << ' ' << t.hour << ':' << t.minute << ':' << t.second;
}

namespace {

constexpr int kSunday = 0;
constexpr int kThursday = 4;
constexpr int kLast = 5;

// Europe: daylight time from the last Sunday of March 02:00, standard time from the last Sunday of
// October 03:00. Sydney: standard time from the first Sunday of April 03:00, daylight time from the
// first Sunday of October 02:00.
const ZoneChangeRule kEuropeStandard{0, 10, kSunday, kLast, 3, 0, 0};
const ZoneChangeRule kEuropeDaylight{0, 3, kSunday, kLast, 2, 0, 0};
const ZoneChangeRule kSydneyStandard{0, 4, kSunday, 1, 3, 0, 0};
const ZoneChangeRule kSydneyDaylight{0, 10, kSunday, 1, 2, 0, 0};

TEST(ZoneRulesTest, LastSundaysOfMarchAndOctober) {
    const int march[] = {31, 30, 29, 28, 26, 25, 31};
    const int october[] = {27, 26, 25, 31, 29, 28, 27};
    for (int year = 2024; year <= 2030; ++year) {
        EXPECT_EQ(OccurrenceDay(year, 3, kSunday, kLast), march[year - 2024]) << year;
        EXPECT_EQ(OccurrenceDay(year, 10, kSunday, kLast), october[year - 2024]) << year;
    }
}

TEST(ZoneRulesTest, OccurrencesAtTheEdgesOfTheMonthAndOfTheRange) {
    struct Case {
        int year, month, weekday, occurrence;
        std::optional<int> day;
    };
    const Case cases[] = {
        {2024, 4, kSunday, 1, 7},                // the 1st is a Monday
        {2024, 9, kSunday, 1, 1},                // the 1st is the Sunday
        {2024, 2, kThursday, kLast, 29},         // a leap year's fifth Thursday
        {2023, 2, 3, kLast, 22},                 // no fifth Wednesday: the fourth
        {1900, 2, kThursday, kLast, 29},         // divisible by 4 counts as leap
        {1899, 3, kSunday, kLast, std::nullopt}, // before 1900
        {2024, 13, kSunday, 1, std::nullopt},
        {2024, 3, 7, 1, std::nullopt},
        {2024, 3, kSunday, 0, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(OccurrenceDay(c.year, c.month, c.weekday, c.occurrence), c.day)
            << c.year << '-' << c.month << " weekday " << c.weekday << " #" << c.occurrence;
}

TEST(ZoneRulesTest, RuleInForceNorthAndSouthAroundAndAfterBothChanges) {
    struct Case {
        const char* name;
        const ZoneChangeRule& standard;
        const ZoneChangeRule& daylight;
        CivilTime moment;
        bool daylightTime;
    };
    const Case cases[] = {
        {"north, January", kEuropeStandard, kEuropeDaylight, {2024, 1, 15, 12, 0, 0}, false},
        {"north, a second before", kEuropeStandard, kEuropeDaylight, {2024, 3, 31, 1, 59, 59}, false},
        {"north, at the change", kEuropeStandard, kEuropeDaylight, {2024, 3, 31, 2, 0, 0}, true},
        {"north, summer", kEuropeStandard, kEuropeDaylight, {2024, 7, 1, 0, 0, 0}, true},
        {"north, at the change back", kEuropeStandard, kEuropeDaylight, {2024, 10, 27, 3, 0, 0}, false},
        {"north, after both", kEuropeStandard, kEuropeDaylight, {2024, 12, 31, 23, 59, 59}, false},
        {"south, January", kSydneyStandard, kSydneyDaylight, {2024, 1, 15, 12, 0, 0}, true},
        {"south, at the change", kSydneyStandard, kSydneyDaylight, {2024, 4, 7, 3, 0, 0}, false},
        {"south, winter", kSydneyStandard, kSydneyDaylight, {2024, 7, 1, 0, 0, 0}, false},
        {"south, at the change back", kSydneyStandard, kSydneyDaylight, {2024, 10, 6, 2, 0, 0}, true},
        {"south, after both", kSydneyStandard, kSydneyDaylight, {2024, 12, 31, 23, 59, 59}, true},
        {"unresolvable year", kEuropeStandard, kEuropeDaylight, {1899, 7, 1, 0, 0, 0}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsDaylightTime(c.standard, c.daylight, c.moment), c.daylightTime) << c.name;
}

TEST(ZoneRulesTest, NextChangeIsThisYearsOrNextYearsAndAFixedDateStays) {
    struct Case {
        const char* name;
        ZoneChangeRule rule;
        CivilTime moment;
        std::optional<CivilTime> next;
    };
    const Case cases[] = {
        {"ahead this year", kEuropeDaylight, {2024, 1, 1, 0, 0, 0}, CivilTime{2024, 3, 31, 2, 0, 0}},
        {"at the change", kEuropeDaylight, {2024, 3, 31, 2, 0, 0}, CivilTime{2024, 3, 31, 2, 0, 0}},
        {"passed: next year", kEuropeDaylight, {2024, 3, 31, 2, 0, 1}, CivilTime{2025, 3, 30, 2, 0, 0}},
        {"fixed date", {2023, 9, 0, 21, 0, 0, 0}, {2024, 1, 1, 0, 0, 0}, CivilTime{2023, 9, 21, 0, 0, 0}},
        {"before 1900", kEuropeDaylight, {1899, 1, 1, 0, 0, 0}, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NextChange(c.rule, c.moment), c.next) << c.name;
}

TEST(ZoneRulesTest, DstOffsetCodeInQuarterHours) {
    const std::pair<int, uint8_t> cases[] = {{-60, 4}, {-30, 2},   {-120, 8},   {60, 4},
                                             {0, 0},   {-45, 255}, {-135, 255}, {-150, 255}};
    for (const auto& [daylightBias, code] : cases)
        EXPECT_EQ(DstOffsetCode(0, daylightBias), code) << daylightBias;
}

} // namespace
