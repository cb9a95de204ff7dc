// The heart-rate window: its contact images (its texts and Reset are tested on the main window).
#include "profiles/sensor/CHeartRateMonitorCtrl.h"

#include "profiles/sensor/HeartRateIds.h"
#include "support/WindowTest.h"

#include <QLabel>

namespace {

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
