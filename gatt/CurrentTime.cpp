// Current Time, Next DST Change and Reference Time Update services: the values the PC serves.
#include "gatt/CurrentTime.h"

#include <cstdlib>

namespace {

constexpr uint8_t kSourceManual = 0x01;
constexpr uint8_t kAccuracyUnknown = 0xFF;
constexpr int kMoreThan254Days = 255;

uint8_t Byte(int value) {
    return static_cast<uint8_t>(value);
}

} // namespace

TimeSinceUpdate AddMinute(const TimeSinceUpdate& since) {
    TimeSinceUpdate next = since;
    next.minutes = (since.minutes + 1) % 60;
    if (next.minutes != 0 || since.days >= kMoreThan254Days)
        return next;
    next.hours = (since.hours + 1) % 24;
    if (next.hours == 0 && ++next.days >= kMoreThan254Days)
        next.days = next.hours = kMoreThan254Days;
    return next;
}

std::array<uint8_t, 10> EncodeCurrentTime(const CivilTime& time, int dayOfWeek, uint8_t adjustReason) {
    return {Byte(time.year & 0xFF),
            Byte(time.year >> 8),
            Byte(time.month),
            Byte(time.day),
            Byte(time.hour),
            Byte(time.minute),
            Byte(time.second),
            Byte(dayOfWeek),
            0,
            adjustReason};
}

std::array<uint8_t, 2> EncodeLocalTimeInformation(int timeZone, uint8_t dstOffset) {
    return {Byte(timeZone), dstOffset};
}

std::array<uint8_t, 4> EncodeReferenceTimeInformation(int days, int hours) {
    return {kSourceManual, kAccuracyUnknown, Byte(days), Byte(hours)};
}

std::array<uint8_t, 8> EncodeTimeWithDst(const CivilTime& change, uint8_t dstOffset) {
    return {Byte(change.year & 0xFF), Byte(change.year >> 8), Byte(change.month),  Byte(change.day),
            Byte(change.hour),        Byte(change.minute),    Byte(change.second), dstOffset};
}

std::array<uint8_t, 2> EncodeTimeUpdateState(uint8_t state, uint8_t result) {
    return {state, result};
}

QString TimeZoneItemText(int bias) {
    const int east = -bias;
    return QString::asprintf("Time Zone: UTC %c %02d:%02d", east < 0 ? '-' : '+', std::abs(east) / 60,
                             std::abs(east) % 60);
}
