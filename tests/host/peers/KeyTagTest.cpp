// The simulated key tag: its alert levels behind encryption, the levels it records, and the signal
// strength that carries it away and back.
#include "../HostHarness.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace orv::host::test {
namespace {

const std::string kTag = "C4:1A:7D:DA:71:0F";
// The tag's own database: 6 Immediate Alert level, 9 Link Loss level, 12 Tx Power Level.
constexpr uint16_t kImmediateAlert = 6;
constexpr uint16_t kLinkLoss = 9;
constexpr uint16_t kTxPower = 12;

class KeyTag : public HostTest {
protected:
    void SetUp() override { cid = harness.startConnected(peerWorld("securityTag", kTag), kTag); }
    int8_t readRssi() {
        EXPECT_EQ(OrvBleHostGetRssi(addressOf(kTag)), ORV_BLE_OK);
        const auto event = harness.advanceUntil(BLE_EVT_RSSI_READ);
        const int8_t rssi = event ? record<BleHostRssiEvent>(*event).rssi : 0;
        harness.freeQueued();
        return rssi;
    }
    void writeCommand(uint16_t handle, uint8_t level) {
        EXPECT_EQ(OrvBleClientWriteCharByHandle(cid, 0, handle, 1, &level), ORV_BLE_OK);
        EXPECT_EQ(harness.receive(1000), (std::vector<Received>{{0, {0}}}));
    }
};

TEST_F(KeyTag, LinkLossWantsEncryptionAndTheLevelsTakenAreRecorded) {
    EXPECT_EQ(harness.read(cid, kTxPower), (ReadResult{0, {0xF8}}));
    EXPECT_EQ(harness.read(cid, kLinkLoss).status, 0x0F);
    harness.pairJustWorks(cid, kTag);
    EXPECT_EQ(harness.read(cid, kLinkLoss), (ReadResult{0, {0}}));
    EXPECT_EQ(harness.write(cid, kLinkLoss, {2}), 0);
    EXPECT_EQ(harness.write(cid, kLinkLoss, {3}), 0x13);
    EXPECT_EQ(harness.write(cid, kLinkLoss, {1, 0}), 0x13);
    writeCommand(kImmediateAlert, 1);
    writeCommand(kImmediateAlert, 7);
    writeCommand(kImmediateAlert, 0);
    const std::vector<orv::sim::PeerWrite> levels{
        {kLinkLoss, {2}}, {kImmediateAlert, {1}}, {kImmediateAlert, {0}}};
    EXPECT_EQ(orv::sim::takePeerRecordedWrites(kTag), levels);
    EXPECT_EQ(harness.read(cid, kLinkLoss), (ReadResult{0, {2}}));
}

TEST_F(KeyTag, TheSignalStrengthGoesFarAndComesBackWithinAMinuteUnlessATestSetsIt) {
    std::vector<int> samples;
    for (int second = 0; second < 70; second += 2) {
        samples.push_back(readRssi());
        orv::sim::advance(2000 - 1);
    }
    EXPECT_GE(samples.front(), -62);
    const auto farthest = std::min_element(samples.begin(), samples.end());
    EXPECT_LE(*farthest, -98);
    EXPECT_GE(*std::max_element(farthest, samples.end()), -62);
    EXPECT_TRUE(orv::sim::setPeerRssi(kTag, -91));
    EXPECT_EQ(readRssi(), -91);
    EXPECT_TRUE(orv::sim::setPeerRssi(kTag, std::nullopt));
    EXPECT_NE(readRssi(), -91);
}

} // namespace
} // namespace orv::host::test
