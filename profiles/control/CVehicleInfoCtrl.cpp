#include "profiles/control/CVehicleInfoCtrl.h"

#include "app/COrvBleDemoApp.h"
#include "gatt/BleDeviceRecord.h"
#include "gatt/GattWriteRequest.h"
#include "gatt/UuidFunctions.h"
#include "gatt/Uuids.h"
#include "gatt/VehicleInformation.h"
#include "mainframe/CMainFrame.h"
#include "platform/DialogItems.h"
#include "platform/LinkOpener.h"
#include "platform/Prompter.h"
#include "platform/StringTable.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/Icons.h"
#include "profiles/control/VehicleInfoIds.h"
#include "res/resource.h"
#include "ui_VehicleInfoPane.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <algorithm>
#include <iterator>

namespace {

[[maybe_unused]] const bool kPaneRegistered =
    CProfileCtrlView::RegisterTemplate(IDD_VEHICLE_INFO, [](QWidget* pane) {
        Ui::VehicleInfoPane form;
        form.setupUi(pane);
    });

namespace Vendor = VendorUuid;

// The ten vehicle values in the order a received value is compared with them.
constexpr uint16_t kValues[] = {Vendor::SpeedLimit,   Vendor::TyrePressures, Vendor::Odometer,
                                Vendor::Registration, Vendor::LockStatus,    Vendor::Latitude,
                                Vendor::Longitude,    Vendor::FuelAndRange,  Vendor::RadioStations,
                                Vendor::TrunkStatus};
constexpr uint8_t kNotifications = 1;
constexpr uint8_t kDeletePairing = 0x01;
constexpr int kPictureSize = 24;
constexpr int kStationColumnWidth = 150;
constexpr int32_t kNotReported = -1;

QPixmap Picture(UINT iconId) {
    return CProfileCtrlView::IconToBitmap(platform::loadIcon(iconId), kPictureSize, kPictureSize);
}

void Log(const QString& text) {
    if (CMainFrame* mainFrame = AfxGetMainWnd())
        mainFrame->AddLogMessage(text);
}

} // namespace

CVehicleInfoCtrl::CVehicleInfoCtrl(QWidget* parent) : CChildFrame(parent) {}

CVehicleInfoCtrl::~CVehicleInfoCtrl() = default;

void CVehicleInfoCtrl::OnCreate() {
    m_wndView.Create(IDD_VEHICLE_INFO, PaneParent());
    setWindowTitle(platform::LoadString(IDS_VEHICLE_INFORMATION));
    m_stations = qobject_cast<QTreeWidget*>(platform::GetDlgItem(this, IDC_VI_STATIONS));
    if (m_stations) {
        m_stations->setColumnCount(1);
        m_stations->setHeaderLabels({QStringLiteral("Radio Stations")});
        m_stations->headerItem()->setTextAlignment(0, Qt::AlignLeft | Qt::AlignVCenter);
        m_stations->setColumnWidth(0, kStationColumnWidth);
        m_stations->setRootIsDecorated(false);
        m_stations->setSelectionBehavior(QAbstractItemView::SelectRows);
    }
    LoadPictures();

    platform::CommandTarget* target = GetCommandTarget();
    target->onCommand(ID_VI_REMOVE_PAIRING, [this] { OnRemovePairing(); });
    target->onUpdate(ID_VI_REMOVE_PAIRING,
                     [this](platform::CmdUI& ui) { ui.Enable(m_removePairingEnabled); });
    target->onCommand(IDC_VI_MAP_LINK, [this] { OnMapLinkClick(); });
    BindCommandButton(ID_VI_REMOVE_PAIRING);
    BindCommandControl(IDC_VI_MAP_LINK);
    // The link's click runs as the link's command: a link lost meanwhile closes the window afterwards.
    if (auto* link = qobject_cast<QLabel*>(platform::GetDlgItem(this, IDC_VI_MAP_LINK)))
        connect(link, &QLabel::linkActivated, this, [this] { IssueCommand(IDC_VI_MAP_LINK); });
    InitScrollMetrics(&m_wndView);
}

