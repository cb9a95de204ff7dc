// Discovery with many advertisers: the device-found reports as the host library hands them to the
// main window during a search, up to the device tree drawn once. Fill: every advertiser is new;
// FurtherSecond: one more second of a search in which every advertiser is already listed and reports
// ten times. Both should grow linearly with the number of advertisers.
#include "SimulatedApplication.h"

#include "mainframe/CMainFrame.h"
#include "panes/CDeviceView.h"
#include "res/resource.h"

#include <QApplication>
#include <QTreeWidgetItem>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const std::string kWorld = R"({"seed": 5, "searchDurationMs": 0, "peers": []})";
constexpr int kReportsPerSecond = 10;

class Advertisers {
public:
    explicit Advertisers(int count) : m_names(static_cast<size_t>(count)), m_reports(m_names.size()) {
        for (size_t i = 0; i < m_reports.size(); ++i) {
            m_names[i] = "Bench Sensor " + std::to_string(i);
            BleHostDeviceFoundEvent& report = m_reports[i];
            report.address.nap = 0x001A;
            report.address.uap = static_cast<uint8_t>(i >> 24);
            report.address.lap = static_cast<uint32_t>(i & 0xFFFFFF);
            report.rssi = static_cast<int8_t>(-40 - static_cast<int>(i % 50));
            report.name = m_names[i].c_str();
            report.adFlags = 0x06;
        }
    }

    void ReportAll(CMainFrame& frame) const {
        for (const BleHostDeviceFoundEvent& report : m_reports)
            frame.OnDeviceFound(report);
    }

private:
    std::vector<std::string> m_names;
    std::vector<BleHostDeviceFoundEvent> m_reports;
};

// Ends the running search and starts a new one, which empties "Discovered devices".
bool RestartSearch(SimulatedApplication& application) {
    CMainFrame& frame = *application.Frame();
    frame.ExecuteCommand(ID_DISCOVER);
    application.Advance(100);
    return frame.ExecuteCommand(ID_DISCOVER);
}

bool Listed(const CMainFrame& frame, int count) {
    return frame.DeviceView()->DiscoveredGroup()->childCount() == count &&
           frame.DeviceList().size() == static_cast<size_t>(count);
}

void Fill(benchmark::State& state, SimulatedApplication& application) {
    const int count = static_cast<int>(state.range(0));
    const Advertisers advertisers(count);
    CMainFrame& frame = *application.Frame();
    for (auto _ : state) {
        state.PauseTiming();
        const bool restarted = RestartSearch(application);
        state.ResumeTiming();
        if (!restarted) {
            state.SkipWithError("no new search");
            return;
        }
        advertisers.ReportAll(frame);
        QCoreApplication::processEvents();
    }
    if (!Listed(frame, count))
        state.SkipWithError("the tree does not list every advertiser once");
    state.SetComplexityN(count);
    state.SetItemsProcessed(state.iterations() * count);
}

void FurtherSecond(benchmark::State& state, SimulatedApplication& application) {
    const int count = static_cast<int>(state.range(0));
    const Advertisers advertisers(count);
    CMainFrame& frame = *application.Frame();
    if (!RestartSearch(application)) {
        state.SkipWithError("no new search");
        return;
    }
    advertisers.ReportAll(frame);
    for (auto _ : state) {
        for (int i = 0; i < kReportsPerSecond; ++i)
            advertisers.ReportAll(frame);
        QCoreApplication::processEvents();
    }
    if (!Listed(frame, count))
        state.SkipWithError("the tree does not list every advertiser once");
    state.SetComplexityN(count);
    state.SetItemsProcessed(state.iterations() * count * kReportsPerSecond);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qtApplication(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    SimulatedApplication application(kWorld);
    if (application.Error().empty() && !application.Frame()->ExecuteCommand(ID_DISCOVER))
        fprintf(stderr, "tindrel_discovery_bench: the search did not start\n");
    if (!application.Error().empty()) {
        fprintf(stderr, "tindrel_discovery_bench: %s\n", application.Error().c_str());
        return 1;
    }
    const auto fill = [&application](benchmark::State& state) { Fill(state, application); };
    const auto further = [&application](benchmark::State& state) { FurtherSecond(state, application); };
    for (auto* bench : {benchmark::RegisterBenchmark("DiscoveryFill", fill),
                        benchmark::RegisterBenchmark("DiscoveryFurtherSecond", further)})
        bench->Arg(20)
            ->Arg(200)
            ->Arg(2000)
            ->Arg(4000)
            ->Unit(benchmark::kMillisecond)
            ->Complexity(benchmark::oN);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
