// The SC Control Point of the simulated foot pod and bike sensor: what it refuses, and each request's
// answer, indicated after the write's response.
#include "../HostHarness.h"

#include <gtest/gtest.h>

namespace orv::host::test {
namespace {

const std::string kPod = "00:1A:7D:DA:72:08";
const std::string kBike = "00:1A:7D:DA:72:07";
const std::string kBothPod = "00:1A:7D:DA:72:18";
const std::string kBothBike = "00:1A:7D:DA:72:17";
// Both sensors' databases: 11 Sensor Location, 13 SC Control Point with 14 its configuration.
constexpr uint16_t kLocation = 11;
constexpr uint16_t kControlPoint = 13;

// Both services, running first: Sensor Locations 6 and 15, SC Control Points 8 and 17, each with its
// configuration after it.
nlohmann::json bothServices() {
    const auto service = [](const char* uuid, const char* measurement, const char* location) {
        return nlohmann::json{{"uuid", uuid},
                              {"characteristics",
                               {{{"uuid", measurement}, {"properties", {"notify"}}},
                                {{"uuid", "2A5D"}, {"value", location}},
                                {{"uuid", "2A55"}, {"properties", {"write", "indicate"}}}}}};
    };
    return {service("1814", "2A53", "02"), service("1816", "2A5B", "0C")};
}

nlohmann::json sensorsWorld() {
    nlohmann::json world = basicWorld();
    world["peers"] =
        nlohmann::json::array({{{"kind", "running"}, {"address", kPod}, {"name", "Pod"}},
                               {{"kind", "cycling"}, {"address", kBike}, {"name", "Bike"}},
                               {{"kind", "running"}, {"address", kBothPod}, {"gatt", bothServices()}},
                               {{"kind", "cycling"}, {"address", kBothBike}, {"gatt", bothServices()}}});
    return world;
}

// The write's result, then the control point's indication if there is one.
std::vector<Received> answered(uint8_t status, const Bytes& indication = {},
                               uint16_t controlPoint = kControlPoint) {
    std::vector<Received> answer{{0, {status}}};
    if (!indication.empty())
        answer.push_back({controlPoint, indication});
    return answer;
}

class ScControlPointTest : public HostTest {
protected:
    void SetUp() override { harness.start(sensorsWorld()); }
    // Connects and, unless controlPoint is 0, switches its indications on.
    void open(const std::string& peer, uint16_t controlPoint = kControlPoint) {
        cid = harness.connect(peer);
        if (controlPoint != 0) {
            ASSERT_EQ(harness.configure(cid, controlPoint + 1, 2), 0);
        }
    }
    std::vector<Received> request(const Bytes& value, uint16_t controlPoint = kControlPoint) {
        harness.send(cid, controlPoint, value);
        return harness.receive(500);
    }
};

TEST_F(ScControlPointTest, RefusesWithoutIndicationsAndWhileARequestIsUnanswered) {
    open(kPod, 0);
    EXPECT_EQ(request({0x04}), answered(0x81));
    open(kBike);
    ASSERT_TRUE(orv::sim::setControlPointsUnanswered(kBike, true));
    EXPECT_EQ(request({0x04}), answered(0));
    EXPECT_EQ(request({0x04}), answered(0x80));
}

struct Case {
    const char* name;
    const std::string* peer;
    bool failing;
    Bytes request;
    Bytes indication; // empty: none
    uint8_t location; // Sensor Location afterwards
    uint16_t controlPoint = kControlPoint;
    uint16_t locationHandle = kLocation;
};

class ScControlPointAnswers : public ScControlPointTest, public ::testing::WithParamInterface<Case> {};

TEST_P(ScControlPointAnswers, AnswerFollowsTheWriteResponse) {
    const Case& c = GetParam();
    open(*c.peer, c.controlPoint);
    ASSERT_TRUE(orv::sim::setControlPointsFailing(*c.peer, c.failing));
    EXPECT_EQ(request(c.request, c.controlPoint), answered(0, c.indication, c.controlPoint));
    EXPECT_EQ(harness.read(cid, c.locationHandle), (ReadResult{0, {c.location}}));
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
        Case{"MoveToOther", &kBike, false, {0x03, 0x00}, {0x10, 0x03, 0x03}, 12},
        Case{"MoveWithoutLocation", &kBike, false, {0x03}, {0x10, 0x03, 0x03}, 12},
        Case{"PodLocations", &kPod, false, {0x04}, {0x10, 0x04, 0x01, 1, 2, 3}, 2},
        Case{"BikeLocations", &kBike, false, {0x04}, {0x10, 0x04, 0x01, 4, 5, 6, 12}, 12},
        Case{"UnknownOpCode", &kBike, false, {0x10}, {0x10, 0x10, 0x02}, 12},
        Case{"Failing", &kBike, true, {0x03, 0x04}, {0x10, 0x03, 0x04}, 12},
        // Sensors listing both services answer from their own and leave the other to the world.
        Case{"BothBikeLocations", &kBothBike, false, {0x04}, {0x10, 0x04, 0x01, 4, 5, 6, 12}, 12, 17, 15},
        Case{"BothBikeMovesItsOwn", &kBothBike, false, {0x03, 0x05}, {0x10, 0x03, 0x01}, 5, 17, 15},
        Case{"BothBikeLeavesTheRunningOne", &kBothBike, false, {0x03, 0x02}, {}, 2, 8, 6},
        Case{"BothPodMovesItsOwn", &kBothPod, false, {0x03, 0x03}, {0x10, 0x03, 0x01}, 3, 8, 6},
        Case{"BothPodLeavesTheCyclingOne", &kBothPod, false, {0x03, 0x05}, {}, 12, 17, 15}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace orv::host::test
