// Glucose service: the records a simulated glucose meter holds, as it sends them.
#include "GlucoseRecords.h"

#include "HealthValues.h"

namespace orv::sim {
namespace {

constexpr uint8_t kTimeOffsetFlag = 0x01;
constexpr uint8_t kConcentrationFlag = 0x02;
constexpr uint8_t kStatusFlag = 0x08;
constexpr uint8_t kContextFollowsFlag = 0x10;

constexpr int64_t kFirstRecord = 1778567400; // 2026-05-12 06:30:00
constexpr int64_t kSecondsPerHour = 3600;
constexpr int kHoursApart = 7;

// A concentration of mgPerDl in kg/L.
uint16_t kgPerL(int mgPerDl) {
    return sfloat(mgPerDl, -5);
}

} // namespace

bool GlucoseContextParts::empty() const {
    return !extendedFlags && !carbohydrate && !meal && !testerHealth && !exercise && !medication && !hba1c;
}

std::vector<uint8_t> GlucoseContextParts::encode(uint16_t sequence) const {
    uint8_t flags = 0;
    std::vector<uint8_t> body;
    if (extendedFlags) {
        flags |= 0x80;
        put8(body, *extendedFlags);
    }
    if (carbohydrate) {
        flags |= 0x01;
        put8(body, carbohydrate->first);
        put16(body, carbohydrate->second);
    }
    if (meal) {
        flags |= 0x02;
        put8(body, *meal);
    }
    if (testerHealth) {
        flags |= 0x04;
        put8(body, *testerHealth);
    }
    if (exercise) {
        flags |= 0x08;
        put16(body, exercise->first);
        put8(body, exercise->second);
    }
    if (medication) {
        flags |= medicationInLitres ? 0x30 : 0x10;
        put8(body, medication->first);
        put16(body, medication->second);
    }
    if (hba1c) {
        flags |= 0x40;
        put16(body, *hba1c);
    }
    std::vector<uint8_t> value{flags};
    put16(value, sequence);
    value.insert(value.end(), body.begin(), body.end());
    return value;
}

std::vector<uint8_t> GlucoseRecord::measurement() const {
    uint8_t flags = context.empty() ? 0 : kContextFollowsFlag;
    std::vector<uint8_t> fields;
    if (timeOffset) {
        flags |= kTimeOffsetFlag;
        put16(fields, static_cast<uint16_t>(*timeOffset));
    }
    if (concentration) {
        flags |= kConcentrationFlag;
        put16(fields, *concentration);
        put8(fields, typeLocation);
    }
    if (status) {
        flags |= kStatusFlag;
        put16(fields, *status);
    }
    std::vector<uint8_t> value{flags};
    put16(value, sequence);
    putDateTime(value, baseTime);
    value.insert(value.end(), fields.begin(), fields.end());
    return value;
}

std::optional<std::vector<uint8_t>> GlucoseRecord::contextValue() const {
    if (context.empty()) {
        return std::nullopt;
    }
    return context.encode(sequence);
}

std::vector<GlucoseRecord> storedGlucoseRecords() {
    constexpr uint8_t finger = 0x10, alternateSite = 0x20, controlSolution = 0x40;
    constexpr uint8_t capillaryBlood = 1, capillaryPlasma = 2, venousBlood = 3, control = 10;
    const auto reading = [](int mgPerDl, uint8_t typeLocation) {
        GlucoseRecord record;
        record.concentration = kgPerL(mgPerDl);
        record.typeLocation = typeLocation;
        return record;
    };
    std::vector<GlucoseRecord> r(12);
    r[0] = reading(92, finger | capillaryBlood);
    r[0].context.meal = 1;
    r[0].context.testerHealth = 0x15;
    r[1] = reading(118, finger | capillaryPlasma);
    r[1].context.carbohydrate = {1, sfloat(45, -3)};
    r[1].context.meal = 2;
    r[2] = reading(131, alternateSite | capillaryBlood);
    r[2].status = 0x0001;
    r[2].context.exercise = {1800, 70};
    r[3] = reading(104, finger | capillaryBlood);
    r[3].context.medication = {1, sfloat(40, -7)};
    r[4].status = 0x0004; // no concentration: the sample was too small
    r[5] = reading(97, finger | capillaryBlood);
    r[5].timeOffset = 60;
    r[5].context.medication = {4, sfloat(2, -4)};
    r[5].context.medicationInLitres = true;
    r[6] = reading(142, finger | capillaryBlood);
    r[6].status = 0x0080;
    r[6].context.hba1c = sfloat(64, -1);
    r[7] = reading(112, alternateSite | venousBlood);
    r[7].context.meal = 3;
    r[7].context.testerHealth = 0x21;
    r[8] = reading(88, finger | capillaryBlood);
    r[8].timeOffset = -30;
    r[8].context.extendedFlags = 0x00;
    r[8].context.meal = 5;
    r[9] = reading(125, finger | capillaryPlasma);
    r[9].context.carbohydrate = {3, sfloat(60, -3)};
    r[9].context.exercise = {0xFFFF, 100};
    r[10] = reading(109, controlSolution | control);
    r[11] = reading(121, finger | capillaryBlood);
    r[11].context.carbohydrate = {4, sfloat(20, -3)};
    r[11].context.testerHealth = 0x3F;
    r[11].context.medication = {3, sfloat(8, -6)};
    r[11].context.hba1c = sfloat(59, -1);
    for (size_t i = 0; i < r.size(); ++i) {
        r[i].sequence = static_cast<uint16_t>(i + 1);
        r[i].baseTime = kFirstRecord + static_cast<int64_t>(i) * kHoursApart * kSecondsPerHour;
    }
    return r;
}

} // namespace orv::sim
