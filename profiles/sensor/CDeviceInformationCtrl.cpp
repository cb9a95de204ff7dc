#include "profiles/sensor/CDeviceInformationCtrl.h"

#include "gatt/DeviceInformation.h"
#include "gatt/ValueText.h"
#include "platform/DialogItems.h"
#include "profiles/sensor/DeviceInformationIds.h"
#include "res/resource.h"
#include "ui_DeviceInformationPane.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <algorithm>
#include <array>

namespace {

[[maybe_unused]] const bool kPaneRegistered =
    CProfileCtrlView::RegisterTemplate(IDD_DEVICE_INFORMATION, [](QWidget* pane) {
        Ui::DeviceInformationPane form;
        form.setupUi(pane);
    });

constexpr int kPropertyColumn = 0;
constexpr int kValueColumn = 1;
constexpr int kPropertyWidth = 100;
constexpr int kValueWidth = 190;

const std::array<const char*, CDeviceInformationCtrl::RowCount> kRowNames = {
    "Manufacturer",
    "Model",
    "Serial number",
    "Hardware revision",
    "Firmware revision",
    "Software revision",
    "System ID",
    "Certification data",
    "PnP ID",
};

QString ValueText(int row, std::span<const uint8_t> value) {
    switch (row) {
    case CDeviceInformationCtrl::RowSystemId:
        return SystemIdText(value);
    case CDeviceInformationCtrl::RowCertificationData:
        return CertificationDataText(value);
    case CDeviceInformationCtrl::RowPnpId:
        return PnpIdText(value);
    default:
        return Utf8ToCString(value.data(), static_cast<int>(value.size()));
    }
}

} // namespace

CDeviceInformationCtrl::CDeviceInformationCtrl(QWidget* parent) : CChildFrame(parent) {}

CDeviceInformationCtrl::~CDeviceInformationCtrl() = default;

void CDeviceInformationCtrl::OnCreate() {
    m_wndView.Create(IDD_DEVICE_INFORMATION, PaneParent());
    setWindowTitle(QStringLiteral("Device Information"));
    if (auto* list = qobject_cast<QTreeWidget*>(platform::GetDlgItem(this, IDC_DEVICE_INFORMATION_LIST))) {
        list->setHeaderLabels({QStringLiteral("Property"), QStringLiteral("Value")});
        for (const char* name : kRowNames)
            list->addTopLevelItem(new QTreeWidgetItem({QString::fromLatin1(name), QStringLiteral("N/A")}));
        // The template's widths hold in its own font; a wider font widens the names' column to its
        // longest name, and the value column takes the rest of the list.
        list->resizeColumnToContents(kPropertyColumn);
        list->setColumnWidth(kPropertyColumn, std::max(kPropertyWidth, list->columnWidth(kPropertyColumn)));
        list->setColumnWidth(kValueColumn, kValueWidth);
        list->header()->setStretchLastSection(true);
    }
    InitScrollMetrics(&m_wndView);
}

void CDeviceInformationCtrl::ShowValue(int row, std::span<const uint8_t> value) {
    auto* list = qobject_cast<QTreeWidget*>(platform::GetDlgItem(this, IDC_DEVICE_INFORMATION_LIST));
    QTreeWidgetItem* item = list ? list->topLevelItem(row) : nullptr;
    if (!item)
        return;
    item->setText(kValueColumn, ValueText(row, value));
}
