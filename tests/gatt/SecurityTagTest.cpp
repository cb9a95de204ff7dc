// The security tag's signal-strength arithmetic: the zones, the Tx Power correction and the poll
// period. The average of the last five samples is tested on the main window, which shows it.
#include "gatt/SecurityTag.h"

#include <gtest/gtest.h>

namespace {

TEST(SecurityTagTest, ZonesFollowTheThresholds) {
    const std::pair<int, uint8_t> rows[] = {{-20, 0}, {-75, 0}, {-76, 1}, {-90, 1}, {-91, 2}, {-127, 2}};
    for (const auto& [value, zone] : rows)
        EXPECT_EQ(RssiZone(value, -75, -90), zone) << value;
}

TEST(SecurityTagTest, TxPowerCorrection) {
    const std::pair<uint8_t, int> rows[] = {{0xFC, -4},   {0xFF, -1}, {0x04, 4},  {0x7F, 127},
                                            {0x80, -128}, {0x00, 0},  {0xF6, -10}};
    for (const auto& [level, correction] : rows)
        EXPECT_EQ(TxPowerCorrection(level), correction) << int(level);
}

TEST(SecurityTagTest, PollPeriodIsTheTruncatedLatencyTime) {
    const std::tuple<uint16_t, uint16_t, uint32_t> rows[] = {
        {400, 4, 2000}, {6, 0, 0}, {7, 1, 8}, {3200, 499, 1996000}};
    for (const auto& [interval, latency, period] : rows)
        EXPECT_EQ(RssiPollPeriodMs({interval, interval, latency, 1000}), period)
            << interval << " " << latency;
}

} // namespace
