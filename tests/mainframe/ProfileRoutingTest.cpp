// Opening the profile windows of a connected peer and routing values to them (heart rate, names).
#include "panes/CDeviceView.h"
#include "panes/CPropertiesWnd.h"
#include "platform/DialogItems.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/Property.h"
#include "platform/ui/PropertyGrid.h"
#include "profiles/sensor/CHeartRateMonitorCtrl.h"
#include "profiles/sensor/HeartRateIds.h"
#include "support/MainFrameFixture.h"

#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace {

constexpr uint32_t kCid = 9;
// Handles of the peer's database.
constexpr uint16_t kDeviceName = 3, kMeasurement = 12, kMeasurementConfig = 13, kLocation = 15,
                   kControlPoint = 17, kFeature = 22, kBondControl = 24;

class ProfileRoutingTest : public MainFrameFixture {
protected:
    void SetUp() override {
        MainFrameFixture::SetUp();
        StartUp();
        Discover({{1, "Pulse"}, {2, "Other"}});
        Select(0);
    }
    void ConnectHeartRatePeer() {
        m_database.Service(0x1800, 1, 5).Characteristic(0x2A00, kDeviceName, 0x0A);
        m_database.Service(0x180D, 10, 18)
            .Characteristic(0x2A37, kMeasurement, 0x10, kMeasurementConfig)
            .Characteristic(0x2A38, kLocation, 0x02)
            .Characteristic(0x2A39, kControlPoint, 0x08);
        Connect(kCid, m_database);
    }
    QString Text(UINT id) const { return platform::GetDlgItemText(m_frame->HeartRateWindow(), id); }
    std::vector<std::pair<std::string, int64_t>> Requests() const {
        std::vector<std::pair<std::string, int64_t>> requests;
        for (const auto& call : m_host->calls) {
            if (call.name == "OrvBleClientReadCharByHandle" ||
                call.name == "OrvBleClientWriteCfmCharByHandle")
                requests.emplace_back(call.name, call.args.at(1));
            else if (call.name == "OrvBleClientWriteConfiguration")
                requests.emplace_back(call.name, call.args.at(1));
        }
        return requests;
    }
    DatabaseBuilder m_database;
};

TEST_F(ProfileRoutingTest, AHeartRatePeerOpensItsWindowAndQueuesTheFirstRequestsInOrder) {
    ConnectHeartRatePeer();
    ASSERT_NE(m_frame->HeartRateWindow(), nullptr);
    EXPECT_EQ(m_frame->MdiArea()->subWindowList().size(), 1);
    EXPECT_EQ(Requests(), (std::vector<std::pair<std::string, int64_t>>{
                              {"OrvBleClientReadCharByHandle", kDeviceName},
                              {"OrvBleClientWriteConfiguration", kMeasurementConfig}}));
    ReadResult(kCid, kDeviceName, {'P', 'u', 'l', 's', 'e'});
    WriteResult(kMeasurementConfig);
    EXPECT_EQ(Requests().back(),
              (std::pair<std::string, int64_t>{"OrvBleClientReadCharByHandle", kLocation}));
    ReadResult(kCid, kLocation, {1});
    EXPECT_EQ(Text(IDC_HR_LOCATION), QStringLiteral("Chest"));
    EXPECT_EQ(m_host->count("OrvBleHostUpdateConnectionParams"), 1u);
}

TEST_F(ProfileRoutingTest, AHeartRateServiceWithoutCharacteristicsOpensTheWindowAndSendsNothing) {
    m_database.Service(0x180D, 10, 18);
    Connect(kCid, m_database);
    EXPECT_NE(m_frame->HeartRateWindow(), nullptr);
    EXPECT_TRUE(Requests().empty());
}

TEST_F(ProfileRoutingTest, HeartRateMeasurementsAreShown) {
    ConnectHeartRatePeer();
    struct Case {
        std::vector<uint8_t> value;
        QString rate, contact, rr, energy;
    };
    const Case cases[] = {
        {{0x00, 72}, "72 bpm", "Sensor contact unknown", "N/A", "N/A"},
        {{0x06, 80}, "80 bpm", "Sensor in contact", "N/A", "N/A"},
        {{0x04, 81}, "81 bpm", "Sensor disconnected", "N/A", "N/A"},
        {{0x02, 82}, "82 bpm", "Sensor contact unknown", "N/A", "N/A"},
        {{0x19, 0x2C, 0x01, 0x10, 0x00, 0x2C, 0x03},
         "300 bpm",
         "Sensor contact unknown",
         "812 ticks",
         "16 kJ"},
        {{0x10, 90, 0x2C, 0x03, 0x16, 0x03, 0x07}, "90 bpm", "Sensor contact unknown", "812 790 ", "16 kJ"},
        {{0x00, 70}, "70 bpm", "Sensor contact unknown", "N/A", "16 kJ"},
    };
    for (const auto& c : cases) {
        Notify(kCid, kMeasurement, c.value);
        EXPECT_EQ(Text(IDC_HR_HEART_RATE), c.rate);
        EXPECT_EQ(Text(IDC_HR_CONTACT_TEXT), c.contact);
        EXPECT_EQ(Text(IDC_HR_RR_INTERVALS), c.rr);
        EXPECT_EQ(Text(IDC_HR_ENERGY_EXPENDED), c.energy);
    }
}

