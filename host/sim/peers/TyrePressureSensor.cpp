// Tyre pressure: a simulated tyre sensor that leaks, reports its temperature and takes a blow-out
// threshold, a wheel position and the removal of its pairing.
#include "TyrePressureSensor.h"

#include "../../core/AttProtocol.h"

#include "../AttServer.h"

#include <veyrauuids.h>

#include <algorithm>

namespace orv::sim {
namespace {

constexpr int kColdestCelsius = -6;
constexpr int kWarmestCelsius = 12;

std::vector<uint8_t> littleEndian(uint16_t value) {
    return {static_cast<uint8_t>(value & 0xFF), static_cast<uint8_t>(value >> 8)};
}

} // namespace

TyrePressureSensor::TyrePressureSensor(Simulator& simulator, size_t peerIndex)
    : m_context(simulator, peerIndex) {}

std::vector<GattServiceDescription> TyrePressureSensor::baseDatabase() const {
    GattServiceDescription sensor;
    sensor.uuid = vendorUuid(VendorUuid::TemperaturePressureService);
    sensor.characteristics = {
        characteristic(vendorUuid(VendorUuid::PressureMeasurement), kPropertyRead | kPropertyNotify,
                       littleEndian(m_kpa)),
        characteristic(vendorUuid(VendorUuid::BlowOutPressure), kPropertyRead | kPropertyWrite,
                       littleEndian(kInitialThresholdKpa)),
        characteristic(vendorUuid(VendorUuid::Discoverability), kPropertyRead, {0x01}),
        characteristic(vendorUuid(VendorUuid::WheelPosition), kPropertyRead | kPropertyWrite,
                       {kInitialPosition}),
        characteristic(vendorUuid(VendorUuid::TemperatureMeasurement), kPropertyRead | kPropertyNotify,
                       {static_cast<uint8_t>(m_celsius)}),
    };
    GattServiceDescription pairing;
    pairing.uuid = vendorUuid(VendorUuid::PairingDeletionService);
    pairing.characteristics = {characteristic(vendorUuid(VendorUuid::PairingRemoval), kPropertyWrite, {})};
    return {genericAccess(m_context.description()), sensor, pairing};
}

void TyrePressureSensor::onConnect() {
    m_context.forgetSubscriptions();
    m_context.after(kPeriodMs, [this] { tick(); });
}

void TyrePressureSensor::onDisconnect() {
    m_context.cancelTimers();
}

uint8_t TyrePressureSensor::onWrite(uint16_t handle, std::span<const uint8_t> value) {
    if (handle == m_context.valueHandle(vendorUuid(VendorUuid::BlowOutPressure))) {
        if (value.size() != 2) {
            return host::att::kInvalidAttributeValueLength;
        }
        const uint16_t kpa = static_cast<uint16_t>(value[0] | value[1] << 8);
        return kpa >= kLowestThresholdKpa && kpa <= kHighestThresholdKpa ? 0 : host::att::kValueNotAllowed;
    }
    if (handle == m_context.valueHandle(vendorUuid(VendorUuid::WheelPosition))) {
        if (value.size() != 1) {
            return host::att::kInvalidAttributeValueLength;
        }
        return (value[0] >= 1 && value[0] <= 5) || value[0] == kUnknownPosition ? 0
                                                                                : host::att::kValueNotAllowed;
    }
    if (handle == m_context.valueHandle(vendorUuid(VendorUuid::PairingRemoval))) {
        if (value.size() != 1) {
            return host::att::kInvalidAttributeValueLength;
        }
        if (value[0] != kRemovePairing) {
            return host::att::kValueNotAllowed;
        }
        m_context.forgetBond();
    }
    return 0;
}

void TyrePressureSensor::tick() {
    m_kpa = m_kpa - kLeakKpa < kFlatKpa ? kFullKpa : static_cast<uint16_t>(m_kpa - kLeakKpa);
    const int step = std::uniform_int_distribution<int>(-1, 1)(m_context.random());
    m_celsius = static_cast<int8_t>(std::clamp(m_celsius + step, kColdestCelsius, kWarmestCelsius));
    report(m_context.valueHandle(vendorUuid(VendorUuid::PressureMeasurement)), littleEndian(m_kpa));
    report(m_context.valueHandle(vendorUuid(VendorUuid::TemperatureMeasurement)),
           {static_cast<uint8_t>(m_celsius)});
    m_context.after(kPeriodMs, [this] { tick(); });
}

void TyrePressureSensor::report(uint16_t handle, std::vector<uint8_t> value) {
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
