// Environmental Sensing: a simulated weather-and-motion board whose values are read on demand.
#include "EnvironmentStation.h"

#include "../../core/AttProtocol.h"
#include "../AttServer.h"
#include "LittleEndian.h"

#include <veyrauuids.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orv::sim {
namespace {

// ES Measurement: no flags, instantaneous sampling, no measurement period, updated every second, in
// air, uncertainty 1 (0.5 %).
const std::vector<uint8_t> kMeasurementDescriptor = {0x00, 0x00, 0x01, 0x00, 0x00, 0x00,
                                                     0x01, 0x00, 0x00, 0x01, 0x01};
// ES Trigger Settings: a fixed interval of 60 s; above 25.00 degrees; below 10.00 degrees.
const std::vector<uint8_t> kEveryMinute = {0x01, 0x3C, 0x00, 0x00};
const std::vector<uint8_t> kAbove25 = {0x06, 0xC4, 0x09};
const std::vector<uint8_t> kBelow10 = {0x04, 0xE8, 0x03};
// ES Configuration: either trigger.
const std::vector<uint8_t> kEitherTrigger = {0x01};

constexpr double kHorizontalField = 200; // 0.001 gauss
constexpr int16_t kVerticalField = 400;
constexpr int16_t kGravity = 981; // 0.01 m/s^2

std::vector<uint8_t> axes(int32_t x, int32_t y, int32_t z) {
    std::vector<uint8_t> value;
    for (const int32_t axis : {x, y, z}) {
        appendLe(value, static_cast<uint32_t>(static_cast<int16_t>(axis)), 2);
    }
    return value;
}

GattDescriptorDescription descriptor(uint16_t uuid, std::vector<uint8_t> value) {
    return {MakeUuid16(uuid), std::move(value)};
}

} // namespace

EnvironmentStation::EnvironmentStation(Simulator& simulator, size_t peerIndex)
    : m_context(simulator, peerIndex) {
    m_pressure += draw(-1500, 1500);
    m_temperature += draw(-150, 150);
    m_humidity += draw(-400, 400);
    m_heading = draw(0, 359);
}

int EnvironmentStation::draw(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(m_context.random());
}

EnvironmentStation::Values EnvironmentStation::values() const {
    Values v;
    appendLe(v.pressure, static_cast<uint32_t>(m_pressure), 4);
    appendLe(v.temperature, static_cast<uint32_t>(m_temperature), 2);
    appendLe(v.humidity, static_cast<uint32_t>(m_humidity), 2);
    v.acceleration = axes(m_tilt[0], m_tilt[1], kGravity);
    v.rotation = axes(m_tilt[1] / 4, -m_tilt[0] / 4, static_cast<int32_t>(std::lround(m_turnRate)));
    v.flux = flux(m_heading);
    return v;
}

std::vector<uint8_t> EnvironmentStation::flux(double heading) {
    const double radians = heading * std::numbers::pi / 180.0;
    return axes(static_cast<int32_t>(std::lround(kHorizontalField * std::cos(radians))),
                static_cast<int32_t>(std::lround(kHorizontalField * std::sin(radians))), kVerticalField);
}

std::vector<GattServiceDescription> EnvironmentStation::baseDatabase() const {
    namespace Chr = CharacteristicUuid;
    namespace Dsc = DescriptorUuid;
    const Values v = values();
    const auto measurement = descriptor(Dsc::EnvironmentalSensingMeasurement, kMeasurementDescriptor);
    const auto trigger = [](const std::vector<uint8_t>& setting) {
        return descriptor(Dsc::EnvironmentalSensingTriggerSetting, setting);
    };
    GattServiceDescription sensing;
    sensing.uuid = MakeUuid16(ServiceUuid::EnvironmentalSensing);
    sensing.characteristics = {
        characteristic(MakeUuid16(Chr::Pressure), kPropertyRead, v.pressure,
                       {measurement, trigger(kEveryMinute)}),
        characteristic(MakeUuid16(Chr::Temperature), kPropertyRead, v.temperature,
                       {measurement, trigger(kAbove25), trigger(kBelow10),
                        descriptor(Dsc::EnvironmentalSensingConfiguration, kEitherTrigger)}),
        characteristic(MakeUuid16(Chr::Humidity), kPropertyRead, v.humidity,
                       {measurement, trigger(kEveryMinute)}),
        characteristic(vendorUuid(VendorUuid::Acceleration), kPropertyRead, v.acceleration),
        characteristic(vendorUuid(VendorUuid::AngularVelocity), kPropertyRead, v.rotation),
        characteristic(MakeUuid16(Chr::MagneticFluxDensity3D), kPropertyRead, v.flux),
        characteristic(vendorUuid(VendorUuid::MagnetometerCalibration), kPropertyWrite, {0x00}),
    };
    return {genericAccess(m_context.description()), sensing};
}

void EnvironmentStation::onConnect() {
    m_context.after(kPeriodMs, [this] { tick(); });
}

void EnvironmentStation::onDisconnect() {
    m_context.cancelTimers();
}

uint8_t EnvironmentStation::onWrite(uint16_t handle, std::span<const uint8_t> value) {
    if (handle != valueHandle(vendorUuid(VendorUuid::MagnetometerCalibration))) {
        return 0;
    }
    if (value.size() != 1) {
        return host::att::kInvalidAttributeValueLength;
    }
    return value[0] <= 0x01 ? 0 : host::att::kValueNotAllowed;
}

uint16_t EnvironmentStation::valueHandle(const BleUuid& uuid) const {
    return m_context.valueHandle(ServiceUuid::EnvironmentalSensing, uuid);
}

void EnvironmentStation::tick() {
    namespace Chr = CharacteristicUuid;
    drift();
    const Values v = values();
    const std::pair<BleUuid, const std::vector<uint8_t>*> readings[] = {
        {MakeUuid16(Chr::Pressure), &v.pressure},
        {MakeUuid16(Chr::Temperature), &v.temperature},
        {MakeUuid16(Chr::Humidity), &v.humidity},
        {vendorUuid(VendorUuid::Acceleration), &v.acceleration},
        {vendorUuid(VendorUuid::AngularVelocity), &v.rotation},
        {MakeUuid16(Chr::MagneticFluxDensity3D), &v.flux},
    };
    for (const auto& [uuid, value] : readings) {
        if (PeerAttribute* attribute = m_context.attributes().attribute(valueHandle(uuid))) {
            attribute->value = *value;
        }
    }
    m_context.after(kPeriodMs, [this] { tick(); });
}

void EnvironmentStation::drift() {
    m_pressure = std::clamp(m_pressure + draw(-12, 12), 1008000, 1018500);
    m_temperature = std::clamp(m_temperature + draw(-4, 4), 1800, 2400);
    m_humidity = std::clamp(m_humidity + draw(-15, 15), 3500, 5500);
    if (draw(0, 14) == 0) {
        m_turnRate = draw(-12, 12); // the board is turned the other way, faster or slower
    }
    m_heading = std::fmod(m_heading + m_turnRate + 360.0, 360.0);
    for (int16_t& tilt : m_tilt) {
        tilt = static_cast<int16_t>(std::clamp(tilt + draw(-3, 3), -25, 25));
    }
}

} // namespace orv::sim
