// Simulated radio: Bluetooth device addresses as text ("12:34:56:78:9A:BC").
#include "AddressText.h"

#include "GattText.h"

#include <array>
#include <cstdio>

namespace orv::sim {
std::optional<BleTypedAddress> parseAddress(const std::string& text, uint8_t type) {
    if (text.size() != 17) {
        return std::nullopt;
    }
    std::array<uint8_t, 6> bytes{};
    for (size_t i = 0; i < bytes.size(); ++i) {
        const size_t at = i * 3;
        const int high = hexDigitValue(text[at]);
        const int low = hexDigitValue(text[at + 1]);
        if (high < 0 || low < 0 || (i < 5 && text[at + 2] != ':')) {
            return std::nullopt;
        }
        bytes[i] = static_cast<uint8_t>(high * 16 + low);
    }
    BleTypedAddress address{};
    address.type = type;
    address.nap = static_cast<uint16_t>(bytes[0] << 8 | bytes[1]);
    address.uap = bytes[2];
    address.lap = static_cast<uint32_t>(bytes[3]) << 16 | static_cast<uint32_t>(bytes[4]) << 8 | bytes[5];
    return address;
}

std::string formatAddress(const BleTypedAddress& address) {
    char text[18];
    std::snprintf(text, sizeof text, "%02X:%02X:%02X:%02X:%02X:%02X", address.nap >> 8, address.nap & 0xFF,
                  address.uap, (address.lap >> 16) & 0xFF, (address.lap >> 8) & 0xFF, address.lap & 0xFF);
    return text;
}

bool sameAddress(const BleTypedAddress& a, const BleTypedAddress& b) {
    return a.type == b.type && a.nap == b.nap && a.uap == b.uap && (a.lap & 0xFFFFFF) == (b.lap & 0xFFFFFF);
}

} // namespace orv::sim
