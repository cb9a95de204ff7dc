#include "host/sim/AttServer.h"
#include "host/sim/GattText.h"
#include "host/sim/peers/PeerModel.h"

#include <gtest/gtest.h>

#include <utility>

namespace orv::sim {
namespace {

using Bytes = std::vector<uint8_t>;

// Records what the server tells it and refuses value writes with refusal.
class RecordingModel : public PeerModel {
public:
    std::vector<GattServiceDescription> baseDatabase() const override { return {}; }
    uint8_t onWrite(uint16_t handle, std::span<const uint8_t> value) override {
        writes.emplace_back(handle, Bytes(value.begin(), value.end()));
        return refusal;
    }
    void onConfiguration(uint16_t valueHandle, uint16_t configuration) override {
        configurations.emplace_back(valueHandle, configuration);
    }

    uint8_t refusal = 0;
    std::vector<std::pair<uint16_t, Bytes>> writes;
    std::vector<std::pair<uint16_t, uint16_t>> configurations;
};

// Handles: 1 service; 2 declaration, 3 value (write, write without response, notify, "ab"),
// 4 its configuration, 5 a user description.
AttServer serverWith(RecordingModel& model) {
    GattCharacteristicDescription value;
    value.uuid = *parseUuid("FFF1");
    value.properties = 0x1C;
    value.value = {'a', 'b'};
    value.descriptors = {{*parseUuid("2902"), {0, 0}}, {*parseUuid("2901"), {'d'}}};
    GattServiceDescription service;
    service.uuid = *parseUuid("FFF0");
    service.characteristics = {value};
    AttServer server(buildAttributeTable({service}));
    server.setModel(&model);
    return server;
}

TEST(PeerModelHook, AcceptedWriteIsStoredAfterTheModelSawIt) {
    RecordingModel model;
    AttServer server = serverWith(model);
    EXPECT_EQ(server.handle(Bytes{0x12, 0x03, 0x00, 0x07, 0x08}), Bytes{0x13});
    ASSERT_EQ(model.writes.size(), 1u);
    EXPECT_EQ(model.writes[0], std::make_pair(uint16_t{3}, Bytes{0x07, 0x08}));
    EXPECT_EQ(server.attribute(3)->value, (Bytes{0x07, 0x08}));
}

TEST(PeerModelHook, RefusedWriteAnswersTheModelsErrorAndKeepsTheValue) {
    RecordingModel model;
    model.refusal = 0x80;
    AttServer server = serverWith(model);
    EXPECT_EQ(server.handle(Bytes{0x12, 0x03, 0x00, 0x07}), (Bytes{0x01, 0x12, 0x03, 0x00, 0x80}));
    EXPECT_EQ(server.attribute(3)->value, (Bytes{'a', 'b'}));
}

TEST(PeerModelHook, RefusedWriteCommandKeepsTheValue) {
    RecordingModel model;
    model.refusal = 0x80;
    AttServer server = serverWith(model);
    EXPECT_EQ(server.handle(Bytes{0x52, 0x03, 0x00, 0x07}), std::nullopt);
    EXPECT_EQ(model.writes.size(), 1u);
    EXPECT_EQ(server.attribute(3)->value, (Bytes{'a', 'b'}));
}

TEST(PeerModelHook, RefusedPreparedWriteAnswersAtExecutionAndKeepsTheValue) {
    RecordingModel model;
    model.refusal = 0x81;
    AttServer server = serverWith(model);
    ASSERT_EQ(server.handle(Bytes{0x16, 0x03, 0x00, 0x00, 0x00, 'x'})->at(0), 0x17);
    ASSERT_EQ(server.handle(Bytes{0x16, 0x03, 0x00, 0x01, 0x00, 'y'})->at(0), 0x17);
    EXPECT_EQ(server.handle(Bytes{0x18, 0x01}), (Bytes{0x01, 0x18, 0x03, 0x00, 0x81}));
    ASSERT_EQ(model.writes.size(), 1u);
    EXPECT_EQ(model.writes[0].second, (Bytes{'x', 'y'})); // the model judges the whole value
    EXPECT_EQ(server.attribute(3)->value, (Bytes{'a', 'b'}));
}

TEST(PeerModelHook, ConfigurationWriteReachesTheModelWithTheValueHandle) {
    RecordingModel model;
    AttServer server = serverWith(model);
    EXPECT_EQ(server.handle(Bytes{0x12, 0x04, 0x00, 0x01, 0x00}), Bytes{0x13});
    EXPECT_EQ(server.handle(Bytes{0x12, 0x04, 0x00, 0x00, 0x00}), Bytes{0x13});
    EXPECT_TRUE(model.writes.empty()); // descriptors are not values
    EXPECT_EQ(model.configurations, (std::vector<std::pair<uint16_t, uint16_t>>{{uint16_t{3}, uint16_t{1}},
                                                                                {uint16_t{3}, uint16_t{0}}}));
}

TEST(PeerModelHook, MalformedConfigurationNeverReachesTheModel) {
    RecordingModel model;
    AttServer server = serverWith(model);
    EXPECT_EQ(server.handle(Bytes{0x12, 0x04, 0x00, 0x01}), (Bytes{0x01, 0x12, 0x04, 0x00, 0x0D}));
    EXPECT_TRUE(model.configurations.empty());
}

TEST(PeerModelHook, OtherDescriptorWritesAreNotConfigurations) {
    RecordingModel model;
    AttServer server = serverWith(model);
    server.handle(Bytes{0x12, 0x05, 0x00, 0x01, 0x00});
    EXPECT_TRUE(model.configurations.empty());
    EXPECT_TRUE(model.writes.empty());
}

} // namespace
} // namespace orv::sim
