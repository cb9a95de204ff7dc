// The simulated glucose meter's Record Access Control Point, and indications held until confirmed.
#include "../HostHarness.h"

#include <gtest/gtest.h>

namespace orv::host::test {
namespace {

const char* const kMeter = "00:1A:7D:DA:71:03";
// The meter's database: 13 Measurement (14 its configuration), 16 Context (17), 21 Record Access
// Control Point (22).
constexpr uint16_t kMeasurement = 13, kContext = 16, kControlPoint = 21;

class GlucoseMeterTest : public HostTest {
protected:
    void SetUp() override {
        cid = harness.startConnected(peerWorld("glucose", kMeter), kMeter);
        harness.pairJustWorks(cid, kMeter);
        for (const auto& [configuration, value] : {std::pair{14, 1}, {17, 1}, {22, 2}})
            ASSERT_EQ(harness.configure(cid, configuration, value), 0);
    }
    // Advances ms; the write results (handle 0) and the values received, in order.
    std::vector<Received> take(uint64_t ms = 10000) { return harness.receive(ms); }
    void write(const Bytes& request) { harness.send(cid, kControlPoint, request); }
    // The sequence numbers of the measurements reported, then the control point's indication.
    std::pair<std::vector<int>, Bytes> ask(const Bytes& request) {
        write(request);
        std::pair<std::vector<int>, Bytes> answer;
        for (const auto& [handle, value, at] : take()) {
            if (handle == kMeasurement) {
                answer.first.push_back(value.at(1) | value.at(2) << 8);
            } else if (handle == kControlPoint) {
                answer.second = value;
            }
        }
        return answer;
    }
};

TEST_F(GlucoseMeterTest, OperatorsSelectBySequenceNumberAndRefusalsCarryTheirCodes) {
    const Bytes success = {0x06, 0x00, 0x01, 0x01};
    const std::tuple<Bytes, std::vector<int>, Bytes> cases[] = {
        {{0x01, 0x01}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, success},
        {{0x01, 0x02, 0x01, 0x03, 0x00}, {1, 2, 3}, success},
        {{0x01, 0x03, 0x01, 0x0B, 0x00}, {11, 12}, success},
        {{0x01, 0x04, 0x01, 0x04, 0x00, 0x06, 0x00}, {4, 5, 6}, success},
        {{0x01, 0x05}, {1}, success},
        {{0x01, 0x06}, {12}, success},
        {{0x04, 0x01}, {}, {0x05, 0x00, 0x0C, 0x00}},
        {{0x04, 0x03, 0x01, 0x0A, 0x00}, {}, {0x05, 0x00, 0x03, 0x00}},
        {{0x04, 0x03, 0x01, 0x20, 0x00}, {}, {0x05, 0x00, 0x00, 0x00}},
        {{0x01, 0x03, 0x01, 0x20, 0x00}, {}, {0x06, 0x00, 0x01, 0x06}}, // no records found
        {{0x02, 0x04, 0x01, 0x20, 0x00, 0x30, 0x00}, {}, {0x06, 0x00, 0x02, 0x06}},
        {{0x01, 0x00}, {}, {0x06, 0x00, 0x01, 0x03}}, // invalid operator
        {{0x04}, {}, {0x06, 0x00, 0x04, 0x03}},
        {{0x03, 0x01}, {}, {0x06, 0x00, 0x03, 0x03}},
        {{0x01, 0x07}, {}, {0x06, 0x00, 0x01, 0x04}},                               // operator not supported
        {{0x01, 0x04, 0x01, 0x06, 0x00, 0x04, 0x00}, {}, {0x06, 0x00, 0x01, 0x05}}, // invalid operand
        {{0x01, 0x02, 0x01, 0x03}, {}, {0x06, 0x00, 0x01, 0x05}},
        {{0x01, 0x02}, {}, {0x06, 0x00, 0x01, 0x05}},
        {{0x01, 0x01, 0x00}, {}, {0x06, 0x00, 0x01, 0x05}},
        {{0x01, 0x02, 0x02, 0x03, 0x00}, {}, {0x06, 0x00, 0x01, 0x09}}, // operand not supported
        {{0x07, 0x01}, {}, {0x06, 0x00, 0x07, 0x02}},                   // op code not supported
        {{0x05, 0x00}, {}, {0x06, 0x00, 0x05, 0x02}},
        {{}, {}, {0x06, 0x00, 0x00, 0x02}},
        {{0x03, 0x00}, {}, {0x06, 0x00, 0x03, 0x01}}, // abort while idle
        {{0x02, 0x05}, {}, {0x06, 0x00, 0x02, 0x01}}, // delete the first
        {{0x01, 0x01}, {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, success},
    };
    for (const auto& [request, reported, response] : cases) {
        SCOPED_TRACE(testing::PrintToString(request));
        EXPECT_EQ(ask(request), std::pair(reported, response));
    }
}

TEST_F(GlucoseMeterTest, AReportFollowsTheWriteResponseAndAnAbortEndsIt) {
    write({0x01, 0x01});
    const auto first = take(100);
    ASSERT_GE(first.size(), 3u);
    EXPECT_EQ(first[0], (Received{0, {0x00}})); // the write response comes first
    EXPECT_EQ(first[1].handle, kMeasurement);
    EXPECT_EQ(first[2].handle, kContext);
    write({0x04, 0x01}); // refused: procedure already in progress
    const auto during = take(100);
    EXPECT_NE(std::find(during.begin(), during.end(), Received{0, {0x80}}), during.end());
    write({0x03, 0x00});
    const auto rest = take();
    EXPECT_LT(std::count_if(rest.begin(), rest.end(), [](const auto& r) { return r.handle == kMeasurement; }),
              11);
    EXPECT_EQ(rest.back(), (Received{kControlPoint, {0x06, 0x00, 0x03, 0x01}}));
    ASSERT_EQ(harness.configure(cid, 22, 0), 0);
    write({0x04, 0x01}); // refused: indications off
    EXPECT_EQ(take(), (std::vector<Received>{{0, {0x81}}}));
}

TEST_F(GlucoseMeterTest, AnIndicationWaitsForTheConfirmationOfTheOneBefore) {
    ASSERT_TRUE(orv::sim::injectNotification(kMeter, kControlPoint, {0xA1}, true));
    ASSERT_TRUE(orv::sim::injectNotification(kMeter, kControlPoint, {0xA2}, true));
    ASSERT_TRUE(orv::sim::injectNotification(kMeter, kMeasurement, {0xB1}));
    std::vector<std::pair<uint8_t, bool>> order; // value, the peer had the first confirmation then
    bool confirmed = false;
    for (int ms = 0; ms < 1000 && order.size() < 3; ++ms) {
        for (const Received& received : take(1))
            order.emplace_back(received.value.at(0), confirmed);
        confirmed = confirmed || !orv::sim::takePeerReceived(kMeter).empty();
    }
    EXPECT_EQ(order, (std::vector<std::pair<uint8_t, bool>>{{0xA1, false}, {0xB1, false}, {0xA2, true}}));
}

} // namespace
} // namespace orv::host::test
