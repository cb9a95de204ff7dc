// Weight Scale and Body Composition services: a simulated household scale with its users.
#pragma once

#include "PeerContext.h"
#include "PeerModel.h"
#include "ScaleValues.h"
#include "UserDataPart.h"

#include <cstdint>

namespace orv::sim {

// Kind "weightScale": Generic Access, Weight Scale (feature 0x000001BF: time stamp, several users,
// BMI, weight resolution 0.005 kg, height resolution 0.001 m) and the User Data part. Kind
// "bodyComposition" adds Body Composition (feature 0x0001BFFF: every field, the same resolutions).
// While the client has indications of a measurement on, a weigh-in every kPeriodMs of virtual time:
// a Weight Measurement whose flags vary (pounds or kilograms, time stamp, user, BMI and height),
// sometimes a failed one (weight 0xFFFF); and for "bodyComposition" a Body Composition Measurement of
// varying fields, split into packets when it does not fit one indication, sometimes failed (body fat
// 0xFFFF). The user is the one the client has consent for, 0xFF without consent. Everything it draws
// comes from the peer's seeded generator.
class HouseholdScale : public PeerModel {
public:
    static constexpr uint64_t kPeriodMs = 5000;
    static constexpr uint32_t kWeightScaleFeatures = 0x000001BF;
    static constexpr uint32_t kBodyCompositionFeatures = 0x0001BFFF;

    HouseholdScale(Simulator& simulator, size_t peerIndex, bool bodyComposition);

    std::vector<GattServiceDescription> baseDatabase() const override;
    void onConnect() override;
    void onDisconnect() override;
    uint8_t onWrite(uint16_t handle, std::span<const uint8_t> value) override;
    uint8_t onRead(uint16_t handle) override;
    void onConfiguration(uint16_t valueHandle, uint16_t configuration) override;

private:
    void start();
    void stop();
    void weighIn();
    ScaleWeightMeasurement weightMeasurement(bool failed);
    ScaleBodyComposition bodyComposition(bool failed);
    bool indicating(uint16_t uuid) const;
    bool chance(int percent);
    int draw(int low, int high);

    PeerContext m_context;
    UserDataPart m_users;
    bool m_bodyComposition;
    bool m_weighing = false;
    double m_kilograms = 72.0; // drifts a little from one weigh-in to the next
};

} // namespace orv::sim
