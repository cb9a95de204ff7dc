// Simulated radio: a peer's GATT database laid out as an ATT attribute table.
#pragma once

#include "World.h"

#include <cstdint>
#include <vector>

namespace orv::sim {

struct PeerAttribute {
    uint16_t handle = 0;
    BleUuid type{};
    std::vector<uint8_t> value;
    uint16_t groupEnd = 0; // service declarations: the service's last handle
    bool isValue = false;  // a characteristic value: properties and faults apply
    bool isConfiguration = false;
    uint8_t properties = 0;
    uint8_t readError = 0;
    uint8_t writeError = 0;
    bool silent = false;
    PeerSecurity security = PeerSecurity::None; // values and their descriptors
};

// Handles from 1 in declaration order: service, then per characteristic its declaration, value and
// descriptors. A characteristic that notifies or indicates gets a configuration descriptor unless the
// world lists one. A characteristic without its own security need takes peerSecurity.
std::vector<PeerAttribute> buildAttributeTable(const std::vector<GattServiceDescription>& services,
                                               PeerSecurity peerSecurity = PeerSecurity::None);

} // namespace orv::sim
