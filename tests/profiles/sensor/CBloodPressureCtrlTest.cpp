// The blood-pressure window: what each display function shows and hides.
#include "profiles/sensor/CBloodPressureCtrl.h"

#include "platform/DialogItems.h"
#include "profiles/sensor/BloodPressureIds.h"

#include <QMdiArea>
#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr UINT kOptional[] = {IDC_BP_PULSE_IMAGE, IDC_BP_PULSE,           IDC_BP_PULSE_UNIT,      IDC_BP_TIME,
                              IDC_BP_DATE,        IDC_BP_ADDITIONAL_TEXT, IDC_BP_ADDITIONAL_GROUP};
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInfinity = std::numeric_limits<double>::infinity();

class BloodPressureCtrlTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_window = new CBloodPressureCtrl;
        m_window->Create(&m_area, nullptr, nullptr);
    }
    QString Text(UINT id) const { return platform::GetDlgItemText(m_window, id); }
    // The ids among kOptional that are shown.
    std::vector<UINT> Shown() const {
        std::vector<UINT> shown;
        for (UINT id : kOptional)
            if (platform::GetDlgItem(m_window, id)->isVisibleTo(m_window))
                shown.push_back(id);
        return shown;
    }

    QMdiArea m_area;
    CBloodPressureCtrl* m_window = nullptr; // owned by its sub-window
};

TEST_F(BloodPressureCtrlTest, OptionalFieldsComeWithTheirValuesAndGoWithTheNextPressure) {
    EXPECT_EQ(Shown(), std::vector<UINT>{IDC_BP_PULSE});
    EXPECT_EQ(m_window->PulseImage().size(), QSize(24, 24));
    std::tm time{};
    time.tm_year = 126;
    time.tm_mon = 4;
    time.tm_mday = 7;
    time.tm_hour = 9;
    time.tm_min = 5;
    m_window->ShowTimeStamp(time);
    m_window->ShowPulseRate(71.6);
    m_window->ShowUserAndStatus(1, 0x0004);
    EXPECT_EQ(Shown().size(), std::size(kOptional));
    EXPECT_EQ(
        (QStringList{Text(IDC_BP_TIME), Text(IDC_BP_DATE), Text(IDC_BP_PULSE), Text(IDC_BP_ADDITIONAL_TEXT)}),
        (QStringList{"09:05", "May-07-2026", "72", "User id: 001 Status: 0004"}));
    m_window->ShowPressure(false, 1, 1, 1);
    EXPECT_TRUE(Shown().empty());
    m_window->ShowPulseRate(kNaN);
    EXPECT_EQ(Text(IDC_BP_PULSE), QStringLiteral("--"));
}

TEST_F(BloodPressureCtrlTest, PressuresAreWholeNumbersInTheirUnitAndSpecialsAreDashes) {
    struct Case {
        bool kPa;
        double systolic, diastolic, mean;
        QStringList texts; // systolic, diastolic, mean arterial, their unit
    };
    const Case cases[] = {
        {false, 120, 80, 93.4, {"120", "80", "93", "mmHg"}},
        {true, 12.3, -1, 15.5, {"12", "-1", "16", "kPa"}},
        {false, 160, kNaN, kNaN, {"160", "--", "--", "mmHg"}},
        {false, kInfinity, -kInfinity, 0, {"--", "--", "0", "mmHg"}},
    };
    for (const Case& c : cases) {
        m_window->ShowPressure(c.kPa, c.systolic, c.diastolic, c.mean);
        for (UINT id : {IDC_BP_SYSTOLIC_UNIT, IDC_BP_DIASTOLIC_UNIT, IDC_BP_MEAN_ARTERIAL_UNIT})
            EXPECT_EQ(Text(id), c.texts[3]) << id;
        EXPECT_EQ((QStringList{Text(IDC_BP_SYSTOLIC), Text(IDC_BP_DIASTOLIC), Text(IDC_BP_MEAN_ARTERIAL),
                               Text(IDC_BP_MEAN_ARTERIAL_UNIT)}),
                  c.texts);
    }
}

TEST_F(BloodPressureCtrlTest, AdditionalInformationLeavesOutTheUnknownUserAndANullStatus) {
    const std::tuple<uint8_t, uint16_t, const char*> cases[] = {
        {0xFF, 0x0004, "Status: 0004"},
        {3, 0, "User id: 003"},
        {254, 0xBEEF, "User id: 254 Status: BEEF"},
        {0xFF, 0, nullptr},
    };
    for (const auto& [user, status, text] : cases) {
        m_window->ShowPressure(false, 1, 1, 1);
        m_window->ShowUserAndStatus(user, status);
        if (text) {
            EXPECT_EQ(Text(IDC_BP_ADDITIONAL_TEXT), QLatin1String(text));
            EXPECT_EQ(Shown(), (std::vector<UINT>{IDC_BP_ADDITIONAL_TEXT, IDC_BP_ADDITIONAL_GROUP}));
        } else {
            EXPECT_TRUE(Shown().empty());
        }
    }
}

} // namespace
