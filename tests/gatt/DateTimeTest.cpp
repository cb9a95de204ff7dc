#include "gatt/DateTime.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

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

} // namespace
