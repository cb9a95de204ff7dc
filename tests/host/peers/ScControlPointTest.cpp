// The SC Control Point of the simulated foot pod and bike sensor: what it refuses, and each request's
// answer, indicated after the write's response.
#include "../HostHarness.h"

#include <gtest/gtest.h>

namespace orv::host::test {
namespace {

const std::string kPod = "00:1A:7D:DA:72:08";
const std::string kBike = "00:1A:7D:DA:72:07";
// Both sensors' databases: 11 Sensor Location, 13 SC Control Point with 14 its configuration.
constexpr uint16_t kLocation = 11;
constexpr uint16_t kControlPoint = 13;
constexpr uint16_t kConfiguration = 14;

nlohmann::json sensorsWorld() {
    nlohmann::json world = basicWorld();
    world["peers"] = nlohmann::json::array({{{"kind", "running"}, {"address", kPod}, {"name", "Pod"}},
                                            {{"kind", "cycling"}, {"address", kBike}, {"name", "Bike"}}});
    return world;
}

struct Answer {
    uint16_t status = 0xFFFF;
    std::vector<Bytes> indications; // those that came after the write's result
    bool operator==(const Answer&) const = default;
};

class ScControlPointTest : public HostTest {
protected:
    void SetUp() override { harness.start(sensorsWorld()); }
    void open(const std::string& peer, bool indications = true) {
        cid = harness.connect(peer);
        harness.freeQueued();
        if (indications) {
            ASSERT_EQ(OrvBleClientWriteConfiguration(cid, kConfiguration, kControlPoint, 2), ORV_BLE_OK);
            ASSERT_TRUE(harness.advanceUntil(BLE_EVT_CHAR_WRITTEN));
            harness.freeQueued();
        }
    }
    Answer request(const Bytes& value) {
        EXPECT_EQ(OrvBleClientWriteCfmCharByHandle(cid, kControlPoint, 0, static_cast<uint8_t>(value.size()),
                                                   value.data()),
                  ORV_BLE_OK);
        orv::sim::advance(500);
        Answer answer;
        for (const PostedEvent& event : harness.takeEvents()) {
            if (event.code == BLE_EVT_CHAR_WRITTEN) {
                answer.status = record<BleHostWriteEvent>(event).status;
            } else if (event.code == BLE_EVT_NOTIFICATION && answer.status != 0xFFFF) {
                const auto& indication = record<BleHostNotificationEvent>(event);
                EXPECT_EQ(indication.handle, kControlPoint);
                answer.indications.emplace_back(indication.value, indication.value + indication.length);
            }
            harness.freeAll({event});
        }
        return answer;
    }
};

TEST_F(ScControlPointTest, RefusesWithoutIndicationsAndWhileARequestIsUnanswered) {
    open(kPod, false);
    EXPECT_EQ(request({0x04}), (Answer{0x81, {}}));
    open(kBike);
    ASSERT_TRUE(orv::sim::setControlPointsUnanswered(kBike, true));
    EXPECT_EQ(request({0x04}), (Answer{0, {}}));
    EXPECT_EQ(request({0x04}), (Answer{0x80, {}}));
}

struct Case {
    const char* name;
    const std::string* peer;
    bool failing;
    Bytes request;
    Bytes indication;
    uint8_t location; // Sensor Location afterwards
};

class ScControlPointAnswers : public ScControlPointTest, public ::testing::WithParamInterface<Case> {};

TEST_P(ScControlPointAnswers, AnswerFollowsTheWriteResponse) {
    const Case& c = GetParam();
    open(*c.peer);
    ASSERT_TRUE(orv::sim::setControlPointsFailing(*c.peer, c.failing));
    EXPECT_EQ(request(c.request), (Answer{0, {c.indication}}));
    EXPECT_EQ(harness.read(cid, kLocation), (ReadResult{0, {c.location}}));
}

INSTANTIATE_TEST_SUITE_P(
    Requests, ScControlPointAnswers,
    ::testing::Values(
        Case{"SetDistance", &kPod, false, {0x01, 0x48, 0xE8, 0x01, 0x00}, {0x10, 0x01, 0x01}, 2},
        Case{"SetWithoutValue", &kPod, false, {0x01, 0x48}, {0x10, 0x01, 0x03}, 2},
        Case{"CalibrateWalking", &kPod, false, {0x02}, {0x10, 0x02, 0x01}, 2},
        Case{"BikeCannotCalibrate", &kBike, false, {0x02}, {0x10, 0x02, 0x02}, 12},
        Case{"MoveToHip", &kPod, false, {0x03, 0x03}, {0x10, 0x03, 0x01}, 3},
        Case{"MoveOffTheList", &kPod, false, {0x03, 0x04}, {0x10, 0x03, 0x03}, 2},
        Case{"MoveWithoutLocation", &kBike, false, {0x03}, {0x10, 0x03, 0x03}, 12},
        Case{"PodLocations", &kPod, false, {0x04}, {0x10, 0x04, 0x01, 1, 2, 3}, 2},
        Case{"BikeLocations", &kBike, false, {0x04}, {0x10, 0x04, 0x01, 4, 5, 6, 12}, 12},
        Case{"UnknownOpCode", &kBike, false, {0x10}, {0x10, 0x10, 0x02}, 12},
        Case{"Failing", &kBike, true, {0x03, 0x04}, {0x10, 0x03, 0x04}, 12}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace orv::host::test
