// Glucose service: Glucose Measurement, Glucose Measurement Context and the Record Access Control Point.
#pragma once

#include "gatt/DateTime.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// Bits of the Glucose Measurement flags byte.
namespace GlucoseFlag {
inline constexpr uint8_t TimeOffset = 0x01;
inline constexpr uint8_t ConcentrationTypeLocation = 0x02;
inline constexpr uint8_t UnitMolPerLitre = 0x04; // clear: kg/L
inline constexpr uint8_t StatusAnnunciation = 0x08;
inline constexpr uint8_t ContextFollows = 0x10;
} // namespace GlucoseFlag

// Units of a stored concentration, as the glucose window keeps them.
namespace GlucoseUnit {
inline constexpr uint8_t MolPerLitre = 0;
inline constexpr uint8_t KgPerLitre = 1;
} // namespace GlucoseUnit

struct GlucoseMeasurement {
    uint16_t sequence = 0;
    DateTime baseTime;
    std::optional<int16_t> timeOffset; // minutes
    // In kg/L or mol/L; absent when not sent or sent as a special value (no number was measured).
    std::optional<double> concentration;
    uint8_t unit = GlucoseUnit::KgPerLitre;
    uint8_t type = 0;     // low nibble of the type-location byte
    uint8_t location = 0; // high nibble
    std::optional<uint16_t> status;

    // nullopt ("too short") when the value does not hold every field its flags announce. Unknown
    // flag bits and bytes after the announced fields are ignored.
    static std::optional<GlucoseMeasurement> decode(std::span<const uint8_t> value);
};

// Bits of the Glucose Measurement Context flags byte.
namespace GlucoseContextFlag {
inline constexpr uint8_t Carbohydrate = 0x01;
inline constexpr uint8_t Meal = 0x02;
inline constexpr uint8_t TesterHealth = 0x04;
inline constexpr uint8_t Exercise = 0x08;
inline constexpr uint8_t Medication = 0x10;
inline constexpr uint8_t MedicationInLitres = 0x20; // clear: kilograms
inline constexpr uint8_t HbA1c = 0x40;
inline constexpr uint8_t ExtendedFlags = 0x80;
} // namespace GlucoseContextFlag

// Kinds of context items, numbered as the glucose window stores them.
enum class GlucoseContextKind : int {
    Carbohydrate = 0,
    Meal = 1,
    TesterHealth = 2,
    Exercise = 3,
    Medication = 4,
    HbA1c = 5,
    ExtendedFlags = 6,
};

// Code and value by kind: carbohydrate id and kilograms; meal, tester-health or extended flags
// byte; exercise duration in seconds and intensity in percent; medication id (plus kMedicationInLitres)
// and kilograms or litres; HbA1c 0 and percent. SFLOAT values may be NaN or infinite.
struct GlucoseContextItem {
    static constexpr uint32_t kMedicationInLitres = 0x8000;

    GlucoseContextKind kind = GlucoseContextKind::Carbohydrate;
    uint32_t code = 0;
    double value = 0;

    bool operator==(const GlucoseContextItem&) const = default;
};

struct GlucoseContext {
    uint16_t sequence = 0;
    std::vector<GlucoseContextItem> items; // extended flags first, then in flag-bit order

    // nullopt ("too short") when the value does not hold every field its flags announce.
    static std::optional<GlucoseContext> decode(std::span<const uint8_t> value);
};

namespace RacpOpCode {
inline constexpr uint8_t ReportStoredRecords = 0x01;
inline constexpr uint8_t DeleteStoredRecords = 0x02;
inline constexpr uint8_t Abort = 0x03;
inline constexpr uint8_t ReportNumberOfRecords = 0x04;
inline constexpr uint8_t NumberOfRecordsResponse = 0x05;
inline constexpr uint8_t ResponseCode = 0x06;
} // namespace RacpOpCode

namespace RacpOperator {
inline constexpr uint8_t Null = 0x00;
inline constexpr uint8_t AllRecords = 0x01;
inline constexpr uint8_t LessOrEqual = 0x02;
inline constexpr uint8_t GreaterOrEqual = 0x03;
inline constexpr uint8_t WithinRange = 0x04;
inline constexpr uint8_t FirstRecord = 0x05;
inline constexpr uint8_t LastRecord = 0x06;
} // namespace RacpOperator

inline constexpr uint8_t kRacpFilterSequenceNumber = 0x01;

// An indication of the Record Access Control Point: [06 00 request-op-code response-code] or
// [05 00 count]; other op codes carry only op code and operator.
struct RacpResponse {
    uint8_t opCode = 0;
    uint8_t operatorValue = 0;
    uint8_t requestOpCode = 0; // ResponseCode only
    uint8_t responseCode = 0;  // ResponseCode only
    uint16_t count = 0;        // NumberOfRecordsResponse only

    // nullopt ("too short") without op code and operator, or without the operand of its op code.
    static std::optional<RacpResponse> decode(std::span<const uint8_t> value);
};
