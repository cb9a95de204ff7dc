// The local server's dispatch by handle and the phone's server state, on a recording host that fills in
// the handles as the library does (Current Time 28, its configuration 29, New Alert 8, ...).
#include "platform/DialogItems.h"
#include "platform/TimerClock.h"
#include "profiles/control/AncsIds.h"
#include "profiles/control/PhoneIds.h"
#include "profiles/sensor/TimeIds.h"
#include "res/resource.h"
#include "support/MainFrameFixture.h"

#include <QComboBox>
#include <QTreeWidget>

namespace {

using Bytes = std::vector<uint8_t>;
using Notes = std::vector<std::pair<int64_t, Bytes>>; // handle and value of each notification
constexpr int32_t kNone = -1;

class LocalServerTest : public PeerFixture {
protected:
    void SetUp() override {
        PeerFixture::SetUp();
        DeliverRecord(BLE_EVT_SERVER_DB_ALLOCATED, BleHostServerAllocEvent{0, 0, 7});
        Deliver(BLE_EVT_SERVER_DB_ADDED, 0);
        h = m_frame->ServerHandles();
        ConnectPeer();
    }
    void Encrypt() { DeliverRecord(BLE_EVT_ENCRYPTION_RESULT, BleHostEncryptionEvent{kCid, 1, 0}); }
    HostCall Read(uint16_t handle) {
        DeliverRecord(BLE_EVT_SERVER_READ, BleHostServerReadEvent{kCid, handle});
        return Calls("OrvBleServerReadResponse").back();
    }
    int64_t Write(const std::vector<std::pair<uint16_t, Bytes>>& values) {
        std::vector<BleHostWriteEntry> entries;
        for (const auto& [handle, value] : values)
            entries.push_back({handle, 0, static_cast<uint16_t>(value.size()), 0, value.data()});
        DeliverRecord(BLE_EVT_SERVER_WRITE,
                      BleHostServerWriteEvent{kCid, values.front().first,
                                              static_cast<uint16_t>(entries.size()), entries.data()});
        return Calls("OrvBleServerWriteResponse").back().args[2];
    }
    // The notifications sent since the last call: handle and bytes.
    Notes Sent() {
        Notes sent;
        for (const HostCall& call : Calls("OrvBleServerSendNotification"))
            sent.emplace_back(call.args[1], call.data);
        sent.erase(sent.begin(), sent.begin() + static_cast<long>(std::min(m_seen, sent.size())));
        m_seen += sent.size();
        return sent;
    }
    void Subscribe() {
        Encrypt();
        for (uint16_t config : {h.newAlertConfig, h.unreadAlertStatusConfig, h.alertStatusConfig,
                                h.ringerSettingConfig, h.currentTimeConfig})
            Write({{config, {1, 0}}});
        Write({{h.alertControlPoint, {0, 0xFF}}});
        Write({{h.alertControlPoint, {1, 0xFF}}});
        Sent();
    }
    void AddAlert(int categoryItem, const QString& text) {
        platform::SetDlgItemText(m_frame->PhoneWindow(), IDC_PHONE_TEXT, text);
        qobject_cast<QComboBox*>(platform::GetDlgItem(m_frame->PhoneWindow(), IDC_PHONE_CATEGORY))
            ->setCurrentIndex(categoryItem);
        ASSERT_TRUE(m_frame->ExecuteCommand(IDC_PHONE_ADD));
    }
    QTreeWidget* List() const {
        return qobject_cast<QTreeWidget*>(platform::GetDlgItem(m_frame->PhoneWindow(), IDC_PHONE_LIST));
    }

