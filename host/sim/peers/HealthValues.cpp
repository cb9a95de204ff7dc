// Health device values as simulated sensors send them: SFLOAT, FLOAT and Date Time fields.
#include "HealthValues.h"

#include <chrono>

namespace orv::sim {

uint16_t sfloat(int mantissa, int exponent) {
    return static_cast<uint16_t>(((exponent & 0x0F) << 12) | (mantissa & 0x0FFF));
}

uint32_t float32(int mantissa, int exponent) {
    return (static_cast<uint32_t>(exponent & 0xFF) << 24) | (static_cast<uint32_t>(mantissa) & 0x00FFFFFFu);
}

void put8(std::vector<uint8_t>& out, uint8_t value) {
    out.push_back(value);
}

void put16(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t value) {
    put16(out, static_cast<uint16_t>(value & 0xFFFF));
    put16(out, static_cast<uint16_t>(value >> 16));
}

void putDateTime(std::vector<uint8_t>& out, int64_t secondsSince1970) {
    using namespace std::chrono;
    const sys_seconds time{seconds(secondsSince1970)};
    const sys_days day = floor<days>(time);
    const year_month_day date(day);
    const hh_mm_ss clock(time - day);
    put16(out, static_cast<uint16_t>(static_cast<int>(date.year())));
    put8(out, static_cast<uint8_t>(static_cast<unsigned>(date.month())));
    put8(out, static_cast<uint8_t>(static_cast<unsigned>(date.day())));
    put8(out, static_cast<uint8_t>(clock.hours().count()));
    put8(out, static_cast<uint8_t>(clock.minutes().count()));
    put8(out, static_cast<uint8_t>(clock.seconds().count()));
}

} // namespace orv::sim
