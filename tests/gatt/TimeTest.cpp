// Dates and times: a received one as the local time shown, and the time the PC serves (its values in
// golden bytes, the zone list's texts, the time since an update, the yearly daylight-saving changes).
#include "gatt/CurrentTime.h"
#include "gatt/DateTime.h"
#include "gatt/ZoneRules.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <string>

void PrintTo(const CivilTime& t, std::ostream* os) {
    *os << t.year << '-' << t.month << '-' << t.day << ' ' << t.hour << ':' << t.minute << ':' << t.second;
}

namespace {

// Sets TZ for one test and restores the test run's zone afterwards.
class ZoneScope {
public:
    explicit ZoneScope(const char* zone) : m_old(std::getenv("TZ") ? std::getenv("TZ") : "") {
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ZoneScope() {
        setenv("TZ", m_old.c_str(), 1);
        tzset();
    }

private:
    std::string m_old;
};

constexpr std::time_t kJanuary15Noon2026 = 1768478400; // 2026-01-15 12:00:00 UTC, a Thursday

QString Shown(const DateTime& received, std::time_t now = kJanuary15Noon2026) {
    return FormatLocalTime(ReceivedLocalTime(received, now), "%Y-%m-%d %H:%M:%S %b");
}

TEST(DateTimeTest, ZeroYearAndMonthKeepTodaysAndTheRestIsNormalised) {
    const ZoneScope utc("UTC");
    const std::pair<DateTime, const char*> cases[] = {
        {{2025, 7, 4, 8, 30, 5}, "2025-07-04 08:30:05 Jul"},
        {{0, 7, 4, 8, 30, 5}, "2026-07-04 08:30:05 Jul"},
        {{2024, 0, 4, 8, 30, 5}, "2024-01-04 08:30:05 Jan"},
        {{2026, 2, 30, 24, 0, 0}, "2026-03-03 00:00:00 Mar"},
    };
    for (const auto& [received, expected] : cases) {
        EXPECT_EQ(Shown(received), QLatin1String(expected));
    }
}

TEST(DateTimeTest, ADateInTheOtherSummerTimePeriodKeepsItsHour) {
    const ZoneScope berlin("CET-1CEST,M3.5.0,M10.5.0/3");
    EXPECT_EQ(Shown({2026, 7, 1, 12, 0, 0}), QStringLiteral("2026-07-01 12:00:00 Jul"));
    const std::time_t july = 1782907200; // 2026-07-01 12:00:00 UTC
    EXPECT_EQ(Shown({2026, 1, 15, 12, 0, 0}, july), QStringLiteral("2026-01-15 12:00:00 Jan"));
}

constexpr int kSunday = 0;
constexpr int kThursday = 4;
constexpr int kLast = 5;

// The rules from which standard time and daylight time start. Europe: daylight time from the last
// Sunday of March 02:00, standard time from the last Sunday of October 03:00. Sydney: standard time
// from the first Sunday of April 03:00, daylight time from the first Sunday of October 02:00.
using Rules = std::pair<ZoneChangeRule, ZoneChangeRule>;
const Rules kEurope{{0, 10, kSunday, kLast, 3, 0, 0}, {0, 3, kSunday, kLast, 2, 0, 0}};
const Rules kSydney{{0, 4, kSunday, 1, 3, 0, 0}, {0, 10, kSunday, 1, 2, 0, 0}};

TEST(CurrentTimeTest, ServedValuesInGoldenBytes) {
    EXPECT_EQ(EncodeCurrentTime({2024, 12, 6, 17, 30, 5}, 5, TimeAdjustReason::ManualWithDstChange),
              (std::array<uint8_t, 10>{0xE8, 0x07, 12, 6, 17, 30, 5, 5, 0, 9}));
    EXPECT_EQ(EncodeLocalTimeInformation(-14, 4), (std::array<uint8_t, 2>{0xF2, 4}));
    EXPECT_EQ(EncodeReferenceTimeInformation(255, 255), (std::array<uint8_t, 4>{0x01, 0xFF, 255, 255}));
    EXPECT_EQ(EncodeTimeWithDst({2025, 3, 30, 2, 0, 0}, 4),
              (std::array<uint8_t, 8>{0xE9, 0x07, 3, 30, 2, 0, 0, 4}));
    EXPECT_EQ(EncodeTimeUpdateState(TimeUpdate::Idle, TimeUpdate::Timeout), (std::array<uint8_t, 2>{0, 4}));
}

TEST(CurrentTimeTest, ZoneItemEastAndWestOfUtc) {
    const std::pair<int, const char*> cases[] = {{-330, "Time Zone: UTC + 05:30"},
                                                 {210, "Time Zone: UTC - 03:30"},
                                                 {0, "Time Zone: UTC + 00:00"},
                                                 {-765, "Time Zone: UTC + 12:45"}};
    for (const auto& [bias, text] : cases)
        EXPECT_EQ(TimeZoneItemText(bias), QLatin1String(text)) << bias;
}

TEST(CurrentTimeTest, TimeSinceUpdateHoldsAt255Past254Days) {
    const std::pair<TimeSinceUpdate, TimeSinceUpdate> cases[] = {
        {{0, 0, 58}, {0, 0, 59}},       {{0, 0, 59}, {0, 1, 0}},         {{3, 23, 59}, {4, 0, 0}},
        {{254, 23, 59}, {255, 255, 0}}, {{255, 255, 59}, {255, 255, 0}}, {{255, 255, 0}, {255, 255, 1}},
    };
    for (const auto& [before, after] : cases)
        EXPECT_EQ(AddMinute(before), after) << before.days << ' ' << before.hours << ' ' << before.minutes;
}

TEST(CurrentTimeTest, OccurrencesAtTheEdgesOfTheMonthAndOfTheRange) {
    const std::tuple<int, int, int, int, std::optional<int>> cases[] = {
        {2024, 3, kSunday, kLast, 31},           // the month's last day
        {2025, 10, kSunday, kLast, 26},          // a fifth Sunday past the month's end: the fourth
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
    for (const auto& [year, month, weekday, occurrence, day] : cases)
        EXPECT_EQ(OccurrenceDay(year, month, weekday, occurrence), day)
            << year << '-' << month << " weekday " << weekday << " #" << occurrence;
}

TEST(CurrentTimeTest, RuleInForceNorthAndSouthAroundAndAfterBothChanges) {
    const std::tuple<const char*, Rules, CivilTime, bool> cases[] = {
        {"north, January", kEurope, {2024, 1, 15, 12, 0, 0}, false},
        {"north, a second before", kEurope, {2024, 3, 31, 1, 59, 59}, false},
        {"north, at the change", kEurope, {2024, 3, 31, 2, 0, 0}, true},
        {"north, summer", kEurope, {2024, 7, 1, 0, 0, 0}, true},
        {"north, at the change back", kEurope, {2024, 10, 27, 3, 0, 0}, false},
        {"north, after both", kEurope, {2024, 12, 31, 23, 59, 59}, false},
        {"south, January", kSydney, {2024, 1, 15, 12, 0, 0}, true},
        {"south, at the change", kSydney, {2024, 4, 7, 3, 0, 0}, false},
        {"south, winter", kSydney, {2024, 7, 1, 0, 0, 0}, false},
        {"south, at the change back", kSydney, {2024, 10, 6, 2, 0, 0}, true},
        {"south, after both", kSydney, {2024, 12, 31, 23, 59, 59}, true},
        {"unresolvable year", kEurope, {1899, 7, 1, 0, 0, 0}, false},
    };
    for (const auto& [name, rules, moment, daylightTime] : cases)
        EXPECT_EQ(IsDaylightTime(rules.first, rules.second, moment), daylightTime) << name;
}

TEST(CurrentTimeTest, NextChangeIsThisYearsOrNextYearsAndAFixedDateStays) {
    const ZoneChangeRule& daylight = kEurope.second;
    const std::tuple<const char*, ZoneChangeRule, CivilTime, std::optional<CivilTime>> cases[] = {
        {"ahead this year", daylight, {2024, 1, 1, 0, 0, 0}, CivilTime{2024, 3, 31, 2, 0, 0}},
        {"at the change", daylight, {2024, 3, 31, 2, 0, 0}, CivilTime{2024, 3, 31, 2, 0, 0}},
        {"passed: next year", daylight, {2024, 3, 31, 2, 0, 1}, CivilTime{2025, 3, 30, 2, 0, 0}},
        {"fixed date", {2023, 9, 0, 21, 0, 0, 0}, {2024, 1, 1, 0, 0, 0}, CivilTime{2023, 9, 21, 0, 0, 0}},
        {"before 1900", daylight, {1899, 1, 1, 0, 0, 0}, std::nullopt},
    };
    for (const auto& [name, rule, moment, next] : cases)
        EXPECT_EQ(NextChange(rule, moment), next) << name;
}

TEST(CurrentTimeTest, DstOffsetCodeInQuarterHours) {
    const std::pair<int, uint8_t> cases[] = {{-60, 4}, {-30, 2},   {-120, 8},   {60, 4},
                                             {0, 0},   {-45, 255}, {-135, 255}, {-150, 255}};
    for (const auto& [daylightBias, code] : cases)
        EXPECT_EQ(DstOffsetCode(0, daylightBias), code) << daylightBias;
}

} // namespace
