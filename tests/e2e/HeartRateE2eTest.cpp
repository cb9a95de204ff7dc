// A simulated heart-rate peer: its window, the measurements it notifies, Reset and the properties pane.
#include "mainframe/CMainFrame.h"
#include "panes/CPropertiesWnd.h"
#include "platform/DialogItems.h"
#include "platform/StringTable.h"
#include "platform/ui/Property.h"
#include "platform/ui/PropertyGrid.h"
#include "profiles/sensor/HeartRateIds.h"
#include "res/resource.h"
#include "support/SimFixture.h"
#include "veyrasim.h"

#include <QMdiArea>

namespace {

const QString kPulse = QStringLiteral("Test Pulse");
const std::string kPulseAddress = "00:1A:7D:DA:74:01";

// Attribute handles follow from the layout: Generic Access 1-3, Heart Rate 4-11, Battery 12-14.
constexpr uint16_t kMeasurement = 6;
constexpr uint16_t kMeasurementConfig = 7;
constexpr uint16_t kControlPoint = 11;

const std::string kPulsePeer = R"(
    {"kind": "generic", "address": "00:1A:7D:DA:74:01", "name": "Test Pulse", "appearance": 833,
     "advIntervalMs": 100,
     "gatt": [{"uuid": "1800", "characteristics": [{"uuid": "2A00", "properties": ["read"], "text": "Test Pulse"}]},
              {"uuid": "180D", "characteristics": [{"uuid": "2A37", "properties": ["notify"]},
                                                   {"uuid": "2A38", "properties": ["read"], "value": "01"},
                                                   {"uuid": "2A39", "properties": ["write"], "value": "00"}]},
              {"uuid": "180F", "characteristics": [{"uuid": "2A19", "properties": ["read"], "value": "5A"}]}]})";

const std::string kOtherPeer = R"(
    {"kind": "generic", "address": "00:1A:7D:DA:74:02", "name": "Other Peer", "advIntervalMs": 100})";

// The link runs at the default parameters' 500 ms interval once quick connect's restore is done.
constexpr uint64_t kLinkIntervalMs = 500;

class HeartRateE2eTest : public SimFixture {
protected:
    void SetUp() override {
        SimFixture::SetUp();
        m_record = ConnectedWorld(kPulsePeer + "," + kOtherPeer, kPulse);
        ASSERT_NE(m_record, nullptr);
        ASSERT_NE(Frame()->HeartRateWindow(), nullptr);
    }
    QString Text(UINT id) const { return platform::GetDlgItemText(Frame()->HeartRateWindow(), id); }
    void Measure(const std::vector<uint8_t>& value) {
        ASSERT_TRUE(orv::sim::injectNotification(kPulseAddress, kMeasurement, value));
        Advance(kLinkIntervalMs);
    }
    // The names of the groups under the properties pane's "Device services".
    QStringList ServiceNames() const;

    BleDeviceRecord* m_record = nullptr;
};

QStringList HeartRateE2eTest::ServiceNames() const {
    const platform::PropertyGrid& grid = *Frame()->PropertiesView()->PropertyList();
    QStringList names;
    for (int i = 0; i < grid.propertyCount(); ++i) {
        const platform::Property* top = grid.property(i);
        if (top->name() != QStringLiteral("Device services"))
            continue;
        for (int j = 0; j < top->subItemCount(); ++j)
            names << top->subItem(j)->name();
    }
    return names;
}

TEST_F(HeartRateE2eTest, ConnectingOpensTheWindowSubscribedWithTheSensorLocation) {
    EXPECT_EQ(Frame()->HeartRateWindow()->windowTitle(), QStringLiteral("Heart rate"));
    EXPECT_EQ(Text(IDC_HR_LOCATION), QStringLiteral("Chest"));
    EXPECT_EQ(Text(IDC_HR_HEART_RATE), QStringLiteral("N/A"));
    EXPECT_EQ(orv::sim::peerAttributeValue(kPulseAddress, kMeasurementConfig),
              (std::vector<uint8_t>{0x01, 0x00}));
    EXPECT_TRUE(EveryRecordGivenBack());
}

