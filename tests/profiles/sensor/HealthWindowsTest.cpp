// The health windows. On their own: what each blood-pressure display function shows and hides, the
// thermometer's text, gauge and site, the heart-rate contact images (its texts and Reset are tested on
// the main window), and the glucose window's record list, the details of a selected record and the
// operator its radio buttons build. On the main window: the record-access commands, one procedure at a
// time, and a pending state that never outlives its procedure.
#include "profiles/sensor/CBloodPressureCtrl.h"
#include "profiles/sensor/CGlucoseCtrl.h"
#include "profiles/sensor/CHeartRateMonitorCtrl.h"
#include "profiles/sensor/CTemperatureCtrl.h"

#include "profiles/sensor/BloodPressureIds.h"
#include "profiles/sensor/GlucoseIds.h"
#include "profiles/sensor/HeartRateIds.h"
#include "profiles/sensor/ThermometerIds.h"
#include "support/MainFrameFixture.h"
#include "support/WindowTest.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTreeWidget>
#include <limits>

namespace {

// 09:30 on that day of May 2026.
std::tm Day(int day) {
    std::tm time{};
    time.tm_year = 126;
    time.tm_mon = 4;
    time.tm_mday = day;
    time.tm_hour = 9;
    time.tm_min = 30;
    return time;
}

constexpr UINT kOptional[] = {IDC_BP_PULSE_IMAGE, IDC_BP_PULSE,           IDC_BP_PULSE_UNIT,      IDC_BP_TIME,
                              IDC_BP_DATE,        IDC_BP_ADDITIONAL_TEXT, IDC_BP_ADDITIONAL_GROUP};
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInfinity = std::numeric_limits<double>::infinity();

class BloodPressureCtrlTest : public WindowTest<CBloodPressureCtrl> {
protected:
    QStringList Texts(std::initializer_list<UINT> ids) const {
        QStringList texts;
        for (UINT id : ids)
            texts << Text(id);
        return texts;
    }
    // How many of kOptional are shown.
    size_t Shown() const {
        return std::count_if(std::begin(kOptional), std::end(kOptional),
                             [this](UINT id) { return Item(id)->isVisibleTo(m_window); });
    }
};

TEST_F(BloodPressureCtrlTest, OptionalFieldsComeWithTheirValuesAndGoWithTheNextPressure) {
    EXPECT_EQ(Shown(), 1u) << "the pulse's dashes only";
    m_window->ShowTimeStamp(Day(7));
    m_window->ShowPulseRate(71.6);
    m_window->ShowUserAndStatus(1, 0x0004);
    EXPECT_EQ(Shown(), std::size(kOptional));
    EXPECT_EQ(Texts({IDC_BP_TIME, IDC_BP_DATE, IDC_BP_PULSE, IDC_BP_ADDITIONAL_TEXT}),
              (QStringList{"09:30", "May-07-2026", "72", "User id: 001 Status: 0004"}));
    m_window->ShowPressure(false, 1, 1, 1);
    EXPECT_EQ(Shown(), 0u);
    m_window->ShowPulseRate(kNaN);
    EXPECT_EQ(Texts({IDC_BP_PULSE}), QStringList{"--"});
}

TEST_F(BloodPressureCtrlTest, WholeNumbersInTheirUnitDashesForSpecialsAndTheAdditionalInformation) {
    struct Case {
        bool kPa;
        double systolic, diastolic, mean;
        uint8_t user;
        uint16_t status;
        QStringList texts; // systolic, diastolic, mean arterial, a unit, the additional information
    };
    const Case cases[] = {
        {false, 120, 80, 93.4, 0xFF, 0x0004, {"120", "80", "93", "mmHg", "Status: 0004"}},
        {true, 12.3, -1, 15.5, 3, 0, {"12", "-1", "16", "kPa", "User id: 003"}},
        {false, 160, kNaN, kNaN, 254, 0xBEEF, {"160", "--", "--", "mmHg", "User id: 254 Status: BEEF"}},
        {false, kInfinity, -kInfinity, 0, 0xFF, 0, {"--", "--", "0", "mmHg", "User id: 254 Status: BEEF"}},
    };
    for (const Case& c : cases) {
        m_window->ShowPressure(c.kPa, c.systolic, c.diastolic, c.mean);
        m_window->ShowUserAndStatus(c.user, c.status);
        EXPECT_EQ(Texts({IDC_BP_SYSTOLIC, IDC_BP_DIASTOLIC, IDC_BP_MEAN_ARTERIAL, IDC_BP_SYSTOLIC_UNIT,
                         IDC_BP_ADDITIONAL_TEXT}),
                  c.texts);
        EXPECT_EQ(Texts({IDC_BP_DIASTOLIC_UNIT, IDC_BP_MEAN_ARTERIAL_UNIT}), QStringList(2, c.texts[3]));
        EXPECT_EQ(Shown(), c.user == 0xFF && c.status == 0 ? 0u : 2u) << "the additional information";
    }
}

class TemperatureCtrlTest : public WindowTest<CTemperatureCtrl> {
protected:
    int Gauge() const { return Item<QProgressBar>(IDC_TEMP_GAUGE)->value(); }
};

TEST_F(TemperatureCtrlTest, TemperatureTextAndGaugeLimitedToItsRange) {
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("Thermometer"));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::tuple<int, float, const char*, int> cases[] = {
        {0, 36.5f, "36.5°C", 36},     {0, -10.0f, "-10.0°C", -10},
        {0, 3.0e38f, nullptr, 100},   {1, 98.6f, "98.6°F", 98},
        {0, -3.0e38f, nullptr, -40},  {0, 150.0f, "150.0°C", 100},
        {0, -60.27f, "-60.3°C", -40}, {0, nan, "N/A", -40},
        {2, 37.0f, "37.0°C", 37},     {0, -std::numeric_limits<float>::infinity(), "N/A", 37},
    };
    for (const auto& [unit, value, text, gauge] : cases) {
        m_window->ShowTemperature(unit, value);
        if (text) {
            EXPECT_EQ(Text(IDC_TEMP_VALUE), QString::fromUtf8(text)) << value;
        }
        EXPECT_EQ(Gauge(), gauge) << value;
    }
}

