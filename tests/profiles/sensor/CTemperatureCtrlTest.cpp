// The thermometer window: the temperature text and gauge, and the measurement site.
#include "profiles/sensor/CTemperatureCtrl.h"

#include "profiles/sensor/ThermometerIds.h"
#include "support/WindowTest.h"

#include <QProgressBar>

#include <limits>

namespace {

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

} // namespace