TEST_F(HeartRateE2eTest, WindowShowsEveryNewRate) {
    Measure({0x00, 72});
    EXPECT_EQ(Text(IDC_HR_HEART_RATE), QStringLiteral("72 bpm"));
    Measure({0x00, 75});
    EXPECT_EQ(Text(IDC_HR_HEART_RATE), QStringLiteral("75 bpm"));
    Measure({0x01, 0x2C, 0x01});
    EXPECT_EQ(Text(IDC_HR_HEART_RATE), QStringLiteral("300 bpm"));
    EXPECT_TRUE(EveryRecordGivenBack());
}

TEST_F(HeartRateE2eTest, ContactTextFollowsTheFlags) {
    const std::pair<uint8_t, const char*> rows[] = {
        {0x06, "Sensor in contact"}, {0x04, "Sensor disconnected"}, {0x02, "Sensor contact unknown"}};
    for (const auto& [flags, text] : rows) {
        Measure({flags, 70});
        EXPECT_EQ(Text(IDC_HR_CONTACT_TEXT), QLatin1String(text)) << int{flags};
    }
}

TEST_F(HeartRateE2eTest, EnergyAndRrIntervalsAreShown) {
    Measure({0x18, 80, 0x02, 0x01, 0x2C, 0x03, 0x16, 0x03});
    EXPECT_EQ(Text(IDC_HR_ENERGY_EXPENDED), QStringLiteral("258 kJ"));
    EXPECT_EQ(Text(IDC_HR_RR_INTERVALS), QStringLiteral("812 790 "));
    Measure({0x10, 80, 0x2C, 0x03});
    EXPECT_EQ(Text(IDC_HR_RR_INTERVALS), QStringLiteral("812 ticks"));
    EXPECT_EQ(Text(IDC_HR_ENERGY_EXPENDED), QStringLiteral("258 kJ"));
    Measure({0x00, 80});
    EXPECT_EQ(Text(IDC_HR_RR_INTERVALS), QStringLiteral("N/A"));
}

TEST_F(HeartRateE2eTest, MeasurementCutShortChangesNothingAndIsLogged) {
    Measure({0x08, 72, 0x10, 0x00});
    Measure({0x09, 90, 0x00, 0x20});
    EXPECT_EQ(Text(IDC_HR_HEART_RATE), QStringLiteral("72 bpm"));
    EXPECT_EQ(Text(IDC_HR_ENERGY_EXPENDED), QStringLiteral("16 kJ"));
    EXPECT_TRUE(LogContains(QStringLiteral("Heart Rate Measurement of 4 bytes is too short; ignored.")));
    EXPECT_TRUE(EveryRecordGivenBack());
}

TEST_F(HeartRateE2eTest, ResetClearsTheEnergyOnceThePeerAcceptedIt) {
    Measure({0x08, 72, 0x10, 0x00});
    ASSERT_EQ(Text(IDC_HR_ENERGY_EXPENDED), QStringLiteral("16 kJ"));
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_HR_RESET_ENERGY));
    EXPECT_TRUE(Frame()->IsHeartRateResetPending());
    Advance(2 * kLinkIntervalMs);
    EXPECT_EQ(Text(IDC_HR_ENERGY_EXPENDED), QStringLiteral("N/A"));
    EXPECT_FALSE(Frame()->IsHeartRateResetPending());
    EXPECT_EQ(orv::sim::peerAttributeValue(kPulseAddress, kControlPoint), std::vector<uint8_t>{0x01});
    EXPECT_TRUE(EveryRecordGivenBack());
}

TEST_F(HeartRateE2eTest, RefusedResetKeepsTheEnergy) {
    Measure({0x08, 72, 0x10, 0x00});
    ASSERT_TRUE(orv::sim::setPeerAttError(kPulseAddress, kControlPoint, 0x80));
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_HR_RESET_ENERGY));
    Advance(2 * kLinkIntervalMs);
    EXPECT_EQ(Text(IDC_HR_ENERGY_EXPENDED), QStringLiteral("16 kJ"));
    EXPECT_FALSE(Frame()->IsHeartRateResetPending());
    EXPECT_TRUE(LogContains(QStringLiteral("Failed to write characteristic 11: 80")));
}

