// Simulated radio: Bluetooth device addresses as text ("12:34:56:78:9A:BC").
#pragma once

#include "veyrahost.h"

#include <optional>
#include <string>

namespace orv::sim {

// Parses six two-digit hexadecimal bytes separated by colons, most significant first.
std::optional<BleTypedAddress> parseAddress(const std::string& text, uint8_t type);
std::string formatAddress(const BleTypedAddress& address);
bool sameAddress(const BleTypedAddress& a, const BleTypedAddress& b);

} // namespace orv::sim
