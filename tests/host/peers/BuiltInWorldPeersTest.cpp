#include "../HostHarness.h"

#include <gtest/gtest.h>

#include <map>

namespace orv::host::test {
namespace {

struct BuiltInPeer {
    std::string kind;
    std::string address;
    bool random;
    std::string name;
    bool secured; // its values wait for an encrypted link
};

void PrintTo(const BuiltInPeer& peer, std::ostream* out) {
    *out << peer.kind << " " << peer.address;
}

std::vector<BuiltInPeer> builtInPeers() {
    std::vector<BuiltInPeer> peers;
    const nlohmann::json world = nlohmann::json::parse(orv::sim::builtInWorldJson());
    for (const auto& peer : world["peers"]) {
        peers.push_back({peer["kind"], peer["address"], peer.value("addressType", "public") == "random",
                         peer["name"], peer.value("security", "none") != "none"});
    }
    return peers;
}

class BuiltInWorld : public HostTest, public ::testing::WithParamInterface<BuiltInPeer> {
protected:
    // Connects to the peer and learns its services and value handles by 16-bit UUID.
    void SetUp() override {
        cid = harness.startConnected(nlohmann::json::parse(orv::sim::builtInWorldJson()), GetParam().address,
                                     GetParam().random ? 1 : 0);
        ASSERT_EQ(OrvBleClientDiscoverDatabase(cid), ORV_BLE_OK);
        const auto discovered = harness.advanceUntil(BLE_EVT_DATABASE_DISCOVERED);
        ASSERT_TRUE(discovered);
        const auto& db = record<BleHostDatabaseEvent>(*discovered);
        ASSERT_EQ(db.status, 0);
        for (uint16_t s = 0; s < db.serviceCount; ++s) {
            handles[db.services[s].uuid.uuid16] = db.services[s].startHandle;
            for (uint16_t c = 0; c < db.services[s].characteristicCount; ++c) {
                handles[db.services[s].characteristics[c].uuid.uuid16] =
                    db.services[s].characteristics[c].valueHandle;
            }
        }
        harness.freeQueued();
    }

    std::map<uint16_t, uint16_t> handles;
};

TEST_P(BuiltInWorld, PeerServesItsNameInGenericAccess) {
    ASSERT_TRUE(handles.count(0x1800) && handles.count(0x2A00));
    EXPECT_EQ(handles.count(0x180D), GetParam().kind == "heartRate" ? 1u : 0u);
    const ReadResult expected = GetParam().secured
                                    ? ReadResult{0x0F, {}}
                                    : ReadResult{0, Bytes(GetParam().name.begin(), GetParam().name.end())};
    EXPECT_EQ(harness.read(cid, handles[0x2A00]), expected);
}

INSTANTIATE_TEST_SUITE_P(Peers, BuiltInWorld, ::testing::ValuesIn(builtInPeers()),
                         [](const auto& info) { return info.param.kind + std::to_string(info.index); });

} // namespace
} // namespace orv::host::test
