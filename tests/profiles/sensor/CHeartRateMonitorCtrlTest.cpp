// The heart-rate window: its contact texts and images (its Reset is tested on the main window).
#include "profiles/sensor/CHeartRateMonitorCtrl.h"

#include "profiles/sensor/HeartRateIds.h"
#include "support/WindowTest.h"

#include <QLabel>

namespace {

using HeartRateMonitorCtrlTest = WindowTest<CHeartRateMonitorCtrl>;

TEST_F(HeartRateMonitorCtrlTest, SensorContactStatesShowTheirImageOf24PixelsAndOtherStatesChangeNothing) {
    const auto* picture = Item<QLabel>(IDC_HR_CONTACT_IMAGE);
    const std::tuple<uint32_t, bool, QString> rows[] = {{2, true, "Sensor in contact"},
                                                        {3, true, "Sensor in contact"},
                                                        {0, false, "Sensor contact unknown"},
                                                        {2, true, "Sensor in contact"},
                                                        {1, false, "Sensor disconnected"}};
    for (const auto& [state, inContact, text] : rows) {
        m_window->ShowSensorContact(state);
        EXPECT_EQ(Text(IDC_HR_CONTACT_TEXT), text) << state;
        const QPixmap& image = inContact ? m_window->InContactImage() : m_window->NotInContactImage();
        EXPECT_EQ(picture->pixmap().cacheKey(), image.cacheKey()) << state;
        EXPECT_EQ(image.size(), QSize(24, 24));
    }
}

} // namespace
