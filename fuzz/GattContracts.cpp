// Contracts of the value functions, checked for any input: lengths follow the fields, every field is
// present and read back, numbers stay in their ranges and texts in their forms.
#include "fuzz/GattContracts.h"

#include "gatt/BodyMeasurement.h"
#include "gatt/ByteReader.h"
#include "gatt/CivilTime.h"
#include "gatt/CscCalculator.h"
#include "gatt/CurrentTime.h"
#include "gatt/Hid.h"
#include "gatt/PhoneAlerts.h"
#include "gatt/SpeedAndCadence.h"
#include "gatt/TyrePressure.h"
#include "gatt/UserData.h"
#include "gatt/ValueText.h"
#include "gatt/VehicleInformation.h"

#include <QStringList>

#include <array>
#include <bit>
#include <chrono>
#include <cmath>
#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace {

using fuzz::Operands;

bool isHexInputCharacter(QChar c) {
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f') || c == u' ' ||
           c == u',';
}

// The leading decimal digits of a text.
QString leadingDigits(const QString& text) {
    qsizetype digits = 0;
    while (digits < text.size() && text[digits] >= u'0' && text[digits] <= u'9')
        ++digits;
    return text.left(digits);
}

// "N/A" without a value; else the value to its decimals, then the unit.
void checkMeasureText(const QString& text, std::optional<float> value, QLatin1String unit, int decimals) {
    if (!value) {
        FUZZ_CHECK(text == QLatin1String("N/A"));
        return;
    }
    FUZZ_CHECK(text.endsWith(unit));
    const QString number = text.chopped(unit.size());
    bool ok = false;
    const double shown = number.toDouble(&ok);
    FUZZ_CHECK(ok && number.indexOf(u'.') == number.size() - 1 - decimals);
    FUZZ_CHECK(std::abs(shown - *value) <= 0.5 * std::pow(10.0, -decimals) + 1e-9 * *value);
}

bool sane(const CscCalculator::Rates& rates) {
    return std::isfinite(rates.instantaneous) && std::isfinite(rates.average) && rates.instantaneous >= 0 &&
           rates.average >= 0;
}

// A valid date and time of the years the time services serve.
CivilTime makeCivilTime(Operands& in) {
    CivilTime time;
    time.year = 1600 + in.u16() % 8300;
    time.month = 1 + in.u8() % 12;
    time.day = 1 + in.u8() % 28;
    time.hour = in.u8() % 24;
    time.minute = in.u8() % 60;
    time.second = in.u8() % 60;
    return time;
}

// Year (u16), month, day, hours, minutes, seconds as the time services send them.
bool readsDateTime(ByteReader& reader, const CivilTime& time) {
    return reader.u16() == time.year && reader.u8() == time.month && reader.u8() == time.day &&
           reader.u8() == time.hour && reader.u8() == time.minute && reader.u8() == time.second;
}

int minutes(const TimeSinceUpdate& since) {
    return (since.days * 24 + since.hours) * 60 + since.minutes;
}

} // namespace

