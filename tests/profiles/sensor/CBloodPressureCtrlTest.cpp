// The blood-pressure window: what each display function shows and hides.
#include "profiles/sensor/CBloodPressureCtrl.h"

#include "platform/DialogItems.h"
#include "profiles/sensor/BloodPressureIds.h"

#include <QMdiArea>
#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr UINT kOptional[] = {IDC_BP_PULSE_IMAGE, IDC_BP_PULSE_UNIT,      IDC_BP_TIME,
                              IDC_BP_DATE,        IDC_BP_ADDITIONAL_TEXT, IDC_BP_ADDITIONAL_GROUP};

class BloodPressureCtrlTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_window = new CBloodPressureCtrl;
        m_window->Create(&m_area, nullptr, nullptr);
        m_area.show();
    }
    QString Text(UINT id) const { return platform::GetDlgItemText(m_window, id); }
    bool Shown(UINT id) const { return platform::GetDlgItem(m_window, id)->isVisibleTo(m_window); }
    void ShowEverything() {
        std::tm time{};
        time.tm_year = 126;
        time.tm_mon = 4;
        time.tm_mday = 7;
        time.tm_hour = 9;
        time.tm_min = 5;
        m_window->ShowTimeStamp(time);
        m_window->ShowPulseRate(71.6);
        m_window->ShowUserAndStatus(1, 0x0004);
    }

    QMdiArea m_area;
    CBloodPressureCtrl* m_window = nullptr; // owned by its sub-window
};

TEST_F(BloodPressureCtrlTest, OpensWithoutTheOptionalFields) {
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("Blood pressure"));
    for (UINT id : kOptional)
        EXPECT_FALSE(Shown(id)) << id;
    EXPECT_TRUE(Shown(IDC_BP_PULSE));
    EXPECT_EQ(m_window->PulseImage().size(), QSize(24, 24));
}

TEST_F(BloodPressureCtrlTest, OptionalFieldsShowTheirValues) {
    ShowEverything();
    for (UINT id : kOptional)
        EXPECT_TRUE(Shown(id)) << id;
    EXPECT_EQ(Text(IDC_BP_TIME), QStringLiteral("09:05"));
    EXPECT_EQ(Text(IDC_BP_DATE), QStringLiteral("May-07-2026"));
    EXPECT_EQ(Text(IDC_BP_PULSE), QStringLiteral("72"));
    EXPECT_EQ(Text(IDC_BP_ADDITIONAL_TEXT), QStringLiteral("User id: 001 Status: 0004"));
}

TEST_F(BloodPressureCtrlTest, PressuresAreWholeNumbersInTheirUnitAndHideTheOptionalFields) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    struct Case {
        bool kPa;
        double systolic, diastolic, mean;
        const char *systolicText, *diastolicText, *meanText, *unit;
    };
    const Case cases[] = {
        {false, 120, 80, 93.4, "120", "80", "93", "mmHg"},
        {true, 12.3, -1, 15.5, "12", "-1", "16", "kPa"},
        {false, 160, nan, nan, "160", "--", "--", "mmHg"},
        {false, infinity, -infinity, 0, "--", "--", "0", "mmHg"},
    };
    for (const Case& c : cases) {
        ShowEverything();
        m_window->ShowPressure(c.kPa, c.systolic, c.diastolic, c.mean);
        EXPECT_EQ(Text(IDC_BP_SYSTOLIC), QLatin1String(c.systolicText));
        EXPECT_EQ(Text(IDC_BP_DIASTOLIC), QLatin1String(c.diastolicText));
        EXPECT_EQ(Text(IDC_BP_MEAN_ARTERIAL), QLatin1String(c.meanText));
        for (UINT id : {IDC_BP_SYSTOLIC_UNIT, IDC_BP_DIASTOLIC_UNIT, IDC_BP_MEAN_ARTERIAL_UNIT})
            EXPECT_EQ(Text(id), QLatin1String(c.unit)) << id;
        for (UINT id : kOptional)
            EXPECT_FALSE(Shown(id)) << id;
        EXPECT_FALSE(Shown(IDC_BP_PULSE));
    }
}

TEST_F(BloodPressureCtrlTest, AdditionalInformationLeavesOutTheUnknownUserAndANullStatus) {
    const std::tuple<uint8_t, uint16_t, const char*> cases[] = {
        {0xFF, 0x0004, "Status: 0004"},
        {3, 0, "User id: 003"},
        {254, 0xBEEF, "User id: 254 Status: BEEF"},
    };
    for (const auto& [user, status, text] : cases) {
        m_window->ShowPressure(false, 1, 1, 1);
        m_window->ShowUserAndStatus(user, status);
        EXPECT_EQ(Text(IDC_BP_ADDITIONAL_TEXT), QLatin1String(text));
        EXPECT_TRUE(Shown(IDC_BP_ADDITIONAL_GROUP));
    }
    m_window->ShowPressure(false, 1, 1, 1);
    m_window->ShowUserAndStatus(0xFF, 0);
    EXPECT_FALSE(Shown(IDC_BP_ADDITIONAL_GROUP));
}

TEST_F(BloodPressureCtrlTest, ASpecialPulseRateIsNotANumber) {
    m_window->ShowPulseRate(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(Text(IDC_BP_PULSE), QStringLiteral("--"));
}

} // namespace
