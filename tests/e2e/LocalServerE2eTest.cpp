// The PC's own services used by the simulated phone: pairing, the time and phone windows, the values
// it reads and is notified of, and what it writes back.
#include "E2eFixture.h"
#include "mainframe/CMainFrame.h"
#include "platform/TimeZoneInformation.h"
#include "profiles/control/AncsIds.h"
#include "profiles/control/PhoneIds.h"
#include "profiles/sensor/TimeIds.h"
#include "veyrasim.h"

#include <QAbstractButton>
#include <QCalendarWidget>
#include <QComboBox>
#include <QTreeWidget>
#include <gmock/gmock.h>

namespace {

using Bytes = std::vector<uint8_t>;
using testing::_;
using testing::ElementsAre;
using Kind = orv::sim::PeerClientValue::Kind;
const std::string kPhone = "5E:3B:90:11:42:77";

class LocalServerE2eTest : public E2eFixture {
protected:
    void SetUp() override {
        E2eFixture::SetUp();
        // Saturday 30 March 2024, 23:30 in Berlin: daylight time starts in two and a half hours.
        platform::SetLocalClock([] { return QDateTime(QDate(2024, 3, 30), QTime(22, 30), Qt::UTC); },
                                [] { return QTimeZone("Europe/Berlin"); });
        // The phone goes through the time and alert services.
        ASSERT_NE(ConnectedWorld("", QStringLiteral("Mira's Phone")), nullptr);
        Advance(10000);
        ASSERT_NE(Frame()->TimeWindow(), nullptr);
        ASSERT_NE(Frame()->PhoneWindow(), nullptr);
        m_served = orv::sim::takePeerClientValues(kPhone);
    }
    void TearDown() override {
        E2eFixture::TearDown();
        platform::SetLocalClock(nullptr, nullptr);
    }
    // The values of one characteristic that the phone got in one way since the last call.
    std::vector<Bytes> Received(const std::string& characteristic, Kind kind) {
        std::vector<Bytes> values;
        for (const orv::sim::PeerClientValue& value : orv::sim::takePeerClientValues(kPhone))
            if (value.characteristic == characteristic && value.kind == kind)
                values.push_back(value.value);
        return values;
    }

    std::vector<orv::sim::PeerClientValue> m_served; // what the phone was given while it connected
};

TEST_F(LocalServerE2eTest, ConnectingPairsAndTheWindowsServeThePhone) {
    EXPECT_TRUE(Frame()->LinkEncrypted());
    EXPECT_TRUE(Frame()->AreCurrentTimeNotificationsOn());
    EXPECT_TRUE(Frame()->PhoneState().newAlertOn && Frame()->PhoneState().unreadStatusOn &&
                Frame()->PhoneState().alertStatusOn && Frame()->PhoneState().ringerSettingOn);
    EXPECT_EQ(Frame()->PhoneState().newAlertMask, 0x03FF);
    EXPECT_EQ(Frame()->PhoneState().unreadStatusMask, 0x03FF);
    ASSERT_FALSE(m_served.empty());
    EXPECT_EQ(m_served.front(),
              (orv::sim::PeerClientValue{"2A2B", Kind::Read, 0, {0xE8, 0x07, 3, 30, 23, 30, 0, 6, 0, 0}}));
    EXPECT_TRUE(std::all_of(m_served.begin(), m_served.end(), [](const auto& v) { return v.error == 0; }));
}

TEST_F(LocalServerE2eTest, ThePhonesReferenceUpdateEveryTwoMinutesTimesOutWhenAskedTo) {
    CTimeCtrl* time = Frame()->TimeWindow();
    Item<QAbstractButton>(time, IDC_TIME_SIMULATE_TIMEOUT)->click();
    Advance(120000); // the phone asks two minutes after its first request
    EXPECT_EQ(Text(time, IDC_TIME_UPDATE_STATE), QStringLiteral("Update Pending"));
    Advance(30000);
    EXPECT_EQ(Text(time, IDC_TIME_UPDATE_STATE), QStringLiteral("Idle"));
    EXPECT_EQ(Text(time, IDC_TIME_LAST_UPDATE_RESULT), QStringLiteral("Timeout"));
}

TEST_F(LocalServerE2eTest, DateChangedAcrossADaylightChangeIsNotifiedWithReasonNine) {
    auto* calendar = Item<QCalendarWidget>(Frame()->TimeWindow(), IDC_TIME_CALENDAR);
    calendar->setSelectedDate(QDate(2024, 4, 15));
    Advance(500);
    calendar->setSelectedDate(QDate(2024, 4, 16));
    Advance(500);
    const auto notified = Received("2A2B", Kind::Notification);
    ASSERT_EQ(notified.size(), 2u);
    // The date picked, its day of the week (1 a Monday) and the reason: manual, with a daylight change.
    EXPECT_THAT(notified[0], ElementsAre(0xE8, 0x07, 4, 15, _, _, _, 1, _, 9));
    EXPECT_THAT(notified[1], ElementsAre(0xE8, 0x07, 4, 16, _, _, _, 2, _, 1)) << "no daylight change";
}

TEST_F(LocalServerE2eTest, ThePhoneMutesTheRingingItIsToldOf) {
    EXPECT_TRUE(Frame()->ExecuteCommand(IDC_PHONE_RING));
    Advance(4000);
    EXPECT_TRUE(Frame()->PhoneState().ringerActive);
    Advance(2000);
    EXPECT_FALSE(Frame()->PhoneState().ringerActive);
    EXPECT_TRUE(Item<QWidget>(Frame()->PhoneWindow(), IDC_PHONE_RING_PICTURE)->isHidden());
    EXPECT_EQ(Received("2A3F", Kind::Notification), (std::vector<Bytes>{{0x01}, {0x00}}));
}

TEST_F(LocalServerE2eTest, ThePhoneFetchesTheAttributesOfANotificationItIsTold) {
    CAncsCtrl* window = Frame()->AncsWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(Frame()->AncsState().notificationSourceOn && Frame()->AncsState().dataSourceOn);
    Item<QComboBox>(window, IDC_ANCS_CATEGORY)->setCurrentText("Email");
    Item<QComboBox>(window, IDC_ANCS_COUNT)->setCurrentText("2");
    window->OnBnClickedAdd();
    Item<QTreeWidget>(window, IDC_ANCS_CATEGORY_LIST)->topLevelItem(0)->setSelected(true);
    const qsizetype writes = LogCount(QStringLiteral("DbDataWriteResult"));
    window->OnBnClickedUpdate();
    Advance(2000);
    EXPECT_EQ(LogCount(QStringLiteral("DbDataWriteResult")), writes + 1);

    const uint32_t uid = window->Store().at(6).notificationUid;
    Bytes answer{0, uint8_t(uid), uint8_t(uid >> 8), uint8_t(uid >> 16), uint8_t(uid >> 24)};
    const std::string app = "com.orvane.tindrel.notifications";
    for (int block = 0; block < 2; ++block) {
        answer.insert(answer.end(), {0, uint8_t(app.size()), 0});
        answer.insert(answer.end(), app.begin(), app.end());
        answer.insert(answer.end(), {1, 5, 0, 'H', 'e', 'l', 'l', 'o', 3, 5, 0, 'E', 'm', 'a', 'i', 'l'});
    }
    EXPECT_EQ(Received("22eac6e9-24d6-4bb5-be44-b36ace7c7bfb", Kind::Answer), std::vector<Bytes>{answer});
}

} // namespace
