// Discovery benchmarks on the simulated dongle.
// DiscoveryFill and DiscoveryFurtherSecond: many advertisers, the device-found reports as the host
// library hands them to the main window during a search, up to the device tree drawn once. Fill: every
// advertiser is new; FurtherSecond: one more second of a search in which every advertiser is already
// listed and reports ten times. Both should grow linearly with the number of advertisers.
// DiscoveryWithPairedPeer: a day-long search of the built-in world, whose tyre sensor is paired and
// reports every second. Its counters: how much the resident memory grew after the first hour, and the
// CPU time of the search over that of the same search without the bond.
#include "SimulatedApplication.h"

#include "mainframe/CMainFrame.h"
#include "panes/CDeviceView.h"
#include "panes/CViewTree.h"
#include "res/resource.h"
#include "veyrasim.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTreeWidgetItem>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const std::string kEmptyWorld = R"({"seed": 5, "searchDurationMs": 0, "peers": []})";
constexpr int kReportsPerSecond = 10;
constexpr uint64_t kHourMs = 3600 * 1000;
constexpr uint64_t kSearchHours = 24;
const QString kPairedPeer = QStringLiteral("Orvane Tyre Sensor");

// The one application of the process (the simulator is one per process) and its world.
std::unique_ptr<SimulatedApplication> g_application;
std::string g_world;

// The application searching on world: the one started last when it has the same world, else a new one
// (the previous one ends first). Null, with the benchmark skipped, when it could not be set up.
SimulatedApplication* SearchingApplication(benchmark::State& state, const std::string& world) {
    if (!g_application || g_world != world) {
        g_application.reset();
        g_world = world;
        g_application = std::make_unique<SimulatedApplication>(world);
        if (g_application->Error().empty() && !g_application->Frame()->ExecuteCommand(ID_DISCOVER))
            state.SkipWithError("the search did not start");
    }
    if (!g_application->Error().empty())
        state.SkipWithError(g_application->Error().c_str());
    return state.error_occurred() ? nullptr : g_application.get();
}

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

void Fill(benchmark::State& state) {
    SimulatedApplication* application = SearchingApplication(state, kEmptyWorld);
    if (!application)
        return;
    const int count = static_cast<int>(state.range(0));
    const Advertisers advertisers(count);
    CMainFrame& frame = *application->Frame();
    for (auto _ : state) {
        state.PauseTiming();
        const bool restarted = RestartSearch(*application);
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

void FurtherSecond(benchmark::State& state) {
    SimulatedApplication* application = SearchingApplication(state, kEmptyWorld);
    if (!application)
        return;
    const int count = static_cast<int>(state.range(0));
    const Advertisers advertisers(count);
    CMainFrame& frame = *application->Frame();
    if (!RestartSearch(*application)) {
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

// The built-in world with the bonds of its peers kept (as shipped) or dropped.
std::string BuiltInWorld(bool bonded) {
    QJsonObject world =
        QJsonDocument::fromJson(QByteArray::fromStdString(orv::sim::builtInWorldJson())).object();
    QJsonArray peers = world.value(QStringLiteral("peers")).toArray();
    for (QJsonValueRef peer : peers) {
        QJsonObject object = peer.toObject();
        if (object.contains(QStringLiteral("bonded"))) {
            object.insert(QStringLiteral("bonded"), bonded);
            peer = object;
        }
    }
    world.insert(QStringLiteral("peers"), peers);
    return QJsonDocument(world).toJson(QJsonDocument::Compact).toStdString();
}

double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

int64_t ResidentKb() {
    long size = 0, resident = 0;
    FILE* statm = fopen("/proc/self/statm", "r");
    if (!statm)
        return 0;
    if (fscanf(statm, "%ld %ld", &size, &resident) != 2)
        resident = 0;
    fclose(statm);
    return static_cast<int64_t>(resident) * sysconf(_SC_PAGESIZE) / 1024;
}

struct DaySearch {
    double cpuSeconds = 0;
    int64_t growthAfterFirstHourKb = 0;
};

// A search of kSearchHours of virtual time on world, started on a new application.
DaySearch SearchForADay(benchmark::State& state, const std::string& world) {
    DaySearch day;
    SimulatedApplication* application = SearchingApplication(state, world);
    if (!application)
        return day;
    const double start = CpuSeconds();
    int64_t afterFirstHour = 0;
    for (uint64_t hour = 0; hour < kSearchHours; ++hour) {
        application->Advance(kHourMs);
        if (hour == 0)
            afterFirstHour = ResidentKb();
    }
    day.cpuSeconds = CpuSeconds() - start;
    day.growthAfterFirstHourKb = ResidentKb() - afterFirstHour;
    return day;
}

void DiscoveryWithPairedPeer(benchmark::State& state) {
    for (auto _ : state) {
        const DaySearch unpaired = SearchForADay(state, BuiltInWorld(false));
        const DaySearch paired = SearchForADay(state, BuiltInWorld(true));
        if (state.error_occurred())
            return;
        const CDeviceView& view = *g_application->Frame()->DeviceView();
        const QTreeWidgetItem* current = view.Tree()->currentItem();
        if (!current || current->parent() != view.DiscoveredGroup() || current->text(0) != kPairedPeer) {
            state.SkipWithError("the paired peer is not listed, selected, under \"Discovered devices\"");
            return;
        }
        state.counters["rss_growth_kb_after_first_hour"] = static_cast<double>(paired.growthAfterFirstHourKb);
        state.counters["cpu_ratio_to_unpaired"] = paired.cpuSeconds / unpaired.cpuSeconds;
    }
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qtApplication(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    for (auto* bench : {benchmark::RegisterBenchmark("DiscoveryFill", Fill),
                        benchmark::RegisterBenchmark("DiscoveryFurtherSecond", FurtherSecond)})
        bench->Arg(20)
            ->Arg(200)
            ->Arg(2000)
            ->Arg(4000)
            ->Unit(benchmark::kMillisecond)
            ->Complexity(benchmark::oN);
    benchmark::RegisterBenchmark("DiscoveryWithPairedPeer", DiscoveryWithPairedPeer)
        ->Iterations(1)
        ->Unit(benchmark::kSecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_application.reset();
    return 0;
}