    LocalServerHandles h;
    size_t m_seen = 0;
};

TEST_F(LocalServerTest, ReadsAndWritesAreDispatchedByHandleOnceEncryptedAndAWritesLastEntryGivesItsResult) {
    EXPECT_EQ(Read(h.currentTime).args[2], 0x0F);
    EXPECT_EQ(Write({{h.newAlertConfig, {1, 0}}}), 0x0F);
    EXPECT_EQ(m_frame->TimeWindow(), nullptr);
    EXPECT_EQ(m_frame->PhoneWindow(), nullptr);
    EXPECT_TRUE(LogContains(QStringLiteral("DbDataReadResult, m_bEncrypted = 0, handle = ")));
    Encrypt();
    const std::tuple<uint16_t, int64_t, size_t> cases[] = {{h.alertStatus, 0, 1},
                                                           {h.ringerSetting, 0, 1},
                                                           {h.newAlert, 2, 0},
                                                           {h.alertStatusConfig, 2, 0},
                                                           {h.currentTime, 0, 10},
                                                           {h.currentTimeConfig, 0, 2},
                                                           {h.timeWithDst, 0, 8},
                                                           {h.timeUpdateControlPoint, 2, 0},
                                                           {h.immediateAlertLevel, 2, 0},
                                                           {h.ancs.controlPoint, 2, 0},
                                                           {0x7777, 2, 0}};
    for (const auto& [handle, result, length] : cases) {
        const HostCall answer = Read(handle);
        EXPECT_EQ(answer.args[1], handle);
        EXPECT_EQ(answer.args[2], result) << handle;
        EXPECT_EQ(answer.data.size(), length) << handle;
    }
    EXPECT_EQ(Read(h.ringerSetting).data, Bytes{0x01}) << "normal";
    ASSERT_NE(m_frame->TimeWindow(), nullptr) << "opened by the first time read";
    EXPECT_EQ(Record(0).roles, BleDeviceRecord::kRoleTime);

    const std::pair<std::vector<std::pair<uint16_t, Bytes>>, int64_t> writes[] = {
        {{{h.currentTimeConfig, {1, 0}}}, 0},
        {{{h.currentTimeConfig, {2, 0}}}, kNone},
        {{{h.currentTimeConfig, {}}}, kNone},
        {{{h.timeUpdateControlPoint, {}}}, kNone},
        {{{h.timeUpdateControlPoint, {2}}}, kNone},
        {{{h.currentTimeConfig, {0, 0}}, {0x7777, {1}}}, 0x01},
        {{{h.ringerControlPoint, {}}}, kNone},
        {{{h.ringerControlPoint, {9}}}, 0x01},
        {{{h.ringerControlPoint, {2}}}, 0},
        {{{h.alertControlPoint, {0}}}, kNone},
        {{{h.alertControlPoint, {6, 0xFF}}}, 0xA0},
        {{{h.alertControlPoint, {0, 0xFF}}}, 0},
        {{{h.alertControlPoint, {2, 3}}}, 0},
        {{{h.newAlertConfig, {2, 0}}}, kNone},
        {{{h.newAlertConfig, {1, 0}}}, 0},
        {{{h.immediateAlertLevel, {1}}}, kNone},
        {{{0x7777, {1}}}, 0x01},
    };
    for (const auto& [entries, result] : writes)
        EXPECT_EQ(Write(entries), result) << entries.front().first << " x" << entries.size();
    EXPECT_FALSE(m_frame->AreCurrentTimeNotificationsOn())
        << "the first of the two entries switched them off";
    EXPECT_EQ(m_frame->PhoneState().newAlertMask, 0x03F7);
    EXPECT_TRUE(m_frame->PhoneState().newAlertOn);
    EXPECT_EQ(Record(0).roles, BleDeviceRecord::kRoleTime | BleDeviceRecord::kRolePhoneAlerts);
}

TEST_F(LocalServerTest, RingerModesMoveTheRingerAndVibrateAndAreNotified) {
    Subscribe();
    ASSERT_TRUE(m_frame->ExecuteCommand(IDC_PHONE_RING));
    EXPECT_EQ(Sent(), (Notes{{h.alertStatus, {0x01}}}));
    EXPECT_EQ(Write({{h.ringerControlPoint, {1}}}), 0) << "silent: vibrate instead of the ringer";
    EXPECT_EQ(Sent(), (Notes{{h.ringerSetting, {0}}, {h.alertStatus, {0x02}}}));
    ASSERT_TRUE(m_frame->ExecuteCommand(IDC_PHONE_RINGER_NORMAL));
    EXPECT_EQ(Sent(), (Notes{{h.ringerSetting, {1}}, {h.alertStatus, {0x03}}}));
    EXPECT_EQ(Write({{h.ringerControlPoint, {2}}}), 0) << "mute once";
    EXPECT_EQ(Sent(), (Notes{{h.alertStatus, {0x02}}}));
}

TEST_F(LocalServerTest, AddToggleAndDeleteSendExactlyTheChangedCounts) {
    Subscribe();
    AddAlert(0, QStringLiteral("Mira"));
    EXPECT_EQ(Sent(), (Notes{{h.newAlert, {3, 1, 'M', 'i', 'r', 'a'}},
                             {h.newAlert, {3, 0}},
                             {h.unreadAlertStatus, {3, 1}}}));
    Write({{h.newAlertConfig, {0, 0}}});
    AddAlert(4, QStringLiteral("Bill"));
    EXPECT_EQ(Sent(), (Notes{{h.unreadAlertStatus, {1, 1}}}))
        << "New Alert off: listed and counted all the same";
    List()->topLevelItem(1)->setSelected(true); // Mira's call
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_PHONE_TOGGLE_READ));
    EXPECT_EQ(Sent(), (Notes{{h.unreadAlertStatus, {3, 0}}}));
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_PHONE_DELETE_RECORDS));
    EXPECT_TRUE(Sent().empty()) << "a read record leaves the counts as they were";
}

