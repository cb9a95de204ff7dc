#include "profiles/control/COTABootLoaderServiceCtrl.h"

#include "gatt/Uuids.h"
#include "platform/StringTable.h"
#include "profiles/control/OverTheAirIds.h"
#include "res/resource.h"
#include "ui_OTABootLoaderServicePane.h"

#include <array>

namespace {

[[maybe_unused]] const bool kPaneRegistered =
    CProfileCtrlView::RegisterTemplate(IDD_OTA_BOOTLOADER_SERVICE, [](QWidget* pane) {
        Ui::OTABootLoaderServicePane form;
        form.setupUi(pane);
    });

constexpr std::array<OtaReading, 2> kReadings = {{
    {VendorUuid::OtaCurrentApplication, IDC_OTA_CURRENT_APPLICATION, "Current App index received = %d\n"},
    {VendorUuid::OtaVersion, IDC_OTA_BOOTLOADER_VERSION, "Current version received = %d\n"},
}};

} // namespace

COTABootLoaderServiceCtrl::COTABootLoaderServiceCtrl(QWidget* parent) : CChildFrame(parent) {}

COTABootLoaderServiceCtrl::~COTABootLoaderServiceCtrl() = default;

void COTABootLoaderServiceCtrl::OnCreate() {
    m_wndView.Create(IDD_OTA_BOOTLOADER_SERVICE, PaneParent());
    setWindowTitle(platform::LoadString(IDS_OTA_BOOTLOADER_TITLE));
    InitScrollMetrics(&m_wndView);
}

void COTABootLoaderServiceCtrl::InitHandles(const BleDeviceRecord* device) {
    InitOtaHandles(*device, VendorUuid::OtaBootloaderService, kReadings, m_handles);
}

void COTABootLoaderServiceCtrl::OnCharacteristicRead(uint16_t handle, uint16_t length, const uint8_t* data) {
    ShowOtaReading(this, kReadings, m_handles, handle, {data, data ? length : 0u});
}
