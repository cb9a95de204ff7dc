#include "../HostHarness.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace orv::host::test {
namespace {

using nlohmann::json;

const std::string kLongName = std::string(48, 'a') + "✓✓"; // 54 bytes, the cut falls inside the first ✓

json bondedWorld() {
    json world = basicWorld();
    world["peers"] = json::array({
        {{"address", "00:1A:7D:DA:71:05"}, {"name", "Scale"}, {"appearance", 3200}, {"bonded", true}},
        {{"address", "00:1A:7D:DA:71:06"}, {"name", "Not bonded"}},
        {{"address", "C4:1A:7D:DA:71:0F"}, {"addressType", "random"}, {"name", kLongName}, {"bonded", true}},
        {{"address", "00:1A:7D:DA:71:07"}, {"bonded", true}},
    });
    return world;
}

struct PairedList {
    std::vector<BleHostPairedDevice> entries;
    bool ok = false;
};

PairedList readList() {
    PairedList list;
    uint16_t count = 0;
    BleHostPairedDevice* array = nullptr;
    list.ok = OrvBleHostGetPairedDeviceList(&count, &array) != 0;
    if (list.ok && count > 0) {
        list.entries.assign(array, array + count);
    }
    OrvBleHostFreePairedDeviceList(array);
    return list;
}

class PairedDevices : public ::testing::Test {
protected:
    void SetUp() override {
        harness.load(bondedWorld());
        harness.startHost();
    }
    HostHarness harness;
};

TEST_F(PairedDevices, ListIsSeededFromTheWorldsBondedPeers) {
    const PairedList list = readList();
    ASSERT_TRUE(list.ok);
    ASSERT_EQ(list.entries.size(), 3u);
    EXPECT_STREQ(list.entries[0].name, "Scale");
    EXPECT_EQ(list.entries[0].appearance, 3200);
    EXPECT_EQ(list.entries[0].address.lap, 0xDA7105u);
    EXPECT_EQ(list.entries[1].address.type, 1);
    EXPECT_STREQ(list.entries[2].name, "");
}

TEST_F(PairedDevices, LongNamesAreCutAtACharacterBoundaryAndTerminated) {
    const PairedList list = readList();
    ASSERT_EQ(list.entries.size(), 3u);
    const BleHostPairedDevice& entry = list.entries[1];
    ASSERT_NE(std::memchr(entry.name, '\0', sizeof entry.name), nullptr);
    EXPECT_EQ(std::string(entry.name), std::string(48, 'a'));
}

TEST_F(PairedDevices, UpdatedNameAndAppearanceSurviveDeinitAndReload) {
    BleHostPairedDevice device = readList().entries.at(0);
    std::memset(device.name, 0, sizeof device.name);
    std::strcpy(device.name, "Küchenwaage");
    device.appearance = 3201;
    ASSERT_EQ(OrvBleHostUpdatePairedDeviceList(&device), ORV_BLE_OK);
    EXPECT_STREQ(readList().entries.at(0).name, "Küchenwaage");

    OrvBleHostDeinit();
    const std::string path = harness.bondPath();
    std::string error;
    ASSERT_TRUE(orv::sim::loadWorldJson(bondedWorld().dump(), &error));
    orv::sim::setBondStorePath(path);
    harness.startHost();
    const PairedList list = readList();
    ASSERT_EQ(list.entries.size(), 3u);
    EXPECT_STREQ(list.entries[0].name, "Küchenwaage");
    EXPECT_EQ(list.entries[0].appearance, 3201);
}

TEST_F(PairedDevices, UnterminatedNameFieldIsCutAtACharacterBoundary) {
    BleHostPairedDevice device = readList().entries.at(0);
    const std::string name = std::string(48, 'b') + "✓"; // exactly 51 bytes, no room for the terminator
    ASSERT_EQ(name.size(), sizeof device.name);
    std::memcpy(device.name, name.data(), sizeof device.name);
    ASSERT_EQ(OrvBleHostUpdatePairedDeviceList(&device), ORV_BLE_OK);
    EXPECT_EQ(std::string(readList().entries.at(0).name), std::string(48, 'b'));
}

TEST_F(PairedDevices, UpdateOfAnUnbondedAddressIsRefused) {
    BleHostPairedDevice device = readList().entries.at(0);
    device.address.lap = 0xDA7106;
    EXPECT_EQ(OrvBleHostUpdatePairedDeviceList(&device), ORV_BLE_E_INVALID_ARGUMENT);
    EXPECT_EQ(OrvBleHostUpdatePairedDeviceList(nullptr), ORV_BLE_E_INVALID_ARGUMENT);
}

TEST_F(PairedDevices, FailureHookMakesTheListCallFail) {
    orv::sim::setPairedListFailure(true);
    uint16_t count = 9;
    BleHostPairedDevice* array = nullptr;
    EXPECT_EQ(OrvBleHostGetPairedDeviceList(&count, &array), 0);
    EXPECT_EQ(count, 9);
    EXPECT_EQ(array, nullptr);
    orv::sim::setPairedListFailure(false);
    EXPECT_TRUE(readList().ok);
}

TEST_F(PairedDevices, NullArgumentsFail) {
    uint16_t count = 0;
    BleHostPairedDevice* array = nullptr;
    EXPECT_EQ(OrvBleHostGetPairedDeviceList(nullptr, &array), 0);
    EXPECT_EQ(OrvBleHostGetPairedDeviceList(&count, nullptr), 0);
}

TEST_F(PairedDevices, FreeingAnUnknownOrFreedListIsIgnored) {
    uint16_t count = 0;
    BleHostPairedDevice* array = nullptr;
    ASSERT_NE(OrvBleHostGetPairedDeviceList(&count, &array), 0);
    OrvBleHostFreePairedDeviceList(array);
    OrvBleHostFreePairedDeviceList(array);
    BleHostPairedDevice local{};
    OrvBleHostFreePairedDeviceList(&local);
}

TEST_F(PairedDevices, ListStaysTheCallersAfterDeinit) {
    uint16_t count = 0;
    BleHostPairedDevice* array = nullptr;
    ASSERT_NE(OrvBleHostGetPairedDeviceList(&count, &array), 0);
    OrvBleHostDeinit();
    EXPECT_STREQ(array[0].name, "Scale");
    OrvBleHostFreePairedDeviceList(array);
}

TEST_F(PairedDevices, DebondRemovesTheBondAndSavesTheStore) {
    ASSERT_EQ(OrvBleHostDebond(addressOf("00:1A:7D:DA:71:05")), ORV_BLE_OK);
    EXPECT_TRUE(harness.takeEvents().empty());
    const auto event = harness.advanceUntil(BLE_EVT_DEBOND_RESULT);
    ASSERT_TRUE(event);
    const auto& result = *reinterpret_cast<const BleHostDebondEvent*>(event->lParam);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.address.lap, 0xDA7105u);
    harness.freeAll(harness.takeEvents());
    const PairedList list = readList();
    ASSERT_EQ(list.entries.size(), 2u);
    EXPECT_EQ(list.entries[0].address.lap, 0xDA710Fu);
    std::ifstream in(harness.bondPath());
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text.find("00:1A:7D:DA:71:05"), std::string::npos);
    EXPECT_NE(text.find("C4:1A:7D:DA:71:0F"), std::string::npos);
}

