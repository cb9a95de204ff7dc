// GATT client database model: one discovered service with its characteristics and descriptors.
#pragma once

#include "gatt/UuidFunctions.h"

#include <veyrahost.h>

#include <cstdint>
#include <map>
#include <vector>

// One descriptor, in the host library's layout.
struct BleDescriptorEntry {
    BleUuid uuid{};
    uint16_t handle = 0;
};
static_assert(sizeof(BleDescriptorEntry) == 22);

// One characteristic of a service.
struct BleCharacteristicEntry {
    BleUuid uuid{};
    uint16_t valueHandle = 0;
    // Handle of the Client Characteristic Configuration descriptor (0x2902); 0 when there is none.
    uint16_t configHandle = 0;
    uint16_t declarationHandle = 0;
    // Characteristic properties as the peer declares them (0x02 read, 0x04 write without
    // response, 0x08 write, 0x10 notify, 0x20 indicate).
    uint8_t properties = 0;
    // Every other descriptor, in the order delivered.
    std::vector<BleDescriptorEntry> descriptors;
};

// Characteristics of one service. Several may share a UUID (HID Reports); they follow each other
// in the order delivered and a find yields the first.
using BleCharacteristicMap = std::multimap<BleUuid, BleCharacteristicEntry, BleUuidOrder>;

// One primary service.
struct BleServiceEntry {
    uint16_t startHandle = 0;
    uint16_t endHandle = 0;
    BleUuid uuid{};
    BleCharacteristicMap characteristics;
};

// The discovered database of a peer: one service per UUID.
using BleServiceMap = std::map<BleUuid, BleServiceEntry, BleUuidOrder>;
