#include "profiles/control/CRemoteCtrl.h"

#include "app/COrvBleDemoApp.h"
#include "mainframe/CMainFrame.h"
#include "platform/DialogItems.h"
#include "platform/KeyInput.h"
#include "profiles/control/CRemotePict.h"
#include "profiles/control/RemoteIds.h"
#include "res/resource.h"
#include "ui_RemotePane.h"

#include <QCheckBox>

namespace {

[[maybe_unused]] const bool kPaneRegistered =
    CProfileCtrlView::RegisterTemplate(IDD_REMOTE, [](QWidget* pane) {
        Ui::RemotePane form;
        form.setupUi(pane);
    });

namespace Vk = platform::VirtualKey;

struct RemoteKey {
    uint8_t usage; // HID keyboard page
    UINT bitmapId; // the lit key
    int x;
    int y;
    uint16_t virtualKey;
};

constexpr uint16_t F(int n) {
    return static_cast<uint16_t>(Vk::F1 + n - 1);
}

constexpr uint16_t Digit(int n) {
    return static_cast<uint16_t>(Vk::Digit0 + n);
}

constexpr RemoteKey kKeys[] = {
    {0x6B, 186, 18, 34, F(16)},         {0x6C, 187, 37, 32, F(17)},
    {0x78, 188, 63, 35, Vk::MediaStop}, {0x6D, 189, 9, 64, F(18)},
    {0x6E, 191, 24, 51, F(19)},         {0x6F, 192, 50, 51, F(20)},
    {0x70, 193, 63, 65, F(21)},         {0x7F, 194, 30, 76, Vk::VolumeMute},
    {0x3B, 195, 52, 76, F(2)},          {0x80, 196, 11, 91, Vk::VolumeUp},
    {0x52, 197, 36, 88, Vk::Up},        {0x4B, 198, 69, 93, Vk::Prior},
    {0x50, 199, 22, 101, Vk::Left},     {0x28, 200, 37, 103, Vk::Return},
    {0x4F, 201, 58, 101, Vk::Right},    {0x81, 202, 11, 120, Vk::VolumeDown},
    {0x51, 203, 35, 124, Vk::Down},     {0x4E, 204, 69, 120, Vk::Next},
    {0x3C, 205, 16, 137, F(3)},         {0x2A, 206, 34, 139, Vk::Back},
    {0x3A, 207, 63, 138, F(1)},         {0x3E, 208, 11, 157, F(5)},
    {0x3F, 209, 28, 161, F(6)},         {0x40, 210, 50, 162, F(7)},
    {0x41, 211, 67, 158, F(8)},         {0x1E, 212, 17, 180, Digit(1)},
    {0x1F, 213, 37, 181, Digit(2)},     {0x20, 214, 57, 180, Digit(3)},
    {0x21, 215, 17, 198, Digit(4)},     {0x22, 216, 37, 199, Digit(5)},
    {0x23, 217, 57, 198, Digit(6)},     {0x24, 218, 17, 215, Digit(7)},
    {0x25, 219, 37, 217, Digit(8)},     {0x26, 220, 56, 216, Digit(9)},
    {0x27, 221, 36, 235, Digit(0)},
};

} // namespace

CRemoteCtrl::CRemoteCtrl(QWidget* parent) : CChildFrame(parent) {}

CRemoteCtrl::~CRemoteCtrl() = default;

void CRemoteCtrl::OnCreate() {
    m_wndView.Create(IDD_REMOTE, PaneParent());
    if (CRemotePict* picture = Picture()) {
        picture->LoadBackground();
        for (const RemoteKey& key : kKeys)
            picture->AddKey(key.usage, key.bitmapId, key.x, key.y, key.virtualKey);
    }
    setWindowTitle(QStringLiteral("Remote control"));
    BindCommandButton(ID_FORWARD_HID_REPORTS);
    InitScrollMetrics(&m_wndView);
}

CRemotePict* CRemoteCtrl::Picture() const {
    return qobject_cast<CRemotePict*>(platform::GetDlgItem(this, IDC_REMOTE_PICTURE));
}

bool CRemoteCtrl::IsForwardingBoxChecked() const {
    const auto* box = qobject_cast<QCheckBox*>(platform::GetDlgItem(this, ID_FORWARD_HID_REPORTS));
    return box && box->isChecked();
}

void CRemoteCtrl::OnKeyReport(std::span<const uint8_t> report) {
    CRemotePict* picture = Picture();
    if (!picture)
        return;
    picture->ClearPressed();
    for (const uint8_t usage : report) {
        if (usage == 0)
            continue;
        const std::optional<uint16_t> virtualKey = picture->Press(usage);
        if (virtualKey && m_bForwarding)
            ForwardKey(*virtualKey);
    }
    picture->update();
}

void CRemoteCtrl::ForwardKey(uint16_t virtualKey) {
    platform::KeyInputResult result = platform::sendKeyInput(virtualKey, false);
    if (result == platform::KeyInputResult::Sent)
        result = platform::sendKeyInput(virtualKey, true);
    if (result == platform::KeyInputResult::Sent)
        return;
    if (CMainFrame* mainFrame = AfxGetMainWnd())
        mainFrame->OnKeyNotForwarded(virtualKey, result);
}
