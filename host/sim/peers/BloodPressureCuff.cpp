// Blood Pressure service: a simulated cuff that measures every 30 seconds.
#include "BloodPressureCuff.h"

#include "HealthValues.h"
#include <veyrauuids.h>

namespace orv::sim {
namespace {

constexpr uint8_t kTimeStampFlag = 0x02;
constexpr uint8_t kPulseRateFlag = 0x04;
constexpr uint8_t kUserIdFlag = 0x08;
constexpr uint8_t kStatusFlag = 0x10;
constexpr uint8_t kUnknownUser = 0xFF;
// Body movement, cuff too loose, irregular pulse, improper measurement position.
constexpr uint16_t kStatuses[] = {0x0001, 0x0002, 0x0004, 0x0020};
constexpr int64_t kClockAtWorldStart = 1778832000; // the cuff's clock: 2026-05-15 08:00:00

} // namespace

BloodPressureCuff::BloodPressureCuff(Simulator& simulator, size_t peerIndex)
    : m_context(simulator, peerIndex) {}

int BloodPressureCuff::draw(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(m_context.random());
}

std::vector<GattServiceDescription> BloodPressureCuff::baseDatabase() const {
    GattServiceDescription bloodPressure;
    bloodPressure.uuid = MakeUuid16(ServiceUuid::BloodPressure);
    bloodPressure.characteristics = {
        characteristic(CharacteristicUuid::BloodPressureMeasurement, kPropertyIndicate),
        characteristic(CharacteristicUuid::IntermediateCuffPressure, kPropertyNotify),
        characteristic(CharacteristicUuid::BloodPressureFeature, kPropertyRead,
                       {0x17, 0x00}), // the statuses it reports
    };
    return {genericAccess(m_context.description()),
            deviceInformation("Orvane", "BP-5", {0x02, 0x71, 0xDA, 0xFE, 0xFF, 0x7D, 0x1A, 0x00}),
            bloodPressure};
}

void BloodPressureCuff::onConnect() {
    m_context.forgetSubscriptions();
}

void BloodPressureCuff::onDisconnect() {
    m_running = false;
    m_context.cancelTimers();
}

void BloodPressureCuff::onConfiguration(uint16_t valueHandle, uint16_t /*configuration*/) {
    if (valueHandle != m_context.valueHandle(CharacteristicUuid::BloodPressureMeasurement)) {
        return;
    }
    if (!m_context.indicating(valueHandle)) {
        m_running = false;
        m_context.cancelTimers();
    } else if (!m_running) {
        m_running = true;
        m_context.after(kCuffStepMs, [this] { startCycle(); });
    }
}

void BloodPressureCuff::startCycle() {
    m_systolic = draw(105, 150);
    m_diastolic = draw(62, 95);
    m_cuffStart = m_systolic + draw(25, 40);
    cuffReading(0);
    m_context.after(kCycleMs, [this] { startCycle(); });
}

// The cuff deflates from above the systolic pressure to below the diastolic one.
void BloodPressureCuff::cuffReading(int index) {
    if (index == kCuffReadings) {
        measure();
        return;
    }
    const int end = m_diastolic - 5;
    const int pressure = m_cuffStart - (m_cuffStart - end) * index / (kCuffReadings - 1);
    std::vector<uint8_t> value{0x00};
    put16(value, sfloat(pressure, 0));
    put16(value, kSFloatNaN);
    put16(value, kSFloatNaN);
    const uint16_t handle = m_context.valueHandle(CharacteristicUuid::IntermediateCuffPressure);
    if (m_context.notifying(handle)) {
        m_context.notify(handle, value);
    }
    m_context.after(kCuffStepMs, [this, index] { cuffReading(index + 1); });
}

void BloodPressureCuff::measure() {
    uint8_t flags = 0;
    std::vector<uint8_t> fields;
    if (draw(0, 3) != 0) {
        flags |= kTimeStampFlag;
        putDateTime(fields, kClockAtWorldStart + static_cast<int64_t>(m_context.now() / 1000));
    }
    if (draw(0, 3) != 0) {
        flags |= kPulseRateFlag;
        put16(fields, sfloat(draw(54, 96), 0));
    }
    if (draw(0, 3) != 0) {
        flags |= kUserIdFlag;
        put8(fields, draw(0, 1) == 0 ? 1 : kUnknownUser);
    }
    if (draw(0, 2) == 0) {
        flags |= kStatusFlag;
        put16(fields, kStatuses[draw(0, 3)]);
    }
    std::vector<uint8_t> value{flags};
    put16(value, sfloat(m_systolic, 0));
    put16(value, sfloat(m_diastolic, 0));
    put16(value, sfloat((m_systolic + 2 * m_diastolic) / 3, 0));
    value.insert(value.end(), fields.begin(), fields.end());
    m_context.indicate(m_context.valueHandle(CharacteristicUuid::BloodPressureMeasurement), value);
}

} // namespace orv::sim
