// GATT server: the local database, its allocation and the handles assigned at registration.
#pragma once

#include "ControllerPort.h"
#include "veyrahost.h"

#include <cstdint>
#include <vector>

namespace orv::host {

// Lives for the whole process, so that the database registered once survives a de-initialisation.
class ServerDatabase {
public:
    // A new allocation discards any earlier database.
    void requestAllocation(uint16_t attributeCount);
    void allocationAnswered(uint16_t status, uint16_t databaseId);

    // Checks the records, assigns handles (written back into the records) and copies the values.
    // Nothing is changed unless the result is ORV_BLE_OK.
    OrvBleResult add(uint16_t databaseId, uint16_t serviceCount, BleServerServiceRecord* services);

    bool added() const { return m_added; }
    const std::vector<LocalService>& services() const { return m_services; }

private:
    static OrvBleResult check(uint16_t serviceCount, const BleServerServiceRecord* services,
                              size_t* attributes);
    static LocalCharacteristic copyCharacteristic(BleServerCharacteristicRecord& record, uint16_t* handle);

    uint16_t m_attributeCount = 0;
    uint16_t m_databaseId = 0; // 0 until allocated
    bool m_added = false;
    std::vector<LocalService> m_services;
};

} // namespace orv::host
