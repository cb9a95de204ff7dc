// The road of one heart-rate notification: the host library posts it, the main window dispatches and
// routes it, the heart-rate window shows it and the record is given back.
#include "BenchSuites.h"
#include "SimulatedApplication.h"

#include "gatt/Uuids.h"
#include "mainframe/CMainFrame.h"
#include "platform/DialogItems.h"
#include "profiles/sensor/HeartRateIds.h"
#include "veyrasim.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <array>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

const std::string kSensorAddress = "00:1A:7D:DA:75:01";
const QString kSensorName = QStringLiteral("Bench Pulse");

const std::string kWorld = R"({"seed": 11, "peers": [
    {"address": "00:1A:7D:DA:75:01", "name": "Bench Pulse", "appearance": 833,
     "advIntervalMs": 100,
     "gatt": [{"uuid": "180D", "characteristics": [{"uuid": "2A37", "properties": ["notify"]},
                                                  {"uuid": "2A38", "properties": ["read"], "value": "01"},
                                                  {"uuid": "2A39", "properties": ["write"], "value": "00"}]}]}]})";

// Rates cycle through this many values so that every measurement differs from the one before.
constexpr size_t kRates = 128;
constexpr uint8_t kFirstRate = 50;

// Counts the paint events of one widget.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int64_t count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

// burst notifications are sent per pass of the event loop. With 1 each pass handles one notification,
// as when a real link delivers them one at a time; with more, a pass handles a stream of them. The
// window repaints at most once per screen frame of wall-clock time; "repaints" counts how often the
// heart-rate field was painted.
void NotificationToWindow(benchmark::State& state, SimulatedApplication& application, size_t burst) {
    CMainFrame* frame = application.Frame();
    CHeartRateMonitorCtrl* window = frame ? frame->HeartRateWindow() : nullptr;
    auto* rateLabel =
        window ? qobject_cast<QLabel*>(platform::GetDlgItem(window, IDC_HR_HEART_RATE)) : nullptr;
    const uint16_t handle = frame ? frame->ValueHandle(CharacteristicUuid::HeartRateMeasurement) : 0;
    if (!rateLabel || handle == 0) {
        state.SkipWithError("the heart-rate window is not open");
        return;
    }
    std::array<QString, kRates> expected;
    for (size_t i = 0; i < kRates; ++i)
        expected[i] = QString::number(kFirstRate + i) + QStringLiteral(" bpm");

    // Flags: contact supported and detected, energy expended and one RR interval present.
    std::vector<uint8_t> measurement{0x1E, kFirstRate, 0x10, 0x00, 0x2C, 0x03};
    size_t next = 0;
    const PaintCounter repaints(rateLabel);
    for (auto _ : state) {
        for (size_t i = 0; i < burst; ++i) {
            next = (next + 1) % kRates;
            measurement[1] = static_cast<uint8_t>(kFirstRate + next);
            measurement[2] = static_cast<uint8_t>(next);
            if (!orv::sim::injectNotification(kSensorAddress, handle, measurement)) {
                state.SkipWithError("the sensor is not connected");
                return;
            }
        }
        application.Deliver(burst * kDeliveryMs);
        if (rateLabel->text() != expected[next]) {
            state.SkipWithError("the window did not show the measurement");
            return;
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * burst));
    state.counters["repaints"] =
        benchmark::Counter(static_cast<double>(repaints.count), benchmark::Counter::kIsRate);
    if (orv::sim::liveRecordCount() != 0 || orv::sim::unknownFreeCount() != 0)
        state.SkipWithError("an event record was not given back exactly once");
}

} // namespace

void RegisterHeartRateBenchmarks() {
    // The platform (offscreen, or xcb on an X server) is part of the name: scripts/bench runs both.
    const std::string platform = QApplication::platformName().toStdString();
    for (size_t burst : {size_t{1}, size_t{16}}) {
        const std::string name =
            "HeartRateNotificationToWindow/" + platform + "/burst:" + std::to_string(burst);
        benchmark::RegisterBenchmark(name.c_str(), [burst](benchmark::State& state) {
            if (SimulatedApplication* application = ConnectedApplication(kWorld, kSensorName))
                NotificationToWindow(state, *application, burst);
            else
                state.SkipWithError("the sensor could not be connected");
        })->UseRealTime();
    }
}
