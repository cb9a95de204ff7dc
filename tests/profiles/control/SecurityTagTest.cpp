// The security tag: its window's alert level, signal strength and thresholds, and on the main window its
// opening, the averaged signal strength and its zones, the link-loss check, the poll timer and what a new
// link starts with.
#include "panes/CDeviceView.h"
#include "panes/CViewTree.h"
#include "platform/DialogItems.h"
#include "profiles/control/CSecurityTagCtrl.h"
#include "profiles/control/SecurityTagIds.h"
#include "res/resource.h"
#include "support/MainFrameFixture.h"
#include "support/RecordingSoundPlayer.h"
#include "support/WindowTest.h"

#include <QLabel>
#include <QProgressBar>
#include <QSpinBox>

namespace {

using SecurityTagCtrlTest = WindowTest<CSecurityTagCtrl>;

TEST_F(SecurityTagCtrlTest, AlertLevelsShowTheirTextAndImageAndThePictureBlinks) {
    const auto* picture = Item<QLabel>(IDC_TAG_ALERT_PICTURE);
    const std::tuple<uint8_t, uint8_t, const char*> rows[] = {
        {1, 1, "Low Alert"}, {2, 2, "High Alert"}, {3, 0, "No Alert"}, {0, 0, "No Alert"}};
    for (const auto& [level, image, text] : rows) {
        m_window->ShowAlertIcon(false);
        m_window->ShowAlertLevel(level);
        EXPECT_EQ(Text(IDC_TAG_ALERT_LEVEL), text) << int(level);
        EXPECT_EQ(picture->pixmap().cacheKey(), m_window->AlertImage(image).cacheKey()) << int(level);
        EXPECT_TRUE(picture->isVisible()) << int(level);
    }
    EXPECT_NE(m_window->AlertImage(1).cacheKey(), m_window->AlertImage(2).cacheKey());
    EXPECT_EQ(m_window->AlertImage(2).size(), QSize(24, 24));
}

TEST_F(SecurityTagCtrlTest, TheSignalStrengthMovesTheDistanceBarWithinItsRange) {
    const std::tuple<int, int, const char*> rows[] = {
        {-64, 64, "-64dBm"}, {-130, 127, "-130dBm"}, {3, 20, "3dBm"}};
    for (const auto& [rssi, position, text] : rows) {
        m_window->ShowRssi(rssi);
        EXPECT_EQ(Item<QProgressBar>(IDC_TAG_DISTANCE)->value(), position) << rssi;
        EXPECT_EQ(Text(IDC_TAG_RSSI), text) << rssi;
    }
}

TEST_F(SecurityTagCtrlTest, ThresholdsAreSpinEditsFromMinus127ToMinus20) {
    EXPECT_EQ(m_window->GetThreshold(IDC_TAG_LOW_THRESHOLD), -75);
    EXPECT_EQ(m_window->GetThreshold(IDC_TAG_HIGH_THRESHOLD), -90);
    auto* low = Item<QSpinBox>(IDC_TAG_LOW_THRESHOLD);
    low->setValue(-5);
    EXPECT_EQ(m_window->GetThreshold(IDC_TAG_LOW_THRESHOLD), -20);
    low->setValue(-200);
    EXPECT_EQ(m_window->GetThreshold(IDC_TAG_LOW_THRESHOLD), -127);
}

constexpr uint16_t kImmediateAlert = 0x12, kLinkLoss = 0x15, kTxPower = 0x18;

class SecurityTagTest : public PeerFixture {
protected:
    void SetUp() override {
        PeerFixture::SetUp();
        m_database.Service(0x1802, 0x10, 0x12)
            .Characteristic(0x2A06, kImmediateAlert, 0x04)
            .Service(0x1803, 0x13, 0x15)
            .Characteristic(0x2A06, kLinkLoss, 0x0A)
            .Service(0x1804, 0x16, 0x18)
            .Characteristic(0x2A07, kTxPower, 0x02);
        ConnectTag();
    }
    void ConnectTag() {
        Select(0);
        SetEdits({"400", "400", "4", "1000"});
        Connect();
        ASSERT_TRUE(m_frame->SecurityTagWindow());
        ReadResult(kLinkLoss, {0});
        ReadResult(kTxPower, {0});
    }
    void Rssi(int8_t rssi) { DeliverRecord(BLE_EVT_RSSI_READ, BleHostRssiEvent{0, 0, {}, rssi}); }
    QString Shown() const { return platform::GetDlgItemText(m_frame->SecurityTagWindow(), IDC_TAG_RSSI); }
    // The levels written to the Immediate Alert level as write commands, each answered.
    std::vector<uint8_t> TakeZoneWrites() {
        std::vector<uint8_t> levels;
        for (const HostCall& call : Calls("OrvBleClientWriteCharByHandle"))
            if (call.args.at(2) == kImmediateAlert)
                levels.insert(levels.end(), call.data.begin(), call.data.end());
        m_host->calls.clear();
        if (!levels.empty())
            WriteResult(kImmediateAlert);
        return levels;
    }
};

TEST_F(SecurityTagTest, TheAverageOfFiveSamplesIsShownWhenItChangesAndEachNewZoneIsWrittenOnce) {
    const std::tuple<int8_t, const char*, std::vector<uint8_t>> rows[] = {
        {-60, "-60dBm", {}},  {-62, "-61dBm", {}},   {-64, "-62dBm", {}}, {-62, "-62dBm", {}},
        {-127, "-75dBm", {}}, {-100, "-83dBm", {1}}, {-90, "-88dBm", {}}, {-110, "-97dBm", {2}},
        {-20, "-89dBm", {1}}, {-57, "-75dBm", {0}}, // -75.4 is truncated toward zero
    };
    for (const auto& [sample, shown, written] : rows) {
        Rssi(sample);
        EXPECT_EQ(Shown(), shown) << int(sample);
        EXPECT_EQ(TakeZoneWrites(), written) << int(sample);
    }
}

TEST_F(SecurityTagTest, TheLinkLossCheckFollowsThePeerAndIsBusyUntilItsFinalResult) {
    ReadResult(kLinkLoss, {1});
    auto* window = m_frame->SecurityTagWindow();
    EXPECT_TRUE(window->IsLinkLossAlertChecked());
    window->SetLinkLossAlert(true);
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_TAG_LINK_LOSS_ALERT));
    EXPECT_EQ(Count("OrvBleClientWriteCfmCharByHandle"), 1u);
    EXPECT_FALSE(m_frame->ExecuteCommand(ID_TAG_LINK_LOSS_ALERT));
    WriteResult(kLinkLoss, 0x0F); // sent again after the security refusal: still busy
    EXPECT_TRUE(m_frame->IsLinkLossWriteBusy());
    WriteResult(kLinkLoss, 0x0E);
    EXPECT_FALSE(m_frame->IsLinkLossWriteBusy());
    window->SetLinkLossAlert(false);
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_TAG_LINK_LOSS_ALERT));
    EXPECT_EQ(Calls("OrvBleClientWriteCfmCharByHandle").back().data, std::vector<uint8_t>{0});
    Disconnected();
    EXPECT_FALSE(m_frame->IsLinkLossWriteBusy());
}