TEST_F(TemperatureCtrlTest, SitesHaveTheirNamesAndUnknownCodesAnEmptyText) {
    for (const auto& [type, name] :
         {std::pair{9u, "Tympanum"}, {0u, ""}, {5u, "Gastro-intestinal tract"}, {10u, ""}}) {
        m_window->ShowTemperatureType(type);
        EXPECT_EQ(Text(IDC_TEMP_SITE), QLatin1String(name)) << type;
    }
}

using HeartRateMonitorCtrlTest = WindowTest<CHeartRateMonitorCtrl>;

TEST_F(HeartRateMonitorCtrlTest, SensorContactStatesShowTheirImageOf24PixelsAndOtherStatesChangeNothing) {
    const auto* picture = Item<QLabel>(IDC_HR_CONTACT_IMAGE);
    const std::pair<uint32_t, bool> rows[] = {{2, true}, {3, true}, {0, false}, {2, true}, {1, false}};
    for (const auto& [state, inContact] : rows) {
        m_window->ShowSensorContact(state);
        const QPixmap& image = inContact ? m_window->InContactImage() : m_window->NotInContactImage();
        EXPECT_EQ(picture->pixmap().cacheKey(), image.cacheKey()) << state;
        EXPECT_EQ(image.size(), QSize(24, 24));
    }
}

using Bytes = std::vector<uint8_t>;
constexpr uint8_t kKg = GlucoseUnit::KgPerLitre, kMol = GlucoseUnit::MolPerLitre;
constexpr UINT kDetails[] = {IDC_GLUCOSE_VALUE,   IDC_GLUCOSE_UNIT,         IDC_GLUCOSE_COLOUR,
                             IDC_GLUCOSE_SAMPLE,  IDC_GLUCOSE_ERROR,        IDC_GLUCOSE_STATUS,
                             IDC_GLUCOSE_CONTEXT, IDC_GLUCOSE_CONTEXT_GROUP};