void CVehicleInfoCtrl::LoadPictures() {
    m_registration = Picture(IDI_VI_REGISTRATION);
    m_locked = Picture(IDI_VI_LOCKED);
    m_unlocked = Picture(IDI_VI_UNLOCKED);
    m_trunkClosed = Picture(IDI_VI_TRUNK_CLOSED);
    m_trunkOpen = Picture(IDI_VI_TRUNK_OPEN);
    m_odometer = Picture(IDI_VI_ODOMETER);
    m_speedLimit = Picture(IDI_VI_SPEED_LIMIT);
    m_fuel = Picture(IDI_VI_FUEL);
    m_range = Picture(IDI_VI_RANGE);
    m_position = Picture(IDI_VI_POSITION);
    m_tyre = Picture(IDI_VI_TYRE);
    m_warning = Picture(IDI_VI_WARNING);
    const std::pair<UINT, const QPixmap*> pictures[] = {
        {IDC_VI_REGISTRATION_PICTURE, &m_registration},
        {IDC_VI_LOCK_PICTURE, &m_locked},
        {IDC_VI_TRUNK_PICTURE, &m_trunkClosed},
        {IDC_VI_ODOMETER_PICTURE, &m_odometer},
        {IDC_VI_SPEED_LIMIT_PICTURE, &m_speedLimit},
        {IDC_VI_FUEL_PICTURE, &m_fuel},
        {IDC_VI_RANGE_PICTURE, &m_range},
        {IDC_VI_LATITUDE_PICTURE, &m_position},
        {IDC_VI_LONGITUDE_PICTURE, &m_position},
        {IDC_VI_TYRE_PICTURE, &m_tyre},
        {IDC_VI_WARNING_PICTURE, &m_warning},
    };
    for (const auto& [id, picture] : pictures)
        if (auto* label = qobject_cast<QLabel*>(platform::GetDlgItem(this, id)))
            label->setPixmap(*picture);
}

void CVehicleInfoCtrl::InitProfile(const BleDeviceRecord& record) {
    m_cid = record.cid;
    m_valueHandles.clear();
    m_configHandles.clear();
    BleServiceEntry vehicle;
    const bool found = record.FindService(MakeVendorUuid(Vendor::VehicleInformationService), vehicle);
    for (const uint16_t number : kValues) {
        m_valueHandles[number] =
            found ? BleDeviceRecord::GetServiceHandle(false, vehicle, MakeVendorUuid(number)) : 0;
        m_configHandles[number] =
            found ? BleDeviceRecord::GetServiceHandle(true, vehicle, MakeVendorUuid(number)) : 0;
    }
    // In the order of the UUIDs, the highest first; a value without a configuration descriptor is
    // neither subscribed nor read.
    if (CMainFrame* mainFrame = AfxGetMainWnd()) {
        for (auto value = std::rbegin(kValues); value != std::rend(kValues); ++value) {
            const uint16_t handle = Handle(*value);
            const uint16_t configuration = m_configHandles[*value];
            if (handle == 0 || configuration == 0)
                continue;
            mainFrame->WriteClientConfiguration(m_cid, handle, configuration, kNotifications);
            mainFrame->QueueRead(m_cid, handle);
        }
    }
    BleServiceEntry pairing;
    m_valueHandles[Vendor::PairingRemoval] =
        record.FindService(MakeVendorUuid(Vendor::PairingDeletionService), pairing)
            ? BleDeviceRecord::GetServiceHandle(false, pairing, MakeVendorUuid(Vendor::PairingRemoval))
            : 0;
    m_removePairingEnabled = Handle(Vendor::PairingRemoval) != 0;
    update();
}

void CVehicleInfoCtrl::OnValueReceived(uint16_t handle, std::span<const uint8_t> value) {
    const auto matched = std::find_if(std::begin(kValues), std::end(kValues),
                                      [this, handle](uint16_t number) { return Handle(number) == handle; });
    if (handle == 0 || matched == std::end(kValues)) {
        Log(QStringLiteral("Data received on unknown handle: %1").arg(handle));
        return;
    }
    if (!ShowValue(*matched, value))
        Log(QStringLiteral("Vehicle value of %1 bytes on handle %2 has the wrong length; ignored.")
                .arg(value.size())
                .arg(handle));
}

