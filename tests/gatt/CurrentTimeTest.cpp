#include "gatt/CurrentTime.h"

#include <gtest/gtest.h>

namespace {

TEST(CurrentTimeTest, ServedValuesInGoldenBytes) {
    EXPECT_EQ(EncodeCurrentTime({2024, 12, 6, 17, 30, 5}, 5, TimeAdjustReason::ManualWithDstChange),
              (std::array<uint8_t, 10>{0xE8, 0x07, 12, 6, 17, 30, 5, 5, 0, 9}));
    EXPECT_EQ(EncodeLocalTimeInformation(-14, 4), (std::array<uint8_t, 2>{0xF2, 4}));
    EXPECT_EQ(EncodeReferenceTimeInformation(255, 255), (std::array<uint8_t, 4>{0x01, 0xFF, 255, 255}));
    EXPECT_EQ(EncodeTimeWithDst({2025, 3, 30, 2, 0, 0}, 4),
              (std::array<uint8_t, 8>{0xE9, 0x07, 3, 30, 2, 0, 0, 4}));
    EXPECT_EQ(EncodeTimeUpdateState(TimeUpdate::Idle, TimeUpdate::Timeout), (std::array<uint8_t, 2>{0, 4}));
}

TEST(CurrentTimeTest, ZoneItemEastAndWestOfUtc) {
    const std::pair<int, const char*> cases[] = {{-60, "Time Zone: UTC + 01:00"},
                                                 {-330, "Time Zone: UTC + 05:30"},
                                                 {210, "Time Zone: UTC - 03:30"},
                                                 {0, "Time Zone: UTC + 00:00"},
                                                 {-765, "Time Zone: UTC + 12:45"}};
    for (const auto& [bias, text] : cases)
        EXPECT_EQ(TimeZoneItemText(bias), QLatin1String(text)) << bias;
}

} // namespace

namespace {

TEST(CurrentTimeTest, TimeSinceUpdateHoldsAt255Past254Days) {
    const std::pair<TimeSinceUpdate, TimeSinceUpdate> cases[] = {
        {{0, 0, 58}, {0, 0, 59}},       {{0, 0, 59}, {0, 1, 0}},         {{3, 23, 59}, {4, 0, 0}},
        {{254, 23, 59}, {255, 255, 0}}, {{255, 255, 59}, {255, 255, 0}}, {{255, 255, 0}, {255, 255, 1}},
    };
    for (const auto& [before, after] : cases)
        EXPECT_EQ(AddMinute(before), after) << before.days << ' ' << before.hours << ' ' << before.minutes;
}

} // namespace
