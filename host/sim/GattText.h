// Simulated radio: UUIDs and attribute values as text in world files.
#pragma once

#include "veyrahost.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orv::sim {

// "180D" (16-bit) or "0000180d-0000-1000-8000-00805f9b34fb" (128-bit, stored least significant byte first).
std::optional<BleUuid> parseUuid(const std::string& text);
// The text parseUuid reads: "2A2B", or "7905f431-b5ce-4e99-a40f-4b1e122d00d0".
std::string uuidText(const BleUuid& uuid);
// The value of one hexadecimal digit, or -1.
int hexDigitValue(char c);
// Hexadecimal bytes, optionally separated by spaces: "00 48" or "0048".
std::optional<std::vector<uint8_t>> parseHex(const std::string& text);

} // namespace orv::sim
