#include "host/sim/AddressText.h"

#include <gtest/gtest.h>

namespace orv::sim {
namespace {

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