class GlucoseCtrlTest : public WindowTest<CGlucoseCtrl, EnvironmentFixture> {
protected:
    std::vector<UINT> Shown() const {
        std::vector<UINT> shown;
        std::copy_if(std::begin(kDetails), std::end(kDetails), std::back_inserter(shown),
                     [this](UINT id) { return Item(id)->isVisibleTo(m_window); });
        return shown;
    }
    QTreeWidget* List(UINT id) const { return Item<QTreeWidget>(id); }
    QStringList Row(UINT id, int row) const { return ItemTexts(List(id)->topLevelItem(row)); }
    // The colour inside the colour box, as the window shows it.
    QString BoxColour() {
        const QWidget* box = Item(IDC_GLUCOSE_COLOUR);
        return m_window->grab().toImage().pixelColor(box->mapTo(m_window, box->rect().center())).name();
    }
    void Select(int row) {
        List(IDC_GLUCOSE_RECORDS)->setCurrentItem(List(IDC_GLUCOSE_RECORDS)->topLevelItem(row));
    }
};

TEST_F(GlucoseCtrlTest, EveryMeasurementAddsARowAndTheLaterOfOneSequenceNumberIsKept) {
    m_window->AddMeasurement(1, Day(7), kKg, 1, 1, 0.0010);
    m_window->AddMeasurementWithStatus(12, Day(8), kMol, 1, 1, 0x0001, 0.0061);
    m_window->AddMeasurementStatusOnly(300, Day(9), 0x0004);
    m_window->AddMeasurementTimeOnly(4000, Day(10));
    m_window->AddMeasurement(1, Day(11), kKg, 1, 1, 0.0012);
    EXPECT_EQ(Row(IDC_GLUCOSE_RECORDS, 0), (QStringList{"0001", "09:30:00  May 07, 2026", "100.0 mg/dL"}));
    EXPECT_EQ(Row(IDC_GLUCOSE_RECORDS, 1), (QStringList{"0012", "09:30:00  May 08, 2026", "6.1 mmol/L"}));
    EXPECT_EQ(Row(IDC_GLUCOSE_RECORDS, 2), (QStringList{"0300", "09:30:00  May 09, 2026", "Sensor error"}));
    EXPECT_EQ(Row(IDC_GLUCOSE_RECORDS, 3), (QStringList{"4000", "09:30:00  May 10, 2026", ""}));
    Select(0);
    EXPECT_EQ(Text(IDC_GLUCOSE_VALUE), QStringLiteral("120.0"));
    EXPECT_EQ(m_window->Records().size(), 4u);
    m_window->ClearRecords();
    EXPECT_EQ(List(IDC_GLUCOSE_RECORDS)->topLevelItemCount(), 0);
    EXPECT_TRUE(m_window->Records().empty());
    EXPECT_TRUE(Shown().empty());
}

