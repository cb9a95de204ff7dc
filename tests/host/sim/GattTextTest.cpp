#include "host/sim/GattText.h"

#include <gtest/gtest.h>

namespace orv::sim {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(GattText, ParsesUuidsAndValues) {
    const auto vendor = parseUuid("0000FFF1-4b7e-11e2-8c3a-5f8c2e10b7d4");
    ASSERT_TRUE(vendor);
    EXPECT_EQ(vendor->kind, BLE_UUID_KIND_128);
    EXPECT_EQ(vendor->uuid128[0], 0xD4);
    EXPECT_EQ(vendor->uuid128[12], 0xF1);
    EXPECT_EQ(vendor->uuid128[13], 0xFF);
    EXPECT_EQ(parseUuid("2a37")->uuid16, 0x2A37);
    for (const char* bad : {"", "2A3", "2A377", "zz37", "0000FFF1+4b7e-11e2-8c3a-5f8c2e10b7d4"}) {
        EXPECT_FALSE(parseUuid(bad)) << bad;
    }
    EXPECT_EQ(parseHex("00 48 ff"), (Bytes{0x00, 0x48, 0xFF}));
    EXPECT_EQ(parseHex(""), Bytes{});
    EXPECT_FALSE(parseHex("0"));
    EXPECT_FALSE(parseHex("0g"));
}

} // namespace
} // namespace orv::sim
