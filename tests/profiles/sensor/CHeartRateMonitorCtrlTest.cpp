// The heart-rate window: its texts and images at the edges of its values, and its Reset button.
#include "profiles/sensor/CHeartRateMonitorCtrl.h"

#include "profiles/sensor/HeartRateIds.h"
#include "support/WindowTest.h"

#include <QAbstractButton>
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

TEST_F(HeartRateMonitorCtrlTest, TheResetButtonIssuesItsCommandToTheMainWindowWhileItAllows) {
    int resets = 0;
    bool pending = false;
    m_mainTarget.onCommand(ID_HR_RESET_ENERGY, [&] { ++resets; });
    m_mainTarget.onUpdate(ID_HR_RESET_ENERGY, [&](platform::CmdUI& ui) { ui.Enable(!pending); });
    auto* reset = Item<QAbstractButton>(ID_HR_RESET_ENERGY);
    reset->click();
    pending = true;
    m_router.runUpdatePass();
    EXPECT_FALSE(reset->isEnabled());
    EXPECT_FALSE(m_router.execute(m_window->GetCommandTarget(), ID_HR_RESET_ENERGY));
    EXPECT_EQ(resets, 1);
}

} // namespace
