// The security-tag window: the alert level's text and image, the signal strength and the thresholds.
#include "profiles/control/CSecurityTagCtrl.h"

#include "profiles/control/SecurityTagIds.h"
#include "support/WindowTest.h"

#include <QLabel>
#include <QProgressBar>
#include <QSpinBox>

namespace {

class SecurityTagCtrlTest : public WindowTest<CSecurityTagCtrl> {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        m_area.show();
    }
};

TEST_F(SecurityTagCtrlTest, AlertLevelsShowTheirTextAndImageAndThePictureBlinks) {
    const auto* picture = Item<QLabel>(IDC_TAG_ALERT_PICTURE);
    const std::tuple<uint8_t, uint8_t, const char*> rows[] = {
        {1, 1, "Low Alert"}, {2, 2, "High Alert"}, {3, 0, "No Alert"}, {0, 0, "No Alert"}};
    for (const auto& [level, image, text] : rows) {
        m_window->ShowAlertIcon(false);
        m_window->ShowAlertLevel(level);
        EXPECT_EQ(Text(IDC_TAG_ALERT_LEVEL), text) << int(level);
        EXPECT_EQ(picture->pixmap().cacheKey(), m_window->AlertImage(image).cacheKey()) << int(level);
        EXPECT_TRUE(picture->isVisible()) << int(level);
    }
    EXPECT_NE(m_window->AlertImage(1).cacheKey(), m_window->AlertImage(2).cacheKey());
    EXPECT_EQ(m_window->AlertImage(2).size(), QSize(24, 24));
    m_window->ShowAlertIcon(false);
    EXPECT_FALSE(picture->isVisible());
}

TEST_F(SecurityTagCtrlTest, TheSignalStrengthMovesTheDistanceBarWithinItsRange) {
    EXPECT_EQ(Text(IDC_TAG_RSSI), "Unknown");
    const std::tuple<int, int, const char*> rows[] = {
        {-64, 64, "-64dBm"}, {-130, 127, "-130dBm"}, {3, 20, "3dBm"}};
    for (const auto& [rssi, position, text] : rows) {
        m_window->ShowRssi(rssi);
        EXPECT_EQ(Item<QProgressBar>(IDC_TAG_DISTANCE)->value(), position) << rssi;
        EXPECT_EQ(Text(IDC_TAG_RSSI), text) << rssi;
    }
}

TEST_F(SecurityTagCtrlTest, ThresholdsAreSpinEditsFromMinus127ToMinus20) {
    EXPECT_EQ(m_window->GetThreshold(IDC_TAG_LOW_THRESHOLD), -75);
    EXPECT_EQ(m_window->GetThreshold(IDC_TAG_HIGH_THRESHOLD), -90);
    auto* low = Item<QSpinBox>(IDC_TAG_LOW_THRESHOLD);
    low->setValue(-5);
    EXPECT_EQ(m_window->GetThreshold(IDC_TAG_LOW_THRESHOLD), -20);
    low->setValue(-200);
    EXPECT_EQ(m_window->GetThreshold(IDC_TAG_LOW_THRESHOLD), -127);
}

} // namespace
