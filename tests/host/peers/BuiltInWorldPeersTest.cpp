#include "../HostHarness.h"

#include <gtest/gtest.h>

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

const BleHostServiceRecord* findService(const BleHostDatabaseEvent& db, uint16_t uuid) {
    for (uint16_t i = 0; i < db.serviceCount; ++i) {
        if (db.services[i].uuid.kind == BLE_UUID_KIND_16 && db.services[i].uuid.uuid16 == uuid) {
            return &db.services[i];
        }
    }
    return nullptr;
}

class BuiltInWorldPeer : public ::testing::TestWithParam<BuiltInPeer> {
protected:
    void SetUp() override {
        harness.load(nlohmann::json::parse(orv::sim::builtInWorldJson()));
        harness.startHost();
        BleTypedAddress address = addressOf(GetParam().address);
        address.type = GetParam().random ? 1 : 0;
        ASSERT_EQ(OrvBleHostConnect(address), ORV_BLE_OK);
        const auto event = harness.advanceUntil(BLE_EVT_CONNECT_RESULT, 10000);
        ASSERT_TRUE(event);
        const auto& record = *reinterpret_cast<const BleHostConnectEvent*>(event->lParam);
        ASSERT_EQ(record.status, 0);
        cid = record.cid;
        harness.freeAll(harness.takeEvents());
    }
    void TearDown() override { harness.freeAll(harness.takeEvents()); }

    HostHarness harness;
    uint32_t cid = 0;
};

TEST_P(BuiltInWorldPeer, ServesItsNameInGenericAccess) {
    ASSERT_EQ(OrvBleClientDiscoverDatabase(cid), ORV_BLE_OK);
    const auto discovered = harness.advanceUntil(BLE_EVT_DATABASE_DISCOVERED);
    ASSERT_TRUE(discovered);
    const auto& db = *reinterpret_cast<const BleHostDatabaseEvent*>(discovered->lParam);
    ASSERT_EQ(db.status, 0);
    const BleHostServiceRecord* access = findService(db, 0x1800);
    ASSERT_NE(access, nullptr);
    uint16_t nameHandle = 0;
    for (uint16_t i = 0; i < access->characteristicCount; ++i) {
        if (access->characteristics[i].uuid.uuid16 == 0x2A00) {
            nameHandle = access->characteristics[i].valueHandle;
        }
    }
    ASSERT_NE(nameHandle, 0);
    if (GetParam().kind == "heartRate") {
        EXPECT_NE(findService(db, 0x180D), nullptr);
    }
    if (GetParam().secured) {
        return;
    }

    ASSERT_EQ(OrvBleClientReadCharByHandle(cid, nameHandle), ORV_BLE_OK);
    const auto read = harness.advanceUntil(BLE_EVT_CHAR_READ);
    ASSERT_TRUE(read);
    const auto& value = *reinterpret_cast<const BleHostReadEvent*>(read->lParam);
    ASSERT_EQ(value.status, 0);
    EXPECT_EQ(std::string(value.value, value.value + value.length), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Peers, BuiltInWorldPeer, ::testing::ValuesIn(builtInPeers()),
                         [](const auto& info) { return info.param.kind; });

} // namespace
} // namespace orv::host::test
