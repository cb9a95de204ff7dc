// GATT UUID records: ordering, construction and the maker's vendor UUID base.
#pragma once

#include <veyrahost.h>

#include <cstdint>

// Lower 64 bits of every vendor UUID 0000XXXX-4b7e-11e2-8c3a-5f8c2e10b7d4.
inline constexpr uint64_t kVendorUuidLow = 0x8c3a5f8c2e10b7d4ULL;

// Upper 64 bits (0000XXXX-4b7e-11e2) of the vendor UUID with the 16-bit vendor number XXXX.
constexpr uint64_t VendorUuidHigh(uint16_t number) {
    return (static_cast<uint64_t>(number) << 32) | 0x4b7e11e2ULL;
}

// True when a is placed before b: a greater kind first (128-bit before 16-bit), then the greater
// value first. UUIDs of any other kind are all one key.
bool BleUuidGreater(const BleUuid& a, const BleUuid& b);

// Comparator of every BleUuid-keyed map and multimap: they iterate in descending order.
struct BleUuidOrder {
    bool operator()(const BleUuid& a, const BleUuid& b) const { return BleUuidGreater(a, b); }
};

// A kind-16 UUID: value bytes 0-7 are low (least significant first), bytes 8-15 high. In the usual
// text form, high is the first 16 hex digits and low the last 16.
BleUuid MakeUuid128(uint64_t high, uint64_t low);

// The vendor UUID 0000XXXX-4b7e-11e2-8c3a-5f8c2e10b7d4 for the vendor number XXXX.
BleUuid MakeVendorUuid(uint16_t number);

// True when uuid is a 128-bit UUID whose upper half is high and whose lower half is the vendor
// base's.
bool IsVendorUuid(const BleUuid& uuid, uint64_t high);
