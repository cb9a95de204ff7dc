// The benchmark program: every benchmark in registration order, offscreen unless a platform is chosen.
// The benchmarks of one world share its application, started when the first of them runs.
#include "BenchSuites.h"
#include "SimulatedApplication.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>

namespace {

// The link's interval in units of 1.25 ms.
constexpr uint16_t kIntervalUnits = 6;

std::unique_ptr<SimulatedApplication> g_application;
std::string g_world;

} // namespace

SimulatedApplication* ConnectedApplication(const std::string& world, const QString& peer) {
    if (g_application && g_world == world)
        return g_application->Error().empty() ? g_application.get() : nullptr;
    g_application.reset();
    g_world = world;
    g_application = std::make_unique<SimulatedApplication>(world);
    if (g_application->Error().empty()) {
        g_application->SetConnectionParameters(kIntervalUnits, kIntervalUnits, 0, 100);
        g_application->Connect(peer);
        g_application->Advance(1000);
    }
    if (!g_application->Error().empty()) {
        fprintf(stderr, "tindrel_bench: %s\n", g_application->Error().c_str());
        return nullptr;
    }
    return g_application.get();
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qtApplication(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RegisterHeartRateBenchmarks();
    RegisterSpeedAndCadenceBenchmarks();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_application.reset();
    return 0;
}
