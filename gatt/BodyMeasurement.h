// Weight Scale and Body Composition services: what their measurements share (resolution tables,
// the texts of masses and heights).
#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// A raw mass (weight) times the factor of resolution index 1 to 7 (kg, or lb when imperial);
// nullopt for any other index, 0 (unspecified) included. Computed in double, kept as float.
std::optional<float> MassValue(uint16_t raw, unsigned index, bool imperial);
// The same for a height with index 1 to 3 (m, or inches when imperial).
std::optional<float> HeightValue(uint16_t raw, unsigned index, bool imperial);

// "%.2lf kg" or "%.2lf lb"; "N/A" without a value.
QString MassText(std::optional<float> value, bool imperial);
// "%.2lf m" or "%.3lf inch"; "N/A" without a value.
QString HeightText(std::optional<float> value, bool imperial);
