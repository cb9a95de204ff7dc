// The built-in world's health peers followed in their windows over virtual time: the cuff's cycle, the
// glucose meter's records after Just Works pairing, and the ear thermometer (its gauge: the window's).
#include "E2eFixture.h"
#include "profiles/sensor/BloodPressureIds.h"
#include "profiles/sensor/CBloodPressureCtrl.h"
#include "profiles/sensor/CGlucoseCtrl.h"
#include "profiles/sensor/CTemperatureCtrl.h"
#include "profiles/sensor/GlucoseIds.h"
#include "profiles/sensor/ThermometerIds.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTreeWidget>
#include <set>

namespace {

bool Matches(const QString& text, const QString& pattern) {
    return QRegularExpression(QRegularExpression::anchoredPattern(pattern)).match(text).hasMatch();
}

using HealthE2eTest = E2eFixture;

TEST_F(HealthE2eTest, TheCuffShowsItsFallingPressureThenItsReadingEveryThirtySeconds) {
    auto* window = Open("Orvane BP Cuff", &CMainFrame::BloodPressureWindow);
    const auto text = [window](UINT id) { return Text(window, id); };
    const auto shown = [window](UINT id) { return platform::GetDlgItem(window, id)->isVisibleTo(window); };
    std::vector<int> cuff;
    bool pulse = false, time = false, extra = false;
    for (int second = 0; second < 150; ++second) {
        Advance(1000);
        if (text(IDC_BP_DIASTOLIC) == QStringLiteral("--")) {
            EXPECT_EQ(text(IDC_BP_MEAN_ARTERIAL), QStringLiteral("--"));
            cuff.push_back(text(IDC_BP_SYSTOLIC).toInt());
            continue;
        }
        EXPECT_TRUE(Matches(text(IDC_BP_SYSTOLIC) + text(IDC_BP_DIASTOLIC) + text(IDC_BP_SYSTOLIC_UNIT),
                            "\\d{2,3}\\d{2,3}mmHg"));
        pulse = pulse || (shown(IDC_BP_PULSE) && Matches(text(IDC_BP_PULSE), "\\d{2,3}"));
        time = time || (shown(IDC_BP_DATE) && Matches(text(IDC_BP_DATE), "[A-Z][a-z]{2}-\\d\\d-20\\d\\d"));
        extra = extra || (shown(IDC_BP_ADDITIONAL_TEXT) &&
                          Matches(text(IDC_BP_ADDITIONAL_TEXT), "(User id: 001)? ?(Status: \\d{4})?"));
    }
    ASSERT_EQ(cuff.size(), 50u) << "ten cuff pressures in each of five cycles";
    int rises = 0; // the cuff inflates again only when a new cycle begins
    for (size_t i = 1; i < cuff.size(); ++i)
        rises += cuff[i] > cuff[i - 1] ? 1 : 0;
    EXPECT_LE(rises, 5);
    EXPECT_TRUE(pulse && time && extra);
}

TEST_F(HealthE2eTest, TheMetersRecordsAreReadCountedDeletedAndAbortedAfterJustWorks) {
    auto* window = Open("Orvane Glucose Meter", &CMainFrame::GlucoseWindow);
    Advance(3000); // pairing, then the subscriptions
    auto* list = Item<QTreeWidget>(window, IDC_GLUCOSE_RECORDS);
    const auto run = [this](UINT command, uint64_t ms = 8000) {
        ASSERT_TRUE(Frame()->ExecuteCommand(command)) << command;
        Advance(ms);
        EXPECT_FALSE(Frame()->IsRecordAccessPending());
    };
    run(ID_GLUCOSE_READ_ALL);
    EXPECT_TRUE(Frame()->DeviceList().at(static_cast<size_t>(Frame()->ConnectedDeviceIndex()))->paired);
    ASSERT_EQ(list->topLevelItemCount(), 12);

    Item<QAbstractButton>(window, IDC_GLUCOSE_ABOVE)->setChecked(true);
    Item<QLineEdit>(window, IDC_GLUCOSE_ABOVE_EDIT)->setText(QStringLiteral("8"));
    run(ID_GLUCOSE_GET_COUNT);
    EXPECT_EQ(Text(window, IDC_GLUCOSE_COUNT), QStringLiteral("5"));

    Item<QAbstractButton>(window, IDC_GLUCOSE_FIRST)->setChecked(true);
    run(ID_GLUCOSE_DELETE);
    run(ID_GLUCOSE_READ_ALL);
    ASSERT_EQ(list->topLevelItemCount(), 11);
    EXPECT_EQ(list->topLevelItem(0)->text(0), QStringLiteral("0002"));

    ASSERT_TRUE(Frame()->ExecuteCommand(ID_GLUCOSE_READ_ALL));
    Advance(2000);
    run(ID_GLUCOSE_CANCEL_ALL);
    EXPECT_GT(list->topLevelItemCount(), 0);
    EXPECT_LT(list->topLevelItemCount(), 11);
    EXPECT_EQ(LogCount(QStringLiteral("Glucose operation result: 01")), 4);
}

TEST_F(HealthE2eTest, TheThermometerShowsItsSiteAndATemperatureEveryFiveSeconds) {
    auto* window = Open("Orvane Thermometer", &CMainFrame::ThermometerWindow);
    EXPECT_EQ(Text(window, IDC_TEMP_SITE), QStringLiteral("Ear"));
    const auto temperatures =
        Samples<QString>(30000, 5000, [window] { return Text(window, IDC_TEMP_VALUE); });
    for (const QString& text : temperatures)
        EXPECT_TRUE(Matches(text, "3[67]\\.\\d\u00B0C")) << text.toStdString();
    EXPECT_GT(std::set<QString>(temperatures.begin(), temperatures.end()).size(), 1u) << "they vary";
    EXPECT_EQ(LogCount(QStringLiteral("Received Temperature ")), 6);
}

} // namespace
