// Tyre pressure sensor: pressure units, the blow-out threshold's whole-psi steps, wheel positions and
// the numbers typed in for them.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// Kilopascals in one psi.
inline constexpr double kKpaPerPsi = 6.894757280343134;

// Wheel position written for "Unknown".
inline constexpr uint8_t kUnknownWheelPosition = 0xFF;

// value rounded to decimals places: the whole part (truncated toward zero) is kept and its fraction,
// scaled by 10 to the power decimals, is rounded half up. So 29.0075 gives 29.0 and -1.25 gives -1.2.
double RoundToDecimals(double value, int decimals);

// The blow-out threshold a sensor reports in kPa, in psi: relative to offset it is rounded to a whole
// psi, then offset is added back.
double BlowOutPsi(uint16_t kpa, double offset);

// What the sensor is sent for a blow-out threshold of thresholdPsi, and the threshold it then holds.
struct BlowOutSetting {
    uint16_t kpa = 0;
    double psi = 0.0; // BlowOutPsi(kpa, offset)
};
// The relative value (thresholdPsi - offset) is raised to the next whole psi when it has a positive
// fraction; a fraction under 1e-6 is rounding noise of the subtraction and counts as none, so that a
// whole relative threshold stays where it is. kPa is the absolute value rounded, held within 0..65535.
BlowOutSetting PsiToKpa(double thresholdPsi, double offset);

// 1 "Front Left", 2 "Front Right", 3 "Rear Left", 4 "Rear Right", 5 "Spare"; anything else "Unknown".
QString WheelPositionName(uint8_t position);
// The position named (1 to 5); kUnknownWheelPosition for "Unknown" and for any other text.
uint8_t WheelPositionFromName(const QString& name);

// The whole text as a decimal number in the C locale: blanks before it are skipped, a sign and an
// exponent are allowed, nothing may follow. nullopt for anything else, for infinities and for NaN.
std::optional<double> ParseDecimal(const QString& text);
