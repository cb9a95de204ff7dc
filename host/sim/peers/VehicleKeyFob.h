// Vehicle information: a simulated key fob that reports its vehicle's state and leaves the link to
// reconnect to its in-vehicle host.
#pragma once

#include "PeerContext.h"
#include "PeerModel.h"

#include <cstdint>

namespace orv::sim {

// Kind "vehicleInformation". Its ten vehicle values (AB0A to AB13 in service AB09) can be read and
// notified. For the first 6 s of each link every field has all bits set, as before the vehicle has
// reported; then every 2 s of virtual time: the speed limit changes now and then, four tyres report
// their pressure and the spare none, the odometer grows, the registration is plain ASCII, the lock
// and the trunk change, fuel and range fall (and are refilled), the position moves along a short
// loop, and the five stations are 1, 2, 3, 4 and 7. Every value is notified while the client has
// notifications of it on. The fob leaves the link 90 s after it came up, and 1 s after 0x01 is
// written to Delete Pairing (AB15 in service AB14), whereupon it forgets its bond; other values are
// refused with ATT 0x13 and other lengths with 0x0D.
class VehicleKeyFob : public PeerModel {
public:
    static constexpr uint64_t kPeriodMs = 2000;
    static constexpr uint64_t kReportsAfterMs = 6000;
    static constexpr uint64_t kLinkLifetimeMs = 90000;
    static constexpr uint64_t kLeavesAfterDeleteMs = 1000;
    static constexpr uint8_t kDeletePairing = 0x01;
    static constexpr uint8_t kRemoteUserTerminated = 0x13;

    VehicleKeyFob(Simulator& simulator, size_t peerIndex);

    std::vector<GattServiceDescription> baseDatabase() const override;
    void onConnect() override;
    void onDisconnect() override;
    uint8_t onWrite(uint16_t handle, std::span<const uint8_t> value) override;

private:
    void tick();
    // Moves the vehicle on by one period.
    void drive();
    // Every field with all bits set: nothing reported yet.
    void forget();
    // The vehicle's state in every value.
    void report();
    // Stores value and notifies it while the client has notifications of it on.
    void set(uint16_t vendorNumber, std::vector<uint8_t> value);

    PeerContext m_context;
    bool m_leaving = false;
    uint32_t m_steps = 0;
    int16_t m_speedLimit = 50;
    int16_t m_odometer = 12840;
    int8_t m_fuel = 38;
    int16_t m_range = 456;
    uint8_t m_locked = 1;
    uint8_t m_trunk = 0;
};

} // namespace orv::sim
