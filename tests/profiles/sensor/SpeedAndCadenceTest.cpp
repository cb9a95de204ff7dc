// The running and cycling windows with the main window on a recording host: their first requests,
// what their measurements show, their SC Control Point requests and responses, and their time-outs.
#include "panes/CConnectProgressDlg.h"
#include "platform/DialogItems.h"
#include "platform/StringTable.h"
#include "profiles/sensor/CycleSpeedIds.h"
#include "profiles/sensor/RunningSpeedIds.h"
#include "res/resource.h"
#include "support/Hex.h"
#include "support/MainFrameFixture.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>

namespace {

// Handles of the sensor's database: Running Speed and Cadence, then Cycling Speed and Cadence.
constexpr uint16_t kRscMeasurement = 0x32, kRscFeature = 0x35, kRscLocation = 0x37, kRscControlPoint = 0x39;
constexpr uint16_t kCscMeasurement = 0x42, kCscFeature = 0x45, kCscLocation = 0x47, kCscControlPoint = 0x49;
using Bytes = std::vector<uint8_t>;

class SpeedAndCadenceTest : public PeerFixture {
protected:
    // A sensor with both services (or one), each with its control point unless asked otherwise; the
    // features and locations are read.
    void ConnectSensor(bool running = true, bool cycling = true, bool controlPoints = true,
                       uint8_t cyclingFeatures = 0x07) {
        if (running) {
            m_database.Service(0x1814, 0x30, 0x3A)
                .Characteristic(0x2A53, kRscMeasurement, 0x10, kRscMeasurement + 1)
                .Characteristic(0x2A54, kRscFeature, 0x02)
                .Characteristic(0x2A5D, kRscLocation, 0x02);
            if (controlPoints)
                m_database.Characteristic(0x2A55, kRscControlPoint, 0x28, kRscControlPoint + 1);
        }
        if (cycling) {
            m_database.Service(0x1816, 0x40, 0x4A)
                .Characteristic(0x2A5B, kCscMeasurement, 0x10, kCscMeasurement + 1)
                .Characteristic(0x2A5C, kCscFeature, 0x02)
                .Characteristic(0x2A5D, kCscLocation, 0x02);
            if (controlPoints)
                m_database.Characteristic(0x2A55, kCscControlPoint, 0x28, kCscControlPoint + 1);
        }
        Connect();
        if (cycling) {
            ReadResult(kCscFeature, {cyclingFeatures});
            ReadResult(kCscLocation, {12});
        }
        if (running) {
            ReadResult(kRscFeature, {0x1F, 0x00});
            ReadResult(kRscLocation, {2});
        }
    }
    CRunningSpeedCtrl* Running() const { return m_frame->RunningSpeedWindow(); }
    CCycleSpeedCtrl* Cycling() const { return m_frame->CycleSpeedWindow(); }
    static QString Text(const QWidget* window, UINT id) { return platform::GetDlgItemText(window, id); }
    // The bytes of the last write queued; empty when none was.
    Bytes LastWrite(size_t queuedBefore) const {
        const auto& queue = m_frame->WriteQueue();
        if (queue.size() <= queuedBefore)
            return {};
        return Bytes(queue.back().data, queue.back().data + queue.back().length);
    }
    bool ProgressShown() const { return m_frame->ProgressWindow()->isVisible(); }
    QString LastPrompt() const { return PromptTexts().empty() ? QString() : PromptTexts().back(); }
    // Whatever characteristic a notification is of, it hides the progress window.
    void ExpectANotificationHidesTheProgress() {
        m_frame->ShowProgress(QStringLiteral("busy"), QStringLiteral("busy"), true, true);
        Notify(0x99, {0x01});
        EXPECT_FALSE(ProgressShown());
    }
};

TEST_F(SpeedAndCadenceTest, OpeningReadsSubscribesAndAsksForTheLocationsOnceIndicationsAreOn) {
    ConnectSensor();
    WriteResult(kCscMeasurement + 1);
    EXPECT_TRUE(Cycling()->IsTimerRunning(TIMER_CSC_NO_DATA));
    WriteResult(kCscControlPoint + 1);
    std::vector<int64_t> configurations;
    for (const HostCall& call : Calls("OrvBleClientWriteConfiguration"))
        configurations.push_back(call.args.at(3));
    EXPECT_EQ(configurations, (std::vector<int64_t>{1, 2, 1})) << "cycling's two, then running's first";
    EXPECT_EQ(m_frame->WriteQueue().back().handle, kCscControlPoint);
    EXPECT_EQ(LastWrite(0), Bytes{0x04});
    EXPECT_TRUE(ProgressShown());
    EXPECT_TRUE(m_frame->IsInModalState());
    EXPECT_TRUE(Cycling()->IsTimerRunning(TIMER_CSC_CONTROL_POINT));

    Notify(kCscControlPoint, {0x10, 0x04, 0x01, 4, 12, 20, 4});
    const auto* locations = qobject_cast<QComboBox*>(platform::GetDlgItem(Cycling(), IDC_CSC_LOCATIONS));
    EXPECT_EQ(locations->count(), 3);
    EXPECT_EQ(locations->currentText(), QStringLiteral("Front Wheel"));
    EXPECT_EQ(locations->itemText(2), QStringLiteral("Other"));
    EXPECT_FALSE(ProgressShown());
    EXPECT_FALSE(Cycling()->IsTimerRunning(TIMER_CSC_CONTROL_POINT));
    EXPECT_TRUE(LogContains(QStringLiteral("Received CSC Notification: 10 04 01 04 0C 14 04 ")));
}

TEST_F(SpeedAndCadenceTest, CyclingShowsDistanceFirstThenSpeedAndZeroAfterEightSecondsWithoutWheelData) {
    ConnectSensor(false, true);
    const QString before = Text(Cycling(), IDC_CSC_SPEED);
    Notify(kCscMeasurement, {0x03, 0xE8, 0x03, 0, 0, 0x00, 0x00, 0xFA, 0xFF, 0x00, 0x00});
    EXPECT_EQ(Text(Cycling(), IDC_CSC_DISTANCE), QStringLiteral("1.75 km"));
    EXPECT_EQ(Text(Cycling(), IDC_CSC_SPEED), before);
    Notify(kCscMeasurement, {0x03, 0xF2, 0x03, 0, 0, 0x00, 0x08, 0x05, 0x00, 0x00, 0x2C}); // 2 s, 11 s
    EXPECT_EQ(Texts(Cycling(), {IDC_CSC_SPEED, IDC_CSC_CADENCE}), (QStringList{"31.50 KPH", "60.00 RPM"}));
    Advance(8000);
    EXPECT_EQ(Texts(Cycling(), {IDC_CSC_SPEED, IDC_CSC_AVERAGE_SPEED}),
              (QStringList{"0.00 KPH", "10.50 KPH"}));
    Notify(kCscMeasurement, {0x01, 0xE8, 0x03});
    EXPECT_TRUE(LogContains(QStringLiteral("CSC Measurement of 3 bytes is too short; ignored.")));
    ExpectANotificationHidesTheProgress();
}

// The running window's measurements, a location beyond the known ones, its feature list built again at
// another opening, and one prompt after thirty seconds without measurements.
TEST_F(SpeedAndCadenceTest, RunningShowsItsMeasurementsRebuildsItsFeaturesAndSaysNoDataOnce) {
    ConnectSensor(true, false);
    const auto* gait = qobject_cast<QLabel*>(platform::GetDlgItem(Running(), IDC_RSC_STATUS_PICTURE));
    Notify(kRscMeasurement, {0x06, 0x00, 0x03, 80, 0x40, 0xE2, 0x01, 0x00});
    const auto shown = [this] {
        return Texts(Running(), {IDC_RSC_SPEED, IDC_RSC_CADENCE, IDC_RSC_STRIDE, IDC_RSC_DISTANCE});
    };
    EXPECT_EQ(gait->pixmap().cacheKey(), Running()->GaitImage(true).cacheKey());
    EXPECT_EQ(shown(), (QStringList{"10.80 KPH", "80 RPM", "0 cm", "12.35 km"}));
    Notify(kRscMeasurement, {0x01, 0x80, 0x01, 110, 0x46, 0x00});
    EXPECT_EQ(gait->pixmap().cacheKey(), Running()->GaitImage(false).cacheKey());
    EXPECT_EQ(shown(), (QStringList{"5.40 KPH", "110 RPM", "70 cm", "12.35 km"}));
    Running()->ShowSensorLocation(14);
    EXPECT_EQ(Text(Running(), IDC_RSC_LOCATION), QStringLiteral("Unknown"));
    ExpectANotificationHidesTheProgress();

    m_frame->OpenProfileWindows(&Record(0));
    ReadResult(kRscFeature, {0x05});
    const auto* features = qobject_cast<QListWidget*>(platform::GetDlgItem(Running(), IDC_RSC_FEATURES));
    ASSERT_EQ(features->count(), 2);
    EXPECT_EQ(features->item(1)->text(), QStringLiteral("Walking/Running status"));
    WriteResult(kRscMeasurement + 1);
    Advance(65000);
    EXPECT_EQ(PromptTexts(), std::vector<QString>{QStringLiteral("No Data being received from sensor")});
}

TEST_F(SpeedAndCadenceTest, SetValueWaitsForWheelDataAndTheLocationUpdateForMultipleLocations) {
    ConnectSensor(false, true, true, 0x02);
    EXPECT_FALSE(Run(Cycling(), ID_CSC_SET_VALUE));
    EXPECT_FALSE(Run(Cycling(), ID_SC_UPDATE_LOCATION));
    ReadResult(kCscFeature, {0x05});
    EXPECT_TRUE(platform::GetDlgItem(Cycling(), IDC_CSC_CUMULATIVE_VALUE)->isEnabled());
    EXPECT_TRUE(Run(Cycling(), ID_CSC_SET_VALUE));
    EXPECT_TRUE(Run(Cycling(), ID_SC_UPDATE_LOCATION));
}

TEST_F(SpeedAndCadenceTest, WithBothWindowsOpenEitherLocationUpdateWritesTheRunningChoice) {
    ConnectSensor();
    Notify(kRscControlPoint, {0x10, 0x04, 0x01, 1, 2});
    Notify(kCscControlPoint, {0x10, 0x04, 0x01, 4, 12});
    qobject_cast<QComboBox*>(platform::GetDlgItem(Running(), IDC_RSC_LOCATIONS))->setCurrentIndex(1);
    const size_t queued = m_frame->WriteQueue().size();
    ASSERT_TRUE(Run(Cycling(), ID_SC_UPDATE_LOCATION));
    EXPECT_EQ(LastWrite(queued), (Bytes{0x03, 2}));
    EXPECT_EQ(m_frame->WriteQueue().back().handle, kRscControlPoint);
}

struct Input {
    bool running;
    UINT edit;
    const char* text;
    UINT command;
    const char* prompt;  // empty: none
    const char* written; // hex; empty: nothing
};

TEST_F(SpeedAndCadenceTest, TypedValuesAreSentOrRefusedWithTheirMessage) {
    ConnectSensor();
    const char* kCount = "Please enter a number between 0 and 4,294,967,296";
    const char* kCircumference = "Please enter a value between 1 and 65,535";
    const char* kDistance = "Please enter the distance between 0 and 429,496 km";
    const Input rows[] = {
        {false, IDC_CSC_CUMULATIVE_VALUE, "", ID_CSC_SET_VALUE, kCount, ""},
        {false, IDC_CSC_CUMULATIVE_VALUE, "4294967295", ID_CSC_SET_VALUE, "", "01 FF FF FF FF"},
        {false, IDC_CSC_CIRCUMFERENCE, "0", ID_CSC_CIRCUMFERENCE, kCircumference, ""},
        {true, IDC_RSC_DISTANCE_EDIT, "abc", ID_RSC_SET_DISTANCE, kDistance, ""},
        {true, IDC_RSC_DISTANCE_EDIT, "12.5", ID_RSC_SET_DISTANCE, "", "01 48 E8 01 00"},
        {true, IDC_RSC_DISTANCE_EDIT, "0.0371", ID_RSC_SET_DISTANCE, "", "01 73 01 00 00"},
    };
    for (const Input& row : rows) {
        m_frame->HideProgress();
        CChildFrame* window = row.running ? static_cast<CChildFrame*>(Running()) : Cycling();
        platform::SetDlgItemText(window, row.edit, QString::fromLatin1(row.text));
        const size_t prompts = PromptTexts().size();
        const size_t queued = m_frame->WriteQueue().size();
        SCOPED_TRACE(row.text);
        EXPECT_TRUE(Run(window, row.command));
        EXPECT_EQ(PromptTexts().size() > prompts ? LastPrompt() : QString(), QString::fromLatin1(row.prompt));
        EXPECT_EQ(LastWrite(queued), Hex(row.written));
    }
    EXPECT_EQ(Text(Cycling(), IDC_CSC_CIRCUMFERENCE), QStringLiteral("175"));
    platform::SetDlgItemText(Cycling(), IDC_CSC_CIRCUMFERENCE, QString());
    EXPECT_TRUE(Run(Cycling(), ID_CSC_CIRCUMFERENCE));
    EXPECT_EQ(Text(Cycling(), IDC_CSC_CIRCUMFERENCE), QString());
}

TEST_F(SpeedAndCadenceTest, ControlPointFailuresShowTheirMessageAndOtherAnswersNothing) {
    ConnectSensor();
    // The case, whether the running sensor answers, the answer, the message it brings (0: none).
    const std::tuple<const char*, bool, Bytes, UINT> rows[] = {
        {"cycling set failed", false, {0x10, 0x01, 0x04}, IDS_TOTAL_DISTANCE_FAILED},
        {"cycling move failed", false, {0x10, 0x03, 0x04}, IDS_LOCATION_UPDATE_FAILED},
        {"cycling move refused", false, {0x10, 0x03, 0x03}, IDS_LOCATION_INVALID_PARAMETER},
        {"cycling move not supported", false, {0x10, 0x03, 0x02}, 0},
        {"cycling list failed", false, {0x10, 0x04, 0x04}, IDS_LOCATIONS_FAILED},
        {"cycling unknown response code", false, {0x20, 0x01, 0x04}, 0},
        {"running set failed", true, {0x10, 0x01, 0x02}, IDS_TOTAL_DISTANCE_FAILED},
        {"running calibrated", true, {0x10, 0x02, 0x01}, 0},
        {"running unknown op code", true, {0x10, 0x05, 0x04}, 0},
        {"running list failed", true, {0x10, 0x04, 0x03}, IDS_LOCATIONS_FAILED},
    };
    for (const auto& [name, running, indication, message] : rows) {
        const size_t prompts = PromptTexts().size();
        Notify(running ? kRscControlPoint : kCscControlPoint, indication);
        EXPECT_EQ(PromptTexts().size() > prompts ? LastPrompt() : QString(),
                  message ? platform::LoadString(message) : QString())
            << name;
    }
    Notify(kRscControlPoint, {0x10, 0x01});
    EXPECT_TRUE(LogContains(QStringLiteral("SC Control Point response of 2 bytes is too short; ignored.")));
    Notify(kCscControlPoint, {0x10, 0x03, 0x01});
    EXPECT_EQ(Calls("OrvBleClientReadCharByHandle").back().args, (std::vector<int64_t>{kCid, kCscLocation}));
}

// The value and text sent apply on success, whatever the edits hold by then.
TEST_F(SpeedAndCadenceTest, ASuccessfulSetAppliesWhatWasSent) {
    ConnectSensor();
    Notify(kCscMeasurement, {0x01, 0x10, 0x00, 0, 0, 0x00, 0x00});
    platform::SetDlgItemText(Cycling(), IDC_CSC_CUMULATIVE_VALUE, QStringLiteral("1000 laps"));
    ASSERT_TRUE(Run(Cycling(), ID_CSC_SET_VALUE));
    platform::SetDlgItemText(Cycling(), IDC_CSC_CUMULATIVE_VALUE, QStringLiteral("5"));
    Notify(kCscControlPoint, {0x10, 0x01, 0x01});
    EXPECT_EQ(Text(Cycling(), IDC_CSC_WHEEL_REVOLUTIONS), QStringLiteral("1000 laps"));
    EXPECT_EQ(Text(Cycling(), IDC_CSC_DISTANCE), QStringLiteral("1.75 km"));

    m_frame->HideProgress();
    platform::SetDlgItemText(Running(), IDC_RSC_DISTANCE_EDIT, QStringLiteral("12.50"));
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_RSC_SET_DISTANCE));
    platform::SetDlgItemText(Running(), IDC_RSC_DISTANCE_EDIT, QStringLiteral("7"));
    Notify(kRscControlPoint, {0x10, 0x01, 0x01});
    EXPECT_EQ(Text(Running(), IDC_RSC_DISTANCE), QStringLiteral("12.50 km"));
    EXPECT_EQ(Running()->TotalDistance(), 125000u);
}