TEST_F(GlucoseCtrlTest, SelectedRecordShowsWhatWasMeasuredAndNothingOfTheRecordBefore) {
    m_window->AddMeasurementWithStatus(1, Day(7), kKg, 1, 2, 0x0040, 0.0013);
    m_window->AddContextItem(1, GlucoseContextKind::HbA1c, 0, 5.8);
    m_window->AddContextItem(1, GlucoseContextKind::TesterHealth, 0x21, 0);
    m_window->AddContextItem(9, GlucoseContextKind::Meal, 1, 0); // no such record: nothing
    m_window->AddMeasurement(2, Day(8), kMol, 0, 0, 0.0055);
    m_window->AddMeasurementStatusOnly(3, Day(9), 0x0104);
    m_window->AddMeasurementTimeOnly(4, Day(10));
    m_window->AddMeasurement(5, Day(11), kKg, 0, 0, 0.00118);
    Select(0);
    EXPECT_EQ(BoxColour(), QStringLiteral("#ff0000"));
    EXPECT_EQ(Shown().size(), std::size(kDetails) - 1) << "all but the status";
    EXPECT_EQ((QStringList{Text(IDC_GLUCOSE_VALUE), Text(IDC_GLUCOSE_SAMPLE), Text(IDC_GLUCOSE_ERROR)}),
              (QStringList{"130.0", "Finger, Capillary Plasma", "Sensor reported error: 0040h"}));
    EXPECT_EQ(Row(IDC_GLUCOSE_CONTEXT, 0), (QStringList{"HbA1c", "5.8%"}));
    EXPECT_EQ(Row(IDC_GLUCOSE_CONTEXT, 1), (QStringList{"Tester and Health information",
                                                        "Health Care Professional, Minor health issues"}));
    ExpectColumnsFit(List(IDC_GLUCOSE_CONTEXT));
    Select(1);
    EXPECT_EQ(Shown(), (std::vector<UINT>{IDC_GLUCOSE_VALUE, IDC_GLUCOSE_UNIT, IDC_GLUCOSE_COLOUR}));
    EXPECT_EQ(Text(IDC_GLUCOSE_VALUE) + Text(IDC_GLUCOSE_UNIT), QStringLiteral("5.5mmol/L"));
    EXPECT_EQ(BoxColour(), QStringLiteral("#008c00"));
    Select(2);
    EXPECT_EQ(Shown(), (std::vector<UINT>{IDC_GLUCOSE_STATUS}));
    EXPECT_EQ(Text(IDC_GLUCOSE_STATUS), QStringLiteral("Sensor reported status: 0104h"));
    EXPECT_EQ(BoxColour(), m_window->palette().color(QPalette::Window).name()) << "no box";
    Select(0);
    Select(3);
    EXPECT_TRUE(Shown().empty());
    Select(4);
    EXPECT_EQ(BoxColour(), QStringLiteral("#ff8000"));
}

TEST_F(GlucoseCtrlTest, OperatorsFollowTheRadioButtonAndInvalidSequenceNumbersBuildNothing) {
    const char* const one = "Enter a valid sequence number.";
    const char* const two =
        "Enter valid sequence numbers. Ensure that the lower limit is lower than the upper limit.";
    struct Case {
        UINT radio;
        std::vector<std::pair<UINT, const char*>> typed;
        Bytes built; // after the op code; empty: refused
        const char* message;
    };
    const Case cases[] = {
        {0, {}, {}, nullptr}, // no radio button selected
        {IDC_GLUCOSE_ALL, {}, {0x01}, nullptr},
        {IDC_GLUCOSE_BELOW, {{IDC_GLUCOSE_BELOW_EDIT, "42"}}, {0x02, 0x01, 0x2A, 0x00}, nullptr},
        {IDC_GLUCOSE_BELOW, {{IDC_GLUCOSE_BELOW_EDIT, ""}}, {}, one},
        {IDC_GLUCOSE_ABOVE, {{IDC_GLUCOSE_ABOVE_EDIT, "  7x"}}, {0x03, 0x01, 0x07, 0x00}, nullptr},
        {IDC_GLUCOSE_ABOVE, {{IDC_GLUCOSE_ABOVE_EDIT, "65536"}}, {}, one},
        {IDC_GLUCOSE_BETWEEN,
         {{IDC_GLUCOSE_BETWEEN_LOW, "300"}, {IDC_GLUCOSE_BETWEEN_HIGH, "65535"}},
         {0x04, 0x01, 0x2C, 0x01, 0xFF, 0xFF},
         nullptr},
        {IDC_GLUCOSE_BETWEEN, {{IDC_GLUCOSE_BETWEEN_LOW, "-1"}}, {}, two},
        {IDC_GLUCOSE_BETWEEN, {{IDC_GLUCOSE_BETWEEN_LOW, "1"}, {IDC_GLUCOSE_BETWEEN_HIGH, ""}}, {}, two},
        {IDC_GLUCOSE_FIRST, {}, {0x05}, nullptr},
        {IDC_GLUCOSE_LAST, {}, {0x06}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.radio);
        if (c.radio != 0)
            Item<QAbstractButton>(c.radio)->setChecked(true);
        for (const auto& [edit, text] : c.typed)
            Item<QLineEdit>(edit)->setText(QLatin1String(text));
        const size_t prompts = m_prompter.prompts.size();
        Bytes request{0x04};
        EXPECT_EQ(m_window->BuildRacpOperator(request), !c.built.empty());
        Bytes expected{0x04};
        expected.insert(expected.end(), c.built.begin(), c.built.end());
        EXPECT_EQ(request, expected);
        ASSERT_EQ(m_prompter.prompts.size(), prompts + (c.message ? 1 : 0));
        if (c.message) {
            EXPECT_EQ(m_prompter.prompts.back().text, QLatin1String(c.message));
            EXPECT_EQ(m_prompter.prompts.back().caption, QStringLiteral("Invalid Sequence Number"));
            EXPECT_EQ(m_prompter.prompts.back().type, MB_OK | MB_ICONHAND);
        }
    }
}

