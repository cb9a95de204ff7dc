// Simulated radio: UUIDs and attribute values as text in world files.
#include "GattText.h"

#include <algorithm>
#include <cstdio>

namespace orv::sim {
int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

namespace {

std::optional<std::vector<uint8_t>> hexDigits(const std::string& digits) {
    if (digits.size() % 2 != 0) {
        return std::nullopt;
    }
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < digits.size(); i += 2) {
        const int high = hexDigitValue(digits[i]);
        const int low = hexDigitValue(digits[i + 1]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<uint8_t>(high * 16 + low));
    }
    return bytes;
}

} // namespace

std::optional<BleUuid> parseUuid(const std::string& text) {
    BleUuid uuid{};
    if (text.size() == 4) {
        const auto bytes = hexDigits(text);
        if (!bytes) {
            return std::nullopt;
        }
        uuid.kind = BLE_UUID_KIND_16;
        uuid.uuid16 = static_cast<uint16_t>((*bytes)[0] << 8 | (*bytes)[1]);
        return uuid;
    }
    static constexpr size_t kDashes[] = {8, 13, 18, 23};
    if (text.size() != 36 ||
        std::any_of(std::begin(kDashes), std::end(kDashes), [&](size_t at) { return text[at] != '-'; })) {
        return std::nullopt;
    }
    std::string digits = text;
    std::erase(digits, '-');
    const auto bytes = hexDigits(digits);
    if (!bytes || bytes->size() != 16) {
        return std::nullopt;
    }
    uuid.kind = BLE_UUID_KIND_128;
    std::reverse_copy(bytes->begin(), bytes->end(), uuid.uuid128);
    return uuid;
}

std::string uuidText(const BleUuid& uuid) {
    char text[40];
    if (uuid.kind == BLE_UUID_KIND_16) {
        std::snprintf(text, sizeof text, "%04X", uuid.uuid16);
        return text;
    }
    std::string out;
    for (int i = 15; i >= 0; --i) {
        std::snprintf(text, sizeof text, "%02x", uuid.uuid128[i]);
        out += text;
        if (i == 12 || i == 10 || i == 8 || i == 6) {
            out += '-';
        }
    }
    return out;
}

std::optional<std::vector<uint8_t>> parseHex(const std::string& text) {
    std::string digits = text;
    std::erase(digits, ' ');
    return hexDigits(digits);
}

} // namespace orv::sim
