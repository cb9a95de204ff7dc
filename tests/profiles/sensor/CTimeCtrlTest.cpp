// The time window on a fixed local clock (Europe/Berlin, Saturday 30 March 2024 23:30:00, the night
// before daylight time starts) and virtual window timers.
#include "profiles/sensor/CTimeCtrl.h"

#include "platform/TimeZoneInformation.h"
#include "platform/TimerClock.h"
#include "profiles/sensor/TimeIds.h"
#include "support/EnvironmentFixture.h"
#include "support/WindowTest.h"

#include <QAbstractButton>
#include <QCalendarWidget>
#include <QComboBox>

namespace {

using Bytes2 = std::array<uint8_t, 2>;

class TimeCtrlTest : public WindowTest<CTimeCtrl, EnvironmentFixture> {
protected:
    void SetUp() override {
        platform::SetLocalClock([this] { return m_now; }, [this] { return QTimeZone(m_zone); });
        m_mainTarget.onCommand(IDC_TIME_CALENDAR, [this] { m_dstChanged = m_window->OnDateSelected(); });
        m_mainTarget.onCommand(IDC_TIME_ZONE, [this] { m_window->OnDstSelected(); });
        m_mainTarget.onCommand(IDC_TIME_SIMULATE_TIMEOUT, [this] { m_window->OnTimeoutCheck(); });
        WindowTest::SetUp();
    }
    void TearDown() override {
        delete m_window;
        platform::SetLocalClock(nullptr, nullptr);
        EnvironmentFixture::TearDown();
    }
    QString Clock() const { return Text(IDC_TIME_HOUR) + QLatin1Char(':') + Text(IDC_TIME_MINUTE); }
    QString NextChange() const {
        QStringList parts;
        for (UINT id = IDC_TIME_DST_DAY; id <= IDC_TIME_DST_SECOND; ++id)
            parts << Text(id);
        return parts.join(QLatin1Char(' '));
    }
    void PickDate(QDate date) { Item<QCalendarWidget>(IDC_TIME_CALENDAR)->setSelectedDate(date); }
    void PickZone(int item) {
        Item<QComboBox>(IDC_TIME_ZONE)->setCurrentIndex(item);
        emit Item<QComboBox>(IDC_TIME_ZONE)->activated(item);
    }

