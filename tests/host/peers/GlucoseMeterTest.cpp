// The simulated glucose meter's Record Access Control Point, and indications held until confirmed.
#include "../HostHarness.h"

#include <gtest/gtest.h>

namespace orv::host::test {
namespace {

using Bytes = std::vector<uint8_t>;

const char* const kMeter = "00:1A:7D:DA:71:03";
// The meter's database: 3 Device Name; 6, 8, 10 Device Information; 13 Measurement (14 its
// configuration), 16 Context (17), 19 Feature, 21 Record Access Control Point (22).
constexpr uint16_t kMeasurement = 13, kContext = 16, kControlPoint = 21;

struct Received {
    uint16_t handle;
    Bytes value;
};

class GlucoseMeterTest : public ::testing::Test {
protected:
    void SetUp() override {
        nlohmann::json world = basicWorld();
        world["peers"] = {{{"kind", "glucose"}, {"address", kMeter}, {"name", "Meter"}}};
        harness.load(world);
        harness.startHost();
        cid = harness.connect(kMeter);
        ASSERT_EQ(OrvBleHostSetEncryption(cid, 1), ORV_BLE_OK);
        ASSERT_TRUE(harness.advanceUntil(BLE_EVT_JUST_WORKS_REQUEST));
        ASSERT_EQ(OrvBleHostJustWorksResult(addressOf(kMeter), 1, 1), ORV_BLE_OK);
        ASSERT_TRUE(harness.advanceUntil(BLE_EVT_ENCRYPTION_RESULT));
        for (const auto& [configuration, value] : {std::pair{14, 1}, {17, 1}, {22, 2}}) {
            configure(configuration, value);
        }
    }
    void TearDown() override { harness.freeAll(harness.takeEvents()); }

    void configure(uint16_t configuration, uint32_t value) {
        ASSERT_EQ(OrvBleClientWriteConfiguration(cid, configuration, 0, value), ORV_BLE_OK);
        ASSERT_TRUE(harness.advanceUntil(BLE_EVT_CHAR_WRITTEN));
        harness.freeAll(harness.takeEvents());
    }
    // Writes the request and returns the write's status; the events after the result stay queued.
    uint16_t write(const Bytes& request) {
        EXPECT_EQ(OrvBleClientWriteCfmCharByHandle(cid, kControlPoint, 0,
                                                   static_cast<uint8_t>(request.size()), request.data()),
                  ORV_BLE_OK);
        const auto written = harness.advanceUntil(BLE_EVT_CHAR_WRITTEN);
        if (!written) {
            return 0xFFFF;
        }
        const uint16_t status = record<BleHostWriteEvent>(*written).status;
        std::erase_if(HostHarness::posted, [&](const PostedEvent& e) { return e.lParam == written->lParam; });
        OrvBleHostFreeMessageContents(written->code, written->lParam);
        return status;
    }
    // Advances ms and returns what was written and notified or indicated since the last call.
    std::vector<Received> take(uint64_t ms = 10000) {
        orv::sim::advance(ms);
        std::vector<Received> received;
        const auto events = harness.takeEvents();
        for (const PostedEvent& event : events) {
            if (event.code == BLE_EVT_NOTIFICATION) {
                const auto& n = record<BleHostNotificationEvent>(event);
                received.push_back({n.handle, Bytes(n.value, n.value + n.length)});
            } else if (event.code == BLE_EVT_CHAR_WRITTEN) {
                received.push_back({0, {}});
            }
        }
        harness.freeAll(events);
        return received;
    }
    // The answer to request: the sequence numbers of the measurements reported and the indication.
    std::pair<std::vector<int>, Bytes> ask(const Bytes& request) {
        EXPECT_EQ(write(request), 0);
        std::pair<std::vector<int>, Bytes> answer;
        for (const Received& r : take()) {
            if (r.handle == kMeasurement) {
                answer.first.push_back(r.value.at(1) | r.value.at(2) << 8);
            } else if (r.handle == kControlPoint) {
                answer.second = r.value;
            }
        }
        return answer;
    }