TEST_F(SpeedAndCadenceTest, ARequestWhileTheProgressWindowShowsIsRefused) {
    ConnectSensor();
    platform::SetDlgItemText(Running(), IDC_RSC_DISTANCE_EDIT, QStringLiteral("3"));
    m_frame->ShowProgress(QStringLiteral("busy"), QStringLiteral("busy"), true, false);
    const size_t queued = m_frame->WriteQueue().size();
    const std::pair<UINT, const char*> rows[] = {
        {ID_RSC_SET_DISTANCE,
         "Total distance could not be set\n as another control point operation is in progress "
         "or the remote device doesn't support control point characteristic."},
        {ID_RSC_CALIBRATE,
         "Calibration could not be done\n as another controlpoint operation is in progress"},
        {ID_SC_UPDATE_LOCATION,
         "Sensor location could not be updated\n as another control point operation is in progress."},
    };
    for (const auto& [command, message] : rows) {
        EXPECT_TRUE(Run(Running(), command)) << message;
        EXPECT_EQ(LastPrompt(), QString::fromLatin1(message));
    }
    EXPECT_EQ(m_frame->WriteQueue().size(), queued);
}

// Without control points Set Distance and Update say why; Calibrate says nothing.
TEST_F(SpeedAndCadenceTest, WithoutControlPointsSetAndUpdateSayWhyAndCalibrateNothing) {
    ConnectSensor(true, false, false);
    const size_t queued = m_frame->WriteQueue().size();
    platform::SetDlgItemText(Running(), IDC_RSC_DISTANCE_EDIT, QStringLiteral("3"));
    EXPECT_TRUE(Run(Running(), ID_RSC_SET_DISTANCE));
    EXPECT_TRUE(LastPrompt().startsWith(QStringLiteral("Total distance could not be set")));
    EXPECT_TRUE(Run(Running(), ID_RSC_CALIBRATE));
    EXPECT_EQ(PromptTexts().size(), 1u);
    EXPECT_TRUE(Run(Running(), ID_SC_UPDATE_LOCATION));
    EXPECT_EQ(LastPrompt(), platform::LoadString(IDS_NO_SC_CONTROL_POINT));
    EXPECT_EQ(m_frame->WriteQueue().size(), queued);
}

