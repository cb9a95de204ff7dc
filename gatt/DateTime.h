// Date Time fields of health and body measurements and the local calendar time they stand for.
#pragma once

#include "gatt/ByteReader.h"

#include <QString>

#include <cstdint>
#include <ctime>
#include <optional>

// Year (0: not known), month (0: not known), day, hours, minutes and seconds, as a sensor sends them.
struct DateTime {
    uint16_t year = 0;
    uint8_t month = 0;
    uint8_t day = 0;
    uint8_t hours = 0;
    uint8_t minutes = 0;
    uint8_t seconds = 0;

    // The seven bytes at the reader's cursor; nullopt when they do not fit.
    static std::optional<DateTime> read(ByteReader& reader);
    // "%04d/%02d/%02d %02d:%02d:%02d", the fields as received.
    QString text() const;

    bool operator==(const DateTime&) const = default;
};

// The local time now, with the received year and month where they are not 0 and the received day,
// hours, minutes and seconds, normalised (a day 32 is in the next month). Summer time is decided
// for the resulting date itself, so a date in the other summer-time period keeps its hour.
std::tm ReceivedLocalTime(const DateTime& received, std::time_t now);

// strftime of time with format in the C locale ("%b" is always an English month).
QString FormatLocalTime(const std::tm& time, const char* format);
