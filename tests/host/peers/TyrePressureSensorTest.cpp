// The simulated tyre sensor: its leak and temperature, the values it accepts, and the removal of its
// pairing.
#include "../HostHarness.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace orv::host::test {
namespace {

const std::string kSensor = "00:1A:7D:DA:71:10";
// The sensor's own database: 6 pressure with 7 its configuration, 9 blow-out threshold, 11
// discoverability, 13 wheel position, 15 temperature with 16 its configuration, 19 pairing removal.
constexpr uint16_t kPressure = 6, kPressureConfig = 7, kThreshold = 9, kDiscoverability = 11, kPosition = 13,
                   kTemperature = 15, kTemperatureConfig = 16, kPairingRemoval = 19;

class TyrePressureSensor : public HostTest {
protected:
    void SetUp() override {
        nlohmann::json world = basicWorld();
        world["peers"] = nlohmann::json::array(
            {{{"kind", "tyrePressure"}, {"address", kSensor}, {"name", "Tyre"}, {"bonded", true}}});
        harness.start(world);
        cid = harness.connect(kSensor);
    }
    // Switches notifications of the value on at configuration.
    void subscribe(uint16_t configuration) {
        ASSERT_EQ(OrvBleClientWriteConfiguration(cid, configuration, 0, 1), ORV_BLE_OK);
        ASSERT_TRUE(harness.advanceUntil(BLE_EVT_CHAR_WRITTEN));
        harness.freeQueued();
    }
    // The values notified on handle during ms, with the virtual time of each.
    std::vector<std::pair<Bytes, uint64_t>> notified(uint16_t handle, uint64_t ms) {
        orv::sim::advance(ms);
        std::vector<std::pair<Bytes, uint64_t>> values;
        for (const PostedEvent& event : harness.eventsWithCode(BLE_EVT_NOTIFICATION)) {
            const auto& n = record<BleHostNotificationEvent>(event);
            if (n.handle == handle)
                values.emplace_back(Bytes(n.value, n.value + n.length), event.at);
        }
        harness.freeQueued();
        return values;
    }
};

TEST_F(TyrePressureSensor, ThePressureLeaksTwoKpaEveryTwoSecondsDownTo170AndIsRefilled) {
    EXPECT_EQ(harness.read(cid, kPressure), (ReadResult{0, {230, 0}}));
    EXPECT_EQ(harness.read(cid, kDiscoverability).value.size(), 1u);
    subscribe(kPressureConfig);
    const auto values = notified(kPressure, 70000);
    ASSERT_GE(values.size(), 33u);
    std::vector<int> kpa;
    for (size_t i = 0; i < values.size(); ++i) {
        kpa.push_back(values[i].first.at(0) | values[i].first.at(1) << 8);
        if (i > 0) {
            EXPECT_EQ(values[i].second - values[i - 1].second, 2000u);
        }
    }
    const auto flat = std::find(kpa.begin(), kpa.end(), 170);
    ASSERT_NE(flat, kpa.end());
    for (auto step = kpa.begin(); step != flat; ++step)
        EXPECT_EQ(*step - *(step + 1), 2);
    EXPECT_EQ(*(flat + 1), 230);
    EXPECT_EQ(harness.read(cid, kPressure).value, values.back().first) << "a read gives the latest value";
}

TEST_F(TyrePressureSensor, TheTemperatureWandersBelowZeroAtTimes) {
    subscribe(kTemperatureConfig);
    int coldest = 127, warmest = -128;
    for (const auto& [value, at] : notified(kTemperature, 600000)) {
        ASSERT_EQ(value.size(), 1u);
        coldest = std::min<int>(coldest, static_cast<int8_t>(value[0]));
        warmest = std::max<int>(warmest, static_cast<int8_t>(value[0]));
    }
    EXPECT_LT(coldest, 0);
    EXPECT_GE(coldest, -6);
    EXPECT_LE(warmest, 12);
}

TEST_F(TyrePressureSensor, ThresholdAndPositionTakeOnlyTheirRangeAndLength) {
    const std::tuple<const char*, uint16_t, Bytes, uint16_t> rows[] = {
        {"lowest threshold", kThreshold, {69, 0}, 0},
        {"highest threshold", kThreshold, {207, 0}, 0},
        {"threshold too low", kThreshold, {68, 0}, 0x13},
        {"threshold too high", kThreshold, {208, 0}, 0x13},
        {"threshold of one byte", kThreshold, {100}, 0x0D},
        {"threshold of three bytes", kThreshold, {100, 0, 0}, 0x0D},
        {"front left", kPosition, {1}, 0},
        {"spare", kPosition, {5}, 0},
        {"unknown", kPosition, {0xFF}, 0},
        {"position 0", kPosition, {0}, 0x13},
        {"position 6", kPosition, {6}, 0x13},
        {"position of two bytes", kPosition, {1, 0}, 0x0D},
        {"pairing removal other than 1", kPairingRemoval, {2}, 0x13},
        {"empty pairing removal", kPairingRemoval, {}, 0x0D},
    };
    for (const auto& [name, handle, value, status] : rows)
        EXPECT_EQ(harness.write(cid, handle, value), status) << name;
    EXPECT_EQ(harness.read(cid, kPosition).value, Bytes{0xFF}) << "a refused value is not kept";
    EXPECT_EQ(harness.read(cid, kThreshold).value, (Bytes{207, 0}));
}

TEST_F(TyrePressureSensor, RemovingThePairingMakesTheSensorPairAgain) {
    EXPECT_EQ(harness.write(cid, kPairingRemoval, {0x01}), 0);
    cid = harness.reconnect(cid, kSensor);
    ASSERT_EQ(OrvBleHostSetEncryption(cid, 1), ORV_BLE_OK);
    orv::sim::advance(2000);
    EXPECT_EQ(harness.codes(), std::vector<uint32_t>{BLE_EVT_JUST_WORKS_REQUEST});
}

} // namespace
} // namespace orv::host::test
