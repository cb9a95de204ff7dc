// Cycling and Running Speed and Cadence: the SC Control Point of a simulated sensor.
#include "ScControlPoint.h"

#include "../AttServer.h"

#include <veyrauuids.h>

#include <algorithm>

namespace orv::sim {
namespace {

constexpr uint8_t kResponseCode = 0x10;
constexpr uint8_t kSetCumulativeValue = 0x01;
constexpr uint8_t kStartCalibration = 0x02;
constexpr uint8_t kUpdateLocation = 0x03;
constexpr uint8_t kRequestLocations = 0x04;

constexpr uint8_t kSuccess = 0x01;
constexpr uint8_t kOpCodeNotSupported = 0x02;
constexpr uint8_t kInvalidParameter = 0x03;
constexpr uint8_t kOperationFailed = 0x04;

} // namespace

ScControlPoint::ScControlPoint(PeerContext& context, uint16_t service, std::vector<uint8_t> locations,
                               Sensor sensor)
    : m_context(context), m_service(service), m_locations(std::move(locations)), m_sensor(std::move(sensor)),
      m_point(context, service, CharacteristicUuid::ScControlPoint,
              {kImproperlyConfigured, kAlreadyInProgress},
              [this](std::vector<uint8_t> request) { run(request); }) {}

void ScControlPoint::run(const std::vector<uint8_t>& request) {
    const uint8_t opCode = request.empty() ? 0 : request[0];
    std::vector<uint8_t> response{kResponseCode, opCode, kOpCodeNotSupported};
    if (m_context.failsControlPoints()) {
        response[2] = kOperationFailed;
    } else if (opCode == kSetCumulativeValue && request.size() >= 5) {
        m_sensor.setCumulativeValue(static_cast<uint32_t>(request[1] | request[2] << 8 | request[3] << 16 |
                                                          static_cast<uint32_t>(request[4]) << 24));
        response[2] = kSuccess;
    } else if (opCode == kSetCumulativeValue) {
        response[2] = kInvalidParameter;
    } else if (opCode == kStartCalibration && m_sensor.calibrate) {
        response[2] = m_sensor.calibrate() ? kSuccess : kOperationFailed;
    } else if (opCode == kUpdateLocation) {
        response[2] = updateLocation(request);
    } else if (opCode == kRequestLocations) {
        response[2] = kSuccess;
        response.insert(response.end(), m_locations.begin(), m_locations.end());
    }
    m_point.respond(response);
}

uint8_t ScControlPoint::updateLocation(std::span<const uint8_t> request) {
    if (request.size() < 2 ||
        std::find(m_locations.begin(), m_locations.end(), request[1]) == m_locations.end()) {
        return kInvalidParameter;
    }
    if (PeerAttribute* location = m_context.attributes().attribute(
            m_context.valueHandle(m_service, CharacteristicUuid::SensorLocation))) {
        location->value = {request[1]};
    }
    return kSuccess;
}

} // namespace orv::sim
