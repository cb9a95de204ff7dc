// GATT client database model: what the application knows about one peer.
#pragma once

#include "gatt/BleConnectionParameters.h"
#include "gatt/BleServiceEntry.h"

#include <veyrahost.h>

#include <QString>

#include <cstdint>

// One known peer. A plain value class: the fields are public and set by the code that learns
// them (advertising reports, connection, discovery). Records are owned by the main window's device
// list; panes and profile windows hold plain pointers to them.
class BleDeviceRecord {
public:
    // Sentinel of rssi and txPower: nothing reported yet.
    static constexpr int32_t kNotReported = 65535;

    // Role bits; they are only ever added for the life of the record.
    static constexpr uint32_t kRoleSecurityTag = 0x1;
    static constexpr uint32_t kRolePhoneAlerts = 0x100;
    static constexpr uint32_t kRoleTime = 0x2000;
    static constexpr uint32_t kRoleNotificationCenter = 0x10000;

    BleDeviceRecord(const BleTypedAddress& address, int rssi, const QString& name, uint8_t adFlags,
                    bool paired);

    // The name, or the address text when the name is empty.
    QString GetDisplayName() const;
    QString GetName() const { return name; }
    void SetName(const QString& newName) { name = newName; }
    QString GetAddressString() const;

    // Replaces the service map with the host's discovery records. A null array gives an empty
    // map whatever count says; a later service with the UUID of an earlier one is dropped.
    void BuildServiceMap(int count, const BleHostServiceRecord* records);

    // Value handle (configuration false) or client-configuration handle (true) of the first
    // characteristic with that UUID in that service; 0 when either is absent.
    uint16_t GetHandle(const BleUuid& service, const BleUuid& characteristic, bool configuration) const;
    // The same within one service entry.
    static uint16_t GetServiceHandle(bool configuration, const BleServiceEntry& service,
                                     const BleUuid& characteristic);
    static uint16_t GetHandle16(const BleServiceEntry& service, uint16_t characteristic, bool configuration);

    // Copies the whole service entry into out; false and out untouched when the service is absent.
    bool FindService(const BleUuid& service, BleServiceEntry& out) const;
    // properties := 0, then the properties of the first characteristic with that UUID when it is
    // there. True when the service exists, whether or not the characteristic does.
    bool GetCharacteristicProperties(const BleUuid& service, const BleUuid& characteristic,
                                     uint16_t& properties) const;

    BleTypedAddress address{};
    int32_t rssi = kNotReported;
    QString name;
    // Advertising Flags: 0x01 LE limited, 0x02 LE general discoverable, 0x04 BR/EDR not supported,
    // 0x08 simultaneous LE and BR/EDR (controller), 0x10 the same (host).
    uint8_t adFlags = 0;
    uint16_t appearance = 0; // 0: none reported
    int32_t txPower = kNotReported;
    // Advertised slave connection interval range, units of 1.25 ms; 0 none reported, 0xFFFF no limit.
    uint16_t slaveIntervalMin = 0;
    uint16_t slaveIntervalMax = 0;
    BleConnectionParameters connectionParameters;
    // The device pane's row for this device; owned by the pane, opaque here.
    void* treeItem = nullptr;
    uint32_t cid = 0; // valid while connected
    BleServiceMap services;
    bool connected = false;
    bool paired = false;
    uint32_t roles = 0;
    // The peer's Bond Management Feature allows bond removal through its control point.
    bool bondDeletionSupported = false;
};
