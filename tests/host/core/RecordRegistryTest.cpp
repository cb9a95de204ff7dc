#include "../HostHarness.h"

#include <gtest/gtest.h>

namespace orv::host::test {
namespace {

class HostRecords : public ::testing::Test {
protected:
    void SetUp() override { harness.start(basicWorld()); }
    // One record event: the allocation answer of the local database.
    PostedEvent allocationEvent() {
        EXPECT_EQ(OrvBleServerAllocDatabase(256), ORV_BLE_OK);
        orv::sim::advance(100);
        auto events = harness.takeEvents();
        EXPECT_EQ(events.size(), 1u);
        return events.at(0);
    }
    HostHarness harness;
};

TEST_F(HostRecords, AreCountedUntilGivenBackOnceUnderTheirCode) {
    const size_t unknown = orv::sim::unknownFreeCount();
    const PostedEvent event = allocationEvent();
    EXPECT_EQ(orv::sim::liveRecordCount(), 1u);
    OrvBleHostFreeMessageContents(BLE_EVT_CHAR_READ, event.lParam);
    EXPECT_EQ(orv::sim::liveRecordCount(), 1u) << "another code is refused";
    OrvBleHostFreeMessageContents(event.code, event.lParam);
    EXPECT_EQ(orv::sim::liveRecordCount(), 0u);
    OrvBleHostFreeMessageContents(event.code, event.lParam);
    int local = 0;
    OrvBleHostFreeMessageContents(event.code, reinterpret_cast<intptr_t>(&local));
    EXPECT_EQ(orv::sim::unknownFreeCount(), unknown + 3);
    for (uint32_t code : {0u, 1u, 6u, 513u}) {
        OrvBleHostFreeMessageContents(code, 0x7FFF1234);
    }
    OrvBleHostFreeMessageContents(BLE_EVT_CHAR_READ, 0);
    EXPECT_EQ(orv::sim::unknownFreeCount(), unknown + 3) << "plain values and null are accepted";
}

TEST_F(HostRecords, AreZeroFilledAndReleasedByDeinitOrAtOnceWhenTheWindowRefusesThem) {
    EXPECT_EQ(record<BleHostServerAllocEvent>(allocationEvent()).reserved, 0);
    OrvBleHostDeinit();
    EXPECT_EQ(orv::sim::liveRecordCount(), 0u);
    harness.startHost();
    HostHarness::postResult = 0;
    allocationEvent();
    EXPECT_EQ(orv::sim::liveRecordCount(), 0u);
}

TEST(HostNotInitialised, CallsAreHarmlessNoOps) {
    HostHarness harness;
    harness.load(basicWorld());
    const BleTypedAddress peer = addressOf("AA:BB:CC:DD:EE:01");
    BleHostPairedDevice device{};
    const OrvBleResult results[] = {OrvBleHostStartDeviceSearch(0),
                                    OrvBleHostStopDeviceSearch(),
                                    OrvBleServerAllocDatabase(256),
                                    OrvBleServerAddDatabase(1, 0, nullptr),
                                    OrvBleClientReadCharByHandle(0x40, 3),
                                    OrvBleHostConnect(peer),
                                    OrvBleHostUpdatePairedDeviceList(&device),
                                    OrvBleHostSetEncryption(0x40, 1),
                                    OrvBleHostJustWorksResult(peer, 1, 1),
                                    OrvBleHostPasskeyNotificationResult(peer, 1),
                                    OrvBleHostCancelBonding(peer),
                                    OrvBleHostCancel(),
                                    OrvBleHostChangeSecurityLevel(1)};
    for (size_t i = 0; i < std::size(results); ++i)
        EXPECT_EQ(results[i], ORV_BLE_E_NOT_INITIALISED) << "call " << i;
    uint16_t count = 7;
    BleHostPairedDevice* array = nullptr;
    EXPECT_EQ(OrvBleHostGetPairedDeviceList(&count, &array), 0);
    EXPECT_EQ(count, 7);
    OrvBleHostDeinit();
    orv::sim::advance(10000);
    EXPECT_TRUE(HostHarness::posted.empty());
}

} // namespace
} // namespace orv::host::test
