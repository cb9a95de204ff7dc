// Opening the profile windows of a connected peer, the request queues, and routing in the fixed order.
#include "platform/DialogItems.h"
#include "profiles/sensor/CHeartRateMonitorCtrl.h"
#include "profiles/sensor/HeartRateIds.h"
#include "res/resource.h"
#include "support/MainFrameFixture.h"

#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace {

// Handles of the heart-rate peer's database.
constexpr uint16_t kMeasurement = 12, kMeasurementConfig = 13, kLocation = 15, kControlPoint = 17;
// Device information (PnP ID, model, manufacturer) and battery level of the peer with all four services.
constexpr uint16_t kPnpId = 32, kModel = 34, kManufacturer = 36, kLevel = 52, kLevelConfig = 53;

class RoutingTest : public PeerFixture {
protected:
    void ConnectHeartRatePeer() {
        m_database.Service(0x180D, 10, 18)
            .Characteristic(0x2A37, kMeasurement, 0x10, kMeasurementConfig)
            .Characteristic(0x2A38, kLocation, 0x02)
            .Characteristic(0x2A39, kControlPoint, 0x08);
        ConnectPeer();
    }
    QString Text(UINT id) const { return platform::GetDlgItemText(m_frame->HeartRateWindow(), id); }
    // The reads ("R" and the handle) and writes ("W" and the value or configuration handle) sent.
    std::vector<std::string> Requests() const {
        std::vector<std::string> requests;
        for (const auto& call : m_host->calls) {
            const bool command = call.name == "OrvBleClientWriteCharByHandle";
            if (call.name.starts_with("OrvBleClientRead") || call.name.starts_with("OrvBleClientWrite"))
                requests.push_back(call.name.substr(12, 1) + std::to_string(call.args.at(command ? 2 : 1)));
        }
        return requests;
    }
    void Write(uint16_t handle, uint8_t length = 1, uint32_t mode = GattWriteRequest::kWriteRequest) {
        const std::vector<uint8_t> bytes(200, 0xAB);
        m_frame->WriteCharacteristic(kCid, handle, length, bytes.data(), mode);
    }
};

TEST_F(RoutingTest, APeerOpensItsWindowsAndSendsTheFirstRequestsInTheirOrder) {
    m_database.Service(0x180A, 30, 40)
        .Characteristic(0x2A50, kPnpId, 0x02)
        .Characteristic(0x2A24, kModel, 0x02)
        .Characteristic(0x2A29, kManufacturer, 0x02);
    m_database.Service(0x180F, 50, 54).Characteristic(0x2A19, kLevel, 0x12, kLevelConfig);
    ConnectHeartRatePeer();
    EXPECT_EQ(m_frame->MdiArea()->subWindowList().size(), 3);
    WriteResult(kMeasurementConfig);
    for (const uint16_t read : {kLocation, kManufacturer, kModel, kPnpId})
        ReadResult(read, {1});
    EXPECT_EQ(Requests(), (std::vector<std::string>{"R3", "W13", "R15", "W53", "R36", "R34", "R32", "R52"}));
    EXPECT_EQ(Text(IDC_HR_LOCATION), QStringLiteral("Chest"));
}

// Thermometer (0x30), glucose (0x40) and blood pressure (0x50) open after heart rate, in that order.
TEST_F(RoutingTest, HealthPeersOpenTheirWindowsAndSendTheFirstRequestsInTheFixedOrder) {
    m_database.Service(0x1809, 0x30, 0x35)
        .Characteristic(0x2A1C, 0x32, 0x20, 0x33)
        .Characteristic(0x2A1D, 0x35, 0x02);
    m_database.Service(0x1808, 0x40, 0x4B)
        .Characteristic(0x2A18, 0x42, 0x10, 0x43)
        .Characteristic(0x2A34, 0x45, 0x10, 0x46)
        .Characteristic(0x2A51, 0x48, 0x02)
        .Characteristic(0x2A52, 0x4A, 0x28, 0x4B);
    m_database.Service(0x1810, 0x50, 0x58)
        .Characteristic(0x2A35, 0x52, 0x20, 0x53)
        .Characteristic(0x2A36, 0x55, 0x10, 0x56)
        .Characteristic(0x2A49, 0x58, 0x02);
    ConnectHeartRatePeer();
    EXPECT_EQ(m_frame->MdiArea()->subWindowList().size(), 4);
    for (const int configuration : {int{kMeasurementConfig}, 0x33, 0x43, 0x46, 0x4B, 0x53, 0x56})
        WriteResult(static_cast<uint16_t>(configuration));
    for (const int read : {int{kLocation}, 0x35, 0x48, 0x58})
        ReadResult(static_cast<uint16_t>(read), {1});
    EXPECT_EQ(Requests(), (std::vector<std::string>{"R3", "W13", "R15", "W51", "W67", "W70", "W75", "W83",
                                                    "W86", "R53", "R72", "R88"}));
    std::vector<int64_t> values;
    for (const HostCall& call : Calls("OrvBleClientWriteConfiguration"))
        values.push_back(call.args.at(3));
    EXPECT_EQ(values, (std::vector<int64_t>{1, 2, 1, 1, 2, 2, 1}));
}

