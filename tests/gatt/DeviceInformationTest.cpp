#include "gatt/DeviceInformation.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Text = QString (*)(std::span<const uint8_t>);

TEST(DeviceInformationTest, ValuesReadAsTheirTextsAndShortOnesAsInvalid) {
    const std::tuple<Text, std::vector<uint8_t>, const char*> cases[] = {
        {SystemIdText, {1, 2, 3, 4, 5, 6, 7, 8}, "0x0807060504030201"},
        {SystemIdText, {0x0B, 0x71, 0xDA, 0xFE, 0xFF, 0x7D, 0x1A, 0x00, 0x99}, "0x001A7DFFFEDA710B"},
        {SystemIdText, {1, 2, 3, 4, 5, 6, 7}, "Invalid"},
        {CertificationDataText, {0xFE, 0x00, 0x01}, "01 00 FE "},
        {CertificationDataText, {}, ""},
        {PnpIdText, {0x01, 0x0A, 0x00, 0x01, 0x00, 0x10, 0x01}, "BT VID: 000A, PID: 0001, ver 1.1.0"},
        {PnpIdText, {0x01, 0x1E, 0x2F, 0x02, 0x01, 0x23, 0x01, 0x77}, "BT VID: 2F1E, PID: 0102, ver 1.2.3"},
        {PnpIdText, {0x02, 0xFF, 0xFF, 0x34, 0x12, 0xFF, 0xFF}, "USB VID: FFFF, PID: 1234, ver 255.15.15"},
        {PnpIdText, {0x03, 0x0A, 0x00, 0x01, 0x00, 0x10, 0x01}, "VID: 000A, PID: 0001, ver 1.1.0"},
        {PnpIdText, {0x01, 0x0A, 0x00, 0x01, 0x00, 0x10}, "Invalid"},
        {PnpIdText, {}, "Invalid"},
    };
    for (const auto& [text, value, expected] : cases)
        EXPECT_EQ(text(value), QLatin1String(expected)) << testing::PrintToString(value);
}

} // namespace