// Indications of the control point on, the location query is written and its answer awaited for 30 s,
// after which the device is disconnected; when the query's write fails, nothing is awaited.
class ControlPointWait : public SpeedAndCadenceTest, public ::testing::WithParamInterface<uint16_t> {};

TEST_P(ControlPointWait, AControlPointWriteWaitsForItsAnswerUnlessItFailed) {
    const uint16_t status = GetParam();
    ConnectSensor(false, true);
    WriteResult(kCscMeasurement + 1);
    WriteResult(kCscControlPoint + 1);
    WriteResult(kCscControlPoint, status);
    EXPECT_EQ(ProgressShown(), status == 0);
    for (int i = 0; i < 4; ++i) {
        Notify(kCscMeasurement, {0x00});
        Advance(10000);
    }
    EXPECT_EQ(Count("OrvBleHostDisconnect"), status == 0 ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(WriteStatus, ControlPointWait, ::testing::Values(0x00, 0x80));

// Each window waits 30 s for its next measurement, from the subscription on: a ride of five such waits,
// each ended by a measurement a millisecond early, shows nothing; once the sensor stops, the box shows
// 30 s after its last measurement, and only once for that silence.
struct Sensor {
    const char* name;
    bool running;
    uint16_t measurement;
    std::vector<uint8_t> value;
};

void PrintTo(const Sensor& sensor, std::ostream* out) {
    *out << sensor.name;
}

class NoDataWait : public SpeedAndCadenceTest, public ::testing::WithParamInterface<Sensor> {};

TEST_P(NoDataWait, MeasurementsKeepTheBoxAwayAndThirtySecondsWithoutOneShowIt) {
    const Sensor& sensor = GetParam();
    ConnectSensor(sensor.running, !sensor.running, false);
    WriteResult(sensor.measurement + 1);
    constexpr uint64_t kJustBeforeTheWaitEnds = 29999;
    for (int wait = 0; wait < 5; ++wait) {
        Advance(kJustBeforeTheWaitEnds);
        Notify(sensor.measurement, sensor.value);
    }
    EXPECT_TRUE(PromptTexts().empty()) << "while riding";
    Advance(kJustBeforeTheWaitEnds);
    EXPECT_TRUE(PromptTexts().empty());
    Advance(1);
    const std::vector<QString> once{QStringLiteral("No Data being received from sensor")};
    EXPECT_EQ(PromptTexts(), once);
    Advance(90000);
    EXPECT_EQ(PromptTexts(), once);
}

INSTANTIATE_TEST_SUITE_P(Windows, NoDataWait,
                         ::testing::Values(Sensor{"Running", true, kRscMeasurement, {0x00, 0x00, 0x03, 80}},
                                           Sensor{"Cycling", false, kCscMeasurement, {0x00}}),
                         [](const ::testing::TestParamInfo<Sensor>& info) { return info.param.name; });

} // namespace
