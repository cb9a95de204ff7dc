// Weight Scale and Body Composition services: what their measurements share (resolution tables,
// the texts of masses and heights).
#include "gatt/BodyMeasurement.h"

#include <array>

namespace {

struct Factors {
    double si;
    double imperial;
};

// Index 1 first.
constexpr std::array<Factors, 7> kMass = {{
    {0.5, 1},
    {0.2, 0.5},
    {0.1, 0.2},
    {0.05, 0.1},
    {0.02, 0.05},
    {0.01, 0.02},
    {0.005, 0.01},
}};
constexpr std::array<Factors, 3> kHeight = {{{0.01, 1}, {0.005, 0.5}, {0.001, 0.1}}};

template <size_t N>
std::optional<float> Scaled(const std::array<Factors, N>& table, uint16_t raw, unsigned index,
                            bool imperial) {
    if (index == 0 || index > table.size())
        return std::nullopt;
    const Factors& factors = table[index - 1];
    return static_cast<float>(raw * (imperial ? factors.imperial : factors.si));
}

const QString kNotAvailable = QStringLiteral("N/A");

} // namespace

std::optional<float> MassValue(uint16_t raw, unsigned index, bool imperial) {
    return Scaled(kMass, raw, index, imperial);
}

std::optional<float> HeightValue(uint16_t raw, unsigned index, bool imperial) {
    return Scaled(kHeight, raw, index, imperial);
}

QString MassText(std::optional<float> value, bool imperial) {
    if (!value)
        return kNotAvailable;
    return QString::asprintf(imperial ? "%.2lf lb" : "%.2lf kg", static_cast<double>(*value));
}

QString HeightText(std::optional<float> value, bool imperial) {
    if (!value)
        return kNotAvailable;
    return QString::asprintf(imperial ? "%.3lf inch" : "%.2lf m", static_cast<double>(*value));
}