TEST_F(RoutingTest, AHeartRateServiceWithoutCharacteristicsOpensTheWindowAndABatteryServiceNothing) {
    m_database.Service(0x180D, 10, 18);
    m_database.Service(0x180F, 50, 54); // no Battery Level: no battery window
    Connect();
    EXPECT_NE(m_frame->HeartRateWindow(), nullptr);
    EXPECT_EQ(m_frame->BatteryWindow(), nullptr);
    EXPECT_TRUE(Requests().empty());
}

TEST_F(RoutingTest, ADeviceNameReadRenamesTheDeviceEverywhereAndEmptyValuesAreLoggedAndSkipped) {
    m_database.Service(0x181E, 0x20, 0x26).Characteristic(0x2AA5, kBondFeature, 0x02);
    ConnectHeartRatePeer();
    ReadResult(kDeviceName, {'H', 'R', ' ', 0xE2, 0x9D, 0xA4});
    EXPECT_EQ((QStringList{Record(0).GetName(), Row(0)->text(0), ShownName()}), QStringList(3, "HR \u2764"));
    const uint8_t behind[] = {0x10};
    for (const uint16_t handle : {kLocation, kBondFeature}) // values of 0 bytes, with a byte behind them
        DeliverRecord(BLE_EVT_CHAR_READ, BleHostReadEvent{0, 0, kCid, handle, 0, behind});
    EXPECT_TRUE(LogContains(QStringLiteral("Body Sensor Location value is empty; ignored.")));
    EXPECT_TRUE(LogContains(QStringLiteral("Bond Management Feature value is empty; ignored.")));
    EXPECT_EQ(Text(IDC_HR_LOCATION), QStringLiteral("N/A"));
    EXPECT_FALSE(Record(0).bondDeletionSupported);
}

// Each measurement in turn, and the rate, contact, energy and RR texts it leaves.
TEST_F(RoutingTest, HeartRateMeasurementsShowTheirFieldsAndTheEnergyStaysUntilTheNextOne) {
    ConnectHeartRatePeer();
    const std::tuple<std::vector<uint8_t>, QStringList> rows[] = {
        {{0x18, 72, 0x34, 0x12, 0x2C, 0x03}, {"72 bpm", "Sensor contact unknown", "4660 kJ", "812 ticks"}},
        {{0x17, 0x2C, 0x01, 0x2C, 0x03, 0x16, 0x03}, {"300 bpm", "Sensor in contact", "4660 kJ", "812 790 "}},
        {{0x04, 60, 0x2C, 0x03}, {"60 bpm", "Sensor disconnected", "4660 kJ", "N/A"}},
        {{0x01, 72}, {"60 bpm", "Sensor disconnected", "4660 kJ", "N/A"}}, // cut short: ignored
        {{0x00, 72}, {"72 bpm", "Sensor contact unknown", "4660 kJ", "N/A"}},
    };
    for (const auto& [value, texts] : rows) {
        Notify(kMeasurement, value);
        EXPECT_EQ((QStringList{Text(IDC_HR_HEART_RATE), Text(IDC_HR_CONTACT_TEXT),
                               Text(IDC_HR_ENERGY_EXPENDED), Text(IDC_HR_RR_INTERVALS)}),
                  texts);
    }
    EXPECT_TRUE(LogContains(QStringLiteral("Heart Rate Measurement of 2 bytes is too short; ignored.")));
}

TEST_F(RoutingTest, TheResetIsPendingUntilItsResultAlsoAfterTheWindowClosedOrUntilTheLinkEnds) {
    ConnectHeartRatePeer();
    WriteResult(kMeasurementConfig);
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_HR_RESET_ENERGY));
    EXPECT_FALSE(m_frame->ExecuteCommand(ID_HR_RESET_ENERGY));
    Select(1);
    WriteResult(kControlPoint);
    Select(0);
    EXPECT_TRUE(m_frame->ExecuteCommand(ID_HR_RESET_ENERGY));
    Disconnected();
    EXPECT_FALSE(m_frame->IsHeartRateResetPending());
}

TEST_F(RoutingTest, AWindowClosedByTheUserIsForgottenSafely) {
    ConnectHeartRatePeer();
    m_frame->MdiArea()->subWindowList().first()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(m_frame->HeartRateWindow(), nullptr);
    Notify(kMeasurement, {0x00, 72});
    ReadResult(kLocation, {1});
    Disconnected();
    EXPECT_TRUE(m_frame->MdiArea()->subWindowList().isEmpty());
}