constexpr uint16_t kControlPoint = 0x4A;

class MainFrameGlucoseTest : public PeerFixture {
protected:
    void ConnectMeter(bool controlPoint = true) {
        m_database.Service(0x1808, 0x40, 0x4B).Characteristic(0x2A18, 0x42, 0x10, 0x43);
        if (controlPoint)
            m_database.Characteristic(0x2A52, kControlPoint, 0x28, 0x4B);
        ConnectPeer();
        WriteResult(0x43);
        if (controlPoint)
            WriteResult(0x4B);
    }
    bool Pending() const { return m_frame->IsRecordAccessPending(); }
};

TEST_F(MainFrameGlucoseTest, ARequestIsPendingUntilItsAnswerAndOnlyCancelIsAvailableMeanwhile) {
    ConnectMeter();
    Notify(kControlPoint, {0x05, 0x00, 0x0C, 0x00}); // nothing asked: ignored
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_GLUCOSE_READ_ALL));
    EXPECT_TRUE(Pending());
    EXPECT_FALSE(m_frame->ExecuteCommand(ID_GLUCOSE_DELETE_ALL));
    EXPECT_TRUE(m_frame->ExecuteCommand(ID_GLUCOSE_CANCEL));
    EXPECT_TRUE(Pending()) << "an abort does not end the request";
    Notify(kControlPoint, {0x06, 0x00, 0x01, 0x01});
    EXPECT_FALSE(Pending());
    EXPECT_FALSE(m_frame->ExecuteCommand(ID_GLUCOSE_CANCEL));

    platform::GetDlgItem(m_frame->GlucoseWindow(), IDC_GLUCOSE_ALL)->setProperty("checked", true);
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_GLUCOSE_GET_COUNT));
    Notify(kControlPoint, {0x05, 0x00}); // too short: logged, and the request is over all the same
    EXPECT_FALSE(Pending());
    EXPECT_EQ(platform::GetDlgItemText(m_frame->GlucoseWindow(), IDC_GLUCOSE_COUNT),
              QStringLiteral("Unknown"));
}

// How a request's pending state ends when no answer comes.
TEST_F(MainFrameGlucoseTest, ThePendingStateEndsWithTheProcedure) {
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"final failure of the write", [this] { WriteResult(kControlPoint, 0x80); }},
        {"disconnection", [this] { Disconnected(); }},
        {"answer while the windows were closed",
         [this] {
             Select(1);
             Notify(kControlPoint, {0x06, 0x00, 0x01, 0x06});
             Select(0);
         }},
    };
    for (const auto& [name, then] : cases) {
        SCOPED_TRACE(name);
        NewFrame();
        FindPeers();
        ConnectMeter();
        ASSERT_TRUE(m_frame->ExecuteCommand(ID_GLUCOSE_READ_ALL));
        then();
        EXPECT_FALSE(Pending());
    }
}

TEST_F(MainFrameGlucoseTest, WithoutAControlPointTheCommandsDoNothing) {
    ConnectMeter(false);
    for (const UINT id : {ID_GLUCOSE_READ_ALL, ID_GLUCOSE_DELETE_ALL, ID_GLUCOSE_GET_COUNT, ID_GLUCOSE_READ})
        m_frame->ExecuteCommand(id);
    EXPECT_FALSE(Pending());
    EXPECT_EQ(Count("OrvBleClientWriteCfmCharByHandle"), 0u);
}

} // namespace
