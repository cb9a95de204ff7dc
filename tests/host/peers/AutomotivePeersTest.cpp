// The simulated tyre sensor's rules for the values it is written, and the simulated key fob's link,
// which it leaves after 90 s.
#include "../HostHarness.h"

#include <gtest/gtest.h>

namespace orv::host::test {
namespace {

const std::string kPeer = "00:1A:7D:DA:71:10";
// The sensor's own database: 9 blow-out threshold, 13 wheel position, 19 pairing removal.
constexpr uint16_t kThreshold = 9, kPosition = 13, kPairingRemoval = 19;

using AutomotivePeers = HostTest;

TEST_F(AutomotivePeers, TyreSensorTakesOnlyTheThresholdPositionAndPairingRemovalInItsRangeAndLength) {
    cid = harness.startConnected(peerWorld("tyrePressure", kPeer, {{"bonded", true}}), kPeer);
    const std::tuple<uint16_t, Bytes, uint16_t> rows[] = {
        {kThreshold, {69, 0}, 0},     {kThreshold, {207, 0}, 0}, {kThreshold, {68, 0}, 0x13},
        {kThreshold, {208, 0}, 0x13}, {kThreshold, {100}, 0x0D}, {kThreshold, {100, 0, 0}, 0x0D},
        {kPosition, {5}, 0},          {kPosition, {0xFF}, 0},    {kPosition, {0}, 0x13},
        {kPosition, {6}, 0x13},       {kPosition, {1, 0}, 0x0D}, {kPairingRemoval, {2}, 0x13},
        {kPairingRemoval, {}, 0x0D},
    };
    for (const auto& [handle, value, status] : rows)
        EXPECT_EQ(harness.write(cid, handle, value), status) << handle << " " << value.size();
    EXPECT_EQ(harness.read(cid, kPosition).value, Bytes{0xFF}) << "a refused value is not kept";
    EXPECT_EQ(harness.write(cid, kPairingRemoval, {0x01}), 0);
    cid = harness.reconnect(cid, kPeer);
    ASSERT_EQ(OrvBleHostSetEncryption(cid, 1), ORV_BLE_OK);
    orv::sim::advance(2000);
    EXPECT_EQ(harness.codes(), std::vector<uint32_t>{BLE_EVT_JUST_WORKS_REQUEST})
        << "the sensor forgot its bond";
}

TEST_F(AutomotivePeers, KeyFobLeavesTheLinkNinetySecondsAfterItCameUp) {
    harness.startConnected(peerWorld("vehicleInformation", kPeer), kPeer);
    const uint64_t connected = orv::sim::now();
    const auto gone = harness.advanceUntil(BLE_EVT_DISCONNECTED, 120000);
    ASSERT_TRUE(gone);
    EXPECT_EQ(gone->at - connected, 90000u);
}

} // namespace
} // namespace orv::host::test
