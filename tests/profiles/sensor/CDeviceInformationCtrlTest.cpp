// The device-information window: its nine rows. The values they show are tested end to end.
#include "profiles/sensor/CDeviceInformationCtrl.h"

#include "platform/DialogItems.h"
#include "profiles/sensor/DeviceInformationIds.h"

#include <QMdiArea>
#include <QTreeWidget>
#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

namespace {

class DeviceInformationCtrlTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_window = new CDeviceInformationCtrl;
        m_window->Create(&m_area, nullptr, nullptr);
    }
    QTreeWidget* List() const {
        return qobject_cast<QTreeWidget*>(platform::GetDlgItem(m_window, IDC_DEVICE_INFORMATION_LIST));
    }
    QString Value(int row) const { return List()->topLevelItem(row)->text(1); }

    QMdiArea m_area;
    CDeviceInformationCtrl* m_window = nullptr; // owned by its sub-window
};

TEST_F(DeviceInformationCtrlTest, OpensWithNineNamedRowsNotAvailableAndIgnoresOtherRows) {
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("Device Information"));
    const QStringList names = {"Manufacturer",
                               "Model",
                               "Serial number",
                               "Hardware revision",
                               "Firmware revision",
                               "Software revision",
                               "System ID",
                               "Certification data",
                               "PnP ID"};
    ASSERT_EQ(List()->topLevelItemCount(), names.size());
    for (int row = 0; row < names.size(); ++row) {
        EXPECT_EQ(List()->topLevelItem(row)->text(0), names[row]);
        EXPECT_EQ(Value(row), QStringLiteral("N/A")) << row;
    }
    // At least the template's widths, and wide enough for every name.
    const int longestName = List()->fontMetrics().horizontalAdvance(QStringLiteral("Certification data"));
    EXPECT_GE(List()->columnWidth(0), std::max(100, longestName));
    EXPECT_GE(List()->columnWidth(1), 190);

    const std::vector<uint8_t> value = {'x'};
    for (int row : {-1, int(CDeviceInformationCtrl::RowCount)})
        m_window->ShowValue(row, value);
    EXPECT_EQ(List()->topLevelItemCount(), names.size());
}

} // namespace
