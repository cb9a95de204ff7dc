// HID over GATT: the steering wheel's input report and the buttons it holds lit.
#pragma once

#include <cstdint>
#include <set>
#include <span>

// The wheel's input report (id 1, input): two consumer usages and a button code, 0 meaning none.
struct SteeringWheelReport {
    static constexpr uint8_t kReportId = 1;
    static constexpr size_t kLength = 5;

    uint16_t firstUsage = 0;
    uint16_t secondUsage = 0;
    uint8_t code = 0;

    // Any length other than kLength reads as a report without buttons.
    static SteeringWheelReport decode(std::span<const uint8_t> value);
    // The buttons the report holds down: its non-zero usages and its code.
    std::set<uint16_t> litButtons() const;

    bool operator==(const SteeringWheelReport&) const = default;
};
