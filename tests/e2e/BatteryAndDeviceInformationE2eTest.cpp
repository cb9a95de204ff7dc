// The built-in world's battery pack, followed over virtual time, and its dev board's device information.
// What the battery window shows at each level is tested on the window.
#include "E2eFixture.h"
#include "profiles/sensor/BatteryIds.h"
#include "profiles/sensor/CBatteryCtrl.h"
#include "profiles/sensor/CDeviceInformationCtrl.h"
#include "profiles/sensor/DeviceInformationIds.h"

#include <QTreeWidget>

namespace {

using BatteryAndDeviceInformationE2eTest = E2eFixture;

TEST_F(BatteryAndDeviceInformationE2eTest, TheBatteryPackRunsDownToZeroAndIsRecharged) {
    CBatteryCtrl* window = Open("Orvane Battery Pack", &CMainFrame::BatteryWindow);
    // Its clock started with the connection: 15 %, one percent less every 4 s, empty from 60 s to 80 s.
    const std::pair<uint64_t, const char*> steps[] = {
        {0, "15%"}, {30000, "8%"}, {30000, "0%"}, {20000, "100%"}};
    for (const auto& [ms, text] : steps) {
        Advance(ms);
        EXPECT_EQ(Text(window, IDC_BATTERY_PERCENT), QLatin1String(text));
    }
}

TEST_F(BatteryAndDeviceInformationE2eTest, TheDevBoardListsItsNineValuesWithTheirNamesWhole) {
    CDeviceInformationCtrl* window = Open("Orvane Dev Board", &CMainFrame::DeviceInformationWindow);
    const auto* list = Item<QTreeWidget>(window, IDC_DEVICE_INFORMATION_LIST);
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
}

} // namespace
