// The simulated key fob: nothing reported at first, then its vehicle's values; it leaves the link 90 s
// after connecting, or 1 s after Delete Pairing.
#include "../HostHarness.h"

#include <gtest/gtest.h>

namespace orv::host::test {
namespace {

const std::string kFob = "00:1A:7D:DA:71:11";
// The fob's own database: the ten values at 6, 9, ... 33, each followed by its configuration; 37
// Delete Pairing.
constexpr uint16_t kSpeedLimit = 6, kTyres = 9, kRegistration = 15, kLatitude = 21, kStations = 30,
                   kTrunk = 33, kDeletePairing = 37;

class VehicleKeyFob : public HostTest {
protected:
    void SetUp() override {
        nlohmann::json world = basicWorld();
        world["peers"] =
            nlohmann::json::array({{{"kind", "vehicleInformation"}, {"address", kFob}, {"name", "Fob"}}});
        harness.start(world);
        cid = harness.connect(kFob);
        m_connectedAt = orv::sim::now();
    }
    // Virtual time from the connection to the peer's disconnection, advancing at most maxMs.
    uint64_t linkLifetime(uint64_t maxMs) {
        const auto gone = harness.advanceUntil(BLE_EVT_DISCONNECTED, maxMs);
        harness.freeQueued();
        return gone ? gone->at - m_connectedAt : 0;
    }

    uint64_t m_connectedAt = 0;
};

TEST_F(VehicleKeyFob, ReportsNothingAtFirstThenItsVehicle) {
    const std::tuple<uint16_t, Bytes> before[] = {{kSpeedLimit, Bytes(2, 0xFF)},
                                                  {kTyres, Bytes(10, 0xFF)},
                                                  {kLatitude, Bytes(4, 0xFF)},
                                                  {kTrunk, {0xFF}}};
    for (const auto& [handle, value] : before)
        EXPECT_EQ(harness.read(cid, handle).value, value) << handle;
    orv::sim::advance(8000);
    const Bytes tyres = harness.read(cid, kTyres).value;
    ASSERT_EQ(tyres.size(), 10u);
    EXPECT_NE(Bytes(tyres.begin(), tyres.begin() + 8), Bytes(8, 0xFF));
    EXPECT_EQ(Bytes(tyres.begin() + 8, tyres.end()), (Bytes{0xFF, 0xFF})) << "the spare reports nothing";
    EXPECT_EQ(harness.read(cid, kRegistration).value, (Bytes{'T', 'N', 'D', '-', '4', '8', '2', '1', 0, 0}));
    EXPECT_EQ(harness.read(cid, kStations).value, (Bytes{1, 0, 2, 0, 3, 0, 4, 0, 7, 0}));
    EXPECT_LE(harness.read(cid, kTrunk).value.at(0), 1);
}

TEST_F(VehicleKeyFob, LeavesTheLinkAfterNinetySeconds) {
    EXPECT_EQ(linkLifetime(120000), 90000u);
}

TEST_F(VehicleKeyFob, LeavesTheLinkOneSecondAfterDeletePairing) {
    EXPECT_EQ(harness.write(cid, kDeletePairing, {0x02}), 0x13);
    orv::sim::advance(10000);
    const uint64_t written = orv::sim::now();
    EXPECT_EQ(harness.write(cid, kDeletePairing, {0x01}), 0);
    const auto gone = harness.advanceUntil(BLE_EVT_DISCONNECTED, 5000);
    ASSERT_TRUE(gone);
    EXPECT_LE(gone->at - written, 1100u);
    EXPECT_GE(gone->at - written, 1000u);
}

} // namespace
} // namespace orv::host::test
