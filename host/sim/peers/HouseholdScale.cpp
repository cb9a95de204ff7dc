// Weight Scale and Body Composition services: a simulated household scale with its users.
#include "HouseholdScale.h"

#include "../../core/AttProtocol.h"

#include <veyrauuids.h>

#include <algorithm>
#include <cmath>

namespace orv::sim {
namespace {

namespace att = orv::host::att;
namespace Chr = CharacteristicUuid;

constexpr uint16_t kWeightMeasurement = Chr::WeightMeasurement;
constexpr uint16_t kBodyCompositionMeasurement = Chr::BodyCompositionMeasurement;
constexpr uint16_t kIndicateBit = 0x0002;
constexpr uint16_t kUnsuccessful = 0xFFFF;
constexpr size_t kIndicationLength = att::kMtu - 3;

constexpr double kPoundsPerKilogram = 2.20462;
constexpr double kInchesPerMetre = 39.3701;
constexpr double kHeightMetres = 1.72;

std::vector<uint8_t> le32(uint32_t value) {
    return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value >> 16),
            static_cast<uint8_t>(value >> 24)};
}

GattServiceDescription measurementService(uint16_t service, uint16_t feature, uint32_t features,
                                          uint16_t measurement) {
    GattServiceDescription description;
    description.uuid = MakeUuid16(service);
    description.characteristics = {characteristic(feature, kPropertyRead, le32(features)),
                                   characteristic(measurement, kPropertyIndicate)};
    return description;
}

// A mass as the scale's resolution sends it: 0.005 kg, or 0.01 lb.
uint16_t massRaw(double kilograms, bool imperial) {
    return static_cast<uint16_t>(
        std::lround(imperial ? kilograms * kPoundsPerKilogram * 100 : kilograms * 200));
}

// A height as the scale's resolution sends it: 0.001 m, or 0.1 in.
uint16_t heightRaw(double metres, bool imperial) {
    return static_cast<uint16_t>(std::lround(imperial ? metres * kInchesPerMetre * 10 : metres * 1000));
}

} // namespace

HouseholdScale::HouseholdScale(Simulator& simulator, size_t peerIndex, bool bodyComposition)
    : m_context(simulator, peerIndex), m_users(m_context), m_bodyComposition(bodyComposition) {}

int HouseholdScale::draw(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(m_context.random());
}

bool HouseholdScale::chance(int percent) {
    return draw(0, 99) < percent;
}

std::vector<GattServiceDescription> HouseholdScale::baseDatabase() const {
    std::vector<GattServiceDescription> services = {
        genericAccess(m_context.description()),
        measurementService(ServiceUuid::WeightScale, Chr::WeightScaleFeature, kWeightScaleFeatures,
                           kWeightMeasurement),
        m_users.service()};
    if (m_bodyComposition) {
        services.push_back(measurementService(ServiceUuid::BodyComposition, Chr::BodyCompositionFeature,
                                              kBodyCompositionFeatures, kBodyCompositionMeasurement));
    }
    return services;
}

void HouseholdScale::onConnect() {
    m_context.forgetSubscriptions();
}

void HouseholdScale::onDisconnect() {
    stop();
    m_users.onDisconnect();
}

uint8_t HouseholdScale::onWrite(uint16_t handle, std::span<const uint8_t> value) {
    return m_users.onWrite(handle, value);
}

uint8_t HouseholdScale::onRead(uint16_t handle) {
    return m_users.onRead(handle);
}

void HouseholdScale::onConfiguration(uint16_t valueHandle, uint16_t configuration) {
    if (valueHandle != m_context.valueHandle(kWeightMeasurement) &&
        valueHandle != m_context.valueHandle(kBodyCompositionMeasurement)) {
        return;
    }
    if ((configuration & kIndicateBit) != 0) {
        start();
    } else if (!indicating(kWeightMeasurement) && !indicating(kBodyCompositionMeasurement)) {
        stop();
    }
}

