// Simulated radio: a peer's GATT database laid out as an ATT attribute table.
#include "PeerAttribute.h"

#include "../core/AttProtocol.h"

#include <veyrauuids.h>

#include <algorithm>

namespace orv::sim {
namespace {

namespace att = orv::host::att;

constexpr uint8_t kNotifyOrIndicate = kPropertyNotify | kPropertyIndicate;

bool isConfigurationUuid(const BleUuid& uuid) {
    return att::sameUuid(uuid, MakeUuid16(DescriptorUuid::ClientCharacteristicConfiguration));
}

void addCharacteristic(const GattCharacteristicDescription& characteristic, PeerSecurity peerSecurity,
                       std::vector<PeerAttribute>& table) {
    const PeerSecurity security = characteristic.security.value_or(peerSecurity);
    PeerAttribute declaration;
    declaration.handle = static_cast<uint16_t>(table.size() + 1);
    declaration.type = MakeUuid16(att::kCharacteristic);
    declaration.value.push_back(characteristic.properties);
    att::put16(declaration.value, static_cast<uint16_t>(declaration.handle + 1));
    att::putUuid(declaration.value, characteristic.uuid);
    table.push_back(declaration);

    PeerAttribute value;
    value.handle = static_cast<uint16_t>(table.size() + 1);
    value.type = characteristic.uuid;
    value.value = characteristic.value;
    value.isValue = true;
    value.properties = characteristic.properties;
    value.readError = characteristic.readError;
    value.writeError = characteristic.writeError;
    value.silent = characteristic.silent;
    value.security = security;
    table.push_back(value);

    std::vector<GattDescriptorDescription> descriptors = characteristic.descriptors;
    const bool listed =
        std::any_of(descriptors.begin(), descriptors.end(),
                    [](const GattDescriptorDescription& d) { return isConfigurationUuid(d.uuid); });
    if ((characteristic.properties & kNotifyOrIndicate) != 0 && !listed) {
        descriptors.insert(descriptors.begin(),
                           {MakeUuid16(DescriptorUuid::ClientCharacteristicConfiguration), {0, 0}});
    }
    for (const GattDescriptorDescription& entry : descriptors) {
        PeerAttribute descriptor;
        descriptor.handle = static_cast<uint16_t>(table.size() + 1);
        descriptor.type = entry.uuid;
        descriptor.value = entry.value;
        descriptor.isConfiguration = isConfigurationUuid(entry.uuid);
        descriptor.security = security;
        if (descriptor.isConfiguration && descriptor.value.size() != 2) {
            descriptor.value = {0, 0};
        }
        table.push_back(descriptor);
    }
}

} // namespace

std::vector<PeerAttribute> buildAttributeTable(const std::vector<GattServiceDescription>& services,
                                               PeerSecurity peerSecurity) {
    std::vector<PeerAttribute> table;
    for (const GattServiceDescription& service : services) {
        const size_t declarationIndex = table.size();
        PeerAttribute declaration;
        declaration.handle = static_cast<uint16_t>(table.size() + 1);
        declaration.type = MakeUuid16(att::kPrimaryService);
        att::putUuid(declaration.value, service.uuid);
        table.push_back(declaration);
        for (const GattCharacteristicDescription& characteristic : service.characteristics) {
            addCharacteristic(characteristic, peerSecurity, table);
        }
        table[declarationIndex].groupEnd = static_cast<uint16_t>(table.size());
    }
    return table;
}

} // namespace orv::sim