bool CVehicleInfoCtrl::ShowValue(uint16_t number, std::span<const uint8_t> value) {
    switch (number) {
    case Vendor::SpeedLimit:
        return ShowText(IDC_VI_SPEED_LIMIT, SpeedLimitText(value));
    case Vendor::TyrePressures: {
        const auto texts = TyrePressureTexts(value);
        for (size_t i = 0; texts && i < texts->size(); ++i)
            SetText(IDC_VI_TYRE_FIRST + static_cast<UINT>(i), (*texts)[i]);
        return texts.has_value();
    }
    case Vendor::Odometer:
        return ShowText(IDC_VI_ODOMETER, OdometerText(value));
    case Vendor::Registration:
        return ShowText(IDC_VI_REGISTRATION, RegistrationText(value));
    case Vendor::LockStatus:
        return ShowStatus(IDC_VI_LOCK, IDC_VI_LOCK_PICTURE, StatusValue(value),
                          {QStringLiteral("Unlocked"), m_unlocked}, {QStringLiteral("Locked"), m_locked});
    case Vendor::Latitude:
        return ShowCoordinate(IDC_VI_LATITUDE, CoordinateValue(value), m_latitude);
    case Vendor::Longitude:
        return ShowCoordinate(IDC_VI_LONGITUDE, CoordinateValue(value), m_longitude);
    case Vendor::FuelAndRange: {
        const auto texts = FuelAndRangeTexts(value);
        if (texts) {
            SetText(IDC_VI_FUEL, texts->fuel);
            SetText(IDC_VI_RANGE, texts->range);
        }
        return texts.has_value();
    }
    case Vendor::RadioStations:
        return ShowStations(StationIds(value));
    case Vendor::TrunkStatus:
        return ShowStatus(IDC_VI_TRUNK, IDC_VI_TRUNK_PICTURE, StatusValue(value),
                          {QStringLiteral("Closed"), m_trunkClosed}, {QStringLiteral("Open"), m_trunkOpen});
    default:
        return false;
    }
}

bool CVehicleInfoCtrl::ShowText(UINT id, const std::optional<QString>& text) {
    if (text)
        SetText(id, *text);
    return text.has_value();
}

bool CVehicleInfoCtrl::ShowCoordinate(UINT id, std::optional<int32_t> coordinate, int32_t& stored) {
    if (!coordinate)
        return false;
    stored = *coordinate;
    SetText(id, CoordinateText(*coordinate));
    return true;
}

bool CVehicleInfoCtrl::ShowStatus(UINT textId, UINT pictureId, std::optional<uint8_t> status,
                                  const State& zero, const State& one) {
    if (!status)
        return false;
    if (*status > 1) {
        SetText(textId, QStringLiteral("Not in sync")); // the picture stays as it was
        return true;
    }
    const State& state = *status == 0 ? zero : one;
    SetText(textId, state.text);
    if (auto* picture = qobject_cast<QLabel*>(platform::GetDlgItem(this, pictureId)))
        picture->setPixmap(state.picture);
    return true;
}

bool CVehicleInfoCtrl::ShowStations(const std::optional<std::array<uint16_t, 5>>& ids) {
    if (!ids)
        return false;
    if (!m_stations)
        return true;
    m_stations->clear();
    for (const uint16_t id : *ids)
        m_stations->addTopLevelItem(new QTreeWidgetItem(QStringList{StationName(id)}));
    QTreeWidgetItem* first = m_stations->topLevelItem(0);
    m_stations->setCurrentItem(first);
    first->setSelected(true);
    return true;
}

void CVehicleInfoCtrl::OnMapLinkClick() {
    if (m_latitude == kNotReported || m_longitude == kNotReported) {
        platform::AfxMessageBox(QStringLiteral("Location not in sync with the vehicle"));
        return;
    }
    const QString url = LocationUrl(m_latitude, m_longitude);
    if (!platform::openLink(url))
        Log(QStringLiteral("Unable to open the location %1").arg(url));
}

void CVehicleInfoCtrl::OnRemovePairing() {
    const uint16_t deletePairing = Handle(Vendor::PairingRemoval);
    CMainFrame* mainFrame = AfxGetMainWnd();
    if (deletePairing == 0 || !mainFrame)
        return;
    mainFrame->ShowProgress(platform::LoadString(IDS_VEHICLE_INFORMATION),
                            platform::LoadString(IDS_REMOVING_PAIRING), true, true);
    const uint8_t request[] = {kDeletePairing};
    mainFrame->WriteCharacteristic(m_cid, deletePairing, sizeof request, request,
                                   GattWriteRequest::kWriteRequest);
}

bool CVehicleInfoCtrl::OnWriteResponse(uint16_t handle, uint16_t status) {
    if (handle == 0 || handle != Handle(Vendor::PairingRemoval))
        return false;
    if (status != 0)
        Log(QStringLiteral("Writing to 'Delete Pairing' characteristic failed"));
    if (CMainFrame* mainFrame = AfxGetMainWnd())
        mainFrame->HideProgress();
    return true;
}

void CVehicleInfoCtrl::SetText(UINT id, const QString& text) {
    m_wndView.ShowText(qobject_cast<QLabel*>(platform::GetDlgItem(this, id)), text);
}

uint16_t CVehicleInfoCtrl::Handle(uint16_t vendorNumber) const {
    const auto found = m_valueHandles.find(vendorNumber);
    return found == m_valueHandles.end() ? 0 : found->second;
}