    HostHarness harness;
    uint32_t cid = 0;
};

TEST_F(GlucoseMeterTest, OperatorsSelectBySequenceNumberAndRefusalsCarryTheirCodes) {
    const std::vector<int> all = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    const std::tuple<Bytes, std::vector<int>, Bytes> cases[] = {
        {{0x01, 0x01}, all, {0x06, 0x00, 0x01, 0x01}},
        {{0x01, 0x02, 0x01, 0x03, 0x00}, {1, 2, 3}, {0x06, 0x00, 0x01, 0x01}},
        {{0x01, 0x03, 0x01, 0x0B, 0x00}, {11, 12}, {0x06, 0x00, 0x01, 0x01}},
        {{0x01, 0x04, 0x01, 0x04, 0x00, 0x06, 0x00}, {4, 5, 6}, {0x06, 0x00, 0x01, 0x01}},
        {{0x01, 0x05}, {1}, {0x06, 0x00, 0x01, 0x01}},
        {{0x01, 0x06}, {12}, {0x06, 0x00, 0x01, 0x01}},
        {{0x04, 0x01}, {}, {0x05, 0x00, 0x0C, 0x00}},
        {{0x04, 0x03, 0x01, 0x0A, 0x00}, {}, {0x05, 0x00, 0x03, 0x00}},
        {{0x04, 0x03, 0x01, 0x20, 0x00}, {}, {0x05, 0x00, 0x00, 0x00}},
        {{0x01, 0x03, 0x01, 0x20, 0x00}, {}, {0x06, 0x00, 0x01, 0x06}}, // no records found
        {{0x02, 0x04, 0x01, 0x20, 0x00, 0x30, 0x00}, {}, {0x06, 0x00, 0x02, 0x06}},
        {{0x01, 0x00}, {}, {0x06, 0x00, 0x01, 0x03}}, // invalid operator
        {{0x04}, {}, {0x06, 0x00, 0x04, 0x03}},
        {{0x01, 0x07}, {}, {0x06, 0x00, 0x01, 0x04}},                               // operator not supported
        {{0x01, 0x04, 0x01, 0x06, 0x00, 0x04, 0x00}, {}, {0x06, 0x00, 0x01, 0x05}}, // invalid operand
        {{0x01, 0x02, 0x01, 0x03}, {}, {0x06, 0x00, 0x01, 0x05}},
        {{0x01, 0x02}, {}, {0x06, 0x00, 0x01, 0x05}},
        {{0x01, 0x01, 0x00}, {}, {0x06, 0x00, 0x01, 0x05}},
        {{0x01, 0x02, 0x02, 0x03, 0x00}, {}, {0x06, 0x00, 0x01, 0x09}}, // operand not supported
        {{0x03, 0x01}, {}, {0x06, 0x00, 0x03, 0x03}},
        {{0x03, 0x00}, {}, {0x06, 0x00, 0x03, 0x01}},
        {{0x07, 0x01}, {}, {0x06, 0x00, 0x07, 0x02}}, // op code not supported
        {{0x05, 0x00}, {}, {0x06, 0x00, 0x05, 0x02}},
        {{}, {}, {0x06, 0x00, 0x00, 0x02}},
    };
    for (const auto& [request, reported, response] : cases) {
        SCOPED_TRACE(testing::PrintToString(request));
        const auto [sequences, indication] = ask(request);
        EXPECT_EQ(sequences, reported);
        EXPECT_EQ(indication, response);
    }
}

TEST_F(GlucoseMeterTest, AReportSendsEachMeasurementThenItsContextAfterTheWriteResponse) {
    ASSERT_EQ(OrvBleClientWriteCfmCharByHandle(cid, kControlPoint, 0, 2, Bytes{0x01, 0x06}.data()),
              ORV_BLE_OK);
    const auto received = take();
    ASSERT_EQ(received.size(), 4u);
    EXPECT_EQ(received[0].handle, 0); // the write response
    EXPECT_EQ(received[1].handle, kMeasurement);
    EXPECT_EQ(received[1].value[0] & 0x10, 0x10) << "context announced";
    EXPECT_EQ(received[2].handle, kContext);
    EXPECT_EQ(received[2].value,
              (Bytes{0x55, 0x0C, 0x00, 0x04, 0x14, 0xD0, 0x3F, 0x03, 0x08, 0xA0, 0x3B, 0xF0}));
    EXPECT_EQ(received[3].handle, kControlPoint);
}

TEST_F(GlucoseMeterTest, DeletedRecordsAreGoneForLaterRequests) {
    EXPECT_EQ(ask({0x02, 0x05}).second, (Bytes{0x06, 0x00, 0x02, 0x01}));
    EXPECT_EQ(ask({0x02, 0x04, 0x01, 0x05, 0x00, 0x07, 0x00}).second, (Bytes{0x06, 0x00, 0x02, 0x01}));
    EXPECT_EQ(ask({0x04, 0x01}).second, (Bytes{0x05, 0x00, 0x08, 0x00}));
    EXPECT_EQ(ask({0x01, 0x01}).first, (std::vector<int>{2, 3, 4, 8, 9, 10, 11, 12}));
    EXPECT_EQ(ask({0x02, 0x01}).second, (Bytes{0x06, 0x00, 0x02, 0x01}));
    EXPECT_EQ(ask({0x01, 0x05}).second, (Bytes{0x06, 0x00, 0x01, 0x06}));
}

TEST_F(GlucoseMeterTest, AnAbortStopsAReportAndOtherRequestsWaitForItsEnd) {
    ASSERT_EQ(write({0x01, 0x01}), 0);
    EXPECT_EQ(write({0x04, 0x01}), 0x80); // procedure already in progress
    EXPECT_EQ(write({0x03, 0x00}), 0);
    std::vector<Bytes> indications;
    size_t measurements = 0;
    for (const Received& r : take()) {
        measurements += r.handle == kMeasurement;
        if (r.handle == kControlPoint) {
            indications.push_back(r.value);
        }
    }
    EXPECT_GT(measurements, 0u);
    EXPECT_LT(measurements, 12u);
    EXPECT_EQ(indications, (std::vector<Bytes>{{0x06, 0x00, 0x03, 0x01}}));
    EXPECT_EQ(ask({0x04, 0x01}).second, (Bytes{0x05, 0x00, 0x0C, 0x00}));
}

TEST_F(GlucoseMeterTest, WritesWithIndicationsOffAreImproperlyConfigured) {
    configure(22, 0);
    EXPECT_EQ(write({0x04, 0x01}), 0x81);
    EXPECT_TRUE(take().empty());
}

TEST_F(GlucoseMeterTest, AnIndicationWaitsForTheConfirmationOfTheOneBefore) {
    ASSERT_TRUE(orv::sim::injectNotification(kMeter, kControlPoint, {0xA1}, true));
    ASSERT_TRUE(orv::sim::injectNotification(kMeter, kControlPoint, {0xA2}, true));
    ASSERT_TRUE(orv::sim::injectNotification(kMeter, kMeasurement, {0xB1}));
    std::vector<std::pair<uint8_t, bool>> order; // value, the peer had the first confirmation then
    bool confirmed = false;
    for (int ms = 0; ms < 1000 && order.size() < 3; ++ms) {
        orv::sim::advance(1);
        confirmed = confirmed || !orv::sim::takePeerReceived(kMeter).empty();
        for (const Received& r : take(0)) {
            order.emplace_back(r.value.at(0), confirmed);
        }
    }
    EXPECT_EQ(order, (std::vector<std::pair<uint8_t, bool>>{{0xA1, false}, {0xB1, false}, {0xA2, true}}));
}

} // namespace
} // namespace orv::host::test