TEST_F(LocalServerTest, RecordsSurviveAReselectionButNotAReconnection) {
    Subscribe();
    AddAlert(0, QStringLiteral("Mira"));
    m_frame->OpenProfileWindows(&Record(0));
    EXPECT_EQ(List()->topLevelItemCount(), 1) << "an open window keeps its records";
    Select(1);
    EXPECT_EQ(m_frame->PhoneWindow(), nullptr);
    EXPECT_EQ(Write({{h.ringerControlPoint, {3}}}), 0) << "the peer writes while the window is closed";
    ASSERT_NE(m_frame->PhoneWindow(), nullptr);
    EXPECT_TRUE(m_frame->PhoneState().newAlertOn) << "the server state lives on within the connection";
    EXPECT_EQ(List()->topLevelItemCount(), 1);
    Select(0);
    EXPECT_EQ(List()->topLevelItemCount(), 1);
    Disconnected();
    EXPECT_FALSE(m_frame->IsTimerRunning(TIMER_BLINK));
    Select(0);
    ConnectPeer();
    ASSERT_NE(m_frame->PhoneWindow(), nullptr) << "the peer's role reopens it";
    EXPECT_EQ(List()->topLevelItemCount(), 0);
    EXPECT_FALSE(m_frame->PhoneState().newAlertOn);
}

TEST_F(LocalServerTest, TheNotificationCenterOpensOnThePeersWriteAndItsSubscriptionsLastOneConnection) {
    Encrypt();
    const AncsServerHandles& a = h.ancs;
    EXPECT_EQ(Write({{a.controlPoint, {0, 1, 0, 0, 0}}}), kNone) << "Data Source is off";
    CAncsCtrl* window = m_frame->AncsWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(Record(0).roles & BleDeviceRecord::kRoleNotificationCenter);
    qobject_cast<QComboBox*>(platform::GetDlgItem(window, IDC_ANCS_CATEGORY))->setCurrentIndex(6);
    window->OnBnClickedAdd();
    auto* list = qobject_cast<QTreeWidget*>(platform::GetDlgItem(window, IDC_ANCS_CATEGORY_LIST));
    list->setCurrentItem(list->topLevelItem(0));
    window->OnBnClickedUpdate();
    EXPECT_TRUE(Sent().empty()) << "Notification Source is off";

    EXPECT_EQ(Write({{a.notificationSourceConfig, {1, 0}}, {a.dataSourceConfig, {1, 0}}}), 0);
    list->clearSelection(); // the row stays current
    m_frame->Router().runUpdatePass();
    EXPECT_FALSE(platform::GetDlgItem(window, ID_ANCS_UPDATE)->isEnabled());
    window->OnBnClickedUpdate();
    EXPECT_TRUE(Sent().empty()) << "no row selected";
    list->topLevelItem(0)->setSelected(true);
    window->OnBnClickedUpdate();
    const uint32_t uid = window->Store().at(6).notificationUid;
    const Bytes source{0, 1, 6, 1, uint8_t(uid), uint8_t(uid >> 8), uint8_t(uid >> 16), uint8_t(uid >> 24)};
    EXPECT_EQ(Sent(), (Notes{{a.notificationSource, source}}));
    EXPECT_EQ(Write({{a.controlPoint, Bytes(source.begin() + 4, source.end())}}), kNone) << "under 5 bytes";
    EXPECT_EQ(Write({{a.controlPoint, {0, 9, 9, 9, 9, 1}}}), 0) << "an unknown UID";
    EXPECT_TRUE(Sent().empty());

    Disconnected();
    EXPECT_EQ(m_frame->AncsWindow(), nullptr);
    EXPECT_FALSE(m_frame->AncsState().notificationSourceOn);
    EXPECT_FALSE(m_frame->AncsState().dataSourceOn);
    Select(0);
    ConnectPeer();
    EXPECT_NE(m_frame->AncsWindow(), nullptr) << "the peer's role reopens it";
}

TEST_F(LocalServerTest, BlinkTimerShowsSetPicturesOnOddTicks) {
    Subscribe();
    ASSERT_TRUE(m_frame->IsTimerRunning(TIMER_BLINK));
    ASSERT_TRUE(m_frame->ExecuteCommand(IDC_PHONE_DISPLAY));
    QWidget* display = platform::GetDlgItem(m_frame->PhoneWindow(), IDC_PHONE_DISPLAY_PICTURE);
    QWidget* ring = platform::GetDlgItem(m_frame->PhoneWindow(), IDC_PHONE_RING_PICTURE);
    for (const bool shown : {true, false, true}) {
        platform::TimerClock::advance(500);
        EXPECT_EQ(display->isVisibleTo(m_frame->PhoneWindow()), shown);
        EXPECT_FALSE(ring->isVisibleTo(m_frame->PhoneWindow())) << "the ringer is not active";
    }
}

TEST_F(LocalServerTest, CurrentTimeIsNotifiedWithTheReasonOfItsChange) {
    Subscribe();
    Read(h.currentTime);
    ASSERT_NE(m_frame->TimeWindow(), nullptr);
    m_frame->OnTimeChange();
    auto* zones = qobject_cast<QComboBox*>(platform::GetDlgItem(m_frame->TimeWindow(), IDC_TIME_ZONE));
    zones->setCurrentIndex(1);
    emit zones->activated(1);
    const auto sent = Sent();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].first, h.currentTime);
    EXPECT_EQ(sent[0].second.at(9), 2) << "the system clock or zone changed";
    EXPECT_EQ(sent[1].second.at(9), 4) << "the zone changed";
}

} // namespace
