#include "gatt/Address.h"

#include <gtest/gtest.h>

namespace {

BleTypedAddress address(uint8_t type, uint16_t nap, uint8_t uap, uint32_t lap) {
    BleTypedAddress result{};
    result.type = type;
    result.nap = nap;
    result.uap = uap;
    result.lap = lap;
    return result;
}

TEST(AddressTest, TextIsMostSignificantFirstWhateverTheType) {
    EXPECT_EQ(BdAddrToString(address(0, 0x1234, 0x56, 0x789ABC)), "12:34:56:78:9A:BC");
    EXPECT_EQ(BdAddrToString(address(1, 0x1234, 0x56, 0x789ABC)), "12:34:56:78:9A:BC");
}

TEST(AddressTest, TextPadsEveryByteToTwoUpperCaseDigits) {
    EXPECT_EQ(BdAddrToString(address(0, 0x000A, 0x0B, 0x00000C)), "00:0A:0B:00:00:0C");
}

TEST(AddressTest, TextIgnoresTheUnusedTopByteOfTheLap) {
    EXPECT_EQ(BdAddrToString(address(0, 0x1234, 0x56, 0xFF789ABC)), "12:34:56:78:9A:BC");
}

TEST(AddressTest, SameAddressComparesTypeNapUapAndLap) {
    const BleTypedAddress base = address(0, 0x1234, 0x56, 0x789ABC);
    BleTypedAddress reservedDiffer = base;
    reservedDiffer.reserved0 = 7;
    reservedDiffer.reserved1[2] = 9;
    struct Case {
        const char* name;
        BleTypedAddress other;
        bool same;
    };
    const Case cases[] = {
        {"identical", base, true},
        {"reserved bytes differ", reservedDiffer, true},
        {"unused LAP byte differs", address(0, 0x1234, 0x56, 0x01789ABC), true},
        {"type differs", address(1, 0x1234, 0x56, 0x789ABC), false},
        {"NAP differs", address(0, 0x1235, 0x56, 0x789ABC), false},
        {"UAP differs", address(0, 0x1234, 0x57, 0x789ABC), false},
        {"LAP differs", address(0, 0x1234, 0x56, 0x789ABD), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsSameAddress(base, c.other), c.same) << c.name;
        EXPECT_EQ(IsSameAddress(c.other, base), c.same) << c.name;
    }
}

} // namespace
