#include "../HostHarness.h"

#include <gtest/gtest.h>

#include <functional>

namespace orv::host::test {
namespace {

const std::vector<std::pair<const char*, std::function<OrvBleResult()>>>& securityCalls() {
    static const std::vector<std::pair<const char*, std::function<OrvBleResult()>>> calls{
        {"ChangeSecurityLevel", [] { return OrvBleHostChangeSecurityLevel(1); }},
        {"SetEncryption", [] { return OrvBleHostSetEncryption(0x40, 1); }},
        {"JustWorksResult", [] { return OrvBleHostJustWorksResult(addressOf("AA:BB:CC:DD:EE:01"), 1, 1); }},
        {"PasskeyNotificationResult",
         [] { return OrvBleHostPasskeyNotificationResult(addressOf("AA:BB:CC:DD:EE:01"), 1); }},
        {"CancelBonding", [] { return OrvBleHostCancelBonding(addressOf("AA:BB:CC:DD:EE:01")); }},
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

TEST(SecurityRequests, AreRefusedAsNotSupportedWithALogLine) {
    HostHarness harness;
    harness.load(basicWorld());
    harness.startHost();
    for (const auto& [name, call] : securityCalls()) {
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(call(), ORV_BLE_E_NOT_SUPPORTED) << name;
        EXPECT_NE(::testing::internal::GetCapturedStderr().find(name), std::string::npos) << name;
    }
    orv::sim::advance(10000);
    EXPECT_TRUE(harness.takeEvents().empty()) << "a refused request is not answered later";
}

} // namespace
} // namespace orv::host::test
