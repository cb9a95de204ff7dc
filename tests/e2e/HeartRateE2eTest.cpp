// The built-in world's simulated chest strap in its heart-rate window over virtual time: Reset, and the
// dongle pulled while measuring. What each measurement shows is tested on the main window's routing.
#include "E2eFixture.h"
#include "platform/StringTable.h"
#include "profiles/sensor/CHeartRateMonitorCtrl.h"
#include "profiles/sensor/HeartRateIds.h"
#include "res/resource.h"
#include "veyrasim.h"

namespace {

const QString kNotAvailable = QStringLiteral("N/A");

class HeartRateE2eTest : public E2eFixture {
protected:
    void SetUp() override {
        E2eFixture::SetUp();
        m_window = Open("Orvane HR Strap", &CMainFrame::HeartRateWindow);
    }
    // The kilojoules shown next, waiting up to half a minute for a measurement that carries them.
    int NextEnergy() {
        AdvanceUntil([this] { return Text(m_window, IDC_HR_ENERGY_EXPENDED) != kNotAvailable; }, 30000, 1000);
        return Text(m_window, IDC_HR_ENERGY_EXPENDED).section(QLatin1Char(' '), 0, 0).toInt();
    }

    CHeartRateMonitorCtrl* m_window = nullptr;
};

TEST_F(HeartRateE2eTest, TheStrapSitsOnTheChestAndResetMakesItCountItsEnergyFromZero) {
    EXPECT_EQ(Text(m_window, IDC_HR_LOCATION), QStringLiteral("Chest"));
    Advance(150000);
    const int before = NextEnergy();
    ASSERT_GT(before, 0);
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_HR_RESET_ENERGY));
    Advance(1000);
    EXPECT_EQ(Text(m_window, IDC_HR_ENERGY_EXPENDED), kNotAvailable);
    EXPECT_LT(NextEnergy(), before);
}

TEST_F(HeartRateE2eTest, UnpluggingTheDongleWhileMeasuringShowsTheMessageAndCloses) {
    Advance(3000);
    orv::sim::unplugDongle();
    Advance(500);
    ASSERT_FALSE(PromptTexts().empty());
    EXPECT_EQ(PromptTexts()[0], platform::LoadString(IDS_DONGLE_UNPLUGGED));
    EXPECT_FALSE(Frame()->isVisible());
    EXPECT_EQ(Frame()->HeartRateWindow(), nullptr);
}

} // namespace
