#include "profiles/control/CRemoteCtrlGeneric.h"

#include "gatt/Hid.h"
#include "platform/DialogItems.h"
#include "profiles/control/HidIds.h"
#include "profiles/control/RemoteIds.h"
#include "res/resource.h"
#include "ui_RemoteGenericPane.h"

#include <QCheckBox>

namespace {

[[maybe_unused]] const bool kPaneRegistered =
    CProfileCtrlView::RegisterTemplate(IDD_REMOTE_GENERIC, [](QWidget* pane) {
        Ui::RemoteGenericPane form;
        form.setupUi(pane);
    });

constexpr int kFlagCount = 4; // the boxes' ids follow the flags' bits

} // namespace

CRemoteCtrlGeneric::CRemoteCtrlGeneric(QWidget* parent) : CChildFrame(parent) {}

CRemoteCtrlGeneric::~CRemoteCtrlGeneric() = default;

void CRemoteCtrlGeneric::OnCreate() {
    m_wndView.Create(IDD_REMOTE_GENERIC, PaneParent());
    setWindowTitle(QStringLiteral("HID device"));
    // The boxes show the peer's flags and send nothing: neither a click nor a key changes them.
    for (UINT id = IDC_REMOTE_FLAG_VIRTUAL_CABLE; id < IDC_REMOTE_FLAG_VIRTUAL_CABLE + kFlagCount; ++id)
        if (QWidget* box = platform::GetDlgItem(this, id)) {
            box->setAttribute(Qt::WA_TransparentForMouseEvents);
            box->setFocusPolicy(Qt::NoFocus);
        }
    InitScrollMetrics(&m_wndView);
}

void CRemoteCtrlGeneric::ShowReport(std::span<const uint8_t> report) {
    platform::SetDlgItemText(this, IDC_HID_INPUT_REPORT, FormatHexBytes(report));
}

void CRemoteCtrlGeneric::ShowReportMap(std::span<const uint8_t> descriptor) {
    platform::SetDlgItemText(this, IDC_HID_DESCRIPTOR, FormatHexBytes(descriptor));
}

void CRemoteCtrlGeneric::SetHidFlags(uint16_t flags) {
    for (int bit = 0; bit < kFlagCount; ++bit)
        if (auto* box = qobject_cast<QCheckBox*>(
                platform::GetDlgItem(this, IDC_REMOTE_FLAG_VIRTUAL_CABLE + static_cast<UINT>(bit))))
            box->setChecked(((flags >> bit) & 1) != 0);
}
