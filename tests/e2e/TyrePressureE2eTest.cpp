// The built-in world's tyre sensor in its window over virtual time: the leak up to the alarm and a
// threshold the sensor refuses. What the window sends and keeps is tested on the recording host, the
// sensor's ranges and its pairing removal on the simulated peer.
#include "platform/DialogItems.h"
#include "profiles/control/CTpmsCollectorCtrl.h"
#include "profiles/control/TpmsIds.h"
#include "support/SimFixture.h"
#include "veyrasim.h"

#include <QAbstractButton>

namespace {

const QString kSensor = QStringLiteral("Orvane Tyre Sensor");
const std::string kSensorAddress = "00:1A:7D:DA:71:10";
constexpr uint16_t kThreshold = 9; // the sensor's own handle

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

TEST_F(TyrePressureE2eTest, ThePressureFallsUntilTheAlarmBlinksAndTheSensorRefusesAThresholdOutOfItsRange) {
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
    EXPECT_FALSE(Frame()->IsInModalState());
    EXPECT_TRUE(EveryRecordGivenBack());
}

} // namespace
