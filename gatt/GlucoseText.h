// Glucose service: the texts and colour levels the glucose window shows for records and their context.
#pragma once

#include "gatt/Glucose.h"

#include <QString>

#include <cstdint>
#include <optional>

// Colour level of a shown concentration against the unit's two thresholds.
enum class GlucoseLevel : int { Low = 0, Elevated = 1, High = 2 };

// A concentration as the window shows it: in mmol/L (from mol/L) or mg/dL (from kg/L), rounded to
// the one decimal shown, with its level (mmol/L: 6.1 and 7.0; mg/dL: 110 and 125, each threshold
// belonging to the level above it).
struct ShownConcentration {
    double value = 0;
    QString unit;
    GlucoseLevel level = GlucoseLevel::Low;
};
ShownConcentration ShowConcentration(double concentration, uint8_t unit);

// The Measurement column: "%.01f mmol/L" or "%.01f mg/dL" of a concentration, "Sensor error" for a
// status without one, else empty.
QString GlucoseMeasurementText(std::optional<double> concentration, uint8_t unit, bool statusPresent);

// Sample location ("Finger, " ...) followed by the sample type ("Capillary Whole blood" ...); the
// unknown parts are left out.
QString GlucoseSampleText(uint8_t location, uint8_t type);

// The Parameter and Value columns of a context item. A special number shows "N/A" as the value.
QString GlucoseContextParameter(GlucoseContextKind kind);
QString GlucoseContextValue(const GlucoseContextItem& item);