bool HouseholdScale::indicating(uint16_t uuid) const {
    const uint16_t handle = m_context.valueHandle(uuid);
    return handle != 0 && m_context.indicating(handle);
}

void HouseholdScale::start() {
    if (m_weighing) {
        return;
    }
    m_weighing = true;
    m_context.after(kPeriodMs, [this] { weighIn(); });
}

void HouseholdScale::stop() {
    m_weighing = false;
    m_context.cancelTimers();
}

void HouseholdScale::weighIn() {
    m_kilograms = std::clamp(m_kilograms + draw(-4, 4) / 10.0, 60.0, 90.0);
    if (indicating(kWeightMeasurement)) {
        m_context.indicate(m_context.valueHandle(kWeightMeasurement), weightMeasurement(chance(10)).encode());
    }
    if (indicating(kBodyCompositionMeasurement)) {
        const uint16_t handle = m_context.valueHandle(kBodyCompositionMeasurement);
        for (const std::vector<uint8_t>& packet : bodyComposition(chance(10)).packets(kIndicationLength)) {
            m_context.indicate(handle, packet);
        }
    }
    m_context.after(kPeriodMs, [this] { weighIn(); });
}

ScaleWeightMeasurement HouseholdScale::weightMeasurement(bool failed) {
    ScaleWeightMeasurement measurement;
    measurement.imperial = chance(25);
    measurement.weight = failed ? kUnsuccessful : massRaw(m_kilograms, measurement.imperial);
    if (chance(80)) {
        measurement.timeStamp = ScaleTimeStamp::fromSeconds(m_context.now() / 1000);
    }
    if (chance(75)) {
        measurement.userId = m_users.consentedUser().value_or(UserDataPart::kNoUser);
    }
    if (!failed && chance(60)) {
        measurement.bmi =
            static_cast<uint16_t>(std::lround(m_kilograms / (kHeightMetres * kHeightMetres) * 10));
        measurement.height = heightRaw(kHeightMetres, measurement.imperial);
    }
    return measurement;
}

ScaleBodyComposition HouseholdScale::bodyComposition(bool failed) {
    ScaleBodyComposition measurement;
    measurement.imperial = chance(25);
    if (failed) {
        measurement.bodyFat = kUnsuccessful;
        return measurement;
    }
    const double fat = draw(180, 240) / 1000.0;
    measurement.bodyFat = static_cast<uint16_t>(std::lround(fat * 1000));
    if (chance(80)) {
        measurement.timeStamp = ScaleTimeStamp::fromSeconds(m_context.now() / 1000);
    }
    if (chance(75)) {
        measurement.userId = m_users.consentedUser().value_or(UserDataPart::kNoUser);
    }
    const bool imperial = measurement.imperial;
    const double muscle = draw(400, 450) / 1000.0;
    const double fatFree = m_kilograms * (1 - fat);
    const std::array<uint16_t, ScaleBodyComposition::kFieldCount> values = {
        static_cast<uint16_t>(std::lround(m_kilograms * 100)), // basal metabolism, kJ
        static_cast<uint16_t>(std::lround(muscle * 1000)),
        massRaw(m_kilograms * muscle, imperial),
        massRaw(fatFree, imperial),
        massRaw(fatFree * 0.93, imperial),
        massRaw(m_kilograms * 0.55, imperial),
        static_cast<uint16_t>(draw(4800, 5200)), // impedance, 0.1 ohm
        massRaw(m_kilograms, imperial),
        heightRaw(kHeightMetres, imperial),
    };
    // Now and then a short reading (impedance, weight and height) that fits one indication.
    const bool compact = chance(25);
    for (size_t i = 0; i < values.size(); ++i) {
        if (!compact || i >= 6) {
            measurement.fields[i] = values[i];
        }
    }
    return measurement;
}

} // namespace orv::sim
