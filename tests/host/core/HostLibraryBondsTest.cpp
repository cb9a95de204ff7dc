#include "../HostHarness.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

namespace orv::host::test {
namespace {

using nlohmann::json;

const std::string kLongName = std::string(48, 'a') + "✓✓"; // 54 bytes, the cut falls inside the first ✓

json bondedWorld() {
    json world = basicWorld();
    world["peers"] = json::parse(R"([
        {"address": "00:1A:7D:DA:71:05", "name": "Scale", "appearance": 3200, "bonded": true},
        {"address": "00:1A:7D:DA:71:06", "name": "Not bonded"},
        {"address": "C4:1A:7D:DA:71:0F", "addressType": "random", "name": ")" +
                                 kLongName + R"(", "bonded": true},
        {"address": "00:1A:7D:DA:71:07", "bonded": true}])");
    return world;
}

class PairedDevices : public HostTest {
protected:
    void SetUp() override { harness.start(bondedWorld()); }
};

TEST_F(PairedDevices, ListIsSeededFromTheWorldsBondedPeersWithNamesCutToTheField) {
    const auto list = harness.pairedDevices();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_STREQ(list[0].name, "Scale");
    EXPECT_EQ(list[0].appearance, 3200);
    EXPECT_EQ(list[0].address.lap, 0xDA7105u);
    EXPECT_EQ(list[1].address.type, 1);
    ASSERT_NE(std::memchr(list[1].name, '\0', sizeof list[1].name), nullptr);
    EXPECT_EQ(std::string(list[1].name), std::string(48, 'a')) << "cut at a character boundary";
    EXPECT_STREQ(list[2].name, "");
}

TEST_F(PairedDevices, UpdateTakesTheAppearanceAndAnUnterminatedNameToTheFieldAndNeedsABond) {
    BleHostPairedDevice device = harness.pairedDevices().at(0);
    const std::string name = std::string(48, 'b') + "✓"; // exactly 51 bytes, no room for the terminator
    ASSERT_EQ(name.size(), sizeof device.name);
    std::memcpy(device.name, name.data(), sizeof device.name);
    device.appearance = 3201;
    ASSERT_EQ(OrvBleHostUpdatePairedDeviceList(&device), ORV_BLE_OK);
    EXPECT_EQ(std::string(harness.pairedDevices().at(0).name), std::string(48, 'b'));
    EXPECT_EQ(harness.pairedDevices().at(0).appearance, 3201);
    device.address.lap = 0xDA7106;
    EXPECT_EQ(OrvBleHostUpdatePairedDeviceList(&device), ORV_BLE_E_INVALID_ARGUMENT);
    EXPECT_EQ(OrvBleHostUpdatePairedDeviceList(nullptr), ORV_BLE_E_INVALID_ARGUMENT);
}

TEST_F(PairedDevices, ListCallFailsWithoutTouchingItsArgumentsAndFreesOnlyWhatItHandedOut) {
    uint16_t count = 9;
    BleHostPairedDevice* array = nullptr;
    EXPECT_EQ(OrvBleHostGetPairedDeviceList(nullptr, &array), 0);
    EXPECT_EQ(OrvBleHostGetPairedDeviceList(&count, nullptr), 0);
    orv::sim::setPairedListFailure(true);
    EXPECT_EQ(OrvBleHostGetPairedDeviceList(&count, &array), 0);
    EXPECT_EQ(count, 9);
    EXPECT_EQ(array, nullptr);
    orv::sim::setPairedListFailure(false);
    ASSERT_EQ(OrvBleHostGetPairedDeviceList(&count, &array), 1);
    OrvBleHostDeinit();
    EXPECT_STREQ(array[0].name, "Scale") << "the list stays the caller's";
    OrvBleHostFreePairedDeviceList(array);
    OrvBleHostFreePairedDeviceList(array);
    BleHostPairedDevice local{};
    OrvBleHostFreePairedDeviceList(&local);
    harness.start(basicWorld());
    EXPECT_EQ(OrvBleHostGetPairedDeviceList(&count, &array), 1);
    EXPECT_EQ(count, 0) << "no bonds: an empty list";
    EXPECT_EQ(array, nullptr);
}

TEST_F(PairedDevices, DebondRemovesTheBondOfThatAddressAndTypeAndSavesTheStore) {
    for (const auto& [address, status] :
         {std::pair(addressOf("00:1A:7D:DA:71:05", 1), 1), std::pair(addressOf("00:1A:7D:DA:71:05"), 0)}) {
        ASSERT_EQ(OrvBleHostDebond(address), ORV_BLE_OK);
        EXPECT_TRUE(HostHarness::posted.empty());
        const auto event = harness.advanceUntil(BLE_EVT_DEBOND_RESULT);
        ASSERT_TRUE(event);
        EXPECT_EQ(record<BleHostDebondEvent>(*event).status, status);
        harness.freeQueued();
    }
    const auto list = harness.pairedDevices();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].address.lap, 0xDA710Fu);
    std::ifstream in(harness.bondPath());
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text.find("00:1A:7D:DA:71:05"), std::string::npos);
    EXPECT_NE(text.find("C4:1A:7D:DA:71:0F"), std::string::npos);
}

} // namespace
} // namespace orv::host::test
