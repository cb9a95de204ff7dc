// Weight Scale and Body Composition services: what their measurements share (resolution tables,
// time stamp, the texts of masses and heights).
#pragma once

#include <QString>

#include <cstdint>
#include <optional>

class ByteReader;

// Year, month, day, hours, minutes, seconds, as both measurements carry them.
struct BodyTimeStamp {
    uint16_t year = 0;
    uint8_t month = 0;
    uint8_t day = 0;
    uint8_t hours = 0;
    uint8_t minutes = 0;
    uint8_t seconds = 0;

    // Seven bytes; nullopt, with the reader unmoved, when fewer remain.
    static std::optional<BodyTimeStamp> read(ByteReader& reader);
    // "%04d/%02d/%02d %02d:%02d:%02d".
    QString text() const;

    bool operator==(const BodyTimeStamp&) const = default;
};

// A raw mass (weight) times the factor of resolution index 1 to 7 (kg, or lb when imperial);
// nullopt for any other index, 0 (unspecified) included. Computed in double, kept as float.
std::optional<float> MassValue(uint16_t raw, unsigned index, bool imperial);
// The same for a height with index 1 to 3 (m, or inches when imperial).
std::optional<float> HeightValue(uint16_t raw, unsigned index, bool imperial);

// "%.2lf kg" or "%.2lf lb"; "N/A" without a value.
QString MassText(std::optional<float> value, bool imperial);
// "%.2lf m" or "%.3lf inch"; "N/A" without a value.
QString HeightText(std::optional<float> value, bool imperial);
