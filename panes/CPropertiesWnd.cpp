#include "panes/CPropertiesWnd.h"

#include "gatt/BleDeviceRecord.h"
#include "gatt/GattNames.h"
#include "platform/DialogItems.h"
#include "platform/StringTable.h"
#include "platform/ui/Property.h"
#include "platform/ui/PropertyGrid.h"
#include "res/resource.h"

#include <QApplication>
#include <QEvent>
#include <QFont>

using platform::LoadString;
using platform::Property;

namespace {

const QString kUnknown = QStringLiteral("(Unknown)");
constexpr uint16_t kNoLimit = 0xFFFF;

Property* MakeGroup(const QString& name, const QString& description, Property::Kind kind = Property::Group) {
    auto* group = new Property(kind, name);
    group->setDescription(description);
    return group;
}

// A row whose name and description come from the string table.
Property* MakeRow(UINT nameId, const QString& value, int data = 0) {
    return new Property(LoadString(nameId), value, LoadString(nameId + 1), data);
}

void Show(Property* row, const QString& value, bool enabled) {
    row->setValue(value);
    row->enable(enabled);
}

QString Hex4(uint16_t value) {
    return QString::asprintf("%04X", value);
}

// "0006 (7.50ms)": the interval in units of 1.25 ms, or "None" for no limit.
QString IntervalText(uint16_t interval) {
    if (interval == kNoLimit)
        return QStringLiteral("None");
    return QString::asprintf("%04X (%.02fms)", interval, interval * 1.25);
}

Property* UuidRow(const BleUuid& uuid) {
    const QString value = uuid.kind == BLE_UUID_KIND_16 ? Hex4(uuid.uuid16) : Uuid128ToString(uuid);
    return new Property(QStringLiteral("UUID"), value,
                        QStringLiteral("Bluetooth Smart 128-bit UUID\n") + Uuid128ToString(uuid));
}

// A start or end handle; 0 is not a handle.
Property* ServiceHandleRow(const QString& name, uint16_t handle, const QString& description) {
    auto* row = new Property(name, handle == 0 ? kUnknown : Hex4(handle), description);
    row->enable(handle != 0);
    return row;
}

Property* CharacteristicGroup(const BleCharacteristicEntry& characteristic) {
    const GattName name = CharacteristicName(characteristic.uuid);
    Property* group = MakeGroup(name.name, name.description);
    group->addSubItem(UuidRow(characteristic.uuid));
    group->addSubItem(new Property(QStringLiteral("Value"), Hex4(characteristic.valueHandle),
                                   QStringLiteral("Handle of the characteristic value")));
    group->addSubItem(new Property(QStringLiteral("Declaration"), Hex4(characteristic.declarationHandle),
                                   QStringLiteral("Handle of the characteristic declaration")));
    if (characteristic.configHandle != 0)
        group->addSubItem(new Property(QStringLiteral("Client config"), Hex4(characteristic.configHandle),
                                       QStringLiteral("Handle of the characteristic client configuration")));
    group->addSubItem(new Property(QStringLiteral("Permissions"),
                                   QString::asprintf("%02X", characteristic.properties),
                                   QStringLiteral("Characteristic permissions")));
    return group;
}

} // namespace

CPropertiesWnd::CPropertiesWnd(QWidget* parent)
    : QDockWidget(LoadString(IDS_PROPERTIES_PANE), parent), m_wndPropList(new platform::PropertyGrid(this)) {
    setObjectName(QStringLiteral("CPropertiesWnd"));
    setProperty(platform::kControlIdProperty, IDC_PROPERTIES_PANE);
    m_wndPropList->setProperty(platform::kControlIdProperty, IDC_PROPERTY_GRID);
    setWidget(m_wndPropList);
    setFocusProxy(m_wndPropList);
    InitPropList();
    connect(m_wndPropList, &platform::PropertyGrid::propertyChanged, this, [this](Property* property) {
        if (m_propertyChanged)
            m_propertyChanged(property);
    });
}

CPropertiesWnd::~CPropertiesWnd() = default;

void CPropertiesWnd::InitPropList() {
    m_wndPropList->setGroupTextColor(QColor(49, 79, 79));
    SetPropListFont();

    Property* general = MakeGroup(LoadString(IDS_PROP_GENERAL), LoadString(IDS_PROP_GENERAL_DESC));
    m_pAddress = MakeRow(IDS_PROP_ADDRESS, QString());
    m_pName = MakeRow(IDS_PROP_NAME, QString(), kNamePropertyData);
    m_pRssi = MakeRow(IDS_PROP_RSSI, QString());
    m_pTxLevel = MakeRow(IDS_PROP_TX_LEVEL, kUnknown);
    m_pTxLevel->enable(false);
    m_pFlags = MakeGroup(LoadString(IDS_PROP_FLAGS), LoadString(IDS_PROP_FLAGS_DESC), Property::ValueList);
    m_pFlags->enable(false);
    for (size_t bit = 0; bit < m_flagRows.size(); ++bit) {
        m_flagRows[bit] = MakeRow(IDS_PROP_FLAG_LIMITED + 2 * static_cast<UINT>(bit), kUnknown);
        m_flagRows[bit]->enable(false);
        m_pFlags->addSubItem(m_flagRows[bit]);
    }
    m_pInterval =
        MakeGroup(LoadString(IDS_PROP_INTERVAL), LoadString(IDS_PROP_INTERVAL_DESC), Property::ValueList);
    m_pInterval->enable(false);
    m_pIntervalMin = MakeRow(IDS_PROP_INTERVAL_MIN, kUnknown);
    m_pIntervalMin->enable(false);
    m_pIntervalMax = MakeRow(IDS_PROP_INTERVAL_MAX, kUnknown);
    m_pIntervalMax->enable(false);
    m_pInterval->addSubItem(m_pIntervalMin);
    m_pInterval->addSubItem(m_pIntervalMax);

    for (Property* row : {m_pAddress, m_pName, m_pRssi, m_pTxLevel, m_pFlags, m_pInterval})
        general->addSubItem(row);
    m_wndPropList->addProperty(general);
}

