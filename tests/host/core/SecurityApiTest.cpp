#include "../HostHarness.h"

#include <gtest/gtest.h>

#include <functional>

namespace orv::host::test {
namespace {

const char* const kPeer = "AA:BB:CC:DD:EE:01";

const std::vector<std::pair<const char*, std::function<OrvBleResult()>>>& securityCalls() {
    static const std::vector<std::pair<const char*, std::function<OrvBleResult()>>> calls{
        {"ChangeSecurityLevel", [] { return OrvBleHostChangeSecurityLevel(1); }},
        {"SetEncryption", [] { return OrvBleHostSetEncryption(0x40, 1); }},
        {"JustWorksResult", [] { return OrvBleHostJustWorksResult(addressOf(kPeer), 1, 1); }},
        {"PasskeyNotificationResult",
         [] { return OrvBleHostPasskeyNotificationResult(addressOf(kPeer), 1); }},
        {"CancelBonding", [] { return OrvBleHostCancelBonding(addressOf(kPeer)); }},
        {"Cancel", [] { return OrvBleHostCancel(); }}};
    return calls;
}

TEST(SecurityRequests, AreNoOpsWhileNotInitialised) {
    HostHarness harness;
    harness.load(basicWorld());
    for (const auto& [name, call] : securityCalls()) {
        EXPECT_EQ(call(), ORV_BLE_E_NOT_INITIALISED) << name;
    }
}

struct Refusal {
    const char* name;
    std::function<OrvBleResult(uint32_t cid)> call;
    OrvBleResult expected;
};

class SecurityRequestRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(SecurityRequestRefusal, IsRefusedAndNeverAnswered) {
    HostHarness harness;
    harness.load(gattWorld());
    harness.startHost();
    const uint32_t cid = harness.connect(kPeer);
    EXPECT_EQ(GetParam().call(cid), GetParam().expected);
    orv::sim::advance(60000);
    EXPECT_TRUE(harness.eventsWithCode(BLE_EVT_SECURITY_RESULT).empty());
    EXPECT_TRUE(harness.eventsWithCode(BLE_EVT_ENCRYPTION_RESULT).empty());
    harness.freeAll(harness.takeEvents());
}

INSTANTIATE_TEST_SUITE_P(
    Calls, SecurityRequestRefusal,
    ::testing::Values(
        Refusal{"LevelZero", [](uint32_t cid) { return OrvBleHostSetEncryption(cid, 0); },
                ORV_BLE_E_INVALID_ARGUMENT},
        Refusal{"LevelThree", [](uint32_t cid) { return OrvBleHostSetEncryption(cid, 3); },
                ORV_BLE_E_INVALID_ARGUMENT},
        Refusal{"UnknownLink", [](uint32_t cid) { return OrvBleHostSetEncryption(cid + 1, 1); },
                ORV_BLE_E_NOT_CONNECTED},
        Refusal{"JustWorksAnswerWithoutQuestion",
                [](uint32_t) { return OrvBleHostJustWorksResult(addressOf(kPeer), 1, 1); },
                ORV_BLE_E_WRONG_STATE},
        Refusal{"PasskeyAnswerWithoutQuestion",
                [](uint32_t) { return OrvBleHostPasskeyNotificationResult(addressOf(kPeer), 1); },
                ORV_BLE_E_WRONG_STATE},
        Refusal{"AnswerForAnotherAddress",
                [](uint32_t) { return OrvBleHostJustWorksResult(addressOf("AA:BB:CC:DD:EE:09"), 1, 1); },
                ORV_BLE_E_NOT_CONNECTED},
        Refusal{"CancelBondingWithoutPairing",
                [](uint32_t) { return OrvBleHostCancelBonding(addressOf(kPeer)); }, ORV_BLE_E_WRONG_STATE},
        Refusal{"CancelWithoutPairing", [](uint32_t) { return OrvBleHostCancel(); }, ORV_BLE_OK},
        Refusal{"SecurityLevel", [](uint32_t) { return OrvBleHostChangeSecurityLevel(1); }, ORV_BLE_OK}),
    [](const ::testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

} // namespace
} // namespace orv::host::test