TEST_F(SecurityTagTest, ThePollFollowsTheStoredParametersAlsoWithQuickConnectAndEndsWithTheWindow) {
    m_host->calls.clear();
    Advance(1999);
    EXPECT_EQ(Count("OrvBleHostGetRssi"), 0u);
    Advance(1);
    EXPECT_EQ(Count("OrvBleHostGetRssi"), 1u);
    SetEdits({"400", "400", "2", "1000"});
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_UPDATE_PARAMETERS));
    DeliverRecord(BLE_EVT_CONN_PARAMS_UPDATED, BleHostConnParamsUpdatedEvent{kCid, 400, 400, 2, 1000});
    Advance(1000);
    EXPECT_EQ(Count("OrvBleHostGetRssi"), 2u);
    // Selecting a group clears the properties and closes the windows.
    m_frame->DeviceView()->Tree()->setCurrentItem(m_frame->DeviceView()->DiscoveredGroup());
    EXPECT_EQ(ShownName(), QString());
    EXPECT_FALSE(m_frame->SecurityTagWindow());
    EXPECT_FALSE(m_frame->IsTimerRunning(TIMER_RSSI));
}

TEST_F(SecurityTagTest, ANewLinkAndAReopenedWindowStartFromTheNextSample) {
    ReadResult(kTxPower, {0x04});
    for (int i = 0; i < 5; ++i)
        Rssi(-100);
    EXPECT_EQ(Shown(), "-96dBm");
    Select(1);
    Select(0);
    EXPECT_EQ(Shown(), "Unknown");
    Rssi(-100);
    EXPECT_EQ(Shown(), "-96dBm");
    Disconnected();
    ConnectTag();
    Rssi(-60);
    EXPECT_EQ(Shown(), "-60dBm");
}