// The application's regular font at the size, weight and slant of the menu font.
void CPropertiesWnd::SetPropListFont() {
    QFont font = QApplication::font();
    const QFont menuFont = QApplication::font("QMenu");
    if (menuFont.pointSizeF() > 0)
        font.setPointSizeF(menuFont.pointSizeF());
    else
        font.setPixelSize(menuFont.pixelSize());
    font.setWeight(menuFont.weight());
    font.setItalic(menuFont.italic());
    m_wndPropList->setGridFont(font);
}

void CPropertiesWnd::changeEvent(QEvent* event) {
    QDockWidget::changeEvent(event);
    if (event->type() == QEvent::ApplicationFontChange)
        SetPropListFont();
}

void CPropertiesWnd::UpdateDevice(const BleDeviceRecord* record) {
    if (!record) {
        ClearDevice();
        return;
    }
    Show(m_pAddress, record->GetAddressString(), true);
    ShowName(record->GetName());
    ShowRssi(record->rssi);
    ShowFlags(record->adFlags);
    ShowInterval(record->slaveIntervalMin, record->slaveIntervalMax);
    ShowTxPower(record->txPower);
    RemoveServices();
    for (const auto& [uuid, service] : record->services)
        AddServiceProperty(service);
}

// An empty name leaves the row disabled: there is nothing to show or rename from.
void CPropertiesWnd::ShowName(const QString& name) {
    Show(m_pName, name, !name.isEmpty());
}

void CPropertiesWnd::ShowRssi(int rssi) {
    if (rssi == BleDeviceRecord::kNotReported)
        Show(m_pRssi, QString(), false);
    else
        Show(m_pRssi, QString::asprintf("%ddBm", rssi), true);
}

void CPropertiesWnd::ShowFlags(uint8_t flags) {
    const bool known = flags != 0;
    for (size_t bit = 0; bit < m_flagRows.size(); ++bit) {
        const QString value = !known                  ? kUnknown
                              : (flags & (1u << bit)) ? QStringLiteral("Yes")
                                                      : QStringLiteral("No");
        Show(m_flagRows[bit], value, known);
    }
    m_pFlags->enable(known);
}

void CPropertiesWnd::ShowInterval(uint16_t minimum, uint16_t maximum) {
    Show(m_pIntervalMin, minimum == 0 ? kUnknown : IntervalText(minimum), minimum != 0);
    Show(m_pIntervalMax, maximum == 0 ? kUnknown : IntervalText(maximum), maximum != 0);
    m_pInterval->enable(maximum != 0);
}

void CPropertiesWnd::ShowTxPower(int txPower) {
    if (txPower == BleDeviceRecord::kNotReported)
        Show(m_pTxLevel, kUnknown, false);
    else
        Show(m_pTxLevel, QString::asprintf("%s%ddBm", txPower >= 1 ? "+" : "", txPower), true);
}

void CPropertiesWnd::ClearDevice() {
    for (Property* row : {m_pAddress, m_pName, m_pRssi})
        Show(row, QString(), false);
    ShowFlags(0);
    ShowInterval(0, 0);
    ShowTxPower(BleDeviceRecord::kNotReported);
    if (m_pDeviceServices)
        m_wndPropList->setCurSel(nullptr);
    RemoveServices();
}

void CPropertiesWnd::RemoveServices() {
    if (!m_pDeviceServices)
        return;
    m_wndPropList->deleteProperty(m_pDeviceServices);
    m_pDeviceServices = nullptr;
}

void CPropertiesWnd::SetPropertyValue(const QString& name) {
    m_pName->setValue(name);
}

QString CPropertiesWnd::GetPropertyValue() const {
    return m_pName->value();
}

void CPropertiesWnd::EnableNameProperty(bool enable) {
    m_pName->enable(enable);
}

void CPropertiesWnd::AddServiceProperty(const BleServiceEntry& service) {
    if (!m_pDeviceServices) {
        m_pDeviceServices =
            MakeGroup(QStringLiteral("Device services"),
                      QStringLiteral("The list of services that are implemented by Bluetooth Smart device"));
        m_wndPropList->addProperty(m_pDeviceServices);
    }
    const GattName name = ServiceName(service.uuid);
    Property* group = MakeGroup(name.name, name.description);
    group->addSubItem(UuidRow(service.uuid));
    group->addSubItem(ServiceHandleRow(QStringLiteral("Start handle"), service.startHandle,
                                       QStringLiteral("First handle of the profile characteristics")));
    group->addSubItem(ServiceHandleRow(QStringLiteral("End handle"), service.endHandle,
                                       QStringLiteral("Last handle of the service characteristics")));
    if (!service.characteristics.empty()) {
        Property* characteristics =
            MakeGroup(QStringLiteral("Characteristics"), QStringLiteral("Service characteristics"));
        for (const auto& [uuid, characteristic] : service.characteristics)
            characteristics->addSubItem(CharacteristicGroup(characteristic));
        characteristics->expand(false);
        group->addSubItem(characteristics);
    }
    m_pDeviceServices->addSubItem(group);
}
