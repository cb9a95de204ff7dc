#include "profiles/control/COTAAppServiceCtrl.h"

#include "gatt/Uuids.h"
#include "platform/StringTable.h"
#include "profiles/control/OverTheAirIds.h"
#include "res/resource.h"
#include "ui_OTAAppServicePane.h"

#include <array>

namespace {

[[maybe_unused]] const bool kPaneRegistered =
    CProfileCtrlView::RegisterTemplate(IDD_OTA_APP_SERVICE, [](QWidget* pane) {
        Ui::OTAAppServicePane form;
        form.setupUi(pane);
    });

constexpr std::array<OtaReading, 1> kReadings = {{
    {VendorUuid::OtaCurrentApplication, IDC_OTA_CURRENT_APPLICATION, "Cur App received = %d\n"},
}};

} // namespace

COTAAppServiceCtrl::COTAAppServiceCtrl(QWidget* parent) : CChildFrame(parent) {}

COTAAppServiceCtrl::~COTAAppServiceCtrl() = default;

void COTAAppServiceCtrl::OnCreate() {
    m_wndView.Create(IDD_OTA_APP_SERVICE, PaneParent());
    setWindowTitle(platform::LoadString(IDS_OTA_APP_TITLE));
    InitScrollMetrics(&m_wndView);
}

void COTAAppServiceCtrl::InitHandles(const BleDeviceRecord* device) {
    InitOtaHandles(*device, VendorUuid::OtaApplicationService, kReadings, m_handles);
}

void COTAAppServiceCtrl::OnCharacteristicRead(uint16_t handle, uint16_t length, const uint8_t* data) {
    ShowOtaReading(this, kReadings, m_handles, handle, {data, data ? length : 0u});
}
