// Cycling and Running Speed and Cadence: the SC Control Point of a simulated sensor.
#pragma once

#include "IndicatedControlPoint.h"
#include "PeerContext.h"

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace orv::sim {

// The part of a speed-and-cadence sensor that serves its SC Control Point (and moves its Sensor
// Location). A write needs indications on (else ATT 0x81) and no earlier request unanswered (else ATT
// 0x80); after the write response comes the indication [0x10, op code, result, ...]:
// 0x01 Set Cumulative Value (u32) hands the value to the sensor; 0x02 Start Sensor Calibration asks
// the sensor whether it can calibrate now (Operation Failed when it cannot; Op Code Not Supported for
// a sensor without calibration); 0x03 Update Sensor Location moves the sensor to a listed location
// (Invalid Parameter otherwise); 0x04 lists the supported locations; any other op code is not
// supported. A missing parameter is an Invalid Parameter. Test hooks make it answer nothing
// (PeerContext::answersControlPoints) or fail every request (PeerContext::failsControlPoints).
class ScControlPoint {
public:
    struct Sensor {
        std::function<void(uint32_t value)> setCumulativeValue;
        std::function<bool()> calibrate; // empty: no calibration
    };

    static constexpr uint8_t kImproperlyConfigured = 0x81;
    static constexpr uint8_t kAlreadyInProgress = 0x80;

    // The SC Control Point and Sensor Location of the sensor's own service (16-bit UUID service).
    ScControlPoint(PeerContext& context, uint16_t service, std::vector<uint8_t> locations, Sensor sensor);

    // For the model's onWrite: 0 when the write is to another handle or is accepted, else the ATT error.
    uint8_t onWrite(uint16_t handle, std::span<const uint8_t> value) {
        return m_point.onWrite(handle, value);
    }
    // The link went: a request not yet answered is dropped.
    void reset() { m_point.reset(); }

private:
    void run(const std::vector<uint8_t>& request);
    uint8_t updateLocation(std::span<const uint8_t> request);

    PeerContext& m_context;
    uint16_t m_service;
    std::vector<uint8_t> m_locations;
    Sensor m_sensor;
    IndicatedControlPoint m_point;
};

} // namespace orv::sim
