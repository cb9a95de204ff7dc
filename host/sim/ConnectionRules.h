// Simulated radio: the Bluetooth Core limits on connection and scan parameters.
#pragma once

#include "../core/ControllerPort.h"

#include <cstdint>

namespace orv::sim {

constexpr uint8_t kHciInvalidParameters = 0x12;

// Intervals 6..3200 (7.5 ms..4 s) with min <= max, latency 0..499, timeout 10..3200 (100 ms..32 s),
// and the timeout longer than (1 + latency) * max interval * 2.
bool validConnectionParameters(const orv::host::ConnectionParameters& parameters);
// 0xFFFF for both means the controller's own; otherwise 4..0x4000 with window <= interval.
bool validScanParameters(uint16_t interval, uint16_t window);
// What a link asked for with these parameters runs at: the longest interval they allow.
orv::host::LinkParameters linkParameters(const orv::host::ConnectionParameters& parameters);
// One connection interval of that link in whole milliseconds (at least 1).
uint64_t connectionIntervalMs(const orv::host::ConnectionParameters& parameters);

} // namespace orv::sim