TEST_F(HeartRateE2eTest, PropertiesPaneShowsTheDeviceAndItsServicesByName) {
    EXPECT_EQ(Frame()->PropertiesView()->GetPropertyValue(), kPulse);
    EXPECT_EQ(ServiceNames(),
              (QStringList{QStringLiteral("Battery Service"), QStringLiteral("Heart Rate Service"),
                           QStringLiteral("Generic Access Profile")}));
}

TEST_F(HeartRateE2eTest, SelectingAnotherDeviceClosesTheWindow) {
    ASSERT_TRUE(Select(QStringLiteral("Other Peer")));
    Advance(10);
    EXPECT_EQ(Frame()->HeartRateWindow(), nullptr);
    EXPECT_TRUE(Frame()->MdiArea()->subWindowList().isEmpty());
    EXPECT_TRUE(m_record->connected);
}

TEST_F(HeartRateE2eTest, SelectingTheConnectedDeviceAgainReopensTheWindow) {
    ASSERT_TRUE(Select(QStringLiteral("Other Peer")));
    Advance(10);
    ASSERT_TRUE(Select(kPulse));
    Advance(2 * kLinkIntervalMs);
    ASSERT_NE(Frame()->HeartRateWindow(), nullptr);
    Measure({0x00, 64});
    EXPECT_EQ(Text(IDC_HR_HEART_RATE), QStringLiteral("64 bpm"));
}

TEST_F(HeartRateE2eTest, PeerDroppingTheLinkClosesTheWindow) {
    ASSERT_TRUE(orv::sim::disconnectPeer(kPulseAddress, 0x13));
    Advance(100);
    EXPECT_EQ(Frame()->HeartRateWindow(), nullptr);
    EXPECT_TRUE(Frame()->MdiArea()->subWindowList().isEmpty());
    EXPECT_TRUE(LogContains(QStringLiteral("with reason 19.")));
    EXPECT_TRUE(EveryRecordGivenBack());
}

TEST_F(HeartRateE2eTest, EmptyMeasurementIsIgnored) {
    Measure({0x00, 72});
    Measure({});
    EXPECT_EQ(Text(IDC_HR_HEART_RATE), QStringLiteral("72 bpm"));
    EXPECT_TRUE(LogContains(QStringLiteral("Heart Rate Measurement of 0 bytes is too short; ignored.")));
    EXPECT_TRUE(EveryRecordGivenBack());
}

TEST_F(HeartRateE2eTest, ResetLeftUnansweredDropsTheLinkAfterThirtySeconds) {
    ASSERT_TRUE(orv::sim::setPeerSilent(kPulseAddress, true));
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_HR_RESET_ENERGY));
    Advance(25000);
    EXPECT_TRUE(m_record->connected);
    Advance(10000);
    EXPECT_FALSE(m_record->connected);
    EXPECT_EQ(Frame()->HeartRateWindow(), nullptr);
    EXPECT_FALSE(Frame()->IsHeartRateResetPending());
    EXPECT_EQ(Frame()->ConnectedDeviceIndex(), -1);
    EXPECT_TRUE(EveryRecordGivenBack());
}

TEST_F(HeartRateE2eTest, UnpluggingTheDongleWhileMeasuringShowsTheMessageAndCloses) {
    Measure({0x00, 72});
    orv::sim::unplugDongle();
    Advance(500);
    ASSERT_FALSE(PromptTexts().empty());
    EXPECT_EQ(PromptTexts()[0], platform::LoadString(IDS_DONGLE_UNPLUGGED));
    EXPECT_FALSE(Frame()->isVisible());
    EXPECT_EQ(Frame()->HeartRateWindow(), nullptr);
    EXPECT_TRUE(EveryRecordGivenBack());
}

} // namespace
