// The built-in world's simulated chest strap, followed in its heart-rate window over virtual time.
#include "mainframe/CMainFrame.h"
#include "panes/CPropertiesWnd.h"
#include "platform/DialogItems.h"
#include "platform/ui/Property.h"
#include "platform/ui/PropertyGrid.h"
#include "profiles/sensor/HeartRateIds.h"
#include "support/SimFixture.h"

#include <QMdiArea>
#include <QRegularExpression>
#include <set>

namespace {

const QString kStrap = QStringLiteral("Orvane HR Strap");
const QString kOtherDevice = QStringLiteral("Orvane Dev Board");
const QString kNotAvailable = QStringLiteral("N/A");

class HeartRateSensorE2eTest : public SimFixture {
protected:
    void SetUp() override {
        SimFixture::SetUp();
        ASSERT_NE(Start(), nullptr);
        Discover();
        ASSERT_TRUE(Select(kStrap));
        ASSERT_NE(Connect(), nullptr);
        ASSERT_NE(Frame()->HeartRateWindow(), nullptr);
    }
    QString Text(UINT id) const { return platform::GetDlgItemText(Frame()->HeartRateWindow(), id); }
    // The texts a control showed, sampled once a second for that many seconds.
    std::set<QString> Follow(UINT id, int seconds) {
        std::set<QString> seen;
        for (int i = 0; i < seconds; ++i) {
            Advance(1000);
            seen.insert(Text(id));
        }
        return seen;
    }
    // Advances a second at a time until the control shows something other than "N/A"; its text then.
    QString NextShown(UINT id, int seconds) {
        for (int i = 0; i < seconds; ++i) {
            Advance(1000);
            if (Text(id) != kNotAvailable)
                return Text(id);
        }
        return kNotAvailable;
    }
    static int Number(const QString& text) { return text.section(QLatin1Char(' '), 0, 0).toInt(); }
};

bool AllMatch(const std::set<QString>& texts, const QString& pattern) {
    const QRegularExpression expression(QRegularExpression::anchoredPattern(pattern));
    for (const QString& text : texts)
        if (!expression.match(text).hasMatch())
            return false;
    return true;
}

TEST_F(HeartRateSensorE2eTest, RateChangesFromSecondToSecond) {
    const std::set<QString> rates = Follow(IDC_HR_HEART_RATE, 20);
    EXPECT_GE(rates.size(), 3u);
    EXPECT_TRUE(AllMatch(rates, QStringLiteral("\\d{2,3} bpm")));
    EXPECT_EQ(Text(IDC_HR_LOCATION), QStringLiteral("Chest"));
    EXPECT_TRUE(EveryRecordGivenBack());
}

TEST_F(HeartRateSensorE2eTest, ContactStateIsShown) {
    const std::set<QString> states = Follow(IDC_HR_CONTACT_TEXT, 30);
    EXPECT_TRUE(states.contains(QStringLiteral("Sensor in contact")));
    EXPECT_TRUE(
        AllMatch(states, QStringLiteral("Sensor in contact|Sensor disconnected|Sensor contact unknown")));
}

TEST_F(HeartRateSensorE2eTest, RrIntervalsAreShownInTicks) {
    std::set<QString> intervals = Follow(IDC_HR_RR_INTERVALS, 30);
    intervals.erase(kNotAvailable);
    ASSERT_FALSE(intervals.empty());
    EXPECT_TRUE(AllMatch(intervals, QStringLiteral("\\d+ ticks|(\\d+ ){2,}")));
}

TEST_F(HeartRateSensorE2eTest, ResetClearsTheEnergyAndTheSensorCountsFromZero) {
    Advance(120000);
    const QString before = NextShown(IDC_HR_ENERGY_EXPENDED, 30);
    ASSERT_NE(before, kNotAvailable);
    ASSERT_GT(Number(before), 0);
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_HR_RESET_ENERGY));
    Advance(1000);
    EXPECT_EQ(Text(IDC_HR_ENERGY_EXPENDED), kNotAvailable);
    const QString after = NextShown(IDC_HR_ENERGY_EXPENDED, 30);
    ASSERT_NE(after, kNotAvailable);
    EXPECT_LT(Number(after), Number(before));
    EXPECT_TRUE(EveryRecordGivenBack());
}

TEST_F(HeartRateSensorE2eTest, PropertiesPaneNamesTheStrapAndItsServices) {
    EXPECT_EQ(Frame()->PropertiesView()->GetPropertyValue(), kStrap);
    const platform::PropertyGrid& grid = *Frame()->PropertiesView()->PropertyList();
    QStringList services;
    for (int i = 0; i < grid.propertyCount(); ++i)
        if (grid.property(i)->name() == QStringLiteral("Device services"))
            for (int j = 0; j < grid.property(i)->subItemCount(); ++j)
                services << grid.property(i)->subItem(j)->name();
    EXPECT_TRUE(services.contains(QStringLiteral("Heart Rate Service")));
    EXPECT_TRUE(services.contains(QStringLiteral("Generic Access Profile")));
}

TEST_F(HeartRateSensorE2eTest, SelectingAnotherDeviceClosesTheWindowWhileTheStrapStaysConnected) {
    Advance(3000);
    ASSERT_TRUE(Select(kOtherDevice));
    Advance(3000);
    EXPECT_EQ(Frame()->HeartRateWindow(), nullptr);
    EXPECT_TRUE(Frame()->MdiArea()->subWindowList().isEmpty());
    EXPECT_GE(Frame()->ConnectedDeviceIndex(), 0);
    EXPECT_TRUE(EveryRecordGivenBack());
}

} // namespace
