// The built-in world's tyre sensor in its window over virtual time: the leak up to the alarm, new
// settings taken or refused by the sensor, the threshold kept across a restart, and Remove Pairing.
#include "platform/DialogItems.h"
#include "profiles/control/CTpmsCollectorCtrl.h"
#include "profiles/control/TpmsIds.h"
#include "support/SimFixture.h"
#include "veyrasim.h"

#include <QAbstractButton>
#include <QComboBox>

namespace {

const QString kSensor = QStringLiteral("Orvane Tyre Sensor");
const std::string kSensorAddress = "00:1A:7D:DA:71:10";
constexpr uint16_t kThreshold = 9, kPosition = 13; // the sensor's own handles

class TyrePressureE2eTest : public SimFixture {
protected:
    void SetUp() override {
        SimFixture::SetUp();
        m_window = ConnectedWindow("", kSensor, &CMainFrame::TpmsWindow);
        ASSERT_NE(m_window, nullptr);
    }
    QString Text(UINT id) const { return platform::GetDlgItemText(m_window, id); }
    void Type(UINT id, const QString& text) {
        platform::SetDlgItemText(m_window, id, text);
        m_window->OnEditKillFocus(id);
    }
    std::vector<uint8_t> SensorValue(uint16_t handle) const {
        return orv::sim::peerAttributeValue(kSensorAddress, handle).value_or(std::vector<uint8_t>{});
    }

    CTpmsCollectorCtrl* m_window = nullptr;
};

TEST_F(TyrePressureE2eTest, ThePressureFallsUntilTheAlarmBlinksAndTheSensorTakesOrRefusesNewSettings) {
    const double first = Text(IDC_TPMS_PRESSURE).toDouble();
    for (int i = 0; i < 40 && !m_window->IsTimerRunning(TIMER_TPMS_LOW_PRESSURE); ++i)
        Advance(2000);
    EXPECT_GT(first, 26.0);
    EXPECT_LE(Text(IDC_TPMS_PRESSURE).toDouble(), 26.0);
    EXPECT_TRUE(m_window->IsTimerRunning(TIMER_TPMS_LOW_PRESSURE));

    qobject_cast<QAbstractButton*>(platform::GetDlgItem(m_window, IDC_TPMS_SHOW_RELATIVE))->click();
    Type(IDC_TPMS_OFFSET, "0");
    Type(IDC_TPMS_BLOW_OUT_THRESHOLD, "8"); // 55 kPa: below what the sensor takes
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_TPMS_UPDATE));
    Advance(1000);
    EXPECT_EQ(Text(IDC_TPMS_BLOW_OUT_THRESHOLD), "1.0");
    EXPECT_EQ(SensorValue(kThreshold), (std::vector<uint8_t>{110, 0}));

    Type(IDC_TPMS_OFFSET, "14.5");
    Type(IDC_TPMS_BLOW_OUT_THRESHOLD, "3"); // 17.5 psi: 121 kPa
    qobject_cast<QComboBox*>(platform::GetDlgItem(m_window, IDC_TPMS_POSITION_LIST))->setCurrentText("Spare");
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_TPMS_UPDATE));
    Advance(3000); // two writes, one connection event apart
    EXPECT_EQ(SensorValue(kThreshold), (std::vector<uint8_t>{121, 0}));
    EXPECT_EQ(SensorValue(kPosition), std::vector<uint8_t>{5});
    EXPECT_EQ(Text(IDC_TPMS_POSITION), "Spare");
    EXPECT_FALSE(Frame()->IsInModalState());
    EXPECT_TRUE(EveryRecordGivenBack());
}

TEST_F(TyrePressureE2eTest, ANewLowPressureThresholdIsKeptAfterARestart) {
    Type(IDC_TPMS_LOW_THRESHOLD, "27");
    Restart();
    ASSERT_TRUE(Select(kSensor)) << "the sensor is still paired";
    ASSERT_TRUE(Connect());
    ASSERT_NE(Frame()->TpmsWindow(), nullptr);
    EXPECT_EQ(platform::GetDlgItemText(Frame()->TpmsWindow(), IDC_TPMS_LOW_THRESHOLD), "27.0");
}

TEST_F(TyrePressureE2eTest, RemovePairingDebondsTheSensor) {
    ASSERT_EQ(Frame()->PairedDeviceList().size(), 1u);
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_TPMS_REMOVE_PAIRING));
    Advance(3000);
    EXPECT_EQ(Frame()->ConnectedDeviceIndex(), -1);
    EXPECT_EQ(Frame()->TpmsWindow(), nullptr);
    EXPECT_TRUE(Frame()->PairedDeviceList().empty());
    EXPECT_EQ(Paired(), QStringList{"No paired devices"});
    EXPECT_TRUE(EveryRecordGivenBack());
}

} // namespace
