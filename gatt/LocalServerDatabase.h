// The PC's own GATT database: the seven services it serves and the handles the host library assigns.
#pragma once

#include <veyrahost.h>

#include <cstdint>
#include <vector>

// Notification-center attributes (0 until the database is registered).
struct AncsServerHandles {
    uint16_t controlPoint = 0;
    uint16_t notificationSource = 0;
    uint16_t notificationSourceConfig = 0;
    uint16_t dataSource = 0;
    uint16_t dataSourceConfig = 0;
};

// The handles of the local attributes the program answers for (0 until registered). The Supported
// New and Unread Alert Category values are served by the library alone and not kept.
struct LocalServerHandles {
    uint16_t immediateAlertLevel = 0;
    // Alert Notification and Phone Alert Status: the ten alert-service handles.
    uint16_t newAlert = 0;
    uint16_t newAlertConfig = 0;
    uint16_t unreadAlertStatus = 0;
    uint16_t unreadAlertStatusConfig = 0;
    uint16_t alertControlPoint = 0;
    uint16_t alertStatus = 0;
    uint16_t alertStatusConfig = 0;
    uint16_t ringerSetting = 0;
    uint16_t ringerSettingConfig = 0;
    uint16_t ringerControlPoint = 0;
    // Current Time, Next DST Change and Reference Time Update: the seven time-service handles.
    uint16_t currentTime = 0;
    uint16_t currentTimeConfig = 0;
    uint16_t localTimeInformation = 0;
    uint16_t referenceTimeInformation = 0;
    uint16_t timeWithDst = 0;
    uint16_t timeUpdateControlPoint = 0;
    uint16_t timeUpdateState = 0;
    AncsServerHandles ancs;
};

// The registration records of the database, in the host library's layout: Immediate Alert, Alert
// Notification, Phone Alert Status, Current Time, Next DST Change, Reference Time Update and the
// notification center, with their properties, permission and extra-flag words and initial values.
// The object owns every array and value buffer the records point to; it is handed to
// OrvBleServerAddDatabase, which fills in the handles, and then read with Handles().
class LocalServerDatabase {
public:
    LocalServerDatabase();
    LocalServerDatabase(const LocalServerDatabase&) = delete;
    LocalServerDatabase& operator=(const LocalServerDatabase&) = delete;

    uint16_t ServiceCount() const { return static_cast<uint16_t>(m_services.size()); }
    BleServerServiceRecord* Services() { return m_services.data(); }
    LocalServerHandles Handles() const;

private:
    std::vector<std::vector<BleServerCharacteristicRecord>> m_characteristics;
    std::vector<BleServerServiceRecord> m_services;
    std::vector<std::vector<uint8_t>> m_values;
};
