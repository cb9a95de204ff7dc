#include "../HostHarness.h"

#include <gtest/gtest.h>

namespace orv::host::test {
namespace {

// The built-in world's bond manager. Handles: 3 Device Name (read, write); 6 Bond Management Control
// Point (write; needs encryption); 8 Bond Management Feature (read; needs encryption).
const char* const kManager = "00:1A:7D:DA:71:13";

class PeerProfileRules : public HostTest {
protected:
    void SetUp() override { cid = harness.startConnected(builtInWorld(), kManager); }
    // Reconnects and asks for encryption: the codes of the security events that follow.
    std::vector<uint32_t> encryptAgain() {
        cid = harness.reconnect(cid, kManager);
        EXPECT_EQ(OrvBleHostSetEncryption(cid, 1), ORV_BLE_OK);
        orv::sim::advance(2000);
        return harness.codes();
    }
};

TEST_F(PeerProfileRules, BondManagementNeedsEncryptionAndOnlyItsDeleteOpCodeMakesThePeerPairAgain) {
    EXPECT_EQ(harness.write(cid, 6, {0x03}), 0x0F);
    EXPECT_EQ(harness.read(cid, 8).status, 0x0F);
    harness.pairJustWorks(cid, kManager);
    const ReadResult feature = harness.read(cid, 8);
    ASSERT_EQ(feature.status, 0);
    EXPECT_NE(feature.value.at(0) & 0x10, 0) << "deletes the requester's bond";
    EXPECT_EQ(harness.write(cid, 6, {0x01}), 0x80);
    EXPECT_EQ(encryptAgain(), (std::vector<uint32_t>{BLE_EVT_ENCRYPTION_RESULT, BLE_EVT_SECURITY_RESULT}))
        << "the bond is kept";
    EXPECT_EQ(harness.write(cid, 6, {0x03}), 0);
    EXPECT_EQ(encryptAgain(), std::vector<uint32_t>{BLE_EVT_JUST_WORKS_REQUEST})
        << "the stored key no longer works";
}

// 248 bytes, the most a Device Name holds, take prepared writes; the name reaches the advertising.
TEST_F(PeerProfileRules, RenamesThePeerUpTo248Bytes) {
    EXPECT_EQ(harness.write(cid, 3, Bytes(249, 'X')), 0x0D);
    EXPECT_EQ(harness.write(cid, 3, Bytes(248, 'R')), 0);
    ASSERT_EQ(OrvBleHostDisconnect(cid), ORV_BLE_OK);
    ASSERT_TRUE(harness.advanceUntil(BLE_EVT_DISCONNECTED));
    ASSERT_EQ(OrvBleHostStartDeviceSearch(0), ORV_BLE_OK);
    orv::sim::advance(1000);
    std::string advertised = "(not found)";
    for (const PostedEvent& event : harness.eventsWithCode(BLE_EVT_DEVICE_FOUND)) {
        if (const auto& found = record<BleHostDeviceFoundEvent>(event);
            found.address.lap == addressOf(kManager).lap)
            advertised = found.name != nullptr ? found.name : "(no name)";
    }
    EXPECT_EQ(advertised, std::string(248, 'R'));
}

TEST_F(PeerProfileRules, RenamedPeerIsBondedUnderItsNewName) {
    ASSERT_EQ(harness.write(cid, 3, {'D', 'e', 's', 'k'}), 0);
    harness.pairJustWorks(cid, kManager);
    std::vector<std::string> names;
    for (const BleHostPairedDevice& bond : harness.pairedDevices()) {
        if (bond.address.lap == addressOf(kManager).lap)
            names.emplace_back(bond.name);
    }
    EXPECT_EQ(names, std::vector<std::string>{"Desk"});
}

} // namespace
} // namespace orv::host::test
