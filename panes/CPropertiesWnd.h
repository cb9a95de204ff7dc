// The properties pane: the selected device's general properties and its discovered services.
#pragma once

#include <QDockWidget>
#include <QString>
#include <array>
#include <functional>

class BleDeviceRecord;
struct BleServiceEntry;
namespace platform {
class Property;
class PropertyGrid;
} // namespace platform

// A read-only property grid with the "General" group (address, name, RSSI, TX level, advertising
// flags, advertised connection-interval range) and, while the shown device has a discovered
// database, the "Device services" group. The Name row is the only row with item data 1; the main
// window reads and writes it while renaming. The grid's property-changed notification is passed on
// to the owner through the handler set with SetPropertyChangedHandler (called synchronously).
class CPropertiesWnd : public QDockWidget {
    Q_OBJECT
public:
    static constexpr int kNamePropertyData = 1;

    explicit CPropertiesWnd(QWidget* parent = nullptr);
    ~CPropertiesWnd() override;

    void SetPropertyChangedHandler(std::function<void(platform::Property*)> handler) {
        m_propertyChanged = std::move(handler);
    }

    // Shows record; the record is only read during the call. A null record clears the pane.
    void UpdateDevice(const BleDeviceRecord* record);
    // No device selected: every general row empty or "(Unknown)" and disabled, no services group.
    void ClearDevice();

    // The Name row's value.
    void SetPropertyValue(const QString& name);
    QString GetPropertyValue() const;
    void EnableNameProperty(bool enable);

    // Adds one service group (with its characteristics) at the end of the "Device services" group,
    // which is created when there is none.
    void AddServiceProperty(const BleServiceEntry& service);

    platform::PropertyGrid* PropertyList() const { return m_wndPropList; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void InitPropList();
    void SetPropListFont();
    void ShowName(const QString& name);
    void ShowRssi(int rssi);
    void ShowFlags(uint8_t flags);
    void ShowInterval(uint16_t minimum, uint16_t maximum);
    void ShowTxPower(int txPower);
    void RemoveServices();

    platform::PropertyGrid* m_wndPropList;
    platform::Property* m_pAddress = nullptr;
    platform::Property* m_pName = nullptr;
    platform::Property* m_pRssi = nullptr;
    platform::Property* m_pFlags = nullptr;
    std::array<platform::Property*, 5> m_flagRows{}; // bit order, bit 0 first
    platform::Property* m_pTxLevel = nullptr;
    platform::Property* m_pInterval = nullptr;
    platform::Property* m_pIntervalMin = nullptr;
    platform::Property* m_pIntervalMax = nullptr;
    platform::Property* m_pDeviceServices = nullptr; // null while there is none
    std::function<void(platform::Property*)> m_propertyChanged;
};
