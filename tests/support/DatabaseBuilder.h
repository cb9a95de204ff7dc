// Builds the host library's database-discovery records (services, characteristics, descriptors) for tests.
#pragma once

#include "veyrahost.h"

#include <cstdint>
#include <deque>
#include <vector>

class DatabaseBuilder {
public:
    // Starts a service (a 16-bit one when given its number).
    DatabaseBuilder& Service(const BleUuid& uuid, uint16_t start, uint16_t end);
    DatabaseBuilder& Service(uint16_t uuid, uint16_t start, uint16_t end);
    // Adds a characteristic to the current service; configHandle 0 adds no client configuration.
    DatabaseBuilder& Characteristic(const BleUuid& uuid, uint16_t valueHandle, uint8_t properties,
                                    uint16_t configHandle = 0);
    DatabaseBuilder& Characteristic(uint16_t uuid, uint16_t valueHandle, uint8_t properties,
                                    uint16_t configHandle = 0);
    // Adds a descriptor to the current characteristic.
    DatabaseBuilder& Descriptor(const BleUuid& uuid, uint16_t handle);

    // The event record; valid while the builder lives and is not changed.
    const BleHostDatabaseEvent& Event(uint32_t cid);

private:
    struct Char {
        BleHostCharacteristicRecord record{};
        std::vector<BleHostDescriptorRecord> descriptors;
    };
    struct Svc {
        BleHostServiceRecord record{};
        std::deque<Char> characteristics;
        std::vector<BleHostCharacteristicRecord> flat;
    };
    std::deque<Svc> m_services;
    std::vector<BleHostServiceRecord> m_flat;
    BleHostDatabaseEvent m_event{};
};
