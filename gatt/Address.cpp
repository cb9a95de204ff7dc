// Bluetooth device addresses: identity and text form.
#include "gatt/Address.h"

namespace {

constexpr uint32_t kLapMask = 0x00FFFFFF;

} // namespace

QString BdAddrToString(const BleTypedAddress& address) {
    const uint32_t lap = address.lap & kLapMask;
    return QString::asprintf("%02X:%02X:%02X:%02X:%02X:%02X", (address.nap >> 8) & 0xFF, address.nap & 0xFF,
                             address.uap, (lap >> 16) & 0xFF, (lap >> 8) & 0xFF, lap & 0xFF);
}

bool IsSameAddress(const BleTypedAddress& a, const BleTypedAddress& b) {
    return a.type == b.type && a.nap == b.nap && a.uap == b.uap && (a.lap & kLapMask) == (b.lap & kLapMask);
}
