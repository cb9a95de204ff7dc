// HID over GATT: the steering wheel's input report and the buttons it holds lit.
#include "gatt/SteeringWheel.h"

#include "gatt/ByteReader.h"

SteeringWheelReport SteeringWheelReport::decode(std::span<const uint8_t> value) {
    if (value.size() != kLength)
        return {};
    ByteReader reader(value);
    SteeringWheelReport report;
    report.firstUsage = *reader.u16();
    report.secondUsage = *reader.u16();
    report.code = *reader.u8();
    return report;
}

std::set<uint16_t> SteeringWheelReport::litButtons() const {
    std::set<uint16_t> lit{firstUsage, secondUsage, code};
    lit.erase(0);
    return lit;
}
