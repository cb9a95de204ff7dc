// The built-in world's weather station followed in its window over virtual time: every row filled,
// automatic update and a calibration stopped from the progress window, which the station takes.
#include "E2eFixture.h"
#include "panes/CConnectProgressDlg.h"
#include "profiles/sensor/EnvironmentIds.h"

#include <QCheckBox>
#include <QComboBox>

namespace {

using EnvironmentE2eTest = E2eFixture;

TEST_F(EnvironmentE2eTest, EveryRowFillsAndPollsAndCalibrationFollowTheUser) {
    auto* window = Open("Orvane Weather Station", &CMainFrame::EnvironmentWindow);
    Advance(15000);
    for (const UINT id : {IDC_ENV_PRESSURE, IDC_ENV_TEMPERATURE, IDC_ENV_HUMIDITY, IDC_ENV_ACCELERATION,
                          IDC_ENV_ANGULAR_VELOCITY, IDC_ENV_MAGNETIC_FLUX, IDC_ENV_DIRECTION})
        EXPECT_NE(Text(window, id), QStringLiteral("Not Supported")) << id;

    Item<QComboBox>(window, IDC_ENV_INTERVAL)->setCurrentIndex(1);
    Item<QCheckBox>(window, ID_ENV_AUTO_UPDATE)->click();
    const qsizetype pressures = LogCount(QStringLiteral("Pressure received"));
    Advance(30000);
    EXPECT_GE(LogCount(QStringLiteral("Pressure received")) - pressures, 4);
    Item<QCheckBox>(window, ID_ENV_AUTO_UPDATE)->click();
    Advance(3000);

    ASSERT_TRUE(Run(window, ID_ENV_CALIBRATE));
    Advance(2000);
    Frame()->ProgressWindow()->OnCancel();
    Advance(3000);
    EXPECT_EQ(LogCount(QStringLiteral("Handle = 26, result 0\n")), 2);
    EXPECT_TRUE(PromptTexts().empty());
}

} // namespace
