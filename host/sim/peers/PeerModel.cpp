// Simulated radio: the behaviour model of a virtual peer, chosen by the peer's kind.
#include "PeerModel.h"

#include "../Simulator.h"
#include "BatteryPack.h"
#include "BloodPressureCuff.h"
#include "CyclingSensor.h"
#include "EarThermometer.h"
#include "EnvironmentStation.h"
#include "GlucoseMeter.h"
#include "HeartRateSensor.h"
#include "HidPeer.h"
#include "HouseholdScale.h"
#include "KeyTag.h"
#include "LegacyRemote.h"
#include "RunningSensor.h"
#include "SmartPhone.h"
#include "TyrePressureSensor.h"
#include "VehicleKeyFob.h"

#include <veyrauuids.h>

namespace orv::sim {

GattCharacteristicDescription characteristic(const BleUuid& uuid, uint8_t properties,
                                             std::vector<uint8_t> value,
                                             std::vector<GattDescriptorDescription> descriptors) {
    GattCharacteristicDescription description;
    description.uuid = uuid;
    description.properties = properties;
    description.value = std::move(value);
    description.descriptors = std::move(descriptors);
    return description;
}

GattCharacteristicDescription characteristic(uint16_t uuid, uint8_t properties, std::vector<uint8_t> value) {
    return characteristic(MakeUuid16(uuid), properties, std::move(value));
}

GattServiceDescription PeerModel::genericAccess(const PeerDescription& peer) {
    GattCharacteristicDescription name;
    name.uuid = MakeUuid16(CharacteristicUuid::DeviceName);
    name.properties = kPropertyRead | kPropertyWrite;
    const std::string text = peer.name.value_or("");
    name.value.assign(text.begin(), text.end());
    GattServiceDescription service;
    service.uuid = MakeUuid16(ServiceUuid::GenericAccess);
    service.characteristics = {name};
    return service;
}

GattServiceDescription PeerModel::deviceInformation(const std::string& manufacturer, const std::string& model,
                                                    std::vector<uint8_t> systemId) {
    GattServiceDescription service;
    service.uuid = MakeUuid16(ServiceUuid::DeviceInformation);
    service.characteristics = {
        characteristic(CharacteristicUuid::ManufacturerName, kPropertyRead,
                       {manufacturer.begin(), manufacturer.end()}),
        characteristic(CharacteristicUuid::ModelNumber, kPropertyRead, {model.begin(), model.end()}),
        characteristic(CharacteristicUuid::SystemId, kPropertyRead, std::move(systemId))};
    return service;
}

BleUuid PeerModel::vendorUuid(uint16_t number) {
    // Least significant byte first: d4 b7 10 2e 8c 5f 3a 8c e2 11 7e 4b, then XXXX, then 00 00.
    BleUuid uuid = {BLE_UUID_KIND_128,
                    0,
                    0,
                    {0xD4, 0xB7, 0x10, 0x2E, 0x8C, 0x5F, 0x3A, 0x8C, 0xE2, 0x11, 0x7E, 0x4B,
                     static_cast<uint8_t>(number & 0xFF), static_cast<uint8_t>(number >> 8), 0x00, 0x00}};
    return uuid;
}

std::unique_ptr<PeerModel> createPeerModel(Simulator& simulator, size_t peerIndex) {
    const std::string& kind = simulator.world().peers.at(peerIndex).kind;
    if (kind == "heartRate") {
        return std::make_unique<HeartRateSensor>(simulator, peerIndex);
    }
    if (kind == "weightScale" || kind == "bodyComposition") {
        return std::make_unique<HouseholdScale>(simulator, peerIndex, kind == "bodyComposition");
    }
    if (kind == "battery") {
        return std::make_unique<BatteryPack>(simulator, peerIndex);
    }
    if (kind == "running") {
        return std::make_unique<RunningSensor>(simulator, peerIndex);
    }
    if (kind == "cycling") {
        return std::make_unique<CyclingSensor>(simulator, peerIndex);
    }
    if (kind == "environment") {
        return std::make_unique<EnvironmentStation>(simulator, peerIndex);
    }
    if (kind == "phone") {
        return std::make_unique<SmartPhone>(simulator, peerIndex);
    }
    if (kind == "bloodPressure") {
        return std::make_unique<BloodPressureCuff>(simulator, peerIndex);
    }
    if (kind == "glucose") {
        return std::make_unique<GlucoseMeter>(simulator, peerIndex);
    }
    if (kind == "thermometer") {
        return std::make_unique<EarThermometer>(simulator, peerIndex);
    }
    if (kind == "tyrePressure") {
        return std::make_unique<TyrePressureSensor>(simulator, peerIndex);
    }
    if (kind == "vehicleInformation") {
        return std::make_unique<VehicleKeyFob>(simulator, peerIndex);
    }
    if (kind == "securityTag") {
        return std::make_unique<KeyTag>(simulator, peerIndex);
    }
    if (auto hid = HidPeer::describe(kind)) {
        return std::make_unique<HidPeer>(simulator, peerIndex, std::move(*hid));
    }
    if (kind == "remote") {
        return std::make_unique<LegacyRemote>(simulator, peerIndex);
    }
    return nullptr;
}

} // namespace orv::sim
