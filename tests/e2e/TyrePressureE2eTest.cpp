// The built-in world's tyre sensor in its window over virtual time: the leak up to the alarm and a
// threshold the sensor refuses. What the window sends and keeps is tested on the recording host, the
// sensor's ranges and its pairing removal on the simulated peer.
#include "E2eFixture.h"
#include "profiles/control/CTpmsCollectorCtrl.h"
#include "profiles/control/TpmsIds.h"
#include "veyrasim.h"

#include <QAbstractButton>

namespace {

constexpr uint16_t kThreshold = 9; // the sensor's own handle

using TyrePressureE2eTest = E2eFixture;

TEST_F(TyrePressureE2eTest, ThePressureFallsUntilTheAlarmBlinksAndTheSensorRefusesAThresholdOutOfItsRange) {
    CTpmsCollectorCtrl* window = Open("Orvane Tyre Sensor", &CMainFrame::TpmsWindow);
    const double first = Text(window, IDC_TPMS_PRESSURE).toDouble();
    EXPECT_TRUE(
        AdvanceUntil([window] { return window->IsTimerRunning(TIMER_TPMS_LOW_PRESSURE); }, 80000, 2000));
    EXPECT_GT(first, 26.0);
    EXPECT_LE(Text(window, IDC_TPMS_PRESSURE).toDouble(), 26.0);

    Item<QAbstractButton>(window, IDC_TPMS_SHOW_RELATIVE)->click();
    // The user types and leaves each edit; 8 is 55 kPa, below what the sensor takes.
    for (const auto& [id, text] : {std::pair{IDC_TPMS_OFFSET, "0"}, {IDC_TPMS_BLOW_OUT_THRESHOLD, "8"}}) {
        platform::SetDlgItemText(window, id, QLatin1String(text));
        window->OnEditKillFocus(id);
    }
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_TPMS_UPDATE));
    Advance(1000);
    EXPECT_EQ(Text(window, IDC_TPMS_BLOW_OUT_THRESHOLD), "1.0");
    EXPECT_EQ(orv::sim::peerAttributeValue("00:1A:7D:DA:71:10", kThreshold), (std::vector<uint8_t>{110, 0}));
    EXPECT_FALSE(Frame()->IsInModalState());
}

} // namespace
