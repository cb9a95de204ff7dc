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

#include <string_view>
#include <utility>

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

namespace {

using ModelFactory = std::unique_ptr<PeerModel> (*)(Simulator&, size_t);

template <typename Model> std::unique_ptr<PeerModel> make(Simulator& simulator, size_t peerIndex) {
    return std::make_unique<Model>(simulator, peerIndex);
}

std::unique_ptr<PeerModel> makeScale(Simulator& simulator, size_t peerIndex) {
    return std::make_unique<HouseholdScale>(simulator, peerIndex, false);
}

std::unique_ptr<PeerModel> makeBodyComposition(Simulator& simulator, size_t peerIndex) {
    return std::make_unique<HouseholdScale>(simulator, peerIndex, true);
}

std::unique_ptr<PeerModel> makeHid(Simulator& simulator, size_t peerIndex) {
    auto kind = HidPeer::describe(simulator.world().peers.at(peerIndex).kind);
    return std::make_unique<HidPeer>(simulator, peerIndex, std::move(*kind));
}

// Every kind with a behaviour, in the order docs/worlds.md describes them.
constexpr std::pair<std::string_view, ModelFactory> kModels[] = {
    {"heartRate", make<HeartRateSensor>},
    {"battery", make<BatteryPack>},
    {"weightScale", makeScale},
    {"bodyComposition", makeBodyComposition},
    {"cycling", make<CyclingSensor>},
    {"running", make<RunningSensor>},
    {"environment", make<EnvironmentStation>},
    {"phone", make<SmartPhone>},
    {"securityTag", make<KeyTag>},
    {"bloodPressure", make<BloodPressureCuff>},
    {"glucose", make<GlucoseMeter>},
    {"thermometer", make<EarThermometer>},
    {"tyrePressure", make<TyrePressureSensor>},
    {"vehicleInformation", make<VehicleKeyFob>},
    {"keyboard", makeHid},
    {"mouse", makeHid},
    {"steeringWheel", makeHid},
    {"remote", make<LegacyRemote>},
};

} // namespace

std::vector<std::string_view> peerKinds() {
    std::vector<std::string_view> kinds;
    for (const auto& [kind, factory] : kModels) {
        kinds.push_back(kind);
    }
    return kinds;
}

std::unique_ptr<PeerModel> createPeerModel(Simulator& simulator, size_t peerIndex) {
    const std::string& kind = simulator.world().peers.at(peerIndex).kind;
    for (const auto& [name, factory] : kModels) {
        if (name == kind) {
            return factory(simulator, peerIndex);
        }
    }
    return nullptr;
}

} // namespace orv::sim
