// Glucose service: Glucose Measurement, Glucose Measurement Context and the Record Access Control Point.
#include "gatt/Glucose.h"

#include "gatt/ByteReader.h"
#include "gatt/SFloat.h"

#include <cmath>

std::optional<GlucoseMeasurement> GlucoseMeasurement::decode(std::span<const uint8_t> value) {
    ByteReader reader(value);
    const auto flags = reader.u8();
    const auto sequence = reader.u16();
    const auto baseTime = DateTime::read(reader);
    if (reader.failed()) {
        return std::nullopt;
    }
    GlucoseMeasurement measurement;
    measurement.sequence = *sequence;
    measurement.baseTime = *baseTime;
    measurement.unit =
        (*flags & GlucoseFlag::UnitMolPerLitre) ? GlucoseUnit::MolPerLitre : GlucoseUnit::KgPerLitre;
    if (*flags & GlucoseFlag::TimeOffset) {
        measurement.timeOffset = reader.i16();
    }
    if (*flags & GlucoseFlag::ConcentrationTypeLocation) {
        const auto concentration = reader.u16();
        const auto typeLocation = reader.u8();
        if (typeLocation) {
            const double number = SFloatToDouble(*concentration);
            if (std::isfinite(number)) {
                measurement.concentration = number;
            }
            measurement.type = *typeLocation & 0x0F;
            measurement.location = *typeLocation >> 4;
        }
    }
    if (*flags & GlucoseFlag::StatusAnnunciation) {
        measurement.status = reader.u16();
    }
    if (reader.failed()) {
        return std::nullopt;
    }
    return measurement;
}

namespace {

void addItem(GlucoseContext& context, GlucoseContextKind kind, std::optional<uint32_t> code,
             double value = 0) {
    if (code) {
        context.items.push_back({kind, *code, value});
    }
}

// The id byte and the SFLOAT after it, as code and value.
void addIdAndSFloat(GlucoseContext& context, GlucoseContextKind kind, ByteReader& reader,
                    uint32_t codeBits = 0) {
    const auto id = reader.u8();
    const auto number = reader.u16();
    if (number) {
        context.items.push_back({kind, *id | codeBits, SFloatToDouble(*number)});
    }
}

} // namespace

std::optional<GlucoseContext> GlucoseContext::decode(std::span<const uint8_t> value) {
    ByteReader reader(value);
    const auto flags = reader.u8();
    const auto sequence = reader.u16();
    if (reader.failed()) {
        return std::nullopt;
    }
    using Kind = GlucoseContextKind;
    GlucoseContext context;
    context.sequence = *sequence;
    if (*flags & GlucoseContextFlag::ExtendedFlags) {
        addItem(context, Kind::ExtendedFlags, reader.u8());
    }
    if (*flags & GlucoseContextFlag::Carbohydrate) {
        addIdAndSFloat(context, Kind::Carbohydrate, reader);
    }
    if (*flags & GlucoseContextFlag::Meal) {
        addItem(context, Kind::Meal, reader.u8());
    }
    if (*flags & GlucoseContextFlag::TesterHealth) {
        addItem(context, Kind::TesterHealth, reader.u8());
    }
    if (*flags & GlucoseContextFlag::Exercise) {
        const auto duration = reader.u16();
        const auto intensity = reader.u8();
        if (intensity) {
            addItem(context, Kind::Exercise, *duration, *intensity);
        }
    }
    if (*flags & GlucoseContextFlag::Medication) {
        const bool litres = (*flags & GlucoseContextFlag::MedicationInLitres) != 0;
        addIdAndSFloat(context, Kind::Medication, reader,
                       litres ? GlucoseContextItem::kMedicationInLitres : 0);
    }
    if (*flags & GlucoseContextFlag::HbA1c) {
        if (const auto number = reader.u16()) {
            addItem(context, Kind::HbA1c, 0, SFloatToDouble(*number));
        }
    }
    if (reader.failed()) {
        return std::nullopt;
    }
    return context;
}

std::optional<RacpResponse> RacpResponse::decode(std::span<const uint8_t> value) {
    ByteReader reader(value);
    const auto opCode = reader.u8();
    const auto operatorValue = reader.u8();
    if (reader.failed()) {
        return std::nullopt;
    }
    RacpResponse response;
    response.opCode = *opCode;
    response.operatorValue = *operatorValue;
    if (*opCode == RacpOpCode::ResponseCode) {
        const auto request = reader.u8();
        const auto code = reader.u8();
        if (!code) {
            return std::nullopt;
        }
        response.requestOpCode = *request;
        response.responseCode = *code;
    } else if (*opCode == RacpOpCode::NumberOfRecordsResponse) {
        const auto count = reader.u16();
        if (!count) {
            return std::nullopt;
        }
        response.count = *count;
    }
    return response;
}
