// The simulator's texts: addresses, UUIDs and hexadecimal values.
#include "host/sim/AddressText.h"
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

TEST(AddressText, RejectsMalformedText) {
    for (const char* text : {"", "12:34:56:78:9A", "12:34:56:78:9A:BC:", "12:34:56:78:9A:BG",
                             "1234:56:78:9A:BC:D", "12 34 56 78 9A BC"}) {
        EXPECT_FALSE(parseAddress(text, 0)) << text;
    }
}

TEST(AddressText, SameAddressIgnoresTheUnusedTopByteOfTheLap) {
    auto a = *parseAddress("12:34:56:78:9A:BC", 0);
    auto b = a;
    b.lap |= 0xFF000000u;
    EXPECT_TRUE(sameAddress(a, b));
    b.type = 1;
    EXPECT_FALSE(sameAddress(a, b));
}

} // namespace
} // namespace orv::sim
