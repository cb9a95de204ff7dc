#include "../HostHarness.h"

#include <gtest/gtest.h>

#include <map>

namespace orv::host::test {
namespace {

// One of the built-in world's peers, as the world describes it.
class BuiltInWorld : public HostTest, public ::testing::WithParamInterface<nlohmann::json> {
protected:
    // Connects to the peer and learns its services and value handles by 16-bit UUID.
    void SetUp() override {
        const bool random = GetParam().value("addressType", "public") == "random";
        cid = harness.startConnected(builtInWorld(), GetParam()["address"], random ? 1 : 0);
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

// A peer whose values wait for an encrypted link refuses its name as well.
TEST_P(BuiltInWorld, PeerServesItsNameInGenericAccess) {
    ASSERT_TRUE(handles.count(0x1800) && handles.count(0x2A00));
    EXPECT_EQ(handles.count(0x180D), GetParam().value("kind", "") == "heartRate" ? 1u : 0u);
    const std::string name = GetParam()["name"];
    const bool secured = GetParam().value("security", "none") != "none";
    const ReadResult expected =
        secured ? ReadResult{0x0F, {}} : ReadResult{0, Bytes(name.begin(), name.end())};
    EXPECT_EQ(harness.read(cid, handles[0x2A00]), expected);
}

INSTANTIATE_TEST_SUITE_P(Peers, BuiltInWorld,
                         ::testing::ValuesIn(builtInWorld()["peers"].get<std::vector<nlohmann::json>>()),
                         [](const auto& info) {
                             return info.param.value("kind", "withoutKind") + std::to_string(info.index);
                         });

} // namespace
} // namespace orv::host::test
