#include "profiles/control/CMfswHostCtrl.h"

#include "app/COrvBleDemoApp.h"
#include "gatt/BleDeviceRecord.h"
#include "gatt/Hid.h"
#include "gatt/SteeringWheel.h"
#include "gatt/Uuids.h"
#include "mainframe/CMainFrame.h"
#include "platform/DialogItems.h"
#include "platform/StringTable.h"
#include "platform/ui/Icons.h"
#include "profiles/control/SteeringWheelIds.h"
#include "res/resource.h"
#include "ui_SteeringWheelPane.h"

#include <QLabel>

namespace {

[[maybe_unused]] const bool kPaneRegistered =
    CProfileCtrlView::RegisterTemplate(IDD_STEERING_WHEEL, [](QWidget* pane) {
        Ui::SteeringWheelPane form;
        form.setupUi(pane);
    });

struct WheelButton {
    UINT controlId;
    uint16_t usage; // HID consumer page
    UINT pressedIcon;
    UINT releasedIcon;
    QPoint position; // dialog units
};

constexpr WheelButton kButtons[] = {
    {IDC_MFSW_MENU_UP, 0x42, IDI_MFSW_MENU_UP_PRESSED, IDI_MFSW_MENU_UP_RELEASED, {44, 35}},
    {IDC_MFSW_MENU_DOWN, 0x43, IDI_MFSW_MENU_DOWN_PRESSED, IDI_MFSW_MENU_DOWN_RELEASED, {44, 90}},
    {IDC_MFSW_MENU_LEFT, 0x44, IDI_MFSW_MENU_LEFT_PRESSED, IDI_MFSW_MENU_LEFT_RELEASED, {22, 54}},
    {IDC_MFSW_MENU_RIGHT, 0x45, IDI_MFSW_MENU_RIGHT_PRESSED, IDI_MFSW_MENU_RIGHT_RELEASED, {81, 54}},
    {IDC_MFSW_MENU_PICK, 0x41, IDI_MFSW_MENU_PICK_PRESSED, IDI_MFSW_MENU_PICK_RELEASED, {45, 56}},
    {IDC_MFSW_VOLUME_UP, 0xE9, IDI_MFSW_VOLUME_UP_PRESSED, IDI_MFSW_VOLUME_UP_RELEASED, {116, 25}},
    {IDC_MFSW_VOLUME_DOWN, 0xEA, IDI_MFSW_VOLUME_DOWN_PRESSED, IDI_MFSW_VOLUME_DOWN_RELEASED, {116, 85}},
    {IDC_MFSW_BUTTON_26, 0x26, IDI_MFSW_BUTTON_26_PRESSED, IDI_MFSW_BUTTON_26_RELEASED, {116, 55}},
    {IDC_MFSW_NEXT_TRACK, 0xB5, IDI_MFSW_NEXT_TRACK_PRESSED, IDI_MFSW_NEXT_TRACK_RELEASED, {147, 25}},
    {IDC_MFSW_PREVIOUS_TRACK,
     0xB6,
     IDI_MFSW_PREVIOUS_TRACK_PRESSED,
     IDI_MFSW_PREVIOUS_TRACK_RELEASED,
     {147, 85}},
    {IDC_MFSW_PLAY, 0xB0, IDI_MFSW_PLAY_PRESSED, IDI_MFSW_PLAY_RELEASED, {147, 55}},
};

// The group box around the buttons, in dialog units.
constexpr QRect kButtonsGroup{7, 7, 182, 112};
constexpr uint8_t kNotifications = 1;

} // namespace

CMfswHostCtrl::CMfswHostCtrl(QWidget* parent) : CChildFrame(parent) {}

CMfswHostCtrl::~CMfswHostCtrl() = default;

void CMfswHostCtrl::OnCreate() {
    m_wndView.Create(IDD_STEERING_WHEEL, PaneParent());
    setWindowTitle(platform::LoadString(IDS_STEERING_WHEEL));
    const QFont font = m_wndView.font();
    if (QWidget* group = m_wndView.findChild<QWidget*>(QStringLiteral("buttonsGroup")))
        group->setGeometry(MapDialogRect(font, kButtonsGroup));
    for (const WheelButton& button : kButtons) {
        const QPixmap pressed = CProfileCtrlView::IconToBitmap(platform::loadIcon(button.pressedIcon));
        const QPixmap released = CProfileCtrlView::IconToBitmap(platform::loadIcon(button.releasedIcon));
        m_buttons.insert({button.usage, {button.controlId, pressed, kPressed}});
        m_buttons.insert({button.usage, {button.controlId, released, kReleased}});
        if (auto* picture = qobject_cast<QLabel*>(platform::GetDlgItem(this, button.controlId))) {
            const QPoint at = MapDialogRect(font, QRect(button.position, QSize())).topLeft();
            picture->setGeometry(QRect(at, released.size()));
            picture->setPixmap(released);
            picture->raise();
        }
        m_shown[button.controlId] = kReleased;
    }
    InitScrollMetrics(&m_wndView);
}

