// What the benchmark files share: their registration, and one connected application at a time (the
// simulator and the application are one per process).
#pragma once

#include <QString>
#include <cstdint>
#include <string>

class SimulatedApplication;

// The link runs at 7.5 ms intervals, so a notification arrives within 8 ms of virtual time.
inline constexpr uint64_t kDeliveryMs = 8;

// The application started on world and connected to the peer named peer over that link; the one
// started last when it was started for the same world, else a new one (the previous one ends
// first). Null, with the reason on stderr, when it could not be set up. Ends with the program.
SimulatedApplication* ConnectedApplication(const std::string& world, const QString& peer);

void RegisterHeartRateBenchmarks();
void RegisterSpeedAndCadenceBenchmarks();
