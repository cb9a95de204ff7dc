// The PC's own services used by the simulated phone: pairing, the time and phone windows, the values
// it reads and is notified of, and what it writes back.
#include "mainframe/CMainFrame.h"
#include "platform/DialogItems.h"
#include "platform/TimeZoneInformation.h"
#include "profiles/control/AncsIds.h"
#include "profiles/control/PhoneIds.h"
#include "profiles/sensor/TimeIds.h"
#include "support/SimFixture.h"
#include "veyrasim.h"

#include <QAbstractButton>
#include <QCalendarWidget>
#include <QComboBox>
#include <QTreeWidget>

namespace {

using Bytes = std::vector<uint8_t>;
using Kind = orv::sim::PeerClientValue::Kind;
const std::string kPhone = "5E:3B:90:11:42:77";

const std::string kPhonePeer = R"({"kind": "phone", "address": "5E:3B:90:11:42:77", "addressType": "random",
    "name": "Mira's Phone", "advIntervalMs": 100, "security": "encryption", "parameterRequest": {"afterMs":
    6000, "intervalMin": 24, "intervalMax": 40, "slaveLatency": 0, "supervisionTimeout": 400}})";

class LocalServerE2eTest : public SimFixture {
protected:
    void SetUp() override {
        SimFixture::SetUp();
        // Saturday 30 March 2024, 23:30 in Berlin: daylight time starts in two and a half hours.
        platform::SetLocalClock([] { return QDateTime(QDate(2024, 3, 30), QTime(22, 30), Qt::UTC); },
                                [] { return QTimeZone("Europe/Berlin"); });
    }
    void TearDown() override {
        SimFixture::TearDown();
        platform::SetLocalClock(nullptr, nullptr);
    }
    // Connects the phone and lets it go through the time and alert services.
    void ConnectPhone() {
        ASSERT_NE(ConnectedWorld(kPhonePeer, QStringLiteral("Mira's Phone")), nullptr);
        Advance(10000);
        ASSERT_NE(Frame()->TimeWindow(), nullptr);
        ASSERT_NE(Frame()->PhoneWindow(), nullptr);
    }
    std::vector<orv::sim::PeerClientValue> Received(const std::string& characteristic, Kind kind) {
        std::vector<orv::sim::PeerClientValue> values;
        for (auto& value : orv::sim::takePeerClientValues(kPhone))
            if (value.characteristic == characteristic && value.kind == kind)
                values.push_back(value);
        return values;
    }
};

TEST_F(LocalServerE2eTest, ConnectingPairsAndTheWindowsServeThePhone) {
    ConnectPhone();
    EXPECT_TRUE(Frame()->LinkEncrypted());
    EXPECT_TRUE(Frame()->AreCurrentTimeNotificationsOn());
    EXPECT_TRUE(Frame()->PhoneState().newAlertOn && Frame()->PhoneState().unreadStatusOn &&
                Frame()->PhoneState().alertStatusOn && Frame()->PhoneState().ringerSettingOn);
    EXPECT_EQ(Frame()->PhoneState().newAlertMask, 0x03FF);
    EXPECT_EQ(Frame()->PhoneState().unreadStatusMask, 0x03FF);
    const auto values = orv::sim::takePeerClientValues(kPhone);
    ASSERT_FALSE(values.empty());
    EXPECT_EQ(values.front(),
              (orv::sim::PeerClientValue{"2A2B", Kind::Read, 0, {0xE8, 0x07, 3, 30, 23, 30, 0, 6, 0, 0}}));
    EXPECT_TRUE(std::all_of(values.begin(), values.end(), [](const auto& v) { return v.error == 0; }));
    EXPECT_TRUE(EveryRecordGivenBack());
}

TEST_F(LocalServerE2eTest, ThePhonesReferenceUpdateEveryTwoMinutesTimesOutWhenAskedTo) {
    ConnectPhone();
    CTimeCtrl* time = Frame()->TimeWindow();
    qobject_cast<QAbstractButton*>(platform::GetDlgItem(time, IDC_TIME_SIMULATE_TIMEOUT))->click();
    Advance(120000); // the phone asks two minutes after its first request
    EXPECT_EQ(platform::GetDlgItemText(time, IDC_TIME_UPDATE_STATE), QStringLiteral("Update Pending"));
    Advance(30000);
    EXPECT_EQ(platform::GetDlgItemText(time, IDC_TIME_UPDATE_STATE), QStringLiteral("Idle"));
    EXPECT_EQ(platform::GetDlgItemText(time, IDC_TIME_LAST_UPDATE_RESULT), QStringLiteral("Timeout"));
}

TEST_F(LocalServerE2eTest, DateChangedAcrossADaylightChangeIsNotifiedWithReasonNine) {
    ConnectPhone();
    orv::sim::takePeerClientValues(kPhone);
    auto* calendar =
        qobject_cast<QCalendarWidget*>(platform::GetDlgItem(Frame()->TimeWindow(), IDC_TIME_CALENDAR));
    calendar->setSelectedDate(QDate(2024, 4, 15));
    Advance(500);
    calendar->setSelectedDate(QDate(2024, 4, 16));
    Advance(500);
    const auto notified = Received("2A2B", Kind::Notification);
    ASSERT_EQ(notified.size(), 2u);
    ASSERT_EQ(notified[0].value.size(), 10u);
    EXPECT_EQ(Bytes(notified[0].value.begin(), notified[0].value.begin() + 4), (Bytes{0xE8, 0x07, 4, 15}));
    EXPECT_EQ(notified[0].value[7], 1) << "a Monday";
    EXPECT_EQ(notified[0].value[9], 9);
    EXPECT_EQ(notified[1].value[9], 1) << "no daylight change between the 15th and the 16th";
}

TEST_F(LocalServerE2eTest, ThePhoneMutesTheRingingItIsToldOf) {
    ConnectPhone();
    orv::sim::takePeerClientValues(kPhone);
    EXPECT_TRUE(Frame()->ExecuteCommand(IDC_PHONE_RING));
    Advance(4000);
    EXPECT_TRUE(Frame()->PhoneState().ringerActive);
    Advance(2000);
    EXPECT_FALSE(Frame()->PhoneState().ringerActive);
    EXPECT_TRUE(platform::GetDlgItem(Frame()->PhoneWindow(), IDC_PHONE_RING_PICTURE)->isHidden());
    const auto status = Received("2A3F", Kind::Notification);
    ASSERT_EQ(status.size(), 2u);
    EXPECT_EQ(status[0].value, Bytes{0x01});
    EXPECT_EQ(status[1].value, Bytes{0x00});
}

TEST_F(LocalServerE2eTest, ThePhoneFetchesTheAttributesOfANotificationItIsTold) {
    ConnectPhone();
    CAncsCtrl* window = Frame()->AncsWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(Frame()->AncsState().notificationSourceOn && Frame()->AncsState().dataSourceOn);
    qobject_cast<QComboBox*>(platform::GetDlgItem(window, IDC_ANCS_CATEGORY))->setCurrentText("Email");
    qobject_cast<QComboBox*>(platform::GetDlgItem(window, IDC_ANCS_COUNT))->setCurrentText("2");
    window->OnBnClickedAdd();
    qobject_cast<QTreeWidget*>(platform::GetDlgItem(window, IDC_ANCS_CATEGORY_LIST))
        ->topLevelItem(0)
        ->setSelected(true);
    orv::sim::takePeerClientValues(kPhone);
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
    const auto answers = Received("22eac6e9-24d6-4bb5-be44-b36ace7c7bfb", Kind::Answer);
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].value, answer);
}

} // namespace
