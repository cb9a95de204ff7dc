#include "platform/TimeZoneInformation.h"
#include "platform/TimeChangeWatch.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace platform {
namespace {

// A rule as "year/month weekday day hh:mm"; a zone without daylight saving has "0/0 w0 d0 00:00".
std::string Rule(const SYSTEMTIME& t) {
    return QString::asprintf("%d/%d w%d d%d %02d:%02d", t.wYear, t.wMonth, t.wDayOfWeek, t.wDay, t.wHour,
                             t.wMinute)
        .toStdString();
}

QDateTime NoonUtc(int year, int month, int day) {
    return QDateTime(QDate(year, month, day), QTime(12, 0), Qt::UTC);
}

TEST(TimeZoneInformationTest, ZoneRecordsFromTheZonesTransitions) {
    struct Case {
        const char* zone;
        QDateTime moment;
        DWORD result;
        LONG bias, daylightBias;
        const char *standardDate, *daylightDate;
        const char* standardName; // null: not checked
    };
    const QDateTime july = NoonUtc(2024, 7, 1);
    const char* none = "0/0 w0 d0 00:00";
    const Case cases[] = {
        {"Europe/Berlin", july, TIME_ZONE_ID_DAYLIGHT, -60, -60, "0/10 w0 d5 03:00", "0/3 w0 d5 02:00",
         "Central European Standard Time"},
        {"Australia/Sydney", july, TIME_ZONE_ID_STANDARD, -600, -60, "0/4 w0 d1 03:00", "0/10 w0 d1 02:00",
         "Australian Eastern Standard Time"},
        {"America/St_Johns", NoonUtc(2024, 1, 15), TIME_ZONE_ID_STANDARD, 210, -60, "0/11 w0 d1 02:00",
         "0/3 w0 d2 02:00", "Newfoundland Standard Time"},
        // Winter is the daylight period of the zone's data, with a negative saving: lived as standard.
        {"Europe/Dublin", NoonUtc(2026, 12, 15), TIME_ZONE_ID_STANDARD, 0, -60, "0/10 w0 d5 02:00",
         "0/3 w0 d5 01:00", "Greenwich Mean Time"},
        {"Asia/Kolkata", july, TIME_ZONE_ID_UNKNOWN, -330, 0, none, none, "India Standard Time"},
        // Changes on fixed dates (21 or 22 March and September), not on a weekday.
        {"Asia/Tehran", NoonUtc(2021, 7, 1), TIME_ZONE_ID_DAYLIGHT, -210, -60, "2021/9 w3 d22 00:00",
         "2021/3 w1 d22 00:00", nullptr},
        // Daylight saving ended for good in February 2019: standard time only.
        {"America/Sao_Paulo", NoonUtc(2019, 7, 1), TIME_ZONE_ID_UNKNOWN, 180, 0, none, none, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.zone);
        TIME_ZONE_INFORMATION info;
        EXPECT_EQ(ZoneInformation(QTimeZone(c.zone), c.moment, &info), c.result);
        EXPECT_EQ(info.Bias, c.bias);
        EXPECT_EQ(info.StandardBias, 0);
        EXPECT_EQ(info.DaylightBias, c.daylightBias);
        EXPECT_EQ(Rule(info.StandardDate), c.standardDate);
        EXPECT_EQ(Rule(info.DaylightDate), c.daylightDate);
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
