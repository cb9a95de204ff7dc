// Simulated radio: little-endian fields of the values simulated peers send.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orv::sim {

// Appends the low bytes of value, least significant first.
inline void appendLe(std::vector<uint8_t>& out, uint32_t value, size_t bytes) {
    for (size_t i = 0; i < bytes; ++i) {
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

} // namespace orv::sim
