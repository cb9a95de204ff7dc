#include "gatt/SteeringWheel.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<uint8_t>;

TEST(SteeringWheelTest, ReportsOfFiveBytesHoldTheirButtonsAndOthersNone) {
    const std::tuple<Bytes, SteeringWheelReport, std::set<uint16_t>> rows[] = {
        {{0x42, 0x00, 0xE9, 0x00, 0x00}, {0x42, 0xE9, 0}, {0x42, 0xE9}},
        {{0x42, 0x00, 0x00, 0x00, 0x42}, {0x42, 0, 0x42}, {0x42}},
        {{0x34, 0x12, 0xB6, 0x00, 0x26}, {0x1234, 0xB6, 0x26}, {0x26, 0xB6, 0x1234}},
        {{0x42, 0x00, 0x00, 0x00}, {}, {}},
        {{0x42, 0x00, 0x00, 0x00, 0x00, 0x00}, {}, {}},
    };
    for (const auto& [value, report, lit] : rows) {
        EXPECT_EQ(SteeringWheelReport::decode(value), report) << value.size() << " bytes";
        EXPECT_EQ(SteeringWheelReport::decode(value).litButtons(), lit) << value.size() << " bytes";
    }
}

} // namespace
