// Cycling Speed and Cadence: speed, cadence and distance from a sensor's cumulative revolution counts.
#pragma once

#include <cstdint>
#include <optional>

// The arithmetic of the cycling window, in single precision. Time between two samples is their event
// times' difference modulo 65536 (1/1024 s) rounded to whole seconds, halves up; a sample less than
// half a second after the last one taken changes nothing, so that its revolutions count with a later
// one. Revolutions count modulo 2^32 (wheel) and 2^16 (crank). The first sample of each kind only
// starts its count.
class CscCalculator {
public:
    static constexpr uint16_t kDefaultCircumferenceCm = 175;

    struct Rates {
        float instantaneous = 0; // km/h or rpm
        float average = 0;
        bool operator==(const Rates&) const = default;
    };
    struct CrankSample {
        uint32_t shownRevolutions = 0; // the count plus 65536 once it has fallen
        std::optional<Rates> cadence;  // when the sample was taken
    };

    // The speed, when the sample was taken (the total distance may change either way).
    std::optional<Rates> AddWheel(uint32_t revolutions, uint16_t eventTime);
    CrankSample AddCrank(uint16_t revolutions, uint16_t eventTime);

    // No wheel (crank) sample for another speed (cadence) period: instantaneous 0, and the average
    // over the riding (crank) time plus 2 s for each such period since the last sample.
    Rates SpeedTimeout();
    Rates CadenceTimeout();

    // Distances and riding time back to 0; cadence untouched.
    void ResetDistance();
    // The sensor's wheel count was set to revolutions: the distances follow it, and the riding time
    // is set so that the average speed shown (averageShown km/h, when not 0) stays.
    void SetCumulativeValue(uint32_t revolutions, float averageShown);

    // Applies from the next sample; nothing is recomputed.
    void SetCircumference(uint16_t cm) { m_circumference = cm; }
    uint16_t Circumference() const { return m_circumference; }
    float TotalDistance() const { return m_totalKm; } // km

private:
    float Distance(uint32_t revolutions) const;

    float m_totalKm = 0;
    float m_tripKm = 0;           // what the average speed is computed over
    uint64_t m_ridingSeconds = 0; // seconds with wheel movement
    uint64_t m_crankCounted = 0;  // crank revolutions taken into the cadence
    uint64_t m_crankSeconds = 0;
    uint32_t m_lastWheel = 0;
    uint16_t m_lastWheelTime = 0;
    uint16_t m_lastCrank = 0;
    uint16_t m_lastCrankTime = 0;
    uint16_t m_circumference = kDefaultCircumferenceCm;
    uint16_t m_speedTimeouts = 0;
    uint16_t m_cadenceTimeouts = 0;
    bool m_firstWheel = true;
    bool m_firstCrank = true;
    bool m_crankWrapped = false; // never cleared
};
