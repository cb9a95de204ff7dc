// The built-in world's battery pack, followed over virtual time, and its dev board's device information.
// What the battery window shows at each level is tested on the window.
#include "platform/DialogItems.h"
#include "profiles/sensor/BatteryIds.h"
#include "profiles/sensor/CBatteryCtrl.h"
#include "profiles/sensor/CDeviceInformationCtrl.h"
#include "profiles/sensor/DeviceInformationIds.h"
#include "support/SimFixture.h"

#include <QTreeWidget>

namespace {

class BatteryAndDeviceInformationE2eTest : public SimFixture {};

TEST_F(BatteryAndDeviceInformationE2eTest, TheBatteryPackRunsDownToZeroAndIsRecharged) {
    CBatteryCtrl* window =
        ConnectedWindow("", QStringLiteral("Orvane Battery Pack"), &CMainFrame::BatteryWindow);
    ASSERT_NE(window, nullptr);
    // Its clock started with the connection: 15 %, one percent less every 4 s, empty from 60 s to 80 s.
    const std::pair<uint64_t, const char*> steps[] = {
        {0, "15%"}, {30000, "8%"}, {30000, "0%"}, {20000, "100%"}};
    for (const auto& [ms, text] : steps) {
        Advance(ms);
        EXPECT_EQ(platform::GetDlgItemText(window, IDC_BATTERY_PERCENT), QLatin1String(text));
    }
    EXPECT_TRUE(EveryRecordGivenBack());
}

TEST_F(BatteryAndDeviceInformationE2eTest, TheDevBoardListsItsNineValuesWithTheirNamesWhole) {
    CDeviceInformationCtrl* window =
        ConnectedWindow("", QStringLiteral("Orvane Dev Board"), &CMainFrame::DeviceInformationWindow);
    ASSERT_NE(window, nullptr);
    const auto* list = qobject_cast<QTreeWidget*>(platform::GetDlgItem(window, IDC_DEVICE_INFORMATION_LIST));
    QStringList values;
    for (int row = 0; row < list->topLevelItemCount(); ++row)
        values << list->topLevelItem(row)->text(1);
    EXPECT_EQ(values, (QStringList{"Orvane", "ODB-2640", "2640-00417", "Rev C", "2.6.0",
                                   QStringLiteral("1.4.2-\u03b2"), "0x001A7DFFFEDA710B",
                                   "01 00 01 02 04 00 02 00 ", "BT VID: 2F1E, PID: 0102, ver 1.2.3"}));
    // At least the template's widths, and the longest name whole in this font.
    EXPECT_GE(list->columnWidth(0),
              list->fontMetrics().horizontalAdvance(QStringLiteral("Certification data")));
    EXPECT_GE(list->columnWidth(1), 190);
    EXPECT_TRUE(EveryRecordGivenBack());
}

} // namespace