TEST_F(PairedDevices, DebondOfAnUnbondedDeviceFails) {
    BleTypedAddress address = addressOf("00:1A:7D:DA:71:05");
    address.type = 1;
    ASSERT_EQ(OrvBleHostDebond(address), ORV_BLE_OK);
    const auto event = harness.advanceUntil(BLE_EVT_DEBOND_RESULT);
    ASSERT_TRUE(event);
    EXPECT_EQ(reinterpret_cast<const BleHostDebondEvent*>(event->lParam)->status, 1);
    harness.freeAll(harness.takeEvents());
    EXPECT_EQ(readList().entries.size(), 3u);
}

TEST(PairedDevicesEmpty, NoBondsGiveAnEmptySuccessfulList) {
    HostHarness harness;
    harness.load(basicWorld());
    harness.startHost();
    uint16_t count = 5;
    BleHostPairedDevice* array = nullptr;
    EXPECT_NE(OrvBleHostGetPairedDeviceList(&count, &array), 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(array, nullptr);
}

TEST(PairedDevicesBroken, BrokenBondFileGivesAnEmptyListAndIsKept) {
    HostHarness harness;
    harness.load(bondedWorld());
    std::filesystem::create_directories(std::filesystem::path(harness.bondPath()).parent_path());
    {
        std::ofstream out(harness.bondPath());
        out << "{\"bonds\": [";
    }
    harness.startHost();
    ::testing::internal::CaptureStderr();
    const PairedList list = readList();
    const std::string log = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(list.ok);
    EXPECT_TRUE(list.entries.empty());
    EXPECT_NE(log.find("broken"), std::string::npos);
    std::ifstream in(harness.bondPath());
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "{\"bonds\": [");
}

} // namespace
} // namespace orv::host::test
