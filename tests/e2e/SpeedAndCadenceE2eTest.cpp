// The built-in world's bike sensor and foot pod followed in their windows over virtual time: their
// locations, setting their counts, walking and running, and a calibration while running.
#include "platform/DialogItems.h"
#include "profiles/sensor/CycleSpeedIds.h"
#include "profiles/sensor/RunningSpeedIds.h"
#include "res/resource.h"
#include "support/SimFixture.h"

#include <QComboBox>
#include <QLabel>

namespace {

class SpeedAndCadenceE2eTest : public SimFixture {
protected:
    static QString Text(const QWidget* window, UINT id) { return platform::GetDlgItemText(window, id); }
    bool Run(CChildFrame* window, UINT id) {
        return Frame()->Router().execute(window->GetCommandTarget(), id);
    }
    // Advances in steps of 100 ms until done() holds, at most ms; whether it held.
    template <class Done> bool AdvanceUntil(Done done, uint64_t ms = 10000) {
        for (uint64_t waited = 0; waited < ms && !done(); waited += 100)
            Advance(100);
        return done();
    }
};

TEST_F(SpeedAndCadenceE2eTest, TheBikeSensorTakesItsValueAndLocation) {
    CCycleSpeedCtrl* window =
        ConnectedWindow("", QStringLiteral("Orvane Cadence"), &CMainFrame::CycleSpeedWindow);
    ASSERT_NE(window, nullptr);
    auto* locations = qobject_cast<QComboBox*>(platform::GetDlgItem(window, IDC_CSC_LOCATIONS));
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
    EXPECT_TRUE(EveryRecordGivenBack());
}

TEST_F(SpeedAndCadenceE2eTest, TheFootPodWalksAndRunsTakesItsDistanceAndCannotCalibrateWhileRunning) {
    CRunningSpeedCtrl* window =
        ConnectedWindow("", QStringLiteral("Orvane Stride"), &CMainFrame::RunningSpeedWindow);
    ASSERT_NE(window, nullptr);
    const auto* gait = qobject_cast<QLabel*>(platform::GetDlgItem(window, IDC_RSC_STATUS_PICTURE));
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
    EXPECT_TRUE(EveryRecordGivenBack());
}

} // namespace
