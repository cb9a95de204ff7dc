// Date Time fields of health and body measurements and the local calendar time they stand for.
#include "gatt/DateTime.h"

#include <iomanip>
#include <locale>
#include <sstream>

std::optional<DateTime> DateTime::read(ByteReader& reader) {
    DateTime time;
    const auto year = reader.u16();
    const auto month = reader.u8();
    const auto day = reader.u8();
    const auto hours = reader.u8();
    const auto minutes = reader.u8();
    const auto seconds = reader.u8();
    if (reader.failed()) {
        return std::nullopt;
    }
    time.year = *year;
    time.month = *month;
    time.day = *day;
    time.hours = *hours;
    time.minutes = *minutes;
    time.seconds = *seconds;
    return time;
}

QString DateTime::text() const {
    return QString::asprintf("%04d/%02d/%02d %02d:%02d:%02d", year, month, day, hours, minutes, seconds);
}

std::tm ReceivedLocalTime(const DateTime& received, std::time_t now) {
    std::tm time{};
    localtime_r(&now, &time);
    if (received.year != 0) {
        time.tm_year = received.year - 1900;
    }
    if (received.month != 0) {
        time.tm_mon = received.month - 1;
    }
    time.tm_mday = received.day;
    time.tm_hour = received.hours;
    time.tm_min = received.minutes;
    time.tm_sec = received.seconds;
    // Now's summer-time flag would move a date of the other period by an hour.
    time.tm_isdst = -1;
    std::mktime(&time);
    return time;
}

QString FormatLocalTime(const std::tm& time, const char* format) {
    std::ostringstream text;
    text.imbue(std::locale::classic());
    text << std::put_time(&time, format);
    return QString::fromStdString(text.str());
}
