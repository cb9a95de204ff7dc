// Simulated radio: a peer's GATT database laid out as an ATT attribute table.
#include "PeerAttribute.h"

#include "../core/AttProtocol.h"

#include <algorithm>

namespace orv::sim {
namespace {

namespace att = orv::host::att;

constexpr uint8_t kNotifyOrIndicate = 0x30;

bool isConfigurationUuid(const BleUuid& uuid) {
    return att::sameUuid(uuid, att::uuid16(att::kClientConfiguration));
}

void addCharacteristic(const GattCharacteristicSpec& spec, PeerSecurity peerSecurity,
                       std::vector<PeerAttribute>& table) {
    const PeerSecurity security = spec.security.value_or(peerSecurity);
    PeerAttribute declaration;
    declaration.handle = static_cast<uint16_t>(table.size() + 1);
    declaration.type = att::uuid16(att::kCharacteristic);
    declaration.value.push_back(spec.properties);
    att::put16(declaration.value, static_cast<uint16_t>(declaration.handle + 1));
    att::putUuid(declaration.value, spec.uuid);
    table.push_back(declaration);

    PeerAttribute value;
    value.handle = static_cast<uint16_t>(table.size() + 1);
    value.type = spec.uuid;
    value.value = spec.value;
    value.isValue = true;
    value.properties = spec.properties;
    value.readError = spec.readError;
    value.writeError = spec.writeError;
    value.silent = spec.silent;
    value.security = security;
    table.push_back(value);

    std::vector<GattDescriptorSpec> descriptors = spec.descriptors;
    const bool listed = std::any_of(descriptors.begin(), descriptors.end(),
                                    [](const GattDescriptorSpec& d) { return isConfigurationUuid(d.uuid); });
    if ((spec.properties & kNotifyOrIndicate) != 0 && !listed) {
        descriptors.insert(descriptors.begin(), {att::uuid16(att::kClientConfiguration), {0, 0}});
    }
    for (const GattDescriptorSpec& descriptorSpec : descriptors) {
        PeerAttribute descriptor;
        descriptor.handle = static_cast<uint16_t>(table.size() + 1);
        descriptor.type = descriptorSpec.uuid;
        descriptor.value = descriptorSpec.value;
        descriptor.isConfiguration = isConfigurationUuid(descriptorSpec.uuid);
        descriptor.security = security;
        if (descriptor.isConfiguration && descriptor.value.size() != 2) {
            descriptor.value = {0, 0};
        }
        table.push_back(descriptor);
    }
}

} // namespace

std::vector<PeerAttribute> buildAttributeTable(const std::vector<GattServiceSpec>& services,
                                               PeerSecurity peerSecurity) {
    std::vector<PeerAttribute> table;
    for (const GattServiceSpec& service : services) {
        const size_t declarationIndex = table.size();
        PeerAttribute declaration;
        declaration.handle = static_cast<uint16_t>(table.size() + 1);
        declaration.type = att::uuid16(att::kPrimaryService);
        att::putUuid(declaration.value, service.uuid);
        table.push_back(declaration);
        for (const GattCharacteristicSpec& characteristic : service.characteristics) {
            addCharacteristic(characteristic, peerSecurity, table);
        }
        table[declarationIndex].groupEnd = static_cast<uint16_t>(table.size());
    }
    return table;
}

} // namespace orv::sim