    QDateTime m_now{QDate(2024, 3, 30), QTime(22, 30, 0), Qt::UTC};
    QByteArray m_zone = "Europe/Berlin";
    bool m_dstChanged = false;
};

TEST_F(TimeCtrlTest, OpensOnTheLocalTimeAndTheZonesNextChange) {
    EXPECT_EQ(Clock(), QStringLiteral("23:30"));
    EXPECT_EQ(Item<QComboBox>(IDC_TIME_ZONE)->itemText(1), QStringLiteral("Time Zone: UTC + 01:00"));
    EXPECT_EQ(Text(IDC_TIME_DST_NAME), QStringLiteral("Daylight Time (+1h)"));
    EXPECT_EQ(NextChange(), QStringLiteral("31 03 2024 02 00 00"));
    EXPECT_EQ(m_window->GetLocalTimeInfoValue(), (Bytes2{4, 0})) << "standard time in force";
    EXPECT_EQ(m_window->GetNextDstChangeValue(), (std::array<uint8_t, 8>{0xE8, 0x07, 3, 31, 2, 0, 0, 4}));
}

TEST_F(TimeCtrlTest, ClockRunsBySecondsToTheMinuteThenByMinutesIntoTheNextDay) {
    m_now = m_now.addSecs(29 * 60 + 30); // 23:59:30 local
    Open();
    // Milliseconds on, the clock shown: by seconds to 00:00, then a minute period.
    const std::pair<uint64_t, const char*> steps[] = {
        {29000, "23:59"}, {1000, "00:00"}, {59000, "00:00"}, {60 * 60000 - 59000, "01:00"}};
    for (const auto& [ms, clock] : steps) {
        platform::TimerClock::advance(ms);
        EXPECT_EQ(Clock(), QLatin1String(clock)) << ms;
    }
    EXPECT_EQ(Item<QCalendarWidget>(IDC_TIME_CALENDAR)->selectedDate(), QDate(2024, 3, 31));
    EXPECT_EQ(m_window->GetCurrentTimeValue()[7], 7) << "Sunday";
    EXPECT_EQ(m_window->GetReferenceTimeInfoValue(), (std::array<uint8_t, 4>{0x01, 0xFF, 0, 1}));
}

// Opened on a Sunday, the Current Time served gives the day as 7; Monday is 1, Saturday 6.
TEST_F(TimeCtrlTest, TheCurrentTimeCountsTheDaysFromMondayOneToSundaySeven) {
    const std::pair<QDate, uint8_t> days[] = {
        {QDate(2024, 4, 7), 7}, {QDate(2024, 4, 8), 1}, {QDate(2024, 4, 13), 6}};
    for (const auto& [date, day] : days) {
        m_now = QDateTime(date, QTime(10, 0), Qt::UTC); // noon in Berlin
        Open();
        const auto d = static_cast<uint8_t>(date.day());
        EXPECT_EQ(m_window->GetCurrentTimeValue(),
                  (std::array<uint8_t, 10>{0xE8, 0x07, 4, d, 12, 0, 0, day, 0, 0}))
            << date.toString(Qt::ISODate).toStdString();
    }
}

TEST_F(TimeCtrlTest, ZoneItemOneIsAnHourEastAcrossMidnightAndAnUpdateReadsTheSystemAgain) {
    PickZone(1);
    EXPECT_EQ(Clock(), QStringLiteral("00:30"));
    EXPECT_EQ(Item<QCalendarWidget>(IDC_TIME_CALENDAR)->selectedDate(), QDate(2024, 3, 31));
    EXPECT_EQ(m_window->GetLocalTimeInfoValue(), (Bytes2{8, 0}));
    PickZone(0);
    EXPECT_EQ(Clock(), QStringLiteral("23:30"));
    EXPECT_EQ(Item<QCalendarWidget>(IDC_TIME_CALENDAR)->selectedDate(), QDate(2024, 3, 30));
    EXPECT_EQ(m_window->GetLocalTimeInfoValue(), (Bytes2{4, 0}));
    PickZone(1);
    m_now = m_now.addSecs(3 * 3600);
    m_window->OnGetReferenceUpdate(); // not simulating a time-out: the system's time and zone again
    EXPECT_EQ(Clock(), QStringLiteral("03:30"));
    EXPECT_EQ(m_window->GetLocalTimeInfoValue(), (Bytes2{4, 4})) << "in daylight time now";
}

TEST_F(TimeCtrlTest, DatePickedAcrossAChangeMovesTheNextChangeAndTheOffsetInForce) {
    struct Case {
        QDate date;
        bool changed;
        const char* next;
        const char* name;
        Bytes2 localTime;
    };
    const Case cases[] = {
        {QDate(2024, 4, 15), true, "27 10 2024 03 00 00", "Standard Time", {4, 4}},
        {QDate(2024, 12, 1), true, "30 03 2025 02 00 00", "Daylight Time (+1h)", {4, 0}},
        {QDate(2024, 12, 2), false, "30 03 2025 02 00 00", "Daylight Time (+1h)", {4, 0}},
        {QDate(2025, 12, 1), true, "29 03 2026 02 00 00", "Daylight Time (+1h)", {4, 0}},
        {QDate(1899, 7, 1), true, "00 00 0000 00 00 00", "Daylight Time (+1h)", {4, 0}},
    };
    for (const Case& c : cases) {
        PickDate(c.date);
        EXPECT_EQ(m_dstChanged, c.changed) << c.next;
        EXPECT_EQ(NextChange(), QLatin1String(c.next));
        EXPECT_EQ(Text(IDC_TIME_DST_NAME), QLatin1String(c.name));
        EXPECT_EQ(m_window->GetLocalTimeInfoValue(), c.localTime) << c.next;
    }
}

TEST_F(TimeCtrlTest, InvalidTimeIsRefusedWithItsMessage) {
    platform::SetDlgItemText(m_window, IDC_TIME_HOUR, QStringLiteral("24"));
    bool dstChanged = true;
    EXPECT_FALSE(m_window->OnSetTime(&dstChanged));
    EXPECT_EQ(PromptTexts(),
              std::vector<QString>{QStringLiteral("Valid Time Values\n Hour:0-23\n Minute: 0-59")});
    EXPECT_EQ(Clock(), QStringLiteral("23:30"));
    PickDate(QDate(2024, 3, 31)); // 23:30 on the first day of daylight time
    platform::SetDlgItemText(m_window, IDC_TIME_HOUR, QStringLiteral("1"));
    EXPECT_TRUE(m_window->OnSetTime(&dstChanged));
    EXPECT_TRUE(dstChanged) << "01:30 is before that day's change";
    EXPECT_EQ(Clock(), QStringLiteral("01:30"));
}

TEST_F(TimeCtrlTest, ReferenceUpdateWithTheTimeOutTickedEndsAfterItsFullThirtySeconds) {
    Item<QAbstractButton>(IDC_TIME_SIMULATE_TIMEOUT)->click();
    m_window->OnGetReferenceUpdate();
    EXPECT_EQ(m_window->GetTimeUpdateStateValue(), (Bytes2{1, 0}));
    platform::TimerClock::advance(10000);
    m_router.invoke(Item<QAbstractButton>(IDC_TIME_CANCEL_UPDATE));
    EXPECT_EQ(Text(IDC_TIME_LAST_UPDATE_RESULT), QStringLiteral("Cancelled"));
    m_window->OnGetReferenceUpdate();
    platform::TimerClock::advance(29000);
    EXPECT_TRUE(m_window->IsUpdatePending()) << "the first request's timer is gone";
    platform::TimerClock::advance(1000);
    EXPECT_EQ(m_window->GetTimeUpdateStateValue(), (Bytes2{0, 4}));
}

TEST_F(TimeCtrlTest, UnreadableZoneKeepsTheZoneUnknownAndTheClockOnUtc) {
    m_zone = "No/Such_Zone";
    Open();
    EXPECT_EQ(PromptTexts(), std::vector<QString>{QStringLiteral("Couldn't get the system time zone")});
    EXPECT_EQ(Clock(), QStringLiteral("22:30"));
    EXPECT_EQ(Item<QCalendarWidget>(IDC_TIME_CALENDAR)->selectedDate(), QDate(2024, 3, 30));
    EXPECT_EQ(m_window->GetCurrentTimeValue(),
              (std::array<uint8_t, 10>{0xE8, 0x07, 3, 30, 22, 30, 0, 6, 0, 0}));
    EXPECT_EQ(Item<QComboBox>(IDC_TIME_ZONE)->count(), 1);
    PickZone(0);
    EXPECT_EQ(m_window->GetLocalTimeInfoValue(), (Bytes2{0x80, 255}));
    EXPECT_EQ(Text(IDC_TIME_DST_NAME), QStringLiteral("DST not known"));
}

} // namespace