void CMfswHostCtrl::InitHandles(const BleDeviceRecord& peer) {
    m_cid = peer.cid;
    m_references.clear();
    m_reports.clear();
    const auto service = peer.services.find(MakeUuid16(ServiceUuid::HumanInterfaceDevice));
    if (service == peer.services.end())
        return;
    const auto [first, last] =
        service->second.characteristics.equal_range(MakeUuid16(CharacteristicUuid::Report));
    for (auto it = first; it != last; ++it) {
        const BleCharacteristicEntry& report = it->second;
        for (const BleDescriptorEntry& descriptor : report.descriptors) {
            if (descriptor.uuid.kind != BLE_UUID_KIND_16 ||
                descriptor.uuid.uuid16 != DescriptorUuid::ReportReference)
                continue;
            m_references[descriptor.handle] = report.valueHandle;
            m_reports[report.valueHandle] = HidReportEntry{0, HidReportType::Unknown, report.configHandle};
        }
    }
    CMainFrame* mainFrame = AfxGetMainWnd();
    for (const auto& [descriptor, report] : m_references)
        if (mainFrame && descriptor != 0)
            mainFrame->QueueRead(m_cid, descriptor);
}

void CMfswHostCtrl::OnReportReferenceRead(uint16_t handle, std::span<const uint8_t> value) {
    const auto reference = m_references.find(handle);
    if (reference == m_references.end())
        return;
    const uint16_t valueHandle = reference->second;
    HidReportEntry& report = m_reports[valueHandle];
    const std::optional<HidReportReference> decoded = HidReportReference::decode(value);
    if (!decoded)
        Log(QStringLiteral("Report Reference %1 of %2 bytes is too short; its report stays unknown.")
                .arg(handle)
                .arg(value.size()));
    report.id = decoded ? decoded->id : 0;
    report.type = decoded ? decoded->type : HidReportType::Unknown;
    if (report.configHandle != 0 && valueHandle != 0)
        if (CMainFrame* mainFrame = AfxGetMainWnd())
            mainFrame->WriteClientConfiguration(m_cid, valueHandle, report.configHandle, kNotifications);
}

void CMfswHostCtrl::OnReportNotification(uint16_t handle, std::span<const uint8_t> value) {
    const auto report = m_reports.find(handle);
    if (report != m_reports.end())
        OnInputReport(report->second.id, report->second.type, value);
}

void CMfswHostCtrl::OnInputReport(uint8_t reportId, uint8_t reportType, std::span<const uint8_t> value) {
    if (reportType != HidReportType::Input || reportId != SteeringWheelReport::kReportId)
        return;
    const std::set<uint16_t> lit = SteeringWheelReport::decode(value).litButtons();
    for (const uint16_t usage : m_lit)
        if (!lit.contains(usage))
            SetButtonImage(usage, kReleased);
    for (const uint16_t usage : lit)
        SetButtonImage(usage, kPressed);
    m_lit = lit;
    QString text = QStringLiteral("Received Input Report = ");
    for (const uint8_t byte : value)
        text += QString::asprintf("%x ", byte);
    Log(text);
}

void CMfswHostCtrl::SetButtonImage(uint16_t usage, uint32_t state) {
    const auto [first, last] = m_buttons.equal_range(usage);
    for (auto it = first; it != last; ++it) {
        const MfswButtonImage& image = it->second;
        if (image.state != state)
            continue;
        if (auto* picture = qobject_cast<QLabel*>(platform::GetDlgItem(this, image.controlId)))
            picture->setPixmap(image.picture);
        m_shown[image.controlId] = state;
    }
}

std::set<uint16_t> CMfswHostCtrl::LitButtons() const {
    std::set<uint16_t> lit;
    for (const auto& [usage, image] : m_buttons) {
        const auto shown = m_shown.find(image.controlId);
        if (image.state == kPressed && shown != m_shown.end() && shown->second == kPressed)
            lit.insert(usage);
    }
    return lit;
}

void CMfswHostCtrl::Log(const QString& text) const {
    if (CMainFrame* mainFrame = AfxGetMainWnd())
        mainFrame->AddLogMessage(text);
}
