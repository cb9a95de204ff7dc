// Vehicle information: a simulated key fob that reports its vehicle's state and leaves the link to
// reconnect to its in-vehicle host.
#include "VehicleKeyFob.h"

#include "../../core/AttProtocol.h"

#include "../AttServer.h"

#include <veyrauuids.h>

#include <array>
#include <string_view>

namespace orv::sim {
namespace {

struct Value {
    uint16_t number;
    size_t length;
};
// The ten vehicle values and their lengths, in handle order.
constexpr std::array<Value, 10> kValues = {{
    {VendorUuid::SpeedLimit, 2},
    {VendorUuid::TyrePressures, 10},
    {VendorUuid::Odometer, 2},
    {VendorUuid::Registration, 10},
    {VendorUuid::LockStatus, 1},
    {VendorUuid::Latitude, 4},
    {VendorUuid::Longitude, 4},
    {VendorUuid::FuelAndRange, 3},
    {VendorUuid::RadioStations, 10},
    {VendorUuid::TrunkStatus, 1},
}};

constexpr std::array<int16_t, 5> kSpeedLimits = {50, 80, 100, 120, 30};
constexpr std::array<int16_t, 4> kTyrePsi = {33, 33, 32, 31};
constexpr std::string_view kRegistration = "TND-4821"; // the rest of the ten bytes are 0
constexpr std::array<uint16_t, 5> kStations = {1, 2, 3, 4, 7};
constexpr int8_t kFullTank = 45;
constexpr int16_t kKmPerLitre = 12;
// The loop the vehicle drives, 1e-7 degree.
constexpr std::array<std::pair<int32_t, int32_t>, 6> kLoop = {{
    {475630120, 85240340},
    {475641870, 85262110},
    {475660450, 85259880},
    {475668310, 85231470},
    {475655020, 85209760},
    {475637280, 85215530},
}};

void put16(std::vector<uint8_t>& bytes, int32_t value) {
    bytes.push_back(static_cast<uint8_t>(value & 0xFF));
    bytes.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

std::vector<uint8_t> bytes32(int32_t value) {
    std::vector<uint8_t> bytes;
    put16(bytes, value & 0xFFFF);
    put16(bytes, (value >> 16) & 0xFFFF);
    return bytes;
}

} // namespace

VehicleKeyFob::VehicleKeyFob(Simulator& simulator, size_t peerIndex) : m_context(simulator, peerIndex) {}

std::vector<GattServiceDescription> VehicleKeyFob::baseDatabase() const {
    GattServiceDescription vehicle;
    vehicle.uuid = vendorUuid(VendorUuid::VehicleInformationService);
    for (const Value& value : kValues)
        vehicle.characteristics.push_back(characteristic(vendorUuid(value.number),
                                                         kPropertyRead | kPropertyNotify,
                                                         std::vector<uint8_t>(value.length, 0xFF)));
    GattServiceDescription pairing;
    pairing.uuid = vendorUuid(VendorUuid::PairingDeletionService);
    pairing.characteristics = {characteristic(vendorUuid(VendorUuid::PairingRemoval), kPropertyWrite)};
    return {genericAccess(m_context.description()), vehicle, pairing};
}

void VehicleKeyFob::onConnect() {
    m_leaving = false;
    m_context.forgetSubscriptions();
    forget();
    m_context.after(kReportsAfterMs, [this] { tick(); });
    m_context.after(kLinkLifetimeMs, [this] { m_context.disconnect(kRemoteUserTerminated); });
}

void VehicleKeyFob::onDisconnect() {
    m_context.cancelTimers();
}

uint8_t VehicleKeyFob::onWrite(uint16_t handle, std::span<const uint8_t> value) {
    if (handle != m_context.valueHandle(vendorUuid(VendorUuid::PairingRemoval))) {
        return 0;
    }
    if (value.size() != 1) {
        return host::att::kInvalidAttributeValueLength;
    }
    if (value[0] != kDeletePairing) {
        return host::att::kValueNotAllowed;
    }
    m_context.forgetBond();
    if (!m_leaving) {
        m_leaving = true;
        m_context.after(kLeavesAfterDeleteMs, [this] { m_context.disconnect(kRemoteUserTerminated); });
    }
    return 0;
}

void VehicleKeyFob::tick() {
    drive();
    report();
    m_context.after(kPeriodMs, [this] { tick(); });
}

void VehicleKeyFob::drive() {
    ++m_steps;
    if (m_steps % 7 == 0) {
        m_speedLimit = kSpeedLimits[(m_steps / 7) % kSpeedLimits.size()];
    }
    m_odometer = static_cast<int16_t>(m_odometer < 32767 ? m_odometer + 1 : 0);
    if (m_steps % 3 == 0) {
        m_fuel = static_cast<int8_t>(m_fuel > 2 ? m_fuel - 1 : kFullTank);
        m_range = static_cast<int16_t>(m_fuel * kKmPerLitre);
    }
    if (m_steps % 5 == 0) {
        m_locked = m_locked == 0 ? 1 : 0;
    }
    if (m_steps % 8 == 0) {
        m_trunk = m_trunk == 0 ? 1 : 0;
    }
}

void VehicleKeyFob::forget() {
    for (const Value& value : kValues) {
        set(value.number, std::vector<uint8_t>(value.length, 0xFF));
    }
}

void VehicleKeyFob::report() {
    std::vector<uint8_t> speed;
    put16(speed, m_speedLimit);
    set(VendorUuid::SpeedLimit, speed);
    std::vector<uint8_t> tyres;
    for (size_t i = 0; i < kTyrePsi.size(); ++i) {
        put16(tyres, kTyrePsi[i] - static_cast<int16_t>((m_steps / 10 + i) % 2));
    }
    put16(tyres, -1); // the spare has no sensor
    set(VendorUuid::TyrePressures, tyres);
    std::vector<uint8_t> odometer;
    put16(odometer, m_odometer);
    set(VendorUuid::Odometer, odometer);
    std::vector<uint8_t> registration(kRegistration.begin(), kRegistration.end());
    registration.resize(10, 0);
    set(VendorUuid::Registration, registration);
    set(VendorUuid::LockStatus, {m_locked});
    const auto& [latitude, longitude] = kLoop[m_steps % kLoop.size()];
    set(VendorUuid::Latitude, bytes32(latitude));
    set(VendorUuid::Longitude, bytes32(longitude));
    std::vector<uint8_t> fuel = {static_cast<uint8_t>(m_fuel)};
    put16(fuel, m_range);
    set(VendorUuid::FuelAndRange, fuel);
    std::vector<uint8_t> stations;
    for (const uint16_t station : kStations) {
        put16(stations, station);
    }
    set(VendorUuid::RadioStations, stations);
    set(VendorUuid::TrunkStatus, {m_trunk});
}

void VehicleKeyFob::set(uint16_t vendorNumber, std::vector<uint8_t> value) {
    const uint16_t handle = m_context.valueHandle(vendorUuid(vendorNumber));
    PeerAttribute* attribute = m_context.attributes().attribute(handle);
    if (attribute == nullptr) {
        return;
    }
    attribute->value = value;
    if (m_context.notifying(handle)) {
        m_context.notify(handle, value);
    }
}

} // namespace orv::sim
