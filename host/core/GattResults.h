// GATT client: the outcomes of client procedures, as the host reports them.
#pragma once

#include "veyrahost.h"

#include <cstdint>
#include <vector>

namespace orv::host {

struct DiscoveredDescriptor {
    BleUuid uuid{};
    uint16_t handle = 0;
};

struct DiscoveredCharacteristic {
    BleUuid uuid{};
    uint16_t declarationHandle = 0;
    uint16_t valueHandle = 0;
    uint8_t properties = 0;
    std::vector<DiscoveredDescriptor> descriptors;
};

struct DiscoveredService {
    BleUuid uuid{};
    uint16_t startHandle = 0;
    uint16_t endHandle = 0;
    std::vector<DiscoveredCharacteristic> characteristics;
};

// Receives the outcome of each procedure; statuses are ATT error codes, 0 for success.
class GattResults {
public:
    virtual void databaseDiscovered(uint16_t status, const std::vector<DiscoveredService>& services) = 0;
    virtual void readDone(uint16_t status, uint16_t handle, const std::vector<uint8_t>& value) = 0;
    virtual void writeDone(uint16_t status, uint16_t handle) = 0;
    virtual void valueReceived(uint16_t handle, const std::vector<uint8_t>& value, bool indication) = 0;

protected:
    ~GattResults() = default;
};

} // namespace orv::host
