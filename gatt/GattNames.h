// GATT display names: the names and descriptions of services and characteristics.
#pragma once

#include <veyrahost.h>

#include <QString>

// A display name with its one-paragraph description (empty when there is none).
struct GattName {
    QString name;
    QString description;
};

// A 16-bit UUID by the service table, else "Service 0x%04X" without description; a 128-bit UUID by
// the vendor service table, else "Unknown Service" with the UUID's 128-bit text as description.
GattName ServiceName(const BleUuid& uuid);

// A 16-bit UUID by the characteristic table, else "Characteristic 0x%04X" without description;
// a 128-bit UUID by the vendor characteristic table, else "Unknown characteristic" with the UUID's
// 128-bit text as description.
GattName CharacteristicName(const BleUuid& uuid);

// "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX" over the record's 16 value bytes from byte 15 down to
// byte 0, whatever the record's kind.
QString Uuid128ToString(const BleUuid& uuid);
