// The health windows on their own: what each blood-pressure display function shows and hides, the
// thermometer's text, gauge and site, and the heart-rate contact images (its texts and Reset are tested
// on the main window).
#include "profiles/sensor/BloodPressureIds.h"
#include "profiles/sensor/CBloodPressureCtrl.h"
#include "profiles/sensor/CHeartRateMonitorCtrl.h"
#include "profiles/sensor/CTemperatureCtrl.h"
#include "profiles/sensor/HeartRateIds.h"
#include "profiles/sensor/ThermometerIds.h"
#include "support/WindowTest.h"

#include <QLabel>
#include <QProgressBar>

#include <limits>

namespace {

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
    std::tm time{};
    time.tm_year = 126;
    time.tm_mon = 4;
    time.tm_mday = 7;
    time.tm_hour = 9;
    time.tm_min = 5;
    m_window->ShowTimeStamp(time);
    m_window->ShowPulseRate(71.6);
    m_window->ShowUserAndStatus(1, 0x0004);
    EXPECT_EQ(Shown(), std::size(kOptional));
    EXPECT_EQ(Texts({IDC_BP_TIME, IDC_BP_DATE, IDC_BP_PULSE, IDC_BP_ADDITIONAL_TEXT}),
              (QStringList{"09:05", "May-07-2026", "72", "User id: 001 Status: 0004"}));
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

} // namespace
