// GATT UUID records: ordering, construction and the maker's vendor UUID base.
#include "gatt/UuidFunctions.h"

namespace {

// The 64 bits of a 128-bit value that start at byte first (0 for the lower half, 8 for the upper).
uint64_t half(const BleUuid& uuid, int first) {
    uint64_t value = 0;
    for (int i = 0; i < 8; ++i) {
        value |= static_cast<uint64_t>(uuid.uuid128[first + i]) << (8 * i);
    }
    return value;
}

} // namespace

bool BleUuidGreater(const BleUuid& a, const BleUuid& b) {
    if (a.kind != b.kind) {
        return a.kind > b.kind;
    }
    if (a.kind == BLE_UUID_KIND_16) {
        return a.uuid16 > b.uuid16;
    }
    if (a.kind != BLE_UUID_KIND_128) {
        return false;
    }
    for (int i = 15; i >= 0; --i) {
        if (a.uuid128[i] != b.uuid128[i]) {
            return a.uuid128[i] > b.uuid128[i];
        }
    }
    return false;
}

BleUuid MakeUuid128(uint64_t high, uint64_t low) {
    BleUuid uuid{};
    uuid.kind = BLE_UUID_KIND_128;
    for (int i = 0; i < 8; ++i) {
        uuid.uuid128[i] = static_cast<uint8_t>(low >> (8 * i));
        uuid.uuid128[8 + i] = static_cast<uint8_t>(high >> (8 * i));
    }
    return uuid;
}

BleUuid MakeVendorUuid(uint16_t number) {
    return MakeUuid128(VendorUuidHigh(number), kVendorUuidLow);
}

bool IsVendorUuid(const BleUuid& uuid, uint64_t high) {
    return uuid.kind == BLE_UUID_KIND_128 && half(uuid, 8) == high && half(uuid, 0) == kVendorUuidLow;
}
