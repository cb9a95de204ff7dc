// Tyre pressure sensor: pressure units, the blow-out threshold's whole-psi steps, wheel positions and
// the numbers typed in for them.
#include "gatt/TyrePressure.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>

namespace {

constexpr std::array<const char*, 5> kPositionNames = {"Front Left", "Front Right", "Rear Left", "Rear Right",
                                                       "Spare"};

// Fractions of a relative threshold below this are left over from subtracting the offset.
constexpr double kFractionNoise = 1e-6;

// 10 to the power exponent, by repeated squaring.
double PowerOfTen(int exponent) {
    double result = 1.0;
    double base = 10.0;
    for (unsigned e = exponent < 0 ? 0u - static_cast<unsigned>(exponent) : static_cast<unsigned>(exponent);
         e != 0; e >>= 1) {
        if (e & 1u) {
            result *= base;
        }
        base *= base;
    }
    return exponent < 0 ? 1.0 / result : result;
}

bool IsBlank(QChar c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

} // namespace

double RoundToDecimals(double value, int decimals) {
    const double whole = std::trunc(value);
    const double scale = PowerOfTen(decimals);
    return std::floor((value - whole) * scale + 0.5) * (1.0 / scale) + whole;
}

double BlowOutPsi(uint16_t kpa, double offset) {
    return std::floor(kpa / kKpaPerPsi - offset + 0.5) + offset;
}

BlowOutSetting PsiToKpa(double thresholdPsi, double offset) {
    double relative = thresholdPsi - offset;
    const double whole = std::trunc(relative);
    if (relative - whole >= kFractionNoise) {
        relative = whole + 1.0;
    }
    const double kpa = std::floor((offset + relative) * kKpaPerPsi + 0.5);
    BlowOutSetting setting;
    setting.kpa = static_cast<uint16_t>(std::isnan(kpa) ? 0.0 : std::clamp(kpa, 0.0, 65535.0));
    setting.psi = BlowOutPsi(setting.kpa, offset);
    return setting;
}

QString WheelPositionName(uint8_t position) {
    if (position < 1 || position > kPositionNames.size()) {
        return QStringLiteral("Unknown");
    }
    return QString::fromLatin1(kPositionNames[position - 1]);
}

uint8_t WheelPositionFromName(const QString& name) {
    for (size_t i = 0; i < kPositionNames.size(); ++i) {
        if (name == QLatin1String(kPositionNames[i])) {
            return static_cast<uint8_t>(i + 1);
        }
    }
    return kUnknownWheelPosition;
}

std::optional<double> ParseDecimal(const QString& text) {
    qsizetype start = 0;
    while (start < text.size() && IsBlank(text[start])) {
        ++start;
    }
    QByteArray number;
    for (qsizetype i = start; i < text.size(); ++i) {
        if (text[i].unicode() > 0x7F) {
            return std::nullopt; // no decimal number holds it
        }
        number.append(static_cast<char>(text[i].unicode()));
    }
    // from_chars takes no plus sign.
    if (number.size() > 1 && number[0] == '+' &&
        (number[1] == '.' || std::isdigit(static_cast<unsigned char>(number[1])))) {
        number.remove(0, 1);
    }
    double value = 0.0;
    const char* end = number.constData() + number.size();
    const auto [stop, error] = std::from_chars(number.constData(), end, value, std::chars_format::general);
    if (number.isEmpty() || error != std::errc() || stop != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}
