// The simulated body analyser: its users behind the User Control Point (registration, consent and its
// lockout, deletion, access without consent, a request never answered) and its weigh-ins, whose
// composition packets arrive one indication at a time.
#include "../HostHarness.h"

#include <gtest/gtest.h>

namespace orv::host::test {
namespace {

const char* const kAnalyser = "00:1A:7D:DA:71:06";
// The analyser's database: 8 Weight Measurement (9 its configuration), 12 First Name, 14 Database
// Change Increment, 17 User Index, 19 User Control Point (20), 25 Body Composition Measurement (26).
constexpr uint16_t kWeight = 8, kName = 12, kIncrement = 14, kUserIndex = 17, kControlPoint = 19,
                   kComposition = 25;

using Answer = std::vector<Received>;

// The write's status, then the control point's response if there is one.
Answer Answered(uint8_t status, Bytes response = {}) {
    Answer answer{{0, {status}}};
    if (!response.empty())
        answer.push_back({kControlPoint, std::move(response)});
    return answer;
}

class HouseholdScaleTest : public HostTest {
protected:
    void SetUp() override {
        cid = harness.startConnected(peerWorld("bodyComposition", kAnalyser), kAnalyser);
    }

    Answer take(uint64_t ms = 2000) { return harness.receive(ms); }
    void indicate(uint16_t uuidHandle) {
        ASSERT_EQ(OrvBleClientWriteConfiguration(cid, uuidHandle + 1, 0, 2), ORV_BLE_OK);
        ASSERT_EQ(take(1000), Answered(0));
    }
    Answer write(uint16_t handle, const Bytes& value, uint64_t ms = 2000) {
        harness.send(cid, handle, value);
        return take(ms);
    }
    Answer ask(const Bytes& request, uint64_t ms = 2000) { return write(kControlPoint, request, ms); }
};

TEST_F(HouseholdScaleTest, UsersAreRegisteredConsentedAndDeleted) {
    EXPECT_EQ(ask({0x02, 0x00, 0xD2, 0x04}), Answered(0xFD));
    indicate(kControlPoint);
    EXPECT_EQ(harness.read(cid, kName).status, 0x80) << "without consent";
    EXPECT_EQ(write(kName, {'Z', 0}), Answered(0x80));
    EXPECT_EQ(harness.read(cid, kUserIndex), (ReadResult{0, {0xFF}}));
    const std::pair<Bytes, Bytes> exchanges[] = {
        {{0x02, 0x00, 0xD3, 0x04}, {0x20, 0x02, 0x05}}, // wrong code
        {{0x02, 0x01, 0xD2, 0x04}, {0x20, 0x02, 0x03}}, // an empty slot
        {{0x01, 0x10, 0x27}, {0x20, 0x01, 0x03}},       // code 10000
        {{0x01, 0xE1, 0x10}, {0x20, 0x01, 0x01, 0x01}}, // code 4321
        {{0x01, 0x0F, 0x27}, {0x20, 0x01, 0x01, 0x02}}, // code 9999
        {{0x01, 0x00, 0x00}, {0x20, 0x01, 0x01, 0x03}},
        {{0x01, 0x01, 0x00}, {0x20, 0x01, 0x04}},       // no slot left
        {{0x03}, {0x20, 0x03, 0x05}},                   // delete without consent
        {{0x02, 0x00, 0xD2, 0x04}, {0x20, 0x02, 0x01}}, // consent to Ann
        {{0x03}, {0x20, 0x03, 0x01}},                   // deletes Ann
        {{0x02, 0x00, 0xD2, 0x04}, {0x20, 0x02, 0x03}}, // Ann is gone
    };
    for (const auto& [request, response] : exchanges)
        EXPECT_EQ(ask(request), Answered(0x00, response)) << testing::PrintToString(request);
}

TEST_F(HouseholdScaleTest, ThreeWrongCodesLockConsentForAMinuteAndConsentEndsWithTheLink) {
    indicate(kControlPoint);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(ask({0x02, 0x00, 0x00, 0x00}), Answered(0x00, {0x20, 0x02, 0x05})) << i;
    EXPECT_EQ(ask({0x02, 0x00, 0xD2, 0x04}, 60000), Answered(0x00, {0x20, 0x02, 0x04}));
    EXPECT_EQ(ask({0x02, 0x00, 0xD2, 0x04}), Answered(0x00, {0x20, 0x02, 0x01}));
    EXPECT_EQ(harness.read(cid, kIncrement), (ReadResult{0, {0x00, 0x00, 0x00, 0x00}}));

    ASSERT_TRUE(orv::sim::disconnectPeer(kAnalyser, 0x13));
    take();
    cid = harness.connect(kAnalyser);
    EXPECT_EQ(harness.read(cid, kIncrement).status, 0x80);
    EXPECT_EQ(ask({0x03}), Answered(0xFD)); // indications are off again on a new link

    indicate(kControlPoint);
    ASSERT_TRUE(orv::sim::setControlPointsUnanswered(kAnalyser, true));
    EXPECT_EQ(ask({0x03}, 60000), Answered(0x00));
    EXPECT_EQ(ask({0x03}), Answered(0xFE)); // the first is still being answered
}

TEST_F(HouseholdScaleTest, WeighInsCarryTheConsentedUserAndIndicationsWaitForTheirConfirmation) {
    indicate(kControlPoint);
    EXPECT_EQ(ask({0x02, 0x00, 0xD2, 0x04}), Answered(0x00, {0x20, 0x02, 0x01}));
    indicate(kWeight);
    indicate(kComposition);
    orv::sim::takePeerReceived(kAnalyser);
    const Answer received = take(120000);
    ASSERT_FALSE(received.empty());
    int users = 0;
    bool open = false; // a first composition packet came, and no other composition since
    for (size_t i = 0; i < received.size(); ++i) {
        const Received& r = received[i];
        if (i > 0) {
            EXPECT_GT(r.at, received[i - 1].at) << "two indications outstanding at once";
        }
        if (r.handle == kWeight && (r.value.at(0) & 0x04)) {
            EXPECT_EQ(r.value.at(r.value.at(0) & 0x02 ? 10 : 3), 0x00) << "a weigh-in of another user";
            ++users;
        } else if (r.handle == kComposition) {
            const bool multiple = (r.value.at(1) & 0x10) != 0;
            if (multiple && r.value.size() < 16) {
                EXPECT_TRUE(open) << "a continuation without its first packet";
            } else {
                open = multiple;
            }
        }
    }
    EXPECT_GT(users, 0);
    EXPECT_EQ(orv::sim::takePeerReceived(kAnalyser).size(), received.size()) << "one confirmation each";
}

} // namespace
} // namespace orv::host::test
