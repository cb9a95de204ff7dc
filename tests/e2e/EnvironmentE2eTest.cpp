// The built-in world's weather station followed in its window over virtual time: every row filled,
// automatic update and a calibration stopped from the progress window.
#include "panes/CConnectProgressDlg.h"
#include "platform/DialogItems.h"
#include "profiles/sensor/EnvironmentIds.h"
#include "support/SimFixture.h"

#include <QCheckBox>
#include <QComboBox>

namespace {

class EnvironmentE2eTest : public SimFixture {
protected:
    QString Text(UINT id) const { return platform::GetDlgItemText(m_window, id); }
    bool Run(UINT id) { return Frame()->Router().execute(m_window->GetCommandTarget(), id); }
    CEnvironmentCtrl* m_window = nullptr;
};

TEST_F(EnvironmentE2eTest, EveryRowFillsAndPollsAndCalibrationFollowTheUser) {
    m_window = ConnectedWindow("", QStringLiteral("Orvane Weather Station"), &CMainFrame::EnvironmentWindow);
    ASSERT_NE(m_window, nullptr);
    Advance(15000);
    for (const UINT id : {IDC_ENV_PRESSURE, IDC_ENV_TEMPERATURE, IDC_ENV_HUMIDITY, IDC_ENV_ACCELERATION,
                          IDC_ENV_ANGULAR_VELOCITY, IDC_ENV_MAGNETIC_FLUX, IDC_ENV_DIRECTION})
        EXPECT_NE(Text(id), QStringLiteral("Not Supported")) << id;
    EXPECT_TRUE(Text(IDC_ENV_PRESSURE).endsWith(QStringLiteral(" Pa")));

    qobject_cast<QComboBox*>(platform::GetDlgItem(m_window, IDC_ENV_INTERVAL))->setCurrentIndex(1);
    qobject_cast<QCheckBox*>(platform::GetDlgItem(m_window, ID_ENV_AUTO_UPDATE))->click();
    const qsizetype pressures = LogCount(QStringLiteral("Pressure received"));
    Advance(30000);
    EXPECT_GE(LogCount(QStringLiteral("Pressure received")) - pressures, 4);
    qobject_cast<QCheckBox*>(platform::GetDlgItem(m_window, ID_ENV_AUTO_UPDATE))->click();
    Advance(3000);

    ASSERT_TRUE(Run(ID_ENV_CALIBRATE));
    EXPECT_TRUE(Frame()->ProgressWindow()->IsStopEnabled());
    Advance(2000);
    Frame()->ProgressWindow()->OnCancel();
    EXPECT_FALSE(Frame()->ProgressWindow()->isVisible());
    Advance(3000);
    EXPECT_EQ(LogCount(QStringLiteral("Handle = 26, result 0\n")), 2);
    EXPECT_TRUE(PromptTexts().empty());
    EXPECT_TRUE(EveryRecordGivenBack());
}

} // namespace