// ---- The request queues: one read and one write in flight -----------------------------------------

// Refused for security on a plain link, a read waits for encryption (tested end to end); on an encrypted
// link it is dropped like any failure.
TEST_F(RoutingTest, ReadsGoOneAtATimeInOrderWithoutZeroHandlesAndOnAnEncryptedLinkAFailedOneIsDropped) {
    Connect();
    DeliverRecord(BLE_EVT_ENCRYPTION_RESULT, BleHostEncryptionEvent{kCid, 0, 0});
    for (const uint16_t handle : {10, 11, 0, 12, 13})
        m_frame->ReadCharacteristic(handle);
    EXPECT_EQ(Requests(), std::vector<std::string>{"R10"});
    ReadResult(10, {1});
    ReadResult(11, {}, 0x0A);
    ReadResult(12, {}, 0x05);
    ReadResult(13, {1}, 0, kCid + 1); // another connection's result changes nothing
    EXPECT_EQ(Requests(), (std::vector<std::string>{"R10", "R11", "R12", "R13"}));
    EXPECT_TRUE(m_frame->IsReadInFlight());
    EXPECT_EQ(Count("OrvBleHostSetEncryption"), 0u);
    EXPECT_TRUE(LogContains(QStringLiteral("Failed to read characteristic handle 11, result = 10\n")));
    EXPECT_TRUE(LogContains(QStringLiteral("Failed to read characteristic handle 12, result = 5\n")));
}

TEST_F(RoutingTest, WritesUseTheCallOfTheirKindOneAtATimeAndRefuseWhatCannotBeSent) {
    Connect();
    m_frame->WriteClientConfiguration(kCid, 20, 21, 2);
    m_frame->WriteClientConfiguration(kCid, 22, 0, 1); // no descriptor: nothing to write
    Write(30, 2);
    Write(0);
    Write(31, 200);
    Write(32, 1, 7);
    Write(40, 128, GattWriteRequest::kWriteCommand);
    for (const uint16_t written : {21, 30, 40})
        WriteResult(written);
    EXPECT_EQ(Requests(), (std::vector<std::string>{"W21", "W30", "W40"}));
    EXPECT_EQ(Calls("OrvBleClientWriteConfiguration").at(0).args, (std::vector<int64_t>{kCid, 21, 20, 2}));
    EXPECT_EQ(Calls("OrvBleClientWriteCfmCharByHandle").at(0).args, (std::vector<int64_t>{kCid, 30, 0, 2}));
    EXPECT_EQ(Calls("OrvBleClientWriteCharByHandle").at(0).args, (std::vector<int64_t>{kCid, 0, 40, 128}));
    EXPECT_EQ(Calls("OrvBleClientWriteCharByHandle").at(0).data, std::vector<uint8_t>(128, 0xAB));
    EXPECT_TRUE(LogContains(QStringLiteral("Characteristic 22 has no client configuration")));
    EXPECT_TRUE(LogContains(QStringLiteral("Unknown write type.")));
}

TEST_F(RoutingTest, ClearingKeepsTheRequestsInFlightAndAnyWriteResultEndsTheWriteInFlight) {
    Connect();
    for (const uint16_t handle : {10, 11})
        m_frame->ReadCharacteristic(handle);
    for (const uint16_t handle : {30, 31})
        Write(handle);
    m_frame->ClearRequestQueues();
    EXPECT_TRUE(m_frame->ReadQueue().empty());
    EXPECT_EQ(m_frame->WriteQueue().size(), 1u);
    Write(33);
    ReadResult(10, {1});
    WriteResult(99); // not the head's handle: the head is sent again
    WriteResult(30);
    EXPECT_EQ(Requests(), (std::vector<std::string>{"R10", "W30", "W30", "W33"}));
    EXPECT_FALSE(m_frame->IsReadInFlight());
}

TEST_F(RoutingTest, AWriteRefusedForSecurityAsksForEncryptionOnceAndIsResentAtMostThreeTimes) {
    Connect();
    Write(30);
    for (const uint16_t status : {0x05, 0x05, 0x0F, 0x0F})
        WriteResult(30, status);
    EXPECT_EQ(Count("OrvBleHostSetEncryption"), 1u);
    EXPECT_EQ(Calls("OrvBleHostSetEncryption").at(0).args, (std::vector<int64_t>{kCid, 1}));
    EXPECT_EQ(Requests(), (std::vector<std::string>{"W30", "W30", "W30", "W30"}));
    EXPECT_FALSE(m_frame->IsWriteInFlight());
    EXPECT_TRUE(LogContains(QStringLiteral("Failed to write characteristic 30: 0F\n")));
}

} // namespace
