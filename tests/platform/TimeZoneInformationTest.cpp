#include "platform/TimeZoneInformation.h"
#include "platform/TimeChangeWatch.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace platform {
namespace {

struct RuleFields {
    int year, month, weekday, day, hour, minute;
};

RuleFields Fields(const SYSTEMTIME& t) {
    return {t.wYear, t.wMonth, t.wDayOfWeek, t.wDay, t.wHour, t.wMinute};
}

bool operator==(const RuleFields& a, const RuleFields& b) {
    return a.year == b.year && a.month == b.month && a.weekday == b.weekday && a.day == b.day &&
           a.hour == b.hour && a.minute == b.minute;
}

void PrintTo(const RuleFields& f, std::ostream* os) {
    *os << f.year << '/' << f.month << " weekday " << f.weekday << " day " << f.day << ' ' << f.hour << ':'
        << f.minute;
}

struct ZoneCase {
    const char* zone;
    QDateTime moment;
    DWORD result;
    LONG bias, daylightBias;
    RuleFields standardDate, daylightDate;
    const char* standardName;
};

TEST(TimeZoneInformationTest, ZoneRecordsFromTheZonesTransitions) {
    const QDateTime july(QDate(2024, 7, 1), QTime(12, 0), Qt::UTC);
    const QDateTime january(QDate(2024, 1, 15), QTime(12, 0), Qt::UTC);
    const ZoneCase cases[] = {
        {"Europe/Berlin",
         july,
         TIME_ZONE_ID_DAYLIGHT,
         -60,
         -60,
         {0, 10, 0, 5, 3, 0},
         {0, 3, 0, 5, 2, 0},
         "Central European Standard Time"},
        {"Australia/Sydney",
         july,
         TIME_ZONE_ID_STANDARD,
         -600,
         -60,
         {0, 4, 0, 1, 3, 0},
         {0, 10, 0, 1, 2, 0},
         "Australian Eastern Standard Time"},
        {"America/St_Johns",
         january,
         TIME_ZONE_ID_STANDARD,
         210,
         -60,
         {0, 11, 0, 1, 2, 0},
         {0, 3, 0, 2, 2, 0},
         "Newfoundland Standard Time"},
        // Winter is the daylight period of the zone's data, with a negative saving: lived as standard.
        {"Europe/Dublin",
         QDateTime(QDate(2026, 12, 15), QTime(12, 0), Qt::UTC),
         TIME_ZONE_ID_STANDARD,
         0,
         -60,
         {0, 10, 0, 5, 2, 0},
         {0, 3, 0, 5, 1, 0},
         "Greenwich Mean Time"},
        {"Asia/Kolkata", july, TIME_ZONE_ID_UNKNOWN, -330, 0, {}, {}, "India Standard Time"},
        // Changes on fixed dates (21 or 22 March and September), not on a weekday.
        {"Asia/Tehran",
         QDateTime(QDate(2021, 7, 1), QTime(12, 0), Qt::UTC),
         TIME_ZONE_ID_DAYLIGHT,
         -210,
         -60,
         {2021, 9, 3, 22, 0, 0},
         {2021, 3, 1, 22, 0, 0},
         nullptr},
        // Daylight saving ended for good in February 2019: standard time only.
        {"America/Sao_Paulo",
         QDateTime(QDate(2019, 7, 1), QTime(12, 0), Qt::UTC),
         TIME_ZONE_ID_UNKNOWN,
         180,
         0,
         {},
         {},
         nullptr},
    };
    for (const ZoneCase& c : cases) {
        SCOPED_TRACE(c.zone);
        TIME_ZONE_INFORMATION info;
        EXPECT_EQ(ZoneInformation(QTimeZone(c.zone), c.moment, &info), c.result);
        EXPECT_EQ(info.Bias, c.bias);
        EXPECT_EQ(info.StandardBias, 0);
        EXPECT_EQ(info.DaylightBias, c.daylightBias);
        EXPECT_EQ(Fields(info.StandardDate), c.standardDate);
        EXPECT_EQ(Fields(info.DaylightDate), c.daylightDate);
        if (c.standardName) {
            EXPECT_EQ(info.StandardName, QLatin1String(c.standardName));
        }
    }
}

TEST(TimeChangeWatchTest, ReplacingTheZoneLinkIsATimeChange) {
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("localtime"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/usr/share/zoneinfo/Etc/UTC"), link));
    TimeChangeWatch watch(link);
    int changes = 0;
    QObject::connect(&watch, &TimeChangeWatch::timeChanged, [&] { ++changes; });
    QFile(dir.filePath(QStringLiteral("unrelated"))).open(QIODevice::WriteOnly);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(changes, 0) << "another file of the directory";

    const QString next = dir.filePath(QStringLiteral("localtime.new"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/usr/share/zoneinfo/Europe/Berlin"), next));
    ASSERT_EQ(std::rename(next.toLocal8Bit().constData(), link.toLocal8Bit().constData()), 0);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(changes, 1);
}

} // namespace
} // namespace platform