namespace fuzz::contracts {

// The HID window's texts: three characters a byte that the typed-report parser reads back, decimal
// bytes one blank apart, the report's id and type name in front, the version's three numbers.
void hidTexts(Value v) {
    Operands in(v);
    const uint8_t id = in.u8();
    const uint8_t type = in.u8();
    const uint16_t version = in.u16();
    const Value bytes = in.rest();
    const QString hex = FormatHexBytes(bytes);
    FUZZ_CHECK(hex.size() == 3 * static_cast<qsizetype>(bytes.size()));
    const auto parsed = ParseHexBytes(hex);
    FUZZ_CHECK(parsed.has_value() == (!bytes.empty() && bytes.size() <= kMaxTypedReportBytes));
    FUZZ_CHECK(!parsed || std::ranges::equal(*parsed, bytes));
    const QString decimal = FormatBytesDecimal(bytes);
    const QStringList numbers = decimal.split(u' ');
    FUZZ_CHECK(decimal.isEmpty() == bytes.empty());
    FUZZ_CHECK(bytes.empty() || numbers.size() == static_cast<qsizetype>(bytes.size()));
    for (qsizetype i = 0; i < numbers.size() && !bytes.empty(); ++i) {
        bool ok = false;
        FUZZ_CHECK(numbers[i].size() >= 2 && numbers[i].toUInt(&ok) == bytes[i] && ok);
    }
    const QString name = HidReportTypeName(type);
    FUZZ_CHECK((name == QLatin1String("UNKNOWN")) == (type > HidReportType::Feature));
    FUZZ_CHECK(HidReportText(id, type, bytes) ==
               QString::number(id) + u' ' + name + QLatin1String(" - ") + hex);
    const QStringList parts = HidVersionText(version).split(u'.');
    FUZZ_CHECK(parts.size() == 3 && parts[0].toUInt() == version >> 8u &&
               parts[1].toUInt() == (version >> 4u & 0xFu) && parts[2].toUInt() == (version & 0xFu));
}

// The report edit keeps the longest prefix of allowed characters and says whether it cut.
void hexInputFilter(Value v) {
    const QString text = typed(v);
    QString kept = text;
    const bool whole = FilterHexInput(kept);
    FUZZ_CHECK(text.startsWith(kept) && whole == (kept.size() == text.size()));
    FUZZ_CHECK(std::all_of(kept.begin(), kept.end(), isHexInputCharacter));
    FUZZ_CHECK(whole || !isHexInputCharacter(text[kept.size()]));
    FUZZ_CHECK(FilterHexInput(kept));
    const auto bytes = ParseHexBytes(kept);
    FUZZ_CHECK(!bytes || (!bytes->empty() && bytes->size() <= kMaxTypedReportBytes));
}

// A lock or trunk status is exactly one byte.
void fobStatus(Value v) {
    const auto status = StatusValue(v);
    FUZZ_CHECK(status.has_value() == (v.size() == 1));
    FUZZ_CHECK(!status || *status == v[0]);
}

// Stations 1 to 5 are FM frequencies in MHz, any other id reads back from its text.
void stationName(Value v) {
    const uint16_t id = Operands(v).u16();
    const QString name = StationName(id);
    if (id < 1 || id > 5) {
        FUZZ_CHECK(name == QLatin1String("Unknown-") + QString::number(id));
        return;
    }
    bool ok = false;
    const double megahertz = name.toDouble(&ok);
    FUZZ_CHECK(ok && megahertz >= 87.5 && megahertz <= 108.0);
}

// The map link holds both coordinates in degrees with six decimals in the C locale.
void locationUrl(Value v) {
    Operands in(v);
    const int32_t coordinates[] = {static_cast<int32_t>(in.u32()), static_cast<int32_t>(in.u32())};
    const QString url = LocationUrl(coordinates[0], coordinates[1]);
    const qsizetype query = url.indexOf(QLatin1String("?q="));
    FUZZ_CHECK(url.startsWith(QLatin1String("https://")) && query > 0);
    const QStringList degrees = url.mid(query + 3).split(u',');
    FUZZ_CHECK(degrees.size() == 2);
    for (qsizetype i = 0; i < degrees.size(); ++i) {
        bool ok = false;
        const double shown = degrees[i].toDouble(&ok);
        FUZZ_CHECK(ok && degrees[i].indexOf(u'.') == degrees[i].size() - 7);
        FUZZ_CHECK(std::abs(shown - coordinates[i] / 1e7) <= 5.1e-7);
    }
}

// Masses (resolutions 1 to 7) and heights (1 to 3): never negative, never above the raw number, finer
// with each index, and their texts.
void bodyMeasures(Value v) {
    Operands in(v);
    const uint16_t raw = in.u16();
    const unsigned index = in.u8();
    const bool imperial = (in.u8() & 1) != 0;
    const auto mass = MassValue(raw, index, imperial);
    const auto height = HeightValue(raw, index, imperial);
    FUZZ_CHECK(mass.has_value() == (index >= 1 && index <= 7));
    FUZZ_CHECK(height.has_value() == (index >= 1 && index <= 3));
    FUZZ_CHECK(!mass || (*mass >= 0 && *mass <= raw && *MassValue(raw, 1, imperial) >= *mass));
    FUZZ_CHECK(!height || (*height >= 0 && *height <= raw && *HeightValue(raw, 1, imperial) >= *height));
    checkMeasureText(MassText(mass, imperial), mass, QLatin1String(imperial ? " lb" : " kg"), 2);
    checkMeasureText(HeightText(height, imperial), height, QLatin1String(imperial ? " inch" : " m"),
                     imperial ? 3 : 2);
}

// A typed number is empty without a leading digit, valid only within five characters and max, and
// then the number its leading digits spell.
void typedNumber(Value v) {
    Operands in(v);
    const uint32_t max = in.u32();
    const QString text = typed(in.rest());
    const TypedNumber number = TypedNumber::parse(text, max);
    const QString digits = leadingDigits(text);
    FUZZ_CHECK((number.state == TypedNumber::State::Empty) == digits.isEmpty());
    if (number.state != TypedNumber::State::Valid) {
        FUZZ_CHECK(number.value == 0);
        return;
    }
    FUZZ_CHECK(text.size() <= 5 && number.value <= max && digits.toUInt() == number.value);
}

// A handle typed into an edit reads as the C library reads it; a refused text leaves the value as it was.
void editUInt16(Value v) {
    constexpr uint16_t kUntouched = 0xA5A5;
    const QString text = typed(v);
    uint16_t value = kUntouched;
    const bool accepted = ParseEditUInt16(text, &value);
    const long long reference = std::strtoll(text.left(255).toLatin1().constData(), nullptr, 10);
    FUZZ_CHECK(accepted == (!text.isEmpty() && reference >= 0 && reference <= UINT16_MAX));
    FUZZ_CHECK(value == (accepted ? reference : kUntouched));
}

// A Sensor Location name and its number read back into each other; other texts are "Other" (0).
void sensorLocationNames(Value v) {
    const QString text = typed(v);
    const auto name = SensorLocationName(SensorLocationFromName(text));
    FUZZ_CHECK(name && (SensorLocationFromName(text) == 0 || *name == text));
    const uint8_t location = Operands(v).u8();
    if (const auto any = SensorLocationName(location))
        FUZZ_CHECK(SensorLocationFromName(*any) == location);
}

// A wheel position's name and number read back into each other; other texts are "Unknown".
void wheelPositionNames(Value v) {
    const QString text = typed(v);
    const uint8_t position = WheelPositionFromName(text);
    FUZZ_CHECK(position == kUnknownWheelPosition ||
               (position >= 1 && position <= 5 && WheelPositionName(position) == text));
    const uint8_t any = Operands(v).u8();
    FUZZ_CHECK(WheelPositionFromName(WheelPositionName(any)) ==
               (any >= 1 && any <= 5 ? any : kUnknownWheelPosition));
}

// Rounding moves a finite number by at most half a step of its decimals and never across zero.
void roundToDecimals(Value v) {
    Operands in(v);
    const uint64_t low = in.u32();
    const auto value = std::bit_cast<double>(low | uint64_t{in.u32()} << 32);
    const int decimals = in.u8() % 16;
    if (!std::isfinite(value))
        return;
    const double rounded = RoundToDecimals(value, decimals);
    FUZZ_CHECK(std::abs(rounded - value) <= 0.5 * std::pow(10.0, -decimals) + 1e-15 * (std::abs(value) + 1));
    FUZZ_CHECK((value < 0 || rounded >= 0) && (value > 0 || rounded <= 0));
}

// A ride of wheel and crank samples, time-outs and settings in any order: rates are finite and never
// negative, a sample within half a second of the last one taken changes nothing, the crank count shown
// has 65536 added from its first fall on, and only samples after the first give rates.
void cyclingRide(Value v) {
    Operands in(v);
    CscCalculator csc;
    std::optional<std::pair<uint32_t, uint16_t>> wheel; // the last wheel sample taken: count and time
    std::optional<std::pair<uint16_t, uint16_t>> crank;
    bool wrapped = false;
    while (!in.empty()) {
        switch (in.u8() % 7) {
        case 0: {
            const uint32_t revolutions = in.u32();
            const uint16_t time = in.u16();
            const float before = csc.TotalDistance();
            const auto speed = csc.AddWheel(revolutions, time);
            const bool taken = !wheel || static_cast<uint16_t>(time - wheel->second) >= 512;
            FUZZ_CHECK(speed.has_value() == (wheel && taken) && (taken || csc.TotalDistance() == before));
            FUZZ_CHECK(!speed ||
                       (sane(*speed) && (revolutions != wheel->first || speed->instantaneous == 0)));
            if (taken)
                wheel = {revolutions, time};
            break;
        }
        case 1: {
            const uint16_t revolutions = in.u16();
            const uint16_t time = in.u16();
            wrapped = wrapped || (crank && revolutions < crank->first);
            const CscCalculator::CrankSample sample = csc.AddCrank(revolutions, time);
            const bool taken = !crank || static_cast<uint16_t>(time - crank->second) >= 512;
            FUZZ_CHECK(sample.shownRevolutions == revolutions + (wrapped ? 65536u : 0u));
            FUZZ_CHECK(sample.cadence.has_value() == (crank && taken) &&
                       (!sample.cadence || sane(*sample.cadence)));
            if (taken)
                crank = {revolutions, time};
            break;
        }
        case 2: {
            const CscCalculator::Rates speed = csc.SpeedTimeout();
            FUZZ_CHECK(speed.instantaneous == 0 && sane(speed));
            break;
        }
        case 3: {
            const CscCalculator::Rates cadence = csc.CadenceTimeout();
            FUZZ_CHECK(cadence.instantaneous == 0 && sane(cadence));
            break;
        }
        case 4:
            csc.ResetDistance();
            FUZZ_CHECK(csc.TotalDistance() == 0);
            break;
        case 5: {
            const uint32_t revolutions = in.u32();
            csc.SetCumulativeValue(revolutions, in.u16() / 100.0f); // as the window shows an average
            if (wheel)
                wheel->first = revolutions;
            break;
        }
        default:
            csc.SetCircumference(in.u16());
            break;
        }
        FUZZ_CHECK(std::isfinite(csc.TotalDistance()) && csc.TotalDistance() >= 0);
    }
}

// The unread counts sent: in category order, each new or other than before, none left out.
void unreadCounts(Value v) {
    Operands in(v);
    std::map<uint8_t, uint8_t> before;
    std::map<uint8_t, uint8_t> now;
    while (!in.empty()) {
        auto& counts = (in.u8() & 1) != 0 ? now : before;
        const uint8_t category = in.u8();
        counts[category] = in.u8();
    }
    const auto changed = ChangedUnreadCounts(before, now);
    FUZZ_CHECK(std::ranges::adjacent_find(changed, [](const auto& a, const auto& b) {
                   return a.first >= b.first;
               }) == changed.end());
    size_t differing = 0;
    for (const auto& [category, count] : now) {
        const auto old = before.find(category);
        differing += old == before.end() || old->second != count ? 1 : 0;
    }
    FUZZ_CHECK(changed.size() == differing);
    for (const auto& [category, count] : changed) {
        const auto old = before.find(category);
        FUZZ_CHECK(now.at(category) == count && (old == before.end() || old->second != count));
    }
}

// A control-point category names itself or, as 0xFF, all ten; enabling and disabling it changes the
// bits of the categories it names and no other.
void alertCategories(Value v) {
    Operands in(v);
    const uint8_t category = in.u8();
    const auto mask = static_cast<uint16_t>(in.u16() & AlertControl::AllCategoriesMask);
    const std::vector<uint8_t> requested = RequestedCategories(category);
    if (category == AlertControl::AllCategories) {
        FUZZ_CHECK(requested.size() == AlertControl::CategoryCount);
        for (uint8_t c = 0; c < requested.size(); ++c)
            FUZZ_CHECK(requested[c] == c);
    } else {
        FUZZ_CHECK(requested == std::vector<uint8_t>{category});
    }
    const uint16_t on = WithCategory(mask, category, true);
    const uint16_t off = WithCategory(mask, category, false);
    FUZZ_CHECK(((on | off) & ~AlertControl::AllCategoriesMask) == 0);
    for (uint8_t c = 0; c < AlertControl::CategoryCount; ++c) {
        const bool named = std::ranges::find(requested, c) != requested.end();
        FUZZ_CHECK(named ? HasCategory(on, c) && !HasCategory(off, c)
                         : HasCategory(on, c) == HasCategory(mask, c) &&
                               HasCategory(off, c) == HasCategory(mask, c));
    }
}

// The First Name written: nothing for no name, else UTF-8 ending in one zero byte that reads back as
// the name's first 19 characters (up to a zero character).
void firstName(Value v) {
    constexpr qsizetype kCharacters = 19;
    const QString name = typed(v);
    const std::vector<uint8_t> value = FirstNameValue(name);
    FUZZ_CHECK(value.empty() == name.isEmpty());
    if (value.empty())
        return;
    FUZZ_CHECK(value.back() == 0 && value.size() <= 4 * kCharacters + 1);
    const QList<uint> characters = name.toUcs4();
    QString expected = QString::fromUcs4(reinterpret_cast<const char32_t*>(characters.data()),
                                         std::min(characters.size(), kCharacters));
    const qsizetype nul = expected.indexOf(QChar(u'\0'));
    if (nul >= 0)
        expected.truncate(nul);
    FUZZ_CHECK(FirstNameText(value) == expected);
}

// User Control Point requests: op code, then their fields little-endian, nothing more.
void userControlRequests(Value v) {
    Operands in(v);
    const uint8_t index = in.u8();
    const uint16_t code = in.u16();
    const std::vector<uint8_t> registration = RegisterNewUserRequest(code);
    ByteReader reader(registration);
    FUZZ_CHECK(reader.u8() == UserControlPoint::RegisterNewUser && reader.u16() == code &&
               reader.remaining() == 0);
    const std::vector<uint8_t> consent = ConsentRequest(index, code);
    ByteReader consentReader(consent);
    FUZZ_CHECK(consentReader.u8() == UserControlPoint::Consent && consentReader.u8() == index &&
               consentReader.u16() == code && consentReader.remaining() == 0);
}

// Set Cumulative Value carries the typed count (or any count) little-endian after its op code.
void cumulativeValueRequest(Value v) {
    const uint32_t value = ParseCumulativeValue(typed(v)).value_or(Operands(v).u32());
    const auto request = SetCumulativeValueRequest(value);
    ByteReader reader(request);
    FUZZ_CHECK(reader.u8() == ScOpCode::SetCumulativeValue && reader.u32() == value &&
               reader.remaining() == 0);
}

// Days later by the calendar: a valid date at the same time of day, the weekday moved along, and back
// again; the Current Time value of it carries every field and its weekday.
void currentTime(Value v) {
    Operands in(v);
    const CivilTime time = makeCivilTime(in);
    const int days = static_cast<int16_t>(in.u16());
    const uint8_t reason = in.u8();
    const CivilTime moved = AddDays(time, days);
    const std::chrono::year_month_day date(std::chrono::year(moved.year),
                                           std::chrono::month(static_cast<unsigned>(moved.month)),
                                           std::chrono::day(static_cast<unsigned>(moved.day)));
    FUZZ_CHECK(date.ok() && moved.hour == time.hour && moved.minute == time.minute &&
               moved.second == time.second);
    FUZZ_CHECK(AddDays(moved, -days) == time);
    const int weekday = DayOfWeek(time.year, time.month, time.day);
    const int movedWeekday = DayOfWeek(moved.year, moved.month, moved.day);
    FUZZ_CHECK(weekday >= 1 && weekday <= 7 && movedWeekday == (weekday - 1 + days % 7 + 7) % 7 + 1);
    const auto value = EncodeCurrentTime(moved, movedWeekday, reason);
    ByteReader reader(value);
    FUZZ_CHECK(readsDateTime(reader, moved) && reader.u8() == movedWeekday && reader.u8() == 0 &&
               reader.u8() == reason && reader.remaining() == 0);
}

// The other values of the time services carry their fields as given.
void timeServiceValues(Value v) {
    Operands in(v);
    const CivilTime change = makeCivilTime(in);
    const uint8_t dstOffset = in.u8();
    const auto zone = static_cast<int8_t>(in.u8());
    const uint8_t days = in.u8();
    const uint8_t hours = in.u8();
    const auto withDst = EncodeTimeWithDst(change, dstOffset);
    ByteReader reader(withDst);
    FUZZ_CHECK(readsDateTime(reader, change) && reader.u8() == dstOffset && reader.remaining() == 0);
    const auto local = EncodeLocalTimeInformation(zone, dstOffset);
    FUZZ_CHECK(static_cast<int8_t>(local[0]) == zone && local[1] == dstOffset);
    FUZZ_CHECK(
        (EncodeReferenceTimeInformation(days, hours) == std::array<uint8_t, 4>{0x01, 0xFF, days, hours}));
    FUZZ_CHECK((EncodeTimeUpdateState(days, hours) == std::array<uint8_t, 2>{days, hours}));
}

// The time since the last update counts a minute at a time up to 254 days and then stays at 255 days
// and 255 hours; the zone item shows the bias as UTC plus or minus hours and minutes.
void timeSinceUpdateAndZone(Value v) {
    Operands in(v);
    TimeSinceUpdate since;
    since.days = in.u8();
    since.hours = since.days == 255 ? 255 : in.u8() % 24;
    since.minutes = in.u8() % 60;
    for (int steps = in.u8(); steps >= 0; --steps) {
        const TimeSinceUpdate next = AddMinute(since);
        FUZZ_CHECK(next.minutes == (since.minutes + 1) % 60);
        if (next.days == 255)
            FUZZ_CHECK(next.hours == 255 &&
                       (since.days == 255 || minutes(since) == 254 * 24 * 60 + 23 * 60 + 59));
        else
            FUZZ_CHECK(next.hours < 24 && minutes(next) == minutes(since) + 1);
        since = next;
    }
    const int bias = static_cast<int16_t>(in.u16());
    const QString text = TimeZoneItemText(bias);
    const qsizetype colon = text.lastIndexOf(u':');
    FUZZ_CHECK(text.startsWith(QLatin1String("Time Zone: UTC ")) && text.size() >= 22 && text[16] == u' ');
    FUZZ_CHECK((text[15] == u'-') == (bias > 0) && (text[15] == u'+' || text[15] == u'-'));
    const QString hoursText = text.mid(17, colon - 17);
    const QString minutesText = text.mid(colon + 1);
    FUZZ_CHECK(hoursText.size() >= 2 && leadingDigits(hoursText) == hoursText);
    FUZZ_CHECK(minutesText.size() == 2 && leadingDigits(minutesText) == minutesText);
    FUZZ_CHECK(hoursText.toInt() * 60 + minutesText.toInt() == std::abs(bias));
}

} // namespace fuzz::contracts
