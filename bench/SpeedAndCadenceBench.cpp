// A stream of CSC measurements from a peer with both speed-and-cadence services: the main window
// offers each to the running and the cycling window, the cycling window computes and shows speed,
// cadence and distance, and the hex line of each goes to the log window and file.
#include "BenchSuites.h"
#include "SimulatedApplication.h"

#include "gatt/Uuids.h"
#include "gatt/ValueText.h"
#include "mainframe/CMainFrame.h"
#include "panes/CLogDialog.h"
#include "platform/DialogItems.h"
#include "profiles/sensor/CycleSpeedIds.h"
#include "veyrasim.h"

#include <QApplication>
#include <QLabel>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

const std::string kSensorAddress = "00:1A:7D:DA:75:02";
const QString kSensorName = QStringLiteral("Bench Bike");

// No SC Control Point: the stream runs without control-point procedures or their time-outs.
const std::string kWorld = R"({"seed": 12, "peers": [
    {"address": "00:1A:7D:DA:75:02", "name": "Bench Bike", "appearance": 1157,
     "advIntervalMs": 100,
     "gatt": [{"uuid": "1814", "characteristics": [{"uuid": "2A53", "properties": ["notify"]},
                                                  {"uuid": "2A54", "properties": ["read"], "value": "1F 00"},
                                                  {"uuid": "2A5D", "properties": ["read"], "value": "02"}]},
              {"uuid": "1816", "characteristics": [{"uuid": "2A5B", "properties": ["notify"]},
                                                  {"uuid": "2A5C", "properties": ["read"], "value": "07 00"},
                                                  {"uuid": "2A5D", "properties": ["read"], "value": "0C"}]}]}]})";

// A ride at an even pace: each measurement a second of event time after the one before, with 4 more
// wheel and 1 or 2 more crank revolutions, so that every one shows a new speed, cadence and distance.
class Ride {
public:
    std::vector<uint8_t> Next() {
        m_wheel += 4;
        m_crank += 1 + (m_count++ % 2);
        m_time += 1024;
        return {0x03,
                static_cast<uint8_t>(m_wheel),
                static_cast<uint8_t>(m_wheel >> 8),
                static_cast<uint8_t>(m_wheel >> 16),
                static_cast<uint8_t>(m_wheel >> 24),
                static_cast<uint8_t>(m_time),
                static_cast<uint8_t>(m_time >> 8),
                static_cast<uint8_t>(m_crank),
                static_cast<uint8_t>(m_crank >> 8),
                static_cast<uint8_t>(m_time),
                static_cast<uint8_t>(m_time >> 8)};
    }
    uint32_t Wheel() const { return m_wheel; }

private:
    uint32_t m_wheel = 0;
    uint16_t m_crank = 0;
    uint16_t m_time = 0;
    uint32_t m_count = 0;
};

void MeasurementsToWindows(benchmark::State& state, SimulatedApplication& application, size_t burst) {
    CMainFrame* frame = application.Frame();
    CCycleSpeedCtrl* cycling = frame ? frame->CycleSpeedWindow() : nullptr;
    const uint16_t handle = cycling ? cycling->ValueHandle(CharacteristicUuid::CscMeasurement) : 0;
    const auto* wheel =
        cycling ? qobject_cast<QLabel*>(platform::GetDlgItem(cycling, IDC_CSC_WHEEL_REVOLUTIONS)) : nullptr;
    if (!frame || !frame->RunningSpeedWindow() || !wheel || handle == 0) {
        state.SkipWithError("the running and cycling windows are not both open");
        return;
    }
    Ride ride;
    std::vector<uint8_t> measurement;
    for (auto _ : state) {
        for (size_t i = 0; i < burst; ++i) {
            measurement = ride.Next();
            if (!orv::sim::injectNotification(kSensorAddress, handle, measurement)) {
                state.SkipWithError("the sensor is not connected");
                return;
            }
        }
        application.Deliver(burst * kDeliveryMs);
        const QString line = QStringLiteral("Received CSC Notification: ") +
                             BytesToHexString(measurement.data(), static_cast<int>(measurement.size()),
                                              QStringLiteral(" "), false) +
                             QStringLiteral("\r\n");
        if (wheel->text() != QString::number(ride.Wheel()) ||
            !frame->LogWindow()->WindowText().endsWith(line)) {
            state.SkipWithError("the window or the log did not show the measurement");
            return;
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * burst));
    if (orv::sim::liveRecordCount() != 0 || orv::sim::unknownFreeCount() != 0)
        state.SkipWithError("an event record was not given back exactly once");
}

} // namespace

void RegisterSpeedAndCadenceBenchmarks() {
    const std::string platform = QApplication::platformName().toStdString();
    for (size_t burst : {size_t{1}, size_t{16}}) {
        const std::string name =
            "CscMeasurementToSportWindows/" + platform + "/burst:" + std::to_string(burst);
        benchmark::RegisterBenchmark(name.c_str(), [burst](benchmark::State& state) {
            if (SimulatedApplication* application = ConnectedApplication(kWorld, kSensorName))
                MeasurementsToWindows(state, *application, burst);
            else
                state.SkipWithError("the sensor could not be connected");
        })->UseRealTime();
    }
}
