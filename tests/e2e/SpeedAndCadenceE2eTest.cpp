// The built-in world's bike sensor and foot pod followed in their windows over virtual time: their
// locations, setting their counts, walking and running, and a calibration while running.
#include "E2eFixture.h"
#include "profiles/sensor/CycleSpeedIds.h"
#include "profiles/sensor/RunningSpeedIds.h"
#include "res/resource.h"

#include <QComboBox>
#include <QLabel>

namespace {

using SpeedAndCadenceE2eTest = E2eFixture;

TEST_F(SpeedAndCadenceE2eTest, TheBikeSensorTakesItsValueAndLocation) {
    CCycleSpeedCtrl* window = Open("Orvane Cadence", &CMainFrame::CycleSpeedWindow);
    auto* locations = Item<QComboBox>(window, IDC_CSC_LOCATIONS);
    ASSERT_TRUE(AdvanceUntil([&] { return locations->count() == 4; }));
    EXPECT_EQ(Text(window, IDC_CSC_LOCATION), QStringLiteral("Rear Wheel"));
    platform::SetDlgItemText(window, IDC_CSC_CUMULATIVE_VALUE, QStringLiteral("1000"));
    ASSERT_TRUE(Run(window, ID_CSC_SET_VALUE));
    ASSERT_TRUE(
        AdvanceUntil([&] { return Text(window, IDC_CSC_WHEEL_REVOLUTIONS) == QStringLiteral("1000"); }));
    EXPECT_EQ(Text(window, IDC_CSC_DISTANCE), QStringLiteral("1.75 km"));

    locations->setCurrentIndex(locations->findText(QStringLiteral("Front Wheel")));
    ASSERT_TRUE(Run(window, ID_SC_UPDATE_LOCATION));
    EXPECT_TRUE(
        AdvanceUntil([&] { return Text(window, IDC_CSC_LOCATION) == QStringLiteral("Front Wheel"); }));
    EXPECT_TRUE(PromptTexts().empty());
}

TEST_F(SpeedAndCadenceE2eTest, TheFootPodWalksAndRunsTakesItsDistanceAndCannotCalibrateWhileRunning) {
    CRunningSpeedCtrl* window = Open("Orvane Stride", &CMainFrame::RunningSpeedWindow);
    const auto* gait = Item<QLabel>(window, IDC_RSC_STATUS_PICTURE);
    const auto running = [&] { return gait->pixmap().cacheKey() == window->GaitImage(true).cacheKey(); };
    ASSERT_TRUE(AdvanceUntil([&] { return !running() && Text(window, IDC_RSC_SPEED) != "0 KPH"; }));
    ASSERT_TRUE(AdvanceUntil(running, 60000));

    platform::SetDlgItemText(window, IDC_RSC_DISTANCE_EDIT, QStringLiteral("12.5"));
    ASSERT_TRUE(Run(window, ID_RSC_SET_DISTANCE));
    ASSERT_TRUE(AdvanceUntil([&] { return Text(window, IDC_RSC_DISTANCE) == QStringLiteral("12.5 km"); }));
    ASSERT_TRUE(AdvanceUntil([&] {
        return Text(window, IDC_RSC_DISTANCE).startsWith(QStringLiteral("12.5")) &&
               Text(window, IDC_RSC_DISTANCE) != QStringLiteral("12.5 km");
    }));

    ASSERT_TRUE(AdvanceUntil(running, 60000));
    ASSERT_TRUE(Run(window, ID_RSC_CALIBRATE));
    ASSERT_TRUE(AdvanceUntil([&] { return !PromptTexts().empty(); }));
    EXPECT_EQ(PromptTexts(), std::vector<QString>{QStringLiteral("Calibration: Operation failed.")});
}

} // namespace
