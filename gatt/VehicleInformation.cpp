// Vehicle information key fob: the texts of its ten vehicle values, the radio station names and the
// location link.
#include "gatt/VehicleInformation.h"

#include "gatt/ByteReader.h"
#include "gatt/ValueText.h"

#include <algorithm>
#include <map>

namespace {

constexpr size_t kShortLength = 2;
constexpr size_t kListLength = 10;
constexpr size_t kFuelAndRangeLength = 3;
constexpr size_t kCoordinateLength = 4;
constexpr int32_t kNotReported = -1;

const QString kNotInSync = QStringLiteral("Not in sync");
const QString kBaseUrl = QStringLiteral("https://nominatim.openstreetmap.org/ui/search.html");

// A signed number with its unit, or text when the vehicle has not reported it.
QString Reported(int32_t number, const char* unit, const QString& notReported = kNotInSync) {
    return number == kNotReported ? notReported : QString::number(number) + QLatin1String(unit);
}

std::optional<int16_t> Signed16(std::span<const uint8_t> value) {
    if (value.size() != kShortLength) {
        return std::nullopt;
    }
    return *ByteReader(value).i16();
}

} // namespace

std::optional<QString> SpeedLimitText(std::span<const uint8_t> value) {
    const auto limit = Signed16(value);
    return limit ? std::optional(Reported(*limit, " Km/Hr")) : std::nullopt;
}

std::optional<std::array<QString, 5>> TyrePressureTexts(std::span<const uint8_t> value) {
    if (value.size() != kListLength) {
        return std::nullopt;
    }
    ByteReader reader(value);
    std::array<QString, 5> texts;
    for (QString& text : texts) {
        text = Reported(*reader.i16(), " psi", QStringLiteral("NA"));
    }
    return texts;
}

std::optional<QString> OdometerText(std::span<const uint8_t> value) {
    const auto distance = Signed16(value);
    return distance ? std::optional(Reported(*distance, " Km")) : std::nullopt;
}

std::optional<QString> RegistrationText(std::span<const uint8_t> value) {
    if (value.size() != kListLength) {
        return std::nullopt;
    }
    if (std::all_of(value.begin(), value.end(), [](uint8_t byte) { return byte == 0xFF; })) {
        return kNotInSync;
    }
    const auto end = std::find(value.begin(), value.end(), uint8_t{0});
    return QString::fromLatin1(reinterpret_cast<const char*>(value.data()), end - value.begin());
}

std::optional<uint8_t> StatusValue(std::span<const uint8_t> value) {
    if (value.size() != 1) {
        return std::nullopt;
    }
    return value[0];
}

std::optional<int32_t> CoordinateValue(std::span<const uint8_t> value) {
    if (value.size() != kCoordinateLength) {
        return std::nullopt;
    }
    return static_cast<int32_t>(*ByteReader(value).u32());
}

QString CoordinateText(int32_t coordinate) {
    if (coordinate == kNotReported) {
        return kNotInSync;
    }
    return FloatToString(static_cast<float>(coordinate / 10000000.0));
}

std::optional<FuelAndRange> FuelAndRangeTexts(std::span<const uint8_t> value) {
    if (value.size() != kFuelAndRangeLength) {
        return std::nullopt;
    }
    ByteReader reader(value);
    const auto fuel = static_cast<int8_t>(*reader.u8());
    const auto range = *reader.i16();
    return FuelAndRange{Reported(fuel, " L"), Reported(range, " Km")};
}

std::optional<std::array<uint16_t, 5>> StationIds(std::span<const uint8_t> value) {
    if (value.size() != kListLength) {
        return std::nullopt;
    }
    ByteReader reader(value);
    std::array<uint16_t, 5> ids{};
    for (uint16_t& id : ids) {
        id = *reader.u16();
    }
    return ids;
}

QString StationName(uint16_t id) {
    static const std::map<uint16_t, QString> kNames = {{1, QStringLiteral("94.3")},
                                                       {2, QStringLiteral("98.3")},
                                                       {3, QStringLiteral("101.3")},
                                                       {4, QStringLiteral("102.6")},
                                                       {5, QStringLiteral("104.0")}};
    const auto found = kNames.find(id);
    return found != kNames.end() ? found->second : QStringLiteral("Unknown-%1").arg(id);
}

QString LocationUrl(int32_t latitude, int32_t longitude) {
    // QString::asprintf formats in the C locale.
    return kBaseUrl + QString::asprintf("?q=%f,%f", latitude / 10000000.0, longitude / 10000000.0);
}
