#include "gatt/Address.h"

#include <gtest/gtest.h>

namespace {

BleTypedAddress Address(uint8_t type, uint16_t nap, uint8_t uap, uint32_t lap) {
    BleTypedAddress result{};
    result.type = type;
    result.nap = nap;
    result.uap = uap;
    result.lap = lap;
    return result;
}

TEST(AddressTest, TextIsMostSignificantFirstInTwoUpperCaseDigitsPerByte) {
    EXPECT_EQ(BdAddrToString(Address(1, 0x1234, 0x56, 0x789ABC)), "12:34:56:78:9A:BC");
    EXPECT_EQ(BdAddrToString(Address(0, 0x000A, 0x0B, 0xFF00000C)), "00:0A:0B:00:00:0C");
}

TEST(AddressTest, SameAddressComparesTypeNapUapAndLap) {
    const BleTypedAddress base = Address(0, 0x1234, 0x56, 0x789ABC);
    const std::tuple<const char*, BleTypedAddress, bool> rows[] = {
        {"unused LAP byte differs", Address(0, 0x1234, 0x56, 0x01789ABC), true},
        {"type differs", Address(1, 0x1234, 0x56, 0x789ABC), false},
        {"NAP differs", Address(0, 0x1235, 0x56, 0x789ABC), false},
        {"UAP differs", Address(0, 0x1234, 0x57, 0x789ABC), false},
        {"LAP differs", Address(0, 0x1234, 0x56, 0x789ABD), false},
    };
    for (const auto& [name, other, same] : rows) {
        EXPECT_EQ(IsSameAddress(base, other), same) << name;
        EXPECT_EQ(IsSameAddress(other, base), same) << name;
    }
}

} // namespace
