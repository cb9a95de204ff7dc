// Environmental Sensing: a simulated weather-and-motion board whose values are read on demand.
#pragma once

#include "PeerContext.h"
#include "PeerModel.h"

#include <cstdint>

namespace orv::sim {

// Kind "environment". Pressure, Temperature and Humidity with their ES Measurement and ES Trigger
// Setting descriptors (Temperature with two triggers and an ES Configuration), the maker's
// accelerometer and gyroscope, Magnetic Flux Density 3D and the maker's magnetometer calibration
// (takes 01 to start and 00 to stop). Every value is read on demand; while linked the weather drifts
// once a second near 101325.0 Pa, 21 degrees and 45 %, and the board turns, so the heading moves.
class EnvironmentStation : public PeerModel {
public:
    static constexpr uint64_t kPeriodMs = 1000;

    EnvironmentStation(Simulator& simulator, size_t peerIndex);

    std::vector<GattServiceDescription> baseDatabase() const override;
    void onConnect() override;
    void onDisconnect() override;
    uint8_t onWrite(uint16_t handle, std::span<const uint8_t> value) override;

    // Magnetic Flux Density 3D of the board turned to heading (degrees from its X axis towards its Y
    // axis, where the field's horizontal part points).
    static std::vector<uint8_t> flux(double heading);

private:
    struct Values {
        std::vector<uint8_t> pressure, temperature, humidity, acceleration, rotation, flux;
    };

    // The value of uuid in the sensing service, 0 when it has none.
    uint16_t valueHandle(const BleUuid& uuid) const;
    void tick();
    // The weather and the board one second on.
    void drift();
    Values values() const;
    int draw(int low, int high);

    PeerContext m_context;
    int32_t m_pressure = 1013250; // 0.1 Pa
    int32_t m_temperature = 2100; // 0.01 degree Celsius
    int32_t m_humidity = 4500;    // 0.01 %
    double m_heading = 0;         // degrees
    double m_turnRate = 6;        // degrees a second
    int16_t m_tilt[2] = {0, 0};   // 0.01 m/s^2
};

} // namespace orv::sim
