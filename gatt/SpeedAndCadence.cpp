// Cycling and Running Speed and Cadence: Sensor Location names, the SC Control Point's requests and
// responses, and the numbers typed in to set a sensor's cumulative values.
#include "gatt/SpeedAndCadence.h"

#include "gatt/ByteReader.h"

#include <cmath>

namespace {

constexpr std::array<const char*, 14> kLocationNames = {
    "Other",      "Top of Shoe", "In Shoe",   "Hip",          "Front Wheel", "Left Crank", "Right Crank",
    "Left Pedal", "Right Pedal", "Front Hub", "Rear Dropout", "Chainstay",   "Rear Wheel", "Rear Hub"};

// The part of the text an edit box hands over.
constexpr qsizetype kMaxEditText = 255;
// Leading integers beyond this are held here: every range checked below ends far below it.
constexpr int64_t kIntegerCeiling = int64_t{1} << 40;
constexpr uint64_t kLargestCumulative = uint64_t{1} << 32;
constexpr double kLargestDistanceKm = 429496;
constexpr double kTenthsOfMetrePerKm = 10000;

bool isCSpace(QChar c) {
    const char16_t u = c.unicode();
    return u == u' ' || (u >= u'\t' && u <= u'\r');
}

bool isDigit(const QString& text, qsizetype i) {
    return i < text.size() && text[i] >= u'0' && text[i] <= u'9';
}

qsizetype skipDigits(const QString& text, qsizetype i) {
    while (isDigit(text, i)) {
        ++i;
    }
    return i;
}

// Leading white space and an optional sign, as a C conversion reads them; returns where the number
// starts.
qsizetype skipSpaceAndSign(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && isCSpace(text[i])) {
        ++i;
    }
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        ++i;
    }
    return i;
}

// The leading integer of typed text; nullopt when no digit follows the white space and sign.
std::optional<int64_t> leadingInteger(const QString& typed) {
    const QString text = typed.left(kMaxEditText);
    const qsizetype start = skipSpaceAndSign(text);
    if (!isDigit(text, start)) {
        return std::nullopt;
    }
    int64_t magnitude = 0;
    for (qsizetype i = start; isDigit(text, i); ++i) {
        magnitude = std::min(magnitude * 10 + (text[i].unicode() - u'0'), kIntegerCeiling);
    }
    return start > 0 && text[start - 1] == u'-' ? -magnitude : magnitude;
}

// The leading decimal number of typed text; nullopt when there is none.
std::optional<double> leadingDecimal(const QString& typed) {
    const QString text = typed.left(kMaxEditText);
    const qsizetype begin = skipSpaceAndSign(text);
    qsizetype end = skipDigits(text, begin);
    bool digits = end > begin;
    if (end < text.size() && text[end] == u'.') {
        const qsizetype fraction = skipDigits(text, end + 1);
        digits = digits || fraction > end + 1;
        end = fraction;
    }
    if (!digits) {
        return std::nullopt;
    }
    if (end < text.size() && (text[end] == u'e' || text[end] == u'E')) {
        qsizetype exponent = end + 1;
        if (exponent < text.size() && (text[exponent] == u'+' || text[exponent] == u'-')) {
            ++exponent;
        }
        if (isDigit(text, exponent)) {
            end = skipDigits(text, exponent);
        }
    }
    bool ok = false;
    const double number = QStringView(text).first(end).trimmed().toDouble(&ok);
    return ok && std::isfinite(number) ? std::optional<double>(number) : std::nullopt;
}

} // namespace

std::optional<ScControlPointResponse> ScControlPointResponse::decode(std::span<const uint8_t> value) {
    ByteReader reader(value);
    const auto code = reader.u8();
    const auto opCode = reader.u8();
    const auto result = reader.u8();
    if (!code || !opCode || !result) {
        return std::nullopt;
    }
    return ScControlPointResponse{*code, *opCode, *result, {value.begin() + 3, value.end()}};
}

std::array<uint8_t, 5> SetCumulativeValueRequest(uint32_t value) {
    return {ScOpCode::SetCumulativeValue, static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
            static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
}

std::optional<QString> SensorLocationName(uint32_t location) {
    if (location >= kLocationNames.size()) {
        return std::nullopt;
    }
    return QString::fromLatin1(kLocationNames[location]);
}

uint8_t SensorLocationFromName(const QString& text) {
    for (size_t i = 0; i < kLocationNames.size(); ++i) {
        if (text == QLatin1String(kLocationNames[i])) {
            return static_cast<uint8_t>(i);
        }
    }
    return 0;
}

std::optional<uint32_t> ParseCumulativeValue(const QString& text) {
    const auto value = leadingInteger(text);
    if (!value || *value < 0 || static_cast<uint64_t>(*value) > kLargestCumulative) {
        return std::nullopt;
    }
    return static_cast<uint32_t>(*value);
}

std::optional<uint16_t> ParseCircumference(const QString& text) {
    const auto value = leadingInteger(text);
    if (!value || *value < 1 || *value > UINT16_MAX) {
        return std::nullopt;
    }
    return static_cast<uint16_t>(*value);
}

std::optional<uint32_t> ParseTotalDistance(const QString& text) {
    const auto km = leadingDecimal(text);
    if (!km || *km < 0 || *km > kLargestDistanceKm) {
        return std::nullopt;
    }
    return static_cast<uint32_t>(std::llround(*km * kTenthsOfMetrePerKm));
}
