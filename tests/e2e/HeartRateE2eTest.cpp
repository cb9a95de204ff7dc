// The built-in world's simulated chest strap followed in its heart-rate window over virtual time: its
// measurements, Reset, a Reset the strap never answers, and the dongle pulled while measuring.
#include "platform/DialogItems.h"
#include "platform/StringTable.h"
#include "profiles/sensor/CHeartRateMonitorCtrl.h"
#include "profiles/sensor/HeartRateIds.h"
#include "res/resource.h"
#include "support/SimFixture.h"
#include "veyrasim.h"

#include <QRegularExpression>
#include <map>
#include <set>

namespace {

const QString kStrap = QStringLiteral("Orvane HR Strap");
const std::string kStrapAddress = "00:1A:7D:DA:71:01";
const QString kNotAvailable = QStringLiteral("N/A");

class HeartRateE2eTest : public SimFixture {
protected:
    void SetUp() override {
        SimFixture::SetUp();
        m_window = ConnectedWindow("", kStrap, &CMainFrame::HeartRateWindow);
        ASSERT_NE(m_window, nullptr);
    }
    QString Text(UINT id) const { return platform::GetDlgItemText(m_window, id); }
    // The texts each value showed, sampled once a second for that many seconds.
    std::map<UINT, std::set<QString>> Follow(int seconds) {
        std::map<UINT, std::set<QString>> seen;
        for (int i = 0; i < seconds; ++i) {
            Advance(1000);
            for (UINT id : {IDC_HR_HEART_RATE, IDC_HR_CONTACT_TEXT, IDC_HR_RR_INTERVALS})
                seen[id].insert(Text(id));
        }
        return seen;
    }
    // The kilojoules shown next, waiting up to half a minute for a measurement that carries them.
    int NextEnergy() {
        for (int i = 0; i < 30 && Text(IDC_HR_ENERGY_EXPENDED) == kNotAvailable; ++i)
            Advance(1000);
        return Text(IDC_HR_ENERGY_EXPENDED).section(QLatin1Char(' '), 0, 0).toInt();
    }

    CHeartRateMonitorCtrl* m_window = nullptr;
};

bool AllMatch(const std::set<QString>& texts, const QString& pattern) {
    const QRegularExpression expression(QRegularExpression::anchoredPattern(pattern));
    return std::all_of(texts.begin(), texts.end(),
                       [&expression](const QString& text) { return expression.match(text).hasMatch(); });
}

TEST_F(HeartRateE2eTest, TheStrapsMeasurementsAreShownAndResetMakesItCountFromZero) {
    EXPECT_EQ(Text(IDC_HR_LOCATION), QStringLiteral("Chest"));
    std::map<UINT, std::set<QString>> seen = Follow(30);
    EXPECT_GE(seen[IDC_HR_HEART_RATE].size(), 3u);
    EXPECT_TRUE(AllMatch(seen[IDC_HR_HEART_RATE], QStringLiteral("\\d{2,3} bpm")));
    EXPECT_TRUE(seen[IDC_HR_CONTACT_TEXT].contains(QStringLiteral("Sensor in contact")));
    EXPECT_TRUE(AllMatch(seen[IDC_HR_CONTACT_TEXT],
                         QStringLiteral("Sensor in contact|Sensor disconnected|Sensor contact unknown")));
    seen[IDC_HR_RR_INTERVALS].erase(kNotAvailable);
    EXPECT_FALSE(seen[IDC_HR_RR_INTERVALS].empty());
    EXPECT_TRUE(AllMatch(seen[IDC_HR_RR_INTERVALS], QStringLiteral("\\d+ ticks|(\\d+ ){2,}")));

    Advance(120000);
    const int before = NextEnergy();
    ASSERT_GT(before, 0);
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_HR_RESET_ENERGY));
    Advance(1000);
    EXPECT_EQ(Text(IDC_HR_ENERGY_EXPENDED), kNotAvailable);
    EXPECT_LT(NextEnergy(), before);
    EXPECT_TRUE(EveryRecordGivenBack());
}

TEST_F(HeartRateE2eTest, AResetTheStrapNeverAnswersDropsTheLinkAfterThirtySeconds) {
    ASSERT_TRUE(orv::sim::setPeerSilent(kStrapAddress, true));
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_HR_RESET_ENERGY));
    Advance(25000);
    EXPECT_GE(Frame()->ConnectedDeviceIndex(), 0);
    Advance(10000);
    EXPECT_EQ(Frame()->ConnectedDeviceIndex(), -1);
    EXPECT_EQ(Frame()->HeartRateWindow(), nullptr);
    EXPECT_FALSE(Frame()->IsHeartRateResetPending());
    EXPECT_TRUE(EveryRecordGivenBack());
}

TEST_F(HeartRateE2eTest, UnpluggingTheDongleWhileMeasuringShowsTheMessageAndCloses) {
    Advance(3000);
    orv::sim::unplugDongle();
    Advance(500);
    ASSERT_FALSE(PromptTexts().empty());
    EXPECT_EQ(PromptTexts()[0], platform::LoadString(IDS_DONGLE_UNPLUGGED));
    EXPECT_FALSE(Frame()->isVisible());
    EXPECT_EQ(Frame()->HeartRateWindow(), nullptr);
    EXPECT_TRUE(EveryRecordGivenBack());
}

} // namespace