TEST_F(ProfileRoutingTest, AShortMeasurementIsLoggedAndSkipped) {
    ConnectHeartRatePeer();
    Notify(kCid, kMeasurement, {0x00, 60});
    Notify(kCid, kMeasurement, {0x09, 61, 0x05});
    Notify(kCid, kMeasurement, {0x01, 62});
    EXPECT_EQ(Text(IDC_HR_HEART_RATE), QStringLiteral("60 bpm"));
    EXPECT_TRUE(LogContains(QStringLiteral("Heart Rate Measurement of 3 bytes is too short; ignored.")));
}

TEST_F(ProfileRoutingTest, ResetWritesTheControlPointAndClearsTheEnergyOnSuccess) {
    ConnectHeartRatePeer();
    WriteResult(kMeasurementConfig);
    Notify(kCid, kMeasurement, {0x08, 70, 0x10, 0x00});
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_HR_RESET_ENERGY));
    EXPECT_TRUE(m_frame->IsHeartRateResetPending());
    EXPECT_FALSE(m_frame->ExecuteCommand(ID_HR_RESET_ENERGY));
    const auto writes = m_host->callsNamed("OrvBleClientWriteCfmCharByHandle");
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].args.at(1), kControlPoint);
    EXPECT_EQ(writes[0].data, std::vector<uint8_t>{0x01});

    WriteResult(kControlPoint, 0x80);
    EXPECT_FALSE(m_frame->IsHeartRateResetPending());
    EXPECT_EQ(Text(IDC_HR_ENERGY_EXPENDED), QStringLiteral("16 kJ"));
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_HR_RESET_ENERGY));
    WriteResult(kControlPoint);
    EXPECT_FALSE(m_frame->IsHeartRateResetPending());
    EXPECT_EQ(Text(IDC_HR_ENERGY_EXPENDED), QStringLiteral("N/A"));
}

TEST_F(ProfileRoutingTest, AResetResultArrivingAfterTheWindowClosedStillEndsThePendingReset) {
    ConnectHeartRatePeer();
    WriteResult(kMeasurementConfig);
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_HR_RESET_ENERGY));
    Select(1);
    WriteResult(kControlPoint);
    EXPECT_FALSE(m_frame->IsHeartRateResetPending());
    Select(0);
    EXPECT_TRUE(m_frame->ExecuteCommand(ID_HR_RESET_ENERGY));
}

TEST_F(ProfileRoutingTest, SelectingAnotherDeviceClosesTheWindowsAndSelectingThePeerReopensThem) {
    ConnectHeartRatePeer();
    Select(1);
    EXPECT_EQ(m_frame->HeartRateWindow(), nullptr);
    EXPECT_TRUE(m_frame->MdiArea()->subWindowList().isEmpty());
    EXPECT_EQ(m_frame->ValueHandle(0x2A37), 0);
    m_host->calls.clear();
    Select(0);
    ASSERT_NE(m_frame->HeartRateWindow(), nullptr);
    // The first opening's read and write are still in flight: the fresh requests wait behind them.
    EXPECT_EQ(m_frame->ReadQueue(), (std::deque<uint16_t>{kDeviceName, kLocation}));
    ASSERT_EQ(m_frame->WriteQueue().size(), 2u);
    EXPECT_EQ(m_frame->WriteQueue().back().configHandle, kMeasurementConfig);
    ReadResult(kCid, kDeviceName, {'P'});
    EXPECT_EQ(m_host->callsNamed("OrvBleClientReadCharByHandle").back().args.at(1), kDeviceName);
}

TEST_F(ProfileRoutingTest, AWindowClosedByTheUserIsForgottenSafely) {
    ConnectHeartRatePeer();
    m_frame->MdiArea()->subWindowList().first()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(m_frame->HeartRateWindow(), nullptr);
    Notify(kCid, kMeasurement, {0x00, 72});
    Select(1);
    Disconnected(0x13);
    EXPECT_TRUE(m_frame->MdiArea()->subWindowList().isEmpty());
}

TEST_F(ProfileRoutingTest, DisconnectionClosesTheProfileWindows) {
    ConnectHeartRatePeer();
    Disconnected(0x08);
    EXPECT_EQ(m_frame->HeartRateWindow(), nullptr);
    EXPECT_TRUE(m_frame->MdiArea()->subWindowList().isEmpty());
}

TEST_F(ProfileRoutingTest, DeviceNameReadRenamesTheRecordTheRowAndTheShownProperties) {
    ConnectHeartRatePeer();
    ReadResult(kCid, kDeviceName, {'H', 'R', ' ', 0xE2, 0x9D, 0xA4});
    const BleDeviceRecord& record = *m_frame->DeviceList()[0];
    EXPECT_EQ(record.GetName(), QStringLiteral("HR \u2764"));
    EXPECT_EQ(static_cast<QTreeWidgetItem*>(record.treeItem)->text(0), QStringLiteral("HR \u2764"));
    EXPECT_EQ(m_frame->PropertiesView()->GetPropertyValue(), QStringLiteral("HR \u2764"));
}

TEST_F(ProfileRoutingTest, BondManagementFeatureMarksBondDeletionByThePeer) {
    m_database.Service(0x181E, 20, 26)
        .Characteristic(0x2AA4, kBondControl, 0x08)
        .Characteristic(0x2AA5, kFeature, 0x02);
    Connect(kCid, m_database);
    EXPECT_EQ(m_host->callsNamed("OrvBleClientReadCharByHandle").at(0).args.at(1), kFeature);
    ReadResult(kCid, kFeature, {0x10});
    EXPECT_TRUE(m_frame->DeviceList()[0]->bondDeletionSupported);
    EXPECT_EQ(m_frame->ValueHandle(0x2AA4), kBondControl);
}

} // namespace
