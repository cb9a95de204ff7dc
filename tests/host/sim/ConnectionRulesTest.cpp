#include "host/sim/ConnectionRules.h"

#include <gtest/gtest.h>

namespace orv::sim {
namespace {

struct RuleCase {
    const char* name;
    orv::host::ConnectionParameters parameters;
    bool valid;
};

class CoreRule : public ::testing::TestWithParam<RuleCase> {};

TEST_P(CoreRule, Decides) {
    EXPECT_EQ(validConnectionParameters(GetParam().parameters), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(
    Parameters, CoreRule,
    ::testing::Values(
        RuleCase{"Quick", {10, 10, 0, 125}, true}, RuleCase{"Default", {400, 400, 4, 1000}, true},
        RuleCase{"Smallest", {6, 6, 0, 10}, true}, RuleCase{"MinTooSmall", {5, 6, 0, 100}, false},
        RuleCase{"MaxBelowMin", {20, 10, 0, 100}, false}, RuleCase{"MaxTooLarge", {6, 3201, 0, 3200}, false},
        RuleCase{"LatencyLimit", {6, 6, 499, 3200}, true},
        RuleCase{"LatencyTooLarge", {6, 6, 500, 3200}, false},
        RuleCase{"TimeoutTooSmall", {6, 6, 0, 9}, false}, RuleCase{"TimeoutTooLarge", {6, 6, 0, 3201}, false},
        // 3200 * 4 = 12800 must exceed (1 + 3) * 3200 = 12800: equal is not enough.
        RuleCase{"TimeoutExactlyTwiceTheEffectiveInterval", {3200, 3200, 3, 3200}, false},
        RuleCase{"TimeoutJustLongEnough", {3199, 3199, 3, 3200}, true}),
    [](const auto& info) { return std::string(info.param.name); });

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
