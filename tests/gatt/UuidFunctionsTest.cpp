#include "gatt/UuidFunctions.h"

#include "gatt/GattNames.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

BleUuid otherKind(uint8_t kind, uint16_t value) {
    BleUuid uuid{};
    uuid.kind = kind;
    uuid.uuid16 = value;
    uuid.uuid128[0] = static_cast<uint8_t>(value);
    return uuid;
}

struct OrderCase {
    const char* name;
    BleUuid a;
    BleUuid b;
    bool aBeforeB;
    bool bBeforeA;
};

TEST(UuidFunctionsTest, BleUuidGreaterOrdersDescending) {
    const OrderCase cases[] = {
        {"greater 16-bit first", MakeUuid16(0x181E), MakeUuid16(0x1800), true, false},
        {"16-bit compared unsigned", MakeUuid16(0x8000), MakeUuid16(0x7FFF), true, false},
        {"equal 16-bit", MakeUuid16(0x180D), MakeUuid16(0x180D), false, false},
        {"128-bit before 16-bit", MakeUuid128(0, 1), MakeUuid16(0xFFFF), true, false},
        {"most significant byte decides", MakeUuid128(0x0100000000000000ULL, 0),
         MakeUuid128(0x00FFFFFFFFFFFFFFULL, ~0ULL), true, false},
        {"least significant byte decides last", MakeUuid128(7, 2), MakeUuid128(7, 1), true, false},
        {"equal 128-bit", MakeVendorUuid(0xD000), MakeVendorUuid(0xD000), false, false},
        {"unknown kinds are one key", otherKind(4, 1), otherKind(4, 2), false, false},
        {"greater unknown kind before 128-bit", otherKind(20, 0), MakeUuid128(0, 0), true, false},
    };
    for (const OrderCase& c : cases) {
        EXPECT_EQ(BleUuidGreater(c.a, c.b), c.aBeforeB) << c.name;
        EXPECT_EQ(BleUuidGreater(c.b, c.a), c.bBeforeA) << c.name;
    }
}

TEST(UuidFunctionsTest, SixteenBitComparisonIgnoresThe128BitBytes) {
    BleUuid withBytes = MakeUuid16(0x2A37);
    withBytes.uuid128[15] = 0xFF;
    EXPECT_FALSE(BleUuidGreater(withBytes, MakeUuid16(0x2A37)));
    EXPECT_FALSE(BleUuidGreater(MakeUuid16(0x2A37), withBytes));
}

TEST(UuidFunctionsTest, MapIteratesVendorServicesFirstThenSixteenBitFromHighest) {
    std::map<BleUuid, int, BleUuidOrder> map;
    const std::vector<BleUuid> inserted = {MakeUuid16(0x1800), MakeVendorUuid(0x1010), MakeUuid16(0x181E),
                                           MakeVendorUuid(0xD000), MakeUuid16(0x180D)};
    for (const BleUuid& uuid : inserted) {
        map.emplace(uuid, 0);
    }
    std::vector<QString> order;
    for (const auto& entry : map) {
        order.push_back(entry.first.kind == BLE_UUID_KIND_16 ? QString::number(entry.first.uuid16, 16)
                                                             : Uuid128ToString(entry.first));
    }
    const std::vector<QString> expected = {"0000D000-4B7E-11E2-8C3A-5F8C2E10B7D4",
                                           "00001010-4B7E-11E2-8C3A-5F8C2E10B7D4", "181e", "180d", "1800"};
    EXPECT_EQ(order, expected);
}

TEST(UuidFunctionsTest, MakeUuid16ZeroesEveryUnusedByte) {
    const BleUuid uuid = MakeUuid16(0x2902);
    EXPECT_EQ(uuid.kind, BLE_UUID_KIND_16);
    EXPECT_EQ(uuid.reserved, 0);
    EXPECT_EQ(uuid.uuid16, 0x2902);
    for (uint8_t byte : uuid.uuid128) {
        EXPECT_EQ(byte, 0);
    }
}

TEST(UuidFunctionsTest, MakeUuid128PutsLowInBytesZeroToSevenLeastSignificantFirst) {
    const BleUuid uuid = MakeUuid128(0x0011223344556677ULL, 0x8899AABBCCDDEEFFULL);
    EXPECT_EQ(uuid.kind, BLE_UUID_KIND_128);
    EXPECT_EQ(uuid.reserved, 0);
    EXPECT_EQ(uuid.uuid16, 0);
    const uint8_t expected[16] = {0xFF, 0xEE, 0xDD, 0xCC, 0xBB, 0xAA, 0x99, 0x88,
                                  0x77, 0x66, 0x55, 0x44, 0x33, 0x22, 0x11, 0x00};
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(uuid.uuid128[i], expected[i]) << "byte " << i;
    }
}

TEST(UuidFunctionsTest, VendorUuidHasTheMakersBase) {
    EXPECT_EQ(Uuid128ToString(MakeVendorUuid(0xAB09)), "0000AB09-4B7E-11E2-8C3A-5F8C2E10B7D4");
    EXPECT_EQ(VendorUuidHigh(0xAB09), 0x0000AB094B7E11E2ULL);
}

TEST(UuidFunctionsTest, IsVendorUuidNeedsKind128TheGivenHighAndTheVendorLow) {
    const BleUuid vendor = MakeVendorUuid(0xD000);
    BleUuid sixteenBitWithVendorBytes = vendor;
    sixteenBitWithVendorBytes.kind = BLE_UUID_KIND_16;
    struct Case {
        const char* name;
        BleUuid uuid;
        uint64_t high;
        bool expected;
    };
    const Case cases[] = {
        {"vendor service", vendor, VendorUuidHigh(0xD000), true},
        {"other vendor number", vendor, VendorUuidHigh(0xD001), false},
        {"other lower half", MakeUuid128(VendorUuidHigh(0xD000), kVendorUuidLow ^ 1), VendorUuidHigh(0xD000),
         false},
        {"16-bit kind", sixteenBitWithVendorBytes, VendorUuidHigh(0xD000), false},
        {"plain 16-bit", MakeUuid16(0xD000), VendorUuidHigh(0xD000), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsVendorUuid(c.uuid, c.high), c.expected) << c.name;
    }
}

} // namespace