TEST_F(SecurityTagTest, Event264SetsTheCheckAndTheCorrectionOnlyForTwoBytesOfTheTag) {
    const std::tuple<uint32_t, uint16_t, std::vector<uint8_t>, bool, int> rows[] = {
        {kCid, 0, {1, 0xFC}, true, -4},  {kCid, 0, {0, 0xFF}, false, -1}, {kCid, 0, {1}, false, -1},
        {kCid, 0, {1, 4, 0}, false, -1}, {kCid, 1, {1, 4}, false, -1},    {kCid + 1, 0, {1, 4}, false, -1},
    };
    for (const auto& [cid, field, value, checked, correction] : rows) {
        const BleHostReadEvent event{0, 0, cid, field, static_cast<uint16_t>(value.size()), value.data()};
        DeliverRecord(BLE_EVT_CHAR_READ2, event);
        EXPECT_EQ(m_frame->SecurityTagWindow()->IsLinkLossAlertChecked(), checked) << value.size();
        EXPECT_EQ(m_frame->RssiCorrection(), correction) << value.size();
    }
}

TEST_F(SecurityTagTest, TheTagsAlertShowsItsLevelBlinksForFifteenTicksAndSoundsOnlyWithPlaySound) {
    EXPECT_FALSE(m_frame->ExecuteCommand(ID_TAG_PLAY_SOUND)); // disabled until the server is ready
    DeliverRecord(BLE_EVT_SERVER_DB_ALLOCATED, BleHostServerAllocEvent{0, 0, 7});
    Deliver(BLE_EVT_SERVER_DB_ADDED, 0);
    DeliverRecord(BLE_EVT_ENCRYPTION_RESULT, BleHostEncryptionEvent{kCid, 1, 0});
    RecordingSoundPlayer sound;
    const uint16_t level = m_frame->ServerHandles().immediateAlertLevel;
    const auto write = [&](std::vector<uint8_t> value) {
        BleHostWriteEntry entry{level, 0, static_cast<uint16_t>(value.size()), 0, value.data()};
        DeliverRecord(BLE_EVT_SERVER_WRITE, BleHostServerWriteEvent{kCid, level, 1, &entry});
        return Calls("OrvBleServerWriteResponse").back().args[2];
    };
    const auto* window = m_frame->SecurityTagWindow();
    const QWidget* picture = platform::GetDlgItem(window, IDC_TAG_ALERT_PICTURE);
    const auto text = [&] { return platform::GetDlgItemText(window, IDC_TAG_ALERT_LEVEL); };

    EXPECT_EQ(write({}), -1);
    EXPECT_EQ(write({2}), 0);
    EXPECT_EQ(text(), "High Alert");
    const std::tuple<uint64_t, bool, const char*, bool> ticks[] = {
        {500, true, "High Alert", true},
        {500, false, "High Alert", true},
        {6500, true, "High Alert", true}, // tick 15
        {500, true, "No Alert", false},
        {5000, true, "No Alert", false}};
    for (const auto& [ms, shown, level, blinking] : ticks) {
        Advance(ms);
        EXPECT_EQ(!picture->isHidden(), shown) << ms;
        EXPECT_EQ(text(), level) << ms;
        EXPECT_EQ(m_frame->IsTimerRunning(TIMER_BLINK), blinking) << ms;
    }
    EXPECT_TRUE(sound.played.empty());

    ASSERT_TRUE(m_frame->ExecuteCommand(ID_TAG_PLAY_SOUND));
    EXPECT_EQ(write({1}), 0);
    EXPECT_EQ(text(), "Low Alert");
    EXPECT_EQ(write({0}), 0);
    EXPECT_EQ(sound.stops, 1);
    EXPECT_TRUE(picture->isHidden());
    EXPECT_FALSE(m_frame->IsTimerRunning(TIMER_BLINK));
    EXPECT_EQ(sound.played.size(), 1u);
}

} // namespace
