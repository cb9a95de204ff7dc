#include "host/core/RecordRegistry.h"
#include "../HostHarness.h"

#include <gtest/gtest.h>

namespace orv::host::test {
namespace {

TEST(RecordRegistry, FreesEachRecordOnceAndCountsTheRest) {
    RecordRegistry registry;
    void* record = registry.allocate(2, 64);
    int local = 0;
    EXPECT_EQ(registry.liveCount(), 1u);
    registry.release(2, record);
    EXPECT_EQ(registry.liveCount(), 0u);
    registry.release(2, record);
    registry.release(2, &local);
    EXPECT_EQ(registry.unknownFreeCount(), 2u);
}

TEST(RecordRegistry, RefusesARecordGivenBackUnderAnotherCode) {
    RecordRegistry registry;
    void* record = registry.allocate(263, 16);
    registry.release(265, record);
    EXPECT_EQ(registry.liveCount(), 1u);
    EXPECT_EQ(registry.unknownFreeCount(), 1u);
    registry.release(263, record);
    EXPECT_EQ(registry.liveCount(), 0u);
}

TEST(RecordRegistry, HandsOutZeroFilledRecords) {
    RecordRegistry registry;
    const auto* bytes = static_cast<const uint8_t*>(registry.allocate(2, 100));
    EXPECT_TRUE(std::all_of(bytes, bytes + 100, [](uint8_t b) { return b == 0; }));
}

class HostRecords : public ::testing::Test {
protected:
    void SetUp() override {
        harness.load(basicWorld());
        harness.startHost();
    }
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

TEST_F(HostRecords, CountsLiveRecordsUntilGivenBack) {
    const size_t before = orv::sim::liveRecordCount();
    const PostedEvent event = allocationEvent();
    EXPECT_EQ(orv::sim::liveRecordCount(), before + 1);
    OrvBleHostFreeMessageContents(event.code, event.lParam);
    EXPECT_EQ(orv::sim::liveRecordCount(), before);
}

TEST_F(HostRecords, DoubleFreeIsCountedNotFatal) {
    const PostedEvent event = allocationEvent();
    const size_t unknown = orv::sim::unknownFreeCount();
    OrvBleHostFreeMessageContents(event.code, event.lParam);
    OrvBleHostFreeMessageContents(event.code, event.lParam);
    EXPECT_EQ(orv::sim::unknownFreeCount(), unknown + 1);
}

TEST_F(HostRecords, PlainValueCodesAreAcceptedAndIgnored) {
    const size_t unknown = orv::sim::unknownFreeCount();
    for (uint32_t code : {0u, 1u, 6u, 513u}) {
        OrvBleHostFreeMessageContents(code, 1);
        OrvBleHostFreeMessageContents(code, 0x7FFF1234);
    }
    EXPECT_EQ(orv::sim::unknownFreeCount(), unknown);
}

TEST_F(HostRecords, DeinitReleasesRecordsNeverGivenBack) {
    allocationEvent();
    ASSERT_GT(orv::sim::liveRecordCount(), 0u);
    OrvBleHostDeinit();
    EXPECT_EQ(orv::sim::liveRecordCount(), 0u);
}

TEST_F(HostRecords, RecordRefusedByTheWindowIsReleasedAtOnce) {
    HostHarness::postResult = 0;
    ASSERT_EQ(OrvBleServerAllocDatabase(256), ORV_BLE_OK);
    orv::sim::advance(100);
    ASSERT_EQ(harness.takeEvents().size(), 1u);
    EXPECT_EQ(orv::sim::liveRecordCount(), 0u);
}

TEST(HostNotInitialised, CallsAreHarmlessNoOps) {
    HostHarness harness;
    harness.load(basicWorld());
    EXPECT_EQ(OrvBleHostStartDeviceSearch(0), ORV_BLE_E_NOT_INITIALISED);
    EXPECT_EQ(OrvBleHostStopDeviceSearch(), ORV_BLE_E_NOT_INITIALISED);
    EXPECT_EQ(OrvBleServerAllocDatabase(256), ORV_BLE_E_NOT_INITIALISED);
    EXPECT_EQ(OrvBleServerAddDatabase(1, 0, nullptr), ORV_BLE_E_NOT_INITIALISED);
    BleHostPairedDevice device{};
    EXPECT_EQ(OrvBleHostUpdatePairedDeviceList(&device), ORV_BLE_E_NOT_INITIALISED);
    uint16_t count = 7;
    BleHostPairedDevice* array = nullptr;
    EXPECT_EQ(OrvBleHostGetPairedDeviceList(&count, &array), 0);
    EXPECT_EQ(count, 7);
    EXPECT_EQ(OrvBleHostStartWnd(HostHarness::window()), 0);
    OrvBleHostDeinit();
    OrvBleHostFreeMessageContents(2, 0);
    orv::sim::advance(10000);
    EXPECT_TRUE(harness.takeEvents().empty());
}

} // namespace
} // namespace orv::host::test
