#include "host/sim/ConnectionRules.h"

#include <gtest/gtest.h>

namespace orv::sim {
namespace {

TEST(CoreRule, DecidesByTheRangesAndTheTimeout) {
    const std::tuple<const char*, orv::host::ConnectionParameters, bool> cases[] = {
        {"quick", {10, 10, 0, 125}, true},
        {"default", {400, 400, 4, 1000}, true},
        {"smallest", {6, 6, 0, 10}, true},
        {"min too small", {5, 6, 0, 100}, false},
        {"max below min", {20, 10, 0, 100}, false},
        {"max too large", {6, 3201, 0, 3200}, false},
        {"latency limit", {6, 6, 499, 3200}, true},
        {"latency too large", {6, 6, 500, 3200}, false},
        {"timeout too small", {6, 6, 0, 9}, false},
        {"timeout too large", {6, 6, 0, 3201}, false},
        // 3200 * 4 = 12800 must exceed (1 + 3) * 3200 = 12800: equal is not enough.
        {"timeout exactly twice the effective interval", {3200, 3200, 3, 3200}, false},
        {"timeout just long enough", {3199, 3199, 3, 3200}, true}};
    for (const auto& [name, parameters, valid] : cases)
        EXPECT_EQ(validConnectionParameters(parameters), valid) << name;
}

TEST(ScanRule, AcceptsTheControllersOwnOrASaneWindow) {
    EXPECT_TRUE(validScanParameters(0xFFFF, 0xFFFF));
    EXPECT_TRUE(validScanParameters(16, 16));
    EXPECT_FALSE(validScanParameters(16, 17));
    EXPECT_FALSE(validScanParameters(3, 3));
    EXPECT_FALSE(validScanParameters(0x4001, 16));
}

TEST(ConnectionInterval, RoundsUpToWholeMilliseconds) {
    EXPECT_EQ(connectionIntervalMs({6, 6, 0, 10}), 8u);
    EXPECT_EQ(connectionIntervalMs({10, 10, 0, 125}), 13u);
    EXPECT_EQ(connectionIntervalMs({400, 400, 4, 1000}), 500u);
    EXPECT_EQ(connectionIntervalMs({0, 0, 0, 0}), 1u);
}

} // namespace
} // namespace orv::sim
